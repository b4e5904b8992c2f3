#pragma once
// Discrete Fourier transforms of any length through FFTW.

#include <cstddef>

#include "common/types.hpp"

struct fftw_plan_s;

namespace dot11b::plots {

// A forward transform of one length, X(k) = sum over m of x(m) exp(-j 2 pi k m / n),
// planned once and run on as many blocks as needed, from any thread.
class DftPlan {
public:
    explicit DftPlan(std::size_t n);
    ~DftPlan();
    DftPlan(const DftPlan&) = delete;
    DftPlan& operator=(const DftPlan&) = delete;

    std::size_t size() const { return n_; }
    // `in` and `out` hold size() samples each and must not overlap.
    void execute(SampleSpan in, std::span<Complex> out) const;

private:
    std::size_t n_;
    fftw_plan_s* plan_;
};

// The x.size()-point transform of x.
Samples dft(SampleSpan x);

}  // namespace dot11b::plots
