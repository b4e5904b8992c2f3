// Any bytes as a user data file: the first two input bytes choose the bit
// limit, the third the bit order, the rest is the file. The bits must be the
// file's bytes in that order, cut at the limit.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/user_data_file.hpp"
#include "fuzz_input_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t limit = data[0] | (std::size_t{data[1]} << 8);
    const auto order = data[2] & 1U ? dot11b::mac::BitOrder::MsbFirst : dot11b::mac::BitOrder::LsbFirst;
    const std::span<const std::uint8_t> bytes(data + 3, size - 3);

    const auto& path = dot11b::app::fuzz::write_input(bytes.data(), bytes.size());
    const dot11b::Bits bits = dot11b::app::read_user_data_file(path, limit, order);
    if (bits != dot11b::app::bytes_to_bits(bytes, limit, order)) std::abort();
    if (bits.size() != std::min(limit, 8 * bytes.size())) std::abort();
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const unsigned shift = order == dot11b::mac::BitOrder::LsbFirst ? i % 8 : 7 - i % 8;
        if (bits[i] != ((bytes[i / 8] >> shift) & 1U)) std::abort();
    }
    return 0;
}
