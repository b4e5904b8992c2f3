#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "app/waveform_files/save_wave_file.hpp"
#include "test_support.hpp"

namespace dot11b::app {
namespace {

using test::run_python;
using test::TemporaryFolder;

TEST(SaveWaveFile, HoldsTheSamplesAsAnNByTwoMatrixWithLengthAndRate) {
    TemporaryFolder folder;
    const auto path = folder / "wave.txt";
    const Samples waveform = {{1, 0}, {-1, 0.5}, {0.25, -0.75}};
    waveform_files::write_save_wave(path, waveform, 38500000);

    const auto scipy = nlohmann::json::parse(
        run_python("mat_to_json.py", {path.string(), "samplePoints", "sampleRate", "wave"}, folder.path()));
    EXPECT_EQ(scipy["samplePoints"]["real"], nlohmann::json::array({3.0}));
    EXPECT_EQ(scipy["sampleRate"]["real"], nlohmann::json::array({38500000.0}));
    EXPECT_EQ(scipy["wave"]["class"], "float64");
    EXPECT_EQ(scipy["wave"]["shape"], nlohmann::json::array({3, 2}));
    // Column 1 the real parts, column 2 the imaginary parts.
    EXPECT_EQ(scipy["wave"]["real"], nlohmann::json::array({1.0, -1.0, 0.25, 0.0, 0.5, -0.75}));
}

}  // namespace
}  // namespace dot11b::app
