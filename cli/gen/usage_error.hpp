#pragma once
// An option or value that is wrong as typed: dot11b-gen exits with status 2.
// Failures found while running (file contents, the instrument, a
// configuration the frame builder refuses) are other errors and exit with 1.

#include "common/errors.hpp"

namespace dot11b::cli {

class UsageError : public ConfigError {
public:
    using ConfigError::ConfigError;
};

}  // namespace dot11b::cli
