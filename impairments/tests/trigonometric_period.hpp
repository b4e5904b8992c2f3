#pragma once
// A period as the band-limited periodic signal its DFT defines: its value and
// slope at any real instant, computed with FFTW, independently of the
// resampler.

#include <fftw3.h>

#include <cmath>

#include "common/types.hpp"

namespace dot11b::test {

class TrigonometricPeriod {
public:
    explicit TrigonometricPeriod(const Samples& period) : spectrum_(period.size()) {
        Samples in = period;
        fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(in.size()), reinterpret_cast<fftw_complex*>(in.data()),
                                          reinterpret_cast<fftw_complex*>(spectrum_.data()), FFTW_FORWARD,
                                          FFTW_ESTIMATE);
        fftw_execute(plan);
        fftw_destroy_plan(plan);
    }

    // Value and derivative (per sample) at `instant`, bins taken at -N/2 ... N/2 - 1.
    std::pair<Complex, Complex> at(double instant) const {
        const auto n = static_cast<long>(spectrum_.size());
        const double scale = 2.0 * M_PI / static_cast<double>(n);
        Complex value;
        Complex slope;
        const Complex turn = std::polar(1.0, scale * instant);
        Complex rotor = std::polar(1.0, -scale * instant * static_cast<double>(n / 2));
        for (long f = -n / 2; f < n - n / 2; ++f) {
            if (f % 1024 == 0) rotor = std::polar(1.0, scale * instant * static_cast<double>(f));
            const Complex term = spectrum_[static_cast<std::size_t>((f + n) % n)] * rotor;
            value += term;
            slope += term * Complex(0.0, scale * static_cast<double>(f));
            rotor *= turn;
        }
        return {value / static_cast<double>(n), slope / static_cast<double>(n)};
    }

private:
    Samples spectrum_;
};

}  // namespace dot11b::test
