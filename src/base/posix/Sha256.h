#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace KO::Posix {

// The SHA-256 digest of a byte string (FIPS 180-4): a fixed-size,
// collision-resistant stand-in for a text too long to use as it is.
std::array<std::uint8_t, 32> Sha256(std::string_view bytes);

} // namespace KO::Posix
