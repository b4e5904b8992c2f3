#pragma once
// The interface between the MAT-file functions of matfile.hpp and the module
// that implements them over libmatio. libmatio pulls in HDF5 and, through it,
// network and authentication libraries that take milliseconds to load, so the
// module is loaded with dlopen on the first MAT-file operation only.

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "frame/matfile.hpp"

namespace dot11b::frame {

// Bumped whenever this table changes, so that a stale module is refused.
inline constexpr int kMatFileModuleVersion = 2;
inline constexpr const char* kMatFileModuleFile = "libdot11b_matfile.so";
inline constexpr const char* kMatFileModuleEntry = "dot11b_matfile_module";

struct MatFileModule {
    int version;
    void (*write)(const std::filesystem::path& target, const std::filesystem::path& temporary,
                  std::span<const MatVariable> variables, MatCompression compression);
    std::vector<MatVariable> (*read)(const std::filesystem::path& path, std::span<const std::string_view> names);
    bool (*holds_variables)(const std::filesystem::path& path);
};

}  // namespace dot11b::frame

// The module's one exported symbol (named by kMatFileModuleEntry).
extern "C" const dot11b::frame::MatFileModule* dot11b_matfile_module();
