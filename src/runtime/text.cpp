#include "runtime/text.h"

#include "runtime/files.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace rt {

std::string LTrim(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  return std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && s[e - 1] == ' ') --e;
  return std::string(s.substr(0, e));
}

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string UCase(std::string_view s) {
  std::string r(s);
  if (!r.empty()) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

std::string LCase(std::string_view s) {
  std::string r(s);
  if (!r.empty()) CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UCase(a) == UCase(b);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a text begins with, blanks removed, as "[-]digits[.digits]"; "" when there is none.
std::string NumberPrefix(std::string_view s) {
  std::string out;
  size_t i = 0;
  auto skip = [&] { while (i < s.size() && IsBlank(s[i])) ++i; };
  skip();
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') out += '-';
    ++i;
  }
  bool digits = false, point = false;
  for (;;) {
    skip();
    if (i >= s.size()) break;
    char c = s[i];
    if (IsDigit(c)) {
      out += c;
      digits = true;
    } else if (c == '.' && !point) {
      out += c;
      point = true;
    } else {
      break;
    }
    ++i;
  }
  return digits ? out : std::string();
}
}  // namespace

double Val(std::string_view s) {
  std::string n = NumberPrefix(s);
  if (n.empty()) return 0.0;
  return std::strtod(n.c_str(), nullptr);
}

bool IsOn(std::string_view s) { return Val(s) == 1.0; }

int64_t ValInt(std::string_view s) {
  double v = Val(s);
  if (std::isnan(v)) return 0;
  if (v >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

std::string NumberText(int64_t v) { return std::to_string(v); }
std::string NumberText(uint64_t v) { return std::to_string(v); }

std::string NumberText(double v) {
  if (std::isnan(v) || std::isinf(v)) return "0";
  double r = std::round(v);
  if (std::fabs(r) < 9.0e18) return std::to_string(static_cast<int64_t>(r));
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", r);
  return buf;
}

std::string AddToCounter(std::string_view counter, int64_t add) {
  double v = Val(counter);
  double r = std::round(v);
  // Exact 64-bit arithmetic while the sum fits; beyond that the sum is only as exact as a double.
  if (std::fabs(r) < 4.0e18 && add > -4000000000000000000LL && add < 4000000000000000000LL)
    return NumberText(static_cast<int64_t>(r) + add);
  return NumberText(r + static_cast<double>(add));
}

std::string AddToCounter(std::string_view counter, uint64_t add) {
  if (add <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max() / 2))
    return AddToCounter(counter, static_cast<int64_t>(add));
  return NumberText(std::round(Val(counter)) + static_cast<double>(add));
}

namespace {
// Plain glob over upper-cased texts: '*' any run, '?' one character.
template <class C>
bool Glob(std::basic_string_view<C> n, std::basic_string_view<C> p) {
  size_t ni = 0, pi = 0, starP = std::basic_string_view<C>::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == C('?') || p[pi] == n[ni])) {
      ++ni;
      ++pi;
    } else if (pi < p.size() && p[pi] == C('*')) {
      starP = pi++;
      starN = ni;
    } else if (starP != std::basic_string_view<C>::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == C('*')) ++pi;
  return pi == p.size();
}

// The match itself, over upper-cased texts of one kind, with the rules for a closing ".*" and ".".
template <class C>
bool MatchUpper(std::basic_string_view<C> n, std::basic_string_view<C> p) {
  if (p.empty()) return false;
  bool hasDot = n.find(C('.')) != std::basic_string_view<C>::npos;
  if (p.size() >= 2 && p[p.size() - 2] == C('.') && p.back() == C('*')) {
    if (Glob(n, p)) return true;
    return !hasDot && Glob(n, p.substr(0, p.size() - 2));
  }
  if (p.back() == C('.') && p.find_first_not_of(C('.')) != std::basic_string_view<C>::npos)
    return !hasDot && Glob(n, p.substr(0, p.size() - 1));
  return Glob(n, p);
}

std::wstring UpperWide(std::wstring_view s) {
  std::wstring r(s);
  if (!r.empty()) CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}
}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // "*" and "*.*" take every name: no need to compare it (listings ask this of every file).
  if (pattern == "*" || pattern == "*.*") return true;
  // In a double-byte code page "?" is one character of one or two bytes, and a letter's byte may
  // be the second half of another character: anything but ASCII is matched as wide text.
  if (!IsAscii(name) || !IsAscii(pattern)) return MatchesPattern(ToWide(name), ToWide(pattern));
  std::string n = UCase(name), p = UCase(pattern);
  return MatchUpper(std::string_view(n), std::string_view(p));
}

