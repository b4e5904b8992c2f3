// dot11b_GUI_b/Calculate: the payload and the waveform from `parameters`,
// impaired as `impairmentParameters` says, into the globals `waveform` and `markers`.

#include "app/calculation.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/main_controller.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"

namespace dot11b::gui::main_window {
namespace {

// Row 1 the frame without its ramps, row 2 the whole burst, column-major.
frame::Value marker_rows(const phy::FrameWaveform& frame) {
    const std::size_t n = frame.samples.size();
    std::vector<double> rows(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
        rows[2 * k] = frame.frame_marker[k];
        rows[2 * k + 1] = frame.burst_marker[k];
    }
    return frame::Value::matrix(2, n, std::move(rows));
}

}  // namespace

frame::Outputs Calculate(const frame::Inputs&, int) {
    const app::Calculation result = app::calculate(parameters(), impairment_settings());
    frame::global(frame::Global::waveform) = frame::samples_value(result.frame.samples);
    frame::global(frame::Global::markers) = marker_rows(result.frame);
    return {};
}

}  // namespace dot11b::gui::main_window
