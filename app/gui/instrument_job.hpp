#pragma once
// One instrument command on a worker thread, so that the window keeps
// repainting while the instrument answers: it runs on an I/O module of its
// own, reports the bytes a download sends, can be asked to stop (a download
// then ends as cancelled), and asks its questions through the dialog service
// on the GUI thread.

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include <QPointer>
#include <QThread>
#include <QWidget>

#include "common/gui/progress_task.hpp"
#include "instrument/hwio.hpp"
#include "instrument/io_layer.hpp"

namespace dot11b::gui {

class InstrumentJob final : public ProgressTask {
    Q_OBJECT

public:
    // Runs on the worker thread; it keeps its results where the caller reads
    // them after finished().
    using Work = std::function<void(InstrumentJob& job, const instrument::HwIO& io)>;

    // `window` is the parent of the job's questions.
    InstrumentJob(QWidget* window, Work work);
    // Waits for the worker; callers wait for finished() first.
    ~InstrumentJob() override;

    void start() override;
    void cancel() override;
    bool running() const;

    // The message of an error the work raised, once finished.
    const std::optional<std::string>& error() const { return error_; }

    // For the work: asks on the GUI thread with the buttons "OK" and "Cancel"
    // (default "Cancel"); true only for "OK".
    bool confirm(const std::string& title, const std::string& text);

private:
    QPointer<QWidget> window_;
    Work work_;
    instrument::HwIoModule module_;
    instrument::HwIO io_;
    std::stop_source stop_;
    std::unique_ptr<QThread> thread_;
    std::optional<std::string> error_;
};

}  // namespace dot11b::gui
