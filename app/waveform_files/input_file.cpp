#include "app/waveform_files/input_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/errors.hpp"

namespace dot11b::waveform_files {
namespace {

constexpr std::size_t kChunkSamples = 4096;

}  // namespace

InputFile::InputFile(std::filesystem::path path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) fail(std::strerror(errno));
    struct stat status {};
    if (::fstat(fd_, &status) != 0) fail(std::strerror(errno));
    if (!S_ISREG(status.st_mode)) fail("not a regular file");
    size_ = static_cast<std::uintmax_t>(status.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

void fail_to_open(const std::filesystem::path& path, const std::string& reason) {
    throw IoError("cannot open " + path.string() + ": " + reason);
}

void InputFile::read(std::span<std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::read(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(std::strerror(errno));
        if (n == 0) fail("the file ended early (it changed while being read)");
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
}

void InputFile::read_at(std::uintmax_t offset, std::span<std::uint8_t> bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = ::pread(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(std::strerror(errno));
        if (n == 0) fail("the file ended early (it changed while being read)");
        bytes = bytes.subspan(static_cast<std::size_t>(n));
        offset += static_cast<std::uintmax_t>(n);
    }
}

std::uintmax_t sample_count(const InputFile& file, std::size_t sample_bytes, const std::string& type) {
    const std::uintmax_t size = file.size();
    if (size == 0) file.fail("the file is empty");
    if (size % sample_bytes != 0) {
        file.fail(std::to_string(size) + " bytes are not a whole number of " + type + " samples of " +
                  std::to_string(sample_bytes) + " bytes");
    }
    return size / sample_bytes;
}

Samples read_samples(InputFile& file, std::size_t sample_bytes, const std::string& type, const SampleDecoder& decode) {
    const std::uintmax_t count = sample_count(file, sample_bytes, type);
    if (count > kMaxRecordingSamples) {
        file.fail(std::to_string(count) + " samples are more than the " + std::to_string(kMaxRecordingSamples) +
                  " read at most");
    }
    Samples samples(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> chunk(kChunkSamples * sample_bytes);
    for (std::size_t done = 0; done < samples.size();) {
        const std::size_t n = std::min(samples.size() - done, kChunkSamples);
        const std::span<std::uint8_t> bytes(chunk.data(), n * sample_bytes);
        file.read(bytes);
        decode(bytes, std::span(samples).subspan(done, n));
        done += n;
    }
    for (std::size_t k = 0; k < samples.size(); ++k) {
        if (!std::isfinite(samples[k].real()) || !std::isfinite(samples[k].imag())) {
            file.fail("sample " + std::to_string(k) + " is not a finite number");
        }
    }
    return samples;
}

}  // namespace dot11b::waveform_files
