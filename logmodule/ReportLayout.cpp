#include "ReportLayout.h"

#include "ReportError.h"
#include "Utf16.h"

#include "monitor/lib/RecordCategory.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Field
{
    const char* name;
    bool required;
};

const Field kProgramStart[] = {
    {"description", true},    {"last_active", false},   {"ip_address", false},
    {"mac_address", false},   {"cpu", false},           {"memory", false},
    {"disk", false},          {"disk_serial", false},   {"cpu_usage", false},
    {"memory_usage", false},  {"disk_usage", false},    {"operating_system", false},
    {"system_bits", false},   {"mainboard", false},     {"sound_card", false},
    {"graphics_card", false}, {"optical_drive", false},
};
const Field kExecuteScan[] = {{"kind", true}, {"result", true}};
const Field kRansomwareFound[] = {{"threat_name", true}, {"action", true}};
const Field kUpdatePackage[] = {{"version", true}, {"notes", false}};

struct Fields
{
    const Field* begin;
    std::size_t count;
};

template <std::size_t N>
constexpr Fields Of(const Field (&fields)[N])
{
    return {fields, N};
}

Fields FieldsOf(std::int32_t category)
{
    switch (category) {
    case RecordCategory::kProgramStart:
        return Of(kProgramStart);
    case RecordCategory::kExecuteScan:
        return Of(kExecuteScan);
    case RecordCategory::kRansomwareFound:
        return Of(kRansomwareFound);
    case RecordCategory::kUpdatePackage:
        return Of(kUpdatePackage);
    case RecordCategory::kHeartbeat:
        return {nullptr, 0};
    default:
        throw ReportError(ReportError::Kind::Invalid,
                          "unknown category " + std::to_string(category));
    }
}

} // namespace

// static
std::size_t ReportLayout::FieldCount(std::int32_t category)
{
    return FieldsOf(category).count;
}

// static
const char* ReportLayout::FieldName(std::int32_t category, std::size_t index)
{
    return FieldsOf(category).begin[index].name;
}

// static
std::size_t ReportLayout::FieldIndex(std::int32_t category, const std::string& name)
{
    const Fields fields = FieldsOf(category);
    for (std::size_t index = 0; index < fields.count; ++index) {
        if (name == fields.begin[index].name) {
            return index;
        }
    }
    return fields.count;
}

// static
bool ReportLayout::IsRequired(std::int32_t category, std::size_t index)
{
    return FieldsOf(category).begin[index].required;
}

// static
std::int32_t ReportLayout::ParseCategory(const std::string& text)
{
    for (const std::int32_t category : RecordCategory::kAll) {
        if (text == RecordCategory::Name(category) || text == std::to_string(category)) {
            return category;
        }
    }
    throw ReportError(ReportError::Kind::Invalid, "unknown category '" + text + "'");
}

// static
void ReportLayout::Check(const Report& report)
{
    const std::size_t count = FieldCount(report.category);
    const std::string category = RecordCategory::Name(report.category);
    if (report.fields.size() != count) {
        throw ReportError(ReportError::Kind::Invalid, category + " records have " +
                                                          std::to_string(count) + " fields, not " +
                                                          std::to_string(report.fields.size()));
    }
    if (report.time < 0) {
        throw ReportError(ReportError::Kind::Invalid, "the time lies before 1970");
    }
    for (std::size_t index = 0; index < count; ++index) {
        const std::string& text = report.fields[index];
        const std::string name = FieldName(report.category, index);
        if (text.empty() && IsRequired(report.category, index)) {
            throw ReportError(ReportError::Kind::Invalid,
                              category + " records need the field " + name);
        }
        if (text.size() > kMaxFieldBytes) {
            throw ReportError(ReportError::Kind::Invalid,
                              "the field " + name + " has " + std::to_string(text.size()) +
                                  " bytes, more than " + std::to_string(kMaxFieldBytes));
        }
        if (text.find('\0') != std::string::npos) {
            throw ReportError(ReportError::Kind::Invalid,
                              "the field " + name + " holds a NUL character");
        }
        if (!Utf16::IsValidUtf8(text)) {
            throw ReportError(ReportError::Kind::Invalid,
                              "the field " + name + " is not valid UTF-8");
        }
    }
}
