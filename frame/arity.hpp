#pragma once
// Declared input or output counts of an operation.

namespace dot11b::frame {

struct Arity {
    int named = 0;          // fixed count, or the named ones before a variable tail
    bool variable = false;  // any number may follow the named ones

    constexpr Arity(int fixed) : named(fixed) {}  // NOLINT: counts are written as plain numbers in the table
    constexpr Arity(int named_count, bool any_more) : named(named_count), variable(any_more) {}

    // True when `count` exceeds what was declared.
    constexpr bool exceeded_by(int count) const { return !variable && count > named; }
};

}  // namespace dot11b::frame

#define VAR ::dot11b::frame::Arity(0, true)
#define AT_LEAST(n) ::dot11b::frame::Arity(n, true)
