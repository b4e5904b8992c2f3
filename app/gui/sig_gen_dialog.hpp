#pragma once
// The instrument connection dialog: the bus, the panel of that bus, a status
// line and the connection check. It shows a connection record and hands one
// back; the record logic (defaults, clamping, lists, the mapping to control
// positions) is the instrument layer's.

#include <memory>
#include <optional>
#include <string>

#include <QDialog>
#include <QPointer>

#include "app/records.hpp"
#include "common/gui/busy_pointer.hpp"
#include "instrument/connection_config.hpp"
#include "instrument/status_pair.hpp"

namespace Ui {
class SigGenDialog;
class ConfigGpib;
class ConfigRs232;
class ConfigTcpip;
class ConfigSdr;
}  // namespace Ui

namespace dot11b::gui {

class InstrumentJob;

class SigGenDialog final : public QDialog {
public:
    // Shows `record` (converted and clamped by the caller) for `model`; the
    // application's own fields of `record` come back unchanged.
    SigGenDialog(QWidget* parent, instrument::DialogModel model, const app::ConnectionConfig& record);
    ~SigGenDialog() override;

    // Shown centred horizontally on `caller`, top edges level.
    void place_over(const QWidget& caller);

    // Sets every control from the record; a bus the model does not offer
    // shows as GPIB.
    void show_record(const app::ConnectionConfig& record);
    // Gives the bus list the buses of the model and chooses the record's bus;
    // returns the record with a bus the model does not offer changed to GPIB.
    app::ConnectionConfig update_connection_selections(app::ConnectionConfig record);
    // The record read back from the controls.
    app::ConnectionConfig record() const;
    // The panel of a bus, by its tag (configGPIB, configRS232, configTCPIP, configSDR);
    // nullptr for any other tag.
    QWidget* panel(const std::string& tag) const;
    // A text in the status line: a check's outcome, a hint or an error.
    void show_status(const QString& text);
    // Shows the panel of the chosen bus and hides the others.
    void show_controls();
    // The handshake tooltip of the chosen pacing; also the status line for RS-232.
    void update_handshake_tooltip();

    // The handlers of the bus list and the check button; the script connects
    // the controls to its callbacks, which call these.
    void connection_chosen();
    void check_hardware();
    // The SDR panel's device list: looks for devices again; choosing one
    // fills in its device arguments.
    void refresh_sdr_devices();
    void sdr_device_chosen();

    // OK, and Cancel, Esc and the close button; refused while a check is
    // running, so the check never outlives the dialog.
    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fit_to_font();
    void finish_check(const std::string& text, const std::optional<std::string>& error);
    void set_buttons_enabled(bool enabled);

    std::unique_ptr<Ui::SigGenDialog> ui_;
    std::unique_ptr<Ui::ConfigGpib> gpib_;
    std::unique_ptr<Ui::ConfigRs232> rs232_;
    std::unique_ptr<Ui::ConfigTcpip> tcpip_;
    std::unique_ptr<Ui::ConfigSdr> sdr_;
    instrument::DialogModel model_;
    app::ConnectionConfig shown_;  // keeps the application's fields for record()
    std::unique_ptr<InstrumentJob> check_;
    bool checking_ = false;
    std::optional<BusyPointer> busy_;
    QPointer<const QWidget> caller_;
};

}  // namespace dot11b::gui
