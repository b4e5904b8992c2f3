#pragma once
// The frame every plot window shares: its canvas, the File (Print, Print
// Setup, Close), Edit (Copy) and Tools (Zoom, Rotate, Zoom Reset) menus, and
// the hold state that lets a second drawing join the first.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "plots/gui/plot_canvas.hpp"

class QPrinter;

namespace Ui {
class PlotWindow;
}

namespace dot11b::plot_windows {

class PlotWindow : public QMainWindow {
    Q_OBJECT
public:
    // A hidden window, deleted when it is closed; `tag` becomes its object name.
    explicit PlotWindow(const QString& tag);
    ~PlotWindow() override;

    PlotCanvas& canvas() const;

    // Puts `panel` below the canvas; the two share the height equally.
    void add_panel_below(QWidget* panel);

    // Shows the Views menu, which only the analysis window has: its items
    // open the constellation and the EVM of each chip.
    void offer_chip_views(const std::function<void()>& constellation, const std::function<void()>& chip_evm);

    // The axis limits shown now become the ones Zoom Reset returns to.
    void remember_limits();
    void zoom_reset();
    // In zoom mode a dragged rectangle zooms; otherwise dragging pans.
    void set_zoom_mode(bool on);
    bool zoom_mode() const;

    void set_hold(bool held) { held_ = held; }
    bool is_held() const { return held_; }

    // The plot window created or activated last; nullptr when none is open.
    static PlotWindow* current();

protected:
    bool event(QEvent* event) override;

private:
    QPrinter& printer();
    void print();
    void print_setup();
    void copy();

    std::unique_ptr<Ui::PlotWindow> ui_;
    std::unique_ptr<QPrinter> printer_;  // keeps the page set-up from one print to the next
    std::vector<std::pair<QPointer<QCPAxis>, QCPRange>> limits_;
    bool held_ = false;
};

}  // namespace dot11b::plot_windows
