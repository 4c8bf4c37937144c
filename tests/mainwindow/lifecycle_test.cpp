// Start-up and the life of the main window: the command line, the load, stealth mode, the end.
#include <gtest/gtest.h>

#include "fixture.h"
#include "mainwindow/aboutbox.h"
#include "mainwindow/startup.h"
#include "pluginengine/engine.h"
#include "runtime/app.h"
#include "runtime/pump.h"
#include "shared/windowutils.h"

namespace {

using mw::MainWindowTest;

class Lifecycle : public MainWindowTest {};

TEST_F(Lifecycle, OnlyALoneSMeansAStartAtWindowsStartUp) {
  struct Case {
    const char* args;
    bool startup;
  } cases[] = {{"s", true}, {" S ", true}, {"S", true}, {"/s", false}, {"-s", false},
               {"ss", false}, {"", false}, {"s x", false}};
  for (const auto& c : cases) {
    MainFormInstance().Reset();
    rt::SetCommandLineForTests(c.args);
    Form1& f = Main();
    f.Load();
    EXPECT_EQ(f.StartMode, c.startup ? 2 : 7) << '"' << c.args << '"';
    EXPECT_EQ(f.Text11.Text(), c.startup ? "s" : "") << '"' << c.args << '"';
    EXPECT_EQ(f.WindowState() == forms::kMinimized, c.startup) << '"' << c.args << '"';
  }
}

TEST_F(Lifecycle, TheStartUpFormShowsTheMainWindowAndGoes) {
  Form3000 startup;
  startup.Load();
  EXPECT_FALSE(startup.IsLoaded());
  Form1& f = Main();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Text1.Text(), "1");
}

TEST_F(Lifecycle, EveryLoadCountsItself) {
  settings::Write(settings::kLoadCount, "41");
  Main().Load();
  EXPECT_EQ(settings::Read(settings::kLoadCount), "42");
  ts::ResetRegistry();
  MainFormInstance().Reset();
  Main().Load();
  EXPECT_EQ(settings::Read(settings::kLoadCount), "1");
}

TEST_F(Lifecycle, CaptionsComeFromTheLanguageFile) {
  mw::InstallEnglish();
  settings::Write(settings::kLanguage, " english.ini ");
  Form1& f = Main();
  f.Load();
  EXPECT_EQ(f.txtlang.Text(), " english.ini ");  // stored as read, used trimmed
  EXPECT_EQ(f.chameleonButton5.Caption(), "Start Erasing");
  EXPECT_EQ(f.chameleonButton7.Caption(), "Erasing Settings ");
  EXPECT_EQ(f.Label1.Caption(), "Scanned Registry Keys :");
  EXPECT_EQ(f.View100.ColumnText(2), "Status");
  EXPECT_EQ(f.StatusBar1.PanelText(1), "Progress");
  EXPECT_EQ(f.a7.Caption(), "Erase Now");
  EXPECT_EQ(f.a.Caption(), "Exit");
}

TEST_F(Lifecycle, AStoredLanguageThatNamesNoFileOfTheLangFolderReadsAsEnglish) {
  mw::InstallEnglish();
  // The file a path in the setting would reach, outside the lang folder.
  ts::WriteFile(ts::ProgramDir() + "\\outside.ini", "[001]\r\n002=\"Elsewhere\"\r\n208=\"Elsewhere\"\r\n");
  for (const std::string& stored : {std::string("..\\outside.ini"), ts::ProgramDir() + "\\outside.ini"}) {
    SCOPED_TRACE(stored);
    settings::Write(settings::kLanguage, stored);
    MainFormInstance().Reset();
    Form1& f = Main();
    f.Load();
    EXPECT_EQ(f.txtlang.Text(), "english.ini");
    EXPECT_EQ(f.chameleonButton5.Caption(), "Start Erasing");
    f.chameleonButton9_Click();  // the about box reads the setting itself
    ASSERT_TRUE(AboutBox().IsLoaded());
    EXPECT_EQ(AboutBox()->Label3.Caption(), "Version:");
    AboutBox()->Unload();
    AboutBox().Reset();
    f.Unload();
  }
}

