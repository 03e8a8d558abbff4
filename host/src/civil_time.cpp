#include "civil_time.h"

#include <cstdio>

namespace vesk::host {

namespace {

constexpr long long kMinutesPerDay = 1440;

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to the given civil date (the era arithmetic of the
// proleptic Gregorian calendar: 146097 days every 400 years).
long long daysFromCivil(int year, int month, int day) {
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, int &year, int &month, int &day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool digitsAt(std::string_view text, std::size_t at, std::size_t count, int &value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

DateTimeField refused(std::string fault) {
    DateTimeField field;
    field.looksLikeOne = true;
    field.fault = std::move(fault);
    return field;
}

const char *const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

} // namespace

long long civilMinute(int year, int month, int day, int hour, int minute) {
    return daysFromCivil(year, month, day) * kMinutesPerDay + hour * 60 + minute;
}

bool civilMinuteInRange(long long minute) {
    return minute >= civilMinute(1, 1, 1, 0, 0) && minute <= civilMinute(9999, 12, 31, 23, 59);
}

DateTimeField readDateTime(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!digitsAt(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || !digitsAt(text, 5, 2, month) ||
        text[7] != '-' || !digitsAt(text, 8, 2, day))
        return DateTimeField{};
    if (text.size() == 10) return refused("gives no time of day (write YYYY-MM-DDT00:00 for midnight)");
    if ((text[10] != 'T' && text[10] != ' ') || !digitsAt(text, 11, 2, hour) || text.size() < 16 ||
        text[13] != ':' || !digitsAt(text, 14, 2, minute))
        return refused("is not a date-time of the form YYYY-MM-DDTHH:MM or YYYY-MM-DD HH:MM");
    std::size_t end = 16;
    if (end < text.size() && text[end] == ':') {
        if (!digitsAt(text, end + 1, 2, second))
            return refused("is not a date-time of the form YYYY-MM-DDTHH:MM[:SS]");
        end += 3;
        bool fractionZero = true;
        if (end < text.size() && text[end] == '.') {
            ++end;
            const std::size_t digits = end;
            for (; end < text.size() && text[end] >= '0' && text[end] <= '9'; ++end)
                fractionZero = fractionZero && text[end] == '0';
            if (end == digits) return refused("is not a date-time of the form YYYY-MM-DDTHH:MM[:SS]");
        }
        if (end == text.size() && (second != 0 || !fractionZero))
            return refused("has seconds; times are whole minutes (seconds must be 00)");
    }
    if (end < text.size()) {
        const char next = text[end];
        if (next == 'Z' || next == 'z' || next == '+' || next == '-')
            return refused("carries a time zone; date-times are civil times without one (drop '" +
                           std::string(text.substr(end)) + "')");
        return refused("is not a date-time of the form YYYY-MM-DDTHH:MM or YYYY-MM-DD HH:MM");
    }
    if (year < 1) return refused("names the year 0000; years run from 0001 to 9999");
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return refused(month >= 1 && month <= 12
                           ? "names a day " + std::string(kMonthNames[month - 1]) + " " + std::to_string(year) +
                                 " does not have"
                           : "names no month (01 to 12)");
    if (hour > 23 || minute > 59) return refused("names no time of day (00:00 to 23:59)");
    DateTimeField field;
    field.looksLikeOne = true;
    field.minute = civilMinute(year, month, day, hour, minute);
    return field;
}

std::string dateTimeText(long long minute) {
    long long days = minute / kMinutesPerDay;
    long long rest = minute % kMinutesPerDay;
    if (rest < 0) {
        rest += kMinutesPerDay;
        --days;
    }
    int year = 0, month = 0, day = 0;
    civilFromDays(days, year, month, day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d", year, month, day, static_cast<int>(rest / 60),
                  static_cast<int>(rest % 60));
    return text;
}

} // namespace vesk::host
