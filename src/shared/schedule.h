// The schedule of the erase runs, as the settings store keeps it under "timer": its unit ("option"),
// its interval ("value") and the next run ("nextmin", "nexthoure", "nextday", "nextweek",
// "nextmnth", with "min" for the minute of hour runs, and "nextrun" for the moment of a minute or
// hour run).
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

// The longest interval of a unit: 23 hours (only the hour of the day is kept for an hour
// schedule), 99 of the others (what the options window's two-digit boxes hold).
constexpr int MaxInterval(Mode mode) { return mode == kHours ? 23 : 99; }

// A stored number, as the schedule trusts it: blanks are skipped wherever they stand, and what is
// left must be decimal digits alone (no sign, point, exponent or letters) of a value from 0 to
// `max`; -1 for anything else. "" (a missing value) reads as `ifEmpty`.
int PlainNumber(std::string_view text, int max, int ifEmpty = -1);

// The stored unit: "1" to "5", anything else ("", "6", "2x", "1.0") kNone (nothing scheduled).
Mode ModeOf(std::string_view optionText);

// The stored interval of a unit: a plain whole number from 1 to MaxInterval(mode), or 0 when the
// text is no such number ("", "0", "abc", "-3", "1.5", "24" hours): a schedule with it runs nothing.
int IntervalOf(Mode mode, std::string_view valueText);

// A next run, in the texts the settings store keeps.
struct NextRun {
  Mode mode = kNone;
  std::string minute;  // "nextmin": 0 to 59, minute schedules only ("" otherwise)
  std::string hour;    // "nexthoure": 0 to 23, minute and hour schedules ("" otherwise)
  std::string date;    // day, week and month schedules: the user's short date, Gregorian years
  std::string at;      // "nextrun": the moment of a minute or hour run ("" otherwise)
  // The text of "nexthoure" / "nextday" / "nextweek" / "nextmnth": the hour or the date.
  const std::string& When() const { return mode == kMinutes || mode == kHours ? hour : date; }
};

// The next run of a schedule counted from `now` (a local time, the clock's rt::Now()):
//   minutes: now + N minutes (the minute carries into the hour, the hour wraps past 23 to 0);
//   hours:   the hour N hours after now's (wrapping past 23); the runs keep the minute "min";
//   days, weeks, months: today + N, 7 x N, 30 x N days.
// False, with nothing to store, when the mode is kNone or the interval is not one IntervalOf takes.
bool NextRunOf(Mode mode, int interval, const SYSTEMTIME& now, NextRun& next);

// The next run after a scheduled run that fell due at `due` (as IsDue gives it) and starts at
// `now`: an hour schedule keeps its beat, the first moment after now that lies a whole number of
// intervals after the due one, however late the run comes; the other units count from now, as
// NextRunOf does.
bool NextRunAfter(Mode mode, int interval, const SYSTEMTIME& due, const SYSTEMTIME& now, NextRun& next);

// The stored next run as the timer reads it.
struct Stored {
  std::string nextHour;    // "nexthoure" (minutes, hours)
  std::string nextMinute;  // "nextmin" (minutes)
  std::string runMinute;   // "min" (hours)
  std::string nextDate;    // "nextday", "nextweek" or "nextmnth" (days, weeks, months)
  std::string nextAt;      // "nextrun" (minutes, hours)
};
// Reads the values of a mode from the settings store.
Stored ReadStored(Mode mode);
// Writes the values of a next run's own mode only: "nextmin", "nexthoure" and "nextrun" for
// minutes, "nexthoure" and "nextrun" for hours, "nextday", "nextweek" or "nextmnth" for the others.
// False when one of them could not be written.
bool StoreOwnValues(const NextRun& next);
// The name of the value that holds a mode's next date ("" for minutes and hours).
const char* NextDateValue(Mode mode);

// Whether a run is due at `now`. Never with an unusable mode or interval, nor with a stored hour
// (0 to 24, 24 being the midnight of earlier versions) or minute (0 to 59) that is no plain number
// in its range: such a schedule is not scheduled (a missing hour or minute counts as 0).
//   days, weeks, months: the stored date is today or past, or is no date at all, or lies more
//   than one interval ahead (only a clock set back, or a date written in another region's order
//   and read in this one's, puts it there);
//   minutes, hours: the stored moment ("nextrun") is now or has passed, however long ago. A
//   moment is taken only when it names the stored clock time and lies no more than one interval
//   ahead; without one (a schedule of an earlier version) the clock time alone tells: it is still
//   to come when it lies in the coming interval (for hours, with the 59 minutes by which an
//   earlier version's next run could lie further ahead), and has come or passed otherwise, as it
//   has whenever it passed up to an hour ago.
// So a run missed because the computer slept, the program was not running or the run before
// outlasted the interval still comes, once, at the next tick. `due`, when given, receives the
// moment a minute or hour run fell due.
bool IsDue(Mode mode, int interval, const Stored& stored, const SYSTEMTIME& now, SYSTEMTIME* due = nullptr);

}  // namespace schedule
