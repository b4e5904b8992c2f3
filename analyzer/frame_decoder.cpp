#include "analyzer/frame_decoder.hpp"

#include <algorithm>

#include "analyzer/cck_demodulator.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/descrambler.hpp"
#include "analyzer/despreading.hpp"
#include "analyzer/pbcc_demodulator.hpp"
#include "common/octets.hpp"

namespace dot11b::analyzer {
namespace {

// Ideal DBPSK symbols of detected bits: bit k turns symbol k against symbol k - 1.
Samples ideal_chain(BitSpan raw_bits) {
    Samples ideal(raw_bits.size());
    Complex symbol = 1;
    for (std::size_t k = 0; k < raw_bits.size(); ++k) {
        if (k > 0 && raw_bits[k]) symbol = -symbol;
        ideal[k] = symbol;
    }
    return ideal;
}

void append_spread_all(SampleSpan symbols, Samples& chips) {
    for (const Complex s : symbols) append_spread(s, chips);
}

void append(Bits& to, const Bits& bits) { to.insert(to.end(), bits.begin(), bits.end()); }

std::string truncation(std::size_t available, std::size_t needed, const char* part) {
    return "the burst ends " + std::to_string(needed - std::min(needed, available)) + " chips before the end of the " +
           part + " (" + std::to_string(needed) + " chips)";
}

struct PsduChips {
    Bits raw_bits;
    Samples ideal;
    bool pbcc_coded = true;
};

PsduChips demodulate_psdu(std::span<const Complex> chips, const PsduFormat& format, Complex reference,
                          Complex ideal_reference) {
    PsduChips out;
    const std::size_t bits = 8 * format.octets;
    const bool eleven = format.rate_100kbps == 110;
    switch (format.modulation) {
    case PsduModulation::Dbpsk:
    case PsduModulation::Dqpsk: {
        const bool dqpsk = format.modulation == PsduModulation::Dqpsk;
        const Samples symbols = despread(chips, 0, dqpsk ? bits / 2 : bits);
        DifferentialSymbols detected = detect_differential(symbols, reference, ideal_reference, dqpsk);
        out.raw_bits = std::move(detected.bits);
        append_spread_all(detected.ideal, out.ideal);
        break;
    }
    case PsduModulation::Cck: {
        CckSymbols detected = demodulate_cck(chips, eleven, reference, ideal_reference);
        out.raw_bits = std::move(detected.bits);
        out.ideal = std::move(detected.ideal_chips);
        break;
    }
    case PsduModulation::Pbcc: {
        // PBCC symbols refer to the last header chip: the last symbol times the last Barker chip.
        PbccSymbols detected = demodulate_pbcc(chips, eleven, bits, -reference, -ideal_reference);
        out.raw_bits = std::move(detected.bits);
        out.ideal = std::move(detected.ideal_chips);
        out.pbcc_coded = detected.coded;
        break;
    }
    }
    return out;
}

}  // namespace

FrameDecode decode_frame(std::span<Complex> chips, std::span<const double> seconds, const SfdMatch& sfd,
                         PhaseLine removed) {
    FrameDecode out;
    out.removed = removed;
    const bool long_preamble = sfd.preamble == PreambleType::Long;
    const std::size_t header_symbols = long_preamble ? kHeaderBits : kHeaderBits / 2;
    const std::size_t psdu_chip = sfd.header_chip + kChipsPerSymbol * header_symbols;
    if (psdu_chip > chips.size()) {
        out.status = DecodeStatus::Truncated;
        out.problem = truncation(chips.size() - std::min(chips.size(), sfd.header_chip), psdu_chip - sfd.header_chip,
                                 "PLCP header");
        return out;
    }

    const std::size_t matched = sfd.raw_bits.size();
    const std::size_t preamble_symbols = (long_preamble ? kLongSyncBits : kShortSyncBits) + kSfdBits;
    const std::size_t first_symbol = matched > preamble_symbols ? matched - preamble_symbols : 0;
    out.frame_chip = sfd.first_symbol_chip + kChipsPerSymbol * first_symbol;

    const Samples preamble = despread(chips, sfd.first_symbol_chip, matched);
    const Samples ideal_preamble = ideal_chain(sfd.raw_bits);
    const Samples header_received = despread(chips, sfd.header_chip, header_symbols);
    const DifferentialSymbols header_symbols_detected =
        detect_differential(header_received, preamble.back(), ideal_preamble.back(), !long_preamble);

    Bits frame_raw = sfd.raw_bits;
    append(frame_raw, header_symbols_detected.bits);
    const Bits descrambled = Descrambler().run(frame_raw);
    const BitSpan header_raw(header_symbols_detected.bits);
    const PlcpHeader descrambled_header = parse_plcp_header(BitSpan(descrambled).last(kHeaderBits));
    const PlcpHeader raw_header = parse_plcp_header(header_raw);
    if (!sfd.scrambled) {
        out.scrambling = Scrambling::Off;
        out.header = raw_header;
    } else if (!descrambled_header.crc_ok && raw_header.crc_ok) {
        out.scrambling = Scrambling::PreambleOnly;
        out.header = raw_header;
    } else {
        out.header = descrambled_header;
    }
    if (!out.header->crc_ok) {
        out.status = DecodeStatus::HeaderCrcError;
        out.problem = "PLCP header CRC error";
        return out;
    }
    out.format = psdu_format(*out.header);
    if (!out.format) {
        out.status = DecodeStatus::UnsupportedRate;
        out.problem = "SIGNAL " + rate_text(out.header->signal) + " Mbit/s with LENGTH " +
                      std::to_string(out.header->length) +
                      " us is not a supported mode (supported: 1, 2, 5.5 and 11 Mbit/s)";
        return out;
    }

    for (std::size_t m = first_symbol; m < matched; ++m) append_spread(ideal_preamble[m], out.ideal);
    append_spread_all(header_symbols_detected.ideal, out.ideal);
    const std::size_t known = psdu_chip - out.frame_chip;
    const PhaseLine residual = fit_phase_line(std::span<const Complex>(chips).subspan(out.frame_chip, known), out.ideal,
                                              seconds.subspan(out.frame_chip), kChipsPerSymbol);
    remove_phase_line(chips, seconds, residual);
    out.removed.frequency_hz += residual.frequency_hz;
    out.removed.phase_at_zero += residual.phase_at_zero;

    out.psdu_chip = psdu_chip;
    const std::size_t needed = psdu_chip_count(*out.format, true);
    const std::size_t available = chips.size() - psdu_chip;
    const std::size_t least = psdu_chip_count(*out.format, false);
    const Complex reference = despread(chips, psdu_chip - kChipsPerSymbol, 1).front();
    if (available < least) {
        out.status = DecodeStatus::Truncated;
        out.problem = truncation(available, needed, "PSDU its LENGTH announces");
        // The decisions on the chips there are, to tell a chip timing lost on
        // the way from a burst that is short.
        if (out.format->modulation != PsduModulation::Pbcc) {
            PsduFormat part = *out.format;
            part.octets = out.format->octets * available / needed;
            const PsduChips read = demodulate_psdu(std::span<const Complex>(chips).subspan(psdu_chip), part, reference,
                                                   header_symbols_detected.ideal.back());
            out.ideal.insert(out.ideal.end(), read.ideal.begin(), read.ideal.end());
        }
        return out;
    }
    PsduChips psdu = demodulate_psdu(std::span<const Complex>(chips).subspan(psdu_chip, std::min(needed, available)),
                                     *out.format, reference, header_symbols_detected.ideal.back());
    out.pbcc_coded = psdu.pbcc_coded;
    const std::size_t psdu_chips = psdu_chip_count(*out.format, psdu.pbcc_coded);
    if (available < psdu_chips) {
        out.status = DecodeStatus::Truncated;
        out.problem = truncation(available, psdu_chips, "PSDU its LENGTH announces");
        return out;
    }
    append(frame_raw, psdu.raw_bits);
    Bits psdu_bits = psdu.raw_bits;
    if (out.scrambling == Scrambling::On) {
        const Bits all = Descrambler().run(frame_raw);
        psdu_bits.assign(all.end() - static_cast<std::ptrdiff_t>(psdu_bits.size()), all.end());
    }
    out.psdu = octets_of(psdu_bits);
    out.ideal.insert(out.ideal.end(), psdu.ideal.begin(), psdu.ideal.end());
    out.end_chip = out.frame_chip + out.ideal.size();
    out.status = DecodeStatus::Decoded;
    return out;
}

}  // namespace dot11b::analyzer
