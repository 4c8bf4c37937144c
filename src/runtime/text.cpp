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
bool Glob(std::string_view n, std::string_view p) {
  size_t ni = 0, pi = 0, starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++ni;
      ++pi;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}
}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // "*" and "*.*" take every name: no need to compare it (listings ask this of every file).
  if (pattern == "*" || pattern == "*.*") return true;
  std::string n = UCase(name), p = UCase(pattern);
  if (p.empty()) return false;
  bool hasDot = n.find('.') != std::string::npos;
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0) {
    if (Glob(n, p)) return true;
    return !hasDot && Glob(n, std::string_view(p).substr(0, p.size() - 2));
  }
  if (p.back() == '.' && p.find_first_not_of('.') != std::string::npos) {
    return !hasDot && Glob(n, std::string_view(p).substr(0, p.size() - 1));
  }
  return Glob(n, p);
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

std::string FileNamePart(std::string_view path, unsigned codePage) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByteEx(codePage, c) && i + 1 < path.size()) {
      ++i;  // its second byte is part of the character
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') start = i + 1;
  }
  return std::string(path.substr(start));
}

bool IsPlainFileNameIn(std::string_view name, unsigned codePage) {
  if (name.empty() || name.size() > MAX_PATH) return false;
  int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), w.data(), n);
  for (wchar_t c : w)
    if (c < 32 || c == 127 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  if (w.back() == L'.' || w.back() == L' ') return false;
  // The device names are ASCII letters and digits, which every code page spells alike.
  return !IsDeviceName(name);
}

}  // namespace rt
