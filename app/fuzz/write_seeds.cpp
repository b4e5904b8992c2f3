// Writes the seed corpus of the fuzz targets: files this project writes
// itself. Usage: dot11b-fuzz-seeds <mat-file folder> <user-data folder> <recording folder>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "app/calculation.hpp"
#include "app/configuration_file.hpp"
#include "app/parameter_file.hpp"
#include "app/record_values.hpp"
#include "app/waveform_files/save_wave_file.hpp"
#include "app/waveform_files/waveform_writer.hpp"
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

// Each recording format as the fuzz target takes it: a format byte, for
// SigMF the metadata length (two bytes, little-endian), then the file(s).
void write_recording_seeds(const std::filesystem::path& folder) {
    const Samples samples = {{1, 0}, {0, -1}, {0.5, 0.5}, {-0.25, 0.75}};
    const Bits frame = {0, 1, 1, 0};
    const Bits burst = {1, 1, 1, 1};
    const waveform_files::WaveformOutput output{samples, 11e6, 2.412e9, frame, burst, "seeds", "four samples", "", "",
                                                std::nullopt};
    DurableFileSet files;
    for (const char* name : {"w.wfm", "c.cf32", "s.sigmf-meta", "m.mat"}) {
        waveform_files::stage_waveform(files, folder / name, output);
    }
    files.commit();
    const auto bytes_of = [&](const char* name) {
        std::ifstream in(folder / name, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::filesystem::remove(folder / name);
        return bytes;
    };
    const auto seed = [&](const char* name, std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& body) {
        head.insert(head.end(), body.begin(), body.end());
        write_user_data(folder / name, head);
    };
    seed("wfm", {0}, bytes_of("w.wfm"));
    seed("cf32", {1}, bytes_of("c.cf32"));
    std::vector<std::uint8_t> sigmf = bytes_of("s.sigmf-meta");
    const auto meta_size = sigmf.size();
    const auto data = bytes_of("s.sigmf-data");
    sigmf.insert(sigmf.end(), data.begin(), data.end());
    seed("sigmf", {2, static_cast<std::uint8_t>(meta_size), static_cast<std::uint8_t>(meta_size >> 8)}, sigmf);
    seed("mat", {3}, bytes_of("m.mat"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: dot11b-fuzz-seeds <mat-file folder> <user-data folder> <recording folder>\n";
        return 2;
    }
    const std::filesystem::path mat_folder(argv[1]);
    const std::filesystem::path data_folder(argv[2]);
    const std::filesystem::path recording_folder(argv[3]);
    std::filesystem::create_directories(mat_folder);
    std::filesystem::create_directories(data_folder);
    std::filesystem::create_directories(recording_folder);

    app::FormatParameters defaults;
    app::refresh_derived_fields(defaults);
    app::save_parameter_file(mat_folder / "defaults.mat", defaults, app::SigGenSettings{});
    app::save_parameter_file(mat_folder / "changed.mat", changed_parameters(), app::SigGenSettings{});
    app::save_configuration_file(mat_folder / "rfIOConfig.mat", app::ConnectionConfig{});
    waveform_files::write_save_wave(mat_folder / "wave.mat", Samples{{1, 0}, {0, -1}, {0.5, 0.5}}, 38500000);
    // The same records uncompressed, so mutations reach the arrays themselves.
    const std::vector<frame::MatVariable> plain = {
        {"fileParameters", app::to_value(changed_parameters())},
        {"sigGenParameters", app::to_value(app::SigGenSettings{})},
    };
    frame::write_mat_file(mat_folder / "uncompressed.mat", plain, frame::MatCompression::None);

    // Limit (two bytes, little-endian), bit order, then the file.
    write_user_data(data_folder / "limit-18496", {0x40, 0x48, 0x00, 0x01, 0xCA, 0xFE});
    write_user_data(data_folder / "limit-12-msb", {0x0C, 0x00, 0x01, 0x01, 0xCA, 0xFE});
    write_recording_seeds(recording_folder);
    return 0;
}
