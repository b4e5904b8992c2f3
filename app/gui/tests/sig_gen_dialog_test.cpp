// The connection dialog XR_SigGen, opened through the registry and worked
// through its real controls.

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/gui/figures.hpp"
#include "common/gui/handles.hpp"
#include "frame/library.hpp"
#include "frame/registry.hpp"
#include "simulator_process.hpp"
#include "standin_environment.hpp"

namespace dot11b::gui {
namespace {

using frame::Value;

class ConnectionDialog : public testing::Test {
protected:
    void SetUp() override { frame::initialize(); }
    void TearDown() override { frame::terminate(); }
};

template <class T>
T& control(QDialog& dialog, const char* tag) {
    T* found = dialog.findChild<T*>(tag);
    if (found == nullptr) throw std::runtime_error(std::string("no control ") + tag);
    return *found;
}

QString status(QDialog& dialog) { return control<QLabel>(dialog, "lblStatus").text(); }

// Opens XR_SigGen with `inputs`, lets `act` work the dialog once it is shown
// and returns {response, retConfig}. A dialog left open is cancelled.
frame::Outputs with_dialog(std::vector<Value> inputs, std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    return frame::call_by_name("XR_SigGen", 2, std::move(inputs));
}

void press(QDialog& dialog, const char* tag) { control<QPushButton>(dialog, tag).click(); }

// Chooses an entry as a user does: the list's choice, then its callback.
void choose(QDialog& dialog, const char* tag, const QString& entry) {
    auto& list = control<QComboBox>(dialog, tag);
    list.setCurrentText(entry);
    emit list.activated(list.currentIndex());
}

Value sub(std::vector<std::pair<std::string, Value>> fields) {
    std::vector<std::string> names;
    for (const auto& f : fields) names.push_back(f.first);
    Value record = Value::structure(names);
    for (auto& [name, value] : fields) record.set_field(name, value);
    return record;
}

// Any device, 0 dB, the device's antenna, Auto rate.
const Value kSdrDefaults = sub({{"args", Value::text("")},
                                {"gain", Value::scalar(0)},
                                {"antenna", Value::text("")},
                                {"rate", Value::scalar(0)}});

Value record(const std::string& type, double board, double primary, double secondary, double port, double baud,
             const std::string& handshake, const std::string& address) {
    return sub({{"type", Value::text(type)},
                {"GPIB", sub({{"board", Value::scalar(board)},
                              {"primary", Value::scalar(primary)},
                              {"secondary", Value::scalar(secondary)}})},
                {"RS232", sub({{"port", Value::scalar(port)},
                               {"baudrate", Value::scalar(baud)},
                               {"handshake", Value::text(handshake)}})},
                {"TCPIP", sub({{"address", Value::text(address)}, {"board", Value::scalar(0)}})},
                {"SDR", kSdrDefaults}});
}

const Value kDefaults = record("GPIB", 0, 19, -1, 1, 19200, "Xon/Xoff", "0.0.0.0");

TEST_F(ConnectionDialog, DefaultsClampingAndOldRecords) {
    Value old = sub({{"Connection", Value::scalar(1)}, {"GPIBboard", Value::scalar(0)}, {"Primary", Value::scalar(19)},
                     {"Secondary", Value::scalar(-1)}, {"RS232Port", Value::scalar(2)}, {"BaudRate", Value::scalar(9600)},
                     {"HandShake", Value::scalar(1)}, {"BBGtype", Value::text("002")}});
    Value old_converted = record("RS232", 0, 19, -1, 2, 9600, "Xon/Xoff", "0.0.0.0");
    old_converted = sub({{"BBGtype", Value::text("002")}, {"type", old_converted.field("type")},
                         {"GPIB", old_converted.field("GPIB")}, {"RS232", old_converted.field("RS232")},
                         {"TCPIP", old_converted.field("TCPIP")}, {"SDR", kSdrDefaults}});
    struct Case {
        const char* what;
        std::vector<Value> inputs;
        Value expected;
    };
    const Case cases[] = {
        {"no record", {}, kDefaults},
        {"an empty record", {Value(), Value()}, kDefaults},
        {"primary 40, secondary -5, port 0", {Value(), record("GPIB", 0, 40, -5, 0, 19200, "None", "0.0.0.0")},
         record("GPIB", 0, 30, -1, 1, 19200, "None", "0.0.0.0")},
        {"board 16, speed 115200", {Value(), record("GPIB", 16, 3, 31, 9, 115200, "RTS/CTS", "10.0.0.1")},
         record("GPIB", 15, 3, 31, 9, 38400, "RTS/CTS", "10.0.0.1")},
        {"old record, Connection 1 and HandShake 1", {Value(), old}, old_converted},
    };
    for (const Case& c : cases) {
        // OK with the controls untouched returns what they show; Cancel and
        // closing return the record as converted, whatever was edited.
        EXPECT_EQ(with_dialog(c.inputs, [](QDialog& d) { press(d, "pbOK"); }),
                  (frame::Outputs{Value::text("OK"), c.expected}))
            << c.what;
        for (const bool close : {false, true}) {
            const frame::Outputs out = with_dialog(c.inputs, [close](QDialog& d) {
                choose(d, "pmPrimaryAddress", "5");
                close ? static_cast<void>(d.close()) : press(d, "pbCancel");
            });
            EXPECT_EQ(out, (frame::Outputs{Value::text("Cancel"), c.expected})) << c.what << (close ? " closed" : "");
        }
    }
}

TEST_F(ConnectionDialog, ModelsOfferTheirBusesAndTcpipReadsBackAsTcpip) {
    struct Case {
        const char* model;
        const char* type;
        QStringList buses;
        QString chosen;
    };
    const Case cases[] = {
        {"b", "TCPIP", {"RS232", "GPIB"}, "GPIB"},
        {"C", "RS232", {"GPIB", "TCP/IP"}, "GPIB"},
        {"", "TCPIP", {"RS232", "GPIB", "TCP/IP", "SDR"}, "TCP/IP"},
        {"b", "SDR", {"RS232", "GPIB"}, "GPIB"},
        {"", "sdr", {"RS232", "GPIB", "TCP/IP", "SDR"}, "SDR"},
    };
    for (const Case& c : cases) {
        const Value in = record(c.type, 0, 19, -1, 1, 9600, "None", "192.168.0.10:5025");
        QStringList buses;
        QString chosen;
        std::vector<Value> inputs = {Value(), in};
        if (*c.model != '\0') inputs.push_back(Value::text(c.model));
        const frame::Outputs out = with_dialog(inputs, [&](QDialog& d) {
            auto& bus = control<QComboBox>(d, "pmConnection");
            for (int i = 0; i < bus.count(); ++i) buses << bus.itemText(i);
            chosen = bus.currentText();
            press(d, "pbOK");
        });
        EXPECT_EQ(buses, c.buses) << c.model;
        EXPECT_EQ(chosen, c.chosen) << c.model;
        EXPECT_EQ(out[1].field("type").text(), c.chosen == "TCP/IP" ? "TCPIP" : c.chosen.toStdString()) << c.model;
    }

}

TEST_F(ConnectionDialog, TooltipsTitleAndPlacement) {
    QWidget caller;
    caller.setGeometry(200, 150, 900, 700);
    caller.show();
    with_dialog({Value::scalar(handle_of(&caller)), record("RS232", 0, 19, -1, 1, 9600, "Xon/Xoff", "0.0.0.0"),
                 Value::text("Spectrum Analyzer")},
                [&](QDialog& d) {
                    EXPECT_EQ(d.windowTitle(), "Spectrum Analyzer IO Connection");
                    EXPECT_EQ(d.frameGeometry().top(), caller.frameGeometry().top());
                    EXPECT_NEAR(d.frameGeometry().center().x(), caller.frameGeometry().center().x(), 1);
                    EXPECT_EQ(control<QComboBox>(d, "pmBaudRate").toolTip(),
                              "Select the communication baud rate.\r\nNOTE: This must agree with the instrument.");
                    EXPECT_EQ(control<QComboBox>(d, "pmPrimaryAddress").toolTip(),
                              "Select the primary address of your source.\r\nThe default factory setting is 19.");
                    const QString xon =
                        "Set the Instrument's RS-232 Pace to:\n  Transmit Pace = None\n  Receive Pace  = Xon\n"
                        "  RTS/CTS       = Off";
                    EXPECT_EQ(control<QComboBox>(d, "pmHandShake").toolTip(), xon);
                    EXPECT_EQ(status(d), xon);
                    choose(d, "pmHandShake", "RTS/CTS");
                    const QString rts =
                        "Set the Instrument's RS-232 Pace to:\n  Transmit Pace = None\n  Receive Pace  = None\n"
                        "  RTS/CTS       = RTS/CTS Pacing";
                    EXPECT_EQ(control<QLabel>(d, "lblHandShake").toolTip(), rts);
                    EXPECT_EQ(status(d), rts);
                    choose(d, "pmConnection", "GPIB");
                    EXPECT_EQ(status(d), "");
                });
    with_dialog({}, [](QDialog& d) { EXPECT_EQ(d.windowTitle(), "Signal Generator IO Connection"); });
}

// The check runs off the GUI thread; the status line shows its outcome.
QString checked(QDialog& d, const QString& address) {
    choose(d, "pmConnection", "TCP/IP");
    EXPECT_TRUE(control<QWidget>(d, "configTCPIP").isVisible());
    EXPECT_FALSE(control<QWidget>(d, "configGPIB").isVisible());
    auto& field = control<QLineEdit>(d, "editTCPIPAddress");
    field.clear();
    QTest::keyClicks(&field, address);
    press(d, "pbCheckHardware");
    EXPECT_EQ(status(d), "... Checking ...");
    EXPECT_FALSE(control<QPushButton>(d, "pbOK").isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return control<QPushButton>(d, "pbOK").isEnabled(); }, 20000));
    return status(d);
}

