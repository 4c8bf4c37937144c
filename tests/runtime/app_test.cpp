#include "runtime/app.h"

#include <gtest/gtest.h>

#include "runtime/datetime.h"
#include "runtime/random.h"
#include "runtime/seams.h"
#include "support/scratch.h"

namespace {

TEST(CommandLine, DropsTheProgramPath) {
  EXPECT_EQ(rt::CommandLineArgs("\"C:\\Program Files\\Velk\\Velk Rezeza Pro.exe\" s"), "s");
  EXPECT_EQ(rt::CommandLineArgs("C:\\velk\\velk.exe   s  "), "s  ");
  EXPECT_EQ(rt::CommandLineArgs("velk.exe"), "");
  EXPECT_EQ(rt::CommandLineArgs("\"C:\\a b\\trelmak.exe\" C:\\x y\\p.vk"), "C:\\x y\\p.vk");
  EXPECT_EQ(rt::CommandLineArgs(""), "");
}

TEST(ProgramFolder, IsTheScratchFolderInTests) {
  EXPECT_EQ(rt::ProgramFolder(), ts::ProgramDir());
  rt::SetProgramFolder("");
  EXPECT_EQ(rt::ProgramFolder() + "\\runtime_tests.exe", rt::ExecutablePath());
  rt::SetProgramFolder(ts::ProgramDir() + "\\");
  EXPECT_EQ(rt::ProgramFolder(), ts::ProgramDir());
}

TEST(DateTime, UsesTheSystemFormatsAndTheClockSeam) {
  SYSTEMTIME st{};
  st.wYear = 2005;
  st.wMonth = 7;
  st.wDay = 4;
  st.wHour = 9;
  st.wMinute = 5;
  st.wSecond = 3;
  rt::SetClockForTests(st);
  char expectDate[64], expectTime[64];
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, expectDate, sizeof expectDate);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, expectTime, sizeof expectTime);
  EXPECT_EQ(rt::DateText(), expectDate);
  EXPECT_EQ(rt::TimeText(), expectTime);
  EXPECT_EQ(rt::NowText(), std::string(expectDate) + " " + expectTime);

  SYSTEMTIME back{};
  ASSERT_TRUE(rt::ParseShortDate(rt::DateText(), back));
  EXPECT_EQ(back.wYear, 2005);
  EXPECT_EQ(back.wMonth, 7);
  EXPECT_EQ(back.wDay, 4);
  EXPECT_FALSE(rt::ParseShortDate("not a date", back));
  EXPECT_FALSE(rt::ParseShortDate("", back));

  SYSTEMTIME later = rt::AddDays(st, 30);
  EXPECT_EQ(later.wMonth, 8);
  EXPECT_EQ(later.wDay, 3);
  EXPECT_EQ(later.wHour, 9);
  EXPECT_EQ(rt::DaysBetween(st, later), 30);
}

TEST(DateTime, EveryShortDateReadsBackAsWritten) {
  // The user's short date picture, changed for the test (in the prefix's own user settings) and
  // put back after it.
  struct Restore {
    char old[80] = "";
    Restore() { GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old, sizeof old); }
    ~Restore() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old); }
  } restore;
  ASSERT_NE(restore.old[0], '\0');
  SYSTEMTIME now{2026, 12, 4, 10, 9, 5, 3, 0};
  rt::SetClockForTests(now);
  const SYSTEMTIME dates[] = {{2026, 12, 0, 31}, {2028, 2, 0, 29}, {2034, 1, 0, 2}, {2035, 1, 0, 27}, {1999, 7, 0, 4}};
  for (const char* picture : {"M/d/yyyy", "dd.MM.yy", "yyyy-MM-dd", "d MMMM yyyy", "dd-MMM-yy", "dddd, d MMMM yyyy",
                              "d/M/yy", "yy/MM/dd"}) {
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture)) << picture;
    for (const SYSTEMTIME& d : dates) {
      std::string text = rt::FormatShortDate(d);
      SYSTEMTIME back{};
      EXPECT_TRUE(rt::ParseShortDate(text, back)) << picture << ": " << text;
      EXPECT_EQ(back.wYear * 10000 + back.wMonth * 100 + back.wDay, d.wYear * 10000 + d.wMonth * 100 + d.wDay)
          << picture << ": " << text;
    }
    SYSTEMTIME back{};
    EXPECT_FALSE(rt::ParseShortDate("2/30/2027", back) && back.wMonth == 2) << picture;
    EXPECT_FALSE(rt::ParseShortDate("1/2/3/4", back)) << picture;
  }
}