TEST_F(Lifecycle, WithoutALanguageFileTheCaptionsAreEmpty) {
  Form1& f = Main();
  f.Load();
  EXPECT_EQ(f.txtlang.Text(), "english.ini");
  for (controls::chameleonButton* b : {&f.chameleonButton1, &f.chameleonButton2, &f.chameleonButton3, &f.chameleonButton5,
                               &f.chameleonButton6, &f.chameleonButton11})
    EXPECT_EQ(b->Caption(), "") << b->Name();
  EXPECT_EQ(f.Label5.Caption(), "");
  EXPECT_EQ(f.a10.Caption(), "");
  // Two menu items have no key and keep their own captions in every language.
  EXPECT_EQ(f.a4.Caption(), "Erase Settings");
  EXPECT_EQ(f.a2.Caption(), "Download Plugins");
}

TEST_F(Lifecycle, TheColumnHeadersAreFlat) {
  Form1& f = Main();
  f.Load();
  for (forms::ListView* v : {&f.View100, &f.View200}) {
    HWND header = v->HeaderHwnd();
    ASSERT_NE(header, nullptr) << v->Name();
    EXPECT_FALSE(GetWindowLongPtrA(header, GWL_STYLE) & HDS_BUTTONS) << v->Name();
  }
}

TEST_F(Lifecycle, AStartWithSErasesInsideTheLoadBeforeTheCaptions) {
  mw::InstallEnglish();
  rt::CreateFolder(ts::ProgramDir() + "\\lang");
  ts::WriteFile(ts::ProgramDir() + "\\lang\\english.ini", "[001]\r\n002=\"Erase!\"\r\n");
  settings::Write(settings::kTimer, settings::kWinStart, "1");
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  rt::SetCommandLineForTests("s");
  Form1& f = Main();
  std::string captionDuringRun;
  bool shownDuringRun = true;
  f.txtregcount.Change = [&] {
    captionDuringRun = f.chameleonButton5.Caption();
    shownDuringRun = f.Visible();
  };
  f.Load();
  EXPECT_EQ(captionDuringRun, "Start Erasing");  // still the design caption
  EXPECT_FALSE(shownDuringRun);
  EXPECT_EQ(f.chameleonButton5.Caption(), "Erase!");
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_TRUE(ts::Exists(ts::ProgramDir() + "\\eraselog.txt"));
  // The list keeps the marks of that run: the load does not build it again.
  ASSERT_EQ(f.View100.Count(), 1);
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
}

TEST_F(Lifecycle, WinstartAloneDoesNothing) {
  settings::Write(settings::kTimer, settings::kWinStart, "1");
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  Main().Load();
  EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\eraselog.txt"));
}

TEST_F(Lifecycle, ClosingWithoutSEndsAtOnce) {
  settings::Write(settings::kOptionOption, settings::kOptEraseAtShutdown, "1");
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  Form1& f = Main();
  f.Show();
  f.chameleonButton11.PerformClick();  // "Exit"
  EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
}

// A program started with "s" and the erase at Windows shutdown on, with a trace to erase: each
// erase run it starts is counted.
class ExitRun : public MainWindowTest {
 protected:
  Form1& Started() {
    MainFormInstance().Reset();
    ts::Observed().exits.clear();
    eraseRuns = 0;
    settings::Write(settings::kOptionOption, settings::kOptEraseAtShutdown, "1");
    mw::Enable({"11"});
    mw::SetUserValue(mw::kRunMru, "a", "regedit");
    rt::SetCommandLineForTests("s");
    Form1& f = Main();
    f.Load();
    auto trigger = f.Text5.Change;
    f.Text5.Change = [this, &f, trigger] {
      if (rt::Val(f.Text5.Text()) == 2) ++eraseRuns;
      trigger();
    };
    return f;
  }
  // The three ways a user asks the program to end.
  struct Way {
    const char* name;
    void (*ask)(Form1&);
  };
  static constexpr Way kWays[] = {
      {"Exit", [](Form1& f) { f.chameleonButton11.PerformClick(); }},
      {"the tray menu's Exit", [](Form1& f) { f.a.PerformClick(); }},
      {"the close box", [](Form1& f) { SendMessageA(f.hWnd(), WM_CLOSE, 0, 0); }},
  };
  int eraseRuns = 0;
};

