#pragma once
// The drawing surface of every plot window: a QCustomPlot whose fonts follow
// the widget font and that runs layout hooks, so that drawing data built for
// the axes' pixel size (min/max columns, equal scaling) is rebuilt whenever
// the range or the size changes, on screen and in offscreen exports alike.

#include <functional>
#include <vector>

#include <QPointer>
#include <qcustomplot.h>

namespace dot11b::plot_windows {

class PlotCanvas : public QCustomPlot {
    Q_OBJECT
public:
    explicit PlotCanvas(QWidget* parent = nullptr);

    // Runs after every layout pass, once the axes have their final size, while
    // `owner` lives. It returns true when it changed an axis range; the layout
    // then runs once more so that the ticks follow.
    using LayoutHook = std::function<bool()>;
    void add_layout_hook(QObject* owner, LayoutHook hook);

    // Removes every axes, title, plottable and helper: a blank canvas.
    void clear_drawing();

    // A title row above `row`'s axes and the axes themselves, tagged `tag`.
    QCPAxisRect* add_axes(int row, const QString& title, const QString& tag = {});

    // Axis labels, ticks and legends in the widget font, titles in bold. The
    // number of ticks follows the axis length and the font, so labels never
    // run together.
    void apply_fonts();

protected:
    void updateLayout() override;
    void changeEvent(QEvent* event) override;

private:
    bool fit_tick_counts();

    struct Hook {
        QPointer<QObject> owner;
        LayoutHook run;
    };
    std::vector<Hook> hooks_;
};

}  // namespace dot11b::plot_windows
