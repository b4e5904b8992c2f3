// Prints the PLCP preamble and header of a frame, scrambled, and the chips it
// occupies: a quick look at the bit-exact DSSS core.
//   dot11b-plcp [rate-Mbit/s] [psdu-octets] [long|short]

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>

#include "common/errors.hpp"
#include "phy/dsss.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"

namespace {

using namespace dot11b;

std::string as_text(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

int run(int argc, char** argv) {
    const double mbps = argc > 1 ? std::stod(argv[1]) : 11.0;
    const long octets = argc > 2 ? std::stol(argv[2]) : 1024;
    const std::string preamble_name = argc > 3 ? argv[3] : "long";
    if (octets < 0) throw ConfigError("psdu-octets must not be negative, got " + std::to_string(octets));
    if (preamble_name != "long" && preamble_name != "short") {
        throw ConfigError("preamble must be long or short, got " + preamble_name);
    }
    const auto rate = phy::data_rate_from_mbps(mbps, "dot11b-plcp");
    const auto type = preamble_name == "long" ? phy::PreambleType::Long : phy::PreambleType::Short;
    const auto psdu_bits = static_cast<std::size_t>(octets) * 8;

    Bits frame = phy::preamble_bits(type);
    const Bits header = phy::header_bits(psdu_bits, rate, 0, 0);
    frame.insert(frame.end(), header.begin(), header.end());
    const Bits scrambled = phy::scramble_frame(phy::ScramblerMode::On, type, frame);

    const BitSpan all(scrambled);
    const std::size_t preamble_size = phy::preamble_bit_count(type);
    const Complex start = Complex(1, 1) / std::sqrt(2.0);
    const auto preamble_chips = phy::modulate_1mbps(all.first(preamble_size), start);
    const auto header_chips = type == phy::PreambleType::Long
                                  ? phy::modulate_1mbps(all.subspan(preamble_size), preamble_chips.last_phase)
                                  : phy::modulate_2mbps(all.subspan(preamble_size), preamble_chips.last_phase);

    std::cout << "PSDU: " << octets << " octets at " << mbps << " Mbit/s, " << preamble_name << " preamble\n"
              << "SIGNAL  " << as_text(BitSpan(header).subspan(0, 8)) << '\n'
              << "SERVICE " << as_text(BitSpan(header).subspan(8, 8)) << '\n'
              << "LENGTH  " << as_text(BitSpan(header).subspan(16, 16)) << '\n'
              << "CRC     " << as_text(BitSpan(header).subspan(32, 16)) << '\n'
              << "scrambled preamble " << as_text(all.first(preamble_size)) << '\n'
              << "scrambled header   " << as_text(all.subspan(preamble_size)) << '\n'
              << "chips: preamble " << preamble_chips.chips.size() << ", header " << header_chips.chips.size() << '\n';
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "dot11b-plcp: " << e.what() << '\n';
        return 2;
    }
}
