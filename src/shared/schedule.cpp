#include "shared/schedule.h"

#include <algorithm>

#include "runtime/datetime.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace schedule {

namespace {

constexpr int kDay = 24 * 60;  // minutes

// A clock time as minutes after midnight; hours and minutes out of their range wrap around the day.
int MinuteOfDay(int hour, int minute) { return ((hour * 60 + minute) % kDay + kDay) % kDay; }

int DaysPerUnit(Mode mode) { return mode == kWeeks ? 7 : mode == kMonths ? 30 : 1; }

}  // namespace

int PlainNumber(std::string_view text, int max, int ifEmpty) {
  long long value = 0;
  bool digits = false;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    if (c < '0' || c > '9') return -1;
    digits = true;
    value = value * 10 + (c - '0');
    if (value > max) return -1;
  }
  return digits ? static_cast<int>(value) : ifEmpty;
}

Mode ModeOf(std::string_view optionText) {
  int v = PlainNumber(optionText, kMonths);
  return v >= kMinutes ? static_cast<Mode>(v) : kNone;
}

int IntervalOf(Mode mode, std::string_view valueText) {
  if (mode == kNone) return 0;
  return std::max(PlainNumber(valueText, MaxInterval(mode)), 0);
}

const char* NextDateValue(Mode mode) {
  switch (mode) {
    case kDays: return settings::kNextDay;
    case kWeeks: return settings::kNextWeek;
    case kMonths: return settings::kNextMonth;
    default: return "";
  }
}

bool NextRunOf(Mode mode, int interval, const SYSTEMTIME& now, NextRun& next) {
  if (mode == kNone || interval < 1 || interval > MaxInterval(mode)) return false;
  next = NextRun{};
  next.mode = mode;
  if (mode == kMinutes) {
    int at = MinuteOfDay(now.wHour, now.wMinute + interval);
    next.hour = rt::NumberText(at / 60);
    next.minute = rt::NumberText(at % 60);
  } else if (mode == kHours) {
    next.hour = rt::NumberText((now.wHour + interval) % 24);
  } else {
    // The Gregorian calendar whatever the user's: the timer reads the date back by it.
    next.date = rt::FormatShortDateGregorian(rt::AddDays(now, interval * DaysPerUnit(mode)));
    if (next.date.empty()) return false;
  }
  return true;
}

Stored ReadStored(Mode mode) {
  Stored s;
  if (mode == kMinutes || mode == kHours) s.nextHour = settings::Read(settings::kTimer, settings::kNextHour);
  if (mode == kMinutes) s.nextMinute = settings::Read(settings::kTimer, settings::kNextMinute);
  if (mode == kHours) s.runMinute = settings::Read(settings::kTimer, settings::kScheduleMinute);
  if (*NextDateValue(mode)) s.nextDate = settings::Read(settings::kTimer, NextDateValue(mode));
  return s;
}

bool StoreOwnValues(const NextRun& next) {
  bool stored = true;
  if (next.mode == kMinutes) stored &= settings::Write(settings::kTimer, settings::kNextMinute, next.minute);
  if (next.mode == kMinutes || next.mode == kHours)
    stored &= settings::Write(settings::kTimer, settings::kNextHour, next.hour);
  if (*NextDateValue(next.mode)) stored &= settings::Write(settings::kTimer, NextDateValue(next.mode), next.date);
  return stored;
}

bool IsDue(Mode mode, int interval, const Stored& stored, const SYSTEMTIME& now) {
  if (mode == kNone || interval < 1 || interval > MaxInterval(mode)) return false;
  if (mode == kDays || mode == kWeeks || mode == kMonths) {
    SYSTEMTIME next;
    if (!rt::ParseShortDate(rt::Trim(stored.nextDate), next)) return true;  // no date: long past
    long long ahead = rt::DaysBetween(now, next);
    return ahead <= 0 || ahead > static_cast<long long>(interval) * DaysPerUnit(mode);
  }
  // Only a clock time is stored: a time that lies in the coming interval is still to come, any
  // other has come or passed. After a run the next one lies exactly one interval ahead (for hours,
  // up to 59 minutes more, as the runs keep their minute), so no tick of that interval finds it due.
  int hour = PlainNumber(stored.nextHour, 24, 0);
  int minute = PlainNumber(mode == kMinutes ? stored.nextMinute : stored.runMinute, 59, 0);
  if (hour < 0 || minute < 0) return false;
  int ahead = std::min(mode == kMinutes ? interval : 60 * interval + 59, kDay - 1);
  int passed = (MinuteOfDay(now.wHour, now.wMinute) - MinuteOfDay(hour, minute) + kDay) % kDay;
  return passed < kDay - ahead;
}

}  // namespace schedule
