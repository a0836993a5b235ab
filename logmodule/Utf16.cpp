#include "Utf16.h"

#include "ReportError.h"

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code point that starts at `text[at]`, advancing `at` past it, or
// kInvalid (overlong forms, surrogates and values beyond U+10FFFF included).
char32_t DecodeUtf8(const std::string& text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    std::size_t extra = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, point = lead & 0x07, minimum = 0x10000;
    } else {
        return kInvalid;
    }
    for (; extra > 0; --extra) {
        if (at >= text.size()) {
            return kInvalid;
        }
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0) != 0x80) {
            return kInvalid;
        }
        point = (point << 6) | (next & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < minimum || point > 0x10FFFF || surrogate ? kInvalid : point;
}

void AppendUtf8(char32_t point, std::string& out)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

namespace Utf16 {

std::vector<std::uint16_t> FromUtf8(const std::string& text)
{
    std::vector<std::uint16_t> units;
    units.reserve(text.size() + 1);
    for (std::size_t at = 0; at < text.size();) {
        const char32_t point = DecodeUtf8(text, at);
        if (point == kInvalid) {
            throw ReportError(ReportError::Kind::Invalid, "a text is not valid UTF-8");
        }
        if (point == 0) {
            throw ReportError(ReportError::Kind::Invalid, "a text holds a NUL character");
        }
        if (point < 0x10000) {
            units.push_back(static_cast<std::uint16_t>(point));
        } else {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((point - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        }
    }
    units.push_back(0);
    return units;
}

std::string ToUtf8(const std::uint16_t* text)
{
    std::string out;
    for (const std::uint16_t* unit = text; *unit != 0; ++unit) {
        char32_t point = *unit;
        if (point >= 0xDC00 && point <= 0xDFFF) {
            throw ReportError(ReportError::Kind::Invalid, "a text holds a lone low surrogate");
        }
        if (point >= 0xD800 && point <= 0xDBFF) {
            const char32_t low = unit[1];
            if (low < 0xDC00 || low > 0xDFFF) {
                throw ReportError(ReportError::Kind::Invalid, "a text holds a lone high surrogate");
            }
            point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
            ++unit;
        }
        AppendUtf8(point, out);
    }
    return out;
}

bool IsValidUtf8(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const char32_t point = DecodeUtf8(text, at);
        if (point == kInvalid || point == 0) {
            return false;
        }
    }
    return true;
}

} // namespace Utf16
