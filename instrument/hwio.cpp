#include "instrument/hwio.hpp"

#include <charconv>
#include <cmath>
#include <system_error>

#include "app/waveform_files/wfm_file.hpp"

namespace dot11b::instrument {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::string key_of(const Endpoint& endpoint) {
    return std::visit(Overloaded{
                          [](const SocketAddress& a) { return "TCPIP " + a.host + ":" + std::to_string(a.port); },
                          [](const SerialSettings& s) { return "RS232 " + s.device; },
                          [](const GpibAddress& g) {
                              return "GPIB " + std::to_string(g.board) + " " + std::to_string(g.primary) + " " +
                                     std::to_string(g.secondary);
                          },
                      },
                      endpoint);
}

[[noreturn]] void bad_request(const std::string& why) { throw TransportError(Fault::Request, why); }

template <class T>
const T& argument(const HwArgs& args, HwOp op, const char* what) {
    const T* value = std::get_if<T>(&args);
    if (value == nullptr) bad_request("hwIO operation " + std::to_string(static_cast<int>(op)) + " needs " + what);
    return *value;
}

// Names go inside a quoted SCPI string, so quotes and line ends would end the command early.
void check_waveform_name(const std::string& name) {
    if (name.empty()) bad_request("the waveform name is empty");
    if (name.find_first_of("\"\r\n") != std::string::npos) {
        bad_request("the waveform name \"" + name + "\" contains a quote or a line break");
    }
}

// Whether a ":SYST:ERR?" reply reports an error: anything but a leading 0
// (as in +0,"No error") does, garbage included.
bool reports_error(const std::string& reply) {
    const char* begin = reply.data();
    if (!reply.empty() && reply[0] == '+') ++begin;
    int code = 0;
    const auto [end, error] = std::from_chars(begin, reply.data() + reply.size(), code);
    return error != std::errc() || code != 0 || (end != reply.data() + reply.size() && *end != ',');
}

// The two data blocks of a download, checked and converted before connecting.
PreparedBlocks prepare(const WaveformData& waveform) {
    check_waveform_name(waveform.filename);
    if (waveform.mode != "norm") bad_request("hwIO download mode \"" + waveform.mode + "\" is not \"norm\"");
    if (!waveform.markers.empty() && waveform.markers.size() != waveform.iq.size()) {
        bad_request("the waveform has " + std::to_string(waveform.iq.size()) + " samples but " +
                    std::to_string(waveform.markers.size()) + " marker values");
    }
    PreparedBlocks blocks;
    blocks.iq = waveform_files::wfm_bytes(waveform.iq, waveform.scale);
    if (waveform.markers.empty()) {
        blocks.markers.assign(waveform.iq.size(), 0);
    } else {
        blocks.markers.assign(waveform.markers.begin(), waveform.markers.end());
    }
    return blocks;
}

}  // namespace

Milliseconds HwIoModule::timeout(const Endpoint& endpoint) const {
    const auto found = timeouts_.find(key_of(endpoint));
    return found != timeouts_.end() ? found->second : kDefaultTimeout;
}

StatusPair HwIoModule::operator()(std::int32_t code, const app::ConnectionConfig& config, const HwArgs& args) {
    Endpoint endpoint;
    try {
        endpoint = endpoint_of(config, serial_devices_);
    } catch (const ConfigError& e) {
        return {static_cast<int>(Fault::Request), e.what()};
    }
    return (*this)(code, endpoint, args);
}

StatusPair HwIoModule::operator()(std::int32_t code, const Endpoint& endpoint, const HwArgs& args) {
    try {
        switch (static_cast<HwOp>(code)) {
            case HwOp::Ping:
            case HwOp::Send:
            case HwOp::Query:
            case HwOp::Download:
            case HwOp::ReturnLocal:
            case HwOp::SetTimeout: return run(static_cast<HwOp>(code), endpoint, args);
        }
        bad_request("hwIO has no operation " + std::to_string(code));
    } catch (const TransportError& e) {
        return {static_cast<int>(e.fault()), e.what()};
    } catch (const ConfigError& e) {
        return {static_cast<int>(Fault::Request), e.what()};
    } catch (const std::system_error& e) {
        return {static_cast<int>(Fault::Lost), key_of(endpoint) + ": " + e.what()};
    }
}

StatusPair HwIoModule::run(HwOp op, const Endpoint& endpoint, const HwArgs& args) {
    if (op == HwOp::SetTimeout) {
        const double ms = argument<double>(args, op, "the time-out in milliseconds");
        if (!(ms >= 1 && ms <= kMaxTimeoutMs)) {
            bad_request("the time-out must be 1 to " + std::to_string(static_cast<long>(kMaxTimeoutMs)) + " ms");
        }
        timeouts_[key_of(endpoint)] = Milliseconds(std::llround(ms));
        return {};
    }
    // Checked before connecting, so a bad request costs no bus traffic.
    if (op == HwOp::Send || op == HwOp::Query) argument<std::string>(args, op, "a command text");
    PreparedBlocks blocks;
    if (op == HwOp::Download) blocks = prepare(argument<WaveformData>(args, op, "the waveform"));

    const Milliseconds limit = timeout(endpoint);
    const auto transport = std::visit(
        Overloaded{
            [&](const SocketAddress& a) { return open_scpi_socket(a, limit); },
            [&](const SerialSettings& s) { return open_serial_port(s, limit); },
            [&](const GpibAddress& g) { return open_gpib(g, limit, gpib_library_); },
        },
        endpoint);
    switch (op) {
        case HwOp::Ping:
            transport->write_line("*IDN?");
            return {0, transport->read_line()};
        case HwOp::Send: transport->write_line(std::get<std::string>(args)); return {};
        case HwOp::Query:
            transport->write_line(std::get<std::string>(args));
            return {0, transport->read_line()};
        case HwOp::Download: return {0, download(*transport, std::get<WaveformData>(args).filename, blocks)};
        case HwOp::ReturnLocal: transport->go_to_local(); return {};
        case HwOp::SetTimeout: break;
    }
    return {};
}

std::string HwIoModule::download(Transport& transport, const std::string& filename, const PreparedBlocks& blocks) {
    const std::size_t total = blocks.iq.size() + blocks.markers.size();
    Progress on_iq, on_markers;
    if (progress_) {
        on_iq = [&](std::size_t done, std::size_t) { progress_(done, total); };
        on_markers = [&](std::size_t done, std::size_t) { progress_(blocks.iq.size() + done, total); };
    }
    // Errors left over from earlier commands must not be taken for errors of this download.
    transport.write_line("*CLS");
    transport.write_block(":MMEM:DATA \"WFM1:" + filename + "\",", blocks.iq, on_iq);
    transport.write_block(":MMEM:DATA \"MKR1:" + filename + "\",", blocks.markers, on_markers);
    transport.write_line(":SYST:ERR?");
    const std::string reply = transport.read_line();
    if (reports_error(reply)) {
        throw TransportError(Fault::Instrument, transport.name() + ": storing \"" + filename + "\" failed: " + reply);
    }
    return {};
}

}  // namespace dot11b::instrument
