#include <SoapySDR/Errors.hpp>

#include <algorithm>

#include "common/errors.hpp"
#include "sdr/soapy/soapy_device_impl.hpp"

namespace dot11b::sdr {
namespace {

constexpr long kReadTimeoutUs = 100000;
constexpr int kMaxTimeouts = 50;  // five seconds without a sample

}  // namespace

Samples SdrDevice::capture(std::size_t count, std::size_t& overflows) {
    const std::size_t width = bytes_per_sample(impl_->format);
    std::vector<std::uint8_t> bytes(count * width);
    OpenStream stream(*impl_);
    SoapySDR::Device& device = *impl_->device;
    std::size_t done = 0;
    int timeouts = 0;
    while (done < count) {
        void* buffs[] = {bytes.data() + done * width};
        int flags = 0;
        long long time_ns = 0;
        int read = 0;
        try {
            read = device.readStream(stream.get(), buffs, std::min(count - done, stream.mtu()), flags, time_ns,
                                     kReadTimeoutUs);
        } catch (const std::exception&) {
            read = SOAPY_SDR_STREAM_ERROR;
        }
        // An overflow loses samples before this read; the capture goes on.
        if (read == SOAPY_SDR_OVERFLOW) {
            ++overflows;
            continue;
        }
        if (read == SOAPY_SDR_TIMEOUT) {
            if (++timeouts == kMaxTimeouts) {
                throw IoError("the device " + impl_->args + " delivered no samples for " +
                              std::to_string(kMaxTimeouts * kReadTimeoutUs / 1000000) + " s after " +
                              std::to_string(done));
            }
            continue;
        }
        if (read < 0) stream_failed(*impl_, done, read);
        timeouts = 0;
        done += static_cast<std::size_t>(read);
    }
    return decode(bytes, impl_->format, impl_->full_scale);
}

}  // namespace dot11b::sdr
