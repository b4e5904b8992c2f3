#pragma once
// Fuzz inputs as named files, for readers that go by the file's extension:
// one private folder, created on first use and removed when the fuzzer exits.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace dot11b::app::fuzz {

inline std::filesystem::path write_named_input(const std::string& name, const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "dot11b-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        static const std::filesystem::path made = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return made;
    }();
    const std::filesystem::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
    return path;
}

}  // namespace dot11b::app::fuzz
