#pragma once
// The interface between the MAT-file functions of matfile.hpp and the module
// that implements them over libmatio. libmatio pulls in HDF5 and, through it,
// network and authentication libraries that take milliseconds to load, so the
// module is loaded with dlopen on the first MAT-file operation only.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/matfile.hpp"

namespace dot11b::frame {

// Bumped whenever this table changes, so that a stale module is refused.
inline constexpr int kMatFileModuleVersion = 3;
inline constexpr const char* kMatFileModuleFile = "libdot11b_matfile.so";
inline constexpr const char* kMatFileModuleEntry = "dot11b_matfile_module";

// A failure inside the module, handed back as a value. The program may carry
// its own copy of the C++ runtime beside the module's, and an exception thrown
// by one runtime cannot unwind through the other's frames, so no exception
// crosses this boundary: each entry catches what it raises, the caller
// raises it again.
struct MatFileFault {
    enum class Kind { None, Io, Config, OutOfMemory, Other };
    Kind kind = Kind::None;
    std::string message;
};

struct MatFileModule {
    int version;
    MatFileFault (*write)(const std::filesystem::path& target, const std::filesystem::path& temporary,
                          std::span<const MatVariable> variables, MatCompression compression) noexcept;
    MatFileFault (*read)(const std::filesystem::path& path, std::span<const std::string_view> names,
                         std::vector<MatVariable>& variables) noexcept;
    MatFileFault (*holds_variables)(const std::filesystem::path& path, bool& holds) noexcept;
};

}  // namespace dot11b::frame

// The module's one exported symbol (named by kMatFileModuleEntry).
extern "C" const dot11b::frame::MatFileModule* dot11b_matfile_module();
