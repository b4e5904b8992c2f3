#include "app/gui/instrument_commands.hpp"

#include "app/gui/download_runner.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/handles.hpp"
#include "common/errors.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui {
namespace {

using frame::Global;
using frame::Value;

void edit_connection(QWidget* main, Global record, Value text) {
    Value window = main != nullptr ? Value::scalar(handle_of(main)) : Value();
    const frame::Outputs answer =
        frame::call_by_name("XR_SigGen", 2, {std::move(window), frame::global(record), std::move(text)});
    if (answer[0] == Value::text("OK")) frame::global(record) = answer[1];
}

// The marker rows (one or two of 0/1) as one byte per sample: bit 0 row 1, bit 1 row 2.
std::vector<std::uint8_t> marker_bytes(const Value& markers) {
    if (markers.empty()) return {};
    if (markers.kind() != Value::Kind::Double || markers.rows() > 2) {
        throw ConfigError("markers must be a real matrix of one or two rows, not a " + std::to_string(markers.rows()) +
                          "-row one");
    }
    std::vector<std::uint8_t> bytes(markers.cols(), 0);
    const auto values = markers.reals();
    for (std::size_t k = 0; k < markers.cols(); ++k) {
        for (std::size_t row = 0; row < markers.rows(); ++row) {
            if (values[k * markers.rows() + row] != 0) bytes[k] |= static_cast<std::uint8_t>(1U << row);
        }
    }
    return bytes;
}

}  // namespace

void edit_sig_gen_connection(QWidget* main) {
    edit_connection(main, Global::configuration, Value::text(app_info_text("Platform")));
}

void edit_spec_an_connection(QWidget* main) {
    edit_connection(main, Global::configurationSA, Value::text("Spectrum Analyzer"));
}

void download_waveform(QWidget* main) {
    DownloadInput input;
    input.waveform =
        frame::to_samples(frame::Inputs("rfCommonUI/pbDownload_Callback", {frame::global(Global::waveform)}), 0, "waveform");
    input.markers = marker_bytes(frame::global(Global::markers));
    input.settings = sig_gen_settings();
    input.configuration = configuration();
    input.platform = app_info_text("Platform");
    download_to_instrument(main, input);
}

void refresh_settings(QWidget* main) {
    refresh_instrument(main, sig_gen_settings(), configuration(), app_info_text("Platform"));
}

}  // namespace dot11b::gui
