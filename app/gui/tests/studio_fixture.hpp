#pragma once
// Runs each test against the real application: the library initialised,
// the main window started through dot11b_GUI_b, dialogs answered by a
// script, the working folder (where rfIOConfig.mat lives) a fresh temporary
// folder.

#include <filesystem>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include "app/gui/figures.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/record_reader.hpp"
#include "common/gui/handles.hpp"
#include "common/gui/testing/scripted_dialogs.hpp"
#include "common/testing/temporary_folder.hpp"
#include "frame/console.hpp"
#include "frame/library.hpp"
#include "frame/registry.hpp"

// Texts of widgets in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace dot11b::frame {
inline void PrintTo(const Value& value, std::ostream* out) {
    *out << app::describe(value);
    if (value.kind() == Value::Kind::Char) *out << " \"" << value.text() << '"';
    if (value.kind() == Value::Kind::Double && value.numel() == 1) *out << " " << value.reals()[0];
}
}  // namespace dot11b::frame

namespace dot11b::gui::test {

using dot11b::test::TemporaryFolder;

// The whole message in the window's status bar (its tooltip; the bar shows
// what fits), and its kind: "error", "warning" or "note".
inline const QLabel* status_label(const QWidget* window) {
    const auto* bar = window->findChild<QStatusBar*>("sbStatus", Qt::FindDirectChildrenOnly);
    return bar ? bar->findChild<QLabel*>("lblStatusMessage") : nullptr;
}
inline QString status_message(const QWidget* window) {
    const QLabel* label = status_label(window);
    return label ? label->toolTip() : QString();
}
inline QString status_kind(const QWidget* window) {
    const QLabel* label = status_label(window);
    return label ? label->property("kind").toString() : QString();
}

// Types the text into the field and presses Enter.
inline void type_into(QLineEdit* field, const QString& text) {
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);
}

class Studio : public ::testing::Test {
protected:
    void SetUp() override {
        previous_folder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.path());
        previous_console_ = frame::set_console([this](std::string_view line) { console_.emplace_back(line); });
        set_splash_minimum(std::chrono::milliseconds(0));
        frame::initialize();
        start();
    }

    void TearDown() override {
        close_windows();
        frame::terminate();
        frame::set_console(previous_console_);
        std::filesystem::current_path(previous_folder_);
    }

    // Opens the main window as the entry does.
    void start() {
        main_ = widget_of(frame::call_by_name("dot11b_GUI_b", 1, {}).at(0).reals()[0]);
        ASSERT_NE(main_, nullptr);
    }

    // The main windows are picked out first: deleting one also deletes the
    // dialogs it owns, which the list of top-level windows still holds.
    void close_windows() {
        QList<QWidget*> mains;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "figMain") mains.push_back(window);
        }
        qDeleteAll(mains);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Runs what the application queued: closing and deleting windows.
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T = QWidget>
    T* control(const char* tag) const {
        auto* found = main_->findChild<T*>(tag);
        if (found == nullptr) ADD_FAILURE() << "no control " << tag;
        return found;
    }
    QAction* item(const char* tag) const { return control<QAction>(tag); }

    // What a user does: pick a drop-down entry, type into a field and press
    // Enter, click a button or check box, choose a menu item.
    void choose(const char* tag, int position) {
        auto* combo = control<QComboBox>(tag);
        combo->setCurrentIndex(position - 1);
        emit combo->activated(position - 1);
    }
    void enter(const char* tag, const QString& text) { type_into(control<QLineEdit>(tag), text); }
    void click(const char* tag) { control<QAbstractButton>(tag)->click(); }
    void menu(const char* tag) { item(tag)->trigger(); }

    QString text(const char* tag) const {
        if (auto* edit = main_->findChild<QLineEdit*>(tag)) return edit->text();
        if (auto* label = main_->findChild<QLabel*>(tag)) return label->text();
        if (auto* combo = main_->findChild<QComboBox*>(tag)) return combo->currentText();
        return control<QAbstractButton>(tag)->text();
    }
    bool enabled(const char* tag) const { return control(tag)->isEnabled(); }
    bool visible(const char* tag) const { return !control(tag)->isHidden(); }

    TemporaryFolder folder_;
    ScriptedDialogsScope dialogs_;
    std::vector<std::string> console_;
    QWidget* main_ = nullptr;

private:
    std::filesystem::path previous_folder_;
    frame::ConsoleSink previous_console_;
};

}  // namespace dot11b::gui::test
