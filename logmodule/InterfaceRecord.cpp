#include "InterfaceRecord.h"

#include "ReportError.h"
#include "ReportLayout.h"
#include "Utf16.h"

#include <cstddef>
#include <string>

InterfaceRecord::InterfaceRecord(const Report& report, std::uint32_t flags)
{
    // A client indexes the fields by its category's layout: a stored record
    // with another number of fields must not reach it.
    const std::size_t count = ReportLayout::FieldCount(report.category);
    if (report.fields.size() != count) {
        throw ReportError(ReportError::Kind::Invalid,
                          "the stored record has " + std::to_string(report.fields.size()) +
                              " fields, its category " + std::to_string(count));
    }
    m_texts.reserve(report.fields.size());
    m_fields.reserve(report.fields.size());
    for (const std::string& field : report.fields) {
        m_texts.push_back(Utf16::FromUtf8(field));
        m_fields.push_back(m_texts.back().data());
    }
    m_record.size = sizeof(KoReportRecord);
    m_record.category = report.category;
    m_record.id = report.id;
    m_record.time = report.time;
    m_record.flags = flags;
    m_record.fieldCount = static_cast<std::uint32_t>(m_fields.size());
    m_record.fields = m_fields.empty() ? nullptr : m_fields.data();
}

// static
Report InterfaceRecord::ToReport(const KoReportRecord* record)
{
    constexpr std::size_t kNeeded = offsetof(KoReportRecord, fields) + sizeof(record->fields);
    if (record == nullptr) {
        throw ReportError(ReportError::Kind::Invalid, "no record");
    }
    if (record->size < kNeeded) {
        throw ReportError(ReportError::Kind::Invalid, "the record's size " +
                                                          std::to_string(record->size) +
                                                          " is smaller than its fields");
    }
    Report report;
    report.category = record->category;
    report.time = record->time;
    const std::size_t count = ReportLayout::FieldCount(record->category);
    if (record->fieldCount != count) {
        throw ReportError(ReportError::Kind::Invalid,
                          "the record has " + std::to_string(record->fieldCount) +
                              " fields, its category " + std::to_string(count));
    }
    for (std::size_t index = 0; index < count; ++index) {
        if (record->fields == nullptr || record->fields[index] == nullptr) {
            throw ReportError(ReportError::Kind::Invalid,
                              std::string("the field ") +
                                  ReportLayout::FieldName(record->category, index) + " is missing");
        }
        report.fields.push_back(Utf16::ToUtf8(record->fields[index]));
    }
    return report;
}
