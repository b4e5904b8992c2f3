#pragma once
// The dialog service drawn with Qt's standard modal dialogs.

#include "common/gui/dialog_service.hpp"

namespace dot11b::gui {

class QtDialogs : public DialogService {
public:
    std::optional<std::string> question(QWidget* parent, const Question& question) override;
    void error(QWidget* parent, const std::string& title, const std::string& text) override;
    void message(QWidget* parent, const std::string& title, const std::string& text) override;
    std::optional<std::vector<std::string>> input(QWidget* parent, const InputRequest& request) override;
    std::optional<std::filesystem::path> open_file(QWidget* parent, const FileRequest& request) override;
    std::optional<std::filesystem::path> save_file(QWidget* parent, const FileRequest& request) override;
    void progress(QWidget* parent, const ProgressRequest& request, ProgressTask& task) override;
    void run_window(QDialog& window) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool page_setup(QWidget* parent, QPrinter& printer) override;
};

}  // namespace dot11b::gui
