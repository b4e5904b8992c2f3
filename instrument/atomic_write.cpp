#include "instrument/atomic_write.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/errors.hpp"

namespace dot11b::instrument {
namespace {

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
    throw IoError("cannot write \"" + path.string() + "\": " + std::strerror(error));
}

// Creates a fresh file next to `path`; its mode follows the umask like any new file.
int create_temporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
    static std::atomic<unsigned> counter{0};  // sweeps write from several threads
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path;
        temporary += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

void write_file_atomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary;
    const int fd = create_temporary(path, temporary);
    if (fd < 0) fail(path, errno);
    const bool written = write_all(fd, bytes);
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail(path, error);
    }
}

}  // namespace dot11b::instrument
