#include "instrument/io_layer.hpp"

namespace dot11b::instrument {
namespace {

StatusPair call(const HwIO& io, HwOp op, const app::ConnectionConfig& config, const HwArgs& args = {}) {
    return io(static_cast<std::int32_t>(op), config, args);
}

}  // namespace

HwIO bridge_to(HwIoModule& module) {
    return [&module](std::int32_t code, const app::ConnectionConfig& config, const HwArgs& args) {
        return module(code, config, args);
    };
}

StatusPair hwPing(const HwIO& io, const app::ConnectionConfig& config) { return call(io, HwOp::Ping, config); }

StatusPair hwSend(const HwIO& io, const app::ConnectionConfig& config, const std::string& command) {
    return call(io, HwOp::Send, config, command);
}

StatusPair hwQuery(const HwIO& io, const app::ConnectionConfig& config, const std::string& query) {
    return call(io, HwOp::Query, config, query);
}

StatusPair hwDownload(const HwIO& io, const app::ConnectionConfig& config, SampleSpan data,
                      std::span<const std::uint8_t> markers, const std::string& filename) {
    return call(io, HwOp::Download, config, WaveformData{data, markers, "norm", 1, filename});
}

StatusPair hwReturnLocal(const HwIO& io, const app::ConnectionConfig& config) {
    return call(io, HwOp::ReturnLocal, config);
}

StatusPair hwSetTimeout(const HwIO& io, const app::ConnectionConfig& config, double timeOutValue) {
    return call(io, HwOp::SetTimeout, config, timeOutValue);
}

StatusPair VerifyComm(const HwIO& io, const app::ConnectionConfig& config) { return hwPing(io, config); }

}  // namespace dot11b::instrument
