#pragma once
// The message of the error a call throws, for tests that check what the user reads.

#include <exception>
#include <string>

namespace dot11b::test {

// The what() of the `Error` that `call` throws; "no error" when it returns.
// Errors of other types pass through and fail the test.
template <class Error = std::exception, class Call>
std::string error_text(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace dot11b::test