bool MatchesPattern(std::wstring_view name, std::wstring_view pattern) {
  if (pattern == L"*" || pattern == L"*.*") return true;
  std::wstring n = UpperWide(name), p = UpperWide(pattern);
  return MatchUpper(std::wstring_view(n), std::wstring_view(p));
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool HasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> out;
  size_t b = 0;
  for (;;) {
    size_t e = s.find(sep, b);
    if (e == std::string_view::npos) {
      out.emplace_back(s.substr(b));
      return out;
    }
    out.emplace_back(s.substr(b, e - b));
    b = e + 1;
  }
}

std::string Join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string r;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) r += sep;
    r += parts[i];
  }
  return r;
}

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to) {
  if (from.empty()) return s;
  size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

namespace {
struct LeadBytes {
  bool lead[256] = {};
  bool any = false;
};

LeadBytes LeadBytesFromSystem(unsigned codePage) {
  LeadBytes t;
  CPINFO info{};
  if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 2) return t;
  for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r]; r += 2)
    for (unsigned c = info.LeadByte[r]; c <= info.LeadByte[r + 1] && c < 256; ++c) t.lead[c] = t.any = true;
  return t;
}

// The system's code page stays the same for the life of the process: its table is made once.
const LeadBytes& LeadBytesOf(unsigned codePage) {
  static const LeadBytes ansi = LeadBytesFromSystem(CP_ACP);
  if (codePage == CP_ACP) return ansi;
  thread_local unsigned lastPage = CP_ACP;
  thread_local LeadBytes last;
  if (lastPage != codePage) {
    last = LeadBytesFromSystem(codePage);
    lastPage = codePage;
  }
  return last;
}

// Calls `at(position)` with the first byte of each character at or after `from`, in order, until
// it returns true; the position it stopped at, or npos.
template <class F>
size_t EachChar(std::string_view s, size_t from, const LeadBytes& t, F at) {
  for (size_t i = 0; i < s.size();) {
    if (i >= from && at(i)) return i;
    i += t.lead[static_cast<unsigned char>(s[i])] && i + 1 < s.size() ? 2 : 1;
  }
  return std::string_view::npos;
}
}  // namespace

bool IsLeadByte(unsigned char c, unsigned codePage) { return LeadBytesOf(codePage).lead[c]; }

size_t FindCharOf(std::string_view s, std::string_view chars, size_t from, unsigned codePage) {
  const LeadBytes& t = LeadBytesOf(codePage);
  if (!t.any) return s.find_first_of(chars, from);
  return EachChar(s, from, t, [&](size_t i) { return chars.find(s[i]) != std::string_view::npos; });
}

size_t FindLastCharOf(std::string_view s, std::string_view chars, unsigned codePage) {
  const LeadBytes& t = LeadBytesOf(codePage);
  if (!t.any) return s.find_last_of(chars);
  size_t found = std::string_view::npos;
  EachChar(s, 0, t, [&](size_t i) {
    if (chars.find(s[i]) != std::string_view::npos) found = i;
    return false;
  });
  return found;
}

bool EndsWithCharOf(std::string_view s, std::string_view chars, unsigned codePage) {
  if (s.empty()) return false;
  const LeadBytes& t = LeadBytesOf(codePage);
  if (!t.any) return chars.find(s.back()) != std::string_view::npos;
  size_t lastStart = 0;
  EachChar(s, 0, t, [&](size_t i) {
    lastStart = i;
    return false;
  });
  return lastStart + 1 == s.size() && chars.find(s[lastStart]) != std::string_view::npos;
}

std::vector<std::string> SplitAtChar(std::string_view s, char sep, unsigned codePage) {
  std::vector<std::string> out;
  size_t b = 0;
  for (;;) {
    size_t e = FindCharOf(s, std::string_view(&sep, 1), b, codePage);
    if (e == std::string_view::npos) {
      out.emplace_back(s.substr(b));
      return out;
    }
    out.emplace_back(s.substr(b, e - b));
    b = e + 1;
  }
}

}  // namespace rt
