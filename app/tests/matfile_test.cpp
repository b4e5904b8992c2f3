#include <gtest/gtest.h>

#include <array>
#include <complex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/errors.hpp"
#include "frame/matfile.hpp"
#include "test_support.hpp"

namespace dot11b::frame {
namespace {

using app::test::read_bytes;
using app::test::run_python;
using app::test::TemporaryFolder;
using app::test::value_json;
using app::test::write_bytes;

std::string error_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& e) {
        return e.what();
    }
    return "(no error)";
}

// One value of every kind SciPy reads back as such.
Value sample_record() {
    Value record = Value::structure({"matrix", "complex", "text", "letters", "empty", "emptyText", "nested", "cells"});
    record.set_field("matrix", Value::matrix(2, 3, {1, -2.5, 3e-9, 4, 1e300, -0.0}));
    record.set_field("complex", Value::complex_row({{1, -1}, {0.5, 2}}));
    record.set_field("text", Value::text("dot11b - Format 1.0 \xc3\xa9\xe2\x82\xac"));
    record.set_field("letters", Value::char_matrix(2, 2, u"adbe"));
    record.set_field("empty", Value());
    record.set_field("emptyText", Value::text(""));
    Value nested = Value::structure({"Active", "Contents"});
    nested.set_field("Active", Value::scalar(1));
    nested.set_field("Contents", Value::row({0, 1, 1, 0}));
    record.set_field("nested", nested);
    Value cells = Value::cell(1, 2);
    cells.cell_at(0) = Value::scalar(7);
    cells.cell_at(1) = Value::text("seven");
    record.set_field("cells", cells);
    return record;
}

std::vector<MatVariable> read_all(const std::filesystem::path& path, std::vector<std::string_view> names) {
    return read_mat_file(path, names);
}

TEST(MatFile, EveryKindOfValueRoundTripsAndReadsTheSameInSciPy) {
    TemporaryFolder folder;
    const auto path = folder / "record.mat";
    Value array = Value::structure({"x"}, 1, 2);
    array.set_field("x", Value::scalar(1), 0);
    array.set_field("x", Value::text("two"), 1);
    const std::vector<MatVariable> written = {
        {"record", sample_record()}, {"array", array}, {"none", Value::structure({})}};
    for (const auto compression : {MatCompression::Zlib, MatCompression::None}) {
        write_mat_file(path, written, compression);
        const auto read = read_all(path, {"record", "array", "none"});
        ASSERT_EQ(read.size(), 3U);
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].name, written[i].name);
            EXPECT_EQ(read[i].value, written[i].value) << written[i].name;
        }
        const auto scipy =
            nlohmann::json::parse(run_python("mat_to_json.py", {path.string(), "record"}, folder.path()));
        EXPECT_EQ(scipy["record"], value_json(sample_record()));
    }
}

TEST(MatFile, ReadsWhatSciPyWritesWhateverTheNumericClass) {
    TemporaryFolder folder;
    const auto contents_path = folder / "contents.json";
    const auto path = folder / "scipy.mat";
    const nlohmann::json contents = {
        {"variables", {{"record", value_json(sample_record())}}},
        {"logical", {"Active"}},
    };
    std::ofstream(contents_path) << contents.dump();
    run_python("json_to_mat.py", {path.string(), contents_path.string()}, folder.path());

    const auto read = read_all(path, {"record"});
    ASSERT_EQ(read.size(), 1U);
    // Integer, logical and UTF-8 storage all come back as the same doubles and text.
    EXPECT_EQ(read[0].value, sample_record());
}

TEST(MatFile, MissingVariablesAreLeftOutAndTheRestComeInTheOrderAsked) {
    TemporaryFolder folder;
    const auto path = folder / "two.mat";
    const std::vector<MatVariable> written = {{"a", Value::scalar(1)}, {"b", Value::text("b")}};
    write_mat_file(path, written);
    const auto read = read_all(path, {"b", "missing", "a"});
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0].name, "b");
    EXPECT_EQ(read[1].name, "a");
    EXPECT_TRUE(read_all(path, {"c"}).empty());
}

