#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>

#include "app/calculation.hpp"
#include "cli/plot/command_line.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "plots/spectrum.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

namespace fs = std::filesystem;
using test::TemporaryFolder;

std::string at(const TemporaryFolder& folder, const std::string& name) { return (folder / name).string(); }

using Outcome = dot11b::test::ToolRun;

Outcome run(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_plot, "dot11b-plot", std::move(arguments));
}

// Raw little-endian float32 I, Q pairs; returns the samples as they read back
// (decoded from the words written, so no conversion can differ).
Samples write_cf32(const std::string& path, std::size_t n) {
    std::vector<std::uint32_t> words;
    for (std::size_t k = 0; k < n; ++k) {
        words.push_back(std::bit_cast<std::uint32_t>(float(std::cos(0.3 * double(k)))));
        words.push_back(std::bit_cast<std::uint32_t>(float(0.5 * std::sin(0.7 * double(k)))));
    }
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t word : words) {
        for (int b = 0; b < 4; ++b) bytes.push_back(std::uint8_t(word >> (8 * b)));
    }
    test::write_bytes(path, bytes);
    Samples samples;
    for (std::size_t k = 0; k < n; ++k) {
        samples.emplace_back(std::bit_cast<float>(words[2 * k]), std::bit_cast<float>(words[2 * k + 1]));
    }
    return samples;
}

std::vector<std::vector<double>> read_csv(const std::string& path, std::string& header) {
    std::ifstream file(path);
    std::getline(file, header);
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(file, line);) {
        std::vector<double>& row = rows.emplace_back();
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) {
            double value = 0;
            std::from_chars(cell.data(), cell.data() + cell.size(), value);
            row.push_back(value);
        }
    }
    return rows;
}

TEST(Dot11bPlot, WritesPngPdfAndCsvOfTheViews) {
    TemporaryFolder folder;
    const Samples samples = write_cf32(at(folder, "wave.cf32"), 3000);
    const Outcome result = run({at(folder, "wave.cf32"), "--sample-rate", "38.5e6", "--plot-size", "320x240", "--plot",
                                "spectrum:" + at(folder, "s.png"), "--plot", "ccdf:" + at(folder, "c.pdf"), "--plot",
                                "spectrum:" + at(folder, "s.csv"), "--plot", "eye:" + at(folder, "e.png"), "--plot",
                                "scatter:" + at(folder, "sc.png"), "--scatter-trace", "1"});
    ASSERT_EQ(result.status, 0) << result.err;

    for (const char* name : {"s.png", "e.png", "sc.png"}) {
        QImage image(QString::fromStdString(folder / name));
        ASSERT_EQ(image.size(), QSize(320, 240)) << name;
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) coloured += image.pixelColor(x, y).saturation() > 100 ? 1 : 0;
        }
        EXPECT_GT(coloured, 200) << name;
    }
    std::ifstream pdf(at(folder, "c.pdf"));
    std::string magic(5, ' ');
    pdf.read(magic.data(), 5);
    EXPECT_EQ(magic, "%PDF-");

    std::string header;
    const auto rows = read_csv(at(folder, "s.csv"), header);
    EXPECT_EQ(header, "Frequency (MHz),LogMag (dB)");
    const plots::Spectrum expected = plots::magnitude_spectrum(samples, 38.5e6);
    ASSERT_EQ(rows.size(), expected.frequency.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k][0], expected.frequency[k]);
        EXPECT_EQ(rows[k][1], expected.magnitude_db[k]);
    }
}

void write_samples_cf32(const std::string& path, const Samples& samples) {
    std::vector<std::uint8_t> bytes;
    for (const Complex x : samples) {
        for (const float part : {float(x.real()), float(x.imag())}) {
            const auto word = std::bit_cast<std::uint32_t>(part);
            for (int b = 0; b < 4; ++b) bytes.push_back(std::uint8_t(word >> (8 * b)));
        }
    }
    test::write_bytes(path, bytes);
}

