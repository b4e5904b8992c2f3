// The main window's instrument commands over the global records.

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/gui/instrument_commands.hpp"
#include "frame/globals.hpp"
#include "frame/library.hpp"

namespace dot11b::gui {
namespace {

using frame::Global;
using frame::Value;

class InstrumentMenu : public testing::Test {
protected:
    void SetUp() override { frame::initialize(); }
    void TearDown() override { frame::terminate(); }
};

// Runs `act` on the connection dialog that `command` opens.
void on_dialog(const std::function<void(QWidget*)>& command, std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    command(nullptr);
}

QStringList buses(QDialog& d) {
    QStringList entries;
    auto* bus = d.findChild<QComboBox*>("pmConnection");
    for (int i = 0; i < bus->count(); ++i) entries << bus->itemText(i);
    return entries;
}

void choose_lan(QDialog& d, const QString& address) {
    d.findChild<QComboBox*>("pmConnection")->setCurrentText("TCP/IP");
    d.findChild<QLineEdit*>("editTCPIPAddress")->setText(address);
}

TEST_F(InstrumentMenu, SigGenAndSpecAnEditTheirOwnRecords) {
    Value info = Value::structure({"Platform"});
    info.set_field("Platform", Value::text("b"));
    frame::global(Global::appInfo) = info;

    // The platform "b" offers RS-232 and GPIB; OK replaces the configuration.
    on_dialog(edit_sig_gen_connection, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Signal Generator IO Connection");
        EXPECT_EQ(buses(d), (QStringList{"RS232", "GPIB"}));
        d.findChild<QComboBox*>("pmConnection")->setCurrentText("RS232");
        d.findChild<QPushButton*>("pbOK")->click();
    });
    EXPECT_EQ(frame::global(Global::configuration).field("type"), Value::text("RS232"));
    EXPECT_TRUE(frame::global(Global::configurationSA).empty());

    // Cancel leaves the analyser's record as it was; OK replaces it alone.
    on_dialog(edit_spec_an_connection, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Spectrum Analyzer IO Connection");
        EXPECT_EQ(buses(d), (QStringList{"RS232", "GPIB", "TCP/IP"}));
        choose_lan(d, "10.0.0.9");
        d.findChild<QPushButton*>("pbCancel")->click();
    });
    EXPECT_TRUE(frame::global(Global::configurationSA).empty());
    on_dialog(edit_spec_an_connection, [](QDialog& d) {
        choose_lan(d, "10.0.0.9");
        d.findChild<QPushButton*>("pbOK")->click();
    });
    EXPECT_EQ(frame::global(Global::configurationSA).field("TCPIP").field("address"), Value::text("10.0.0.9"));
    EXPECT_EQ(frame::global(Global::configuration).field("type"), Value::text("RS232"));
}

}  // namespace
}  // namespace dot11b::gui
