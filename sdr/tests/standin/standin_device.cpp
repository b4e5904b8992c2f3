// A stand-in SoapySDR device module for the tests: no radio, one device
// ("driver=standin") whose behaviour the device arguments set.
//
// Lists are separated by ':', as ',' separates the arguments.
//   rates=R1:R2:...     the sample rates offered, in Hz (default 1e6:10e6:20e6:22e6:40e6)
//   formats=F1:F2       the stream formats offered, native first (default CF32:CS16)
//   full_scale=N        the native format's full scale (default: the type's largest value)
//   gain_range=MIN:MAX  in dB (default 0:60)
//   antennas=A:B        (default TX:RX)
//   settings_log=PATH   appends each setting received, one line each, and the opening and closing
//   record=PATH         writes what is transmitted as .cf32, scaled back to magnitude 1 ...
//   record_limit=N      ... up to N samples (default 4000000); the rest is counted, not kept
//   replay=PATH         a .cf32 file served, looping, as the receive stream
//   realtime=1          keeps the streams at the sample rate's pace
//   underflows=N        reports N underflows in the stream status once samples flow
//   overflows=N         the first N reads report an overflow instead of samples
//   vanish_after=N      the stream fails after N samples, as if the device were unplugged
//   refuse=frequency|gain|antenna  refuses that setting

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Registry.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kMtu = 4096;
constexpr std::size_t kMaxLogLines = 10000;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

std::string arg(const SoapySDR::Kwargs& args, const std::string& key, const std::string& fallback) {
    const auto found = args.find(key);
    return found == args.end() ? fallback : found->second;
}

double default_full_scale(const std::string& format) {
    if (format == SOAPY_SDR_CS16) return 32767;
    if (format == SOAPY_SDR_CS8) return 127;
    return 1;
}

struct StandInStream {
    int direction;
    std::string format;
    bool active = false;
    std::size_t samples = 0;  // moved since activation
    std::chrono::steady_clock::time_point started;
};

class StandInDevice : public SoapySDR::Device {
public:
    explicit StandInDevice(const SoapySDR::Kwargs& args)
        : log_path_(arg(args, "settings_log", "")),
          record_path_(arg(args, "record", "")),
          record_limit_(std::stoull(arg(args, "record_limit", "4000000"))),
          replay_path_(arg(args, "replay", "")),
          realtime_(arg(args, "realtime", "0") == "1"),
          underflows_(std::stoull(arg(args, "underflows", "0"))),
          overflows_(std::stoull(arg(args, "overflows", "0"))),
          vanish_after_(std::stoull(arg(args, "vanish_after", "0"))),
          refuse_(arg(args, "refuse", "")),
          antennas_(split(arg(args, "antennas", "TX:RX"), ':')),
          formats_(split(arg(args, "formats", "CF32:CS16"), ':')) {
        for (const std::string& rate : split(arg(args, "rates", "1e6:10e6:20e6:22e6:40e6"), ':')) {
            rates_.push_back(std::stod(rate));
        }
        const std::vector<std::string> gains = split(arg(args, "gain_range", "0:60"), ':');
        gain_range_ = SoapySDR::Range(std::stod(gains.at(0)), std::stod(gains.at(1)));
        full_scale_ = std::stod(arg(args, "full_scale", std::to_string(default_full_scale(formats_.at(0)))));
        if (!replay_path_.empty()) load_replay();
        log("open");
    }

    ~StandInDevice() override { log("close"); }

    std::string getDriverKey() const override { return "standin"; }
    std::string getHardwareKey() const override { return "StandIn-1"; }
    SoapySDR::Kwargs getHardwareInfo() const override { return {{"firmware", "0.1"}}; }
    std::size_t getNumChannels(const int) const override { return 1; }

    std::vector<std::string> listAntennas(const int, const std::size_t) const override { return antennas_; }
    void setAntenna(const int direction, const std::size_t, const std::string& name) override {
        if (refuse_ == "antenna") throw std::runtime_error("stand-in: antenna " + name + " refused");
        log(side(direction) + " antenna " + name);
        antenna_ = name;
    }
    std::string getAntenna(const int, const std::size_t) const override { return antenna_; }

    SoapySDR::Range getGainRange(const int, const std::size_t) const override { return gain_range_; }
    void setGain(const int direction, const std::size_t, const double value) override {
        if (refuse_ == "gain") throw std::runtime_error("stand-in: gain " + std::to_string(value) + " dB refused");
        log(side(direction) + " gain " + number(value));
        gain_ = value;
    }
    double getGain(const int, const std::size_t) const override { return gain_; }

