// Dates and times as the system writes them (its default short date and time formats).
#pragma once

#include <windows.h>

#include <string>

namespace rt {

std::string FormatShortDate(const SYSTEMTIME& st);  // e.g. "12/10/2026" on an English system
// The same date by the user's short date picture, always in the Gregorian calendar, whatever
// calendar the user has chosen (era or Buddhist years): what ParseShortDate reads back as the same
// day. On a Gregorian system it is the text FormatShortDate gives (eras left out).
std::string FormatShortDateGregorian(const SYSTEMTIME& st);
std::string FormatTime(const SYSTEMTIME& st);       // e.g. "9:05:03 AM"
std::string DateText();                               // today, from the clock seam
std::string TimeText();                               // now, from the clock seam
std::string NowText();                                // date, a blank, time

// Reads back a date that FormatShortDateGregorian (or, on a Gregorian system, FormatShortDate)
// wrote, by the same picture of the user's locale: numbered or named months, day names and eras
// skipped, a year of two digits in the century nearest to the clock's year. False when the text
// is not such a date.
bool ParseShortDate(const std::string& text, SYSTEMTIME& st);

// The date n days later (or earlier); the time of day is kept.
SYSTEMTIME AddDays(const SYSTEMTIME& st, int days);
// Whole days from a to b (b - a), ignoring the time of day.
long long DaysBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

}  // namespace rt
