#include "shared/schedule.h"

#include <algorithm>
#include <cmath>

#include "runtime/datetime.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace schedule {

namespace {

constexpr int kDay = 24 * 60;  // minutes

// A clock time as minutes after midnight; hours and minutes out of their range wrap around the day.
int MinuteOfDay(double hour, double minute) {
  double total = std::fmod(std::trunc(hour) * 60 + std::trunc(minute), kDay);
  if (total < 0) total += kDay;
  return static_cast<int>(total);
}

int DaysPerUnit(Mode mode) { return mode == kWeeks ? 7 : mode == kMonths ? 30 : 1; }

}  // namespace

Mode ModeOf(std::string_view optionText) {
  double v = rt::Val(optionText);
  return v >= 1 && v <= 5 && v == std::trunc(v) ? static_cast<Mode>(static_cast<int>(v)) : kNone;
}

int IntervalOf(std::string_view valueText) {
  double v = rt::Val(valueText);
  if (v < 1 || v > kMaxInterval || v != std::trunc(v)) return 0;
  return static_cast<int>(v);
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
  if (mode == kNone || interval < 1 || interval > kMaxInterval) return false;
  next = NextRun{};
  next.mode = mode;
  if (mode == kMinutes) {
    int at = MinuteOfDay(now.wHour, now.wMinute + static_cast<double>(interval));
    next.hour = rt::NumberText(at / 60);
    next.minute = rt::NumberText(at % 60);
  } else if (mode == kHours) {
    next.hour = rt::NumberText((now.wHour + interval) % 24);
  } else {
    next.date = rt::FormatShortDate(rt::AddDays(now, interval * DaysPerUnit(mode)));
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

void StoreOwnValues(const NextRun& next) {
  if (next.mode == kMinutes) settings::Write(settings::kTimer, settings::kNextMinute, next.minute);
  if (next.mode == kMinutes || next.mode == kHours) settings::Write(settings::kTimer, settings::kNextHour, next.hour);
  if (*NextDateValue(next.mode)) settings::Write(settings::kTimer, NextDateValue(next.mode), next.date);
}

bool IsDue(Mode mode, int interval, const Stored& stored, const SYSTEMTIME& now) {
  if (mode == kNone || interval < 1 || interval > kMaxInterval) return false;
  if (mode == kDays || mode == kWeeks || mode == kMonths) {
    SYSTEMTIME next;
    if (!rt::ParseShortDate(rt::Trim(stored.nextDate), next)) return true;  // no date: long past
    return rt::DaysBetween(now, next) <= 0;
  }
  // Only a clock time is stored: a time that lies in the coming interval is still to come, any
  // other has come or passed. After a run the next one lies exactly one interval ahead (for hours,
  // up to 59 minutes more, as the runs keep their minute), so no tick of that interval finds it due.
  // An interval of a day or more leaves only the stored minute itself.
  int storedAt = mode == kMinutes ? MinuteOfDay(rt::Val(stored.nextHour), rt::Val(stored.nextMinute))
                                  : MinuteOfDay(rt::Val(stored.nextHour), rt::Val(stored.runMinute));
  long long ahead = mode == kMinutes ? interval : 60LL * interval + 59;
  ahead = std::min<long long>(ahead, kDay - 1);
  int passed = (MinuteOfDay(now.wHour, now.wMinute) - storedAt + kDay) % kDay;
  return passed < kDay - ahead;
}

}  // namespace schedule