TEST_F(ConnectionDialog, ConnectionCheckShowsTheInstrumentsAnswerOrWhyNot) {
    instrument::SimulatorProcess sim({"--idn", "Maker,ORB,US40051234,1.0"});
    const QString address = "127.0.0.1:" + QString::number(sim.port());
    QString answer, refused, unusable;
    const frame::Outputs out = with_dialog({}, [&](QDialog& d) {
        answer = checked(d, address);
        sim.stop();
        refused = checked(d, address);
        unusable = checked(d, "instrument-7");
        press(d, "pbOK");
    });
    EXPECT_EQ(answer, "Maker,ORB,US40051234,1.0");
    EXPECT_TRUE(refused.contains("Connection refused")) << refused.toStdString();
    EXPECT_TRUE(unusable.contains("\"instrument-7\" is not an IP address")) << unusable.toStdString();
    // What the user typed comes back as typed.
    EXPECT_EQ(out[1].field("type").text(), "TCPIP");
    EXPECT_EQ(out[1].field("TCPIP").field("address").text(), "instrument-7");
}

TEST_F(ConnectionDialog, LocalOperationsAreReachedThroughTheDispatcher) {
    Value position;
    const frame::Outputs out = with_dialog({}, [&](QDialog& d) {
        const Value bus = Value::scalar(handle_of(&control<QComboBox>(d, "pmConnection")));
        position = frame::call_by_name("XR_SigGen", 1, {Value::text("ConvertIndexToString"), bus, Value::scalar(3)})[0];
        const Value ok = Value::scalar(handle_of(&control<QPushButton>(d, "pbOK")));
        frame::call_by_name("XR_SigGen", 0, {Value::text("pbOK_Callback"), ok, Value(), Value()});
    });
    EXPECT_EQ(position, Value::text("TCPIP"));
    EXPECT_EQ(out[0], Value::text("OK"));
}

