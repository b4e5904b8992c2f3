#pragma once
// An untrusted waveform file opened for reading: its real size is known
// before anything is read, and every fault becomes an IoError "cannot open
// PATH: REASON".

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "common/types.hpp"

namespace dot11b::waveform_files {

// Throws IoError "cannot open PATH: REASON".
[[noreturn]] void fail_to_open(const std::filesystem::path& path, const std::string& reason);

// The most samples a recording may hold when read (2 GiB of samples in memory).
inline constexpr std::uintmax_t kMaxRecordingSamples = std::uintmax_t{1} << 27;

class InputFile {
public:
    // Opens a regular file. Throws IoError when it is missing, a folder or unreadable.
    explicit InputFile(std::filesystem::path path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::uintmax_t size() const { return size_; }

    // Fills `bytes` from the current position; throws IoError if the file ends first.
    void read(std::span<std::uint8_t> bytes);
    // Fills `bytes` from `offset` without moving the position; safe from
    // several threads at once. Throws IoError if the file ends first.
    void read_at(std::uintmax_t offset, std::span<std::uint8_t> bytes) const;

    [[noreturn]] void fail(const std::string& reason) const { fail_to_open(path_, reason); }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::uintmax_t size_ = 0;
};

// Decodes whole samples of `sample_bytes` bytes each into out[0], out[1], ...
// (out holds one per sample).
using SampleDecoder = void (*)(std::span<const std::uint8_t> bytes, std::span<Complex> out);

// The number of samples of `sample_bytes` bytes the file holds. Refuses an
// empty file and a size that is not a whole number of samples.
std::uintmax_t sample_count(const InputFile& file, std::size_t sample_bytes, const std::string& type);

// Reads the whole file as samples of `sample_bytes` bytes named `type` in
// messages ("cf32_le"), decoding a bounded chunk at a time. Refuses an empty
// file, a size that is not a whole number of samples, more than
// kMaxRecordingSamples, and samples that are not finite numbers.
Samples read_samples(InputFile& file, std::size_t sample_bytes, const std::string& type, const SampleDecoder& decode);

}  // namespace dot11b::waveform_files
