#include "common/gui/mnemonics.hpp"

namespace dot11b::gui {

QString literal_ampersands(const QString& text) {
    QString doubled = text;
    return doubled.replace('&', QStringLiteral("&&"));
}

QString shown_text(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            // "&&" shows an "&", "&x" shows x underlined, a last "&" nothing.
            if (++i == text.size()) break;
        }
        shown += text[i];
    }
    return shown;
}

}  // namespace dot11b::gui
