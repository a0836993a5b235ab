#include "monitor/widget/dialog/DiaryRecord.h"

#include "KoLogModule.h"

#include <QString>

namespace {

// A NUL-terminated UTF-16 text in UTF-8.
std::string Utf8(const KoReportChar* text)
{
    if (text == nullptr) {
        return {};
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text)).toStdString();
}

} // namespace

// static
std::optional<DiaryRecord> DiaryRecord::FromModule(const void* record, int category)
{
    const auto* const report = static_cast<const KoReportRecord*>(record);
    if (report == nullptr || report->size < sizeof(KoReportRecord) ||
        report->category != category || (report->fieldCount > 0 && report->fields == nullptr)) {
        return std::nullopt;
    }
    DiaryRecord copy;
    copy.category = report->category;
    copy.id = report->id;
    copy.time = report->time;
    copy.fields.reserve(report->fieldCount);
    for (std::uint32_t index = 0; index < report->fieldCount; ++index) {
        copy.fields.push_back(Utf8(report->fields[index]));
    }
    return copy;
}

const std::string& DiaryRecord::field(std::size_t index) const
{
    static const std::string empty;
    return index < fields.size() ? fields[index] : empty;
}
