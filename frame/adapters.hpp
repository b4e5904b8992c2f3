#pragma once
// Declarations of the adapters of every built operation; each subsystem
// defines its own in its operations.cpp.

#include "frame/arity.hpp"
#include "frame/inputs.hpp"

namespace dot11b::ops {

#define OP(name, inputs, outputs) frame::Outputs name(const frame::Inputs& in, int nargout);
#define GUI_OP(name, inputs, outputs) frame::Outputs name(const frame::Inputs& in, int nargout);
#define PLANNED(name, inputs, outputs)
#include "frame/operations.def"
#undef OP
#undef GUI_OP
#undef PLANNED

}  // namespace dot11b::ops
