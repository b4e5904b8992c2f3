#include "app/clock2str.hpp"

#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

#include "app/num2str.hpp"
#include "common/errors.hpp"

namespace dot11b::app {
namespace {

std::string two_digits(double value) {
    std::string text = num2str(value);
    return text.size() == 1 ? "0" + text : text;
}

}  // namespace

std::string clock2str(std::span<const double> clock) {
    static constexpr std::array<const char*, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (clock.size() != 6) {
        throw ConfigError("clock2str: clkVector must have 6 elements [year month day hour minute seconds], got " +
                          std::to_string(clock.size()));
    }
    const double month = clock[1];
    if (!(month >= 1 && month <= 12 && std::floor(month) == month)) {
        throw ConfigError("clock2str: month " + num2str(month) + " is not allowed; allowed: 1 to 12");
    }
    return two_digits(clock[2]) + kMonths[static_cast<std::size_t>(month) - 1] + num2str(clock[0]) + " " +
           num2str(clock[3]) + ":" + two_digits(clock[4]) + ":" + two_digits(std::trunc(clock[5]));
}

std::array<double, 6> clock_now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto fraction = std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds)).count();
    return {static_cast<double>(local.tm_year + 1900), static_cast<double>(local.tm_mon + 1),
            static_cast<double>(local.tm_mday),        static_cast<double>(local.tm_hour),
            static_cast<double>(local.tm_min),         local.tm_sec + fraction};
}

}  // namespace dot11b::app
