#include "plots/signal_columns.hpp"

namespace dot11b::plots {

SignalColumns iq_columns(SampleSpan x) {
    SignalColumns columns(2);
    columns[0].reserve(x.size());
    columns[1].reserve(x.size());
    for (const Complex v : x) {
        columns[0].push_back(v.real());
        columns[1].push_back(v.imag());
    }
    return columns;
}

}  // namespace dot11b::plots
