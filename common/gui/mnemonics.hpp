#pragma once
// Buttons, menu items and labels with a buddy read "&" as the mark of their
// access key. The program's own texts (button captions, prompts) may hold a
// real "&" ("Calculate & Plot"): it is doubled on the way in and read back as
// the widget shows it.

#include <QString>

namespace dot11b::gui {

// "Calculate & Plot" as a button caption that shows it unchanged.
QString literal_ampersands(const QString& text);

// What such a widget shows for its text: "&&" as "&", the access key mark dropped.
QString shown_text(const QString& text);

}  // namespace dot11b::gui
