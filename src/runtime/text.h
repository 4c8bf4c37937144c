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
bool HasWildcard(std::string_view s);

std::vector<std::string> Split(std::string_view s, char sep);
std::string Join(const std::vector<std::string>& parts, std::string_view sep);
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

// Names read by the characters of a code page (the system's ANSI one unless told), where the
// second byte of a double-byte character may be any byte, "\" (0x5C) included.
constexpr unsigned kAnsiCodePage = 0;  // CP_ACP
// The last part of a path: what follows its last "\", "/" or ":" character.
std::string FileNamePart(std::string_view path, unsigned codePage = kAnsiCodePage);
// A file name of its own: not empty, spelled in the code page, no control character, none of
// \ / : * ? " < > |, no "." or blank at its end, and no device name.
bool IsPlainFileNameIn(std::string_view name, unsigned codePage = kAnsiCodePage);

}  // namespace rt
