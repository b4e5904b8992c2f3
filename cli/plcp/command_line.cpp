#include "cli/plcp/command_line.hpp"

#include <cmath>
#include <string>

#include <CLI/CLI.hpp>

#include "phy/dsss.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"

namespace dot11b::cli {
namespace {

// The longest PSDU whose duration at 1 Mbit/s still fits the 16-bit LENGTH field (65535 us).
constexpr int kMaxOctets = 8191;

std::string as_text(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

void print_fields(double mbps, int octets, const std::string& preamble_name, std::ostream& out) {
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

    out << "PSDU: " << octets << " octets at " << mbps << " Mbit/s, " << preamble_name << " preamble\n"
        << "SIGNAL  " << as_text(BitSpan(header).subspan(0, 8)) << '\n'
        << "SERVICE " << as_text(BitSpan(header).subspan(8, 8)) << '\n'
        << "LENGTH  " << as_text(BitSpan(header).subspan(16, 16)) << '\n'
        << "CRC     " << as_text(BitSpan(header).subspan(32, 16)) << '\n'
        << "scrambled preamble " << as_text(all.first(preamble_size)) << '\n'
        << "scrambled header   " << as_text(all.subspan(preamble_size)) << '\n'
        << "chips: preamble " << preamble_chips.chips.size() << ", header " << header_chips.chips.size() << '\n';
}

}  // namespace

int run_dot11b_plcp(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Prints the PLCP preamble and header of a frame, scrambled, and the chips they occupy.",
                 "dot11b-plcp"};
    std::string rate = "11";
    int octets = 1024;
    std::string preamble = "long";
    app.add_option("rate", rate, "PSDU data rate in Mbit/s")->check(CLI::IsMember({"1", "2", "5.5", "11"}))
        ->capture_default_str();
    app.add_option("octets", octets, "PSDU length in octets")
        ->check(CLI::Range(0, kMaxOctets))
        ->capture_default_str();
    app.add_option("preamble", preamble, "PLCP preamble and header format")
        ->check(CLI::IsMember({"long", "short"}))
        ->capture_default_str();
    app.footer("Exit status: 0 success; 2 a usage error.");
    try {
        app.parse(argc, argv);
        // The short preamble and header are defined for 2, 5.5 and 11 Mbit/s only.
        if (rate == "1" && preamble == "short") {
            throw CLI::ValidationError("preamble", "short: 1 Mbit/s has the long preamble only");
        }
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? 0 : 2;
    }
    print_fields(std::stod(rate), octets, preamble, out);
    return 0;
}

}  // namespace dot11b::cli
