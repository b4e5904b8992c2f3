#pragma once
// The MAT-file layer over libmatio, built as the module that frame/matfile.cpp
// loads on first use: handles that free themselves, libmatio's messages routed
// into our errors, and the reader and writer behind the functions of matfile.hpp.

#include <matio.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "frame/matfile.hpp"

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

// What write_mat_file, read_mat_file and mat_file_holds_variables do.
// write_file writes into `temporary`; its errors name `target`, the file it will replace.
void write_file(const std::filesystem::path& target, const std::filesystem::path& temporary,
                std::span<const MatVariable> variables, MatCompression compression);
std::vector<MatVariable> read_file(const std::filesystem::path& path, std::span<const std::string_view> names);
bool file_holds_variables(const std::filesystem::path& path);

}  // namespace dot11b::frame::matio
