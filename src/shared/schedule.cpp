#include "shared/schedule.h"

#include <algorithm>
#include <cstdio>

#include "runtime/datetime.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace schedule {

namespace {

constexpr int kDay = 24 * 60;  // minutes

// A clock time as minutes after midnight; hours and minutes out of their range wrap around the day.
int MinuteOfDay(int hour, int minute) { return ((hour * 60 + minute) % kDay + kDay) % kDay; }

int DaysPerUnit(Mode mode) { return mode == kWeeks ? 7 : mode == kMonths ? 30 : 1; }

constexpr unsigned long long kTicksPerMinute = 60ULL * 10000000ULL;  // FILETIME ticks

// A local time as whole minutes on the FILETIME scale (seconds dropped); false when it is no time.
bool MinutesOf(const SYSTEMTIME& t, long long& minutes) {
  SYSTEMTIME s = t;
  s.wSecond = s.wMilliseconds = 0;
  FILETIME ft;
  if (!SystemTimeToFileTime(&s, &ft)) return false;
  minutes = static_cast<long long>((static_cast<unsigned long long>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) /
                                   kTicksPerMinute);
  return true;
}

SYSTEMTIME AtMinutes(long long minutes) {
  unsigned long long ticks = static_cast<unsigned long long>(minutes) * kTicksPerMinute;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME t{};
  FileTimeToSystemTime(&ft, &t);
  return t;
}

// "yyyy-mm-dd hh:mm": one text whatever the user's date and time formats.
std::string MomentText(long long minutes) {
  SYSTEMTIME t = AtMinutes(minutes);
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  return text;
}

// A moment as MomentText writes it, and nothing else: false for any other text or for no time.
bool MomentOf(std::string_view text, long long& minutes, int& hour, int& minute) {
  std::string t = rt::Trim(text);
  static const char kPicture[] = "dddd-dd-dd dd:dd";
  if (t.size() != sizeof kPicture - 1) return false;
  for (size_t i = 0; i < t.size(); ++i) {
    bool digit = t[i] >= '0' && t[i] <= '9';
    if (kPicture[i] == 'd' ? !digit : t[i] != kPicture[i]) return false;
  }
  auto number = [&t](size_t at, size_t n) { return std::stoi(t.substr(at, n)); };
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(number(0, 4));
  st.wMonth = static_cast<WORD>(number(5, 2));
  st.wDay = static_cast<WORD>(number(8, 2));
  st.wHour = static_cast<WORD>(number(11, 2));
  st.wMinute = static_cast<WORD>(number(14, 2));
  if (st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 || st.wDay > 31 || st.wHour > 23 || st.wMinute > 59 ||
      !MinutesOf(st, minutes))
    return false;
  hour = st.wHour;
  minute = st.wMinute;
  return MomentText(minutes) == t;  // no day past its month's end
}

// A clock-time run at `minutes`, in the values the settings store keeps.
void SetClockRun(Mode mode, long long minutes, NextRun& next) {
  SYSTEMTIME t = AtMinutes(minutes);
  next = NextRun{};
  next.mode = mode;
  next.hour = rt::NumberText(t.wHour);
  if (mode == kMinutes) next.minute = rt::NumberText(t.wMinute);
  next.at = MomentText(minutes);
}

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
  if (mode == kMinutes || mode == kHours) {
    long long at;
    if (!MinutesOf(now, at)) return false;
    SetClockRun(mode, at + (mode == kMinutes ? interval : 60LL * interval), next);
  } else {
    next = NextRun{};
    next.mode = mode;
    // The Gregorian calendar whatever the user's: the timer reads the date back by it.
    next.date = rt::FormatShortDateGregorian(rt::AddDays(now, interval * DaysPerUnit(mode)));
    if (next.date.empty()) return false;
  }
  return true;
}

bool NextRunAfter(Mode mode, int interval, const SYSTEMTIME& due, const SYSTEMTIME& now, NextRun& next) {
  if (mode != kHours) return NextRunOf(mode, interval, now, next);
  if (interval < 1 || interval > MaxInterval(mode)) return false;
  long long from, until;
  if (!MinutesOf(due, from) || !MinutesOf(now, until)) return false;
  long long step = 60LL * interval;
  long long beats = until >= from ? (until - from) / step + 1 : 1;
  SetClockRun(mode, from + beats * step, next);
  return true;
}

Stored ReadStored(Mode mode) {
  Stored s;
  if (mode == kMinutes || mode == kHours) {
    s.nextHour = settings::Read(settings::kTimer, settings::kNextHour);
    s.nextAt = settings::Read(settings::kTimer, settings::kNextRunAt);
  }
  if (mode == kMinutes) s.nextMinute = settings::Read(settings::kTimer, settings::kNextMinute);
  if (mode == kHours) s.runMinute = settings::Read(settings::kTimer, settings::kScheduleMinute);
  if (*NextDateValue(mode)) s.nextDate = settings::Read(settings::kTimer, NextDateValue(mode));
  return s;
}

bool StoreOwnValues(const NextRun& next) {
  bool stored = true;
  if (next.mode == kMinutes) stored &= settings::Write(settings::kTimer, settings::kNextMinute, next.minute);
  if (next.mode == kMinutes || next.mode == kHours) {
    stored &= settings::Write(settings::kTimer, settings::kNextHour, next.hour);
    stored &= settings::Write(settings::kTimer, settings::kNextRunAt, next.at);
  }
  if (*NextDateValue(next.mode)) stored &= settings::Write(settings::kTimer, NextDateValue(next.mode), next.date);
  return stored;
}

bool IsDue(Mode mode, int interval, const Stored& stored, const SYSTEMTIME& now, SYSTEMTIME* due) {
  if (mode == kNone || interval < 1 || interval > MaxInterval(mode)) return false;
  if (mode == kDays || mode == kWeeks || mode == kMonths) {
    SYSTEMTIME next;
    if (!rt::ParseShortDate(rt::Trim(stored.nextDate), next)) return true;  // no date: long past
    long long ahead = rt::DaysBetween(now, next);
    return ahead <= 0 || ahead > static_cast<long long>(interval) * DaysPerUnit(mode);
  }
  int hour = PlainNumber(stored.nextHour, 24, 0);
  int minute = PlainNumber(mode == kMinutes ? stored.nextMinute : stored.runMinute, 59, 0);
  long long nowMinutes;
  if (hour < 0 || minute < 0 || !MinutesOf(now, nowMinutes)) return false;
  // After a run, or an Apply, the next one lies at most one interval ahead.
  long long span = mode == kMinutes ? interval : 60LL * interval;
  long long at;
  int atHour, atMinute;
  if (MomentOf(stored.nextAt, at, atHour, atMinute) && atHour == hour % 24 && atMinute == minute &&
      at - nowMinutes <= span) {
    if (at > nowMinutes) return false;
    if (due) *due = AtMinutes(at);
    return true;
  }
  // Only a clock time: one that lies in the coming interval is still to come, any other has come
  // or passed. An earlier version counted an hour run's next hour from the hour the run started,
  // so its next run could lie up to 59 minutes more than the interval ahead; whatever the
  // interval, a clock time that passed up to an hour ago has passed.
  int ahead = mode == kMinutes ? std::min(interval, kDay - 1) : std::min(60 * interval + 59, kDay - 60);
  int passed = (MinuteOfDay(now.wHour, now.wMinute) - MinuteOfDay(hour, minute) + kDay) % kDay;
  if (passed >= kDay - ahead) return false;
  if (due) *due = AtMinutes(nowMinutes - passed);
  return true;
}

}  // namespace schedule
