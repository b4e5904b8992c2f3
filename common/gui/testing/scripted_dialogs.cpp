#include "common/gui/testing/scripted_dialogs.hpp"

#include <stdexcept>

#include <QDialog>
#include <QEventLoop>
#include <QPrinter>

#include "common/gui/progress_task.hpp"

namespace dot11b::gui {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

void ScriptedDialogs::answer_question(std::string button) { answers_.emplace_back(std::move(button)); }
void ScriptedDialogs::answer_input(std::vector<std::string> entries) { answers_.emplace_back(std::move(entries)); }
void ScriptedDialogs::answer_file(std::filesystem::path file) { answers_.emplace_back(std::move(file)); }
void ScriptedDialogs::let_progress_run() { answers_.emplace_back(RunToEnd{}); }
void ScriptedDialogs::close_next() { answers_.emplace_back(Closed{}); }
void ScriptedDialogs::answer_window(std::function<void(QDialog&)> act) { answers_.emplace_back(std::move(act)); }

template <typename T>
std::optional<T> ScriptedDialogs::next(const ShownDialog& dialog) {
    shown_.push_back(dialog);
    if (answers_.empty()) {
        throw std::logic_error("no answer queued for the " + dialog.kind + " dialog \"" + dialog.title + "\"");
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    if (std::holds_alternative<Closed>(answer)) return std::nullopt;
    if (!std::holds_alternative<T>(answer)) {
        throw std::logic_error("the answer queued does not fit the " + dialog.kind + " dialog \"" + dialog.title + "\"");
    }
    return std::get<T>(std::move(answer));
}

std::optional<std::string> ScriptedDialogs::question(QWidget*, const Question& question) {
    return next<std::string>({"question", question.title, question.text, question.buttons, question.default_button});
}

void ScriptedDialogs::error(QWidget*, const std::string& title, const std::string& text) {
    shown_.push_back({"error", title, text, {}, {}});
}

void ScriptedDialogs::message(QWidget*, const std::string& title, const std::string& text) {
    shown_.push_back({"message", title, text, {}, {}});
}

std::optional<std::vector<std::string>> ScriptedDialogs::input(QWidget*, const InputRequest& request) {
    return next<std::vector<std::string>>({"input", request.title, joined(request.prompts), {}, {}});
}

std::optional<std::filesystem::path> ScriptedDialogs::open_file(QWidget*, const FileRequest& request) {
    return next<std::filesystem::path>({"open", request.title, request.filter, {}, {}});
}

std::optional<std::filesystem::path> ScriptedDialogs::save_file(QWidget*, const FileRequest& request) {
    return next<std::filesystem::path>({"save", request.title, request.filter, {}, {}});
}

// The window is shown (not modally) while the action runs, as a user would
// see it; close_next() closes it with its close box.
void ScriptedDialogs::run_window(QDialog& window) {
    const auto act = next<WindowAction>({"window", window.windowTitle().toStdString(), {}, {}, {}});
    window.show();
    if (act) {
        (*act)(window);
    } else {
        window.reject();
    }
    window.hide();
}

bool ScriptedDialogs::print(QWidget*, QPrinter& printer) {
    const auto file = next<std::filesystem::path>({"print", "Print", "", {}, {}});
    if (!file) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file->string()));
    return true;
}

bool ScriptedDialogs::page_setup(QWidget*, QPrinter&) {
    return next<std::string>({"page setup", "Page Setup", "", {}, {}}).has_value();
}

void ScriptedDialogs::progress(QWidget*, const ProgressRequest& request, ProgressTask& task) {
    if (!next<RunToEnd>({"progress", request.title, request.text, {}, {}})) task.cancel();
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&task, &ProgressTask::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    task.start();
    if (!finished) loop.exec();
}

ScriptedDialogsScope::ScriptedDialogsScope() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    scripted_ = scripted.get();
    previous_ = install_dialogs(std::move(scripted));
}

ScriptedDialogsScope::~ScriptedDialogsScope() { install_dialogs(std::move(previous_)); }

}  // namespace dot11b::gui