QStringList entries(QDialog& d, const char* tag) {
    QStringList list;
    auto& box = control<QComboBox>(d, tag);
    for (int i = 0; i < box.count(); ++i) list << box.itemText(i);
    return list;
}

// The SDR panel against the stand-in device module: the devices found, a
// chosen device's arguments, Check naming the driver, hardware and rates or
// why the device cannot be opened, and the settings read back into the record.
TEST_F(ConnectionDialog, SdrPanelFindsChecksAndKeepsTheDevice) {
    test::use_standin_sdr_only();
    QStringList found;
    QString args_of_found, described, refused;
    const frame::Outputs out = with_dialog({}, [&](QDialog& d) {
        choose(d, "pmConnection", "SDR");
        EXPECT_TRUE(control<QWidget>(d, "configSDR").isVisible());
        press(d, "pbSdrRefresh");
        found = entries(d, "pmSdrDevice");
        choose(d, "pmSdrDevice", found.value(0));
        args_of_found = control<QLineEdit>(d, "editSdrArgs").text();
        control<QLineEdit>(d, "editSdrArgs").setText("driver=standin,rates=2e6:20e6");
        press(d, "pbCheckHardware");
        EXPECT_TRUE(QTest::qWaitFor([&] { return control<QPushButton>(d, "pbOK").isEnabled(); }, 20000));
        described = status(d);
        control<QLineEdit>(d, "editSdrArgs").setText("driver=absent");
        press(d, "pbCheckHardware");
        EXPECT_TRUE(QTest::qWaitFor([&] { return control<QPushButton>(d, "pbOK").isEnabled(); }, 20000));
        refused = status(d);
        control<QDoubleSpinBox>(d, "editSdrGain").setValue(-7.5);
        control<QLineEdit>(d, "editSdrAntenna").setText("TX");
        control<QDoubleSpinBox>(d, "editSdrRate").setValue(20);
        press(d, "pbOK");
    });
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].contains("driver=standin")) << found[0].toStdString();
    EXPECT_EQ(args_of_found, found[0]);
    EXPECT_TRUE(described.contains("standin (StandIn-1)")) << described.toStdString();
    EXPECT_TRUE(described.contains("2 MHz") && described.contains("20 MHz")) << described.toStdString();
    EXPECT_TRUE(refused.contains("no SDR device matches \"driver=absent\"")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("driver=standin")) << refused.toStdString();

    const Value& sdr = out[1].field("SDR");
    EXPECT_EQ(out[1].field("type").text(), "SDR");
    EXPECT_EQ(sdr.field("args").text(), "driver=absent");
    EXPECT_EQ(sdr.field("gain"), Value::scalar(-7.5));
    EXPECT_EQ(sdr.field("antenna").text(), "TX");
    EXPECT_EQ(sdr.field("rate"), Value::scalar(20e6));
}

