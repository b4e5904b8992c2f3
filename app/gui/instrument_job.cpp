#include "app/gui/instrument_job.hpp"

#include <exception>
#include <stdexcept>

#include "app/gui/instrument_io.hpp"
#include "common/gui/dialog_service.hpp"

namespace dot11b::gui {

InstrumentJob::InstrumentJob(QWidget* window, Work work)
    : window_(window), work_(std::move(work)), io_(instrument_io(module_)) {
    module_.set_stop(stop_.get_token());
    module_.set_progress([this](std::size_t done, std::size_t total) {
        emit sent(static_cast<qint64>(done), static_cast<qint64>(total));
    });
}

InstrumentJob::~InstrumentJob() {
    if (thread_) thread_->wait();
}

void InstrumentJob::start() {
    thread_.reset(QThread::create([this] {
        // Nothing may escape a worker thread; the caller reports the error.
        try {
            work_(*this, io_);
        } catch (const std::exception& e) {
            error_ = e.what();
        }
    }));
    connect(thread_.get(), &QThread::finished, this, &ProgressTask::finished);
    thread_->start();
}

void InstrumentJob::cancel() { stop_.request_stop(); }

bool InstrumentJob::running() const { return thread_ && thread_->isRunning(); }

bool InstrumentJob::confirm(const std::string& title, const std::string& text) {
    bool yes = false;
    std::optional<std::string> failure;
    QMetaObject::invokeMethod(
        this,
        [&] {
            // An error must not unwind through the GUI thread's event loop; it ends the work instead.
            try {
                yes = dialogs().question(window_, {title, text, {"OK", "Cancel"}, "Cancel"}) == "OK";
            } catch (const std::exception& e) {
                failure = e.what();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) throw std::runtime_error(*failure);
    return yes;
}

}  // namespace dot11b::gui
