#pragma once
// Every modal dialog of the application goes through one service, so that a
// test can answer the dialogs in order instead of waiting on a window. Only
// the service shows dialogs; windows and controllers ask it.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QPrinter;
class QWidget;

namespace dot11b::gui {

class ProgressTask;

struct Question {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    std::string default_button;
};

struct InputRequest {
    std::string title;
    std::vector<std::string> prompts;
    std::vector<std::string> defaults;
};

struct FileRequest {
    std::string title;
    std::string filter;                 // a pattern such as "*.mat"
    std::filesystem::path start_folder; // empty: the current folder
};

struct ProgressRequest {
    std::string title;
    std::string text;         // what is going on; the bytes sent follow below it
    bool can_cancel = true;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // The button pressed, or nullopt when the dialog was closed.
    virtual std::optional<std::string> question(QWidget* parent, const Question& question) = 0;
    virtual void error(QWidget* parent, const std::string& title, const std::string& text) = 0;
    virtual void message(QWidget* parent, const std::string& title, const std::string& text) = 0;
    // The entries in prompt order, or nullopt when cancelled.
    virtual std::optional<std::vector<std::string>> input(QWidget* parent, const InputRequest& request) = 0;
    // The chosen file, or nullopt when cancelled.
    virtual std::optional<std::filesystem::path> open_file(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<std::filesystem::path> save_file(QWidget* parent, const FileRequest& request) = 0;
    // Starts the task and shows its progress in a modal dialog until it has
    // finished; closing the dialog or its Cancel asks the task to stop.
    virtual void progress(QWidget* parent, const ProgressRequest& request, ProgressTask& task) = 0;
    // Shows one of the application's own modal windows (the MAC header window,
    // About) and returns when it has been closed.
    virtual void run_window(QDialog& window) = 0;
    // The print dialog for `printer` (a printer or a PDF file); false when cancelled.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    // The page set-up of `printer`; false when cancelled.
    virtual bool page_setup(QWidget* parent, QPrinter& printer) = 0;
};

// The service in use: the Qt dialogs unless another one was installed.
DialogService& dialogs();

// Installs a service (tests install ScriptedDialogs) and returns the one it replaces.
std::unique_ptr<DialogService> install_dialogs(std::unique_ptr<DialogService> service);

}  // namespace dot11b::gui
