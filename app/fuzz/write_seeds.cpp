// Writes the seed corpus of the fuzz targets: files this project writes
// itself. Usage: dot11b-fuzz-seeds <mat-file folder> <user-data folder>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/calculation.hpp"
#include "app/configuration_file.hpp"
#include "app/parameter_file.hpp"
#include "app/record_values.hpp"
#include "app/save_wave_file.hpp"
#include "frame/matfile.hpp"

namespace {

using namespace dot11b;

app::FormatParameters changed_parameters() {
    app::FormatParameters p;
    p.rate = phy::DataRate::Mbps5_5;
    p.modulation = phy::Modulation::Pbcc;
    p.preamble = phy::PreambleType::Short;
    p.mac_header.active = true;
    p.mac_header.contents[mac::MacField::FrameCntrl].contents = 0x0801;
    p.mac_header.contents[mac::MacField::SeqCntrl].active = false;
    p.fcs.active = true;
    p.data_source = mac::PayloadSource::UserData;
    p.data_source_bits = {1, 0, 1, 1, 0, 0, 1, 0};
    p.data_length = 1;
    p.last_path = "/tmp";
    app::refresh_derived_fields(p);
    return p;
}

void write_user_data(const std::filesystem::path& path, std::vector<std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: dot11b-fuzz-seeds <mat-file folder> <user-data folder>\n";
        return 2;
    }
    const std::filesystem::path mat_folder(argv[1]);
    const std::filesystem::path data_folder(argv[2]);
    std::filesystem::create_directories(mat_folder);
    std::filesystem::create_directories(data_folder);

    app::FormatParameters defaults;
    app::refresh_derived_fields(defaults);
    app::save_parameter_file(mat_folder / "defaults.mat", defaults, app::SigGenSettings{});
    app::save_parameter_file(mat_folder / "changed.mat", changed_parameters(), app::SigGenSettings{});
    app::save_configuration_file(mat_folder / "rfIOConfig.mat", app::ConnectionConfig{});
    app::save_wave_file(mat_folder / "wave.mat", Samples{{1, 0}, {0, -1}, {0.5, 0.5}}, 38500000);
    // The same records uncompressed, so mutations reach the arrays themselves.
    const std::vector<frame::MatVariable> plain = {
        {"fileParameters", app::to_value(changed_parameters())},
        {"sigGenParameters", app::to_value(app::SigGenSettings{})},
    };
    frame::write_mat_file(mat_folder / "uncompressed.mat", plain, frame::MatCompression::None);

    // Limit (two bytes, little-endian), bit order, then the file.
    write_user_data(data_folder / "limit-18496", {0x40, 0x48, 0x00, 0x01, 0xCA, 0xFE});
    write_user_data(data_folder / "limit-12-msb", {0x0C, 0x00, 0x01, 0x01, 0xCA, 0xFE});
    return 0;
}