TEST(MatFile, FilesThatAreNotLevel5MatFilesAreRefusedBeforeParsing) {
    TemporaryFolder folder;
    std::vector<std::uint8_t> header(128, ' ');
    const std::string text = "MATLAB 5.0 MAT-file";
    std::copy(text.begin(), text.end(), header.begin());
    auto with_version = [&](std::uint8_t low, std::uint8_t high, char e1, char e2) {
        auto bytes = header;
        bytes[124] = low;
        bytes[125] = high;
        bytes[126] = static_cast<std::uint8_t>(e1);
        bytes[127] = static_cast<std::uint8_t>(e2);
        return bytes;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"empty.mat", {}, "is not a MAT-file: shorter than the 128-byte MAT-file header"},
        {"text.mat", std::vector<std::uint8_t>(200, 'x'), "is not a MAT-file: no endian indicator in its header"},
        {"v4.mat", std::vector<std::uint8_t>(200, 0), "is not a Level 5 MAT-file: no header text"},
        {"v73.mat", with_version(0x00, 0x02, 'I', 'M'),
         "is a version 7.3 (HDF5) MAT-file; only Level 5 MAT-files are read"},
        {"odd.mat", with_version(0x03, 0x01, 'I', 'M'), "is not a Level 5 MAT-file: header version 259"},
    };
    for (const auto& c : cases) {
        const auto path = folder / c.name;
        write_bytes(path, c.bytes);
        EXPECT_EQ(error_of([&] { read_all(path, {"x"}); }), "cannot open " + path.string() + ": " + c.reason);
    }
    const auto missing = folder / "missing.mat";
    EXPECT_EQ(error_of([&] { read_all(missing, {"x"}); }), "cannot open " + missing.string() + ": No such file or directory");
    // A big-endian header with the right version passes the header check.
    const auto big_endian = folder / "big.mat";
    write_bytes(big_endian, with_version(0x01, 0x00, 'M', 'I'));
    EXPECT_NO_THROW(read_all(big_endian, {"x"}));
}

TEST(MatFile, DamagedAndOversizedVariablesAreRefused) {
    TemporaryFolder folder;
    const auto path = folder / "good.mat";
    const std::vector<MatVariable> written = {{"record", sample_record()}};
    write_mat_file(path, written);
    auto bytes = read_bytes(path);

    const auto truncated = folder / "truncated.mat";
    write_bytes(truncated, std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 40));
    EXPECT_NE(error_of([&] { read_all(truncated, {"record"}); }).find(truncated.string()), std::string::npos);

    Value deep = Value::scalar(1);
    for (int level = 0; level <= kMaxMatNesting; ++level) {
        Value outer = Value::structure({"inner"});
        outer.set_field("inner", deep);
        deep = outer;
    }
    const auto deep_path = folder / "deep.mat";
    write_mat_file(deep_path, std::vector<MatVariable>{{"deep", deep}});
    EXPECT_NE(error_of([&] { read_all(deep_path, {"deep"}); }).find("is nested deeper than 16 levels"),
              std::string::npos);

    const auto large_path = folder / "large.mat";
    write_mat_file(large_path,
                   std::vector<MatVariable>{{"large", Value::row(std::vector<double>(kMaxMatElements + 1))}});
    EXPECT_EQ(error_of([&] { read_all(large_path, {"large"}); }),
              "cannot open " + large_path.string() + ": variable large holds more than 4194304 elements");
}

TEST(MatFile, AFailedWriteLeavesNoFileBehind) {
    TemporaryFolder folder;
    const std::vector<MatVariable> variables = {{"x", Value::scalar(1)}};
    const auto no_folder = folder / "missing" / "x.mat";
    EXPECT_NE(error_of([&] { write_mat_file(no_folder, variables); }).find(no_folder.string()), std::string::npos);

    // The rename onto a folder fails after the file was written: only the folder stays.
    std::filesystem::create_directory(folder / "taken.mat");
    EXPECT_NE(error_of([&] { write_mat_file(folder / "taken.mat", variables); }).find("taken.mat"), std::string::npos);
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"taken.mat"});

    // A successful write replaces an existing file whole.
    const auto path = folder / "x.mat";
    write_bytes(path, {1, 2, 3});
    write_mat_file(path, variables);
    EXPECT_EQ(read_all(path, {"x"}).front().value, Value::scalar(1));
}

}  // namespace
}  // namespace dot11b::frame
