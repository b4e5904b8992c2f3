#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "common/errors.hpp"
#include "instrument/waveform_file.hpp"
#include "temporary_folder.hpp"

namespace dot11b::instrument {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Expected words worked out by hand from the format: the largest magnitude
// (1) goes to 32766, and -1 + 0.5i gives -32766 and 16383.
TEST(WaveformFile, WordsAndBigEndianBytesOfTheFormat) {
    const Samples wave = {{1, 0}, {-1, 0.5}};
    EXPECT_EQ(waveform_words(wave), (std::vector<std::int16_t>{32766, 0, -32766, 16383}));
    EXPECT_EQ(waveform_file_bytes(wave), (Bytes{0x7F, 0xFE, 0x00, 0x00, 0x80, 0x02, 0x3F, 0xFF}));
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
    for (const Case& c : cases) EXPECT_EQ(waveform_words(wave, c.scale)[0], c.first_word) << c.scale;
}

// A waveform of one magnitude only still reaches full scale; an all-zero
// waveform stays zero.
TEST(WaveformFile, EqualMagnitudesAreScaledAndZeroStaysZero) {
    EXPECT_EQ(waveform_words(Samples{{1, -1}, {-1, 1}}), (std::vector<std::int16_t>{32766, -32766, -32766, 32766}));
    EXPECT_EQ(waveform_words(Samples{{0.25, 0.25}}), (std::vector<std::int16_t>{32766, 32766}));
    EXPECT_EQ(waveform_words(Samples{{0, 0}, {0, 0}}), (std::vector<std::int16_t>{0, 0, 0, 0}));
    EXPECT_TRUE(waveform_words(Samples{}).empty());
}

TEST(WaveformFile, HalvesRoundAwayFromZero) {
    // 0.5 / 1 * 32766 = 16383 exactly; 1/65532 of full scale is exactly half a word.
    const double half_word = 1.0 / (2 * 32766);
    EXPECT_EQ(waveform_words(Samples{{1, half_word}, {-half_word, 0}}),
              (std::vector<std::int16_t>{32766, 1, -1, 0}));
}

TEST(WaveformFile, NonFiniteSamplesAreRejected) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
    for (const double x : bad) {
        EXPECT_THROW(waveform_words(Samples{{1, 0}, {0, x}}), ConfigError);
        EXPECT_THROW(waveform_words(Samples{{x, 0}}), ConfigError);
    }
}

TEST(WaveformFile, WritesTheBytesAndReplacesAnExistingFile) {
    const TemporaryFolder folder;
    const auto path = folder.path() / "wave.wfm";
    write_waveform_file(path, Samples{{1, 0}, {-1, 0.5}, {0, 0}, {0.25, 1}});
    write_waveform_file(path, Samples{{1, 0}, {-1, 0.5}});
    EXPECT_EQ(read_file(path), waveform_file_bytes(Samples{{1, 0}, {-1, 0.5}}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "temporary file left";
}

TEST(WaveformFile, FailedWriteKeepsTheOldFileAndNamesThePath) {
    const TemporaryFolder folder;
    const auto missing = folder.path() / "no such folder" / "wave.wfm";
    try {
        write_waveform_file(missing, Samples{{1, 0}});
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
    }
    const auto bad_data = folder.path() / "kept.wfm";
    write_waveform_file(bad_data, Samples{{1, 0}});
    EXPECT_THROW(write_waveform_file(bad_data, Samples{{std::numeric_limits<double>::infinity(), 0}}), ConfigError);
    EXPECT_EQ(read_file(bad_data), (Bytes{0x7F, 0xFE, 0x00, 0x00}));
}

}  // namespace
}  // namespace dot11b::instrument
