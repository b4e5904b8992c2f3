#pragma once
// Runs each test inside an initialised library and captures the console.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/console.hpp"
#include "frame/library.hpp"

namespace dot11b::frame {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = set_console([this](std::string_view line) { console_.emplace_back(line); });
        initialize();
    }
    void TearDown() override {
        if (is_ready()) terminate();
        set_console(previous_);
    }

    std::vector<std::string> console_;

private:
    ConsoleSink previous_;
};

}  // namespace dot11b::frame
