#include "number_text.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vesk::tool {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::optional<double> parseReal(std::string_view text) {
    const std::string field(trimmed(text));
    // strtod also reads hexadecimal ("0x1p-3"), which is not a decimal number.
    if (field.empty() || field.find_first_of("xX") != std::string::npos) return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(field.c_str(), &end);
    if (end != field.c_str() + field.size()) return std::nullopt;
    // Overflow to infinity is not a number the user wrote; underflow to a
    // tiny value or zero is harmless.
    if (errno == ERANGE && (value > 1.0 || value < -1.0)) return std::nullopt;
    return value;
}

std::optional<int32_t> parseInteger(std::string_view text) {
    const std::string_view field = trimmed(text);
    if (field.empty()) return std::nullopt;
    std::string_view digits = field;
    if (digits.front() == '+') digits.remove_prefix(1); // from_chars takes '-' only
    if (digits.empty() || (field.front() == '+' && digits.front() == '-')) return std::nullopt; // "+-1"
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::string exactText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return "nan";
    return std::string(buffer, end);
}

std::string fixedText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace vesk::tool
