#pragma once
// Numbers as the text the window's fields show (`num2Str`): integers without
// decimals, other numbers with about five significant digits, or a given
// precision or format.

#include <complex>
#include <cstddef>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace dot11b::app {

// Automatic (std::monostate), a number of significant digits, or a printf-style
// format with a field width and one numeric conversion (d i u f F e E g G).
using NumberFormat = std::variant<std::monostate, int, std::string>;

// One text row per row of the rows x cols column-major matrix, all of one
// width; columns that are blank in every row are trimmed on the left, and a
// single row also loses its trailing blanks. Complex elements are written as
// real part, sign, magnitude of the imaginary part and "i". Throws ConfigError
// "'<format>' is an invalid format." or "Format must contain field width."
// for an unusable format.
std::vector<std::string> num2str(std::size_t rows, std::size_t cols, std::span<const std::complex<double>> values,
                                 bool complex, const NumberFormat& format = {});

// One real number, automatic format: 1024 gives "1024", pi gives "3.1416".
std::string num2str(double x);

}  // namespace dot11b::app
