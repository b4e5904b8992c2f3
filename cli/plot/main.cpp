// dot11b-plot: plot views of a waveform file, drawn offscreen; see command_line.hpp.

#include <iostream>

#include <QApplication>

#include "cli/plot/command_line.hpp"

namespace {

// Qt's notes about the offscreen session (no runtime folder, no window
// manager) mean nothing to the user of a command-line tool; its errors still show.
void print_qt_errors_only(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    // The views are drawn into files; no display is needed or used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(print_qt_errors_only);
    QApplication application(argc, argv);
    return dot11b::cli::run_dot11b_plot(argc, argv, std::cout, std::cerr);
}
