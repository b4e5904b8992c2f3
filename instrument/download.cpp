#include "instrument/download.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/num2str.hpp"
#include "common/ascii_case.hpp"

namespace dot11b::instrument {
namespace {

bool is_rs232(const std::string& type) { return equal_ignoring_case(type, "rs232"); }

// The reply of a state query as a number; NaN when it is not one.
double reply_number(const std::string& reply) {
    const char* begin = reply.c_str();
    char* end = nullptr;
    const double x = std::strtod(begin, &end);
    if (end == begin) return std::nan("");
    while (*end != '\0' && std::isspace(static_cast<unsigned char>(*end))) ++end;
    return *end == '\0' ? x : std::nan("");
}

// Numbers in command texts: integers without a decimal point, others with at
// most four decimals (five significant digits below 1).
std::string number(double x) { return app::num2str(x); }

std::string on_off(bool on) { return on ? "on" : "off"; }

// " :source:rad:arb:wav "arbi:NAME" " with the quotes and the trailing blank.
std::string waveform_selection(const std::string& name) { return " :source:rad:arb:wav \"arbi:" + name + "\" "; }

StatusPair send_all(const HwIO& io, const std::vector<std::string>& lines, const app::ConnectionConfig& config) {
    StatusPair first_failure;
    StatusPair last;
    for (const std::string& line : lines) {
        last = hwSend(io, config, line);
        if (!last.ok() && first_failure.ok()) first_failure = last;
    }
    hwReturnLocal(io, config);
    return first_failure.ok() ? last : first_failure;
}

}  // namespace

PlaybackSettings playback_settings(const app::SigGenSettings& settings) {
    PlaybackSettings p;
    p.Frequency = settings.frequency;
    p.Amplitude = settings.amplitude;
    p.SamplingRate = settings.sampling_rate;
    p.ReconFilter = settings.recon_filter;
    p.RFblanking = settings.rf_blanking ? 1 : 0;
    p.MarkerPolarity = settings.negative_markers ? 1 : 0;
    p.ArbRefSource = settings.external_reference ? 1 : 0;
    return p;
}

double rs232_transfer_minutes(double num_wfm_segments, std::size_t samples, double baudrate) {
    // 32 bits per sample (two 16-bit words), plus one eighth.
    return num_wfm_segments * 32 * static_cast<double>(samples) * 1.125 / baudrate / 60;
}

std::string rs232_question(double minutes) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "This download will take approximately %0.1f minutes. Do you want to continue?", minutes);
    return text;
}

StatusPair ORBDownLoadWrap(const HwIO& io, SampleSpan IQData, std::span<const std::uint8_t> Marker,
                           const std::string& Filename, const app::ConnectionConfig& config, double num_wfm_segments,
                           const Confirm& ask) {
    if (num_wfm_segments == 0) num_wfm_segments = 1;
    StatusPair result = hwSetTimeout(io, config, 10000);

    if (is_rs232(config.type) && num_wfm_segments > 0) {
        const double minutes = rs232_transfer_minutes(num_wfm_segments, IQData.size(), config.rs232.baudrate);
        if (minutes > kRs232QuestionMinutes && !(ask && ask("RS-232 Download", rs232_question(minutes)))) {
            return kDownloadCancelled;
        }
    }

    const std::string arb_state = hwQuery(io, config, ":SOUR:RAD:ARB:STATe?").description;
    // A failure of any step that carries the waveform is the result, even when
    // a later step succeeds; no step is skipped for it.
    StatusPair first_failure;
    const auto step = [&](StatusPair pair) {
        if (!pair.ok() && first_failure.ok()) first_failure = pair;
        result = std::move(pair);
    };
    step(hwSend(io, config, ":SOUR:RAD:ARB:STATe OFF"));
    step(hwDownload(io, config, IQData, Marker, Filename));
    step(hwSend(io, config, "\n"));
    if (reply_number(arb_state) == 1) hwSend(io, config, ":SOUR:RAD:ARB:STATe ON");
    hwSend(io, config, ":OUTPUT:MOD ON");
    return first_failure.ok() ? result : first_failure;
}