    void setFrequency(const int direction, const std::size_t, const double frequency, const SoapySDR::Kwargs&) override {
        if (refuse_ == "frequency") {
            throw std::runtime_error("stand-in: frequency " + number(frequency) + " Hz refused");
        }
        log(side(direction) + " frequency " + number(frequency));
        frequency_ = frequency;
    }
    double getFrequency(const int, const std::size_t) const override { return frequency_; }
    SoapySDR::RangeList getFrequencyRange(const int, const std::size_t) const override { return {{1e6, 6e9}}; }

    void setSampleRate(const int direction, const std::size_t, const double rate) override {
        bool offered = false;
        for (double r : rates_) offered = offered || std::abs(r - rate) < 1;
        if (!offered) throw std::runtime_error("stand-in: sample rate " + number(rate) + " Hz not offered");
        log(side(direction) + " rate " + number(rate));
        rate_ = rate;
    }
    double getSampleRate(const int, const std::size_t) const override { return rate_; }
    std::vector<double> listSampleRates(const int, const std::size_t) const override { return rates_; }
    SoapySDR::RangeList getSampleRateRange(const int, const std::size_t) const override {
        SoapySDR::RangeList ranges;
        for (double r : rates_) ranges.emplace_back(r, r);
        return ranges;
    }

    std::vector<std::string> getStreamFormats(const int, const std::size_t) const override { return formats_; }
    std::string getNativeStreamFormat(const int, const std::size_t, double& full_scale) const override {
        full_scale = full_scale_;
        return formats_.at(0);
    }

    SoapySDR::Stream* setupStream(const int direction, const std::string& format, const std::vector<std::size_t>&,
                                  const SoapySDR::Kwargs&) override {
        bool offered = false;
        for (const std::string& f : formats_) offered = offered || f == format;
        if (!offered) throw std::runtime_error("stand-in: stream format " + format + " not offered");
        log(side(direction) + " stream " + format);
        if (direction == SOAPY_SDR_TX && !record_path_.empty()) {
            record_.open(record_path_, std::ios::binary | std::ios::trunc);
        }
        return reinterpret_cast<SoapySDR::Stream*>(new StandInStream{direction, format, false, 0, {}});
    }

    void closeStream(SoapySDR::Stream* handle) override {
        auto* stream = reinterpret_cast<StandInStream*>(handle);
        log(side(stream->direction) + " closed after " + std::to_string(total_) + " samples");
        record_.close();
        delete stream;
    }

    std::size_t getStreamMTU(SoapySDR::Stream*) const override { return kMtu; }

    int activateStream(SoapySDR::Stream* handle, const int, const long long, const std::size_t) override {
        auto* stream = reinterpret_cast<StandInStream*>(handle);
        stream->active = true;
        stream->samples = 0;
        stream->started = std::chrono::steady_clock::now();
        return 0;
    }

    int deactivateStream(SoapySDR::Stream* handle, const int, const long long) override {
        reinterpret_cast<StandInStream*>(handle)->active = false;
        return 0;
    }

    int writeStream(SoapySDR::Stream* handle, const void* const* buffs, const std::size_t count, int&, const long long,
                    const long) override {
        auto* stream = reinterpret_cast<StandInStream*>(handle);
        if (!stream->active) return SOAPY_SDR_STREAM_ERROR;
        const std::size_t n = std::min(count, kMtu);
        if (vanished(n)) return SOAPY_SDR_STREAM_ERROR;
        keep_pace(*stream);
        const auto* bytes = static_cast<const std::uint8_t*>(buffs[0]);
        for (std::size_t k = 0; k < n && recorded_ < record_limit_ && record_.is_open(); ++k, ++recorded_) {
            float iq[2];
            read_sample(stream->format, bytes + k * sample_bytes(stream->format), iq);
            record_.write(reinterpret_cast<const char*>(iq), sizeof iq);
        }
        stream->samples += n;
        total_ += n;
        return static_cast<int>(n);
    }

    int readStream(SoapySDR::Stream* handle, void* const* buffs, const std::size_t count, int& flags, long long&,
                   const long) override {
        auto* stream = reinterpret_cast<StandInStream*>(handle);
        flags = 0;
        if (!stream->active || replay_.empty()) return SOAPY_SDR_TIMEOUT;
        if (overflows_ > 0) {
            --overflows_;
            return SOAPY_SDR_OVERFLOW;
        }
        const std::size_t n = std::min(count, kMtu);
        if (vanished(n)) return SOAPY_SDR_STREAM_ERROR;
        keep_pace(*stream);
        auto* bytes = static_cast<std::uint8_t*>(buffs[0]);
        for (std::size_t k = 0; k < n; ++k) {
            write_sample(stream->format, replay_[replay_at_].data(), bytes + k * sample_bytes(stream->format));
            replay_at_ = (replay_at_ + 1) % replay_.size();
        }
        stream->samples += n;
        total_ += n;
        return static_cast<int>(n);
    }

