#include "cli/common/sample_rate_option.hpp"

#include "common/sample_rate_range.hpp"

namespace dot11b::cli {

CLI::Option* add_sample_rate_option(CLI::App& app, std::optional<double>& rate, const std::string& help, double min_hz,
                                    const std::string& min_name) {
    const CLI::Validator allowed(
        [=](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value)) return text + " is not a number";
            if (sample_rate_allowed(value, min_hz)) return {};
            return text + " is not allowed; allowed: " + allowed_sample_rates(min_hz, min_name);
        },
        "HZ");
    return app.add_option("--sample-rate", rate, help)->check(allowed);
}

}  // namespace dot11b::cli
