// The schedule page: what its "Apply" stores for each unit at a given time, what the window shows
// when it opens again, the spinners, and the main window's timer running the erases it scheduled.
#include <gtest/gtest.h>

#include <optional>

#include "fixture.h"
#include "runtime/datetime.h"
#include "runtime/seams.h"
#include "runtime/text.h"

namespace {

using opt::OptionsTest;

using mw::At;
using mw::Date;
std::string Timer(const char* name) { return settings::Read(settings::kTimer, name); }
std::string TimerOption(const std::string& name) { return settings::Read(settings::kTimerOption, name); }

class SchedulePage : public OptionsTest {
 protected:
  forms::OptionButton& Unit(Form3& f, int unit) {
    forms::OptionButton* units[] = {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6};
    return *units[unit - 1];
  }
  forms::TextBox& Box(Form3& f, int unit) {
    forms::TextBox* boxes[] = {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5};
    return *boxes[unit - 1];
  }
};

TEST_F(SchedulePage, ApplyStoresTheUnitAndTheFirstRunOneIntervalFromNow) {
  struct Case {
    const char* what;
    int unit;  // 0: none chosen
    const char* box;
    SYSTEMTIME now;
    const char* nextMinute;
    std::string next;
    const char* at = "";  // "nextrun", the moment of a minute or hour run
  } cases[] = {
      {"minutes carry into the hour", 1, "15", At(2026, 12, 10, 10, 50), "5", "11", "2026-12-10 11:05"},
      {"up to minute 59", 1, "10", At(2026, 12, 10, 10, 49), "59", "10", "2026-12-10 10:59"},
      {"past midnight", 1, "15", At(2026, 12, 10, 23, 50), "5", "0", "2026-12-11 00:05"},
      {"a typed 99 minutes", 1, "99", At(2026, 12, 10, 23, 30), "9", "1", "2026-12-11 01:09"},
      {"hours past midnight", 2, "5", At(2026, 12, 10, 21, 30), "", "2", "2026-12-11 02:30"},
      {"hours to midnight", 2, "3", At(2026, 12, 10, 21, 30), "", "0", "2026-12-11 00:30"},
      {"the longest hours", 2, "23", At(2026, 12, 10, 21, 30), "", "20", "2026-12-11 20:30"},
      {"days over the end of a month", 3, "1", At(2027, 1, 31), "", Date(2027, 2, 1)},
      {"weeks", 4, "2", At(2026, 12, 10), "", Date(2026, 12, 24)},
      {"months of 30 days", 5, "1", At(2027, 1, 31), "", Date(2027, 3, 2)},
      {"an empty box schedules no run", 1, "", At(2026, 12, 10, 10, 50), "", ""},
      {"interval 0 schedules no run", 3, "0", At(2026, 12, 10), "", ""},
      {"no unit", 0, "7", At(2026, 12, 10, 8, 5), "", ""},
      {"the hidden unit", 6, "7", At(2026, 12, 10, 8, 5), "", ""},
  };
  for (const Case& c : cases) {
    ts::ResetRegistry();
    Form3& f = Open();
    rt::SetClockForTests(c.now);
    if (c.unit) Unit(f, c.unit).SetValue(true);
    for (int u = 1; u <= 5; ++u) Box(f, u).SetText(u == c.unit ? c.box : rt::NumberText(u));
    f.Check1[4].SetValue(c.unit % 2);
    f.chameleonButton5_Click();
    bool scheduled = c.unit >= 1 && c.unit <= 5;
    std::string mode = scheduled ? rt::NumberText(c.unit) : "";
    EXPECT_EQ(Timer("option"), mode) << c.what;
    EXPECT_EQ(TimerOption("opt"), mode) << c.what;
    EXPECT_EQ(Timer("value"), scheduled ? c.box : "") << c.what;
    EXPECT_EQ(Timer("nextmin"), c.nextMinute) << c.what;
    EXPECT_EQ(Timer("nextrun"), c.at) << c.what;
    for (const char* v : {"nexthoure", "nextday", "nextweek", "nextmnth"}) EXPECT_EQ(Timer(v), c.next) << c.what << " " << v;
    EXPECT_EQ(Timer("min"), rt::NumberText(c.now.wMinute)) << c.what;
    EXPECT_EQ(Timer("hour"), rt::NumberText(c.now.wHour)) << c.what;
    EXPECT_EQ(Timer("startdate"), rt::FormatShortDate(c.now)) << c.what;
    EXPECT_EQ(Timer("starttime"), rt::FormatTime(c.now)) << c.what;
    EXPECT_EQ(Timer("winstart"), c.unit % 2 ? "1" : "0") << c.what;
    for (int u = 1; u <= 5; ++u)
      EXPECT_EQ(TimerOption("t" + rt::NumberText(u)), u == c.unit ? c.box : rt::NumberText(u)) << c.what;
    f.chameleonButton4_Click();
  }
}

TEST_F(SchedulePage, AnHourScheduleOfADayOrMoreIsRefusedAndTheSpinnerStopsAt23) {
  std::vector<std::string> notices;
  rt::SetMessageBoxHandler([&](const rt::MessageBoxCall& c) {
    notices.push_back(c.text);
    return IDOK;
  });
  Form3& f = Open();
  f.Option2.SetValue(true);
  bool startUp = false;
  for (const char* typed : {"24", "25", "99"}) {
    // The erases at Windows start-up and shutdown are applied all the same.
    startUp = !startUp;
    f.Check1[4].SetValue(startUp);
    f.Check1[1].SetValue(startUp);
    f.Text2.SetText(typed);
    f.chameleonButton5_Click();
    EXPECT_EQ(notices.size(), 1u) << typed;
    EXPECT_EQ(Timer("option"), "") << typed;
    EXPECT_EQ(TimerOption("t2"), "") << typed;
    EXPECT_EQ(Timer("winstart"), startUp ? "1" : "0") << typed;
    EXPECT_EQ(settings::Read(settings::kOptionOption, settings::kOptEraseAtShutdown), startUp ? "1" : "0") << typed;
    notices.clear();
  }
  EXPECT_EQ(f.VScroll2.Max(), Form3::kMaxHours);
  f.VScroll2.SetValue(f.VScroll2.Max());
  EXPECT_EQ(f.Text2.Text(), "23");
  f.chameleonButton5_Click();
  EXPECT_EQ(Timer("value"), "23");
  EXPECT_EQ(notices.size(), 0u);
}

TEST_F(SchedulePage, ApplyDeletesTheOlderProductsStartUpValue) {
  const char* machineRun[] = {"Software\\Microsoft\\windows nt\\currentversion\\run",
                              "Software\\Microsoft\\windows\\currentversion\\run"};
  for (const char* key : machineRun)
    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, key, "tarvo Rezeza", "C:\\old\\tarvo.exe"));
  Open().chameleonButton5_Click();
  for (const char* key : machineRun) {
    std::string text;
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, key, "tarvo Rezeza", text)) << key;
  }
}

