#include "ReportTime.h"

#include "ReportError.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilTime
{
    int year = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    bool utc = false;
};

[[noreturn]] void Unparsable(const std::string& text)
{
    throw ReportError(ReportError::Kind::Invalid,
                      "the time '" + text +
                          "' does not parse (expected YYYY-MM-DD HH:MM[:SS[.mmm]][Z])");
}

// Reads exactly `digits` decimal digits at `at`.
bool ReadNumber(const std::string& text, std::size_t& at, std::size_t digits, unsigned& value)
{
    value = 0;
    for (std::size_t end = at + digits; at < end; ++at) {
        if (at >= text.size() || text[at] < '0' || text[at] > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(text[at] - '0');
    }
    return true;
}

bool Expect(const std::string& text, std::size_t& at, const char* choices)
{
    if (at >= text.size()) {
        return false;
    }
    for (const char* choice = choices; *choice != '\0'; ++choice) {
        if (text[at] == *choice) {
            ++at;
            return true;
        }
    }
    return false;
}

bool ParseCivil(const std::string& text, CivilTime& time)
{
    std::size_t at = 0;
    unsigned year = 0;
    if (!ReadNumber(text, at, 4, year) || !Expect(text, at, "-") ||
        !ReadNumber(text, at, 2, time.month) || !Expect(text, at, "-") ||
        !ReadNumber(text, at, 2, time.day) || !Expect(text, at, " T") ||
        !ReadNumber(text, at, 2, time.hour) || !Expect(text, at, ":") ||
        !ReadNumber(text, at, 2, time.minute)) {
        return false;
    }
    time.year = static_cast<int>(year);
    if (Expect(text, at, ":")) {
        if (!ReadNumber(text, at, 2, time.second)) {
            return false;
        }
        if (Expect(text, at, ".") && !ReadNumber(text, at, 3, time.millisecond)) {
            return false;
        }
    }
    time.utc = Expect(text, at, "Z");
    return at == text.size();
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool Exists(const CivilTime& time)
{
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.year < 1970 || time.month < 1 || time.month > 12 || time.day < 1) {
        return false;
    }
    const unsigned days = kDays[time.month - 1] + (time.month == 2 && IsLeap(time.year) ? 1 : 0);
    return time.day <= days && time.hour < 24 && time.minute < 60 && time.second < 60;
}

} // namespace

namespace ReportTime {

std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::string FormatUtc(std::int64_t time)
{
    std::int64_t days = time / (kSecondsPerDay * kMsPerSecond);
    std::int64_t rest = time % (kSecondsPerDay * kMsPerSecond);
    if (rest < 0) {
        rest += kSecondsPerDay * kMsPerSecond;
        --days;
    }
    // Civil date from days (the inverse of DaysFromCivil).
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(shifted - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);

    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02u.%03uZ",
                  static_cast<long long>(year), month, day, static_cast<unsigned>(rest / 3600000),
                  static_cast<unsigned>(rest / 60000 % 60), static_cast<unsigned>(rest / 1000 % 60),
                  static_cast<unsigned>(rest % 1000));
    return text;
}

std::int64_t Parse(const std::string& text)
{
    CivilTime time;
    if (!ParseCivil(text, time) || !Exists(time)) {
        Unparsable(text);
    }
    std::int64_t seconds = 0;
    if (time.utc) {
        seconds = DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay +
                  time.hour * 3600 + time.minute * 60 + time.second;
    } else {
        std::tm local{};
        local.tm_year = time.year - 1900;
        local.tm_mon = static_cast<int>(time.month) - 1;
        local.tm_mday = static_cast<int>(time.day);
        local.tm_hour = static_cast<int>(time.hour);
        local.tm_min = static_cast<int>(time.minute);
        local.tm_sec = static_cast<int>(time.second);
        local.tm_isdst = -1;
        const std::time_t converted = std::mktime(&local);
        if (converted == static_cast<std::time_t>(-1)) {
            Unparsable(text);
        }
        seconds = static_cast<std::int64_t>(converted);
    }
    return seconds * kMsPerSecond + time.millisecond;
}

} // namespace ReportTime
