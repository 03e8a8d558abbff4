// Strict reading and exact writing of numbers in the tool's text files and
// arguments: a field is a number only when the whole field converts.  Reading
// never depends on the process's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::host {

// The field without leading and trailing blanks, tabs and carriage returns.
std::string_view trimmed(std::string_view text);

// A decimal floating-point number filling the whole (trimmed) field, or
// nothing.  "nan" and "inf" convert (callers that need finite values check);
// hexadecimal does not, nor a value beyond the range of a double.
std::optional<double> parseReal(std::string_view text);

// [sign] digits [. digits] [e [sign] digits], with a digit before or after
// the point, filling the whole (untrimmed) text: the only form a basin value
// takes.  Never nan or infinite.
std::optional<double> parsePlainDecimal(std::string_view text);

// [sign] decimal digits filling the whole (untrimmed) text and fitting 32 bits.
std::optional<int32_t> parseDecimalInteger(std::string_view text);

// A signed decimal integer filling the whole (trimmed) field and fitting
// 32 bits, or nothing.
std::optional<int32_t> parseInteger(std::string_view text);

// A plain decimal number (trimmed) whose value is a whole number fitting
// 32 bits: "10", "10.0" and "1e3" are whole numbers, "0x5" and "2.5" not.
std::optional<int32_t> parseWholeNumber(std::string_view text);

// The shortest text that reads back as exactly `value`.
std::string exactText(double value);

// `value` to six significant digits ("163.352", "0.0283168", "1e-07"), or
// exactly (exactText) when `exact`: how the printed tables show numbers.
std::string shownText(double value, bool exact = false);

// `value` with `decimals` digits after the point.
std::string fixedText(double value, int decimals);

} // namespace vesk::host
