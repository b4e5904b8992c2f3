#include <QWidget>
#include <gtest/gtest.h>

#include "common/gui/busy_pointer.hpp"

namespace dot11b::gui {
namespace {

TEST(BusyPointer, ShowsTheWatchWhileItLivesThenGivesBackWhatTheWindowHad) {
    QWidget parent;
    parent.setCursor(Qt::CrossCursor);
    auto* inherits = new QWidget(&parent);
    auto* own = new QWidget(&parent);
    own->setCursor(Qt::IBeamCursor);
    {
        const BusyPointer busy_inherits(inherits);
        const BusyPointer busy_own(own);
        EXPECT_EQ(inherits->cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(own->cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(own->cursor().shape(), Qt::IBeamCursor);
    // A window that showed its parent's pointer follows its parent again.
    EXPECT_FALSE(inherits->testAttribute(Qt::WA_SetCursor));
    parent.setCursor(Qt::PointingHandCursor);
    EXPECT_EQ(inherits->cursor().shape(), Qt::PointingHandCursor);

    // A window closed while busy is left alone.
    auto* closed = new QWidget;
    {
        const BusyPointer busy(closed);
        delete closed;
    }
}

}  // namespace
}  // namespace dot11b::gui
