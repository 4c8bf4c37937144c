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

bool ParseShortDate(const std::string& text, SYSTEMTIME& st) {
  char pic[80];
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pic, sizeof pic)) return false;
  // The order of day, month and year in the picture, e.g. "M/d/yyyy" -> M d y.
  std::vector<char> order;
  for (const char* p = pic; *p; ++p) {
    char c = *p;
    if (c == '\'') {  // quoted literal
      for (++p; *p && *p != '\''; ++p) {}
      if (!*p) break;
      continue;
    }
    if ((c == 'd' || c == 'M' || c == 'y') && (order.empty() || order.back() != c)) order.push_back(c);
  }
  std::vector<int> nums;
  for (size_t i = 0; i < text.size();) {
    if (std::isdigit(static_cast<unsigned char>(text[i]))) {
      int v = 0;
      size_t digits = 0;
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && digits < 6) {
        v = v * 10 + (text[i] - '0');
        ++i;
        ++digits;
      }
      nums.push_back(v);
    } else {
      ++i;
    }
  }
  if (order.size() != 3 || nums.size() != 3) return false;
  SYSTEMTIME r{};
  for (size_t k = 0; k < 3; ++k) {
    if (order[k] == 'd') r.wDay = static_cast<WORD>(nums[k]);
    if (order[k] == 'M') r.wMonth = static_cast<WORD>(nums[k]);
    if (order[k] == 'y') r.wYear = static_cast<WORD>(nums[k] < 100 ? (nums[k] < 30 ? 2000 + nums[k] : 1900 + nums[k]) : nums[k]);
  }
  FILETIME ft;
  if (!SystemTimeToFileTime(&r, &ft)) return false;
  FileTimeToSystemTime(&ft, &r);
  st = r;
  return true;
}

}  // namespace rt
