#include "frame/registry.hpp"

#include <array>
#include <string>

#include "frame/adapters.hpp"
#include "frame/console.hpp"
#include "frame/library.hpp"
#include "frame/local_functions.hpp"
#include "frame/runtime_error.hpp"

namespace dot11b::frame {
namespace {

// Every operation is the main function of its own script, declared on line 1.
constexpr int kScriptLine = 1;

constexpr std::array kTable = {
#define OP(name, inputs, outputs) Operation{#name, inputs, outputs, kScriptLine, &::dot11b::ops::name},
#if DOT11B_WITH_GUI
#define GUI_OP(name, inputs, outputs) Operation{#name, inputs, outputs, kScriptLine, &::dot11b::ops::name},
#else
#define GUI_OP(name, inputs, outputs) Operation{#name, inputs, outputs, kScriptLine, nullptr},
#endif
#define PLANNED(name, inputs, outputs) Operation{#name, inputs, outputs, kScriptLine, nullptr},
#include "frame/operations.def"
#undef OP
#undef GUI_OP
#undef PLANNED
};

std::string count_error(std::string_view name, int line, const char* what, int declared) {
    return "Run-time Error: File: " + std::string(name) + " Line: " + std::to_string(line) +
           " Column: 1 The function \"" + std::string(name) + "\" was called with more than the declared number of " +
           what + " (" + std::to_string(declared) + ").";
}

}  // namespace

std::span<const Operation> operation_table() { return kTable; }

const Operation& operation(OpId id) { return kTable[static_cast<std::size_t>(id)]; }

const Operation* find_operation(std::string_view name) {
    require_ready(name);
    return library().find(name);
}

Outputs enter(std::string_view qualified_name, int line, Arity declared_inputs, Arity declared_outputs, Body body,
              int nargout, std::vector<Value> inputs) {
    require_ready(qualified_name);
    if (declared_outputs.exceeded_by(nargout)) {
        throw RuntimeError(count_error(qualified_name, line, "outputs", declared_outputs.named));
    }
    if (declared_inputs.exceeded_by(static_cast<int>(inputs.size()))) {
        throw RuntimeError(count_error(qualified_name, line, "inputs", declared_inputs.named));
    }
    if (body == nullptr) {
        throw RuntimeError("The function \"" + std::string(qualified_name) + "\" is not available in this build.");
    }
    Outputs outputs = body(Inputs(qualified_name, std::move(inputs)), nargout);
    for (auto i = static_cast<int>(outputs.size()); i < nargout; ++i) {
        print_warning("Output argument " + std::to_string(i + 1) + " of \"" + std::string(qualified_name) +
                      "\" was not assigned; it is returned empty.");
        outputs.emplace_back();
    }
    outputs.resize(std::min(outputs.size(), static_cast<std::size_t>(std::max(nargout, 1))));
    return outputs;
}

Outputs call(const Operation& op, int nargout, std::vector<Value> inputs) {
    return enter(op.name, op.line, op.inputs, op.outputs, op.body, nargout, std::move(inputs));
}

Outputs call_by_name(std::string_view name, int nargout, std::vector<Value> inputs) {
    if (const LocalTable* table = current_local_table()) {
        if (table->find(name) != nullptr) return call_local(*table, name, nargout, std::move(inputs));
    }
    const Operation* op = find_operation(name);
    if (op == nullptr) throw RuntimeError("Undefined function \"" + std::string(name) + "\".");
    return call(*op, nargout, std::move(inputs));
}

}  // namespace dot11b::frame
