#include "app/gui/sdr_playback.hpp"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "app/gui/status_line.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/number_text.hpp"
#include "sdr/soapy/sdr_session.hpp"

namespace dot11b::gui {
namespace {

constexpr const char* kObjectName = "sdrPlayback";
constexpr int kStatusIntervalMs = 250;

// One playing: the worker, what it has told so far, and the window's button.
class SdrPlayback final : public QObject {
public:
    SdrPlayback(QWidget* main, const DownloadInput& input) : QObject(main), main_(main), waveform_(input.waveform), args_(input.configuration.sdr.args) {
        setObjectName(kObjectName);
        sdr::PlayRequest request;
        const app::SdrSettings& sdr = input.configuration.sdr;
        request.args = sdr.args;
        request.period = waveform_;
        request.waveform_rate = input.settings.sampling_rate;
        request.frequency = input.settings.frequency;
        request.gain = sdr.gain;
        if (!sdr.antenna.empty()) request.antenna = sdr.antenna;
        if (sdr.rate > 0) request.rate = sdr.rate;
        request.options.stop = &stop_;
        request.options.retune = [this] {
            const std::lock_guard lock(mutex_);
            return std::exchange(retune_, std::nullopt);
        };
        request.options.progress = [this](const sdr::PlaySummary& summary) {
            const std::lock_guard lock(mutex_);
            summary_ = summary;
        };
        if (auto* button = download_button()) {
            button_text_ = button->text();
            button->setText(QStringLiteral("Stop"));
        }
        connect(&timer_, &QTimer::timeout, this, [this] { show_progress(); });
        timer_.start(kStatusIntervalMs);
        worker_ = std::thread([this, request] { play(request); });
    }

    // Also when the window goes: the worker never outlives what it reads.
    ~SdrPlayback() override { stop_worker(); }

    // Stops the worker (the device closes as it returns) and shows the outcome.
    void end() {
        if (ended_) return;
        ended_ = true;
        stop_worker();
        timer_.stop();
        if (auto* button = download_button()) button->setText(button_text_);
        if (main_ == nullptr) return;
        if (error_) {
            show_status(main_, frame::ConsoleKind::Error, *error_);
            dialogs().error(main_, "SDR Playback Failed", *error_);
        } else {
            show_status(main_, frame::ConsoleKind::Note, "Stopped: " + progress_text());
        }
    }

    // Applied by the worker between two writes.
    void retune(const sdr::Retune& settings) {
        const std::lock_guard lock(mutex_);
        retune_ = settings;
    }

private:
    void stop_worker() {
        stop_ = true;
        if (worker_.joinable()) worker_.join();
    }

    void play(const sdr::PlayRequest& request) {
        try {
            const sdr::PlaySummary summary = sdr::play_waveform(request, [this](const sdr::PlaySetup& setup) {
                const std::lock_guard lock(mutex_);
                setup_ = setup;
            });
            const std::lock_guard lock(mutex_);
            summary_ = summary;
        } catch (const std::exception& e) {
            const std::lock_guard lock(mutex_);
            error_ = e.what();
        }
        // A device that fails ends the playing without Stop.
        QMetaObject::invokeMethod(this, [this] { finish(); }, Qt::QueuedConnection);
    }

    void finish() {
        end();
        deleteLater();
    }

    std::string progress_text() {
        const std::lock_guard lock(mutex_);
        if (!setup_) return "the SDR " + (args_.empty() ? std::string("(any)") : args_) + ", opening";
        return setup_->device + " at " + number_text(setup_->rate / 1e6) + " MHz: " + std::to_string(summary_.periods) +
               " periods played, " + std::to_string(summary_.underflows) + " underflows";
    }

    void show_progress() {
        if (main_ != nullptr) show_status(main_, frame::ConsoleKind::Note, "Playing on " + progress_text());
    }

    QPushButton* download_button() const {
        return main_ != nullptr ? main_->findChild<QPushButton*>(QStringLiteral("pbDownload")) : nullptr;
    }

    QPointer<QWidget> main_;
    const Samples waveform_;  // the worker reads it through the request's span
    const std::string args_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::optional<sdr::PlaySetup> setup_;
    std::optional<sdr::Retune> retune_;
    sdr::PlaySummary summary_;
    std::optional<std::string> error_;
    QTimer timer_;
    QString button_text_;
    bool ended_ = false;
    std::thread worker_;
};

SdrPlayback* playback_of(const QWidget* main) {
    return main != nullptr ? main->findChild<SdrPlayback*>(kObjectName, Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace

bool sdr_playing(const QWidget* main) { return playback_of(main) != nullptr; }

void start_sdr_playback(QWidget* main, const DownloadInput& input) {
    if (sdr_playing(main)) return;
    new SdrPlayback(main, input);
}

bool retune_sdr_playback(QWidget* main, double frequency, double gain) {
    SdrPlayback* playback = playback_of(main);
    if (playback == nullptr) return false;
    playback->retune({frequency, gain});
    return true;
}

void stop_sdr_playback(QWidget* main) {
    if (SdrPlayback* playback = playback_of(main)) {
        playback->end();
        delete playback;
    }
}

}  // namespace dot11b::gui
