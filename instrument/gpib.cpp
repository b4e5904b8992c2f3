#include "instrument/gpib.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <array>

namespace dot11b::instrument {
namespace {

// The linux-gpib entry points used here, with their C signatures.
struct GpibLibrary {
    void* handle = nullptr;
    int (*ibdev)(int board, int pad, int sad, int timo, int send_eoi, int eos) = nullptr;
    int (*ibwrt)(int ud, const void* data, long count) = nullptr;
    int (*ibrd)(int ud, void* buffer, long count) = nullptr;
    int (*ibonl)(int ud, int online) = nullptr;
    int (*ibloc)(int ud) = nullptr;
    int (*ibtmo)(int ud, int timo) = nullptr;
    int (*ThreadIberr)() = nullptr;
    long (*ThreadIbcntl)() = nullptr;
};

// Status and error bits of ibsta and iberr.
constexpr int kIbstaErr = 0x8000;
constexpr int kIbstaTimo = 0x4000;
constexpr int kIbstaEnd = 0x2000;
constexpr int kErrAbort = 6;  // EABO: the I/O was aborted, normally by the time-out

// Reads end at a line feed as well as at EOI: REOS (0x400) with the character 10.
constexpr int kEosLineFeed = 0x400 | '\n';
// Secondary addresses are passed as 0x60 + n; 0 means none.
constexpr int kSecondaryBase = 0x60;

// The time-out codes of the library: 0 (none), then 10 us, 30 us, 100 us, ... 1000 s.
int timeout_code(Milliseconds timeout) {
    static constexpr std::array<double, 17> limits_ms = {0.01, 0.03, 0.1,  0.3,  1,     3,     10,    30,    100,
                                                         300,  1000, 3000, 10000, 30000, 100000, 300000, 1000000};
    const double ms = static_cast<double>(timeout.count());
    for (std::size_t i = 0; i < limits_ms.size(); ++i) {
        if (limits_ms[i] >= ms) return static_cast<int>(i) + 1;
    }
    return static_cast<int>(limits_ms.size());
}

template <class Function>
bool bind(void* handle, const char* symbol, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(handle, symbol));
    return function != nullptr;
}

class Gpib final : public Transport {
public:
    Gpib(const GpibAddress& address, Milliseconds timeout, const std::string& library)
        : Transport("GPIB" + std::to_string(address.board) + "::" + std::to_string(address.primary) +
                        (address.secondary >= 0 ? "::" + std::to_string(address.secondary) : ""),
                    timeout) {
        lib_.handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (lib_.handle == nullptr) {
            const char* why = ::dlerror();
            fail(Fault::Connect, "the linux-gpib library " + library + " is not installed (" +
                                     (why != nullptr ? why : "not found") + ")");
        }
        if (!bind(lib_.handle, "ibdev", lib_.ibdev) || !bind(lib_.handle, "ibwrt", lib_.ibwrt) ||
            !bind(lib_.handle, "ibrd", lib_.ibrd) || !bind(lib_.handle, "ibonl", lib_.ibonl) ||
            !bind(lib_.handle, "ibloc", lib_.ibloc) || !bind(lib_.handle, "ibtmo", lib_.ibtmo) || !bind(lib_.handle, "ThreadIberr", lib_.ThreadIberr) ||
            !bind(lib_.handle, "ThreadIbcntl", lib_.ThreadIbcntl)) {
            close_library();
            fail(Fault::Connect, "the library " + library + " lacks the linux-gpib functions");
        }
        const int secondary = address.secondary >= 0 ? kSecondaryBase + address.secondary : 0;
        device_ = lib_.ibdev(address.board, address.primary, secondary, timeout_code(timeout), 1, kEosLineFeed);
        if (device_ < 0) {
            const int error = lib_.ThreadIberr();
            close_library();
            fail(Fault::Connect, "cannot open the device (iberr " + std::to_string(error) + ")");
        }
    }

    ~Gpib() override {
        if (device_ >= 0) lib_.ibonl(device_, 0);
        close_library();
    }

    void write(std::string_view bytes) override {
        const int status = lib_.ibwrt(device_, bytes.data(), static_cast<long>(bytes.size()));
        check(status, "sending");
    }

    std::string read_line() override {
        std::string line;
        std::array<char, 4096> piece{};
        for (;;) {
            const int status = lib_.ibrd(device_, piece.data(), static_cast<long>(piece.size()));
            check(status, "waiting for a reply");
            // The count comes from the library; never trust it beyond the buffer it was given.
            const long count = std::max(0L, lib_.ThreadIbcntl());
            if (count > static_cast<long>(piece.size())) {
                fail(Fault::Lost, "the GPIB library reported " + std::to_string(count) + " bytes read into a " +
                                      std::to_string(piece.size()) + "-byte buffer");
            }
            line.append(piece.data(), static_cast<std::size_t>(count));
            if ((status & kIbstaEnd) != 0 || (!line.empty() && line.back() == '\n')) break;
            if (line.size() > kMaxReplyLine) fail(Fault::Lost, "reply longer than " + std::to_string(kMaxReplyLine) + " bytes");
        }
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        return line;
    }

    void go_to_local() override { check(lib_.ibloc(device_), "returning to local"); }

    void set_timeout(Milliseconds timeout) override {
        Transport::set_timeout(timeout);
        check(lib_.ibtmo(device_, timeout_code(timeout)), "setting the time-out");
    }

private:
    void check(int status, std::string_view action) {
        if ((status & kIbstaErr) == 0) return;
        if ((status & kIbstaTimo) != 0 || lib_.ThreadIberr() == kErrAbort) {
            fail(Fault::Timeout, "no progress " + std::string(action) + " within " + std::to_string(timeout().count()) + " ms");
        }
        fail(Fault::Lost, std::string(action) + " failed (iberr " + std::to_string(lib_.ThreadIberr()) + ")");
    }

    void close_library() {
        if (lib_.handle != nullptr) ::dlclose(lib_.handle);
        lib_.handle = nullptr;
    }

    GpibLibrary lib_;
    int device_ = -1;
};

}  // namespace

std::unique_ptr<Transport> open_gpib(const GpibAddress& address, Milliseconds timeout, const std::string& library) {
    return std::make_unique<Gpib>(address, timeout, library);
}

}  // namespace dot11b::instrument
