#pragma once
// The registry of named operations, generated from operations.def, and the
// one way in: count checks with the library's run-time error texts, then the
// body, then the unassigned-output warnings.

#include <span>
#include <string_view>
#include <vector>

#include "frame/arity.hpp"
#include "frame/inputs.hpp"

namespace dot11b::frame {

enum class OpId : int {
#define OP(name, inputs, outputs) name,
#define GUI_OP(name, inputs, outputs) name,
#define PLANNED(name, inputs, outputs) name,
#include "frame/operations.def"
#undef OP
#undef GUI_OP
#undef PLANNED
};

struct Operation {
    std::string_view name;
    Arity inputs;
    Arity outputs;
    int line;   // declaration line of the operation in its script, quoted in run-time errors
    Body body;  // null while the operation is not yet built
};

// Every row of the table, in table order; usable before initialisation.
std::span<const Operation> operation_table();
const Operation& operation(OpId id);

// Looks a name up in the registry built by initialize(); nullptr when unknown.
// Throws RuntimeError when the library is not ready.
const Operation* find_operation(std::string_view name);

// Enters an operation: checks the library is ready and the counts, runs the
// body on copies of the inputs, and returns max(nargout, 1) outputs at most,
// with a warning and an empty value for each requested output left unassigned.
Outputs call(const Operation& op, int nargout, std::vector<Value> inputs);

// Calls a sub-function of the script that is running when one of that name
// exists, otherwise the registered operation. Throws RuntimeError for an unknown name.
Outputs call_by_name(std::string_view name, int nargout, std::vector<Value> inputs);

// The shared entry behind call() and the local function tables.
Outputs enter(std::string_view qualified_name, int line, Arity declared_inputs, Arity declared_outputs, Body body,
              int nargout, std::vector<Value> inputs);

}  // namespace dot11b::frame
