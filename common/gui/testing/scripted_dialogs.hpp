#pragma once
// A dialog service for tests: it records every dialog shown and answers the
// ones that need an answer from a queue, in order. A dialog with no answer
// queued (or of another kind than queued) throws, so a test fails instead of
// waiting on a modal window. Errors and messages need no answer. A print
// dialog is answered with answer_file (the PDF file printed to), a page
// set-up with answer_question (any button accepts it). A progress dialog
// waits for its task; it is answered by letting the task run or by closing
// the dialog, which cancels the task before it starts.

#include <deque>
#include <functional>
#include <variant>

#include "common/gui/dialog_service.hpp"

namespace dot11b::gui {

struct ShownDialog {
    std::string kind;  // "question", "error", "message", "input", "open", "save", "window", "print", "page setup",
                       // "progress"
    std::string title;
    std::string text;  // question or message text; prompts or filter otherwise
    std::vector<std::string> buttons;
    std::string default_button;
};

class ScriptedDialogs final : public DialogService {
public:
    struct Closed {};  // the window closed without an answer

    void answer_question(std::string button);
    void answer_input(std::vector<std::string> entries);
    void answer_file(std::filesystem::path file);
    void let_progress_run();
    void close_next();  // the next question, input, file, window or progress dialog is closed or cancelled
    // The next window is handed to `act` (which edits it and closes it, as a user would).
    void answer_window(std::function<void(QDialog&)> act);

    const std::vector<ShownDialog>& shown() const { return shown_; }
    bool all_answers_used() const { return answers_.empty(); }

    std::optional<std::string> question(QWidget* parent, const Question& question) override;
    void error(QWidget* parent, const std::string& title, const std::string& text) override;
    void message(QWidget* parent, const std::string& title, const std::string& text) override;
    std::optional<std::vector<std::string>> input(QWidget* parent, const InputRequest& request) override;
    std::optional<std::filesystem::path> open_file(QWidget* parent, const FileRequest& request) override;
    std::optional<std::filesystem::path> save_file(QWidget* parent, const FileRequest& request) override;
    void run_window(QDialog& window) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool page_setup(QWidget* parent, QPrinter& printer) override;
    void progress(QWidget* parent, const ProgressRequest& request, ProgressTask& task) override;

private:
    struct RunToEnd {};
    using WindowAction = std::function<void(QDialog&)>;
    using Answer =
        std::variant<Closed, std::string, std::vector<std::string>, std::filesystem::path, WindowAction, RunToEnd>;
    template <typename T>
    std::optional<T> next(const ShownDialog& dialog);

    std::deque<Answer> answers_;
    std::vector<ShownDialog> shown_;
};

// Installs a ScriptedDialogs for the lifetime of the scope and restores the
// previous service afterwards.
class ScriptedDialogsScope {
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogsScope(const ScriptedDialogsScope&) = delete;
    ScriptedDialogsScope& operator=(const ScriptedDialogsScope&) = delete;

    ScriptedDialogs& operator*() { return *scripted_; }
    ScriptedDialogs* operator->() { return scripted_; }

private:
    ScriptedDialogs* scripted_;
    std::unique_ptr<DialogService> previous_;
};

}  // namespace dot11b::gui
