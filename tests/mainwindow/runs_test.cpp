// Whole test and erase runs over traces planted in the registry: status rows, detail rows word
// for word, counters, progress, totals, the log byte for byte, and the guard that keeps runs
// from nesting.
#include <gtest/gtest.h>

#include <functional>

#include "fixture.h"
#include "pluginengine/engine.h"
#include "runs/run.h"
#include "runtime/app.h"
#include "runtime/datetime.h"
#include "runtime/pump.h"
#include "runtime/seams.h"

namespace {

using mw::MainWindowTest;
using Rows = std::vector<std::string>;

class Runs : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    SYSTEMTIME st{2026, 12, 4, 10, 9, 5, 3, 0};
    rt::SetClockForTests(st);
  }
  // The traces of the three categories built so far.
  void Plant() {
    mw::SetUserValue(mw::kRunMru, "a", "regedit");
    mw::SetUserValue(mw::kRunMru, "MRUList", "a");
    mw::SetUserValue(mw::kRunMruNt, "a", "cmd");
    mw::SetUserValue(mw::kFindMru, "A", "secret plans");
    mw::SetUserValue(mw::kFindMru, "B", "   ");
    mw::SetUserValue(mw::kFindMru, "C", "budget  ");
    mw::SetUserValue(mw::kFindMru, "MRU", "ACB");
    mw::SetUserValue(mw::kBarFiles, "a", "*.doc");
    mw::SetUserValue(mw::kBarText, "a", "password");
    mw::SetUserValue(mw::kOpenSave, "a", "C:\\docs\\report.doc");
    mw::SetUserValue(mw::kOpenSave, "MRUList", "a");
    mw::SetUserValue(std::string(mw::kOpenSave) + "\\txt", "a", "C:\\diary.txt");
    mw::SetUserValue(std::string(mw::kOpenSave) + "\\txt", "b", " ");
    mw::SetUserValue(std::string(mw::kOpenSave) + "\\txt", "MRUList", "ab");
    mw::Enable({"9", "11", "12"});
  }
  const Rows kRows = {
      "Windows Start Find History secret plans <OK>",
      "Windows Start Find History budget   <OK>",
      "Windows Start Run History  <OK>",
      "Windows Open / Save Dialog History a <OK>",
      "Windows Open / Save Dialog History MRUList <OK>",
      "Cleaning Registry key value: C:\\diary.txt  <OK>",
      "Cleaning Registry key value: ab  <OK>",
  };
  std::string Log() { return ts::ReadFile(ts::ProgramDir() + "\\eraselog.txt"); }
  // The log as it stands when the program asks to end.
  void KeepLogAtExit(std::string& log) {
    rt::SetExitHandler([this, &log](int code) {
      ts::Observed().exits.push_back(code);
      log = Log();
    });
  }
  std::string ExpectedLog(const Rows& rows, const std::string& reg, const std::string& files, const std::string& space) {
    std::string when = rt::DateText() + "  " + rt::TimeText();
    std::string log = "Test Mode: Test Start --------------------at " + when + "\r\n";
    for (const auto& r : rows) log += "Test Mode : Erasing " + r + "\r\n";
    log += std::string(155, '-') + "\r\n";
    log += "Test Mode: --Test Completed ----Registry Keys Scanned: " + reg + ", Files : " + files +
           " , Hard Disk Space: " + space + " *********  at " + when + "\r\n";
    return log;
  }
};