TEST_F(ExitRun, ClosingAProgramStartedWithSErasesFirstThenEnds) {
  Form1& f = Started();
  std::string flagDuringRun;
  f.txtregcount.Change = [&] { flagDuringRun = f.Text10.Text(); };
  SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(flagDuringRun, "1");
  EXPECT_EQ(eraseRuns, 1);
  EXPECT_EQ(f.Text10.Text(), "0");
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
  EXPECT_TRUE(f.Ended());
}

TEST_F(ExitRun, AnEndAskedForAgainDuringTheExitRunEndsOnceAfterIt) {
  for (const Way& again : kWays) {
    Form1& f = Started();
    bool asked = false;
    f.txtregcount.Change = [&] {
      if (asked) return;
      asked = true;
      again.ask(f);
      EXPECT_TRUE(ts::Observed().exits.empty()) << again.name << ": the exit run goes to its end first";
    };
    f.chameleonButton11.PerformClick();
    EXPECT_TRUE(asked) << again.name;
    EXPECT_EQ(eraseRuns, 1) << again.name;
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0})) << again.name;
    EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru)) << again.name;
    EXPECT_TRUE(f.Ended()) << again.name;
  }
}

// The erasing-settings window saves the plug-in list in steps, and a run waits for the save: the
// exit run then comes after the save, and the program ends after the exit run.
TEST_F(ExitRun, AnEndAskedForWhileThePluginListIsSavedComesAfterTheExitRun) {
  for (const Way& way : kWays) {
    Form1& f = Started();
    int saver = 0;
    plugins::RunBuild(&saver, 1, [&] {
      way.ask(f);
      EXPECT_EQ(eraseRuns, 1) << way.name << ": the exit run is asked for";
      EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru)) << way.name << ": and waits for the save";
      EXPECT_TRUE(ts::Observed().exits.empty()) << way.name;
      EXPECT_TRUE(f.IsLoaded()) << way.name << ": the window stays until the program ends";
    });
    EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru)) << way.name;
    EXPECT_EQ(f.Text10.Text(), "0") << way.name;
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0})) << way.name;
    EXPECT_TRUE(f.Ended()) << way.name;
  }
}

// A test run asked for before Exit, both waiting for a save of the plug-in list, runs first: the
// erase at shutdown still runs after it, however often the end is asked for again.
TEST_F(ExitRun, TheEraseAtShutdownThatWaitedBehindAnotherRunStillRuns) {
  for (const Way& again : kWays) {
    Form1& f = Started();
    int saver = 0;
    bool askedAgain = false, testRunFirst = false;
    f.Text10.Change = [&] {
      // The end of the first run: the end is asked for again before the next one.
      if (f.Text10.Text() != "0" || askedAgain) return;
      askedAgain = true;
      testRunFirst = mw::UserKeyExists(mw::kRunMru);
      again.ask(f);
    };
    plugins::RunBuild(&saver, 1, [&] {
      f.chameleonButton6_Click();
      f.chameleonButton11.PerformClick();
      EXPECT_EQ(eraseRuns, 1) << again.name << ": asked for, it waits for the save";
    });
    EXPECT_TRUE(askedAgain) << again.name;
    EXPECT_TRUE(testRunFirst) << again.name;
    EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru)) << again.name << ": the erase at shutdown ran";
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0})) << again.name;
  }
}

TEST_F(ExitRun, TheEndOfAWindowsSessionDuringAPluginListSaveIsNeverRefused) {
  Form1& f = Started();
  f.Show();
  int saver = 0;
  LRESULT answer = FALSE;
  plugins::RunBuild(&saver, 1, [&] {
    answer = SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_TRUE(ts::Observed().exits.empty()) << "the session may still go on";
    SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0})) << "the program ends with the session";
  });
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
  EXPECT_TRUE(f.Ended());
  EXPECT_EQ(f.StealthKey().HotKeyCount(), 0);
  // The erase at shutdown was not dropped with the waiting requests: it ran before the end.
  EXPECT_EQ(eraseRuns, 1);
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
}

