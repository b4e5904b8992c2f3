#include "app/gui/composition.hpp"

#include <QDialog>
#include <QWidget>

#include <vector>

#include "app/gui/callbacks.hpp"
#include "app/gui/main_controller.hpp"
#include "app/gui/orb_config.hpp"
#include "app/gui/shell.hpp"
#include "common/errors.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::gui {
namespace {

struct ScriptControls {
    const char* script;
    std::vector<const char*> tags;  // each calls <tag>_Callback
};

const ScriptControls kMainWindow[] = {
    {"dot11b_GUI_b",
     {"tbGenerationMode", "pdDataRate", "pdModulation", "pdPreambleFormat", "chkClkLocked", "pdScrambler",
      "chkEncoderActive", "pdChannels", "pdPowerRamp", "txtRampTime", "txtIdleInterval", "txtFrames", "pdOversampleRate",
      "pdFilterType", "txtFilterFactor", "txtFilterTaps", "chkMirrorSpectrum", "chkMACheader", "chkMACfcs",
      "pbMACheaderSetup", "pdDATAsourceType", "txtDataLength"}},
    {"ORBconfig",
     {"pdReconFilter", "txtAmplitude", "chkRFblanking", "tbArbRefSource", "tbMarkerPolarity", "pdFrequencyUnits",
      "txtFrequency", "pdSamplingRateUnits", "txtSamplingRate", "txtWaveformTitle"}},
    {"rfCommonUI", {"pbCalculate", "pbDownload", "pbRefresh"}},
};

// The local function table of each window script.
const frame::LocalTable& script_table(std::string_view script) {
    if (script == "dot11b_GUI_b") return main_window::table();
    if (script == "ORBconfig") return orb_config::table();
    return shell::table();
}

QObject* control(QWidget* window, const QString& tag) {
    auto* found = window->findChild<QObject*>(tag);
    if (found == nullptr) throw ConfigError("The window " + window->objectName().toStdString() + " has no control " + tag.toStdString());
    return found;
}

}  // namespace

// A control whose callback its script does not have yet stays disabled.
void connect_main_window(QWidget* main) {
    for (const auto& [script, tags] : kMainWindow) {
        for (const char* tag : tags) {
            const std::string callback = std::string(tag) + "_Callback";
            QObject* c = control(main, tag);
            if (script_table(script).find(callback) == nullptr) {
                qobject_cast<QWidget*>(c)->setEnabled(false);
                continue;
            }
            connect_callback(c, script, callback);
        }
    }
}

void connect_mac_header_window(QDialog* window) {
    for (const mac::MacField field : mac::kMacFields) {
        const QString name = QString::fromUtf8(mac::mac_field_name(field).data(), static_cast<int>(mac::mac_field_name(field).size()));
        connect_callback(control(window, "txt" + name), "dot11_MACconfig", "Field_Callback");
        connect_callback(control(window, "chk" + name), "dot11_MACconfig", "Field_Callback");
    }
    connect_callback(control(window, "pbOK"), "dot11_MACconfig", "pbOK_Callback");
    connect_callback(control(window, "pbCancel"), "dot11_MACconfig", "pbCancel_Callback");
    QObject::connect(window, &QDialog::rejected, window,
                     [window] { run_callback("dot11_MACconfig", "close_Callback", window); });
}

}  // namespace dot11b::gui
