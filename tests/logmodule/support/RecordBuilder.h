#pragma once

#include "KoLogModule.h"

#include <cstdint>
#include <string>
#include <vector>

// A record in the interface's layout, made from UTF-8 texts, owning them.
class RecordBuilder
{
public:
    RecordBuilder(std::int32_t category, std::int64_t time,
                  const std::vector<std::u16string>& fields)
        : m_texts(fields.size())
    {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            m_texts[i].assign(fields[i].begin(), fields[i].end());
            m_texts[i].push_back(0);
            m_fields.push_back(m_texts[i].data());
        }
        m_record.size = sizeof(KoReportRecord);
        m_record.category = category;
        m_record.time = time;
        m_record.fieldCount = static_cast<std::uint32_t>(m_fields.size());
        m_record.fields = m_fields.data();
    }

    RecordBuilder(const RecordBuilder&) = delete;
    RecordBuilder& operator=(const RecordBuilder&) = delete;

    KoReportRecord& record() { return m_record; }
    const KoReportRecord* get() const { return &m_record; }

    // The fields of a valid record of `category`, each "<tag> <index>".
    static std::vector<std::u16string> Fields(std::int32_t category, const std::u16string& tag)
    {
        std::vector<std::u16string> fields(FieldCount(category));
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i] = tag + u" " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        }
        return fields;
    }

    static std::size_t FieldCount(std::int32_t category)
    {
        switch (category) {
        case KO_REPORT_PROGRAM_START:
            return KO_REPORT_PROGRAM_START_FIELDS;
        case KO_REPORT_EXECUTE_SCAN:
            return KO_REPORT_EXECUTE_SCAN_FIELDS;
        case KO_REPORT_RANSOMWARE_FOUND:
            return KO_REPORT_RANSOMWARE_FOUND_FIELDS;
        case KO_REPORT_UPDATE_PACKAGE:
            return KO_REPORT_UPDATE_PACKAGE_FIELDS;
        default:
            return KO_REPORT_HEARTBEAT_FIELDS;
        }
    }

    // The UTF-16 text as a u16string.
    static std::u16string Text(const KoReportChar* text)
    {
        std::u16string out;
        for (; *text != 0; ++text) {
            out += static_cast<char16_t>(*text);
        }
        return out;
    }

private:
    std::vector<std::vector<KoReportChar>> m_texts;
    std::vector<const KoReportChar*> m_fields;
    KoReportRecord m_record{};
};
