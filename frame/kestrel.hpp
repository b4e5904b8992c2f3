#pragma once
// The public interface of the Kestrel library (libkestrel.so).
//
// Calling convention
// - Call KestrelInitialize() once before anything else and KestrelTerminate()
//   at the end; calling an entry outside that window throws
//   dot11b::frame::RuntimeError. The library may be initialised again later.
// - The entries have C names (unmangled, found with dlsym) but C++ types:
//   values are dot11b::frame::Value and errors are C++ exceptions derived from
//   std::runtime_error, so callers must be C++ built with the same compiler.
// - mlfName(out2, ..., outM, in1, ..., inN): returns the first output; a
//   non-null out-parameter requests that output (1 + the position of the last
//   non-null one are requested). Inputs are read up to the first null pointer;
//   later ones are absent.
// - mlxName(nlhs, plhs, nrhs, prhs): call by count; plhs holds at least
//   max(nlhs, 1) values and receives the outputs.
// - Where a count varies: mlfNName(nargout, out-parameters..., inputs...)
//   requests nargout outputs (a variable output list goes to the array
//   varargout, outputs 2 and up), mlfVName(inputs...) requests none, and a
//   variable input list is closed by a null pointer.
// - Operations not yet built are exported but throw RuntimeError.

#include "frame/exports.hpp"
#include "frame/runtime_error.hpp"
#include "frame/value.hpp"

extern "C" {
void KestrelInitialize(void);
void KestrelTerminate(void);
}
