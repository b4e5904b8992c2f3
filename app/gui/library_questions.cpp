#include "app/gui/library_questions.hpp"

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include <QApplication>
#include <QThread>

#include "common/gui/dialog_service.hpp"
#include "frame/user_question.hpp"

namespace dot11b::gui {
namespace {

std::optional<std::string> ask(const frame::UserQuestion& q) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return std::nullopt;
    const auto show = [&q] {
        return dialogs().question(QApplication::activeWindow(), {q.title, q.text, q.buttons, q.default_button});
    };
    if (QThread::currentThread() == application->thread()) return show();
    std::optional<std::string> answer;
    std::optional<std::string> failure;
    QMetaObject::invokeMethod(
        application,
        [&] {
            // An error must not unwind through the GUI thread's event loop; the asking thread raises it.
            try {
                answer = show();
            } catch (const std::exception& e) {
                failure = e.what();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) throw std::runtime_error(*failure);
    return answer;
}

}  // namespace

void answer_library_questions() { frame::set_question_asker(ask); }

}  // namespace dot11b::gui