TEST_F(Runs, ATestRunListsAndCountsAndErasesNothing) {
  Plant();
  Form1& f = Main();
  f.Show();
  std::vector<int> progress;
  f.Bar1.ValueSet = [&](int v) { progress.push_back(v); };
  f.chameleonButton6.PerformClick();  // "Test Now"

  ASSERT_EQ(f.View100.Count(), 3);
  const char* captions[] = {"Start Menu Search History", "Start Menu Run History", "Open / Save Dialog Box History"};
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(f.View100.Text(i), captions[i - 1]);
    EXPECT_EQ(f.View100.SubItem(i, 1), "Done");
    EXPECT_EQ(f.View100.Item(i).smallIcon, "o");
  }
  EXPECT_EQ(mw::DetailRows(f), kRows);
  EXPECT_EQ(f.View200.SelectedIndex(), 7);  // each row was selected and scrolled to as it came
  EXPECT_EQ(f.txtregcount.Text(), "7");
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_EQ(f.Label2.Caption(), "7");
  EXPECT_EQ(f.Label4.Caption(), "0");
  EXPECT_EQ(f.Label6.Caption(), "0.000 KB");
  EXPECT_EQ(f.Text14.Text(), "4");
  std::vector<int> expected = {0, 5, 15, 25, 35, 45, 55, 65, 70, 75, 85, 100, 100};
  expected.insert(expected.end(), 7, 100);  // one per log line
  expected.push_back(0);
  EXPECT_EQ(progress, expected);
  EXPECT_EQ(Log(), ExpectedLog(kRows, "7", "0", "0.000 KB"));

  // Nothing was erased.
  EXPECT_EQ(mw::UserValue(mw::kRunMru, "a"), "regedit");
  EXPECT_EQ(mw::UserValue(mw::kFindMru, "A"), "secret plans");
  EXPECT_TRUE(mw::UserKeyExists(mw::kBarFiles));
  EXPECT_EQ(mw::UserValue(mw::kOpenSave, "a"), "C:\\docs\\report.doc");
  EXPECT_EQ(mw::UserValue(std::string(mw::kOpenSave) + "\\txt", "a"), "C:\\diary.txt");
}

TEST_F(Runs, AnEraseRunErasesWhatTheTestRunListed) {
  Plant();
  Form1& f = Main();
  f.Show();
  f.chameleonButton5.PerformClick();  // "Start Erasing"
  EXPECT_EQ(mw::DetailRows(f), kRows);
  EXPECT_EQ(f.txtregcount.Text(), "7");
  EXPECT_EQ(Log(), ExpectedLog(kRows, "7", "0", "0.000 KB"));  // the same "Test Mode" texts

  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMruNt));
  for (char l = 'A'; l <= 'Z'; ++l) {
    EXPECT_TRUE(mw::UserValueExists(mw::kFindMru, std::string(1, l))) << l;
    EXPECT_EQ(mw::UserValue(mw::kFindMru, std::string(1, l)), "") << l;
  }
  EXPECT_EQ(mw::UserValue(mw::kFindMru, "MRU"), "ACB");  // the order value stays
  EXPECT_FALSE(mw::UserKeyExists(mw::kBarFiles));
  EXPECT_FALSE(mw::UserKeyExists(mw::kBarText));
  EXPECT_FALSE(mw::UserValueExists(mw::kOpenSave, "a"));
  EXPECT_FALSE(mw::UserValueExists(mw::kOpenSave, "MRUList"));
  EXPECT_FALSE(mw::UserValueExists(std::string(mw::kOpenSave) + "\\txt", "b"));  // blank, deleted all the same
  EXPECT_TRUE(mw::UserKeyExists(std::string(mw::kOpenSave) + "\\txt"));       // the keys stay

  // A second erase finds nothing: only the Run history's summary row remains.
  f.chameleonButton5.PerformClick();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Start Run History  <OK>"}));
  EXPECT_EQ(f.txtregcount.Text(), "1");
}

TEST_F(Runs, AFailedEraseSaysSoAndIsNotCounted) {
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  mw::SetUserValue(std::string(mw::kRunMru) + "\\inner", "x", "y");  // a key with sub-keys does not go
  mw::Enable({"11"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Start Run History  <FAILED>"}));
  EXPECT_EQ(f.txtregcount.Text(), "0");
  EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru));
}

