// Where plot windows open and which font they take, against the window they
// are opened from.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include <QMainWindow>
#include <QMenu>

#include "plots/gui/placement.hpp"
#include "plots/gui/plot_commands.hpp"

namespace dot11b::plot_windows {
namespace {

Samples tone(std::size_t n) {
    Samples x(n);
    for (std::size_t k = 0; k < n; ++k) x[k] = std::polar(1.0, 0.3 * double(k));
    return x;
}

TEST(PlotWindowPlacement, CascadesFromTheWindowsAlreadyOpen) {
    const QRect screen(0, 0, 1280, 800);
    const QRect placed(100, 200, 400, 300);
    struct Case {
        const char* name;
        std::vector<QPoint> taken;
        QPoint expected;
    };
    const Case cases[] = {
        {"nothing open", {}, {100, 200}},
        {"others elsewhere", {{0, 0}, {500, 500}}, {100, 200}},
        {"one there", {{100, 200}}, {130, 230}},
        {"one a few pixels off", {{104, 197}}, {130, 230}},
        {"a cascade of two", {{130, 230}, {100, 200}}, {160, 260}},
        {"a free place inside the cascade", {{100, 200}, {160, 260}}, {130, 230}},
    };
    for (const Case& c : cases) {
        const QRect result = cascaded(placed, c.taken, screen, 30);
        EXPECT_EQ(result.topLeft(), c.expected) << c.name;
        EXPECT_EQ(result.size(), placed.size()) << c.name;
    }
    // A title bar that would leave the screen starts again at its top left.
    const std::vector<QPoint> bottom{{100, 760}};
    EXPECT_EQ(cascaded(QRect(100, 760, 400, 300), bottom, screen, 30).topLeft(), QPoint(0, 0));
    const std::vector<QPoint> right{{1200, 100}};
    EXPECT_EQ(cascaded(QRect(1200, 100, 400, 300), right, screen, 30).topLeft(), QPoint(0, 0));
    // A window wider than the rest of the screen still cascades while its title shows.
    const std::vector<QPoint> wide{{900, 100}};
    EXPECT_EQ(cascaded(QRect(900, 100, 600, 300), wide, screen, 30).topLeft(), QPoint(930, 130));
}

TEST(PlotWindowPlacement, PlacesReachingPastTheScreenMoveOntoIt) {
    const QRect screen(0, 30, 1024, 738);
    struct Case {
        QRect placed, expected;
    };
    const Case cases[] = {
        {{100, 200, 400, 300}, {100, 200, 400, 300}},
        {{100, 600, 400, 300}, {100, 468, 400, 300}},
        {{800, 10, 400, 300}, {624, 30, 400, 300}},
        {{-50, 100, 400, 300}, {0, 100, 400, 300}},
        {{100, 100, 1200, 900}, {0, 30, 1024, 738}},
    };
    for (const Case& c : cases) EXPECT_EQ(on_screen(c.placed, screen), c.expected) << c.placed.x() << "," << c.placed.y();
}

// Parents well inside the 800 x 600 screen of the offscreen platform, so that
// the placement rules keep their windows on it.
TEST(PlotWindowPlacement, WindowsOpenedFromOneWindowDoNotCoverEachOther) {
    QMainWindow main;
    main.setGeometry(50, 50, 500, 400);
    const Samples x = tone(400);
    std::vector<std::unique_ptr<PlotWindow>> windows;
    for (int k = 0; k < 3; ++k) windows.emplace_back(open_ccdf_window(&main, "x", x));
    windows.emplace_back(open_iq_time_window(&main, "x", 11e6, false, x));
    for (std::size_t a = 0; a < windows.size(); ++a) {
        for (std::size_t b = a + 1; b < windows.size(); ++b) {
            EXPECT_NE(windows[a]->geometry().topLeft(), windows[b]->geometry().topLeft()) << a << " and " << b;
        }
    }
    EXPECT_EQ(windows[0]->geometry(), shared_placement(&main));
}

TEST(PlotWindowPlacement, WindowsTakeTheFontOfTheWindowTheyAreOpenedFrom) {
    QMainWindow main;
    QFont scaled = main.font();
    scaled.setPointSizeF(1.5 * scaled.pointSizeF());
    main.setFont(scaled);
    const std::unique_ptr<PlotWindow> window(open_spectrum_window(&main, "x", 11e6, tone(256)));
    EXPECT_EQ(window->font().pointSizeF(), scaled.pointSizeF());
    const auto menus = window->findChildren<QMenu*>();
    ASSERT_FALSE(menus.empty());
    for (const QMenu* menu : menus) EXPECT_EQ(menu->font().pointSizeF(), scaled.pointSizeF()) << menu->objectName().toStdString();
    QCPAxis* x = window->canvas().axisRect(0)->axis(QCPAxis::atBottom);
    EXPECT_EQ(x->tickLabelFont().pointSizeF(), scaled.pointSizeF());
}

}  // namespace
}  // namespace dot11b::plot_windows
