#pragma once
// dot11b-gen --verify: the built waveform goes through the analyser, an
// independent receiver, before it is downloaded; the run fails unless the
// decoded PSDU is the one built and every transmitter measurement passes.

#include <CLI/CLI.hpp>
#include <iosfwd>

#include "app/records.hpp"
#include "cli/gen/generated_waveform.hpp"

namespace dot11b::cli {

class VerifyOption {
public:
    void add_to(CLI::App& app);

    // Throws ConfigError when verification is asked for an unframed waveform,
    // which has no preamble to decode.
    void check(const app::FormatParameters& parameters) const;

    bool requested() const { return requested_; }

    // Analyses the waveform and prints the verdict on `err`; true when it passes.
    bool passes(const GeneratedWaveform& waveform, std::ostream& err) const;

private:
    bool requested_ = false;
};

}  // namespace dot11b::cli
