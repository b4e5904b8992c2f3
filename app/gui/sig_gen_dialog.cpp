#include "app/gui/sig_gen_dialog.hpp"

#include <QEvent>

#include "app/gui/instrument_job.hpp"
#include "instrument/connection_endpoint.hpp"
#include "sdr/soapy/sdr_session.hpp"
#include "ui_config_gpib.h"
#include "ui_config_rs232.h"
#include "ui_config_sdr.h"
#include "ui_config_tcpip.h"
#include "ui_sig_gen_dialog.h"

namespace dot11b::gui {
namespace {

const QString kBaudRateTooltip = QStringLiteral("Select the communication baud rate.\r\nNOTE: This must agree with the instrument.");
const QString kPrimaryAddressTooltip =
    QStringLiteral("Select the primary address of your source.\r\nThe default factory setting is 19.");

// The instrument's pacing to match the handshake at a list position.
QString handshake_tooltip(int position) {
    const char* receive = position == 2 ? "Xon" : "None";
    const char* rts_cts = position == 3 ? "RTS/CTS Pacing" : "Off";
    return QStringLiteral("Set the Instrument's RS-232 Pace to:\n  Transmit Pace = None\n  Receive Pace  = %1\n  RTS/CTS       = %2")
        .arg(QLatin1String(receive), QLatin1String(rts_cts));
}

void fill(QComboBox& box, const std::vector<std::string>& entries) {
    box.clear();
    for (const auto& entry : entries) box.addItem(QString::fromStdString(entry));
}

std::vector<std::string> numbers(int first, int last) {
    std::vector<std::string> entries;
    for (int n = first; n <= last; ++n) entries.push_back(std::to_string(n));
    return entries;
}

std::vector<std::string> entries_of(const QComboBox& box) {
    std::vector<std::string> entries;
    for (int i = 0; i < box.count(); ++i) entries.push_back(box.itemText(i).toStdString());
    return entries;
}

int position_of(const QComboBox& box) { return box.currentIndex() + 1; }
void choose(QComboBox& box, int position) { box.setCurrentIndex(position - 1); }

}  // namespace

SigGenDialog::SigGenDialog(QWidget* parent, instrument::DialogModel model, const app::ConnectionConfig& record)
    : QDialog(parent),
      ui_(std::make_unique<Ui::SigGenDialog>()),
      gpib_(std::make_unique<Ui::ConfigGpib>()),
      rs232_(std::make_unique<Ui::ConfigRs232>()),
      tcpip_(std::make_unique<Ui::ConfigTcpip>()),
      sdr_(std::make_unique<Ui::ConfigSdr>()),
      model_(model) {
    ui_->setupUi(this);
    // The bus panels are pages of one stack; only the chosen bus's shows.
    for (auto* panel : {new QWidget, new QWidget, new QWidget, new QWidget}) ui_->panels->addWidget(panel);
    gpib_->setupUi(ui_->panels->widget(0));
    rs232_->setupUi(ui_->panels->widget(1));
    tcpip_->setupUi(ui_->panels->widget(2));
    sdr_->setupUi(ui_->panels->widget(3));
    fill(*gpib_->pmGpibBoard, numbers(0, 15));
    fill(*gpib_->pmPrimaryAddress, numbers(0, 30));
    std::vector<std::string> secondary = {"None"};
    for (auto& n : numbers(0, 31)) secondary.push_back(std::move(n));
    fill(*gpib_->pmSecondaryAddress, secondary);
    const instrument::SerialDevices devices;
    std::vector<std::string> ports;
    for (int port = 1; port <= 9; ++port) ports.push_back(std::to_string(port) + " (" + devices.device(port) + ")");
    fill(*rs232_->pmPortNumber, ports);
    fill(*rs232_->pmBaudRate, instrument::baud_rate_list());
    fill(*rs232_->pmHandShake, instrument::handshake_list());
    rs232_->pmBaudRate->setToolTip(kBaudRateTooltip);
    gpib_->pmPrimaryAddress->setToolTip(kPrimaryAddressTooltip);

    setTabOrder(ui_->pmConnection, gpib_->pmGpibBoard);
    setTabOrder(gpib_->pmGpibBoard, gpib_->pmPrimaryAddress);
    setTabOrder(gpib_->pmPrimaryAddress, gpib_->pmSecondaryAddress);
    setTabOrder(gpib_->pmSecondaryAddress, rs232_->pmPortNumber);
    setTabOrder(rs232_->pmPortNumber, rs232_->pmBaudRate);
    setTabOrder(rs232_->pmBaudRate, rs232_->pmHandShake);
    setTabOrder(rs232_->pmHandShake, tcpip_->editTCPIPAddress);
    setTabOrder(tcpip_->editTCPIPAddress, sdr_->pmSdrDevice);
    setTabOrder(sdr_->pmSdrDevice, sdr_->pbSdrRefresh);
    setTabOrder(sdr_->pbSdrRefresh, sdr_->editSdrArgs);
    setTabOrder(sdr_->editSdrArgs, sdr_->editSdrGain);
    setTabOrder(sdr_->editSdrGain, sdr_->editSdrAntenna);
    setTabOrder(sdr_->editSdrAntenna, sdr_->editSdrRate);
    setTabOrder(sdr_->editSdrRate, ui_->pbCheckHardware);
    fit_to_font();

    show_record(record);
    update_handshake_tooltip();
    show_controls();
}

SigGenDialog::~SigGenDialog() = default;

void SigGenDialog::place_over(const QWidget& caller) { caller_ = caller.window(); }

// Placed once its size is final, as it is shown.
void SigGenDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!caller_) return;
    const QRect frame = caller_->frameGeometry();
    move(frame.x() + (frame.width() - frameGeometry().width()) / 2, frame.y());
}

