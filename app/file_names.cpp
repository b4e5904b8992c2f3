#include "app/file_names.hpp"

namespace dot11b::app {

std::string add_file_extention(std::string_view name, std::string_view ext) {
    if (name.ends_with(ext)) return std::string(name);
    return std::string(name) + std::string(ext);
}

}  // namespace dot11b::app
