#include <SoapySDR/Constants.h>
#include <SoapySDR/Errors.hpp>

#include <cmath>

#include "sdr/soapy/soapy_device_impl.hpp"

namespace dot11b::sdr {
namespace {

constexpr long kWriteTimeoutUs = 100000;  // the stop flag is seen within this

// Whole periods in `samples` device samples of a loop of `length` samples
// holding `periods` periods.
std::size_t periods_in(std::size_t samples, std::size_t length, std::size_t periods) {
    return samples / length * periods + samples % length * periods / length;
}

}  // namespace

PlaySummary SdrDevice::play(const LoopPlan& loop, const PlayOptions& options) {
    // The whole loop in the stream's format before the stream starts, so no
    // period waits on a conversion.
    const std::vector<std::uint8_t> buffer = encode(loop.samples, impl_->format, impl_->full_scale);
    const std::size_t width = bytes_per_sample(impl_->format);
    const std::size_t length = loop.samples.size();
    std::optional<std::size_t> total;
    if (options.repeat) {
        total = static_cast<std::size_t>(
            std::llround(static_cast<double>(*options.repeat) * static_cast<double>(length) / static_cast<double>(loop.periods)));
    }

    PlaySummary summary;
    OpenStream stream(*impl_);
    SoapySDR::Device& device = *impl_->device;
    std::size_t at = 0;
    while (!(options.stop && options.stop->load()) && !(total && summary.samples >= *total)) {
        std::size_t count = std::min(stream.mtu(), length - at);
        if (total) count = std::min(count, *total - summary.samples);
        int flags = total && summary.samples + count == *total ? SOAPY_SDR_END_BURST : 0;
        const void* buffs[] = {buffer.data() + at * width};
        int written = 0;
        try {
            written = device.writeStream(stream.get(), buffs, count, flags, 0, kWriteTimeoutUs);
        } catch (const std::exception&) {
            written = SOAPY_SDR_STREAM_ERROR;
        }
        if (written == SOAPY_SDR_UNDERFLOW) {
            ++summary.underflows;
            continue;
        }
        if (written == SOAPY_SDR_TIMEOUT) continue;
        if (written < 0) stream_failed(*impl_, summary.samples, written);
        summary.samples += static_cast<std::size_t>(written);
        at = (at + static_cast<std::size_t>(written)) % length;

        std::size_t mask = 0;
        long long time_ns = 0;
        int status_flags = 0;
        while (device.readStreamStatus(stream.get(), mask, status_flags, time_ns, 0) == SOAPY_SDR_UNDERFLOW) {
            ++summary.underflows;
        }
        if (options.retune) {
            if (const std::optional<Retune> retune = options.retune()) tune(*retune);
        }
        if (options.progress) {
            summary.periods = periods_in(summary.samples, length, loop.periods);
            options.progress(summary);
        }
    }
    summary.periods = periods_in(summary.samples, length, loop.periods);
    return summary;
}

}  // namespace dot11b::sdr
