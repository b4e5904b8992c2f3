#pragma once
// The text a widget shows, as assistive technology reads it off the widget
// (an access key mark is not shown), and whether it has an access key.

#include <QAccessible>
#include <QKeySequence>
#include <QString>
#include <QWidget>

namespace dot11b::gui::test {

inline QString displayed_text(QWidget* widget) {
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(widget);
    return shown ? shown->text(QAccessible::Name) : QString();
}

}  // namespace dot11b::gui::test
