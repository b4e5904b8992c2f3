#pragma once
// Local function tables: a script with sub-functions reaches them by name,
// either as script(name, arguments...) through dispatch() or from a callback
// string while the script runs.

#include <span>
#include <string_view>
#include <vector>

#include "frame/arity.hpp"
#include "frame/inputs.hpp"

namespace dot11b::frame {

struct LocalFunction {
    std::string_view name;
    Arity inputs;
    Arity outputs;
    int line;  // declaration line in the script, quoted in run-time errors
    Body body;
};

struct LocalTable {
    std::string_view script;
    std::span<const LocalFunction> functions;

    const LocalFunction* find(std::string_view name) const;
};

// The table of the script whose sub-function is running, or nullptr.
const LocalTable* current_local_table();

// Calls a sub-function, named "script/name" in messages, with the table current.
// Throws RuntimeError when the table has no such function.
Outputs call_local(const LocalTable& table, std::string_view name, int nargout, std::vector<Value> inputs);

// A script called with a character string first: calls the sub-function of
// that name with the remaining inputs. Errors raised inside are printed on the
// console, not passed on, and the outputs are then empty.
Outputs dispatch(const LocalTable& table, const Inputs& inputs, int nargout);

}  // namespace dot11b::frame
