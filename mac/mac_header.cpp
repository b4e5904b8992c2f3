#include "mac/mac_header.hpp"

#include <algorithm>
#include <limits>
#include <string>

#include "common/errors.hpp"
#include "mac/bit_conversion.hpp"

namespace dot11b::mac {
namespace {

constexpr std::array<std::string_view, kMacFields.size()> kNames = {
    "FrameCntrl", "DurationID", "Address1", "Address2", "Address3", "SeqCntrl", "Address4",
};

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string_view mac_field_name(MacField field) { return kNames[static_cast<std::size_t>(field)]; }

std::optional<MacField> mac_field_from_name(std::string_view name) {
    for (const MacField field : kMacFields) {
        if (mac_field_name(field) == name) return field;
    }
    return std::nullopt;
}

std::size_t mac_field_size(MacField field) {
    switch (field) {
    case MacField::FrameCntrl:
    case MacField::DurationID:
    case MacField::SeqCntrl:
        return 2;
    default:
        return 6;
    }
}

std::uint64_t mac_field_max(MacField field) { return (std::uint64_t{1} << (8 * mac_field_size(field))) - 1; }

Bits MacHeader::bit_stream() const {
    Bits bits;
    bits.reserve(8 * length_bytes());
    for (const MacField field : kMacFields) {
        const MacFieldValue& value = (*this)[field];
        if (!value.active) continue;
        const Bits field_bits =
            bit_vector(static_cast<double>(value.contents), static_cast<double>(8 * mac_field_size(field)));
        bits.insert(bits.end(), field_bits.begin(), field_bits.end());
    }
    return bits;
}

std::size_t MacHeader::length_bytes() const {
    std::size_t bytes = 0;
    for (const MacField field : kMacFields) {
        if ((*this)[field].active) bytes += mac_field_size(field);
    }
    return bytes;
}

MacHeader default_mac_header() { return MacHeader{}; }

std::uint64_t parse_hex_field(MacField field, std::string_view text) {
    const std::string_view digits = trim_blanks(text);
    if (digits.empty()) {
        throw ConfigError(std::string(mac_field_name(field)) + ": \"" + std::string(text) +
                          "\" is not a hexadecimal number");
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = hex_digit(c);
        if (digit < 0) {
            throw ConfigError(std::string(mac_field_name(field)) + ": \"" + std::string(text) +
                              "\" is not a hexadecimal number");
        }
        value = value > (kMax >> 4) ? kMax : (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::uint64_t enter_hex_field(MacField field, std::string_view text) {
    return std::min(parse_hex_field(field, text), mac_field_max(field));
}

}  // namespace dot11b::mac
