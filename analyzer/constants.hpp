#pragma once
// The constants of IEEE 802.11-2016 clauses 16 (DSSS) and 17 (HR/DSSS) that a
// receiver shares with any transmitter.

#include <array>
#include <cstddef>
#include <cstdint>

namespace dot11b::analyzer {

inline constexpr double kChipRateHz = 11e6;
inline constexpr std::size_t kChipsPerSymbol = 11;  // Barker-spread symbols, 1 us

// The 11-chip Barker sequence, first chip first (clause 16, spreading).
inline constexpr std::array<double, kChipsPerSymbol> kBarker = {1, -1, 1, 1, -1, 1, 1, 1, -1, -1, -1};

inline constexpr std::size_t kSfdBits = 16;
// Start frame delimiters in transmission order (clause 16 long PPDU, clause 17 short PPDU): F3A0h for
// the long preamble and its bit reversal 05CFh for the short one, LSB first.
inline constexpr std::array<std::uint8_t, kSfdBits> kLongSfd = {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 1, 1, 1};
inline constexpr std::array<std::uint8_t, kSfdBits> kShortSfd = {1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0};
inline constexpr std::size_t kLongSyncBits = 128;  // scrambled ones
inline constexpr std::size_t kShortSyncBits = 56;  // scrambled zeros
inline constexpr std::size_t kHeaderBits = 48;     // SIGNAL, SERVICE, LENGTH, CRC

// SERVICE bits (clause 17): locked clocks, modulation selection (PBCC), length extension.
inline constexpr int kServiceLockedClocksBit = 2;
inline constexpr int kServicePbccBit = 3;
inline constexpr int kServiceLengthExtensionBit = 7;

// CCK (clause 17) sends 8 chips per symbol.
inline constexpr std::size_t kCckChipsPerSymbol = 8;

// PBCC (clause 17): the rate-1/2 code G0 = D^6+D^4+D^3+D+1, G1 = D^6+D^5+D^4+D^3+D^2+1
// (octal 133 and 175, D^0 in the least significant bit), six memory cells, and the
// 16-bit cover seed, first bit first; each further 16 bits of the cover sequence are
// the seed rotated left by 3 more places.
inline constexpr unsigned kPbccG0 = 0133;
inline constexpr unsigned kPbccG1 = 0175;
inline constexpr unsigned kPbccMemory = 6;
inline constexpr std::array<std::uint8_t, 16> kPbccCoverSeed = {0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1, 1};
inline constexpr std::size_t kPbccCoverShift = 3;
inline constexpr std::size_t kPbccTailBits = 8;  // one octet of zeros ends the code in state 0

// Transmitter limits (clause 16 and 17 transmitter specifications).
inline constexpr double kEvmPeakLimit = 0.35;  // peak vector error over 1000 chips
inline constexpr std::size_t kEvmBlockChips = 1000;
inline constexpr double kFrequencyTolerancePpm = 25;  // carrier and chip clock
inline constexpr double kRampLimitSeconds = 2e-6;     // 10 % to 90 % power
inline constexpr double kCarrierSuppressionDb = -15;  // carrier leakage against the signal power
inline constexpr double kMaskResolutionBandwidthHz = 100e3;

}  // namespace dot11b::analyzer