// Windows ends the session: nothing happens while it only asks (another program may refuse), and
// when it comes, a run in progress stops where it stands and the erase at shutdown runs, its log
// written, while Windows is told why the session end waits; then the program ends.
TEST_F(ExitRun, TheEndOfAWindowsSessionRunsTheEraseAtShutdownEvenDuringARun) {
  struct Case {
    const char* what;
    bool testRunByHand;  // the session ends during it; otherwise while nothing runs
  } cases[] = {{"while nothing runs", false}, {"during a test run", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ts::WriteFile(ts::ProgramDir() + "\\lang\\english.ini", "[001]\r\n298=\"Erasing first, then the end.\"\r\n");
    Form1& f = Started();
    f.Show();
    std::vector<std::string> holds;
    bool heldDuringErase = false;
    rt::SetSessionHoldHandler([&](HWND window, const std::string& reason, bool held) {
      EXPECT_EQ(window, f.hWnd());
      holds.push_back(held ? "hold: " + reason : "release");
    });
    std::string logAtExit;
    rt::SetExitHandler([&](int code) {
      ts::Observed().exits.push_back(code);
      logAtExit = ts::ReadFile(ts::ProgramDir() + "\\eraselog.txt");
    });
    LRESULT answer = FALSE;
    auto endSession = [&] {
      answer = SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
      EXPECT_TRUE(ts::Observed().exits.empty()) << "asked only";
      EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru)) << "asked only";
      SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    };
    int steps = 0;
    f.txtregcount.Change = [&] {
      if (f.txtregcount.Text() == "0") return;
      ++steps;
      if (eraseRuns == 1) heldDuringErase = holds.size() == 1;
      if (c.testRunByHand && steps == 1) endSession();
    };
    if (c.testRunByHand)
      f.chameleonButton6_Click();
    else
      endSession();
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(eraseRuns, 1);
    EXPECT_EQ(steps, c.testRunByHand ? 2 : 1) << "the test run went no further";
    EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
    EXPECT_NE(logAtExit.find("Test Mode : Erasing Windows Start Run History  <OK>"), std::string::npos) << logAtExit;
    EXPECT_TRUE(heldDuringErase);
    EXPECT_EQ(holds, (std::vector<std::string>{"hold: Erasing first, then the end.", "release"}));
    EXPECT_EQ(f.Text10.Text(), "0");
    EXPECT_EQ(f.StealthKey().HotKeyCount(), 0);
  }
}

TEST_F(ExitRun, ASessionEndThatDoesNotComeChangesNothing) {
  Form1& f = Started();
  f.Show();
  EXPECT_EQ(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(f.hWnd(), WM_ENDSESSION, FALSE, 0);  // another program refused it
  EXPECT_EQ(eraseRuns, 0);
  EXPECT_TRUE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_TRUE(ts::Observed().exits.empty());
  EXPECT_FALSE(f.Ending());
  // The program goes on as before, and ends with its erase when asked.
  f.chameleonButton11.PerformClick();
  EXPECT_EQ(eraseRuns, 1);
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
}

TEST_F(Lifecycle, StealthModeHidesTheWindowBehindItsKey) {
  settings::Write(settings::kOptionOption, settings::kOptStealth, "1");
  settings::Write(settings::kShowHideKey, "q");  // a lower-case letter means the key of its capital
  Form1& f = Main();
  f.Load();
  f.Show();
  EXPECT_EQ(f.WindowState(), forms::kMinimized);
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(f.TrayArea1.Visible());
  EXPECT_EQ(f.StealthKey().HotKeyCount(), 1);
  EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_ALT, 'Q')) << "ALT+Q is taken by the program";
  // The key shows the window, then hides it again.
  SendMessageA(f.hWnd(), WM_HOTKEY, 1, 0);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.WindowState(), forms::kNormal);
  SendMessageA(f.hWnd(), WM_HOTKEY, 1, 0);
  EXPECT_FALSE(f.Visible());
  // At the end the key and the window procedure are given back.
  f.Command5_Click();
  EXPECT_EQ(f.StealthKey().HotKeyCount(), 0);
  EXPECT_TRUE(RegisterHotKey(nullptr, 77, MOD_ALT, 'Q'));
  UnregisterHotKey(nullptr, 77);
  EXPECT_EQ(f.StealthKey().PrevWndProc(), nullptr);
}