TEST_F(Runs, EmptyHistoriesGiveNoRows) {
  mw::Enable({"9", "12"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtregcount.Text(), "0");
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
  f.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  // The search history's erase leaves its 26 blank values behind all the same.
  EXPECT_TRUE(mw::UserValueExists(mw::kFindMru, "Z"));
}

TEST_F(Runs, NothingEnabled) {
  Form1& f = Main();
  f.Load();
  std::vector<int> progress;
  f.Bar1.ValueSet = [&](int v) { progress.push_back(v); };
  f.chameleonButton6_Click();
  EXPECT_EQ(f.View100.Count(), 0);
  EXPECT_EQ(f.Text14.Text(), "1");
  EXPECT_EQ(progress, (std::vector<int>{0, 5, 15, 25, 35, 45, 55, 65, 70, 75, 85, 100, 100, 0}));
  EXPECT_EQ(f.Label2.Caption(), "0");
  EXPECT_EQ(f.Label6.Caption(), "0.000 KB");
  EXPECT_EQ(Log(), ExpectedLog({}, "0", "0", "0.000 KB"));
}

TEST_F(Runs, FlagsAreOnWhenTheirNumberIsOne) {
  struct Case {
    const char* text;
    bool on;
  } cases[] = {{"1", true}, {"  1", true}, {"1.0", true}, {"1abc", true},
               {"0", false}, {"2", false}, {"", false}, {"yes", false}};
  for (const auto& c : cases) {
    settings::Write(settings::kOptionWin, "11", c.text);
    MainFormInstance().Reset();
    Form1& f = Main();
    f.Load();
    f.chameleonButton6_Click();
    EXPECT_EQ(f.View100.Count(), c.on ? 1 : 0) << c.text;
    EXPECT_EQ(f.View200.Count(), c.on ? 1 : 0) << c.text;
  }
}

TEST_F(Runs, EveryStatusStepMarksTheRowOfItsOwnCategory) {
  // "Index.dat" is the last row of the list but the fifth step of a run.
  mw::Enable({"4", "12"});
  mw::SetUserValue(mw::kFindMru, "A", "x");
  Form1& f = Main();
  f.Load();
  std::string row1, row2;
  f.txtregcount.Change = [&] {  // while the search history is being listed
    row1 = f.View100.Text(1) + "=" + f.View100.SubItem(1, 1);
    row2 = f.View100.Text(2) + "=" + f.View100.SubItem(2, 1);
  };
  f.chameleonButton6_Click();
  EXPECT_EQ(row1, "Start Menu Search History=Erasing");
  EXPECT_EQ(row2, "Index.dat=Done");
  EXPECT_EQ(f.Text14.Text(), "3");
}

TEST_F(Runs, TheStatusListFollowsTheSettingsAndTheSelection) {
  mw::Enable({"0", "24", "4"});
  settings::Write(settings::kOptionWin, "13", "2");  // 2 is not on
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "Cleaner One\r\n\r\n  Spaced\r\n");
  Form1& f = Main();
  f.Load();
  Rows rows;
  for (int i = 1; i <= f.View100.Count(); ++i) rows.push_back(f.View100.Text(i) + "|" + f.View100.Item(i).smallIcon);
  EXPECT_EQ(rows, (Rows{"Location bar history|a", "Netscape History|x2", "Index.dat|a", "Cleaner One|c", "  Spaced|c"}));
  EXPECT_EQ(f.FirstPluginRow(), 4);
  // "0" or "" in the trigger leaves the list alone.
  settings::Write(settings::kOptionWin, "0", "0");
  f.Text4.SetText("");
  f.Text4.SetText("0");
  EXPECT_EQ(f.View100.Count(), 5);
  f.Text4.SetText("1");
  EXPECT_EQ(f.View100.Count(), 4);
}

TEST_F(Runs, TheTotalsSwitchToMegabytesAt1024000Bytes) {
  struct Case {
    double bytes;
    const char* text;
  } cases[] = {{0, "0.000 KB"},         {5120, "5.000 KB"},       {1023999, "999.999 KB"},
               {1024000, "0.977 MB"},   {1048576, "1.000 MB"},    {3221225472.0, "3072.000 MB"}};
  for (const auto& c : cases) EXPECT_EQ(runs::DiskSpaceText(c.bytes), c.text) << c.bytes;
}

TEST_F(Runs, NoLogWhenTheUserTurnedItOff) {
  ts::WriteFile(ts::ProgramDir() + "\\eraselog.txt", "an older log");
  settings::Write(settings::kOptionOption, settings::kOptNoLog, "1");
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_EQ(Log(), "an older log");
  EXPECT_EQ(f.Text10.Text(), "0");
  EXPECT_EQ(f.Bar1.Value(), 0);
}

TEST_F(Runs, AReadOnlyLogIsReplaced) {
  std::string log = ts::ProgramDir() + "\\eraselog.txt";
  ts::WriteFile(log, "an older log");
  SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_EQ(Log(), ExpectedLog({}, "0", "0", "0.000 KB"));
}