// The schedule's dates are written in the Gregorian calendar by the user's picture: on a
// Gregorian system the very text the system writes, and whatever calendar the user chooses (era
// or Buddhist years), a text that reads back as the same day.
TEST(DateTime, GregorianShortDatesReadBackInEveryCalendar) {
  struct Restore {
    char picture[80] = "", calendar[16] = "";
    Restore() {
      GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture, sizeof picture);
      GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, calendar, sizeof calendar);
    }
    ~Restore() {
      SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture);
      SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, calendar);
    }
  } restore;
  SYSTEMTIME now{2026, 12, 4, 10, 9, 5, 3, 0};
  rt::SetClockForTests(now);
  const SYSTEMTIME dates[] = {{2026, 12, 0, 31}, {2028, 2, 0, 29}, {2034, 1, 0, 2}, {1999, 7, 0, 4}};
  const char* pictures[] = {"M/d/yyyy", "dd.MM.yy", "yyyy-MM-dd", "d MMMM yyyy", "ddd, dd-MMM-yy",
                            "d 'de' MMMM 'de' yyyy", "yy/M/d"};
  for (const char* picture : pictures) {
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture)) << picture;
    for (const SYSTEMTIME& d : dates) EXPECT_EQ(rt::FormatShortDateGregorian(d), rt::FormatShortDate(d)) << picture;
  }
  struct Case {
    const char* calendar;  // 1 Gregorian, 3 Japanese eras, 7 Thai Buddhist
    const char* picture;
  } cases[] = {{"7", "d/M/yyyy"}, {"7", "dd/MM/yy"}, {"3", "gg y/M/d"}, {"3", "ggyy'/'MM'/'dd"}, {"1", "gg yyyy-MM-dd"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, c.calendar)) << c.calendar;
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, c.picture)) << c.picture;
    for (const SYSTEMTIME& d : dates) {
      std::string text = rt::FormatShortDateGregorian(d);
      SYSTEMTIME back{};
      EXPECT_TRUE(rt::ParseShortDate(text, back)) << c.calendar << " " << c.picture << ": " << text;
      EXPECT_EQ(back.wYear * 10000 + back.wMonth * 100 + back.wDay, d.wYear * 10000 + d.wMonth * 100 + d.wDay)
          << c.calendar << " " << c.picture << ": " << text;
    }
  }
}

TEST(Random, DigitsAndRanges) {
  rt::RandomizeWith(7);
  std::string a = rt::RandomDigits(64);
  rt::RandomizeWith(7);
  EXPECT_EQ(rt::RandomDigits(64), a);
  EXPECT_EQ(a.find_first_not_of("0123456789"), std::string::npos);
  for (int i = 0; i < 1000; ++i) {
    int v = rt::RandomInt(1, 65535);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 65535);
  }
}

TEST(Seams, AnswerMessageBoxesAndWatchStarts) {
  rt::SetMessageBoxHandler([](const rt::MessageBoxCall& c) { return c.text == "Sure?" ? IDYES : IDNO; });
  EXPECT_EQ(rt::MsgBox(nullptr, "Sure?", "Velk Rezeza Pro", MB_YESNO), IDYES);
  std::vector<std::string> seen;
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) -> INT_PTR {
    seen.push_back(p.viaShell ? p.verb + " " + p.file : p.commandLine);
    return 42;
  });
  EXPECT_TRUE(rt::StartProcess("\"C:\\x\\trelmak.exe\"", SW_SHOWNORMAL));
  EXPECT_EQ(rt::ShellExecuteText(nullptr, "open", "http://example.invalid/", "", "", SW_SHOWNORMAL), 42);
  EXPECT_EQ(seen, (std::vector<std::string>{"\"C:\\x\\trelmak.exe\"", "open http://example.invalid/"}));
}

}  // namespace
