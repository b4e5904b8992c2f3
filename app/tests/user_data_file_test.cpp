#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_names.hpp"
#include "app/user_data_file.hpp"
#include "common/errors.hpp"
#include "test_support.hpp"

namespace dot11b::app {
namespace {

using test::TemporaryFolder;
using test::write_bytes;

std::string text_of(const Bits& bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

TEST(UserDataFile, BitOrderFollowsTheOrderText) {
    struct Case {
        const char* order;
        const char* bits;
    };
    const Case cases[] = {
        {"right-msb",
         "10000000"
         "01010011"},  // 0x01 then 0xCA, least significant bit first
        {"rightmost",
         "10000000"
         "01010011"},
        {"left-msb",
         "00000001"
         "11001010"},
        {"",
         "00000001"
         "11001010"},
        {"Right-msb",
         "00000001"
         "11001010"},  // the comparison is case-sensitive
    };
    const std::vector<std::uint8_t> bytes = {0x01, 0xCA};
    for (const auto& c : cases)
        EXPECT_EQ(text_of(bytes_to_bits(bytes, 16, user_bit_order(c.order))), c.bits) << c.order;
}

TEST(UserDataFile, LimitCutsTheFileToWholeOrPartBytes) {
    TemporaryFolder folder;
    struct Case {
        std::size_t file_bytes;
        std::size_t limit;
        std::size_t bits;
    };
    const Case cases[] = {
        {3000, 18496, 18496},  // the first 2312 bytes
        {100, 18496, 800},
        {2312, 18496, 18496},
        {5, 12, 12},  // two bytes read, the first 12 bits kept
        {5, 0, 0},
        {0, 18496, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.file_bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
        const auto path = folder / "data.bin";
        write_bytes(path, bytes);
        const Bits bits = read_user_data_file(path, c.limit, mac::BitOrder::LsbFirst);
        ASSERT_EQ(bits.size(), c.bits) << c.file_bytes << " bytes, limit " << c.limit;
        // Bit i is bit i mod 8 of byte i / 8, least significant first.
        for (std::size_t i = 0; i < bits.size(); ++i) {
            ASSERT_EQ(bits[i], (bytes[i / 8] >> (i % 8)) & 1U) << "bit " << i << " of " << c.file_bytes << " bytes";
        }
    }
    const auto single = folder / "one.bin";
    write_bytes(single, {0x01});
    EXPECT_EQ(text_of(read_user_data_file(single, 18496, mac::BitOrder::LsbFirst)), "10000000");
    EXPECT_EQ(text_of(read_user_data_file(single, 18496, mac::BitOrder::MsbFirst)), "00000001");
}

TEST(UserDataFile, UnopenableFilesAreReportedByName) {
    TemporaryFolder folder;
    const std::pair<std::filesystem::path, const char*> cases[] = {{folder / "missing.bin", "No such file or directory"},
                                                                   {folder.path(), "Is a directory"}};
    for (const auto& [path, reason] : cases) {
        try {
            read_user_data_file(path, 18496, mac::BitOrder::LsbFirst);
            ADD_FAILURE() << path;
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "cannot open " + path.string() + ": " + reason);
        }
    }
}

TEST(FileNames, ExtensionIsAddedUnlessPresentExactly) {
    struct Case {
        const char* name;
        const char* saved;
    };
    const Case cases[] = {
        {"set1", "set1.mat"}, {"set1.mat", "set1.mat"}, {"a", "a.mat"}, {"SET1.MAT", "SET1.MAT.mat"}, {"", ".mat"},
    };
    for (const auto& c : cases) EXPECT_EQ(add_file_extention(c.name, ".mat"), c.saved) << c.name;
}

}  // namespace
}  // namespace dot11b::app
