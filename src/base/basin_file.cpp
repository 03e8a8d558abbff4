#include "base/basin_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <system_error>

namespace vesk {

namespace {

// Whether a decimal number too large or too small for a double is large: its
// first significant digit stands at a non-negative power of ten.  Counts
// saturate, so an exponent of any length is judged right.
bool magnitudeAtLeastOne(const std::string &text) {
    std::size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
    int64_t position = -1; // power of ten of the digit before the point
    bool significant = false;
    for (; i < text.size() && text[i] != '.' && text[i] != 'e' && text[i] != 'E'; ++i) {
        significant = significant || text[i] != '0';
        if (significant && position < 1000000) ++position;
    }
    if (!significant && i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] == '0'; ++i)
            if (position > -1000000) --position;
    }
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string::npos) return position >= 0;
    const bool negative = text[e + 1] == '-';
    int64_t exponent = 0;
    for (std::size_t k = e + 1; k < text.size(); ++k)
        if (text[k] >= '0' && text[k] <= '9' && exponent < 1000000) exponent = exponent * 10 + (text[k] - '0');
    return position + (negative ? -exponent : exponent) >= 0;
}

// The double nearest to a token of the form [sign] digits [. digits]
// [e [sign] digits], the same whatever locale the host has set: a comma
// decimal point elsewhere in the process must not cut "2.75" to 2.  Beyond
// the range of a double the result is infinite, below it zero, as strtod
// gives in the C locale.
double decimalValue(const std::string &text) {
    const bool negative = text[0] == '-';
    const char *first = text.data() + ((text[0] == '+' || negative) ? 1 : 0);
    const char *last = text.data() + text.size();
    double magnitude = 0.0;
    const std::from_chars_result result = std::from_chars(first, last, magnitude);
    if (result.ec == std::errc::result_out_of_range)
        magnitude = magnitudeAtLeastOne(text) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

// Reads the file's tokens the way strtod and strtol read a string: a value
// is the longest start of the remaining text that is a decimal number; what
// follows it stays for the next value, and a text that does not start with a
// number is not consumed at all, so it blocks every later value.  Peeks a few
// characters ahead ("1e+" may turn out to end at "1").
class TokenScanner {
public:
    explicit TokenScanner(std::FILE *file) : file_(file) {}

    bool readName(char (&name)[kBasinNameCapacity]) {
        skipWhiteSpace();
        std::size_t length = 0;
        while (length + 1 < kBasinNameCapacity && at(0) != EOF && !isWhiteSpace(at(0)))
            name[length++] = static_cast<char>(take());
        name[length] = '\0';
        return length > 0;
    }

    // [sign] digits [. digits] [e [sign] digits], at least one mantissa digit;
    // an exponent counts only when it has digits.
    bool readReal(double &value) {
        skipWhiteSpace();
        std::size_t n = signLength(0);
        const std::size_t whole = digitsAt(n);
        n += whole;
        std::size_t fraction = 0;
        if (at(n) == '.') {
            fraction = digitsAt(n + 1);
            n += 1 + fraction;
        }
        if (whole + fraction == 0) return false;
        if (at(n) == 'e' || at(n) == 'E') {
            const std::size_t exponentSign = signLength(n + 1);
            const std::size_t exponentDigits = digitsAt(n + 1 + exponentSign);
            if (exponentDigits > 0) n += 1 + exponentSign + exponentDigits;
        }
        value = decimalValue(take(n));
        return true;
    }

    // [sign] digits; values beyond int32 are clamped.
    bool readInteger(int32_t &value) {
        skipWhiteSpace();
        const std::size_t sign = signLength(0);
        const std::size_t digits = digitsAt(sign);
        if (digits == 0) return false;
        const std::string text = take(sign + digits);
        const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
        int64_t magnitude = 0;
        for (std::size_t i = sign; i < text.size() && magnitude <= limit; ++i)
            magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) magnitude = limit;
        const int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
        value = static_cast<int32_t>(std::min<int64_t>(signedValue, std::numeric_limits<int32_t>::max()));
        return true;
    }

private:
    static bool isWhiteSpace(int c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    static bool isDigit(int c) { return c >= '0' && c <= '9'; }

    // The character `k` places ahead, or EOF.
    int at(std::size_t k) {
        while (ahead_.size() <= k) {
            const int c = std::getc(file_);
            if (c == EOF) return EOF;
            ahead_.push_back(static_cast<char>(c));
        }
        return static_cast<unsigned char>(ahead_[k]);
    }
    int take() {
        const int c = at(0);
        if (c != EOF) ahead_.erase(0, 1);
        return c;
    }
    std::string take(std::size_t count) {
        at(count - 1);
        std::string taken = ahead_.substr(0, count);
        ahead_.erase(0, count);
        return taken;
    }

    void skipWhiteSpace() {
        while (isWhiteSpace(at(0))) take();
    }
    std::size_t signLength(std::size_t k) { return (at(k) == '+' || at(k) == '-') ? 1 : 0; }
    std::size_t digitsAt(std::size_t k) {
        std::size_t count = 0;
        while (isDigit(at(k + count))) ++count;
        return count;
    }

    std::FILE *file_;
    std::string ahead_; // characters read from the file and not yet taken
};

// Where one value of a line goes: a double field or an int32 field.
struct Slot {
    double *real;
    int32_t *integer;
};

// One line of the file is one formatted read: a value that does not convert
// abandons the rest of the line, and the next line starts at that same text.
// A text that is no number stops every later value, with one exception: a
// fraction such as ".5" met by an integer field can still start the next line.
template <std::size_t N> void readLine(TokenScanner &scanner, const Slot (&slots)[N]) {
    for (const Slot &slot : slots) {
        const bool converted = slot.real ? scanner.readReal(*slot.real) : scanner.readInteger(*slot.integer);
        if (!converted) return;
    }
}

Slot real(double &field) { return Slot{&field, nullptr}; }
Slot integer(int32_t &field) { return Slot{nullptr, &field}; }

void readValues(TokenScanner &scanner, ::BasinInput &r) {
    ShapeParameters &s = r.shape;
    // The file's lines in order; the order within a line is the file's own.
    readLine(scanner, {real(r.area), integer(r.disconnectionLevel), real(r.centroidLength), real(r.dcif)});
    readLine(scanner, {real(r.imperviousPct), real(r.length), real(r.rpaShare), real(r.rpf)});
    readLine(scanner, {real(r.spaShare), real(r.slope)});
    readLine(scanner, {real(r.imperviousDepressionStorage), real(r.perviousDepressionStorage)});
    readLine(scanner, {real(r.initialInfiltrationRate), real(r.infiltrationDecay), real(r.finalInfiltrationRate)});
    readLine(scanner, {real(s.cp), real(s.ct), real(s.rise50Fraction), real(s.rise75Fraction)});
    readLine(scanner, {integer(s.uhTimeStep), real(s.width50), real(s.width75)});
}

} // namespace

BasinFileReading readBasinFile(const char *path, ::BasinInput &record, char (&name)[kBasinNameCapacity]) {
    name[0] = '\0';
    std::FILE *file = path ? std::fopen(path, "r") : nullptr;
    if (file == nullptr) return BasinFileReading{false, false};
    TokenScanner scanner(file);
    BasinFileReading reading{true, false};
    try {
        reading.nameRead = scanner.readName(name);
        readValues(scanner, record);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    std::fclose(file);
    return reading;
}

} // namespace vesk
