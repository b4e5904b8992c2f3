#include "sdr/soapy/sdr_device.hpp"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>

#include <algorithm>

#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "sdr/soapy/soapy_device_impl.hpp"

namespace dot11b::sdr {
namespace {

std::string kwargs_text(const SoapySDR::Kwargs& kwargs) {
    std::string text;
    for (const auto& [key, value] : kwargs) text += (text.empty() ? "" : ", ") + key + "=" + value;
    return text;
}

SoapySDR::KwargsList enumerate(const std::string& args) {
    try {
        return SoapySDR::Device::enumerate(args);
    } catch (const std::exception& e) {
        throw IoError(std::string("SoapySDR cannot look for devices: ") + e.what());
    }
}

std::string found_text() {
    std::string text;
    for (const std::string& device : list_devices()) text += (text.empty() ? "" : "; ") + device;
    return text.empty() ? "none" : text;
}

// Runs one setting, naming it when the device refuses.
template <typename Setting>
void set(const SdrDevice::Impl& impl, const std::string& what, Setting setting) {
    try {
        setting();
    } catch (const std::exception& e) {
        throw IoError("the device " + impl.args + " refused " + what + ": " + e.what());
    }
}

}  // namespace

std::vector<std::string> list_devices(const std::string& args) {
    std::vector<std::string> devices;
    for (const SoapySDR::Kwargs& found : enumerate(args)) devices.push_back(kwargs_text(found));
    return devices;
}

SdrDevice::SdrDevice(const std::string& args, Direction direction) : impl_(std::make_unique<Impl>()) {
    impl_->args = args.empty() ? "(any)" : args;
    impl_->direction = direction == Direction::transmit ? SOAPY_SDR_TX : SOAPY_SDR_RX;
    if (enumerate(args).empty()) {
        throw IoError("no SDR device matches \"" + args + "\"; SoapySDR found: " + found_text());
    }
    try {
        impl_->device = SoapySDR::Device::make(args);
    } catch (const std::exception& e) {
        throw IoError("cannot open the SDR device \"" + args + "\": " + e.what());
    }
    if (impl_->device == nullptr) throw IoError("cannot open the SDR device \"" + args + "\"");
    try {
        const std::vector<std::string> formats = impl_->device->getStreamFormats(impl_->direction, 0);
        if (std::find(formats.begin(), formats.end(), SOAPY_SDR_CF32) != formats.end()) {
            impl_->format_name = SOAPY_SDR_CF32;
            impl_->full_scale = 1;
        } else {
            impl_->format_name = impl_->device->getNativeStreamFormat(impl_->direction, 0, impl_->full_scale);
        }
        impl_->format = stream_format(impl_->format_name);
    } catch (...) {
        SoapySDR::Device::unmake(impl_->device);
        throw;
    }
}

SdrDevice::~SdrDevice() {
    try {
        SoapySDR::Device::unmake(impl_->device);
    } catch (...) {  // a device that has gone may fail to close; it is closed as far as it can be
    }
}

std::string SdrDevice::driver() const { return impl_->device->getDriverKey(); }
std::string SdrDevice::hardware() const { return impl_->device->getHardwareKey(); }
std::string SdrDevice::stream_format_name() const { return impl_->format_name; }

std::vector<RateRange> SdrDevice::rates() const {
    std::vector<RateRange> rates;
    for (const SoapySDR::Range& r : impl_->device->getSampleRateRange(impl_->direction, 0)) {
        rates.push_back({r.minimum(), r.maximum(), r.step()});
    }
    return rates;
}

std::vector<std::string> SdrDevice::configure(const ChannelSettings& settings) {
    SoapySDR::Device& device = *impl_->device;
    const int direction = impl_->direction;
    if (settings.antenna) {
        const std::vector<std::string> antennas = device.listAntennas(direction, 0);
        if (std::find(antennas.begin(), antennas.end(), *settings.antenna) == antennas.end()) {
            std::string names;
            for (const std::string& a : antennas) names += (names.empty() ? "" : ", ") + a;
            throw ConfigError("--sdr-antenna " + *settings.antenna + " is not an antenna of the device; it has: " +
                              (names.empty() ? "none" : names));
        }
        set(*impl_, "antenna " + *settings.antenna, [&] { device.setAntenna(direction, 0, *settings.antenna); });
    }
    set(*impl_, "sample rate " + number_text(settings.rate) + " Hz",
        [&] { device.setSampleRate(direction, 0, settings.rate); });
    impl_->rate = settings.rate;
    return tune({settings.frequency, settings.gain});
}

std::vector<std::string> SdrDevice::tune(const Retune& settings) {
    SoapySDR::Device& device = *impl_->device;
    const int direction = impl_->direction;
    std::vector<std::string> notes;
    set(*impl_, "frequency " + number_text(settings.frequency) + " Hz",
        [&] { device.setFrequency(direction, 0, settings.frequency); });
    if (settings.gain) {
        const SoapySDR::Range range = device.getGainRange(direction, 0);
        const double gain = std::clamp(*settings.gain, range.minimum(), range.maximum());
        if (gain != *settings.gain) {
            notes.push_back("--sdr-gain " + number_text(*settings.gain) + " dB is outside the device's range, " +
                            number_text(range.minimum()) + " to " + number_text(range.maximum()) + " dB: " +
                            number_text(gain) + " dB is used");
        }
        set(*impl_, "gain " + number_text(gain) + " dB", [&] { device.setGain(direction, 0, gain); });
    }
    return notes;
}

OpenStream::OpenStream(SdrDevice::Impl& impl) : device_(impl.device) {
    try {
        stream_ = device_->setupStream(impl.direction, impl.format_name, {0});
    } catch (const std::exception& e) {
        throw IoError("the device " + impl.args + " cannot stream " + impl.format_name + ": " + e.what());
    }
    mtu_ = std::max<std::size_t>(1, device_->getStreamMTU(stream_));
    const int activated = device_->activateStream(stream_);
    if (activated != 0) {
        device_->closeStream(stream_);
        throw IoError("the device " + impl.args + " cannot start streaming: " + SoapySDR::errToStr(activated));
    }
    active_ = true;
}

OpenStream::~OpenStream() {
    try {
        if (active_) device_->deactivateStream(stream_);
        device_->closeStream(stream_);
    } catch (...) {  // see the class comment
    }
}

void stream_failed(const SdrDevice::Impl& impl, std::size_t samples, int code) {
    throw IoError("the device " + impl.args + " stopped streaming after " + std::to_string(samples) +
                  " samples: " + SoapySDR::errToStr(code));
}

}  // namespace dot11b::sdr
