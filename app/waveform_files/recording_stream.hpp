#pragma once
// A recording read a block at a time, so that memory follows the block and
// not the file. The file is opened and checked (metadata, size) up front;
// samples are read where asked, from any thread. The .mat file is the
// exception: its matrix is read whole (the MAT-file library offers no partial
// read of a compressed variable), so it is held in memory.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>

#include "app/waveform_files/recording_reader.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

class RecordingStream {
public:
    // Throws as read_recording for what the file's header, metadata or size get wrong.
    explicit RecordingStream(const std::filesystem::path& path, const ReadOptions& options = {});
    ~RecordingStream();
    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;

    // The recording's rate, centre frequency and description; no samples or markers.
    const Recording& description() const { return description_; }
    std::size_t size() const { return size_; }

    // Samples [first, first + out.size()), which must lie inside the
    // recording. Safe from several threads at once. Throws IoError naming the
    // file for a sample that is not a finite number or a failed read.
    void read(std::size_t first, std::span<Complex> out) const;

private:
    struct Source;
    std::unique_ptr<Source> source_;
    Recording description_;
    std::size_t size_ = 0;
};

}  // namespace dot11b::waveform_files
