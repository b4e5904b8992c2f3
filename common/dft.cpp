#include "common/dft.hpp"

#include <cassert>
#include <mutex>

#include <fftw3.h>

namespace dot11b {
namespace {

std::mutex& planner_mutex() {
    static std::mutex mutex;
    return mutex;
}

fftw_complex* as_fftw(const Complex* data) {
    // std::complex<double> has the layout of fftw_complex; FFTW leaves the
    // input of an out-of-place complex transform untouched.
    return reinterpret_cast<fftw_complex*>(const_cast<Complex*>(data));
}

Samples transformed(SampleSpan x, DftDirection direction) {
    Samples out(x.size());
    DftPlan(x.size(), direction).execute(x, out);
    return out;
}

}  // namespace

DftPlan::DftPlan(std::size_t n, DftDirection direction) : n_(n), plan_(nullptr), unaligned_plan_(nullptr) {
    if (n == 0) return;
    const std::lock_guard lock(planner_mutex());
    // FFTW_ESTIMATE plans without touching the arrays, so scratch buffers
    // serve; left unwritten, their pages are never even mapped. Arrays of
    // std::complex<double> from the heap are aligned as FFTW's vector code
    // needs, so the plan for them is the one that runs.
    fftw_complex* in = fftw_alloc_complex(n);
    fftw_complex* out = fftw_alloc_complex(n);
    const int sign = direction == DftDirection::Forward ? FFTW_FORWARD : FFTW_BACKWARD;
    plan_ = fftw_plan_dft_1d(static_cast<int>(n), in, out, sign, FFTW_ESTIMATE);
    unaligned_plan_ = fftw_plan_dft_1d(static_cast<int>(n), in, out, sign, FFTW_ESTIMATE | FFTW_UNALIGNED);
    fftw_free(out);
    fftw_free(in);
}

DftPlan::~DftPlan() {
    if (plan_ == nullptr) return;
    const std::lock_guard lock(planner_mutex());
    fftw_destroy_plan(plan_);
    fftw_destroy_plan(unaligned_plan_);
}

void DftPlan::execute(SampleSpan in, std::span<Complex> out) const {
    assert(in.size() == n_ && out.size() == n_);
    if (n_ == 0) return;
    fftw_complex* from = as_fftw(in.data());
    fftw_complex* to = as_fftw(out.data());
    const bool aligned = fftw_alignment_of(reinterpret_cast<double*>(from)) == 0 &&
                         fftw_alignment_of(reinterpret_cast<double*>(to)) == 0;
    fftw_execute_dft(aligned ? plan_ : unaligned_plan_, from, to);
}

Samples dft(SampleSpan x) { return transformed(x, DftDirection::Forward); }

Samples inverse_dft(SampleSpan x) { return transformed(x, DftDirection::Inverse); }

}  // namespace dot11b
