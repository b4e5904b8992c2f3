// dot11b-studio: the host program of the library. It initialises the
// library, runs the application through its entry operation Dot11b_b, runs
// the event loop until the application shuts down, and terminates the library.
//
//   dot11b-studio [--no-splash] [--font-scale F]
//   dot11b-studio --screenshot FILE.png [--screenshot-mac-header FILE.png] [--screenshot-impairments FILE.png]
//                 [--screenshot-sdr FILE.png]

#include <iostream>
#include <memory>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDialog>

#include "app/gui/figures.hpp"
#include "app/gui/graphics.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/gui/qt_dialogs.hpp"
#include "frame/kestrel.hpp"
#include "frame/registry.hpp"

namespace {

using dot11b::frame::Value;

// Instead of waiting for the user, renders the window to a file and closes it.
class WindowToFile final : public dot11b::gui::QtDialogs {
public:
    explicit WindowToFile(QString file) : file_(std::move(file)) {}
    void run_window(QDialog& window) override {
        window.show();
        saved_ = window.grab().save(file_);
        window.reject();
    }
    bool saved() const { return saved_; }

private:
    QString file_;
    bool saved_ = false;
};

QWidget* main_window() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "figMain" && window->isVisible()) return window;
    }
    return nullptr;
}

bool save(QWidget* window, const QString& file) {
    if (window == nullptr || !window->grab().save(file)) {
        std::cerr << "dot11b-studio: cannot write " << file.toStdString() << "\n";
        return false;
    }
    std::cerr << "wrote: " << file.toStdString() << "\n";
    return true;
}

// Opens a child window through the callback of the control that opens it,
// with the dialog service rendering it to `file` instead of waiting.
bool save_child_window(QWidget* main, const char* script, const char* tag, const QString& file) {
    auto capture = std::make_unique<WindowToFile>(file);
    WindowToFile* window = capture.get();
    auto previous = dot11b::gui::install_dialogs(std::move(capture));
    const Value handles = dot11b::gui::guidata(main);
    dot11b::frame::call_by_name(script, 0,
                                {Value::text(std::string(tag) + "_Callback"), handles.field(tag), Value(), handles});
    const bool saved = window->saved();
    dot11b::gui::install_dialogs(std::move(previous));
    if (!saved) {
        std::cerr << "dot11b-studio: cannot write " << file.toStdString() << "\n";
        return false;
    }
    std::cerr << "wrote: " << file.toStdString() << "\n";
    return true;
}

// The connection dialog showing the SDR bus and the devices found.
bool save_sdr_panel(const QString& file) {
    auto capture = std::make_unique<WindowToFile>(file);
    WindowToFile* window = capture.get();
    auto previous = dot11b::gui::install_dialogs(std::move(capture));
    Value record = Value::structure({"type"});
    record.set_field("type", Value::text("SDR"));
    dot11b::frame::call_by_name("XR_SigGen", 2, {Value(), record});
    const bool saved = window->saved();
    dot11b::gui::install_dialogs(std::move(previous));
    std::cerr << (saved ? "wrote: " : "dot11b-studio: cannot write ") << file.toStdString() << "\n";
    return saved;
}

// Renders the main window with its defaults and, when asked, the MAC header
// and Impairments windows and the SDR panel.
int screenshots(const QString& main_file, const QString& mac_file, const QString& impairments_file,
                const QString& sdr_file) {
    QWidget* main = main_window();
    // The whole window, whatever the size of the screen it would be shown on.
    if (main) main->resize(dot11b::gui::contents_size(main));
    QApplication::processEvents();
    if (!save(main, main_file)) return 1;
    if (!mac_file.isEmpty() && !save_child_window(main, "dot11b_GUI_b", "pbMACheaderSetup", mac_file)) return 1;
    if (!impairments_file.isEmpty() &&
        !save_child_window(main, "rfCommonUI", "menuSpecialImpairments", impairments_file)) {
        return 1;
    }
    if (!sdr_file.isEmpty() && !save_sdr_panel(sdr_file)) return 1;
    return 0;
}

