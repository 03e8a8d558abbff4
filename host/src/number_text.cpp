#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vesk::host {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars takes no '+'; "+-1" stays refused.
std::string_view withoutPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+' && (text.size() == 1 || text[1] != '-')) text.remove_prefix(1);
    return text;
}

bool isPlainDecimal(std::string_view text) {
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

} // namespace

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::optional<double> parseReal(std::string_view text) {
    const std::string_view field = withoutPlus(trimmed(text));
    if (field.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    // Out of range: overflow is no number the user meant; underflow neither.
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

std::optional<double> parsePlainDecimal(std::string_view text) {
    if (!isPlainDecimal(text)) return std::nullopt;
    return parseReal(text);
}

std::optional<int32_t> parseDecimalInteger(std::string_view text) {
    const std::size_t signs = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (signs == text.size()) return std::nullopt;
    for (std::size_t i = signs; i < text.size(); ++i)
        if (!isDigit(text[i])) return std::nullopt;
    const std::string_view digits = text[0] == '+' ? text.substr(1) : text;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<int32_t> parseInteger(std::string_view text) { return parseDecimalInteger(trimmed(text)); }

std::optional<int32_t> parseWholeNumber(std::string_view text) {
    const std::optional<double> value = parsePlainDecimal(trimmed(text));
    if (!value || *value != std::floor(*value) || *value < -2147483648.0 || *value > 2147483647.0)
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::string exactText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return "nan";
    return std::string(buffer, end);
}

std::string shownText(double value, bool exact) {
    if (exact) return exactText(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::string fixedText(double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace vesk::host