TEST_F(ConnectionDialog, BusSelectionsAndPanelControlsByName) {
    with_dialog({Value(), Value(), Value::text("c")}, [&](QDialog& d) {
        const Value handles = Value::scalar(handle_of(&d));
        const auto selections = [&](const char* type) {
            const Value given = record(type, 0, 19, -1, 1, 9600, "Xon/Xoff", "0.0.0.0");
            return frame::call_by_name("XR_SigGen", 1, {Value::text("UpdateConnectionSelections"), handles, given})[0];
        };
        EXPECT_EQ(selections("RS232").field("type"), Value::text("GPIB"));  // not offered by "c"
        EXPECT_EQ(entries(d, "pmConnection"), (QStringList{"GPIB", "TCP/IP"}));
        EXPECT_EQ(control<QComboBox>(d, "pmConnection").currentText(), "GPIB");
        EXPECT_EQ(selections("TCPIP").field("type"), Value::text("TCPIP"));
        EXPECT_EQ(control<QComboBox>(d, "pmConnection").currentText(), "TCP/IP");

        const Value panel =
            frame::call_by_name("XR_SigGen", 1, {Value::text("addControls"), handles, Value::text("configRS232")})[0];
        for (const char* tag : {"configRS232", "pmPortNumber", "pmBaudRate", "pmHandShake", "lblHandShake"}) {
            ASSERT_TRUE(panel.has_field(tag)) << tag;
            EXPECT_EQ(object_of(panel.field(tag).reals()[0]), &control<QWidget>(d, tag)) << tag;
        }
        EXPECT_FALSE(panel.has_field("pmGpibBoard"));
        EXPECT_FALSE(panel.has_field("pbOK"));
    });
}

// An error while the controls are set shows in the status line, and the
// dialog goes on working.
TEST_F(ConnectionDialog, ControlSettingErrorsReachTheStatusLine) {
    QString shown;
    const frame::Outputs out = with_dialog({}, [&](QDialog& d) {
        const Value handles = Value::scalar(handle_of(&d));
        frame::call_by_name("XR_SigGen", 0, {Value::text("UpdateGuiObjects"), handles});
        shown = status(d);
        choose(d, "pmConnection", "RS232");
        press(d, "pbOK");
    });
    EXPECT_TRUE(shown.contains("config")) << shown.toStdString();
    EXPECT_EQ(out[0], Value::text("OK"));
    EXPECT_EQ(out[1].field("type"), Value::text("RS232"));
}

TEST_F(ConnectionDialog, FontsFollowTheFontScale) {
    set_font_scale(1.5);
    const double expected = 1.5 * QApplication::font().pointSizeF();
    double dialog_size = 0, status_size = 0, panel_size = 0;
    with_dialog({}, [&](QDialog& d) {
        dialog_size = d.font().pointSizeF();
        status_size = control<QLabel>(d, "lblStatus").font().pointSizeF();
        panel_size = control<QComboBox>(d, "pmBaudRate").font().pointSizeF();
    });
    set_font_scale(1);
    EXPECT_DOUBLE_EQ(dialog_size, expected);
    EXPECT_DOUBLE_EQ(status_size, expected);
    EXPECT_DOUBLE_EQ(panel_size, expected);
}

}  // namespace
}  // namespace dot11b::gui