TEST_F(Runs, ARunRequestedDuringARunWaitsForItsEnd) {
  Plant();
  Form1& f = Main();
  f.Show();
  int requests = 0;
  Rows rowsWhenAsked;
  f.txtregcount.Change = [&] {
    if (requests++ > 0) return;
    // What a click, the tray menu, the scheduler or a trigger would ask while the test run yields.
    f.chameleonButton5_Click();
    f.Text5.SetText("");
    f.Text5.SetText("2");
    f.Text4.SetText("");
    f.Text4.SetText("1");
    rowsWhenAsked = mw::DetailRows(f);
    EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru)) << "no erase inside the test run";
  };
  f.chameleonButton6_Click();
  EXPECT_EQ(rowsWhenAsked.size(), 1u);  // the test run went on undisturbed
  // Then one erase run followed, and the status list was built again after it.
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_EQ(f.View100.SubItem(1, 1), "");
  EXPECT_FALSE(f.RunInProgress());
}

// A schedule shorter than a run: a new scheduled run is asked for during every run. The waiting
// runs come one after another from one loop (each starts at the same depth of the stack, none
// inside the one before), and an Exit asked for during one of them ends the program after it:
// the scheduled runs that queued meanwhile, and those the timer would still ask for, are dropped,
// and only the erase at shutdown still comes where it is due.
TEST_F(Runs, AnExitIsNeverStarvedByScheduledRunsThatKeepComing) {
  for (bool startedWithS : {false, true}) {
    SCOPED_TRACE(startedWithS ? "started with s, the erase at shutdown on" : "started by hand");
    MainFormInstance().Reset();
    ts::ResetRegistry();
    ts::Observed().exits.clear();
    mw::Enable({"11"});
    settings::Write(settings::kOptionOption, settings::kOptEraseAtShutdown, "1");
    settings::Write(settings::kTimer, settings::kScheduleMode, "1");
    settings::Write(settings::kTimer, settings::kScheduleValue, "1");
    settings::Write(settings::kTimer, settings::kNextHour, "10");
    settings::Write(settings::kTimer, settings::kNextMinute, "0");
    rt::SetCommandLineForTests(startedWithS ? "s" : "");
    int erases = 0;
    Form1& f = mw::LoadedForTicks(Main(), erases);
    std::vector<uintptr_t> depths;  // where on the stack each run stood
    int minute = 0;
    f.txtregcount.Change = [&] {
      if (f.txtregcount.Text() == "0" || depths.size() >= 12) return;  // the count of a new run
      char here = 0;
      depths.push_back(reinterpret_cast<uintptr_t>(&here));
      mw::TickAt(f, mw::At(2026, 12, 10, 10, minute++));  // a scheduled run is due again, and waits
      if (depths.size() == 6) {
        f.chameleonButton11.PerformClick();  // "Exit", during the sixth run: the waiting one goes
        mw::TickAt(f, mw::At(2026, 12, 10, 10, minute++));  // and none comes after it
      }
    };
    rt::SetClockForTests(mw::At(2026, 12, 10, 9, 59));
    f.chameleonButton6_Click();  // "Test Now" by hand

    // The test run, five scheduled erase runs, then the erase at shutdown where it is due; the
    // scheduled run asked for in the sixth run, before Exit, was asked for but never ran.
    ASSERT_EQ(depths.size(), startedWithS ? 7u : 6u);
    EXPECT_EQ(erases, startedWithS ? 7 : 6);
    for (size_t i = 2; i < 6; ++i) EXPECT_EQ(depths[i], depths[1]) << "run " << i + 1;
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
    EXPECT_TRUE(f.Ended());
    EXPECT_FALSE(f.RunInProgress());
  }
}

