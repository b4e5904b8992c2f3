#include "instrument/serial_device_list.hpp"

#include <algorithm>
#include <string_view>

namespace dot11b::instrument {
namespace {

namespace fs = std::filesystem;

// Entries of `folder` whose names start with `prefix`; errors read as no entries.
std::vector<std::string> entries(const fs::path& folder, std::string_view prefix) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with(prefix)) found.push_back(it->path().string());
    }
    return found;
}

// ttyUSB2 before ttyUSB10: shorter names first, then by name.
void sort_by_number(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
}

}  // namespace

std::vector<std::string> present_serial_devices(const fs::path& dev) {
    std::vector<std::string> devices;
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        std::vector<std::string> numbered = entries(dev, prefix);
        sort_by_number(numbered);
        devices.insert(devices.end(), numbered.begin(), numbered.end());
    }
    std::vector<std::string> by_id = entries(dev / "serial" / "by-id", "");
    std::sort(by_id.begin(), by_id.end());
    devices.insert(devices.end(), by_id.begin(), by_id.end());
    return devices;
}

}  // namespace dot11b::instrument
