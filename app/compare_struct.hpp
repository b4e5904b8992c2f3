#pragma once
// Field-by-field comparison of two records (`compareStruct`), used to tell
// whether the settings changed since the last calculation.

#include "frame/value.hpp"

namespace dot11b::app {

// True when both are structures with the same field names in the same order
// and equal fields: both empty; both structures, compared the same way; both
// numeric of the same size with equal elements (NaN equal to NaN at the same
// position); or both text, identical. Anything else (different kinds, one
// empty, cell arrays) is unequal.
bool compare_struct(const frame::Value& a, const frame::Value& b);

}  // namespace dot11b::app
