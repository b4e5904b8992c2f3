#pragma once
// The serial devices present on this computer beyond the numbered ports:
// USB adapters and modems, and their stable names by serial number.

#include <filesystem>
#include <string>
#include <vector>

namespace dot11b::instrument {

// Paths of the existing ttyUSB* and ttyACM* devices (in number order) and of
// the entries of serial/by-id (by name), under `dev`. Nothing when none exist
// or the folders cannot be read.
std::vector<std::string> present_serial_devices(const std::filesystem::path& dev = "/dev");

}  // namespace dot11b::instrument
