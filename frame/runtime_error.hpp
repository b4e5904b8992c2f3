#pragma once
// Errors raised by the library frame itself (argument counts, life cycle).

#include <stdexcept>

namespace dot11b::frame {

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace dot11b::frame
