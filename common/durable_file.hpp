#pragma once
// Replacing files whole and durably: each new version is written to a fresh
// temporary file in the target's folder, flushed to disk, renamed onto the
// target and the folder synced, so a crash or a failure leaves either the old
// file or the new one, never a mix. A replaced file keeps its permissions.
// Temporary names are short (".dot11b-PID-N.tmp"), so that any target name
// the file system allows can be written.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace dot11b {

// One new version of a file, written under a temporary name until commit().
// The temporary file is removed again unless the version was committed.
class DurableFile {
public:
    // Creates the temporary file beside `target`. Throws IoError "cannot
    // write TARGET: REASON" when it cannot be created or when `target` is a folder.
    explicit DurableFile(std::filesystem::path target);
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    const std::filesystem::path& target() const { return target_; }
    // For writers that open files by name (the MAT-file library): they may
    // truncate and rewrite this file; it is still synced and renamed here.
    const std::filesystem::path& temporary_path() const { return temporary_; }

    // Appends the bytes. Throws IoError naming the target.
    void write(std::span<const std::uint8_t> bytes);

    // Gives the file the permissions of the file it replaces and flushes it to
    // disk; after this only the rename is left. Throws IoError naming the target.
    void finish();

    // finish(), then renames the file onto the target and syncs the folder.
    void commit();

    // For a set of files: before commit(), keeps the file the target holds
    // under a second temporary name (a hard link), where the file system
    // allows. After commit(), restore_previous() puts it back (or removes the
    // target that was new) and says whether it could.
    void keep_previous();
    bool restore_previous();

private:
    [[noreturn]] void fail(int error) const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::filesystem::path previous_;  // the replaced file, kept until the set is committed
    bool had_previous_ = false;
    int fd_ = -1;
    std::size_t written_ = 0;  // bytes written so far
    std::size_t sent_ = 0;     // of which the disk has been asked to write
    static constexpr std::size_t kWritebackStep = std::size_t{1} << 20;
    bool finished_ = false;
    bool committed_ = false;
};

// Several files replaced together: every file is written and flushed before
// the first one is renamed, so a failure while writing changes none of them.
// When a later rename fails, the files already renamed are put back as they
// were; the error names any target that could not be.
class DurableFileSet {
public:
    DurableFile& add(const std::filesystem::path& target);
    // Finishes every file, then renames each in the order added.
    void commit();

private:
    std::vector<std::unique_ptr<DurableFile>> files_;
};

// Replaces `path` by a file holding `bytes`. Throws IoError naming the path.
void write_file_durably(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace dot11b
