#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/durable_file.hpp"
#include "common/errors.hpp"
#include "common/testing/error_text.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"

namespace dot11b {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::error_text;
using test::read_bytes;
using test::TemporaryFolder;
using test::write_bytes;

mode_t mode_of(const std::filesystem::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// Files larger than the process's file-size limit cannot be written; the
// signal that would end the process is ignored, so write() fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_handler_ = ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, previous_handler_);
    }

private:
    rlimit saved_{};
    sighandler_t previous_handler_;
};

TEST(DurableFile, ReplacesTheFileKeepingItsPermissions) {
    const TemporaryFolder folder;
    const auto path = folder / "kept-mode.bin";
    write_bytes(path, {1, 2, 3});
    ::chmod(path.c_str(), 0640);
    write_file_durably(path, Bytes{4, 5});
    EXPECT_EQ(read_bytes(path), (Bytes{4, 5}));
    EXPECT_EQ(mode_of(path), 0640U);
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"kept-mode.bin"}) << "temporary file left";
}

// Every way a write can fail before the rename leaves the old file as it
// was, removes the temporary file and names the target.
TEST(DurableFile, AFailedWriteOrRenameLeavesTheOldFile) {
    const TemporaryFolder folder;
    const auto old_file = folder / "old.bin";
    write_bytes(old_file, {7, 7, 7});
    const auto folder_target = folder / "a-folder";
    std::filesystem::create_directories(folder_target / "inside");
    struct Case {
        const char* what;
        std::filesystem::path target;
        std::function<void()> attempt;
    };
    const std::vector<Case> cases = {
        {"write beyond the file-size limit", old_file,
         [&] {
             const FileSizeLimit limit(1000);
             write_file_durably(old_file, Bytes(5000, 1));
         }},
        {"rename onto a folder made meanwhile", folder / "late-folder",
         [&] {
             DurableFile file(folder / "late-folder");
             file.write(Bytes{1});
             std::filesystem::create_directories(folder / "late-folder" / "inside");
             file.commit();
         }},
        {"a set whose second file cannot be created", old_file,
         [&] {
             DurableFileSet files;
             files.add(old_file).write(Bytes{1, 2});
             files.add(folder / "missing" / "second.bin");
             files.commit();
         }},
        {"a folder as the target", folder_target, [&] { write_file_durably(folder_target, Bytes{1}); }},
    };
    for (const Case& c : cases) {
        const std::string text = error_text<IoError>(c.attempt);
        EXPECT_EQ(text.rfind("cannot write ", 0), 0U) << c.what << ": " << text;
        EXPECT_EQ(read_bytes(old_file), (Bytes{7, 7, 7})) << c.what;
        for (const auto& name : folder.listing()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << c.what;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "late-folder" / "inside"));
}

TEST(DurableFile, ASetIsRenamedOnlyWhenEveryFileIsWritten) {
    const TemporaryFolder folder;
    DurableFileSet files;
    files.add(folder / "one.bin").write(Bytes{1});
    files.add(folder / "two.bin").write(Bytes{2, 2});
    EXPECT_FALSE(std::filesystem::exists(folder / "one.bin"));
    files.commit();
    EXPECT_EQ(read_bytes(folder / "one.bin"), Bytes{1});
    EXPECT_EQ(read_bytes(folder / "two.bin"), (Bytes{2, 2}));
    EXPECT_EQ(folder.listing().size(), 2U);
}

// File systems allow names of 255 bytes; the temporary name must not be
// longer than the target's.
TEST(DurableFile, TheLongestNamesCanBeWritten) {
    const TemporaryFolder folder;
    const std::string name = std::string(239, 'n') + ".sigmf-data";
    write_file_durably(folder / name, Bytes{1, 2});
    EXPECT_EQ(read_bytes(folder / name), (Bytes{1, 2}));
    EXPECT_EQ(folder.listing(), std::vector<std::string>{name});
}

// A rename that fails after others have happened: the files renamed before it
// hold their earlier contents again, and a file that was new is gone.
TEST(DurableFile, ASetWhoseLaterRenameFailsPutsBackTheEarlierFiles) {
    const TemporaryFolder folder;
    write_bytes(folder / "old.bin", {7, 7, 7});
    std::string text;
    {
        DurableFileSet files;
        files.add(folder / "old.bin").write(Bytes{1});
        files.add(folder / "new.bin").write(Bytes{2});
        files.add(folder / "late-folder").write(Bytes{3});
        std::filesystem::create_directories(folder / "late-folder" / "inside");
        text = error_text<IoError>([&] { files.commit(); });
    }
    EXPECT_EQ(text.rfind("cannot write " + (folder / "late-folder").string(), 0), 0U) << text;
    EXPECT_NE(text.find("the files written before it are as they were"), std::string::npos) << text;
    EXPECT_EQ(read_bytes(folder / "old.bin"), (Bytes{7, 7, 7}));
    std::vector<std::string> listing = folder.listing();
    std::sort(listing.begin(), listing.end());
    EXPECT_EQ(listing, (std::vector<std::string>{"late-folder", "old.bin"})) << "left behind";
}

}  // namespace
}  // namespace dot11b
