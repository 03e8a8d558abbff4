// Strict reading and exact writing of numbers in the tool's text files and
// arguments: a field is a number only when the whole field converts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::tool {

// The field without leading and trailing blanks, tabs and carriage returns.
std::string_view trimmed(std::string_view text);

// A decimal floating-point number filling the whole (trimmed) field, or
// nothing.  "nan" and "inf" convert (callers that need finite values check);
// hexadecimal does not.
std::optional<double> parseReal(std::string_view text);

// A signed decimal integer filling the whole (trimmed) field and fitting
// 32 bits, or nothing.
std::optional<int32_t> parseInteger(std::string_view text);

// The shortest text that reads back as exactly `value`.
std::string exactText(double value);

// `value` with `decimals` digits after the point.
std::string fixedText(double value, int decimals);

} // namespace vesk::tool
