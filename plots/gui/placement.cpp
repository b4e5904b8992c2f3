#include "plots/gui/placement.hpp"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dot11b::plot_windows {
namespace {

// A rectangle given by its left edge and its bottom edge counted up from the
// bottom of `screen`.
QRect from_bottom_left(const QRect& screen, double left, double bottom, double width, double height) {
    const double top = screen.y() + screen.height() - bottom - height;
    return QRectF(left, top, width, height).toRect();
}

double bottom_of(const QRect& rect, const QRect& screen) {
    return screen.y() + screen.height() - (rect.y() + rect.height());
}

QRect screen_of(const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1280, 800);
}

std::optional<QRect> geometry_of(const QWidget* parent) {
    if (parent == nullptr) return std::nullopt;
    return parent->window()->geometry();
}

}  // namespace

QRect shared_placement(std::optional<QRect> parent, const QRect& screen) {
    if (!parent) return from_bottom_left(screen, 150, 150, 340, 340);
    const double width = 0.8 * parent->width();
    const double height = 0.8 * parent->height();
    return from_bottom_left(screen, parent->x() + 0.1 * width, bottom_of(*parent, screen) - 0.1 * height, width,
                            height);
}

QRect spectrum_placement(std::optional<QRect> parent, const QRect& screen) {
    if (!parent) return from_bottom_left(screen, 50, 480, 300, 300);
    return from_bottom_left(screen, parent->x() + 0.1 * parent->width(),
                            bottom_of(*parent, screen) + 0.18 * parent->height(), 0.8 * parent->width(),
                            0.8 * parent->height());
}

QRect cascaded(QRect placed, std::span<const QPoint> taken, const QRect& screen, int step) {
    const auto occupied = [&](const QPoint& corner) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const QPoint& other) { return 2 * (other - corner).manhattanLength() < step; });
    };
    // One more place than there are windows is always free.
    for (std::size_t tried = 0; tried <= taken.size() && occupied(placed.topLeft()); ++tried) {
        placed.translate(step, step);
        // Enough of the title bar to grab the window by.
        const QRect title_bar(placed.topLeft(), QSize(std::min(placed.width(), 4 * step), step));
        if (!screen.contains(title_bar)) placed.moveTopLeft(screen.topLeft());
    }
    return placed;
}

QRect on_screen(QRect placed, const QRect& screen) {
    placed.setSize(placed.size().boundedTo(screen.size()));
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
    return placed;
}

QRect shared_placement(const QWidget* parent) { return shared_placement(geometry_of(parent), screen_of(parent)); }

QRect spectrum_placement(const QWidget* parent) { return spectrum_placement(geometry_of(parent), screen_of(parent)); }

}  // namespace dot11b::plot_windows
