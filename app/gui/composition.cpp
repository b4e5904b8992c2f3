#include "app/gui/composition.hpp"

#include <QDialog>
#include <QWidget>

#include <vector>

#include "app/gui/callbacks.hpp"
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
      "chkEncoderActive", "pdChannels", "pdPowerRamp", "txtRampTime", "txtIdleInterval", "pdOversampleRate",
      "pdFilterType", "txtFilterFactor", "txtFilterTaps", "chkMirrorSpectrum", "chkMACheader", "chkMACfcs",
      "pbMACheaderSetup", "pdDATAsourceType", "txtDataLength"}},
    {"ORBconfig",
     {"pdReconFilter", "txtAmplitude", "chkRFblanking", "tbArbRefSource", "tbMarkerPolarity", "pdFrequencyUnits",
      "txtFrequency", "pdSamplingRateUnits", "txtSamplingRate", "txtWaveformTitle"}},
    {"rfCommonUI", {"pbCalculate"}},
};

QObject* control(QWidget* window, const QString& tag) {
    auto* found = window->findChild<QObject*>(tag);
    if (found == nullptr) throw ConfigError("The window " + window->objectName().toStdString() + " has no control " + tag.toStdString());
    return found;
}

}  // namespace

void connect_main_window(QWidget* main) {
    for (const auto& [script, tags] : kMainWindow) {
        for (const char* tag : tags) connect_callback(control(main, tag), script, std::string(tag) + "_Callback");
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
