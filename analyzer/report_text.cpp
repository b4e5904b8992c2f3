#include "analyzer/report_text.hpp"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <sstream>

#include "analyzer/constants.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kOctetsShown = 16;

std::string format(const char* pattern, ...) {
    char text[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

const char* pass_fail(bool passed) { return passed ? "PASS" : "FAIL"; }

// A value with `decimals` decimals; one that rounds to zero prints without a sign.
std::string fixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double shown = std::round(value * scale) / scale;
    return format("%.*f", decimals, shown == 0 ? 0.0 : shown);
}

void line(std::ostream& out, const std::string& label, const std::string& text) {
    out << "  " << label << ':' << std::string(label.size() < 19 ? 19 - label.size() : 1, ' ') << text << '\n';
}

std::string preamble_text(const BurstAnalysis& b) {
    const char* scrambling = b.scrambling == Scrambling::On    ? "scrambled"
                             : b.scrambling == Scrambling::Off ? "not scrambled"
                                                               : "scrambled preamble only";
    return format("%s, %s (%zu SYNC bits seen)%s", b.preamble == PreambleType::Long ? "long" : "short", scrambling,
                  b.sync_bits, b.mirrored ? ", spectrum mirrored" : "");
}

void print_header(std::ostream& out, const PlcpHeader& h) {
    line(out, "SIGNAL", format("0x%02X: %s Mbit/s", h.signal, rate_text(h.signal).c_str()));
    // The modulation bit means something at 5.5 and 11 Mbit/s only, the length
    // extension bit at 11 Mbit/s only.
    std::string service = format("0x%02X: ", h.service);
    if (h.signal == 55 || h.signal == 110) service += h.pbcc() ? "PBCC, " : "CCK, ";
    service += h.locked_clocks() ? "clocks locked" : "clocks not locked";
    if (h.signal == 110) service += format(", length extension %d", h.length_extension() ? 1 : 0);
    line(out, "SERVICE", service);
    line(out, "LENGTH", format("%u us", h.length));
    line(out, "header CRC", h.crc_ok ? "ok" : format("error (received 0x%04X)", h.crc));
}

void print_mac(std::ostream& out, const MacHeaderFields& mac) {
    line(out, "MAC header", format("%s, %zu octets", frame_type_name(mac).c_str(), mac.octets));
    line(out, "  FrameCntrl", format("0x%04X", mac.frame_control));
    line(out, "  DurationID", format("0x%04X", mac.duration_id));
    line(out, "  Address1", address_text(mac.address1));
    if (mac.address2) line(out, "  Address2", address_text(*mac.address2));
    if (mac.address3) line(out, "  Address3", address_text(*mac.address3));
    if (mac.sequence_control) {
        line(out, "  SeqCntrl", format("0x%04X: sequence number %u, fragment %u", *mac.sequence_control,
                                       *mac.sequence_control >> 4U, *mac.sequence_control & 15U));
    }
    if (mac.address4) line(out, "  Address4", address_text(*mac.address4));
}

const char* filter_source_text(FilterSource source) {
    switch (source) {
    case FilterSource::Option: return "as given";
    case FilterSource::Recording: return "named by the recording";
    case FilterSource::Fitted: return "best fit of the burst";
    }
    return "";
}

void print_accuracy(std::ostream& out, const ModulationAccuracy& m) {
    line(out, "reference filter", reference_filter_text(m.filter) + " (" + filter_source_text(m.filter_source) + ")");
    line(out, "SNR/MER", format("%.1f dB", m.mer_db));
    line(out, "carrier suppression",
         format("leakage %s dBc: %s (limit %.0f dB)", fixed(m.leakage_dbc, 1).c_str(),
                pass_fail(m.leakage_dbc <= kCarrierSuppressionDb), kCarrierSuppressionDb));
    line(out, "IQ imbalance",
         m.iq_gain_db ? format("gain %s dB, quadrature error %s deg (informative)", fixed(*m.iq_gain_db, 2).c_str(),
                               fixed(*m.quadrature_deg, 2).c_str())
                      : std::string("not measured: BPSK chips show no image"));
}

void print_measurements(std::ostream& out, const BurstAnalysis& b, const Analysis& a) {
    if (b.evm) {
        const EvmResult& e = *b.evm;
        double worst_block = 0;
        for (const EvmFigures& block : e.blocks) worst_block = std::max(worst_block, block.rms);
        line(out, "EVM (" + b.evm_span + ")",
             format("RMS %.2f %% (%.1f dB), peak %.2f %% (%.1f dB) over %zu chips, worst 1000-chip RMS %.2f %%: %s "
                    "(peak limit %.0f %%)",
                    100 * e.overall.rms, to_db(e.overall.rms), 100 * e.overall.peak, to_db(e.overall.peak), e.chips,
                    100 * worst_block, pass_fail(e.passed()), 100 * kEvmPeakLimit));
    }
    if (b.accuracy) print_accuracy(out, *b.accuracy);
    if (b.frequency) {
        const FrequencyMeasurement& f = *b.frequency;
        line(out, "carrier offset",
             format("%s Hz (%s ppm of %.0f MHz%s): %s (limit +-%.0f ppm)", fixed(f.carrier_offset_hz, 0).c_str(),
                    fixed(f.carrier_offset_ppm, 2).c_str(), a.carrier_frequency_hz / 1e6,
                    a.carrier_assumed ? ", assumed" : "",
                    pass_fail(std::abs(f.carrier_offset_ppm) <= kFrequencyTolerancePpm), kFrequencyTolerancePpm));
        line(out, "chip clock offset",
             format("%s ppm: %s (limit +-%.0f ppm)", fixed(f.chip_clock_offset_ppm, 2).c_str(),
                    pass_fail(std::abs(f.chip_clock_offset_ppm) <= kFrequencyTolerancePpm), kFrequencyTolerancePpm));
        if (b.header && b.header->locked_clocks()) {
            const double apart = std::abs(f.carrier_offset_ppm - f.chip_clock_offset_ppm);
            line(out, "locked clocks",
                 format("carrier and chip clock offsets %s ppm apart: %s (limit %.0f ppm)", fixed(apart, 2).c_str(),
                        pass_fail(apart <= kLockedClocksTolerancePpm), kLockedClocksTolerancePpm));
        } else {
            line(out, "locked clocks", "not claimed (SERVICE b2 is 0)");
        }
    }
    const auto ramp = [&](const char* label, const std::optional<double>& seconds) {
        line(out, label,
             seconds ? format("%.2f us: %s (limit %.0f us)", *seconds * 1e6, pass_fail(*seconds <= kRampLimitSeconds),
                              kRampLimitSeconds * 1e6)
                     : std::string("not measured: the power is above 10 % at the edge of the recording"));
    };
    ramp("power-on ramp", b.ramps.power_on_s);
    ramp("power-down ramp", b.ramps.power_down_s);
    const MaskCheck& m = b.mask;
    if (m.checked()) {
        line(out, "spectrum mask",
             format("%s, worst margin %.1f dB at %.2f MHz (checked from 11 to %.2f MHz off the carrier, as far as the "
                    "%.6g MHz sample rate reaches)",
                    pass_fail(m.passed()), m.worst_margin_db, m.worst_frequency_hz / 1e6,
                    std::min(m.covered_hz, m.limits.back().to_hz) / 1e6, a.sample_rate_hz / 1e6));
    } else {
        line(out, "spectrum mask",
             format("not checked: the %.6g MHz sample rate covers only +-%.6g MHz, inside the 11 MHz edge of the mask",
                    a.sample_rate_hz / 1e6, m.covered_hz / 1e6));
    }
}

std::string no_burst_text(const Analysis& a) {
    return std::string("no burst found") + (a.silent ? ": every sample is zero" : "");
}

}  // namespace

