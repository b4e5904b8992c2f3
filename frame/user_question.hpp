#pragma once
// Questions to the user from operations called through the library (the
// RS-232 transfer-time question of a download). The desktop application
// answers them through its dialog service while it runs; without it nobody
// can be asked. terminate() forgets the asker.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dot11b::frame {

struct UserQuestion {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    std::string default_button;
};

// The button pressed, or nullopt when the dialog was closed.
using QuestionAsker = std::function<std::optional<std::string>(const UserQuestion& question)>;

// Replaces the asker (none by default); returns the previous one.
QuestionAsker set_question_asker(QuestionAsker asker);

// True while someone answers questions.
bool can_ask_user();
// Asks; nullopt when the dialog was closed or nobody can be asked.
std::optional<std::string> ask_user(const UserQuestion& question);

}  // namespace dot11b::frame
