#pragma once
// What the windows say about an entry that was not stored as typed: refused
// because it is not a number (the stored value is kept), or brought into the
// field's range. The texts go to the console and the status bar.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dot11b::app {

struct EntryField {
    std::string label;                        // "Idle interval"
    std::function<std::string(double)> show;  // a value with its unit, "100 µs"
    double min;                               // the range, in the units of `show`
    double max;
};

// show for a number followed by the unit (none when empty), as the fields show numbers.
std::function<std::string(double)> in_unit(std::string unit);
// A frequency in Hz as the generator panel shows it: "2.437 GHz".
std::string frequency_text(double hz);

// "Idle interval: 1e400 is not a number; kept 100 µs"
std::string refused_entry_note(const EntryField& field, std::string_view entry, double kept);
// "Data length: 3000 is more than 2312 bytes; set to 2312 bytes", or nothing
// when `entered` lies in the field's range.
std::optional<std::string> clamped_entry_note(const EntryField& field, std::string_view entry, double entered,
                                              double stored);

}  // namespace dot11b::app
