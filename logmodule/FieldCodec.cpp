#include "FieldCodec.h"

#include "ReportError.h"

#include <cstdint>

namespace FieldCodec {

std::string Encode(const std::vector<std::string>& fields)
{
    std::size_t size = 0;
    for (const std::string& field : fields) {
        size += 4 + field.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& field : fields) {
        const auto length = static_cast<std::uint32_t>(field.size());
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((length >> shift) & 0xFF);
        }
        bytes += field;
    }
    return bytes;
}

std::vector<std::string> Decode(const void* bytes, std::size_t size)
{
    const auto* at = static_cast<const unsigned char*>(bytes);
    const unsigned char* const end = at + size;
    std::vector<std::string> fields;
    while (at != end) {
        if (end - at < 4) {
            throw ReportError(ReportError::Kind::Broken, "a stored record is cut short");
        }
        std::uint32_t length = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            length |= static_cast<std::uint32_t>(*at++) << shift;
        }
        if (static_cast<std::size_t>(end - at) < length) {
            throw ReportError(ReportError::Kind::Broken, "a stored record is cut short");
        }
        fields.emplace_back(reinterpret_cast<const char*>(at), length);
        at += length;
    }
    return fields;
}

} // namespace FieldCodec
