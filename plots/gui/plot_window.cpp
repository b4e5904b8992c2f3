#include "plots/gui/plot_window.hpp"

#include <QApplication>
#include <QClipboard>
#include <QPrinter>
#include <QVBoxLayout>

#include "common/gui/dialog_service.hpp"
#include "ui_plot_window.h"

namespace dot11b::plot_windows {
namespace {

QPointer<PlotWindow>& current_window() {
    static QPointer<PlotWindow> window;
    return window;
}

}  // namespace

PlotWindow::PlotWindow(const QString& tag) : ui_(std::make_unique<Ui::PlotWindow>()) {
    ui_->setupUi(this);
    setObjectName(tag);
    setAttribute(Qt::WA_DeleteOnClose);
    ui_->actionPrint->setShortcut(QKeySequence::Print);
    ui_->actionClose->setShortcut(QKeySequence::Close);
    ui_->actionCopy->setShortcut(QKeySequence::Copy);
    ui_->plot->addActions({ui_->actionCopy, ui_->actionPrint, ui_->XR_Zoom, ui_->XR_ZoomReset});

    connect(ui_->actionPrint, &QAction::triggered, this, &PlotWindow::print);
    connect(ui_->actionPrintSetup, &QAction::triggered, this, &PlotWindow::print_setup);
    connect(ui_->actionClose, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionCopy, &QAction::triggered, this, &PlotWindow::copy);
    connect(ui_->XR_Zoom, &QAction::toggled, this, &PlotWindow::set_zoom_mode);
    connect(ui_->XR_ZoomReset, &QAction::triggered, this, &PlotWindow::zoom_reset);
    ui_->menuViews->menuAction()->setVisible(false);
    current_window() = this;
}

PlotWindow::~PlotWindow() = default;

PlotCanvas& PlotWindow::canvas() const { return *ui_->plot; }

void PlotWindow::add_panel_below(QWidget* panel) {
    auto* parts = new QWidget;
    auto* layout = new QVBoxLayout(parts);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* part : {takeCentralWidget(), panel}) {
        // Equal halves, whatever height either part would ask for.
        part->setSizePolicy(part->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
        layout->addWidget(part, 1);
    }
    setCentralWidget(parts);
}

void PlotWindow::offer_chip_views(const std::function<void()>& constellation, const std::function<void()>& chip_evm) {
    connect(ui_->XR_PlotConstellation, &QAction::triggered, this, constellation);
    connect(ui_->XR_PlotChipEVM, &QAction::triggered, this, chip_evm);
    ui_->menuViews->menuAction()->setVisible(true);
}

void PlotWindow::remember_limits() {
    limits_.clear();
    for (QCPAxisRect* axes : canvas().axisRects()) {
        for (QCPAxis* axis : axes->axes()) limits_.emplace_back(axis, axis->range());
    }
}

void PlotWindow::zoom_reset() {
    for (const auto& [axis, range] : limits_) {
        if (axis) axis->setRange(range);
    }
    canvas().replot(QCustomPlot::rpQueuedReplot);
}

void PlotWindow::set_zoom_mode(bool on) {
    ui_->XR_Zoom->setChecked(on);
    canvas().setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

bool PlotWindow::zoom_mode() const { return canvas().selectionRectMode() == QCP::srmZoom; }

PlotWindow* PlotWindow::current() { return current_window(); }

bool PlotWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) current_window() = this;
    return QMainWindow::event(event);
}

// Fonts are sized in points for the device they are drawn on; at the screen's
// resolution the page shows the text at the size the window has it, before the
// whole plot is scaled to the page once.
QPrinter& PlotWindow::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    return *printer_;
}

void PlotWindow::print() {
    if (!gui::dialogs().print(this, printer())) return;
    QCPPainter painter(&printer());
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    // The plot as laid out on screen, scaled to fit the printable area.
    const QRect page = painter.viewport();
    const QSize size = canvas().size();
    const double scale = std::min(double(page.width()) / size.width(), double(page.height()) / size.height());
    painter.scale(scale, scale);
    canvas().toPainter(&painter, size.width(), size.height());
}

void PlotWindow::print_setup() { gui::dialogs().page_setup(this, printer()); }

void PlotWindow::copy() { QApplication::clipboard()->setImage(canvas().toPixmap().toImage()); }

}  // namespace dot11b::plot_windows
