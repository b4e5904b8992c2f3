#include "frame/entry_points.hpp"

#include <string>

#include "frame/runtime_error.hpp"

namespace dot11b::frame::entry {
namespace {

Value first_or_empty(Outputs& outputs) { return outputs.empty() ? Value() : std::move(outputs.front()); }

}  // namespace

std::vector<Value> gather(std::initializer_list<const Value*> named) {
    std::vector<Value> inputs;
    for (const Value* input : named) {
        if (input == nullptr) break;
        inputs.push_back(*input);
    }
    return inputs;
}

std::vector<Value> gather_variable(std::initializer_list<const Value*> named, std::va_list tail) {
    std::vector<Value> inputs;
    for (const Value* input : named) {
        if (input == nullptr) return inputs;
        inputs.push_back(*input);
    }
    while (const Value* input = va_arg(tail, const Value*)) inputs.push_back(*input);
    return inputs;
}

Value call_mlf(OpId id, std::initializer_list<Value*> out_params, std::vector<Value> inputs) {
    int nargout = 1;
    int position = 1;
    for (const Value* out : out_params) {
        ++position;
        if (out != nullptr) nargout = position;
    }
    Outputs outputs = call(operation(id), nargout, std::move(inputs));
    std::size_t index = 1;
    for (Value* out : out_params) {
        if (out != nullptr && index < outputs.size()) *out = std::move(outputs[index]);
        ++index;
    }
    return first_or_empty(outputs);
}

Value call_mlfn(OpId id, int nargout, std::initializer_list<Value*> out_params, std::vector<Value> inputs) {
    const Operation& op = operation(id);
    int position = 2;
    for (const Value* out : out_params) {
        if (position <= nargout && out == nullptr) {
            throw RuntimeError(std::string(op.name) + ": output " + std::to_string(position) +
                               " was requested but its out-parameter is null.");
        }
        ++position;
    }
    Outputs outputs = call(op, nargout, std::move(inputs));
    std::size_t index = 1;
    for (Value* out : out_params) {
        if (out != nullptr && index < outputs.size()) *out = std::move(outputs[index]);
        ++index;
    }
    return first_or_empty(outputs);
}

Value call_mlfn_variable(OpId id, int nargout, Value* varargout, std::vector<Value> inputs) {
    const Operation& op = operation(id);
    if (nargout > 1 && varargout == nullptr) {
        throw RuntimeError(std::string(op.name) + ": " + std::to_string(nargout) +
                           " outputs were requested but varargout is null.");
    }
    Outputs outputs = call(op, nargout, std::move(inputs));
    for (std::size_t i = 1; i < outputs.size(); ++i) varargout[i - 1] = std::move(outputs[i]);
    return first_or_empty(outputs);
}

void call_without_outputs(OpId id, std::vector<Value> inputs) { call(operation(id), 0, std::move(inputs)); }

void call_mlx(OpId id, int nlhs, Value plhs[], int nrhs, const Value prhs[]) {
    if (nlhs < 0 || nrhs < 0 || (nrhs > 0 && prhs == nullptr) || (nlhs > 0 && plhs == nullptr)) {
        throw RuntimeError(std::string(operation(id).name) + ": invalid argument arrays in a call by count.");
    }
    Outputs outputs = call(operation(id), nlhs, std::vector<Value>(prhs, prhs + nrhs));
    if (plhs == nullptr) return;
    for (std::size_t i = 0; i < outputs.size(); ++i) plhs[i] = std::move(outputs[i]);
}

}  // namespace dot11b::frame::entry
