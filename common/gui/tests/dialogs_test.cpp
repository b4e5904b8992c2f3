#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "common/gui/progress_task.hpp"
#include "common/gui/qt_dialogs.hpp"
#include "common/gui/testing/displayed_text.hpp"
#include "common/gui/testing/scripted_dialogs.hpp"

namespace dot11b::gui {
namespace {

// Acts on the modal dialog once it is shown.
void when_shown(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

QPushButton* button_labelled(QDialog& dialog, const QString& label) {
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == label) return button;
    }
    return nullptr;
}

const Question kQuestion{"RS-232 Download", "Continue?", {"OK", "Cancel"}, "Cancel"};

TEST(QtDialogs, QuestionReturnsTheButtonPressedOrNothingWhenClosed) {
    QtDialogs dialogs;
    QString title;
    bool cancel_is_default = false;
    when_shown([&](QDialog& dialog) {
        title = dialog.windowTitle();
        cancel_is_default = button_labelled(dialog, "Cancel")->isDefault();
        button_labelled(dialog, "OK")->click();
    });
    EXPECT_EQ(dialogs.question(nullptr, kQuestion), "OK");
    EXPECT_EQ(title, "RS-232 Download");
    EXPECT_TRUE(cancel_is_default);

    when_shown([](QDialog& dialog) { dialog.close(); });
    EXPECT_EQ(dialogs.question(nullptr, kQuestion), std::nullopt);
}

// A button caption or prompt with an "&" shows it, instead of taking it as
// the mark of an access key ("Calculate _Plot").
TEST(QtDialogs, AmpersandsInButtonsAndPromptsShowAsWritten) {
    QtDialogs dialogs;
    QStringList buttons;
    bool any_access_key = false;
    when_shown([&](QDialog& dialog) {
        QPushButton* first = nullptr;
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            buttons << test::displayed_text(button);
            any_access_key = any_access_key || !QKeySequence::mnemonic(button->text()).isEmpty();
            if (test::displayed_text(button) == "Calculate & Plot") first = button;
        }
        ASSERT_NE(first, nullptr);
        first->click();
    });
    EXPECT_EQ(dialogs.question(nullptr, {"Waveform Not Calculated", "Calculate?", {"Calculate & Plot", "Cancel"},
                                         "Calculate & Plot"}),
              "Calculate & Plot");
    EXPECT_TRUE(buttons.contains("Calculate & Plot")) << buttons.join('|').toStdString();
    EXPECT_FALSE(any_access_key);

    QStringList prompts;
    when_shown([&](QDialog& dialog) {
        for (auto* label : dialog.findChildren<QLabel*>()) prompts << test::displayed_text(label);
        dialog.reject();
    });
    dialogs.input(nullptr, {"Scatter Diagram Configuration", {"Delay & trace:"}, {"0"}});
    EXPECT_TRUE(prompts.contains("Delay & trace:")) << prompts.join('|').toStdString();
}

// Reports once when started; finishes when the test says so.
class ManualTask final : public ProgressTask {
public:
    void start() override { emit sent(40, 160); }
    void cancel() override { ++cancels; }
    int cancels = 0;
};

TEST(QtDialogs, ProgressIsModalShowsTheBytesSentAndStaysUntilTheTaskHasStopped) {
    QtDialogs dialogs;
    ManualTask task;
    bool modal = false;
    bool open_after_cancel = false;
    QString bytes;
    when_shown([&](QDialog& dialog) {
        // The task starts from the dialog's event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            for (const auto* label : dialog.findChildren<QLabel*>()) {
                if (label->text().contains("bytes")) bytes = label->text();
            }
            return !bytes.isEmpty();
        }));
        modal = dialog.windowModality() == Qt::ApplicationModal;
        button_labelled(dialog, "Cancel")->click();
        dialog.reject();  // Esc and the close button
        open_after_cancel = dialog.isVisible();
        emit task.finished();
    });
    dialogs.progress(nullptr, {"Download", "Sending the waveform to the instrument", true}, task);
    EXPECT_TRUE(modal);
    EXPECT_EQ(bytes, "40 of 160 bytes sent");
    EXPECT_TRUE(open_after_cancel);
    EXPECT_EQ(task.cancels, 1);
}

TEST(ScriptedDialogs, AnswersInOrderRecordsWhatWasShownAndRefusesUnexpectedDialogs) {
    ScriptedDialogsScope scripted;
    scripted->answer_question("Cancel");
    scripted->close_next();
    scripted->answer_file("/tmp/a.mat");

    EXPECT_EQ(dialogs().question(nullptr, kQuestion), "Cancel");
    dialogs().error(nullptr, "File Error", "Could not open\n/tmp/x");
    EXPECT_EQ(dialogs().input(nullptr, {"Eye Diagram Configuration", {"Enter symbol delay (0-1):"}, {"0"}}),
              std::nullopt);
    EXPECT_EQ(dialogs().open_file(nullptr, {"Open", "*.mat", {}}), std::filesystem::path("/tmp/a.mat"));
    EXPECT_TRUE(scripted->all_answers_used());
    EXPECT_THROW(dialogs().save_file(nullptr, {"Save", "*.mat", {}}), std::logic_error);

    scripted->answer_file("/tmp/b.mat");
    EXPECT_THROW(dialogs().question(nullptr, kQuestion), std::logic_error);

    ASSERT_EQ(scripted->shown().size(), 6u);
    EXPECT_EQ(scripted->shown()[1].kind, "error");
    EXPECT_EQ(scripted->shown()[1].text, "Could not open\n/tmp/x");
    EXPECT_EQ(scripted->shown()[2].text, "Enter symbol delay (0-1):");
}

}  // namespace
}  // namespace dot11b::gui
