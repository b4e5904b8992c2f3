#pragma once
// The IEEE 802.11 data-frame MAC header: seven fields, each with a value, a
// width and an on/off flag, and the bit stream of the active fields.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/types.hpp"

namespace dot11b::mac {

// In header order, the order of the bit stream.
enum class MacField { FrameCntrl, DurationID, Address1, Address2, Address3, SeqCntrl, Address4 };

inline constexpr std::array<MacField, 7> kMacFields = {MacField::FrameCntrl, MacField::DurationID, MacField::Address1,
                                                       MacField::Address2,   MacField::Address3,   MacField::SeqCntrl,
                                                       MacField::Address4};

std::string_view mac_field_name(MacField field);
std::optional<MacField> mac_field_from_name(std::string_view name);
// Width in bytes: 2 for the control, duration and sequence fields, 6 for addresses.
std::size_t mac_field_size(MacField field);
// The largest value of the field, 2^(8 * size) - 1.
std::uint64_t mac_field_max(MacField field);

struct MacFieldValue {
    std::uint64_t contents = 0;  // 0 to mac_field_max
    bool active = true;          // included in the bit stream
    bool operator==(const MacFieldValue&) const = default;
};

struct MacHeader {
    std::array<MacFieldValue, kMacFields.size()> fields{};  // indexed by MacField

    MacFieldValue& operator[](MacField field) { return fields[static_cast<std::size_t>(field)]; }
    const MacFieldValue& operator[](MacField field) const { return fields[static_cast<std::size_t>(field)]; }

    // The active fields in header order, each least significant bit first: a
    // value typed as 0801 sends the octet 01 first.
    Bits bit_stream() const;
    // Octets of the active fields: 30 with every field active.
    std::size_t length_bytes() const;

    bool operator==(const MacHeader&) const = default;
};

// Every field 0 and active: 240 zero bits.
MacHeader default_mac_header();

// Hexadecimal text read as a number, saturating at 2^64 - 1; surrounding
// blanks are ignored. Throws ConfigError naming the field and the text when it
// is empty or holds anything but hexadecimal digits.
std::uint64_t parse_hex_field(MacField field, std::string_view text);

// The MAC header window's entry: the hexadecimal text clamped to the field width
// (too large a value becomes all ones).
std::uint64_t enter_hex_field(MacField field, std::string_view text);

}  // namespace dot11b::mac
