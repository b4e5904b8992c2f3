#include "frame/user_question.hpp"

#include <utility>

namespace dot11b::frame {
namespace {

QuestionAsker& asker() {
    static QuestionAsker current;
    return current;
}

}  // namespace

QuestionAsker set_question_asker(QuestionAsker replacement) { return std::exchange(asker(), std::move(replacement)); }

bool can_ask_user() { return static_cast<bool>(asker()); }

std::optional<std::string> ask_user(const UserQuestion& question) {
    if (!asker()) return std::nullopt;
    return asker()(question);
}

}  // namespace dot11b::frame
