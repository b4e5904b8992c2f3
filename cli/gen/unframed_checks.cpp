#include "cli/gen/unframed_checks.hpp"

#include <cmath>
#include <optional>

#include "app/calculation.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/number_text.hpp"
#include "phy/cck.hpp"
#include "phy/pbcc.hpp"

namespace dot11b::cli {
namespace {

[[noreturn]] void refuse(const std::string& entry, const std::string& fallback, const std::string& problem,
                         bool from_parameter_file) {
    if (!entry.empty()) throw UsageError(entry + ": " + problem);
    if (from_parameter_file) throw ConfigError(fallback + ": " + problem);
    throw UsageError(fallback + ": " + problem);
}

// Chips of the modulated payload, or nothing when the bits do not fill whole
// symbols: 11 chips per DBPSK bit and per DQPSK bit pair (Barker spreading),
// 8 per CCK symbol, one per PBCC symbol.
std::optional<std::size_t> payload_chips(const app::FormatParameters& p, std::size_t octets) {
    const std::size_t bits = 8 * octets;
    try {
        switch (p.rate) {
        case phy::DataRate::Mbps1:
            return 11 * bits;
        case phy::DataRate::Mbps2:
            return 11 * bits / 2;
        default:
            return p.modulation == phy::Modulation::Pbcc ? phy::pbcc_chip_count(bits, p.rate, p.pbcc_encoder)
                                                         : phy::cck_chip_count(bits, p.rate);
        }
    } catch (const ConfigError&) {
        return std::nullopt;
    }
}

// The lengths nearest to `octets` that fill whole symbols, for the message.
std::string nearest_lengths(const app::FormatParameters& p, std::size_t octets) {
    std::string text;
    for (std::size_t below = octets; below-- > 0;) {
        if (payload_chips(p, below)) {
            text = std::to_string(below);
            break;
        }
    }
    for (std::size_t above = octets + 1; above <= app::kMaxDataLength; ++above) {
        if (payload_chips(p, above)) return text + (text.empty() ? "" : " or ") + std::to_string(above);
    }
    return text;
}

}  // namespace

void check_unframed_entries(const app::FormatParameters& p, const EntryNames& entries) {
    if (p.framed) return;
    const std::size_t octets = app::psdu_octets(p);
    const std::string length_fallback = "the payload of " + std::to_string(octets) + " octets";
    const auto chips = payload_chips(p, octets);
    if (!chips) {
        refuse(entries.length, length_fallback,
               "at " + number_text(phy::rate_in_mbps(p.rate)) +
                   " Mbit/s PBCC the coded payload does not fill whole 8-PSK symbols; the nearest lengths that do are " +
                   nearest_lengths(p, octets) + " octets",
               entries.from_parameter_file);
    }
    if (*chips == 0) {
        refuse(entries.length, length_fallback,
               "an unframed waveform is the modulated payload alone, so without payload it has no samples; give at "
               "least one octet",
               entries.from_parameter_file);
    }
    if (p.filter == phy::FilterType::None) return;
    // The circular filter needs no more taps than the oversampled burst has samples, plus one.
    const std::size_t stuffed = *chips * static_cast<std::size_t>(phy::sample_rate_plan(p.oversampling).upsample_factor);
    const double room = static_cast<double>(stuffed + 1);
    const double taps = std::floor(p.filter_taps * p.oversampling - 1) + 1;
    if (taps > room) {
        // Filter lengths are entered in multiples of the oversampling ratio.
        const double longest = std::floor(room / (p.oversampling * p.oversampling)) * p.oversampling;
        refuse(entries.filter_length, "the filter length of " + number_text(p.filter_taps) + " symbols",
               "the filter is longer than the " + std::to_string(*chips) + "-chip unframed burst it shapes; " +
                   (longest > 0 ? "allowed for this burst: up to " + number_text(longest) + " symbols"
                                : "the burst is too short for any filter, use --filter none"),
               entries.from_parameter_file);
    }
}

}  // namespace dot11b::cli
