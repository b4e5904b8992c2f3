#pragma once
// Discrete Fourier transforms of any length through FFTW: the one place that
// plans them. FFTW's planner is process-wide and not re-entrant, so every plan
// of the program is made and destroyed under the one lock kept here; running
// a plan is safe from any thread.

#include <cstddef>
#include <span>

#include "common/types.hpp"

struct fftw_plan_s;

namespace dot11b {

enum class DftDirection {
    Forward,  // X(k) = sum over m of x(m) exp(-j 2 pi k m / n)
    Inverse,  // x(m) = sum over k of X(k) exp(+j 2 pi k m / n), not divided by n
};

// A transform of one length, planned once and run on as many blocks as needed.
class DftPlan {
public:
    explicit DftPlan(std::size_t n, DftDirection direction = DftDirection::Forward);
    ~DftPlan();
    DftPlan(const DftPlan&) = delete;
    DftPlan& operator=(const DftPlan&) = delete;

    std::size_t size() const { return n_; }
    // `in` and `out` hold size() samples each and must not overlap.
    void execute(SampleSpan in, std::span<Complex> out) const;

private:
    std::size_t n_;
    fftw_plan_s* plan_;            // for arrays aligned as FFTW's vector code needs
    fftw_plan_s* unaligned_plan_;  // for any others
};

// The x.size()-point forward transform of x.
Samples dft(SampleSpan x);

// The x.size()-point inverse transform of x, not divided by the length.
Samples inverse_dft(SampleSpan x);

}  // namespace dot11b