// The command line, read before any window system is needed: --help and
// usage errors work without a display.
struct Options {
    double font_scale = 1;
    bool no_splash = false;
    QString screenshot;
    QString screenshot_mac;
    QString screenshot_impairments;
    QString screenshot_sdr;
};

std::optional<int> read_options(int argc, char** argv, Options& chosen) {
    QCoreApplication reader(argc, argv);
    QCoreApplication::setApplicationName("dot11b-studio");
    QCommandLineParser options;
    options.setApplicationDescription("IEEE 802.11b waveform generation (desktop application)");
    const QCommandLineOption help = options.addHelpOption();
    const QCommandLineOption no_splash("no-splash", "Show the main window without waiting on the splash window.");
    const QCommandLineOption font_scale("font-scale", "Scale the window fonts by F (1.25 = 125 %).", "F", "1");
    const QCommandLineOption screenshot("screenshot", "Render the main window with its defaults to FILE and exit.",
                                        "FILE");
    const QCommandLineOption screenshot_mac("screenshot-mac-header",
                                            "With --screenshot, also render the MAC header window to FILE.", "FILE");
    const QCommandLineOption screenshot_impairments(
        "screenshot-impairments", "With --screenshot, also render the Impairments window to FILE.", "FILE");
    const QCommandLineOption screenshot_sdr(
        "screenshot-sdr", "With --screenshot, also render the connection dialog's SDR panel to FILE.", "FILE");
    options.addOptions({no_splash, font_scale, screenshot, screenshot_mac, screenshot_impairments, screenshot_sdr});
    if (!options.parse(QCoreApplication::arguments())) {
        std::cerr << "dot11b-studio: " << options.errorText().toStdString() << "\n";
        return 2;
    }
    if (options.isSet(help)) {
        std::cout << options.helpText().toStdString();
        return 0;
    }
    bool scale_ok = false;
    chosen.font_scale = options.value(font_scale).toDouble(&scale_ok);
    if (!scale_ok || chosen.font_scale < 0.5 || chosen.font_scale > 4) {
        std::cerr << "dot11b-studio: --font-scale " << options.value(font_scale).toStdString()
                  << " is not a factor from 0.5 to 4\n";
        return 2;
    }
    chosen.no_splash = options.isSet(no_splash);
    chosen.screenshot = options.value(screenshot);
    chosen.screenshot_mac = options.value(screenshot_mac);
    chosen.screenshot_impairments = options.value(screenshot_impairments);
    chosen.screenshot_sdr = options.value(screenshot_sdr);
    return std::nullopt;
}

// Without a display Qt would abort; say what is missing instead.
bool display_available() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    Options chosen;
    if (const auto status = read_options(argc, argv, chosen)) return *status;
    if (!display_available()) {
        std::cerr << "dot11b-studio: no display: DISPLAY and WAYLAND_DISPLAY are unset (QT_QPA_PLATFORM=offscreen "
                     "renders --screenshot files without one)\n";
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("dot11b-studio");
    dot11b::gui::set_font_scale(chosen.font_scale);
    const bool capture = !chosen.screenshot.isEmpty();
    if (chosen.no_splash || capture) dot11b::gui::set_splash_minimum(std::chrono::milliseconds(0));

    KestrelInitialize();
    int status = 0;
    try {
        dot11b::frame::call_by_name("Dot11b_b", 0, {});
        status = capture ? screenshots(chosen.screenshot, chosen.screenshot_mac, chosen.screenshot_impairments, chosen.screenshot_sdr)
                         : QApplication::exec();
    } catch (const std::exception& e) {
        std::cerr << "dot11b-studio: " << e.what() << "\n";
        status = 1;
    }
    if (capture) delete main_window();
    KestrelTerminate();
    return status;
}
