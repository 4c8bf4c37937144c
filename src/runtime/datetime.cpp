#include "runtime/datetime.h"

#include <cctype>
#include <vector>

#include "runtime/seams.h"

namespace rt {

std::string FormatShortDate(const SYSTEMTIME& st) {
  char buf[128];
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : std::string();
}

std::string FormatTime(const SYSTEMTIME& st) {
  char buf[128];
  int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : std::string();
}

std::string DateText() { return FormatShortDate(Now()); }
std::string TimeText() { return FormatTime(Now()); }
std::string NowText() {
  SYSTEMTIME st = Now();
  return FormatShortDate(st) + " " + FormatTime(st);
}

namespace {
ULONGLONG DayNumber(const SYSTEMTIME& st) {
  SYSTEMTIME d{};
  d.wYear = st.wYear;
  d.wMonth = st.wMonth;
  d.wDay = st.wDay;
  FILETIME ft;
  if (!SystemTimeToFileTime(&d, &ft)) return 0;
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  return u.QuadPart / (10000000ULL * 86400ULL);
}
}  // namespace

SYSTEMTIME AddDays(const SYSTEMTIME& st, int days) {
  FILETIME ft;
  SYSTEMTIME in = st;
  in.wDayOfWeek = 0;
  if (!SystemTimeToFileTime(&in, &ft)) return st;
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  u.QuadPart += static_cast<LONGLONG>(days) * 864000000000LL;
  ft.dwLowDateTime = u.LowPart;
  ft.dwHighDateTime = u.HighPart;
  SYSTEMTIME out;
  if (!FileTimeToSystemTime(&ft, &out)) return st;
  return out;
}

long long DaysBetween(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return static_cast<long long>(DayNumber(b)) - static_cast<long long>(DayNumber(a));
}

namespace {

// The fields of a date picture ("M/d/yyyy", "dd.MM.yy", "d MMMM yyyy", ...) in their order.
enum class Field { Day, DayName, Month, MonthName, Year, Era };

std::vector<Field> PictureFields(const std::string& picture) {
  std::vector<Field> fields;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {  // a quoted literal
      size_t close = picture.find('\'', i + 1);
      i = close == std::string::npos ? picture.size() : close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == 'd') fields.push_back(run >= 3 ? Field::DayName : Field::Day);
    if (c == 'M') fields.push_back(run >= 3 ? Field::MonthName : Field::Month);
    if (c == 'y') fields.push_back(Field::Year);
    if (c == 'g') fields.push_back(Field::Era);
    i += run;
  }
  return fields;
}

bool IsWordByte(unsigned char c) { return std::isalpha(c) || c >= 0x80; }

// The month (1..12) a word names in the user's language, full or abbreviated; 0 when none.
int MonthNamed(const std::string& word) {
  for (int m = 0; m < 12; ++m) {
    for (LCTYPE type : {static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + m), static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + m)}) {
      char name[80];
      if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, name, sizeof name) > 1 &&
          CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, -1, word.c_str(), -1) == CSTR_EQUAL)
        return m + 1;
    }
  }
  return 0;
}

}  // namespace

std::string FormatShortDateGregorian(const SYSTEMTIME& date) {
  char pic[80];
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pic, sizeof pic)) return "";
  // The day of the week, as the clock's own reckoning gives it.
  SYSTEMTIME st{};
  st.wYear = date.wYear;
  st.wMonth = date.wMonth;
  st.wDay = date.wDay;
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return "";
  auto localeText = [](LCTYPE type) {
    char name[80];
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, name, sizeof name) > 1 ? std::string(name) : std::string();
  };
  auto digits = [](int v, size_t width) {
    std::string t = std::to_string(v);
    return t.size() < width ? std::string(width - t.size(), '0') + t : t;
  };
  std::string out;
  const std::string picture = pic;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {  // a quoted literal; two quotes stand for one
      size_t j = i + 1;
      for (; j < picture.size(); ++j) {
        if (picture[j] != '\'') {
          out += picture[j];
        } else if (j + 1 < picture.size() && picture[j + 1] == '\'') {
          out += '\'';
          ++j;
        } else {
          break;
        }
      }
      i = j + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == 'd') {
      int weekday = (st.wDayOfWeek + 6) % 7;  // the locale counts from Monday
      out += run == 1   ? digits(st.wDay, 1)
             : run == 2 ? digits(st.wDay, 2)
             : run == 3 ? localeText(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + weekday))
                        : localeText(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + weekday));
    } else if (c == 'M') {
      out += run == 1   ? digits(st.wMonth, 1)
             : run == 2 ? digits(st.wMonth, 2)
             : run == 3 ? localeText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + st.wMonth - 1))
                        : localeText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + st.wMonth - 1));
    } else if (c == 'y') {
      out += run == 1 ? digits(st.wYear % 100, 1) : run == 2 ? digits(st.wYear % 100, 2) : digits(st.wYear, 4);
    } else if (c != 'g') {  // an era names no part of a Gregorian date
      out.append(run, c);
    }
    i += run;
  }
  size_t first = out.find_first_not_of(' '), last = out.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

bool ParseShortDate(const std::string& text, SYSTEMTIME& st) {
  char pic[80];
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pic, sizeof pic)) return false;
  std::vector<Field> fields = PictureFields(pic);

  // The text's numbers and words, in order.
  std::vector<int> numbers;
  std::vector<size_t> digitCounts;
  std::vector<std::string> words;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) {
      int v = 0;
      size_t digits = 0;
      for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
        if (digits < 6) v = v * 10 + (text[i] - '0');
      }
      if (digits > 6) return false;
      numbers.push_back(v);
      digitCounts.push_back(digits);
    } else if (IsWordByte(c)) {
      size_t start = i;
      while (i < text.size() && IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
      words.push_back(text.substr(start, i - start));
    } else {
      ++i;
    }
  }

  int day = 0, month = 0, year = -1;
  size_t yearDigits = 0, nextNumber = 0;
  for (Field f : fields) {
    if (f == Field::DayName || f == Field::Era) continue;  // words that name no part of the date
    if (f == Field::MonthName) {
      for (const auto& w : words)
        if ((month = MonthNamed(w)) != 0) break;
      if (!month) return false;
      continue;
    }
    if (nextNumber >= numbers.size()) return false;
    int v = numbers[nextNumber];
    if (f == Field::Day) day = v;
    if (f == Field::Month) month = v;
    if (f == Field::Year) {
      year = v;
      yearDigits = digitCounts[nextNumber];
    }
    ++nextNumber;
  }
  if (nextNumber != numbers.size() || day == 0 || month == 0 || year < 0) return false;
  if (yearDigits <= 2) {
    // A year of two digits lies in the century that puts it nearest to this year.
    int thisYear = Now().wYear;
    year += thisYear - thisYear % 100;
    if (year > thisYear + 50) year -= 100;
    if (year <= thisYear - 50) year += 100;
  }
  if (year < 1601 || year > 30827) return false;
  SYSTEMTIME r{};
  r.wYear = static_cast<WORD>(year);
  r.wMonth = static_cast<WORD>(month);
  r.wDay = static_cast<WORD>(day);
  FILETIME ft;
  if (month > 12 || day > 31 || !SystemTimeToFileTime(&r, &ft)) return false;
  FileTimeToSystemTime(&ft, &r);  // the day of the week
  st = r;
  return true;
}

}  // namespace rt
