#pragma once
// What the SoapySDR side of SdrDevice holds; for its own source files only.

#include <SoapySDR/Device.hpp>

#include <string>

#include "sdr/soapy/sdr_device.hpp"
#include "sdr/stream_format.hpp"

namespace dot11b::sdr {

struct SdrDevice::Impl {
    SoapySDR::Device* device = nullptr;
    std::string args;
    int direction = 0;  // SOAPY_SDR_TX or SOAPY_SDR_RX
    StreamFormat format = StreamFormat::cf32;
    std::string format_name;
    double full_scale = 1;
    double rate = 0;
};

// A set-up stream, closed when this goes; errors while closing a device that
// has gone are ignored, so the first error is the one reported.
class OpenStream {
public:
    OpenStream(SdrDevice::Impl& impl);
    ~OpenStream();
    OpenStream(const OpenStream&) = delete;
    OpenStream& operator=(const OpenStream&) = delete;
    SoapySDR::Stream* get() const { return stream_; }
    std::size_t mtu() const { return mtu_; }

private:
    SoapySDR::Device* device_;
    SoapySDR::Stream* stream_;
    std::size_t mtu_;
    bool active_ = false;
};

// "the device driver=x stopped streaming after N samples: REASON".
[[noreturn]] void stream_failed(const SdrDevice::Impl& impl, std::size_t samples, int code);

}  // namespace dot11b::sdr
