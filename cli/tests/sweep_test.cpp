#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/gen/command_line.hpp"
#include "cli/gen/output_template.hpp"
#include "cli/gen/sweep_expansion.hpp"
#include "common/errors.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using dot11b::test::read_bytes;
using dot11b::test::TemporaryFolder;

using Outcome = dot11b::test::ToolRun;

Outcome run(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments));
}

std::vector<std::string> csv_lines(const std::filesystem::path& path) {
    const auto bytes = read_bytes(path);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream text(line);
    for (std::string field; std::getline(text, field, ',');) fields.push_back(field);
    return fields;
}

TEST(Sweep, ExpandsTheCrossProductFirstSweepSlowest) {
    const std::vector<Sweep> sweeps = {parse_sweep("rate=1,11"), parse_sweep("oversampling=2,2.5,3")};
    const auto points = expand_sweeps(sweeps);
    ASSERT_EQ(points.size(), 6U);
    EXPECT_EQ(point_text(points[0]), "rate=1 oversampling=2");
    EXPECT_EQ(point_text(points[2]), "rate=1 oversampling=3");
    EXPECT_EQ(point_text(points[3]), "rate=11 oversampling=2");
    EXPECT_EQ(point_text(points[5]), "rate=11 oversampling=3");

    for (const char* bad : {"rate", "=1,2", "rate=", "rate=1,,2", "rate=1,"}) {
        EXPECT_THROW(parse_sweep(bad), ConfigError) << bad;
    }
    const std::vector<Sweep> twice = {parse_sweep("rate=1"), parse_sweep("rate=2")};
    EXPECT_THROW(expand_sweeps(twice), ConfigError);
}

TEST(Sweep, TemplatesOutputNamesFromTheSweptValues) {
    const SweepPoint point = {{"rate", "5.5"}, {"preamble", "short"}, {"oversampling", "2.5"}};
    struct Case {
        const char* name;
        const char* expected;  // nullptr: refused
    };
    const Case cases[] = {
        {"lib/{rate}M-{preamble}-os{oversampling}.wfm", "lib/5.5M-short-os2.5.wfm"},
        {"{rate}{rate}.cf32", "5.55.5.cf32"},
        {"plain.wfm", "plain.wfm"},
        {"{filter}.wfm", nullptr},
        {"{rate.wfm", nullptr},
        {"{}.wfm", nullptr},
    };
    for (const Case& c : cases) {
        if (c.expected == nullptr) {
            EXPECT_THROW(expand_template(c.name, point), ConfigError) << c.name;
        } else {
            EXPECT_EQ(expand_template(c.name, point), c.expected);
        }
    }
}

TEST(Sweep, RefusesNamesThatTwoConfigurationsShareBeforeWritingAnything) {
    const std::vector<SweepPoint> points = {{{"rate", "1"}}, {{"rate", "2"}}};
    const std::vector<PlannedFile> distinct = {{"a/1.wfm", 0}, {"a/2.wfm", 1}, {"a/1.cf32", 0}};
    EXPECT_NO_THROW(refuse_duplicate_files(distinct, points));
    const std::vector<std::vector<PlannedFile>> clashes = {
        {{"a/x.wfm", 0}, {"a/x.wfm", 1}},
        {{"a/x.wfm", 0}, {"a/./b/../x.wfm", 1}},
        {{"a/x.sigmf-meta", 0}, {"a/x.sigmf-data", 1}},
    };
    for (const auto& files : clashes) EXPECT_THROW(refuse_duplicate_files(files, points), ConfigError);

    TemporaryFolder folder;
    const Outcome result = run({"--sweep", "rate=1,2", "--sweep", "filter=gaussian,root-cosine", "-o",
                                (folder / "{rate}.wfm").string(), "--manifest", (folder / "m.csv").string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("rate=1 filter=gaussian and rate=1 filter=root-cosine"), std::string::npos)
        << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(Sweep, ManifestListsEveryFileWithItsConfigurationAndSkipsImpossibleCombinations) {
    TemporaryFolder folder;
    const auto manifest = folder / "lib.csv";
    const Outcome result = run({"--sweep", "rate=1,2", "--sweep", "preamble=long,short", "--sweep",
                                "oversampling=2,3.5", "--length", "20", "-o",
                                (folder / "{rate}M-{preamble}-os{oversampling}.cf32").string(), "--manifest",
                                manifest.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    // 1 Mbit/s has the long preamble only: two of the eight combinations are listed, not written.
    EXPECT_NE(result.err.find("skipped:          rate=1 preamble=short oversampling=2"), std::string::npos);
    EXPECT_NE(result.err.find("skipped:          rate=1 preamble=short oversampling=3.5"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "1M-short-os2.cf32"));

    const auto lines = csv_lines(manifest);
    ASSERT_EQ(lines.size(), 1U + 6U);
    const auto header = cells(lines[0]);
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto row = cells(lines[i]);
        ASSERT_EQ(row.size(), header.size()) << lines[i];
        const std::filesystem::path file = row[column("file")];
        EXPECT_EQ(file.filename().string(), row[column("rate")] + "M-" + row[column("preamble")] + "-os" +
                                                 row[column("oversampling")] + ".cf32");
        EXPECT_EQ(row[column("length")], "20");
        // cf32 holds 8 bytes per sample; the rate is 11 Mchip/s times the ratio.
        const auto bytes = std::filesystem::file_size(file);
        EXPECT_EQ(std::to_string(bytes / 8), row[column("samples")]);
        EXPECT_EQ(row[column("projected_length")], row[column("samples")]);
        EXPECT_DOUBLE_EQ(std::stod(row[column("sample_rate")]), 11e6 * std::stod(row[column("oversampling")]));
    }
}

TEST(Sweep, AFailingConfigurationIsReportedWhileTheOthersAreWritten) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder / "long");  // no folder for the short preamble
    const Outcome result = run({"--sweep", "preamble=long,short", "--length", "10", "-o",
                                (folder / "{preamble}" / "frame.wfm").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(std::filesystem::exists(folder / "long" / "frame.wfm"));
    EXPECT_NE(result.err.find("failed:           preamble=short"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find((folder / "short" / "frame.wfm").string()), std::string::npos) << result.err;
}

TEST(Sweep, RefusesFieldsThatAreNotSweptOptions) {
    TemporaryFolder folder;
    const std::string out = (folder / "{rate}.wfm").string();
    const std::vector<std::vector<std::string>> cases = {
        {"--sweep", "colour=red,blue", "-o", out},             // no such option
        {"--sweep", "mirror=on,off", "-o", out},               // a flag
        {"--sweep", "rate=1,2", "--rate", "11", "-o", out},    // also given directly
        {"--sweep", "rate=1,7", "-o", out},                    // a value the option refuses
        {"--sweep", "rate=1,2", "-o", out, "--estimate"},      // no single result
        {"--manifest", (folder / "m.csv").string(), "-o", out},  // a manifest without a sweep
    };
    for (const auto& arguments : cases) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments[1] << ": " << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace dot11b::cli
