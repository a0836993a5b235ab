#pragma once

#include <cstdint>
#include <string>

// Times of the journal: milliseconds since 1970-01-01 00:00 UTC.
namespace ReportTime {

// Now.
std::int64_t Now();

// "2026-12-10T08:30:00.250Z".
std::string FormatUtc(std::int64_t time);

// "YYYY-MM-DD HH:MM[:SS[.mmm]]", "T" allowed for the space; a trailing "Z"
// reads it as UTC, without one it is local time. Throws ReportError
// (Invalid) for anything else, or a date that does not exist.
std::int64_t Parse(const std::string& text);

// The days since 1970-01-01 of a UTC date; exact for every Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);

} // namespace ReportTime
