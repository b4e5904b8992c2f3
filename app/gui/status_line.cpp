#include "app/gui/status_line.hpp"

#include <memory>

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>

#include "app/gui/callbacks.hpp"
#include "app/gui/graphics.hpp"

namespace dot11b::gui {
namespace {

constexpr const char* kStatusBar = "sbStatus";
constexpr const char* kMessage = "lblStatusMessage";
constexpr const char* kIcon = "lblStatusIcon";

// One line cut to the width it has, so a long message never widens its window.
class StatusMessage final : public QLabel {
public:
    explicit StatusMessage(QWidget* parent) : QLabel(parent) {
        setObjectName(kMessage);
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    void set_message(const QString& message) {
        full_ = message;
        setToolTip(message);
        cut_to_width();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        cut_to_width();
    }

private:
    void cut_to_width() {
        QString line = full_;
        line.replace('\n', ' ');
        setText(fontMetrics().elidedText(line, Qt::ElideRight, width()));
    }

    QString full_;
};

QStatusBar* status_bar_of(QWidget* window) {
    return window ? window->findChild<QStatusBar*>(kStatusBar, Qt::FindDirectChildrenOnly) : nullptr;
}

StatusMessage* message_label(QStatusBar* bar) {
    if (auto* label = bar->findChild<StatusMessage*>(kMessage)) return label;
    auto* icon = new QLabel(bar);
    icon->setObjectName(kIcon);
    bar->addWidget(icon);
    auto* label = new StatusMessage(bar);
    bar->addWidget(label, 1);
    return label;
}

QStyle::StandardPixmap icon_of(frame::ConsoleKind kind) {
    switch (kind) {
    case frame::ConsoleKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case frame::ConsoleKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

const char* kind_name(frame::ConsoleKind kind) {
    switch (kind) {
    case frame::ConsoleKind::Error:
        return "error";
    case frame::ConsoleKind::Warning:
        return "warning";
    default:
        return "note";
    }
}

// The window a message concerns: the nearest window of the running callback
// that has a status bar, else a main window.
QWidget* window_for_message() {
    for (QWidget* window = window_of(callback_object()); window; window = window->parentWidget()) {
        if (status_bar_of(window)) return window->window();
    }
    QWidget* main = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != "figMain" || !status_bar_of(window)) continue;
        if (window->isActiveWindow()) return window;
        if (main == nullptr || window->isVisible()) main = window;
    }
    return main;
}

}  // namespace

void show_status(QWidget* window, frame::ConsoleKind kind, std::string_view message) {
    QStatusBar* bar = status_bar_of(window);
    if (bar == nullptr) return;
    StatusMessage* label = message_label(bar);
    auto* icon = bar->findChild<QLabel*>(kIcon);
    const int side = label->fontMetrics().height();
    icon->setPixmap(bar->style()->standardIcon(icon_of(kind)).pixmap(side, side));
    icon->show();
    QPalette palette = bar->palette();
    // Errors in red, dark on a light window and light on a dark one; notes and
    // warnings keep the text colour.
    if (kind == frame::ConsoleKind::Error) {
        const bool dark_window = palette.color(QPalette::Window).lightness() < 128;
        palette.setColor(QPalette::WindowText, dark_window ? QColor(0xff, 0x6b, 0x6b) : QColor(0xb0, 0x00, 0x20));
    }
    label->setPalette(palette);
    label->setProperty("kind", kind_name(kind));
    label->set_message(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

void clear_status(QWidget* window) {
    QStatusBar* bar = status_bar_of(window);
    if (bar == nullptr) return;
    if (auto* label = bar->findChild<StatusMessage*>(kMessage)) {
        label->set_message({});
        label->setProperty("kind", QVariant());
    }
    if (auto* icon = bar->findChild<QLabel*>(kIcon)) icon->hide();
}

void show_console_in_status_bars() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    auto previous = std::make_shared<frame::ConsoleWatcher>();
    *previous = frame::set_console_watcher([previous](frame::ConsoleKind kind, std::string_view message) {
        if (*previous) (*previous)(kind, message);
        show_status(window_for_message(), kind, message);
    });
}

}  // namespace dot11b::gui
