#include <gtest/gtest.h>

#include "instrument/gpib.hpp"
#include "instrument/hwio.hpp"

namespace dot11b::instrument {
namespace {

// The binding against a stand-in library with linux-gpib's entry points.
TEST(Gpib, BindingPassesAddressesTimeOutsAndEndOfLine) {
    struct Case {
        GpibAddress address;
        Milliseconds timeout;
        const char* opened;  // board, primary, secondary code, time-out code, EOI, EOS mode
    };
    const Case cases[] = {
        {{0, 19, -1}, Milliseconds(10000), "0 19 0 13 1 1034 tmo 13"},
        {{2, 5, 0}, Milliseconds(300), "2 5 96 10 1 1034 tmo 10"},
        {{15, 30, 31}, Milliseconds(301), "15 30 127 11 1 1034 tmo 11"},
        {{1, 1, 3}, Milliseconds(86400000), "1 1 99 17 1 1034 tmo 17"},
    };
    for (const Case& c : cases) {
        const auto gpib = open_gpib(c.address, c.timeout, FAKE_GPIB_PATH);
        gpib->write_line("*IDN?");
        EXPECT_EQ(gpib->read_line(), std::string("FAKE,GPIB,") + c.opened);
    }
    const auto gpib = open_gpib({0, 19, -1}, Milliseconds(10000), FAKE_GPIB_PATH);
    gpib->set_timeout(Milliseconds(1000));
    gpib->go_to_local();
    gpib->go_to_local();
    gpib->write_line("LOCAL?");
    EXPECT_EQ(gpib->read_line(), "2");
    gpib->write_line("*IDN?");
    EXPECT_EQ(gpib->read_line(), "FAKE,GPIB,0 19 0 13 1 1034 tmo 11");
}

TEST(Gpib, FaultsOfTheLibraryBecomeStatuses) {
    HwIoModule module;
    module.set_gpib_library(FAKE_GPIB_PATH);
    EXPECT_EQ(module(static_cast<std::int32_t>(HwOp::Ping), GpibAddress{0, 19, -1}, {}).status, 0);
    const StatusPair silent = module(static_cast<std::int32_t>(HwOp::Query), GpibAddress{0, 19, -1}, std::string("SILENT?"));
    EXPECT_EQ(silent.status, static_cast<int>(Fault::Timeout));
    EXPECT_EQ(silent.description, "GPIB0::19: no progress waiting for a reply within 10000 ms");
    const StatusPair overcount =
        module(static_cast<std::int32_t>(HwOp::Query), GpibAddress{0, 19, -1}, std::string("OVERCOUNT?"));
    EXPECT_EQ(overcount, (StatusPair{static_cast<int>(Fault::Lost),
                                     "GPIB0::19: the GPIB library reported 4196 bytes read into a 4096-byte buffer"}));
    const StatusPair bad = module(static_cast<std::int32_t>(HwOp::Ping), GpibAddress{0, 31, -1}, {});
    EXPECT_EQ(bad, (StatusPair{static_cast<int>(Fault::Connect), "GPIB0::31: cannot open the device (iberr 4)"}));
    module.set_gpib_library("/nonexistent/libgpib.so.0");
    const StatusPair missing = module(static_cast<std::int32_t>(HwOp::Ping), GpibAddress{0, 19, -1}, {});
    EXPECT_EQ(missing.status, static_cast<int>(Fault::Connect));
    EXPECT_EQ(missing.description.find("GPIB0::19: the linux-gpib library /nonexistent/libgpib.so.0 is not installed"), 0U)
        << missing.description;
    module.set_gpib_library("libc.so.6");
    EXPECT_EQ(module(static_cast<std::int32_t>(HwOp::Ping), GpibAddress{0, 19, -1}, {}),
              (StatusPair{static_cast<int>(Fault::Connect), "GPIB0::19: the library libc.so.6 lacks the linux-gpib functions"}));
}

}  // namespace
}  // namespace dot11b::instrument
