// Download and Refresh off the GUI thread, against sgsim or a recording
// module, with every dialog answered by the scripted service.

#include <algorithm>
#include <complex>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/gui/download_runner.hpp"
#include "app/gui/instrument_io.hpp"
#include "common/gui/testing/scripted_dialogs.hpp"
#include "common/testing/temporary_folder.hpp"
#include "deaf_listener.hpp"
#include "recording_module.hpp"
#include "served_log.hpp"
#include "simulator_process.hpp"

namespace dot11b::gui {
namespace {

using instrument::StatusPair;

bool has_line_starting(const std::vector<std::string>& lines, const std::string& start) {
    for (const auto& line : lines) {
        if (line.rfind(start, 0) == 0) return true;
    }
    return false;
}

// Replaces the bridge to the instrument for one test.
class IoWrapperScope {
public:
    explicit IoWrapperScope(IoWrapper wrapper) : previous_(install_io_wrapper(std::move(wrapper))) {}
    ~IoWrapperScope() { install_io_wrapper(std::move(previous_)); }

private:
    IoWrapper previous_;
};

class InstrumentCommands : public testing::Test {
protected:
    // `samples` of a rotating phasor with both marker bits set on every third sample.
    DownloadInput input_for(app::ConnectionConfig configuration, std::size_t samples) const {
        DownloadInput input;
        for (std::size_t n = 0; n < samples; ++n) {
            input.waveform.push_back(std::polar(0.9, 0.01 * static_cast<double>(n)));
            input.markers.push_back(n % 3 == 0 ? 3 : 0);
        }
        configuration.corrections_folder = no_corrections_.path().string();
        input.configuration = configuration;
        return input;
    }

    ScriptedDialogsScope scripted_;

private:
    dot11b::test::TemporaryFolder no_corrections_;
};

// Cancelled as soon as it starts: the instrument's player is restored but
// nothing is stored, and the cancel status is what the user sees.
TEST_F(InstrumentCommands, CancelledDownloadStoresNothingAndSaysSo) {
    instrument::SimulatorProcess sim;
    scripted_->close_next();
    const instrument::DownloadOutcome outcome = download_to_instrument(nullptr, input_for(sim.lan(), 40000));
    const std::vector<std::string> log = test::served_log(sim);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.status, (StatusPair{-1, "Download cancelled"}));
    ASSERT_EQ(scripted_->shown().size(), 2u);
    EXPECT_EQ(scripted_->shown()[1].kind, "error");
    EXPECT_EQ(scripted_->shown()[1].title, "Error Occured During Waveform Download");
    EXPECT_EQ(scripted_->shown()[1].text, "Download cancelled");
    EXPECT_FALSE(has_line_starting(log, ":MMEM:DATA"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), ":OUTPUT:MOD ON");
    EXPECT_FALSE(std::filesystem::exists(sim.store() / "WFM1"));
}

// A reachable instrument that never answers, on short time-outs: the
// download ends in its error dialog.
TEST_F(InstrumentCommands, DeadInstrumentEndsInTheErrorDialog) {
    const IoWrapperScope short_timeouts([](instrument::HwIO io) {
        return [io](std::int32_t code, const app::ConnectionConfig& config, const instrument::HwArgs& args) {
            constexpr auto set_timeout = static_cast<std::int32_t>(instrument::HwOp::SetTimeout);
            io(set_timeout, config, 100.0);
            return code == set_timeout ? StatusPair{} : io(code, config, args);
        };
    });
    const instrument::DeafListener dead;
    app::ConnectionConfig config;
    config.type = "TCPIP";
    config.tcpip.address = "127.0.0.1:" + std::to_string(dead.port());
    scripted_->let_progress_run();
    EXPECT_FALSE(download_to_instrument(nullptr, input_for(config, 1000)).ok);
    ASSERT_EQ(scripted_->shown().size(), 2u);
    EXPECT_EQ(scripted_->shown()[1].title, "Error Occured During Waveform Download");
    EXPECT_NE(scripted_->shown()[1].text.find("within 100 ms"), std::string::npos) << scripted_->shown()[1].text;
}

// 19200 baud and 48000 samples: 32 x 48000 x 1.125 / 19200 / 60 = 1.5 minutes.
TEST_F(InstrumentCommands, LongRs232TransferAsksFirst) {
    for (const std::string answer : {"Cancel", "OK"}) {
        instrument::RecordingModule module;
        const IoWrapperScope recorded([&module](instrument::HwIO) { return module.io(); });
        app::ConnectionConfig config;
        config.type = "RS232";
        config.rs232.baudrate = 19200;
        ScriptedDialogsScope scripted;
        scripted->let_progress_run();
        scripted->answer_question(answer);
        download_to_instrument(nullptr, input_for(config, 48000));
        ASSERT_EQ(scripted->shown().size(), 3u) << answer;
        const ShownDialog& question = scripted->shown()[1];
        EXPECT_EQ(question.title, "RS-232 Download");
        EXPECT_EQ(question.text, "This download will take approximately 1.5 minutes. Do you want to continue?");
        EXPECT_EQ(question.buttons, (std::vector<std::string>{"OK", "Cancel"}));
        EXPECT_EQ(question.default_button, "Cancel");
        const bool downloaded = std::any_of(module.calls.begin(), module.calls.end(),
                                            [](const auto& call) { return call.code == 4; });
        EXPECT_EQ(downloaded, answer == "OK");
        EXPECT_EQ(scripted->shown()[2].text,
                  answer == "OK" ? "Waveform has been successfully transferred to the instrument" : "Download cancelled");
    }
}

}  // namespace
}  // namespace dot11b::gui