TEST(Dot11bPlot, ChipViewsExportTheAnalysedChips) {
    // The start-up frame: 1024 octets at 11 Mbit/s CCK, 8 bits on 8 chips, at 38.5 MHz.
    app::FormatParameters p;
    app::refresh_derived_fields(p);
    TemporaryFolder folder;
    write_samples_cf32(at(folder, "wave.cf32"), app::calculate(p).frame.samples);
    const Outcome result = run({at(folder, "wave.cf32"), "--sample-rate", "38.5e6", "--plot",
                                "evm:" + at(folder, "e.csv"), "--plot", "constellation:" + at(folder, "c.csv"),
                                "--plot", "constellation:" + at(folder, "c.png")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(QImage(QString::fromStdString(folder / "c.png")).isNull());

    std::string header;
    const auto evm = read_csv(at(folder, "e.csv"), header);
    EXPECT_EQ(header, "Chip,EVM (%)");
    // The PSDU's chips but the last few, whose reference would need chips after the frame.
    ASSERT_LE(evm.size(), 8192U);
    ASSERT_GE(evm.size(), 8192U - 16);
    for (std::size_t k = 0; k < evm.size(); ++k) {
        ASSERT_EQ(evm[k][0], double(k));
        ASSERT_LT(evm[k][1], 35);
    }
    const auto points = read_csv(at(folder, "c.csv"), header);
    EXPECT_EQ(header, "In-Phase,Quadrature,Ideal In-Phase,Ideal Quadrature");
    ASSERT_EQ(points.size(), evm.size());
    // The four QPSK points once each, then no more ideal points.
    for (std::size_t k = 0; k < points.size(); ++k) {
        ASSERT_EQ(std::isnan(points[k][2]), k >= 4) << "row " << k;
        if (k < 4) {
            EXPECT_NEAR(std::hypot(points[k][2], points[k][3]), 1, 1e-9);
        }
    }
}

TEST(Dot11bPlot, DacBitsQuantiseBeforePlotting) {
    TemporaryFolder folder;
    write_cf32(at(folder, "wave.cf32"), 200);
    const Outcome result = run({at(folder, "wave.cf32"), "--sample-rate", "1e6", "--dac-bits", "3", "--plot",
                                "iq:" + at(folder, "iq.csv")});
    ASSERT_EQ(result.status, 0) << result.err;
    std::string header;
    const auto rows = read_csv(at(folder, "iq.csv"), header);
    EXPECT_EQ(header, "Time (uS),I (V),Q (V)");
    // Three bits: steps of a third of the largest magnitude (1, the largest I).
    double largest = 0;
    for (const auto& row : rows) largest = std::max({largest, std::abs(row[1]), std::abs(row[2])});
    for (const auto& row : rows) {
        for (const double v : {row[1], row[2]}) EXPECT_NEAR(std::remainder(v * 3 / largest, 1.0), 0, 1e-12) << v;
    }
}

TEST(Dot11bPlot, BadInputIsNamedWithTheUsageOrFailureStatus) {
    TemporaryFolder folder;
    write_cf32(at(folder, "wave.cf32"), 10);
    std::ofstream(at(folder, "empty.cf32")).close();
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* names;
    };
    const std::vector<Case> cases = {
        {{at(folder, "wave.cf32"), "--sample-rate", "1e6", "--plot", "polar:" + at(folder, "p.png")}, 2, "polar"},
        {{at(folder, "wave.cf32"), "--sample-rate", "1e6", "--plot", "ccdf:" + at(folder, "p.jpg")}, 2, ".jpg"},
        {{at(folder, "wave.cf32"), "--plot", "ccdf:" + at(folder, "p.png")}, 2, "--sample-rate"},
        {{at(folder, "wave.cf32"), "--sample-rate", "1e6", "--plot-size", "800", "--plot", "ccdf:" + at(folder, "p.png")}, 2,
         "--plot-size"},
        {{at(folder, "empty.cf32"), "--sample-rate", "1e6", "--plot", "ccdf:" + at(folder, "p.png")}, 1, "empty.cf32"},
        {{at(folder, "missing.cf32"), "--sample-rate", "1e6", "--plot", "ccdf:" + at(folder, "p.png")}, 1, "missing.cf32"},
    };
    for (const Case& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.names), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(at(folder, "p.png")));
}

}  // namespace
}  // namespace dot11b::cli
