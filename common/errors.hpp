#pragma once
// The two error types of the typed core and its front ends.

#include <stdexcept>
#include <string>

namespace dot11b {

// A value outside its allowed set: the message names the operation or option,
// the value and what is allowed.
class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or connection failure: the message names the path or address and the reason.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace dot11b