std::vector<std::string> orb_play_commands(const std::string& FileName, const PlaybackSettings& s) {
    const double f = s.ReconFilter;
    const std::string filter = f == 1 ? "250.0khz" : f == 2 ? "2.5Mhz" : f == 3 ? "8Mhz" : "through";
    return {
        " :source:rad:arb:state off",
        waveform_selection(FileName),
        " :source:freq:fix " + number(s.Frequency) + "Hz",
        " :source:power:level:immediate:amplitude " + number(s.Amplitude) + "dbm",
        " :source:rad:arb:clock:srate " + number(s.SamplingRate) + "Hz",
        " :source:rad:arb:rfilter " + filter,
        " :source:rad:arb:marker:rfblank " + on_off(s.RFblanking == 1),
        std::string(" :source:rad:arb:marker:polarity ") + (s.MarkerPolarity == 0 ? "Pos" : "Neg"),
        std::string(" :source:rad:arb:clock:ref ") + (s.ArbRefSource == 0 ? "int" : "ext"),
        " :source:rad:arb:state on",
        " :output:state on",
    };
}

std::vector<std::string> orb_play_c_commands(const std::string& FileName, const PlaybackSettings& s) {
    const double b = s.BBfilter;
    const std::string bb_filter = b == 1 ? "2.1MHz" : b == 2 ? "40MHz" : "Through";
    return {
        " :source:rad:arb:state off",
        waveform_selection(FileName),
        " :source:freq:fix " + number(s.Frequency) + "Hz",
        " :source:power:level:immediate:amplitude " + number(s.Amplitude) + "dbm",
        " :source:rad:arb:clock:srate " + number(s.SamplingRate) + "Hz",
        " :source:dm:bbfilter " + bb_filter,
        " :source:rad:ARB:rscaling " + number(s.Scaling),
        ":source:DM:IQAT:AUTO off",
        ":source:DM:IQAT " + number(s.ModAtten),
        " :pow:alc:state " + on_off(s.ALC != 0),
        " :source:rad:arb:marker:rfblank " + on_off(s.RFblanking == 1),
        std::string(" :source:rad:arb:marker:polarity ") + (s.MarkerPolarity == 0 ? "Pos" : "Neg"),
        std::string(" :source:rad:arb:clock:ref ") + (s.ArbRefSource == 0 ? "int" : "ext"),
        " :source:rad:arb:state on",
        " :output:state on",
        " :OUTPUT:MOD ON",
    };
}

StatusPair ORBPlay(const HwIO& io, const std::string& FileName, const PlaybackSettings& setting,
                   const app::ConnectionConfig& config) {
    return send_all(io, orb_play_commands(FileName, setting), config);
}

StatusPair ORBPlay_c(const HwIO& io, const std::string& FileName, const PlaybackSettings& setting,
                     const app::ConnectionConfig& config) {
    return send_all(io, orb_play_c_commands(FileName, setting), config);
}

Samples applyDacRes(SampleSpan wave, double numBits) {
    if (!(numBits > 2)) return Samples(wave.begin(), wave.end());
    numBits = std::min(numBits, 32.0);
    double m = 0;
    for (const Complex z : wave) m = std::max({m, std::abs(z.real()), std::abs(z.imag())});
    // An all-zero waveform has nothing to scale (and would otherwise become NaN).
    if (m == 0) return Samples(wave.begin(), wave.end());
    const double scale = (std::pow(2.0, numBits - 1) - 1) / m;
    Samples result;
    result.reserve(wave.size());
    for (const Complex z : wave) {
        result.emplace_back(std::round(z.real() * scale) / scale, std::round(z.imag() * scale) / scale);
    }
    return result;
}

}  // namespace dot11b::instrument
