// Text helpers: trimming, ANSI case, texts taken as numbers, counters kept as decimal text,
// and the wildcard match that file listing uses on long names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Blanks (spaces) only, like the classic Trim: tabs and line ends stay.
std::string Trim(std::string_view s);
std::string_view TrimView(std::string_view s);  // the same, without a copy
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// Case changes in the ANSI code page of the system.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

// A text taken as a number: blanks (spaces and tabs) are skipped wherever they stand, and the
// decimal number the rest begins with is the value (an optional sign, digits, an optional
// decimal point and digits). "" and texts that do not begin with a number are 0.
//   " 1 " -> 1, "1.0" -> 1, "1abc" -> 1, "1 0" -> 10, "-3" -> -3, "abc" -> 0
double Val(std::string_view s);

// True when the text, taken as a number, equals 1 (how every "0"/"1" flag is tested).
bool IsOn(std::string_view s);

// The value as a whole number, clamped to the 64-bit range and rounded towards zero.
int64_t ValInt(std::string_view s);

// A number as plain decimal text: no exponent and no decimal point (rounded to a whole number).
std::string NumberText(double v);
std::string NumberText(int64_t v);
std::string NumberText(uint64_t v);
inline std::string NumberText(int v) { return NumberText(static_cast<int64_t>(v)); }
inline std::string NumberText(unsigned v) { return NumberText(static_cast<uint64_t>(v)); }
inline std::string NumberText(long v) { return NumberText(static_cast<int64_t>(v)); }
inline std::string NumberText(unsigned long v) { return NumberText(static_cast<uint64_t>(v)); }

// A counter held as decimal text: take it as a number, add, and give the sum back as text.
std::string AddToCounter(std::string_view counter, int64_t add);
std::string AddToCounter(std::string_view counter, uint64_t add);

// Wildcard match of a long file name against a pattern, ignoring case: "*" any run of characters,
// "?" one character. As on Windows, a pattern ending in ".*" also matches a name without a dot
// ("*.*" matches everything) and a pattern ending in "." matches only names without a dot.
// The match is on the whole long name, never on a short 8.3 alias.
bool MatchesPattern(std::string_view name, std::string_view pattern);
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern);  // the same, for wide names
bool HasWildcard(std::string_view s);
// True when every byte of the text is an ASCII character (one that every code page spells alike).
bool IsAscii(std::string_view s);

std::vector<std::string> Split(std::string_view s, char sep);
std::string Join(const std::vector<std::string>& parts, std::string_view sep);
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

// Text read by the characters of a code page (the system's ANSI one unless told). In the
// double-byte code pages (932, 936, 949, 950) the second byte of a character may be any byte from
// 0x40 up: "\\" (0x5C), "|" and the ASCII letters among them. So a byte of the text is that ASCII
// character only where a character starts there; these find such characters.
constexpr unsigned kAnsiCodePage = 0;  // CP_ACP
// True when the byte starts a character of two bytes in the code page.
bool IsLeadByte(unsigned char c, unsigned codePage = kAnsiCodePage);
// Where the first (or last) character that is one of `chars` (ASCII characters) stands, at or
// after `from`; npos when there is none.
size_t FindCharOf(std::string_view s, std::string_view chars, size_t from = 0, unsigned codePage = kAnsiCodePage);
size_t FindLastCharOf(std::string_view s, std::string_view chars, unsigned codePage = kAnsiCodePage);
// True when the text's last character is one of `chars`.
bool EndsWithCharOf(std::string_view s, std::string_view chars, unsigned codePage = kAnsiCodePage);
// The parts between the characters `sep` (an ASCII character).
std::vector<std::string> SplitAtChar(std::string_view s, char sep, unsigned codePage = kAnsiCodePage);

}  // namespace rt
