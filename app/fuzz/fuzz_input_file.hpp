#pragma once
// The fuzz input as a file: the loaders read files by name, so each input is
// written to one private file, unlinked as soon as it is created (so nothing
// is left behind however the fuzzer ends) and named through /proc/self/fd.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace dot11b::app::fuzz {

inline const std::filesystem::path& write_input(const std::uint8_t* data, std::size_t size) {
    static const int fd = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "dot11b-fuzz-XXXXXX").string();
        const int descriptor = ::mkstemp(pattern.data());
        if (descriptor < 0) std::abort();
        ::unlink(pattern.c_str());
        return descriptor;
    }();
    static const std::filesystem::path path = "/proc/self/fd/" + std::to_string(fd);
    if (::ftruncate(fd, 0) != 0) std::abort();
    for (std::size_t written = 0; written < size;) {
        const ssize_t n = ::pwrite(fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0) std::abort();
        written += static_cast<std::size_t>(n);
    }
    return path;
}

}  // namespace dot11b::app::fuzz
