#pragma once
// Where a plot window opens, relative to the window it was opened from. The
// rules are stated in a coordinate system whose y axis points up from the
// bottom of the screen; Qt's points down, which is what these functions take
// and return (client areas, without the window frame).

#include <optional>
#include <span>

#include <QPoint>
#include <QRect>

class QWidget;

namespace dot11b::plot_windows {

// The shared rule: 0.8 of the parent's size, moved right by a tenth of the new
// width and down by a tenth of the new height from the parent's lower-left
// corner. Without a parent: 340 x 340 at (150, 150) from the screen's lower left.
QRect shared_placement(std::optional<QRect> parent, const QRect& screen);

// The spectrum's rule: moved right by a tenth of the parent's width and up by
// 0.18 of its height, then 0.8 of its size. Without a parent: 300 x 300 at (50, 480).
QRect spectrum_placement(std::optional<QRect> parent, const QRect& screen);

// The place moved down and right by `step` as long as another window already
// opens at it (within half a step), so that plot windows opened one after
// another from the same window do not hide each other; back to the screen's
// top left when its title bar would leave the screen.
QRect cascaded(QRect placed, std::span<const QPoint> taken, const QRect& screen, int step);

// The place moved onto `screen` where it reaches past an edge, and shrunk to
// it where it is larger: the rules put a window below a tall parent partly
// off the screen.
QRect on_screen(QRect placed, const QRect& screen);

// Both rules for a live parent window (nullptr: the screen).
QRect shared_placement(const QWidget* parent);
QRect spectrum_placement(const QWidget* parent);

}  // namespace dot11b::plot_windows
