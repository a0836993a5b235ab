#pragma once

#include <stdexcept>
#include <string>

// A failure of the journal, with what kind of failure it is.
class ReportError : public std::runtime_error
{
public:
    enum class Kind
    {
        Invalid, // a report or an argument that breaks the journal's rules
        Storage, // the journal cannot be read or written (read-only, full, busy)
        Broken,  // the journal file is not a database or is damaged
    };

    ReportError(Kind kind, const std::string& message) : std::runtime_error(message), m_kind(kind)
    {}

    Kind kind() const noexcept { return m_kind; }

private:
    Kind m_kind;
};
