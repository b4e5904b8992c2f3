#include "frame/inputs.hpp"

#include <string>

#include "frame/runtime_error.hpp"

namespace dot11b::frame {

const Value& Inputs::at(std::size_t index, std::string_view name) const {
    if (index >= values_.size()) {
        throw RuntimeError(std::string(operation_) + ": input argument \"" + std::string(name) + "\" (number " +
                           std::to_string(index + 1) + ") was not passed.");
    }
    return values_[index];
}

}  // namespace dot11b::frame
