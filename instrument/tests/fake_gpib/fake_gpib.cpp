// A stand-in for the linux-gpib library with the same C entry points, for
// testing the binding: one device that answers "*IDN?" with the arguments it
// was opened with, "LOCAL?" with the number of go-to-local calls, lets any
// read after "SILENT?" time out, and after "OVERCOUNT?" reports more bytes
// read than the buffer holds, as a faulty library might.

#include <cstring>
#include <string>

namespace {

constexpr int kErr = 0x8000;
constexpr int kTimo = 0x4000;
constexpr int kEnd = 0x2000;
constexpr int kErrAbort = 6;
constexpr int kErrArgument = 4;

struct Device {
    std::string opened;  // "board pad sad timo eot eos"
    std::string pending_reply;
    bool silent = false;
    bool overcount = false;
    int locals = 0;
    int timeout_code = 0;
    bool online = false;
};

Device device;
int last_error = 0;
long last_count = 0;

}  // namespace

extern "C" {

int ibdev(int board, int pad, int sad, int timo, int send_eoi, int eos) {
    if (pad > 30) {
        last_error = kErrArgument;
        return -1;
    }
    device = Device{};
    device.opened = std::to_string(board) + " " + std::to_string(pad) + " " + std::to_string(sad) + " " +
                    std::to_string(timo) + " " + std::to_string(send_eoi) + " " + std::to_string(eos);
    device.timeout_code = timo;
    device.online = true;
    return 1;
}

int ibwrt(int, const void* data, long count) {
    const std::string text(static_cast<const char*>(data), static_cast<std::size_t>(count));
    last_count = count;
    if (text == "*IDN?\n") device.pending_reply = "FAKE,GPIB," + device.opened + " tmo " + std::to_string(device.timeout_code) + "\n";
    if (text == "LOCAL?\n") device.pending_reply = std::to_string(device.locals) + "\n";
    if (text == "SILENT?\n") device.silent = true;
    if (text == "OVERCOUNT?\n") {
        device.overcount = true;
        device.pending_reply = "1\n";
    }
    return 0;
}

int ibrd(int, void* buffer, long count) {
    if (device.silent) {
        last_error = kErrAbort;
        last_count = 0;
        return kErr | kTimo;
    }
    const std::size_t n = std::min(device.pending_reply.size(), static_cast<std::size_t>(count));
    std::memcpy(buffer, device.pending_reply.data(), n);
    device.pending_reply.erase(0, n);
    last_count = device.overcount ? count + 100 : static_cast<long>(n);
    return device.pending_reply.empty() ? kEnd : 0;
}

int ibonl(int, int online) {
    device.online = online != 0;
    return 0;
}

int ibloc(int) {
    ++device.locals;
    return 0;
}

int ibtmo(int, int timo) {
    device.timeout_code = timo;
    return 0;
}

int ThreadIberr() { return last_error; }

long ThreadIbcntl() { return last_count; }
}