app::ConnectionConfig SigGenDialog::update_connection_selections(app::ConnectionConfig record) {
    record.type = instrument::offered_type(record.type, model_);
    const std::vector<std::string> buses = instrument::connection_list(model_);
    fill(*ui_->pmConnection, buses);
    choose(*ui_->pmConnection, instrument::ConvertStringToIndex(buses, record.type));
    return record;
}

void SigGenDialog::show_record(const app::ConnectionConfig& record) {
    shown_ = record;
    const instrument::ConnectionControls c = instrument::controls_for(update_connection_selections(record), model_);
    choose(*gpib_->pmGpibBoard, c.gpib_board);
    choose(*gpib_->pmPrimaryAddress, c.primary_address);
    choose(*gpib_->pmSecondaryAddress, c.secondary_address);
    choose(*rs232_->pmPortNumber, c.port_number);
    choose(*rs232_->pmBaudRate, c.baud_rate);
    choose(*rs232_->pmHandShake, c.handshake);
    tcpip_->editTCPIPAddress->setText(QString::fromStdString(c.tcpip_address));
    sdr_->editSdrArgs->setText(QString::fromStdString(record.sdr.args));
    sdr_->editSdrGain->setValue(record.sdr.gain);
    sdr_->editSdrAntenna->setText(QString::fromStdString(record.sdr.antenna));
    sdr_->editSdrRate->setValue(record.sdr.rate / 1e6);
}

app::ConnectionConfig SigGenDialog::record() const {
    instrument::ConnectionControls c;
    c.connection_list = entries_of(*ui_->pmConnection);
    c.connection = position_of(*ui_->pmConnection);
    c.gpib_board = position_of(*gpib_->pmGpibBoard);
    c.primary_address = position_of(*gpib_->pmPrimaryAddress);
    c.secondary_address = position_of(*gpib_->pmSecondaryAddress);
    c.port_number = position_of(*rs232_->pmPortNumber);
    c.baud_rate = position_of(*rs232_->pmBaudRate);
    c.handshake = position_of(*rs232_->pmHandShake);
    c.tcpip_address = tcpip_->editTCPIPAddress->text().toStdString();
    app::ConnectionConfig record = instrument::UpdateConfig(c, shown_);
    record.sdr.args = sdr_->editSdrArgs->text().trimmed().toStdString();
    record.sdr.gain = sdr_->editSdrGain->value();
    record.sdr.antenna = sdr_->editSdrAntenna->text().trimmed().toStdString();
    record.sdr.rate = sdr_->editSdrRate->value() * 1e6;
    return record;
}

QWidget* SigGenDialog::panel(const std::string& tag) const {
    return ui_->panels->findChild<QWidget*>(QString::fromStdString(tag), Qt::FindDirectChildrenOnly);
}