TEST_F(SchedulePage, ReopenedTheWindowShowsTheUnitAndTheBoxesAsApplied) {
  Form3& f = Open();
  f.Option4.SetValue(true);
  f.Text4.SetText("3");
  f.Text1.SetText("12");
  f.chameleonButton5_Click();
  f.chameleonButton4_Click();
  Form3& again = Open();
  EXPECT_TRUE(again.Option4.Value());
  EXPECT_EQ(again.Text4.Text(), "3");
  EXPECT_EQ(again.Text1.Text(), "12");
  EXPECT_EQ(again.Text2.Text(), "0");
  again.chameleonButton4_Click();
  // A stored "6" selects the hidden unit: nothing that can be seen.
  settings::Write(settings::kTimer, settings::kScheduleMode, "6");
  settings::Write(settings::kTimerOption, settings::kTimerOpt, "");
  Form3& hidden = Open();
  EXPECT_TRUE(hidden.Option6.Value());
  EXPECT_FALSE(hidden.Option6.Visible());
  EXPECT_FALSE(hidden.Option4.Value());
}

TEST_F(SchedulePage, TheSpinnersStartAt45And6AndFillTheirBoxSelected) {
  Form3& f = Open();
  f.chameleonButton7_Click();
  EXPECT_EQ(f.Text1.Text(), "0");
  // The up arrow: one more than where the spinner stands, whatever the box shows.
  SendMessageA(f.Frame2.hWnd(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(f.VScroll1.hWnd()));
  EXPECT_EQ(f.Text1.Text(), "46");
  SendMessageA(f.Frame2.hWnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(f.VScroll3.hWnd()));
  EXPECT_EQ(f.Text3.Text(), "5");
  EXPECT_EQ(f.Text3.SelStart(), 0);
  EXPECT_EQ(f.Text3.SelLength(), 1);
  f.VScroll5.SetValue(99);
  EXPECT_EQ(f.Text5.Text(), "99");
  EXPECT_EQ(f.Text5.SelLength(), 2);
  EXPECT_FALSE(f.VScroll5.SetValue(100));
  EXPECT_EQ(f.VScroll1.Max(), 59);
  EXPECT_EQ(f.Text1.MaxLength(), 2);
}

// --- the main window's timer runs what the page stored -------------------------------------------------

class ScheduledRuns : public SchedulePage {
 protected:
  // Applies a schedule at `now` and closes the window; the main window then ticks by the clock.
  void Apply(int unit, const char* interval, const SYSTEMTIME& now) {
    rt::SetClockForTests(now);
    Form3& f = Open();
    Unit(f, unit).SetValue(true);
    Box(f, unit).SetText(interval);
    f.chameleonButton5_Click();
    f.chameleonButton4_Click();
  }
  Form1& Loaded() { return mw::LoadedForTicks(Main(), runs); }
  void Tick(Form1& f, const SYSTEMTIME& now) { mw::TickAt(f, now); }
  int runs = 0;
};

TEST_F(ScheduledRuns, EveryFifteenMinutes) {
  Apply(1, "15", At(2026, 12, 10, 10, 50));
  Form1& f = Loaded();
  Tick(f, At(2026, 12, 10, 10, 51));
  Tick(f, At(2026, 12, 10, 11, 4));
  EXPECT_EQ(runs, 0);
  Tick(f, At(2026, 12, 10, 11, 5));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Timer("nexthoure"), "11");
  EXPECT_EQ(Timer("nextmin"), "20");
  Tick(f, At(2026, 12, 10, 11, 20));
  EXPECT_EQ(runs, 2);
}

