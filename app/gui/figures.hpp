#pragma once
// The application's windows, loaded from their layouts, and the window
// helpers the scripts call: font scaling, placement, the splash and About
// windows.

#include <chrono>

#include <QDialog>
#include <QMainWindow>

#include "frame/value.hpp"

namespace dot11b::gui {

// The main window. Its close box asks the shell to exit (File > Exit) until
// the shell has allowed it to close.
class MainFigure final : public QMainWindow {
public:
    MainFigure();
    // Closes and destroys the window (the shell's shut-down).
    void close_for_good();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool closing_ = false;
};

// The main window, hidden, with its controls (no menu bar yet).
MainFigure* load_main_window();
// The MAC header window, hidden, as a child window of `parent`.
QDialog* load_mac_header_window(QWidget* parent);

// The window fonts: the application font scaled by the factor (1 = as the
// system sets it).
void set_font_scale(double factor);
void resize_all_fonts(QWidget* window);

// The size that shows all of the window's contents, scroll areas included.
QSize contents_size(QWidget* window);
// Sizes the window to its contents within the screen and centres it there.
void fit_and_center(QWidget* window);
// Centres a child window over its parent window.
void position_child_window(QWidget* child, QWidget* parent);

// How long the splash window stays up at the least (3 s; 0 for automation).
void set_splash_minimum(std::chrono::milliseconds duration);
std::chrono::milliseconds splash_minimum();
QWidget* show_splash();
// Waits, with events running, until the splash has been up for its minimum time.
void wait_out_splash(std::chrono::steady_clock::time_point shown);

// The About window for `app_info`, modal over `parent`.
void run_about_window(QWidget* parent, const frame::Value& app_info);

}  // namespace dot11b::gui
