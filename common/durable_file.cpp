#include "common/durable_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/errors.hpp"

namespace dot11b {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail_on(const fs::path& target, int error) {
    throw IoError("cannot write " + target.string() + ": " + std::strerror(error));
}

fs::path folder_of(const fs::path& target) {
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The folder entry of a rename reaches the disk only when the folder itself is
// synced. File systems that cannot sync a folder say EINVAL; nothing more can
// be done there.
int sync_folder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

// A name in `folder` for a temporary file of this process: short, whatever
// the length of the target's name.
fs::path temporary_name(const fs::path& folder) {
    static std::atomic<unsigned> counter = 0;
    return folder / (".dot11b-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp");
}

constexpr int kNameAttempts = 100;

}  // namespace

DurableFile::DurableFile(fs::path target) : target_(std::move(target)) {
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) fail(EISDIR);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = temporary_name(folder_of(target_));
        // A new file's mode follows the umask, as any file the user creates.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) return;
        if (errno != EEXIST) break;
    }
    fail(errno);
}

DurableFile::~DurableFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temporary_.c_str());
    if (!previous_.empty()) ::unlink(previous_.c_str());
}

void DurableFile::fail(int error) const { fail_on(target_, error); }

void DurableFile::write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        written_ += static_cast<std::size_t>(written);
    }
    // Start the disk writing what is complete, so that it overlaps the rest
    // of the file and the flush in finish() waits only for the tail.
    if (written_ - sent_ >= kWritebackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(sent_), static_cast<off_t>(written_ - sent_), SYNC_FILE_RANGE_WRITE);
        sent_ = written_;
    }
}

void DurableFile::finish() {
    if (finished_) return;
    struct stat replaced {};
    if (::stat(target_.c_str(), &replaced) == 0 && ::fchmod(fd_, replaced.st_mode & 07777) != 0) fail(errno);
    if (::fsync(fd_) != 0) fail(errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) fail(errno);
    finished_ = true;
}

void DurableFile::commit() {
    finish();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
    committed_ = true;
    if (const int error = sync_folder(folder_of(target_)); error != 0) fail(error);
}

void DurableFile::keep_previous() {
    struct stat existing {};
    had_previous_ = ::lstat(target_.c_str(), &existing) == 0;
    if (!had_previous_) return;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const fs::path name = temporary_name(folder_of(target_));
        if (::link(target_.c_str(), name.c_str()) == 0) {
            previous_ = name;
            return;
        }
        if (errno != EEXIST) return;
    }
}

bool DurableFile::restore_previous() {
    if (!committed_) return true;
    const bool restored = had_previous_ ? !previous_.empty() && ::rename(previous_.c_str(), target_.c_str()) == 0
                                        : ::unlink(target_.c_str()) == 0;
    if (restored) {
        previous_.clear();
        committed_ = false;
        sync_folder(folder_of(target_));
    }
    return restored;
}

DurableFile& DurableFileSet::add(const fs::path& target) {
    files_.push_back(std::make_unique<DurableFile>(target));
    return *files_.back();
}

void DurableFileSet::commit() {
    for (const auto& file : files_) file->finish();
    if (files_.size() == 1) {
        files_.front()->commit();
        return;
    }
    for (const auto& file : files_) file->keep_previous();
    for (const auto& file : files_) {
        try {
            file->commit();
        } catch (const IoError& e) {
            std::string kept_new;
            for (const auto& earlier : files_) {
                if (earlier->restore_previous()) continue;
                kept_new += (kept_new.empty() ? "" : ", ") + earlier->target().string();
            }
            throw IoError(std::string(e.what()) +
                          (kept_new.empty() ? "; the files written before it are as they were"
                                            : "; these files could not be put back as they were: " + kept_new));
        }
    }
}

void write_file_durably(const fs::path& path, std::span<const std::uint8_t> bytes) {
    DurableFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace dot11b
