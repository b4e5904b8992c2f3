#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/waveform_files/recording_reader.hpp"
#include "app/waveform_files/recording_stream.hpp"
#include "app/waveform_files/waveform_writer.hpp"
#include "common/errors.hpp"
#include "common/testing/error_text.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "frame/matfile.hpp"

namespace dot11b::waveform_files {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::error_text;
using test::read_text;
using test::TemporaryFolder;
using test::write_bytes;
using test::write_text;

std::string meta_text(const std::string& datatype) {
    return R"({"global": {"core:datatype": ")" + datatype +
           R"(", "core:sample_rate": 2e6, "core:description": "a test"}, "captures": [{"core:sample_start": 0,
             "core:frequency": 2.412e9}], "annotations": []})";
}

TEST(WaveformFiles, FormatFollowsTheExtensionInAnyCase) {
    struct Case {
        const char* name;
        Format format;
    };
    const Case cases[] = {{"a.wfm", Format::wfm},          {"b.WFM", Format::wfm},
                          {"c.cf32", Format::cf32},        {"d.Cf32", Format::cf32},
                          {"e.sigmf-meta", Format::sigmf}, {"f.SIGMF-DATA", Format::sigmf},
                          {"g.mat", Format::mat},          {"dir.x/h.MaT", Format::mat}};
    for (const Case& c : cases) EXPECT_EQ(format_of(c.name), c.format) << c.name;
    EXPECT_EQ(error_text<ConfigError>([] { format_of("notes.txt"); }),
              "notes.txt: not a waveform file name; allowed extensions: .wfm, .cf32, .sigmf-meta, .sigmf-data, .mat");
}

// Bytes worked out by hand from each format: 0x7FFE = 32766 is full scale of
// a .wfm word; 1.0f is 3F800000 and -0.5f BF000000 (IEEE 754); SigMF
// integers are divided by 2^15 and 2^7.
TEST(WaveformFiles, ReadsTheSamplesOfEachFormat) {
    const TemporaryFolder folder;
    struct Case {
        const char* name;
        Bytes bytes;
        std::string meta;  // beside a .sigmf-data file
        Samples expected;
    };
    const Case cases[] = {
        {"a.wfm", {0x7F, 0xFE, 0x00, 0x00, 0x80, 0x02, 0x3F, 0xFF}, "", {{1, 0}, {-1, 16383.0 / 32766}}},
        {"b.cf32", {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xBF}, "", {{1, -0.5}}},
        {"c.sigmf-data", {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xBF}, meta_text("cf32_le"), {{1, -0.5}}},
        {"d.sigmf-data", {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x00, 0x80}, meta_text("ci16_le"),
         {{0.5, -0.5}, {32767.0 / 32768, -1}}},
        {"e.sigmf-data", {0x40, 0xC0, 0x7F, 0x80}, meta_text("ci8"), {{0.5, -0.5}, {127.0 / 128, -1}}},
    };
    for (const Case& c : cases) {
        const auto path = folder / c.name;
        write_bytes(path, c.bytes);
        if (!c.meta.empty()) write_text(std::filesystem::path(path).replace_extension(".sigmf-meta"), c.meta);
        const Recording recording = read_recording(path, {.sample_rate_hz = 11e6});
        EXPECT_EQ(recording.samples, c.expected) << c.name;
        if (c.meta.empty()) {
            EXPECT_EQ(recording.sample_rate_hz, 11e6) << c.name;
        } else {
            EXPECT_EQ(recording.sample_rate_hz, 2e6) << "the file's rate, not the option's";
            EXPECT_EQ(recording.center_frequency_hz, 2.412e9);
            EXPECT_EQ(recording.description, "a test");
        }
    }
}

