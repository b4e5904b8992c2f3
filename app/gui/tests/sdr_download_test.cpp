// Download on the SDR bus, worked through the main window against the
// stand-in SoapySDR device module.

#include <filesystem>
#include <string>

#include <QAbstractButton>

#include "app/configuration_file.hpp"
#include "app/gui/tests/studio_fixture.hpp"
#include "common/testing/file_contents.hpp"
#include "standin_environment.hpp"

namespace dot11b::gui::test {
namespace {

// Download plays without a modal wait: the button reads "Stop", the status
// line counts the periods and the device receives samples; Refresh re-tunes
// it while it plays; Stop closes the device and gives the button back.
TEST_F(Studio, SdrDownloadPlaysInTheBackgroundUntilStop) {
    dot11b::test::use_standin_sdr_only();
    const std::string log = (folder_ / "settings.log").string();
    const std::filesystem::path played = folder_ / "played.cf32";
    app::ConnectionConfig radio;
    radio.type = "SDR";
    // Real-time pace and a bounded recording keep the test small.
    radio.sdr = {"driver=standin,realtime=1,record_limit=100000,settings_log=" + log + ",record=" + played.string(),
                 12, "TX", 0};
    store(radio);
    app::SigGenSettings settings = sig_gen_settings();
    settings.frequency = 2.437e9;
    store(settings);

    const QString download = text("pbDownload");
    dialogs_->answer_question("Calculate & Download");
    click("pbDownload");
    EXPECT_EQ(text("pbDownload"), "Stop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return status_message(main_).contains("periods played"); }, 20000))
        << status_message(main_).toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::filesystem::exists(played) && std::filesystem::file_size(played) > 0; }, 20000));
    EXPECT_TRUE(status_message(main_).startsWith("Playing on standin (StandIn-1) at ")) << status_message(main_).toStdString();

    // Refresh re-tunes the device that plays: no second opening or stream.
    settings.frequency = 2.462e9;
    store(settings);
    radio.sdr.gain = 30;
    store(radio);
    click("pbRefresh");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const std::string received = dot11b::test::read_text(log);
            return received.find("tx frequency 2462000000\ntx gain 30\n") != std::string::npos;
        },
        20000))
        << dot11b::test::read_text(log);

    click("pbDownload");
    EXPECT_EQ(text("pbDownload"), download);
    EXPECT_TRUE(status_message(main_).startsWith("Stopped: standin (StandIn-1)")) << status_message(main_).toStdString();
    // The question before the download is the only dialog: no progress wait.
    ASSERT_EQ(dialogs_->shown().size(), 1u);

    const std::string received = dot11b::test::read_text(log);
    for (const char* line : {"open\n", "tx frequency 2437000000\n", "tx gain 12\n", "tx antenna TX\n"}) {
        EXPECT_NE(received.find(line), std::string::npos) << line << " in\n" << received;
    }
    EXPECT_NE(received.find("tx closed after "), std::string::npos) << received;
    const auto count = [&](const std::string& line) {
        std::size_t n = 0;
        for (std::size_t at = received.find(line); at != std::string::npos; at = received.find(line, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("open\n"), 1u) << received;
    EXPECT_EQ(count("tx stream "), 1u) << received;
    EXPECT_TRUE(received.ends_with("close\n")) << received;
}

// Exit stops the playing and closes the device before the window goes; the
// SDR settings are kept in the configuration file.
TEST_F(Studio, ExitStopsTheSdrFirst) {
    dot11b::test::use_standin_sdr_only();
    const std::string log = (folder_ / "settings.log").string();
    app::ConnectionConfig radio;
    radio.type = "SDR";
    radio.sdr = {"driver=standin,realtime=1,settings_log=" + log, 5, "", 22e6};
    store(radio);
    dialogs_->answer_question("Calculate & Download");
    click("pbDownload");
    EXPECT_TRUE(QTest::qWaitFor([&] { return dot11b::test::read_text(log).find("tx stream ") != std::string::npos; }, 20000));

    menu("menuFileExit");
    settle();
    const std::string received = dot11b::test::read_text(log);
    EXPECT_NE(received.find("tx rate 22000000\n"), std::string::npos) << received;
    EXPECT_TRUE(received.ends_with("close\n")) << received;
    EXPECT_EQ(app::load_configuration_file(folder_ / std::string(app::kConfigurationFileName)).sdr, radio.sdr);
}

}  // namespace
}  // namespace dot11b::gui::test
