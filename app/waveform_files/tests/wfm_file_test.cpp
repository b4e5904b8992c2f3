#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "app/waveform_files/wfm_file.hpp"
#include "common/errors.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"

namespace dot11b::waveform_files {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::read_bytes;
using test::TemporaryFolder;

// Expected words worked out by hand from the format: the largest magnitude
// (1) goes to 32766, and -1 + 0.5i gives -32766 and 16383.
TEST(WaveformFile, WordsAndBigEndianBytesOfTheFormat) {
    const Samples wave = {{1, 0}, {-1, 0.5}};
    EXPECT_EQ(wfm_words(wave), (std::vector<std::int16_t>{32766, 0, -32766, 16383}));
    EXPECT_EQ(wfm_bytes(wave), (Bytes{0x7F, 0xFE, 0x00, 0x00, 0x80, 0x02, 0x3F, 0xFF}));
}

TEST(WaveformFile, ScaleFactorIsLimitedToItsRange) {
    const Samples wave = {{1, 0}, {-1, 0.5}};
    struct Case {
        double scale;
        std::int16_t first_word;
    };
    const Case cases[] = {
        {1, 32766}, {2, 32766}, {0.5, 16383}, {3.1e-5, 1}, {-1, 0}, {std::numeric_limits<double>::quiet_NaN(), 32766},
    };
    for (const Case& c : cases) EXPECT_EQ(wfm_words(wave, c.scale)[0], c.first_word) << c.scale;
}

// A waveform of one magnitude only still reaches full scale; an all-zero
// waveform stays zero.
TEST(WaveformFile, EqualMagnitudesAreScaledAndZeroStaysZero) {
    EXPECT_EQ(wfm_words(Samples{{1, -1}, {-1, 1}}), (std::vector<std::int16_t>{32766, -32766, -32766, 32766}));
    EXPECT_EQ(wfm_words(Samples{{0.25, 0.25}}), (std::vector<std::int16_t>{32766, 32766}));
    EXPECT_EQ(wfm_words(Samples{{0, 0}, {0, 0}}), (std::vector<std::int16_t>{0, 0, 0, 0}));
    EXPECT_TRUE(wfm_words(Samples{}).empty());
}

TEST(WaveformFile, HalvesRoundAwayFromZero) {
    // 0.5 / 1 * 32766 = 16383 exactly; 1/65532 of full scale is exactly half a word.
    const double half_word = 1.0 / (2 * 32766);
    EXPECT_EQ(wfm_words(Samples{{1, half_word}, {-half_word, 0}}),
              (std::vector<std::int16_t>{32766, 1, -1, 0}));

    // Around every kind of half, the words are the library's round of the scaled value.
    Samples samples{{1, 0}};
    for (const double words : {0.5, 1.5, 2.5, 16382.5, 32765.5, 0.49999999999999994, 7.0, 123.25}) {
        for (const double x : {words / 32766, std::nextafter(words / 32766, 0.0), std::nextafter(words / 32766, 1.0)}) {
            samples.emplace_back(x, -x);
        }
    }
    const std::vector<std::int16_t> got = wfm_words(samples);
    for (std::size_t k = 0; k < samples.size(); ++k) {
        EXPECT_EQ(got[2 * k], static_cast<std::int16_t>(std::round(samples[k].real() * 32766))) << k;
        EXPECT_EQ(got[2 * k + 1], static_cast<std::int16_t>(std::round(samples[k].imag() * 32766))) << k;
    }
}

TEST(WaveformFile, NonFiniteSamplesAreRejected) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
    for (const double x : bad) {
        EXPECT_THROW(wfm_words(Samples{{1, 0}, {0, x}}), ConfigError);
        EXPECT_THROW(wfm_words(Samples{{x, 0}}), ConfigError);
    }
}

TEST(WaveformFile, WritesTheBytesAndReplacesAnExistingFile) {
    const TemporaryFolder folder;
    const auto path = folder.path() / "wave.wfm";
    write_wfm(path, Samples{{1, 0}, {-1, 0.5}, {0, 0}, {0.25, 1}});
    write_wfm(path, Samples{{1, 0}, {-1, 0.5}});
    EXPECT_EQ(read_bytes(path), wfm_bytes(Samples{{1, 0}, {-1, 0.5}}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "temporary file left";
}

TEST(WaveformFile, FailedWriteKeepsTheOldFileAndNamesThePath) {
    const TemporaryFolder folder;
    const auto missing = folder.path() / "no such folder" / "wave.wfm";
    try {
        write_wfm(missing, Samples{{1, 0}});
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
    }
    const auto bad_data = folder.path() / "kept.wfm";
    write_wfm(bad_data, Samples{{1, 0}});
    EXPECT_THROW(write_wfm(bad_data, Samples{{std::numeric_limits<double>::infinity(), 0}}), ConfigError);
    EXPECT_EQ(read_bytes(bad_data), (Bytes{0x7F, 0xFE, 0x00, 0x00}));
}

// Longer than one conversion chunk: the file must hold every word, each
// worked out here directly from the format (largest magnitude to 32766).
TEST(WaveformFile, LongWaveformsAreWrittenWhole) {
    Samples wave(10007);
    for (std::size_t k = 0; k < wave.size(); ++k) wave[k] = {std::sin(0.01 * k), 0.5 * std::cos(0.02 * k)};
    double largest = 0;
    for (const Complex z : wave) largest = std::max({largest, std::abs(z.real()), std::abs(z.imag())});
    Bytes expected;
    for (const Complex z : wave) {
        for (const double x : {z.real(), z.imag()}) {
            const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(x / largest * 32766)));
            expected.push_back(static_cast<std::uint8_t>(word >> 8));
            expected.push_back(static_cast<std::uint8_t>(word));
        }
    }
    const TemporaryFolder folder;
    write_wfm(folder / "long.wfm", wave);
    EXPECT_EQ(read_bytes(folder / "long.wfm"), expected);
}

}  // namespace
}  // namespace dot11b::waveform_files
