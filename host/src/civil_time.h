// Date-times of rain records: civil times as the record writes them, without
// a time zone (a clock change shows as a gap or as a time that does not
// increase, and a time-zone suffix is refused rather than guessed at).  They
// are counted in whole minutes from 1970-01-01T00:00 on the proleptic
// Gregorian calendar (leap years every fourth year, not in centuries unless
// divisible by 400), years 1 to 9999.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk::host {

// A field read as a date-time: `looksLikeOne` when it starts like one
// (YYYY-MM-DD), then either the minute or the reason it is refused.
struct DateTimeField {
    bool looksLikeOne = false;
    std::optional<long long> minute;
    std::string fault; // "names no such day: ...", "seconds must be 00 ...", ...
};

// Reads "YYYY-MM-DDTHH:MM" or "YYYY-MM-DD HH:MM", optionally with ":SS" (and
// a fraction) that must come to whole minutes.
DateTimeField readDateTime(std::string_view text);

// Minutes from 1970-01-01T00:00 of a valid civil date and time.
long long civilMinute(int year, int month, int day, int hour, int minute);

// "2024-05-01T00:05": the form every output writes.
std::string dateTimeText(long long minute);

// Whether `minute` lies within years 1 to 9999.
bool civilMinuteInRange(long long minute);

} // namespace vesk::host
