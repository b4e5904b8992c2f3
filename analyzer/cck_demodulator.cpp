#include "analyzer/cck_demodulator.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/dqpsk_decision.hpp"

namespace dot11b::analyzer {
namespace {

using std::numbers::pi;
using Codeword = std::array<Complex, kCckChipsPerSymbol>;

// c0 ... c7 = e(p1+p2+p3+p4), e(p1+p3+p4), e(p1+p2+p4), -e(p1+p4), e(p1+p2+p3),
// e(p1+p3), -e(p1+p2), e(p1), here with p1 = 0.
Codeword codeword(double p2, double p3, double p4) {
    const auto e = [](double x) { return std::polar(1.0, x); };
    return {e(p2 + p3 + p4), e(p3 + p4), e(p2 + p4), -e(p4), e(p2 + p3), e(p3), -e(p2), e(0)};
}

// Code words by the value of the bits after d0 d1 (d2 in the least significant bit).
// 11 Mbit/s: (d2, d3), (d4, d5), (d6, d7) give phi2, phi3, phi4 as 00 -> 0,
// 01 -> pi/2, 10 -> pi, 11 -> 3pi/2. 5.5 Mbit/s: phi2 = d2 pi + pi/2, phi3 = 0, phi4 = d3 pi.
std::vector<Codeword> codebook(bool eleven_mbps) {
    std::vector<Codeword> book;
    const unsigned bits = eleven_mbps ? 6 : 2;
    for (unsigned v = 0; v < (1U << bits); ++v) {
        const auto bit = [v](unsigned k) { return static_cast<double>((v >> k) & 1U); };
        if (eleven_mbps) {
            book.push_back(
                codeword(bit(0) * pi + bit(1) * pi / 2, bit(2) * pi + bit(3) * pi / 2, bit(4) * pi + bit(5) * pi / 2));
        } else {
            book.push_back(codeword(bit(0) * pi + pi / 2, 0, bit(1) * pi));
        }
    }
    return book;
}

// x times conj(j^q) for q = 0 ... 3: turns by quarters clockwise, exact; by
// table, because a branch on q would be mispredicted half the time.
using Turns = std::array<Complex, 4>;
Turns turns(Complex x) { return {x, Complex(x.imag(), -x.real()), -x, Complex(-x.imag(), x.real())}; }

struct Match {
    std::size_t word = 0;
    Complex sum;
};

// The code word with the largest correlation, trying each in turn.
Match best_match(const Complex* chip, const std::vector<Codeword>& book) {
    Match best;
    double best_power = -1;
    for (std::size_t w = 0; w < book.size(); ++w) {
        // Written out: std::complex's product checks for infinities on every multiplication.
        double re = 0;
        double im = 0;
        for (std::size_t i = 0; i < kCckChipsPerSymbol; ++i) {
            const Complex c = book[w][i];
            re += chip[i].real() * c.real() + chip[i].imag() * c.imag();
            im += chip[i].imag() * c.real() - chip[i].real() * c.imag();
        }
        const double power = re * re + im * im;
        if (power > best_power) {
            best_power = power;
            best = {w, {re, im}};
        }
    }
    return best;
}

// The same for the 64 code words of 11 Mbit/s, through their structure: with
// phases in quarter turns q2, q3, q4, the correlation is
// conj(j^q4) A(q2, q3) + B(q2, q3), where A gathers chips 0-3 and B chips 4-7.
Match best_match_11(const Complex* r) {
    const Turns t0 = turns(r[0]), t1 = turns(r[1]), t2 = turns(r[2]);
    const Turns t4 = turns(r[4]), t5 = turns(r[5]), t6 = turns(r[6]);
    // Word bits (d2 first) give phi2, phi3, phi4 as 00 -> 0, 01 -> pi/2, 10 -> pi, 11 -> 3pi/2.
    const auto quarters = [](std::size_t w, unsigned shift) {
        return static_cast<unsigned>(2 * ((w >> shift) & 1U) + ((w >> (shift + 1)) & 1U));
    };
    // By the word's low four bits (q2, q3), I and Q apart; the high two bits
    // (q4) turn A.
    std::array<double, 16> ar, ai, br, bi;
    for (std::size_t low = 0; low < 16; ++low) {
        const unsigned q2 = quarters(low, 0), q3 = quarters(low, 2);
        const Complex a = t0[(q2 + q3) & 3U] + t1[q3] + t2[q2] - r[3];
        const Complex b = t4[(q2 + q3) & 3U] + t5[q3] - t6[q2] + r[7];
        ar[low] = a.real();
        ai[low] = a.imag();
        br[low] = b.real();
        bi[low] = b.imag();
    }
    // Every word's power first, in word order, then the largest, then the
    // first word that has it: no branch on the data but the last. The high
    // bits 00, 01, 10, 11 are q4 = 0, 2, 1, 3, which turn A to (ar, ai),
    // (-ar, -ai), (ai, -ar) and (-ai, ar).
    std::array<double, 64> powers;
    const auto power = [](double re, double im) { return re * re + im * im; };
    for (std::size_t low = 0; low < 16; ++low) {
        powers[low] = power(ar[low] + br[low], ai[low] + bi[low]);
        powers[16 + low] = power(br[low] - ar[low], bi[low] - ai[low]);
        powers[32 + low] = power(ai[low] + br[low], bi[low] - ar[low]);
        powers[48 + low] = power(br[low] - ai[low], ar[low] + bi[low]);
    }
    // Four running maxima, which do not wait on one another.
    std::array<double, 4> most = {powers[0], powers[1], powers[2], powers[3]};
    for (std::size_t k = 4; k < 64; k += 4) {
        for (std::size_t j = 0; j < 4; ++j) most[j] = powers[k + j] > most[j] ? powers[k + j] : most[j];
    }
    const double largest = std::max(std::max(most[0], most[1]), std::max(most[2], most[3]));
    std::size_t w = 0;
    while (w < 64 && !(powers[w] == largest)) ++w;
    if (w == 64) w = 0;  // no number among the powers
    const std::size_t low = w & 15U;
    return {w, turns({ar[low], ai[low]})[quarters(w, 4)] + Complex(br[low], bi[low])};
}

}  // namespace

CckSymbols demodulate_cck(SampleSpan chips, bool eleven_mbps, Complex reference, Complex ideal_reference) {
    static const std::vector<Codeword> kBook11 = codebook(true);
    static const std::vector<Codeword> kBook5 = codebook(false);
    const std::vector<Codeword>& book = eleven_mbps ? kBook11 : kBook5;
    const unsigned word_bits = eleven_mbps ? 6 : 2;

    CckSymbols out;
    const std::size_t symbols = chips.size() / kCckChipsPerSymbol;
    out.bits.reserve(symbols * (word_bits + 2));
    out.ideal_chips.reserve(symbols * kCckChipsPerSymbol);
    Complex previous = reference;
    Complex ideal_phase = ideal_reference / std::abs(ideal_reference);
    for (std::size_t s = 0; s < symbols; ++s) {
        const Complex* chip = chips.data() + s * kCckChipsPerSymbol;
        const Match match = eleven_mbps ? best_match_11(chip) : best_match(chip, book);
        const std::size_t best = match.word;
        const Complex best_sum = match.sum;
        // The second, fourth, ... symbol carries an extra pi.
        const double extra = s % 2 == 1 ? -1.0 : 1.0;
        const Complex turn = conj_product(previous, best_sum) * extra;
        // phi1 carries the first dibit as DQPSK does.
        const unsigned quarters = quarter_turns(turn);
        append_dibit(quarters, out.bits);
        for (unsigned k = 0; k < word_bits; ++k) out.bits.push_back(static_cast<std::uint8_t>((best >> k) & 1U));
        ideal_phase = product(ideal_phase, quarter_turn_phasor(quarters) * extra);
        for (const Complex c : book[best]) out.ideal_chips.push_back(product(ideal_phase, c));
        previous = best_sum;
    }
    return out;
}

}  // namespace dot11b::analyzer
