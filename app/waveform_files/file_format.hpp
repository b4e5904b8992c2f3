#pragma once
// The waveform file formats, told apart by their extensions.

#include <filesystem>
#include <string_view>

namespace dot11b::waveform_files {

enum class Format {
    wfm,    // .wfm: the instrument waveform file, 16-bit big-endian I/Q words
    cf32,   // .cf32: raw little-endian float32 I, Q
    sigmf,  // .sigmf-meta / .sigmf-data: a SigMF recording
    mat,    // .mat: the Save Wave MAT-file
};

// The format of a file by its extension, in any case. Throws ConfigError
// naming the path and the allowed extensions.
Format format_of(const std::filesystem::path& path);

// ".wfm, .cf32, .sigmf-meta, .sigmf-data, .mat", for messages and help texts.
std::string_view format_extensions();

}  // namespace dot11b::waveform_files
