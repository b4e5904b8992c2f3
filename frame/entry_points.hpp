#pragma once
// Support for the generated mlf/mlx entry points (exports.cpp): turning
// pointer argument lists into inputs and results into out-parameters.

#include <cstdarg>
#include <initializer_list>
#include <vector>

#include "frame/registry.hpp"
#include "frame/value.hpp"

namespace dot11b::frame::entry {

// Copies the inputs up to the first null pointer.
std::vector<Value> gather(std::initializer_list<const Value*> named);
// The same, continuing into a variable tail of const Value* closed by a null pointer.
std::vector<Value> gather_variable(std::initializer_list<const Value*> named, std::va_list tail);

// Requests 1 + the position of the last non-null out-parameter outputs; the
// first is returned, the others are stored through their non-null pointers.
Value call_mlf(OpId id, std::initializer_list<Value*> out_params, std::vector<Value> inputs);
// Requests nargout outputs; throws RuntimeError when an out-parameter for a requested output is null.
Value call_mlfn(OpId id, int nargout, std::initializer_list<Value*> out_params, std::vector<Value> inputs);
// Requests nargout outputs; outputs 2 and up go to varargout[0 ...].
Value call_mlfn_variable(OpId id, int nargout, Value* varargout, std::vector<Value> inputs);
// Requests no output.
void call_without_outputs(OpId id, std::vector<Value> inputs);
// Call by count: nrhs inputs from prhs, nlhs outputs into plhs (which holds at least max(nlhs, 1) values).
void call_mlx(OpId id, int nlhs, Value plhs[], int nrhs, const Value prhs[]);

}  // namespace dot11b::frame::entry
