#pragma once
// The state of the simulated signal generator and what each command does to
// it: identification, error queue, waveform memory and every playback setting.

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "instrument/sim/scpi_stream.hpp"

namespace dot11b::sim {

class SimulatedGenerator {
public:
    explicit SimulatedGenerator(std::string identity);
    ~SimulatedGenerator();
    SimulatedGenerator(const SimulatedGenerator&) = delete;
    SimulatedGenerator& operator=(const SimulatedGenerator&) = delete;

    // Carries out one command; returns the reply of a query (without its
    // line feed). Faults go to the error queue.
    std::optional<std::string> execute(const ReceivedCommand& command);

    // Stored data by memory name, e.g. "WFM1:dot11b" and "MKR1:dot11b".
    const std::map<std::string, std::string>& files() const { return files_; }
    std::size_t errors_pending() const { return errors_.size(); }

    // A readable account of the stored waveforms, the settings (each as its
    // query reports it) and whether the front panel is in local mode.
    std::string summary() const;

private:
    struct Entry;
    void push_error(int code, std::string_view text);
    void store(std::string_view parameters, const ReceivedCommand& command);
    void select(std::string_view parameters);
    std::optional<std::string> apply(Entry& entry, bool query, std::string_view parameters);

    std::string identity_;
    std::vector<Entry> entries_;
    std::deque<std::string> errors_;
    std::map<std::string, std::string> files_;
    std::string selected_;
    bool local_ = true;
};

// Capacity of the error queue; the last entry becomes a queue overflow beyond it.
inline constexpr std::size_t kErrorQueueSize = 30;

}  // namespace dot11b::sim
