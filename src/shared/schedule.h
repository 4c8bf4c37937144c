// The schedule of the erase runs, as the settings store keeps it under "timer": its unit ("option"),
// its interval ("value") and the next run ("nextmin", "nexthoure", "nextday", "nextweek",
// "nextmnth", with "min" for the minute of hour runs).
//
// Both writers of the next run, the options window when a schedule is applied and the main
// window's timer after each scheduled run, take it from NextRunOf, so they always agree.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace schedule {

// Units, the values of "option".
enum Mode : int { kNone = 0, kMinutes = 1, kHours = 2, kDays = 3, kWeeks = 4, kMonths = 5 };

inline constexpr int kMaxInterval = 9999;

// The stored unit taken as a number: 1 to 5, anything else kNone (nothing scheduled).
Mode ModeOf(std::string_view optionText);

// The stored interval: a whole number from 1 to kMaxInterval (blanks around it ignored), or 0 when
// the text is no such number ("", "0", "abc", "-3", "1.5"): a schedule with it runs nothing.
int IntervalOf(std::string_view valueText);

// A next run, in the texts the settings store keeps.
struct NextRun {
  Mode mode = kNone;
  std::string minute;  // "nextmin": 0 to 59, minute schedules only ("" otherwise)
  std::string hour;    // "nexthoure": 0 to 23, minute and hour schedules ("" otherwise)
  std::string date;    // the date in the user's short date format, day, week and month schedules
  // The text of "nexthoure" / "nextday" / "nextweek" / "nextmnth": the hour or the date.
  const std::string& When() const { return mode == kMinutes || mode == kHours ? hour : date; }
};

// The next run of a schedule counted from `now` (a local time, the clock's rt::Now()):
//   minutes: now + N minutes (the minute carries into the hour, the hour wraps past 23 to 0);
//   hours:   the hour N hours after now's (wrapping past 23); the runs keep the minute "min";
//   days, weeks, months: today + N, 7 x N, 30 x N days.
// False, with nothing to store, when the mode is kNone or the interval is not one IntervalOf takes.
bool NextRunOf(Mode mode, int interval, const SYSTEMTIME& now, NextRun& next);

// The stored next run as the timer reads it.
struct Stored {
  std::string nextHour;    // "nexthoure" (minutes, hours)
  std::string nextMinute;  // "nextmin" (minutes)
  std::string runMinute;   // "min" (hours)
  std::string nextDate;    // "nextday", "nextweek" or "nextmnth" (days, weeks, months)
};
// Reads the values of a mode from the settings store.
Stored ReadStored(Mode mode);
// Writes the values of a next run's own mode only: "nextmin" and "nexthoure" for minutes,
// "nexthoure" for hours, "nextday", "nextweek" or "nextmnth" for the others.
void StoreOwnValues(const NextRun& next);
// The name of the value that holds a mode's next date ("" for minutes and hours).
const char* NextDateValue(Mode mode);

// Whether a run is due at `now`:
//   days, weeks, months: the stored date is today or past, or is no date at all;
//   minutes, hours: the stored clock time (hour and minute, each taken modulo a day) is now, or
//   has passed: it does not lie in the coming interval (for hours, the interval and the 59 minutes
//   by which a run's minute may differ from "min"). So a run missed because the computer slept
//   or the run before outlasted the interval still comes, once, at the next tick.
// Never due with an unusable mode or interval.
bool IsDue(Mode mode, int interval, const Stored& stored, const SYSTEMTIME& now);

}  // namespace schedule
