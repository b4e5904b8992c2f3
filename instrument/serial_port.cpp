#include "instrument/serial_port.hpp"

#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <thread>

#include "instrument/stream_transport.hpp"

namespace dot11b::instrument {
namespace {

asio::serial_port_base::flow_control::type flow_of(Handshake handshake) {
    switch (handshake) {
        case Handshake::XonXoff: return asio::serial_port_base::flow_control::software;
        case Handshake::RtsCts: return asio::serial_port_base::flow_control::hardware;
        case Handshake::None: break;
    }
    return asio::serial_port_base::flow_control::none;
}

class SerialPort final : public StreamTransport<asio::serial_port> {
public:
    SerialPort(const SerialSettings& settings, Milliseconds timeout)
        : StreamTransport("RS232 " + settings.device, timeout), baud_rate_(settings.baud_rate) {
        std::error_code error;
        stream().open(settings.device, error);
        if (error) fail(Fault::Connect, "cannot open: " + error.message());
        using base = asio::serial_port_base;
        stream().set_option(base::baud_rate(settings.baud_rate), error);
        if (!error) stream().set_option(base::character_size(8), error);
        if (!error) stream().set_option(base::parity(base::parity::none), error);
        if (!error) stream().set_option(base::stop_bits(base::stop_bits::one), error);
        if (!error) stream().set_option(base::flow_control(flow_of(settings.handshake)), error);
        if (error) fail(Fault::Connect, "cannot set " + std::to_string(settings.baud_rate) + " baud: " + error.message());
        // A reply that an earlier operation gave up on must not be read as this one's.
        ::tcflush(stream().native_handle(), TCIOFLUSH);
    }

    ~SerialPort() override {
        // Closing a port with unsent output waits for it (up to 30 s by default);
        // what was not sent within the time-out is dropped instead.
        ::tcflush(stream().native_handle(), TCIOFLUSH);
    }

    // Returns when the bytes have left the port, so that the time-out and the
    // progress follow the line rather than the driver's buffer.
    void write(std::string_view bytes) override {
        StreamTransport::write(bytes);
        drain();
    }

    void go_to_local() override { write_line(":SYST:COMM:GTL"); }

protected:
    // About a quarter of a second of line time per piece (10 bits per byte).
    std::size_t block_piece() const override { return std::clamp<std::size_t>(baud_rate_ / 40, 64, 64 * 1024); }

private:
    void drain() {
        using clock = std::chrono::steady_clock;
        int queued = output_queue();
        auto deadline = clock::now() + timeout();
        while (queued > 0) {
            if (clock::now() >= deadline) fail(Fault::Timeout, "output not sent within " + std::to_string(timeout().count()) + " ms");
            std::this_thread::sleep_for(Milliseconds(5));
            const int now_queued = output_queue();
            if (now_queued < queued) deadline = clock::now() + timeout();
            queued = now_queued;
        }
    }

    int output_queue() {
        int queued = 0;
        if (::ioctl(stream().native_handle(), TIOCOUTQ, &queued) != 0) return 0;
        return queued;
    }

    unsigned baud_rate_;
};

}  // namespace

std::unique_ptr<Transport> open_serial_port(const SerialSettings& settings, Milliseconds timeout) {
    return std::make_unique<SerialPort>(settings, timeout);
}

}  // namespace dot11b::instrument
