#include "cli/gen/sdr_options.hpp"

#include <ostream>

#include "cli/gen/stop_signal.hpp"
#include "common/number_text.hpp"
#include "sdr/soapy/sdr_session.hpp"

namespace dot11b::cli {

void SdrOptions::add_to(CLI::App& app) {
    auto* sdr = app.add_option("--sdr", args_,
                               "play the waveform in a loop on the SoapySDR device ARGS, e.g. driver=hackrf or "
                               "driver=plutosdr,hostname=192.168.2.1; Ctrl-C stops")
                    ->type_name("ARGS");
    if (auto* download = app.get_option_no_throw("--download")) sdr->excludes(download);
    app.add_option("--sdr-gain", gain_, "SDR transmit gain in dB, clamped to the device's range")->needs(sdr);
    app.add_option("--sdr-antenna", antenna_, "SDR antenna name")->needs(sdr);
    app.add_option("--sdr-rate", rate_,
                   "SDR sample rate in Hz (default: the waveform's rate if offered, else the lowest offered above it, "
                   "else the highest of at least 11 MHz)")
        ->needs(sdr);
    app.add_option("--repeat", repeat_, "play N periods and stop (default: until Ctrl-C or SIGTERM)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 40))
        ->needs(sdr);
    app.add_flag("--list-sdr", list_, "list the devices SoapySDR finds and exit");
}

void SdrOptions::list(std::ostream& out) const {
    const std::vector<std::string> devices = sdr::list_devices();
    if (devices.empty()) out << "no SDR device found\n";
    for (const std::string& device : devices) out << device << '\n';
}

sdr::PlaySummary SdrOptions::run(const GeneratedWaveform& generated, std::ostream& err) const {
    const StopOnSignal stop;
    sdr::PlayRequest request;
    request.args = *args_;
    request.period = generated.samples();
    request.waveform_rate = generated.sample_rate();
    request.frequency = generated.settings.frequency;
    request.gain = gain_;
    request.antenna = antenna_;
    request.rate = rate_;
    request.options = {repeat_, &stop.flag(), {}, {}};
    const sdr::PlaySummary summary = sdr::play_waveform(request, [&](const sdr::PlaySetup& setup) {
        for (const std::string& note : setup.notes) err << "note: " << note << '\n';
        err << "sdr: " << setup.device << ", " << number_text(setup.rate) << " Hz, " << setup.format << ", "
            << number_text(request.frequency) << " Hz\n"
            << "loop: " << setup.loop << '\n'
            << (repeat_ ? "playing " + std::to_string(*repeat_) + " periods" : std::string("playing until Ctrl-C"))
            << std::endl;
    });
    err << "played: " << summary.periods << " periods, " << summary.samples << " samples, " << summary.underflows
        << " underflows\n";
    return summary;
}

}  // namespace dot11b::cli
