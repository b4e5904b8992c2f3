#include "cli/gen/outputs.hpp"

#include "app/parameter_file.hpp"
#include "app/transmit_pulse.hpp"
#include "app/waveform_files/marker_file.hpp"
#include "app/waveform_files/waveform_writer.hpp"
#include "cli/common/shared_output_files.hpp"
#include "cli/gen/configuration_description.hpp"
#include "cli/gen/usage_error.hpp"

namespace dot11b::cli {

void refuse_shared_outputs(const OutputOptions& options) {
    std::vector<std::filesystem::path> names;
    std::vector<std::string> named_by;
    const auto add = [&](const std::string& option, const std::string& name) {
        names.emplace_back(name);
        named_by.push_back(option + " " + name);
    };
    for (const auto& name : options.outputs) add("-o", name);
    if (options.markers) add("--markers", *options.markers);
    if (options.save_params) add("--save-params", *options.save_params);
    if (const auto shared = first_shared_file(names)) {
        throw UsageError(named_by[shared->second] + ": the same file as " + named_by[shared->first] +
                         "; give each output a file of its own; nothing was written");
    }
}

std::vector<std::filesystem::path> stage_outputs(DurableFileSet& files, const OutputOptions& options,
                                                 const GeneratedWaveform& waveform) {
    const phy::FrameWaveform& frame = waveform.calculation.frame;
    waveform_files::WaveformOutput output;
    output.samples = frame.samples;
    output.sample_rate_hz = waveform.sample_rate();
    output.center_frequency_hz = waveform.settings.frequency;
    output.frame_marker = frame.frame_marker;
    output.burst_marker = frame.burst_marker;
    output.recorder = "dot11b-gen";
    output.pulse_filter = app::transmit_pulse(waveform.parameters);
    output.description = describe_configuration(waveform.parameters, waveform.calculation.psdu.size(),
                                                waveform.impairments);

    std::vector<std::filesystem::path> written;
    for (const auto& name : options.outputs) {
        const auto paths = waveform_files::stage_waveform(files, name, output);
        written.insert(written.end(), paths.begin(), paths.end());
    }
    if (options.markers) {
        waveform_files::write_markers(files.add(*options.markers), frame.frame_marker, frame.burst_marker);
        written.emplace_back(*options.markers);
    }
    if (options.save_params) {
        app::save_parameter_file(files.add(*options.save_params), waveform.parameters, waveform.settings,
                                 waveform.impairments);
        written.emplace_back(*options.save_params);
    }
    return written;
}

std::vector<std::filesystem::path> write_outputs(const OutputOptions& options, const GeneratedWaveform& waveform) {
    DurableFileSet files;
    const auto written = stage_outputs(files, options, waveform);
    files.commit();
    return written;
}

}  // namespace dot11b::cli