// However a run is asked for, by a click or by code outside any message of the main window (the
// end of a plug-in list's save in another window, the program's own steps), its native lists
// follow at intervals, not at every look at the messages, and every row shows once it has ended.
TEST_F(Runs, ARunStartedByCodeRefreshesTheWindowAtIntervals) {
  Plant();
  Form1& f = Main();
  f.Show();
  struct Way {
    const char* name;
    std::function<void()> ask;
  };
  int saver = 0;
  const Way ways[] = {
      {"called by code", [&] { f.chameleonButton5_Click(); }},
      {"after a plug-in list's save", [&] { plugins::RunBuild(&saver, 1, [&] { f.chameleonButton6_Click(); }); }},
  };
  auto shown = [&] { return static_cast<int>(SendMessageA(f.View200.hWnd(), LVM_GETITEMCOUNT, 0, 0)); };
  for (const Way& way : ways) {
    Plant();
    rt::DoEvents();
    int rows = -1, rowsShown = -1;
    f.Bar1.ValueSet = [&](int v) {
      if (v != 85) return;  // the categories are done
      rt::DoEvents();
      rows = f.View200.Count();
      rowsShown = shown();
    };
    way.ask();
    f.Bar1.ValueSet = nullptr;
    EXPECT_EQ(rows, 7) << way.name;
    EXPECT_LT(rowsShown, rows) << way.name << ": the rows of the last moment follow a little later";
    rt::DoEvents();
    EXPECT_EQ(shown(), f.View200.Count()) << way.name << ": every row shows after the run";
  }
}

TEST_F(Runs, ClosingDuringARunEndsTheProgramAfterIt) {
  Plant();
  Form1& f = Main();
  f.Show();
  bool closedEarly = false;
  f.txtregcount.Change = [&] {
    if (f.View200.Count() != 1) return;
    SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    closedEarly = !ts::Observed().exits.empty() || !f.IsLoaded();
  };
  f.chameleonButton5_Click();
  EXPECT_FALSE(closedEarly);
  EXPECT_EQ(mw::DetailRows(f), kRows);  // the run went to its end
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
}

TEST_F(Runs, ExitDuringARunEndsTheProgramAfterIt) {
  Plant();
  Form1& f = Main();
  f.Show();
  f.txtregcount.Change = [&] {
    if (f.View200.Count() == 1) f.a.PerformClick();  // "Exit" of the tray menu
  };
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f).size(), kRows.size());
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
}

TEST_F(Runs, TheEndOfAWindowsSessionDuringARunIsNeverRefused) {
  Plant();
  Form1& f = Main();
  f.Show();
  std::string logAtExit;
  rt::SetExitHandler([&](int code) {
    ts::Observed().exits.push_back(code);
    logAtExit = Log();
  });
  LRESULT answer = FALSE;
  f.txtregcount.Change = [&] {
    if (f.View200.Count() != 1 || answer) return;
    answer = SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_TRUE(ts::Observed().exits.empty()) << "the session may still go on";
    SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  };
  f.chameleonButton5_Click();
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
  // The run stopped where the session ended: its log holds what it had done, and nothing after.
  EXPECT_EQ(logAtExit, ExpectedLog({kRows[0]}, "1", "0", "0.000 KB"));
  EXPECT_EQ(Log(), logAtExit);
  EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_TRUE(mw::UserValueExists(mw::kOpenSave, "a"));
}

TEST_F(Runs, ASessionThatEndsWhileTheLogIsWrittenLeavesAWholeLog) {
  Plant();
  std::string logAtExit;
  KeepLogAtExit(logAtExit);
  Form1& f = Main();
  f.Show();
  int hundreds = 0;
  f.Bar1.ValueSet = [&](int v) {
    // The third 100 is the log's first line: the session ends in the middle of the log.
    if (v != 100 || ++hundreds != 3) return;
    SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  };
  f.chameleonButton5_Click();
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
  EXPECT_EQ(logAtExit, ExpectedLog(kRows, "7", "0", "0.000 KB"));
  EXPECT_EQ(Log(), logAtExit);
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\eraselog.txt.~new"));
}

TEST_F(Runs, ASessionEndThatDoesNotComeLetsTheRunGoOn) {
  Plant();
  Form1& f = Main();
  f.Show();
  LRESULT answer = FALSE;
  f.txtregcount.Change = [&] {
    if (f.View200.Count() != 1 || answer) return;
    answer = SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, 0);
    SendMessageA(f.hWnd(), WM_ENDSESSION, FALSE, 0);  // another program refused it
  };
  f.chameleonButton5_Click();
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(mw::DetailRows(f), kRows);
  EXPECT_TRUE(ts::Observed().exits.empty());
  EXPECT_TRUE(f.IsLoaded());
}

}  // namespace