// Each writer's file read back by the readers: exact for .mat, to float32
// for cf32, and to one 16-bit step of full scale for .wfm.
TEST(WaveformFiles, WrittenFilesReadBack) {
    const TemporaryFolder folder;
    const Samples samples = {{0.25, -1}, {0.1, 0.3}, {-0.7, 0}, {0, 0.5}};
    const Bits frame = {0, 1, 1, 0};
    const Bits burst = {1, 1, 1, 1};
    const PulseFilter filter{"gaussian", 0.3, 3};
    const WaveformOutput output{samples, 44e6, 2.484e9, frame, burst, "tester", "four samples", "", "", filter};
    DurableFileSet files;
    for (const char* name : {"w.wfm", "c.cf32", "s.sigmf-meta", "m.mat"}) stage_waveform(files, folder / name, output);
    files.commit();

    struct Case {
        const char* name;
        double tolerance;
    };
    for (const Case c : {Case{"w.wfm", 0.5 / 32766}, Case{"c.cf32", 1e-7}, Case{"s.sigmf-data", 1e-7},
                         Case{"m.mat", 0}}) {
        const Recording recording = read_recording(folder / c.name, {.sample_rate_hz = 44e6});
        ASSERT_EQ(recording.samples.size(), samples.size()) << c.name;
        for (std::size_t k = 0; k < samples.size(); ++k) {
            EXPECT_NEAR(std::abs(recording.samples[k] - samples[k]), 0, c.tolerance) << c.name << " " << k;
        }
        EXPECT_EQ(recording.sample_rate_hz, 44e6) << c.name;
    }
    const Recording sigmf = read_recording(folder / "s.sigmf-meta");
    EXPECT_EQ(sigmf.center_frequency_hz, 2.484e9);
    EXPECT_EQ(sigmf.description, "four samples");
    EXPECT_EQ(sigmf.frame_marker, frame);
    EXPECT_EQ(sigmf.burst_marker, burst);
    EXPECT_EQ(sigmf.pulse_filter, filter);
    EXPECT_TRUE(read_recording(folder / "m.mat").frame_marker.empty());

    // SigMF defines core:comment as the text of an annotation; core:description
    // belongs to the global object only.
    const auto meta = nlohmann::json::parse(read_text(folder / "s.sigmf-meta"));
    ASSERT_EQ(meta["annotations"].size(), 2U);
    for (const auto& annotation : meta["annotations"]) {
        EXPECT_TRUE(annotation.contains("core:comment"));
        EXPECT_FALSE(annotation.contains("core:description"));
    }
    EXPECT_EQ(meta["annotations"][0]["core:label"], "burst");
    EXPECT_EQ(meta["annotations"][0]["core:sample_count"], 4);
    EXPECT_EQ(meta["annotations"][1]["core:label"], "frame");
    EXPECT_EQ(meta["annotations"][1]["core:sample_start"], 1);
    EXPECT_EQ(meta["annotations"][1]["core:sample_count"], 2);
}

// Annotations of other recorders may overrun the recording or carry other labels.
TEST(WaveformFiles, MarkerRowsOfAnnotationsStayWithinTheRecording) {
    const TemporaryFolder folder;
    write_bytes(folder / "r.sigmf-data", Bytes(4 * 8, 0));
    write_text(folder / "r.sigmf-meta", R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": 1e6},
        "annotations": [{"core:label": "burst", "core:sample_start": 2, "core:sample_count": 100},
                        {"core:label": "frame", "core:sample_start": 9, "core:sample_count": 1},
                        {"core:label": "frame", "core:sample_start": -1, "core:sample_count": 2},
                        {"core:label": "other", "core:sample_start": 0, "core:sample_count": 4}]})");
    const Recording recording = read_recording(folder / "r.sigmf-meta");
    EXPECT_EQ(recording.burst_marker, Bits({0, 0, 1, 1}));
    EXPECT_EQ(recording.frame_marker, Bits({0, 0, 0, 0}));
}

