#pragma once
// What an adapter receives: its operation's name and the inputs the caller
// passed (copies), with checked access that names a missing input.

#include <cstddef>
#include <string_view>
#include <vector>

#include "frame/value.hpp"

namespace dot11b::frame {

class Inputs {
public:
    Inputs(std::string_view operation, std::vector<Value> values)
        : operation_(operation), values_(std::move(values)) {}

    std::string_view operation() const { return operation_; }
    std::size_t count() const { return values_.size(); }
    bool has(std::size_t index) const { return index < values_.size(); }

    // Throws RuntimeError naming the operation and the input when it was not passed.
    const Value& at(std::size_t index, std::string_view name) const;

private:
    std::string_view operation_;
    std::vector<Value> values_;
};

using Outputs = std::vector<Value>;

// The body of an operation: the outputs it assigns, in order (it may assign
// more than nargout, or fewer, which the caller reports).
using Body = Outputs (*)(const Inputs& inputs, int nargout);

}  // namespace dot11b::frame