void SigGenDialog::show_status(const QString& text) { ui_->lblStatus->setText(text); }

void SigGenDialog::show_controls() {
    const std::string bus =
        instrument::ConvertIndexToString(entries_of(*ui_->pmConnection), position_of(*ui_->pmConnection));
    // Each panel is named after its bus: configGPIB, configRS232, configTCPIP, configSDR.
    if (QWidget* chosen = panel("config" + bus)) ui_->panels->setCurrentWidget(chosen);
    if (bus == "SDR" && sdr_->pmSdrDevice->count() == 0) refresh_sdr_devices();
}

void SigGenDialog::refresh_sdr_devices() {
    QComboBox& list = *sdr_->pmSdrDevice;
    list.clear();
    try {
        for (const std::string& device : sdr::list_devices()) list.addItem(QString::fromStdString(device));
        if (list.count() == 0) ui_->lblStatus->setText(QStringLiteral("SoapySDR finds no SDR."));
    } catch (const std::exception& e) {
        ui_->lblStatus->setText(QString::fromStdString(e.what()));
    }
    // The device of the arguments shown, when it is among those found.
    list.setCurrentIndex(list.findText(sdr_->editSdrArgs->text()));
    list.setPlaceholderText(list.count() == 0 ? QStringLiteral("none found")
                                              : QStringLiteral("%1 found").arg(list.count()));
}

void SigGenDialog::sdr_device_chosen() {
    if (sdr_->pmSdrDevice->currentIndex() >= 0) sdr_->editSdrArgs->setText(sdr_->pmSdrDevice->currentText());
}

void SigGenDialog::update_handshake_tooltip() {
    const QString tip = handshake_tooltip(position_of(*rs232_->pmHandShake));
    rs232_->pmHandShake->setToolTip(tip);
    rs232_->lblHandShake->setToolTip(tip);
    if (record().type == "RS232") ui_->lblStatus->setText(tip);
}

void SigGenDialog::connection_chosen() {
    show_controls();
    ui_->lblStatus->clear();
    if (record().type == "RS232") update_handshake_tooltip();
}

void SigGenDialog::check_hardware() {
    if (checking_) return;
    checking_ = true;
    set_buttons_enabled(false);
    busy_.emplace(this);
    ui_->lblStatus->setText(QStringLiteral("... Checking ..."));
    // An SDR is opened on the worker too: some take seconds to answer.
    auto result = std::make_shared<std::string>();
    check_ = std::make_unique<InstrumentJob>(this, [config = record(), result](InstrumentJob&, const instrument::HwIO& io) {
        *result = config.type == "SDR" ? sdr::describe_device(config.sdr.args) : instrument::VerifyComm(io, config).description;
    });
    connect(check_.get(), &ProgressTask::finished, this, [this, result] { finish_check(*result, check_->error()); });
    check_->start();
}

void SigGenDialog::finish_check(const std::string& text, const std::optional<std::string>& error) {
    ui_->lblStatus->setText(QString::fromStdString(error ? *error : text));
    busy_.reset();
    set_buttons_enabled(true);
    checking_ = false;
}

void SigGenDialog::set_buttons_enabled(bool enabled) {
    for (QPushButton* button : {ui_->pbOK, ui_->pbCancel, ui_->pbCheckHardware}) button->setEnabled(enabled);
}

void SigGenDialog::reject() {
    if (!checking_) QDialog::reject();
}

void SigGenDialog::accept() {
    if (!checking_) QDialog::accept();
}

void SigGenDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange) fit_to_font();
}

// Room for the four lines of the handshake hint and for the address hint, in the dialog's font.
void SigGenDialog::fit_to_font() {
    QLineEdit& address = *tcpip_->editTCPIPAddress;
    address.setMinimumWidth(address.fontMetrics().horizontalAdvance(address.placeholderText() + "  "));
    const int frame = 2 * ui_->lblStatus->frameWidth() + ui_->lblStatus->contentsMargins().top() +
                      ui_->lblStatus->contentsMargins().bottom();
    ui_->lblStatus->setMinimumHeight(4 * ui_->lblStatus->fontMetrics().lineSpacing() + frame);
}

}  // namespace dot11b::gui
