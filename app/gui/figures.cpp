#include "app/gui/figures.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>

#include "app/gui/callbacks.hpp"
#include "app/gui/status_line.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/gui/window_font.hpp"
#include "ui_about_window.h"
#include "ui_mac_header_window.h"
#include "ui_main_window.h"
#include "ui_splash_window.h"

namespace dot11b::gui {
namespace {

double& font_scale() {
    static double factor = 1;
    return factor;
}

std::chrono::milliseconds& splash_time() {
    static std::chrono::milliseconds duration{3000};
    return duration;
}

QString field_text(const frame::Value& record, const char* field) {
    if (record.kind() != frame::Value::Kind::Struct || !record.has_field(field)) return {};
    const frame::Value& v = record.field(field);
    return v.kind() == frame::Value::Kind::Char ? QString::fromStdString(v.text()) : QString();
}

// The product name in a window's heading: larger and bold.
void emphasise(QLabel* heading) {
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    heading->setFont(font);
}

}  // namespace

MainFigure::MainFigure() {
    Ui::MainWindow ui;
    ui.setupUi(this);
    // The file name's row keeps its room, so the window is sized for it from
    // the start (the generator panel has room to spare for its warnings).
    QSizePolicy policy = ui.txtDataSourceName->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui.txtDataSourceName->setSizePolicy(policy);
    clear_status(this);
}

void MainFigure::close_for_good() {
    closing_ = true;
    // Queued: called from the close box's own close event, a nested close() would be ignored.
    QTimer::singleShot(0, this, [this] {
        close();
        deleteLater();
    });
}

void MainFigure::closeEvent(QCloseEvent* event) {
    if (closing_) return event->accept();
    event->ignore();
    run_callback("rfCommonUI", "menuFileExit_Callback", this);
}

MainFigure* load_main_window() { return new MainFigure; }

QDialog* load_mac_header_window(QWidget* parent) {
    auto* window = new QDialog(parent);
    Ui::MacHeaderWindow ui;
    ui.setupUi(window);
    window->setModal(true);
    clear_status(window);
    return window;
}

void set_font_scale(double factor) { font_scale() = factor; }

void resize_all_fonts(QWidget* window) {
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * font_scale());
    set_window_font(window, font);
}

QSize contents_size(QWidget* window) {
    // Texts and fonts set since the window was built are measured first.
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // A scroll area asks for little room of its own; the window grows by
    // what its whole contents need beyond that.
    const QSize hint = window->sizeHint();
    auto* scroll = window->findChild<QScrollArea*>();
    if (scroll == nullptr || scroll->widget() == nullptr) return hint;
    // Room for a scroll bar too: a window one bar short of its contents would show both.
    const int slack = 2 * scroll->frameWidth() + scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize needed = scroll->widget()->sizeHint() + QSize(slack, slack);
    return hint + (needed - scroll->sizeHint()).expandedTo(QSize(0, 0));
}

void fit_and_center(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return window->resize(contents_size(window));
    const QRect available = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    window->resize(contents_size(window).boundedTo(available.size() - frame));
    QRect placed(QPoint(), window->size() + frame);
    placed.moveCenter(available.center());
    window->move(placed.topLeft());
}

void position_child_window(QWidget* child, QWidget* parent) {
    child->adjustSize();
    QRect placed(QPoint(), child->size());
    placed.moveCenter(parent->geometry().center());
    child->move(placed.topLeft());
}

void set_splash_minimum(std::chrono::milliseconds duration) { splash_time() = duration; }
std::chrono::milliseconds splash_minimum() { return splash_time(); }

QWidget* show_splash() {
    auto* splash = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    Ui::SplashWindow ui;
    ui.setupUi(splash);
    resize_all_fonts(splash);
    emphasise(ui.lblProduct);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    fit_and_center(splash);
    splash->show();
    QApplication::processEvents();
    return splash;
}

void wait_out_splash(std::chrono::steady_clock::time_point shown) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - shown);
    if (elapsed >= splash_time()) return;
    QEventLoop loop;
    QTimer::singleShot(splash_time() - elapsed, &loop, &QEventLoop::quit);
    loop.exec();
}

void run_about_window(QWidget* parent, const frame::Value& app_info) {
    QDialog window(parent);
    Ui::AboutWindow ui;
    ui.setupUi(&window);
    resize_all_fonts(&window);
    emphasise(ui.lblProduct);
    ui.lblName->setText(field_text(app_info, "Name"));
    ui.lblRevision->setText("Revision " + field_text(app_info, "Rev") + ", " + field_text(app_info, "Date"));
    QStringList notes{field_text(app_info, "Notes")};
    for (int line = 2; line <= 7; ++line) notes << field_text(app_info, ("NotesLine" + std::to_string(line)).c_str());
    ui.lblNotes->setText(notes.join('\n'));
    QObject::connect(ui.pbClose, &QPushButton::clicked, &window, &QDialog::accept);
    if (parent) position_child_window(&window, parent);
    dialogs().run_window(window);
}

}  // namespace dot11b::gui