// A main window that goes without its exit button (thrown away, or its window destroyed) gives
// the key and the window procedure back all the same, so the key is free for the next window.
TEST_F(Lifecycle, TheShowHideKeyIsGivenBackHoweverTheWindowGoes) {
  settings::Write(settings::kOptionOption, settings::kOptStealth, "1");
  settings::Write(settings::kShowHideKey, "Q");
  for (bool destroyWindow : {false, true}) {
    SCOPED_TRACE(destroyWindow ? "window destroyed" : "object thrown away");
    Form1& f = Main();
    f.Load();
    ASSERT_EQ(f.StealthKey().HotKeyCount(), 1);
    EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_ALT, 'Q'));
    if (destroyWindow) {
      DestroyWindow(f.hWnd());
      EXPECT_EQ(f.StealthKey().HotKeyCount(), 0);
      EXPECT_EQ(f.StealthKey().PrevWndProc(), nullptr);
    }
    MainFormInstance().Reset();
    EXPECT_TRUE(RegisterHotKey(nullptr, 77, MOD_ALT, 'Q')) << "the key is free again";
    UnregisterHotKey(nullptr, 77);
  }
}

TEST_F(Lifecycle, StealthWithoutAKeyLeavesTheTrayIcon) {
  settings::Write(settings::kOptionOption, settings::kOptStealth, "1");
  Form1& f = Main();
  f.Show();
  EXPECT_EQ(f.WindowState(), forms::kNormal);  // no key: no stealth start
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(f.TrayArea1.Visible()) << "without its key the window must stay reachable";
}

TEST_F(Lifecycle, StealthWithAKeyTakenByAnotherProgramLeavesTheTrayIcon) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 78, MOD_ALT, 'B'));
  settings::Write(settings::kOptionOption, settings::kOptStealth, "1");
  settings::Write(settings::kShowHideKey, "B");
  Form1& f = Main();
  f.Show();
  EXPECT_EQ(f.WindowState(), forms::kNormal);
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  EXPECT_TRUE(f.TrayArea1.Visible());
  UnregisterHotKey(nullptr, 78);
}

TEST_F(Lifecycle, MinimisingOutsideStealthGoesToTheTray) {
  Form1& f = Main();
  f.Show();
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(f.TrayArea1.Visible());
  f.TrayArea1_DblClick();  // back from the tray
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.TrayArea1.Visible());
  EXPECT_EQ(f.WindowState(), forms::kNormal);
  EXPECT_FALSE(IsIconic(f.hWnd()));
}

TEST_F(Lifecycle, TheBossKeyTakesOneCapitalLetter) {
  struct Case {
    const char* letter;
    int code;
  } cases[] = {{"K", 'K'}, {" Z ", 'Z'}, {"k", 0}, {"KL", 0}, {"5", 0}, {"", 0}};
  for (const auto& c : cases) {
    MainFormInstance().Reset();
    settings::Write(settings::kBossKey, c.letter);
    Form1& f = Main();
    f.Load();
    EXPECT_EQ(f.hk1.KeyCode(), c.code) << '"' << c.letter << '"';
  }
}

TEST_F(Lifecycle, TheProtectedHomePageIsReadAtLoad) {
  settings::Write(settings::kHomePage, "  http://home.example/  ");
  settings::Write(settings::kTitlePage, "Home");
  Form1& f = Main();
  f.Load();
  EXPECT_EQ(f.Text12.Text(), "http://home.example/");
  EXPECT_EQ(f.Text13.Text(), "Home");
  EXPECT_EQ(f.BossHideState, 0);
  EXPECT_EQ(f.Timer1.Interval(), 10000u);
  EXPECT_TRUE(f.Timer1.Enabled());
}

}  // namespace
