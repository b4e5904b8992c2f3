#include "sdr/soapy/sdr_session.hpp"

#include <cmath>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::sdr {
namespace {

// Captures are held in memory: ten seconds at 61.44 MHz is about 10 GB.
constexpr double kMaxCaptureSamples = 1e9;

}  // namespace

PlaySummary play_waveform(const PlayRequest& request, const std::function<void(const PlaySetup&)>& started) {
    SdrDevice device(request.args, Direction::transmit);
    const RateChoice rate = choose_play_rate(device.rates(), request.waveform_rate, request.rate);
    PlaySetup setup;
    setup.device = device.driver() + " (" + device.hardware() + ")";
    setup.rate = rate.rate;
    setup.format = device.stream_format_name();
    if (rate.note) setup.notes.push_back(*rate.note);
    for (std::string& note : device.configure({rate.rate, request.frequency, request.gain, request.antenna})) {
        setup.notes.push_back(std::move(note));
    }
    setup.notes.push_back("an SDR has no marker lines: the idle interval is silence and RF blanking is not available");
    const LoopPlan loop = plan_loop(request.period, request.waveform_rate, rate.rate);
    setup.loop = loop.description();
    if (started) started(setup);
    return device.play(loop, request.options);
}

std::string describe_device(const std::string& args) {
    const SdrDevice device(args, Direction::transmit);
    return device.driver() + " (" + device.hardware() + "); transmit rates: " + rates_text(device.rates());
}

Capture capture_waveform(const CaptureRequest& request) {
    if (!(request.duration > 0 && std::isfinite(request.duration))) {
        throw ConfigError("--duration must be above 0 s, got " + number_text(request.duration));
    }
    SdrDevice device(request.args, Direction::receive);
    Capture capture;
    capture.rate = choose_capture_rate(device.rates(), request.rate).rate;
    const double count = std::ceil(request.duration * capture.rate);
    if (count > kMaxCaptureSamples) {
        throw ConfigError("--duration " + number_text(request.duration) + " s at " + number_text(capture.rate) +
                          " Hz is more than " + number_text(kMaxCaptureSamples) + " samples");
    }
    capture.notes = device.configure({capture.rate, request.frequency, request.gain, std::nullopt});
    capture.frequency = request.frequency;
    capture.driver = device.driver();
    capture.hardware = device.hardware();
    capture.start = std::chrono::system_clock::now();
    std::size_t overflows = 0;
    capture.samples = device.capture(static_cast<std::size_t>(count), overflows);
    if (overflows > 0) {
        capture.notes.push_back(std::to_string(overflows) + (overflows == 1 ? " overflow" : " overflows") +
                                ": the device dropped samples, so the capture has gaps");
    }
    return capture;
}

}  // namespace dot11b::sdr
