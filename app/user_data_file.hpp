#pragma once
// A user data file as a payload: any file, taken as raw bytes, each byte's
// bits in the chosen order, up to a limit.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "common/types.hpp"
#include "mac/bit_conversion.hpp"

namespace dot11b::app {

// The bit order text of the user file loader: least significant bit first
// when it begins with "right" ("right-msb", the default), otherwise most
// significant bit first.
mac::BitOrder user_bit_order(std::string_view text);

// The bits of the bytes, byte after byte, keeping the first max_bits.
Bits bytes_to_bits(std::span<const std::uint8_t> bytes, std::size_t max_bits, mac::BitOrder order);

// Reads at most ceil(max_bits / 8) bytes of the file and returns their bits,
// at most max_bits (an empty file, or a limit of 0, gives no bits). Throws
// IoError "cannot open PATH: REASON" or "cannot read PATH: REASON"; the
// window shows its own "Could not open" dialog for the path.
Bits read_user_data_file(const std::filesystem::path& path, std::size_t max_bits, mac::BitOrder order);

}  // namespace dot11b::app