TEST_F(ScheduledRuns, EveryThreeHoursOverMidnight) {
  Apply(2, "3", At(2026, 12, 10, 21, 30));
  Form1& f = Loaded();
  Tick(f, At(2026, 12, 10, 23, 30));
  Tick(f, At(2026, 12, 11, 0, 29));
  EXPECT_EQ(runs, 0);
  Tick(f, At(2026, 12, 11, 0, 30));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Timer("nexthoure"), "3");
}

// The computer slept through the run: it comes when it wakes, and the next keeps the beat.
TEST_F(ScheduledRuns, EveryTwentyThreeHoursThroughASleep) {
  Apply(2, "23", At(2026, 12, 10, 16, 30));
  Form1& f = Loaded();
  Tick(f, At(2026, 12, 11, 15, 29));
  EXPECT_EQ(runs, 0);
  Tick(f, At(2026, 12, 11, 20, 0));  // awake again, four and a half hours after the run was due
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Timer("nexthoure"), "14");
  EXPECT_EQ(Timer("nextrun"), "2026-12-12 14:30");
  Tick(f, At(2026, 12, 11, 20, 1));
  Tick(f, At(2026, 12, 12, 14, 29));
  EXPECT_EQ(runs, 1);
  Tick(f, At(2026, 12, 12, 14, 30));
  EXPECT_EQ(runs, 2);
}

TEST_F(ScheduledRuns, EveryTwoDaysAndNeverWithoutAnInterval) {
  Apply(3, "2", At(2026, 12, 10, 9, 0));
  Form1& f = Loaded();
  Tick(f, At(2026, 12, 11, 23, 59));
  EXPECT_EQ(runs, 0);
  Tick(f, At(2026, 12, 12, 0, 0));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Timer("nextday"), Date(2026, 12, 14));

  Apply(3, "0", At(2026, 12, 12, 9, 0));
  Tick(f, At(2026, 12, 20, 9, 0));
  EXPECT_EQ(runs, 1);
}

}  // namespace
