// Download, Refresh and Sig Gen I/O from the main window, against sgsim.

#include <algorithm>

#include <QLineEdit>
#include <QPushButton>

#include "app/configuration_file.hpp"
#include "app/gui/tests/studio_fixture.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/testing/file_contents.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "served_log.hpp"
#include "simulator_process.hpp"

namespace dot11b::gui::test {
namespace {

// The instrument's correction file for the carrier is there but unreadable:
// the waveform goes uncorrected and the closing message says why.
TEST_F(Studio, DownloadAsksForTheWaveformFirstAndRefreshSendsOnlyTheSettings) {
    instrument::SimulatorProcess sim({"--idn", "Maker,ORB,US40051234,1.0"});
    // LAN comes from a saved configuration: the "b" platform's dialog offers RS-232 and GPIB.
    app::ConnectionConfig lan = sim.lan();
    lan.corrections_folder = folder_.path().string();
    store(lan);
    dot11b::test::write_text(folder_ / "US40051234 2.4 GHz.mat", "not a MAT-file");

    dialogs_->answer_question("Cancel");
    click("pbDownload");
    dialogs_->answer_question("Calculate & Download");
    dialogs_->let_progress_run();
    click("pbDownload");
    dialogs_->let_progress_run();
    click("pbRefresh");
    const std::vector<std::string> log = served_log(sim);

    const std::vector<ShownDialog>& shown = dialogs_->shown();
    ASSERT_EQ(shown.size(), 5u);
    for (const std::size_t question : {0, 1}) {
        EXPECT_EQ(shown[question].title, "Waveform Not Calculated");
        EXPECT_EQ(shown[question].text,
                  "The waveform has not yet been calculated. Do you wish to calculate\nthe waveform and then download ?");
        EXPECT_EQ(shown[question].buttons, (std::vector<std::string>{"Calculate & Download", "Cancel"}));
    }
    EXPECT_EQ(shown[2].kind, "progress");
    EXPECT_EQ(shown[3].title, "Download Completed");
    EXPECT_TRUE(shown[3].text.starts_with("Waveform has been successfully transferred to the instrument\n\n"));
    EXPECT_NE(shown[3].text.find((folder_ / "US40051234 2.4 GHz.mat").string()), std::string::npos) << shown[3].text;
    EXPECT_EQ(shown[4].kind, "progress");
    EXPECT_EQ(main_->cursor().shape(), Qt::ArrowCursor);

    const Samples waveform = frame::to_samples(frame::Inputs("test", {frame::global(frame::Global::waveform)}), 0, "waveform");
    ASSERT_FALSE(waveform.empty());
    const auto wfm = waveform_files::wfm_bytes(waveform);
    EXPECT_EQ(dot11b::test::read_text(sim.store() / "WFM1" / "dot11b"), std::string(wfm.begin(), wfm.end()));
    // One waveform block, from the download; the refresh is the playback set-up alone.
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& line) { return line.starts_with(":MMEM:DATA \"WFM1:"); }), 1);
    ASSERT_GE(log.size(), 12u);
    EXPECT_EQ(log[log.size() - 12], " :source:rad:arb:state off");
    EXPECT_EQ(log.back(), ":SYST:COMM:GTL");

    // With the instrument gone, Refresh reports the failed set-up.
    dialogs_->let_progress_run();
    click("pbRefresh");
    ASSERT_EQ(dialogs_->shown().size(), 7u);
    EXPECT_EQ(dialogs_->shown()[6].title, "Error Occured During Instrument Setup");
    EXPECT_NE(dialogs_->shown()[6].text.find("Connection refused"), std::string::npos) << dialogs_->shown()[6].text;
}

// Chooses an entry of the dialog's list as a user does: the choice, then its callback.
void choose_in(QDialog& dialog, const char* tag, const QString& entry) {
    auto* list = dialog.findChild<QComboBox*>(tag);
    list->setCurrentText(entry);
    emit list->activated(list->currentIndex());
}

TEST_F(Studio, ConnectionChosenInTheDialogIsWrittenAtExitAndReadBackAtStart) {
    dialogs_->answer_window([](QDialog& d) {
        choose_in(d, "pmConnection", "RS232");
        choose_in(d, "pmPortNumber", "3 (/dev/ttyS2)");
        choose_in(d, "pmBaudRate", "38400");
        d.findChild<QPushButton*>("pbOK")->click();
    });
    menu("menuConfigSigGenIO");
    menu("menuFileExit");
    settle();
    const app::ConnectionConfig saved = app::load_configuration_file(folder_ / std::string(app::kConfigurationFileName));
    EXPECT_EQ(saved.type, "RS232");
    EXPECT_EQ(saved.rs232.port, 3);
    EXPECT_EQ(saved.rs232.baudrate, 38400);

    start();
    QString bus, port;
    dialogs_->answer_window([&](QDialog& d) {
        bus = d.findChild<QComboBox*>("pmConnection")->currentText();
        port = d.findChild<QComboBox*>("pmPortNumber")->currentText();
        d.findChild<QPushButton*>("pbCancel")->click();
    });
    menu("menuConfigSigGenIO");
    EXPECT_EQ(bus, "RS232");
    EXPECT_TRUE(port.startsWith("3 ")) << port.toStdString();
    EXPECT_EQ(configuration().rs232.baudrate, 38400);

    // The hidden Spec An I/O item edits its own record, all buses offered.
    QStringList buses;
    dialogs_->answer_window([&](QDialog& d) {
        auto* list = d.findChild<QComboBox*>("pmConnection");
        for (int i = 0; i < list->count(); ++i) buses << list->itemText(i);
        choose_in(d, "pmConnection", "TCP/IP");
        d.findChild<QPushButton*>("pbOK")->click();
    });
    menu("menuConfigSpecAnIO");
    EXPECT_EQ(dialogs_->shown().back().title, "Spectrum Analyzer IO Connection");
    EXPECT_EQ(buses, (QStringList{"RS232", "GPIB", "TCP/IP", "SDR"}));
    EXPECT_EQ(frame::global(frame::Global::configurationSA).field("type"), frame::Value::text("TCPIP"));
    EXPECT_EQ(configuration().type, "RS232");
}

TEST_F(Studio, SigGenIoOffersEveryBusAndKeepsALanConnection) {
    QStringList buses;
    dialogs_->answer_window([&](QDialog& d) {
        auto* list = d.findChild<QComboBox*>("pmConnection");
        for (int i = 0; i < list->count(); ++i) buses << list->itemText(i);
        choose_in(d, "pmConnection", "TCP/IP");
        d.findChild<QLineEdit*>("editTCPIPAddress")->setText("192.168.1.20:5025");
        d.findChild<QPushButton*>("pbOK")->click();
    });
    menu("menuConfigSigGenIO");
    EXPECT_EQ(dialogs_->shown().back().title, "Signal Generator IO Connection");
    EXPECT_EQ(buses, (QStringList{"RS232", "GPIB", "TCP/IP", "SDR"}));
    EXPECT_EQ(configuration().type, "TCPIP");
    EXPECT_EQ(configuration().tcpip.address, "192.168.1.20:5025");

    dialogs_->answer_window([](QDialog& d) { d.findChild<QPushButton*>("pbOK")->click(); });
    menu("menuConfigSigGenIO");
    EXPECT_EQ(configuration().type, "TCPIP");
}

}  // namespace
}  // namespace dot11b::gui::test