// A file the readers would refuse is not written: no sample rate where the
// format records one, a sample that is not a number.
TEST(WaveformFiles, WritersRefuseWhatTheReadersWouldRefuse) {
    const TemporaryFolder folder;
    struct Case {
        const char* name;
        Samples samples;
        double rate;
        std::string problem;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"s.sigmf-meta", {{0.5, 0}}, 0, "above 0 Hz"},
        {"m.mat", {{0.5, 0}}, -1, "above 0 Hz"},
        {"s.sigmf-data", {{0.5, 0}}, 1e300, "1e+300 Hz, which is not allowed"},
        {"c.cf32", {{0.5, 0}, {0, nan}}, 1e6, "sample 1 is not a finite number"},
        {"m.mat", {{nan, 0}}, 1e6, "sample 0 is not a finite number"},
    };
    for (const Case& c : cases) {
        DurableFileSet files;
        const WaveformOutput output{c.samples, c.rate, std::nullopt, {}, {}, "", "", "", "", std::nullopt};
        EXPECT_NE(error_text<ConfigError>([&] { stage_waveform(files, folder / c.name, output); }).find(c.problem),
                  std::string::npos)
            << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(WaveformFiles, UntrustedFilesAreRefusedNamingTheFile) {
    const TemporaryFolder folder;
    const auto at = [&](const char* name) { return (folder / name).string(); };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Bytes nan_bytes(8, 0);
    std::memcpy(nan_bytes.data() + 4, &nan, 4);
    std::filesystem::create_directory(folder / "folder.cf32");
    write_bytes(folder / "empty.cf32", {});
    write_bytes(folder / "seven.cf32", Bytes(7, 0));
    write_bytes(folder / "nan.cf32", nan_bytes);
    write_bytes(folder / "odd.wfm", Bytes(6, 0));
    write_text(folder / "text.sigmf-meta", "not { json");
    write_text(folder / "untyped.sigmf-meta", R"({"global": {"core:sample_rate": 1e6}})");
    write_text(folder / "unrated.sigmf-meta", R"({"global": {"core:datatype": "cf32_le"}})");
    write_text(folder / "fast.sigmf-meta", R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": 1e300}})");
    write_text(folder / "cu16.sigmf-meta", meta_text("cu16_le"));
    write_text(folder / "nodata.sigmf-meta", meta_text("ci8"));
    write_text(folder / "two.sigmf-meta",
               R"({"global": {"core:datatype": "ci8", "core:sample_rate": 1, "core:num_channels": 2}})");
    write_text(folder / "text.mat", "MATLAB 5.0 MAT-file, but not really");
    const std::vector<frame::MatVariable> square = {{"sampleRate", frame::Value::scalar(1e6)},
                                                    {"wave", frame::Value::matrix(3, 3, std::vector<double>(9))}};
    frame::write_mat_file(folder / "square.mat", square);

    struct Case {
        std::string path;
        std::string message;
    };
    const std::vector<Case> cases = {
        {at("none.cf32"), "cannot open " + at("none.cf32") + ": No such file or directory"},
        {at("folder.cf32"), "cannot open " + at("folder.cf32") + ": not a regular file"},
        {at("empty.cf32"), "cannot open " + at("empty.cf32") + ": the file is empty"},
        {at("seven.cf32"),
         "cannot open " + at("seven.cf32") + ": 7 bytes are not a whole number of cf32 samples of 8 bytes"},
        {at("nan.cf32"), "cannot open " + at("nan.cf32") + ": sample 0 is not a finite number"},
        {at("odd.wfm"), "cannot open " + at("odd.wfm") + ": 6 bytes are not a whole number of"},
        {at("text.sigmf-data"), "cannot open " + at("text.sigmf-meta") + ": the SigMF metadata is not JSON"},
        {at("untyped.sigmf-meta"), "cannot open " + at("untyped.sigmf-meta") + ": the SigMF metadata has no core:datatype"},
        {at("unrated.sigmf-meta"),
         "cannot open " + at("unrated.sigmf-meta") + ": the SigMF metadata has no core:sample_rate"},
        {at("fast.sigmf-meta"), "cannot open " + at("fast.sigmf-meta") +
                                    ": core:sample_rate 1e+300 Hz is not allowed; allowed: above 0 Hz to 1000000000 Hz"},
        {at("cu16.sigmf-meta"), "cannot open " + at("cu16.sigmf-meta") +
                                    ": core:datatype \"cu16_le\" is not supported; supported: cf32_le, ci16_le, ci8"},
        {at("nodata.sigmf-meta"), "cannot open " + at("nodata.sigmf-data") + ": No such file or directory"},
        {at("two.sigmf-meta"), "cannot open " + at("two.sigmf-meta") + ": core:num_channels is 2"},
        {at("text.mat"), "cannot open " + at("text.mat") + ": is not a MAT-file"},
        {at("square.mat"), "cannot open " + at("square.mat") + ": the Save Wave file has no real N x 2 matrix wave"},
    };
    for (const Case& c : cases) {
        const std::string text = error_text<IoError>([&] { read_recording(c.path, {.sample_rate_hz = 1e6}); });
        EXPECT_EQ(text.substr(0, c.message.size()), c.message) << text;
        // Read a block at a time, the same faults with the same messages.
        const std::string streamed = error_text<IoError>([&] {
            const RecordingStream stream(c.path, {.sample_rate_hz = 1e6});
            Samples all(stream.size());
            stream.read(0, all);
        });
        EXPECT_EQ(streamed.substr(0, c.message.size()), c.message) << streamed;
    }
    EXPECT_EQ(error_text<ConfigError>([&] { read_recording(at("nan.cf32")); }),
              at("nan.cf32") + " holds no sample rate: it needs --sample-rate HZ");
    EXPECT_EQ(error_text<ConfigError>([&] { read_recording(at("nan.cf32"), {.sample_rate_hz = 1e15}); }),
              at("nan.cf32") + ": sample rate 1e+15 Hz is not allowed; allowed: above 0 Hz to 1000000000 Hz");
}

// Blocks of every format, read anywhere and in any order, are the samples
// the whole file holds; several chunks long, so that the blocks cross them.
TEST(WaveformFiles, BlocksReadFromAStreamAreTheWholeRecordingsSamples) {
    const TemporaryFolder folder;
    Samples samples(10007);
    for (std::size_t k = 0; k < samples.size(); ++k) {
        samples[k] = {std::sin(0.01 * static_cast<double>(k)), std::cos(0.003 * static_cast<double>(k * k % 977))};
    }
    const WaveformOutput output{samples, 44e6, 2.484e9, {}, {}, "tester", "a stream", "", "", std::nullopt};
    DurableFileSet files;
    for (const char* name : {"w.wfm", "c.cf32", "s.sigmf-meta", "m.mat"}) stage_waveform(files, folder / name, output);
    files.commit();
    const struct Block {
        std::size_t first;
        std::size_t count;
    } kBlocks[] = {{5000, 5007}, {0, 1}, {4095, 2}, {10006, 1}, {0, 10007}, {777, 0}};
    for (const char* name : {"w.wfm", "c.cf32", "s.sigmf-data", "m.mat"}) {
        const Recording whole = read_recording(folder / name, {.sample_rate_hz = 44e6});
        const RecordingStream stream(folder / name, {.sample_rate_hz = 44e6});
        ASSERT_EQ(stream.size(), whole.samples.size()) << name;
        EXPECT_EQ(stream.description().sample_rate_hz, whole.sample_rate_hz) << name;
        EXPECT_EQ(stream.description().center_frequency_hz, whole.center_frequency_hz) << name;
        for (const Block& b : kBlocks) {
            Samples block(b.count);
            stream.read(b.first, block);
            const auto from = whole.samples.begin() + static_cast<std::ptrdiff_t>(b.first);
            EXPECT_TRUE(std::equal(block.begin(), block.end(), from)) << name << " from " << b.first;
        }
    }
}

}  // namespace
}  // namespace dot11b::waveform_files
