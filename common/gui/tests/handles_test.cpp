#include <QWidget>
#include <gtest/gtest.h>

#include "common/gui/handles.hpp"

namespace dot11b::gui {
namespace {

TEST(Handles, StayWithTheirObjectAndLapseWhenItIsDestroyed) {
    auto* first = new QWidget;
    auto* second = new QWidget;
    const double a = handle_of(first);
    const double b = handle_of(second);
    EXPECT_NE(a, b);
    EXPECT_EQ(handle_of(first), a);
    EXPECT_EQ(object_of(a), first);
    EXPECT_EQ(object_of(b), second);

    delete first;
    EXPECT_EQ(object_of(a), nullptr);
    EXPECT_EQ(object_of(b), second);
    EXPECT_EQ(object_of(-1), nullptr);
    delete second;
}

}  // namespace
}  // namespace dot11b::gui
