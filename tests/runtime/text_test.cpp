#include "runtime/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct ValCase {
  const char* text;
  double value;
};

TEST(Val, TakesTextsAsNumbers) {
  const ValCase cases[] = {
      {" 1 ", 1},      {"1.0", 1},        {"1abc", 1},    {"1 0", 10},      {"", 0},
      {"abc", 0},      {"-3", -3},        {"- 3", -3},    {"+7", 7},        {"  42", 42},
      {"1.5x", 1.5},   {".5", 0.5},       {"1.2.3", 1.2}, {"\t1\t", 1},     {"0", 0},
      {"-", 0},        {".", 0},          {"x1", 0},      {"1e3", 1},       {"2,5", 2},
      {"99999999999999999999", 1e20},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Val, FlagsAreOnOnlyWhenTheNumberIsOne) {
  EXPECT_TRUE(rt::IsOn("1"));
  EXPECT_TRUE(rt::IsOn(" 1 "));
  EXPECT_TRUE(rt::IsOn("1.0"));
  EXPECT_TRUE(rt::IsOn("1abc"));
  EXPECT_FALSE(rt::IsOn("1 0"));
  EXPECT_FALSE(rt::IsOn(""));
  EXPECT_FALSE(rt::IsOn("2"));
  EXPECT_FALSE(rt::IsOn("yes"));
}

TEST(Counter, AddsAsPlainDecimalText) {
  EXPECT_EQ(rt::AddToCounter("0", int64_t{1}), "1");
  EXPECT_EQ(rt::AddToCounter("", int64_t{5}), "5");
  EXPECT_EQ(rt::AddToCounter("abc", int64_t{2}), "2");
  EXPECT_EQ(rt::AddToCounter(" 12 ", int64_t{30}), "42");
  // Byte counters pass the 32-bit range and far beyond without an exponent or a decimal point.
  EXPECT_EQ(rt::AddToCounter("4294967295", int64_t{1}), "4294967296");
  EXPECT_EQ(rt::AddToCounter("3000000000", uint64_t{5368709120ULL}), "8368709120");
  EXPECT_EQ(rt::AddToCounter("1000000000000000000", int64_t{1}), "1000000000000000001");
  EXPECT_EQ(rt::AddToCounter("99999999999999999999", int64_t{1}), "100000000000000000000");
  EXPECT_EQ(rt::NumberText(1e21), "1000000000000000000000");
  EXPECT_EQ(rt::NumberText(2.6), "3");
}

TEST(Trim, RemovesBlanksOnly) {
  EXPECT_EQ(rt::Trim("  a b  "), "a b");
  EXPECT_EQ(rt::Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(rt::Trim("   "), "");
  EXPECT_EQ(rt::LTrim("  a "), "a ");
  EXPECT_EQ(rt::RTrim("  a "), "  a");
}

TEST(Case, ChangesAnsiLetters) {
  EXPECT_EQ(rt::UCase("abc\xe9"), "ABC\xc9");  // e acute in the Western code page
  EXPECT_EQ(rt::LCase("HKLM\\Software"), "hklm\\software");
  EXPECT_TRUE(rt::EqualsNoCase("HKCU", "hkcu"));
  EXPECT_TRUE(rt::StartsWithNoCase("Cookie:user@x", "cookie:"));
  EXPECT_TRUE(rt::EndsWithNoCase("a.INI", ".ini"));
}

struct PatternCase {
  const char* name;
  const char* pattern;
  bool matches;
};

TEST(Pattern, MatchesLongNamesOnly) {
  const PatternCase cases[] = {
      {"a.tmp", "*.tmp", true},        {"a.tmpx", "*.tmp", false},  {"A.TMP", "*.tmp", true},
      {"readme", "*.*", true},         {"a.b.c", "*.*", true},      {"readme", "*.", true},
      {"read.me", "*.", false},        {"abc", "abc.*", true},      {"abc.txt", "abc.*", true},
      {"abd.txt", "abc.*", false},     {"a1.log", "a?.log", true},  {"a12.log", "a?.log", false},
      {"[ab]", "[ab]", true},          {"b", "[ab]", false},        {"game #1", "game #1", true},
      {"anything", "*", true},         {"x", "", false},            {"index.dat", "index.dat", true},
      {"cookies.txt", "*.txt", true},  {"cookies.txt.bak", "*.txt", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rt::MatchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(Split, KeepsEmptyParts) {
  EXPECT_EQ(rt::Split("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(rt::Split("", ','), (std::vector<std::string>{""}));
  EXPECT_EQ(rt::Join({"a", "b"}, ", "), "a, b");
  EXPECT_EQ(rt::ReplaceAll("a\rb\rc", "\r", "\r\n"), "a\r\nb\r\nc");
}

}  // namespace
