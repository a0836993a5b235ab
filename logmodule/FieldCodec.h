#pragma once

#include <string>
#include <vector>

// The fields of a report as one byte string, the way the journal stores
// them: for each field its length (4 bytes, little-endian) and its UTF-8
// bytes. Independent of the platform's byte order.
namespace FieldCodec {

std::string Encode(const std::vector<std::string>& fields);

// Throws ReportError (Broken) for bytes that Encode did not make.
std::vector<std::string> Decode(const void* bytes, std::size_t size);

} // namespace FieldCodec
