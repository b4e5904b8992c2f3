#pragma once
// The command lines sgsim has served. It serves one connection at a time and
// may stop with connections still queued; a query answered means everything
// sent before has been served.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instrument/hwio.hpp"
#include "simulator_process.hpp"

namespace dot11b::gui::test {

// Stops the simulator; its log up to the query that settles it.
inline std::vector<std::string> served_log(instrument::SimulatorProcess& sim) {
    instrument::HwIoModule module;
    EXPECT_TRUE(module(static_cast<std::int32_t>(instrument::HwOp::Ping), sim.lan(), {}).ok());
    sim.stop();
    std::vector<std::string> log = sim.log();
    if (!log.empty()) log.pop_back();
    return log;
}

}  // namespace dot11b::gui::test
