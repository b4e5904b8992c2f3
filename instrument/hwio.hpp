#pragma once
// The instrument I/O module: one entry that takes an operation code, the
// connection and the operation's arguments, carries it out on GPIB, RS-232
// or LAN and answers with a status pair. Connections are opened for each
// operation and closed before it returns; the time-out set for a connection
// is kept for its later operations.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <variant>

#include "app/records.hpp"
#include "common/types.hpp"
#include "instrument/connection_endpoint.hpp"
#include "instrument/hwio_endpoint.hpp"
#include "instrument/status_pair.hpp"
#include "instrument/transport.hpp"

namespace dot11b::instrument {

enum class HwOp : std::int32_t {
    Ping = 1,
    Send = 2,
    Query = 3,
    Download = 4,
    ReturnLocal = 5,
    SetTimeout = 50,
};

// The waveform of a download: stored as "WFM1:<filename>" (16-bit I/Q words
// scaled as the waveform file) and "MKR1:<filename>" (one byte per sample,
// bit 0 marker row 1, bit 1 marker row 2).
struct WaveformData {
    SampleSpan iq;
    std::span<const std::uint8_t> markers;  // empty for no markers
    std::string mode;                       // "norm": largest I or Q at full scale x `scale`
    double scale = 1;
    std::string filename;
};

// A download's data as it goes to the instrument.
struct PreparedBlocks {
    std::vector<std::uint8_t> iq;       // the waveform file's bytes
    std::vector<std::uint8_t> markers;  // one byte per sample
};

// Arguments by operation: none (ping, return to local), the command or query
// text, the waveform, or the time-out in milliseconds.
using HwArgs = std::variant<std::monostate, std::string, WaveformData, double>;

class HwIoModule {
public:
    HwIoModule() = default;

    // Runs one operation on the connection that the record's `type` names.
    // Never throws for a fault of the instrument, the connection or the
    // request: those come back as a non-zero status with a description
    // (status values are those of Fault).
    StatusPair operator()(std::int32_t code, const app::ConnectionConfig& config, const HwArgs& args);
    // The same on a connection given directly.
    StatusPair operator()(std::int32_t code, const Endpoint& endpoint, const HwArgs& args);

    void set_progress(Progress progress) { progress_ = std::move(progress); }
    void set_gpib_library(std::string library) { gpib_library_ = std::move(library); }
    SerialDevices& serial_devices() { return serial_devices_; }

    // Time-out in force for the connection.
    Milliseconds timeout(const Endpoint& endpoint) const;

private:
    StatusPair run(HwOp op, const Endpoint& endpoint, const HwArgs& args);
    std::string download(Transport& transport, const std::string& filename, const PreparedBlocks& blocks);

    std::map<std::string, Milliseconds> timeouts_;  // by connection key
    Progress progress_;
    std::string gpib_library_ = kGpibLibrary;
    SerialDevices serial_devices_;
};

// Longest time-out accepted, in milliseconds (a day).
inline constexpr double kMaxTimeoutMs = 86'400'000;

}  // namespace dot11b::instrument
