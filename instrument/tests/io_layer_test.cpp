#include <gtest/gtest.h>

#include "instrument/io_layer.hpp"
#include "recording_module.hpp"

namespace dot11b::instrument {
namespace {

app::ConnectionConfig lan_record() {
    app::ConnectionConfig config;
    config.type = "TCPIP";
    config.tcpip.address = "192.0.2.7";
    return config;
}

// Each operation calls the module exactly once with its code and arguments in order.
TEST(IoLayer, OperationCodesAndArguments) {
    RecordingModule module;
    const HwIO io = module.io();
    const app::ConnectionConfig config = lan_record();
    const Samples iq = {{1, 0}, {0, -1}};
    const std::vector<std::uint8_t> markers = {1, 3};

    hwPing(io, config);
    hwSend(io, config, " :source:freq:fix 2412000000Hz");
    hwQuery(io, config, "*IDN?");
    hwDownload(io, config, iq, markers, "dot11b");
    hwReturnLocal(io, config);
    hwSetTimeout(io, config, 10000);
    VerifyComm(io, config);

    const std::vector<std::int32_t> codes = {1, 2, 3, 4, 5, 50, 1};
    ASSERT_EQ(module.calls.size(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(module.calls[i].code, codes[i]) << i;
        EXPECT_EQ(module.calls[i].config, config) << i;
    }
    EXPECT_TRUE(std::holds_alternative<std::monostate>(module.calls[0].args));
    EXPECT_EQ(std::get<std::string>(module.calls[1].args), " :source:freq:fix 2412000000Hz");
    EXPECT_EQ(std::get<std::string>(module.calls[2].args), "*IDN?");
    const auto& download = std::get<WaveformData>(module.calls[3].args);
    EXPECT_EQ(download.mode, "norm");
    EXPECT_EQ(download.scale, 1);
    EXPECT_EQ(download.filename, "dot11b");
    EXPECT_EQ(module.calls[3].iq, iq);
    EXPECT_EQ(module.calls[3].markers, markers);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(module.calls[4].args));
    EXPECT_EQ(std::get<double>(module.calls[5].args), 10000);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(module.calls[6].args));
}

TEST(IoLayer, ModuleResultsComeBackUnchanged) {
    RecordingModule module;
    module.answer = [](const RecordedCall& call) {
        return StatusPair{call.code == 3 ? 0 : 7, call.code == 3 ? "Maker,Model,US1,1" : "bus fault\ndetail"};
    };
    const HwIO io = module.io();
    const app::ConnectionConfig config = lan_record();
    EXPECT_EQ(hwQuery(io, config, "*IDN?"), (StatusPair{0, "Maker,Model,US1,1"}));
    EXPECT_EQ(hwSend(io, config, "x"), (StatusPair{7, "bus fault\ndetail"}));
    EXPECT_EQ(VerifyComm(io, config), (StatusPair{7, "bus fault\ndetail"}));
    EXPECT_EQ(hwDownload(io, config, {}, {}, "w"), (StatusPair{7, "bus fault\ndetail"}));
}

}  // namespace
}  // namespace dot11b::instrument
