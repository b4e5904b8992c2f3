#include "analyzer/sfd_search.hpp"

#include <algorithm>
#include <array>
#include <numeric>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/descrambler.hpp"
#include "analyzer/despreading.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kMinSyncBits = 16;

struct PatternHit {
    std::size_t sfd_start;
    std::size_t sync_bits;
};

// The first place where `sfd` follows at least kMinSyncBits copies of `sync_bit`.
std::optional<PatternHit> find_pattern(const Bits& bits, const std::array<std::uint8_t, kSfdBits>& sfd,
                                       std::uint8_t sync_bit) {
    std::size_t run = 0;  // sync bits just before position p
    for (std::size_t p = 0; p + sfd.size() <= bits.size(); ++p) {
        if (run >= kMinSyncBits && std::equal(sfd.begin(), sfd.end(), bits.begin() + static_cast<std::ptrdiff_t>(p))) {
            return PatternHit{p, run};
        }
        run = bits[p] == sync_bit ? run + 1 : 0;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SfdMatch> find_sfd(SampleSpan chips, std::size_t max_symbols) {
    std::array<double, kChipsPerSymbol> energy{};
    std::array<Samples, kChipsPerSymbol> symbols;
    for (std::size_t a = 0; a < kChipsPerSymbol; ++a) {
        symbols[a] = despread(chips, a, max_symbols);
        for (const Complex s : symbols[a]) energy[a] += magnitude_squared(s);
    }
    std::array<std::size_t, kChipsPerSymbol> order{};
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return energy[x] > energy[y]; });

    for (const std::size_t a : order) {
        const Samples& s = symbols[a];
        if (s.size() < 2) continue;
        // Bit m compares symbol m with symbol m - 1; the first has no predecessor.
        Bits raw = detect_differential(SampleSpan(s).subspan(1), s[0], 1, false).bits;
        raw.insert(raw.begin(), 0);
        const Bits descrambled = Descrambler().run(raw);

        std::optional<SfdMatch> best;
        const auto consider = [&](const Bits& bits, bool scrambled, PreambleType type) {
            const bool is_long = type == PreambleType::Long;
            const auto hit = find_pattern(bits, is_long ? kLongSfd : kShortSfd, is_long ? 1 : 0);
            if (!hit) return;
            const std::size_t end = hit->sfd_start + kLongSfd.size();
            if (best && best->raw_bits.size() <= end) return;
            SfdMatch match;
            match.preamble = type;
            match.scrambled = scrambled;
            match.first_symbol_chip = a;
            match.header_chip = a + kChipsPerSymbol * end;
            match.sync_bits = hit->sync_bits;
            match.raw_bits.assign(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(end));
            match.symbols.assign(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(end));
            best = std::move(match);
        };
        consider(descrambled, true, PreambleType::Long);
        consider(descrambled, true, PreambleType::Short);
        consider(raw, false, PreambleType::Long);
        consider(raw, false, PreambleType::Short);
        if (best) return best;
    }
    return std::nullopt;
}

}  // namespace dot11b::analyzer