    int readStreamStatus(SoapySDR::Stream* handle, std::size_t& mask, int& flags, long long&, const long) override {
        mask = 1;
        flags = 0;
        if (reinterpret_cast<StandInStream*>(handle)->samples > 0 && underflows_ > 0) {
            --underflows_;
            return SOAPY_SDR_UNDERFLOW;
        }
        return SOAPY_SDR_TIMEOUT;
    }

private:
    static std::string side(int direction) { return direction == SOAPY_SDR_TX ? "tx" : "rx"; }
    static std::string number(double value) {
        std::ostringstream text;
        text.precision(15);
        text << value;
        return text.str();
    }
    static std::size_t sample_bytes(const std::string& format) { return SoapySDR::formatToSize(format); }

    void read_sample(const std::string& format, const std::uint8_t* at, float iq[2]) const {
        for (int part = 0; part < 2; ++part) {
            double value = 0;
            if (format == SOAPY_SDR_CF32) {
                float f;
                std::memcpy(&f, at + 4 * part, 4);
                value = f;
            } else if (format == SOAPY_SDR_CS16) {
                std::int16_t i;
                std::memcpy(&i, at + 2 * part, 2);
                value = i;
            } else {
                value = static_cast<std::int8_t>(at[part]);
            }
            iq[part] = static_cast<float>(value / (format == formats_.at(0) ? full_scale_ : default_full_scale(format)));
        }
    }

    void write_sample(const std::string& format, const float iq[2], std::uint8_t* at) const {
        const double scale = format == formats_.at(0) ? full_scale_ : default_full_scale(format);
        for (int part = 0; part < 2; ++part) {
            if (format == SOAPY_SDR_CF32) {
                const float f = static_cast<float>(iq[part] * scale);
                std::memcpy(at + 4 * part, &f, 4);
            } else if (format == SOAPY_SDR_CS16) {
                const auto i = static_cast<std::int16_t>(std::lround(iq[part] * scale));
                std::memcpy(at + 2 * part, &i, 2);
            } else {
                at[part] = static_cast<std::uint8_t>(static_cast<std::int8_t>(std::lround(iq[part] * scale)));
            }
        }
    }

    void load_replay() {
        std::ifstream file(replay_path_, std::ios::binary);
        if (!file) throw std::runtime_error("stand-in: cannot open replay file " + replay_path_);
        float iq[2];
        while (file.read(reinterpret_cast<char*>(iq), sizeof iq)) replay_.push_back({iq[0], iq[1]});
        if (replay_.empty()) throw std::runtime_error("stand-in: replay file " + replay_path_ + " holds no samples");
    }

    bool vanished(std::size_t n) {
        if (vanish_after_ == 0 || total_ + n <= vanish_after_) return false;
        log("vanished");
        return true;
    }

    // Sleeps until the samples already moved are due at the sample rate.
    void keep_pace(const StandInStream& stream) const {
        if (!realtime_ || rate_ <= 0) return;
        const auto due = stream.started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                              std::chrono::duration<double>(static_cast<double>(stream.samples) / rate_));
        std::this_thread::sleep_until(due);
    }

    void log(const std::string& line) {
        if (log_path_.empty() || log_lines_ >= kMaxLogLines) return;
        ++log_lines_;
        std::ofstream(log_path_, std::ios::app) << line << '\n';
    }

    std::string log_path_;
    std::string record_path_;
    std::size_t record_limit_;
    std::string replay_path_;
    bool realtime_;
    std::size_t underflows_;
    std::size_t overflows_;
    std::size_t vanish_after_;
    std::string refuse_;
    std::vector<std::string> antennas_;
    std::vector<std::string> formats_;
    std::vector<double> rates_;
    SoapySDR::Range gain_range_;
    double full_scale_ = 1;
    std::string antenna_ = "TX";
    double gain_ = 0;
    double frequency_ = 2.412e9;
    double rate_ = 0;
    std::ofstream record_;
    std::size_t recorded_ = 0;
    std::size_t total_ = 0;
    std::size_t log_lines_ = 0;
    std::vector<std::array<float, 2>> replay_;
    std::size_t replay_at_ = 0;
};

SoapySDR::KwargsList find_standin(const SoapySDR::Kwargs& args) {
    if (args.count("serial") != 0 && args.at("serial") != "SI0001") return {};
    return {{{"label", "Stand-in SDR"}, {"serial", "SI0001"}}};
}

SoapySDR::Device* make_standin(const SoapySDR::Kwargs& args) { return new StandInDevice(args); }

const SoapySDR::Registry kRegistration("standin", &find_standin, &make_standin, SOAPY_SDR_ABI_VERSION);

}  // namespace
