#include "instrument/identity_reply.hpp"

#include <algorithm>
#include <vector>

namespace dot11b::instrument {
namespace {

bool blank(std::string_view field) {
    return std::all_of(field.begin(), field.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::vector<std::string_view> fields_of(std::string_view reply) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = reply.find(',', start);
        fields.push_back(reply.substr(start, comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

}  // namespace

bool looks_like_identity(std::string_view reply) {
    const std::vector<std::string_view> fields = fields_of(reply);
    return fields.size() == 4 && !blank(fields[0]) && !blank(fields[1]);
}

std::string connection_check_text(const StatusPair& result, const std::optional<std::string>& error) {
    if (error) return *error;
    if (!result.ok() || looks_like_identity(result.description)) return result.description;
    return "Reply: \"" + result.description +
           "\"\nThis is not an instrument's identity (an IEEE 488.2 *IDN? answer has four fields separated by "
           "commas: maker, model, serial number, firmware). Check that the address is the instrument's.";
}

}  // namespace dot11b::instrument