std::string octets_text(const std::vector<std::uint8_t>& octets, std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < octets.size() && k < count; ++k) text += format(k ? " %02x" : "%02x", octets[k]);
    if (octets.size() > count) text += " ...";
    return text;
}

std::string verdict_text(const BurstAnalysis& burst) {
    const std::vector<std::string> failures = burst.failures();
    if (failures.empty()) return "PASS";
    std::string text = "FAIL: ";
    for (std::size_t k = 0; k < failures.size(); ++k) text += (k ? "; " : "") + failures[k];
    return text;
}

std::string overall_verdict_text(const Analysis& analysis) {
    if (analysis.bursts.empty()) return "FAIL: " + no_burst_text(analysis);
    if (analysis.bursts.size() == 1) return verdict_text(analysis.bursts.front());
    std::string failed;
    for (std::size_t k = 0; k < analysis.bursts.size(); ++k) {
        const std::vector<std::string> failures = analysis.bursts[k].failures();
        for (std::size_t f = 0; f < failures.size(); ++f) {
            failed += failed.empty() ? "" : "; ";
            if (f == 0) failed += "burst " + std::to_string(k + 1) + ": ";
            failed += failures[f];
        }
    }
    return failed.empty() ? "PASS" : "FAIL: " + failed;
}

std::string burst_report_text(const BurstAnalysis& b, std::size_t index, const Analysis& a) {
    std::ostringstream out;
    out << format("burst %zu: samples %zu to %zu (%.2f to %.2f us)\n", index + 1, b.first_sample, b.end_sample - 1, static_cast<double>(b.first_sample) / a.sample_rate_hz * 1e6,
                  static_cast<double>(b.end_sample) / a.sample_rate_hz * 1e6);
    if (b.status != DecodeStatus::NoPreamble) line(out, "preamble", preamble_text(b));
    if (b.header) print_header(out, *b.header);
    if (b.format) {
        line(out, "rate",
             format("%s Mbit/s %s%s", rate_text(b.format->rate_100kbps).c_str(), modulation_name(b.format->modulation),
                    b.format->modulation == PsduModulation::Pbcc && !b.pbcc_coded ? " (uncoded)" : ""));
    }
    if (b.status == DecodeStatus::Decoded) {
        line(out, "PSDU",
             format("%zu octets", b.psdu.size()) + (b.psdu.empty() ? "" : ": " + octets_text(b.psdu, kOctetsShown)));
        if (b.mirrored_psdu) {
            line(out, "orientation", "cannot be checked (DBPSK header, no valid FCS): both readings shown");
            line(out, "PSDU mirrored",
                 format("%zu octets", b.mirrored_psdu->size()) +
                     (b.mirrored_psdu->empty() ? "" : ": " + octets_text(*b.mirrored_psdu, kOctetsShown)));
        }
        line(out, "FCS",
             b.fcs == FcsStatus::Valid     ? "valid"
             : b.fcs == FcsStatus::Invalid ? "error"
                                           : "not present (the last 4 octets are not the CRC-32 of the rest)");
        if (b.mac) print_mac(out, *b.mac);
    }
    print_measurements(out, b, a);
    line(out, "result", verdict_text(b));
    return out.str();
}


std::string report_heading(const std::string& source, const Analysis& analysis) {
    const std::string from =
        analysis.first_sample > 0 ? " from sample " + std::to_string(analysis.first_sample) : std::string();
    return source + ": " + std::to_string(analysis.sample_count) + " samples" + from + " at " +
           format("%.6g", analysis.sample_rate_hz / 1e6) + " MHz\n";
}

std::string report_ending(const Analysis& analysis, std::size_t bursts, bool passed) {
    return (bursts == 0 ? no_burst_text(analysis) + '\n' : std::string()) + "overall: " + pass_fail(passed) + '\n';
}

std::string report_text(const std::string& source, const Analysis& analysis) {
    std::string text = report_heading(source, analysis);
    for (std::size_t k = 0; k < analysis.bursts.size(); ++k) text += burst_report_text(analysis.bursts[k], k, analysis);
    return text + report_ending(analysis, analysis.bursts.size(), analysis.passed());
}

}  // namespace dot11b::analyzer
