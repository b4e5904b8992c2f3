#pragma once
// libmatio handles that free themselves, and libmatio's messages routed into
// our errors; shared by the MAT-file reader and writer.

#include <matio.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace dot11b::frame::matio {

struct VarDeleter {
    void operator()(matvar_t* var) const { Mat_VarFree(var); }
};
using VarPtr = std::unique_ptr<matvar_t, VarDeleter>;

struct MatCloser {
    void operator()(mat_t* mat) const { Mat_Close(mat); }
};
using MatPtr = std::unique_ptr<mat_t, MatCloser>;

// Routes libmatio's log into last_message() instead of standard error and
// clears it; call before each use of the library.
void start_call();
const std::string& last_message();

// `what`, followed by libmatio's last message when it left one.
std::string with_library_reason(std::string_view what);

// Throws IoError "cannot open PATH: REASON" for a file being read.
[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason);

}  // namespace dot11b::frame::matio
