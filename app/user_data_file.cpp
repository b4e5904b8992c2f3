#include "app/user_data_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "common/errors.hpp"

namespace dot11b::app {

mac::BitOrder user_bit_order(std::string_view text) {
    return text.starts_with("right") ? mac::BitOrder::LsbFirst : mac::BitOrder::MsbFirst;
}

Bits bytes_to_bits(std::span<const std::uint8_t> bytes, std::size_t max_bits, mac::BitOrder order) {
    const std::size_t count = std::min(max_bits, 8 * bytes.size());
    Bits bits(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned position = static_cast<unsigned>(i % 8);
        const unsigned shift = order == mac::BitOrder::LsbFirst ? position : 7 - position;
        bits[i] = static_cast<std::uint8_t>((bytes[i / 8] >> shift) & 1U);
    }
    return bits;
}

Bits read_user_data_file(const std::filesystem::path& path, std::size_t max_bits, mac::BitOrder order) {
    std::error_code error;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, error)) in.open(path, std::ios::binary);
    if (std::filesystem::is_directory(path, error)) throw IoError("cannot open " + path.string() + ": Is a directory");
    if (!in.is_open()) throw IoError("cannot open " + path.string() + ": " + std::strerror(errno));

    // Read in chunks, so a large limit costs nothing for a small file.
    const std::size_t wanted = max_bits / 8 + (max_bits % 8 != 0 ? 1 : 0);
    std::vector<std::uint8_t> bytes;
    std::vector<char> chunk(std::size_t{1} << 16);
    while (bytes.size() < wanted && in) {
        const std::size_t ask = std::min(chunk.size(), wanted - bytes.size());
        in.read(chunk.data(), static_cast<std::streamsize>(ask));
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    }
    if (in.bad()) throw IoError("cannot read " + path.string() + ": " + std::strerror(errno));
    return bytes_to_bits(bytes, max_bits, order);
}

}  // namespace dot11b::app
