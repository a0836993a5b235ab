#pragma once

#include "KoLogModule.h"
#include "Report.h"

#include <cstdint>
#include <vector>

// A report in the interface's layout (KoReportRecord, UTF-16 texts) for the
// callback, owning the texts it points to; and the way back for appends.
class InterfaceRecord
{
public:
    // Throws ReportError (Invalid) for an unknown category, a number of
    // fields other than the category's or malformed UTF-8.
    InterfaceRecord(const Report& report, std::uint32_t flags);

    InterfaceRecord(const InterfaceRecord&) = delete;
    InterfaceRecord& operator=(const InterfaceRecord&) = delete;

    const KoReportRecord& record() const { return m_record; }

    // The report that a client's record describes (id and flags ignored).
    // Throws ReportError (Invalid) for a null record, a size smaller than
    // the fields read, a field count other than the category's, a null text
    // or malformed UTF-16; the rest is ReportLayout::Check's.
    static Report ToReport(const KoReportRecord* record);

private:
    std::vector<std::vector<std::uint16_t>> m_texts;
    std::vector<const KoReportChar*> m_fields;
    KoReportRecord m_record{};
};
