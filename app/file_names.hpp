#pragma once
// File name helpers of the application shell.

#include <string>
#include <string_view>

namespace dot11b::app {

// `name` followed by `ext` unless it already ends in exactly `ext` (the
// comparison is case-sensitive: SET1.MAT gets ".mat" appended). Spelled as
// the shell's addFileExtention.
std::string add_file_extention(std::string_view name, std::string_view ext);

}  // namespace dot11b::app
