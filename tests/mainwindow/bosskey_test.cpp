// The boss key, pressed by WM_HOTKEY on the hot-key layer's window (and once with the keyboard),
// acting on the windows of another program; and the main window's routines over every top-level
// window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "fixture.h"
#include "fixture_windows.h"
#include "options/form3.h"
#include "runtime/pump.h"
#include "runtime/seams.h"
#include "shared/windowutils.h"

namespace {

using mw::FixtureWindows;
using mw::MainWindowTest;

bool WaitFor(const std::function<bool()>& condition, DWORD ms = 5000) {
  for (DWORD waited = 0; !condition(); waited += 10) {
    if (waited >= ms) return false;
    rt::DoEvents();
    Sleep(10);
  }
  return true;
}

// Lets the other program handle what it was sent, then says whether anything changed.
void Settle() {
  for (int i = 0; i < 20; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

RECT Rect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

enum { kIE, kFolder, kIEMinimised, kHiddenFolder, kMozilla };

const std::vector<mw::FixtureWindow> kDesktop = {
    {"IEFrame", "normal", {100, 100, 500, 400}, "Home - Microsoft Internet Explorer"},
    {"CabinetWClass", "max", {60, 60, 460, 360}, "My Documents"},
    {"IEFrame", "min", {120, 120, 420, 320}, "News - Microsoft Internet Explorer"},
    {"CabinetWClass", "hidden", {10, 10, 210, 110}, "Hidden folder"},
    {"MozillaWindowClass", "normal", {200, 200, 600, 500}, "Mozilla"},
};

class BossKey : public MainWindowTest {
 protected:
  Form1& Loaded(const char* action) {
    settings::Write(settings::kOptionBoss, settings::kBossAction, action);
    settings::Write(settings::kBossKey, "K");
    Form1& f = Main();
    f.Load();
    f.Timer1.SetEnabled(false);
    return f;
  }
  void Press(Form1& f) {
    PostMessageA(f.hk1.Window(), WM_HOTKEY, static_cast<WPARAM>(f.hk1.Id()), MAKELPARAM(MOD_CONTROL | MOD_ALT, 'K'));
    rt::DoEvents();
  }
};

TEST_F(BossKey, ActionOneHidesTheVisibleWindowsAndBringsThemBackAsTheyWere) {
  FixtureWindows w(kDesktop);
  RECT ie = Rect(w[kIE]);
  Form1& f = Loaded("1");

  Press(f);
  EXPECT_EQ(f.BossHideState, 1);
  for (int i : {kIE, kFolder, kIEMinimised}) EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(w[i]); })) << i;
  Settle();
  EXPECT_TRUE(IsWindowVisible(w[kMozilla])) << "only Explorer and Internet Explorer windows hide";
  std::vector<HWND> saved;
  for (const SavedPlacement& s : f.BossHidden().SavedPlacements()) saved.push_back(s.window);
  EXPECT_EQ(saved.size(), 3u);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), w[kHiddenFolder]), 0) << "an invisible window is not saved";

  Press(f);
  EXPECT_EQ(f.BossHideState, 0);
  for (int i : {kIE, kFolder, kIEMinimised}) EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(w[i]) != 0; })) << i;
  Settle();
  EXPECT_TRUE(Rect(w[kIE]) == ie);
  EXPECT_FALSE(IsZoomed(w[kIE]) || IsIconic(w[kIE]));
  EXPECT_TRUE(IsZoomed(w[kFolder])) << "a maximised window comes back maximised";
  EXPECT_TRUE(IsIconic(w[kIEMinimised]));
  EXPECT_FALSE(IsWindowVisible(w[kHiddenFolder])) << "the invisible window is left alone";

  // The list stays, but a second restore does not touch windows that are shown.
  ShowWindow(w[kFolder], SW_RESTORE);
  f.BossHidden().RestoreExplorerWindows();
  Settle();
  EXPECT_FALSE(IsZoomed(w[kFolder]));
}

TEST_F(BossKey, ActionTwoClosesTheBrowsers) {
  FixtureWindows w(kDesktop);
  Form1& f = Loaded("2");
  Press(f);
  for (int i : {kIE, kIEMinimised, kMozilla}) EXPECT_TRUE(FixtureWindows::Gone(w[i])) << i;
  EXPECT_TRUE(IsWindow(w[kFolder]));
  EXPECT_TRUE(IsWindow(w[kHiddenFolder]));
  EXPECT_EQ(f.BossHideState, 0);
  // With no browser left, a press changes nothing.
  Press(f);
  Settle();
  EXPECT_TRUE(IsWindowVisible(w[kFolder]));
}

TEST_F(BossKey, ActionThreeClosesTheBrowsersThenErases) {
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  FixtureWindows w(kDesktop);
  Form1& f = Loaded("3");
  Press(f);
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_TRUE(ts::Exists(ts::ProgramDir() + "\\eraselog.txt"));
  for (int i : {kIE, kIEMinimised, kMozilla}) EXPECT_TRUE(FixtureWindows::Gone(w[i])) << i;
  EXPECT_TRUE(IsWindow(w[kFolder]));
}

TEST_F(BossKey, ActionThreeDuringARunErasesAfterIt) {
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  FixtureWindows w({kDesktop[kIE]});
  Form1& f = Loaded("3");
  bool erasedDuringTestRun = true, pressed = false;
  f.txtregcount.Change = [&] {
    if (pressed) return;
    pressed = true;
    Press(f);
    erasedDuringTestRun = !mw::UserKeyExists(mw::kRunMru);
  };
  f.chameleonButton6_Click();
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(erasedDuringTestRun);
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_TRUE(FixtureWindows::Gone(w[0]));
}

TEST_F(BossKey, OtherActionsDoNothing) {
  FixtureWindows w(kDesktop);
  for (const char* action : {"", "0", "4", "x", "1.5"}) {
    MainFormInstance().Reset();
    Form1& f = Loaded(action);
    Press(f);
    Settle();
    EXPECT_EQ(f.BossHideState, 0) << '"' << action << '"';
    for (int i : {kIE, kFolder, kMozilla}) EXPECT_TRUE(IsWindowVisible(w[i])) << '"' << action << "\" " << i;
  }
}

TEST_F(BossKey, HiddenWindowsComeBackAtEveryWayTheProgramEnds) {
  FixtureWindows w(kDesktop);
  struct Way {
    const char* name;
    std::function<void(Form1&)> end;
  } ways[] = {
      {"Exit", [](Form1& f) { f.chameleonButton11.PerformClick(); }},
      {"the tray menu's Exit", [](Form1& f) { f.a.PerformClick(); }},
      {"the close box", [](Form1& f) { SendMessageA(f.hWnd(), WM_CLOSE, 0, 0); }},
      {"the end of the Windows session", [](Form1& f) {
         SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
         SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
       }},
      {"the end of the Windows session during a run", [](Form1& f) {
         mw::Enable({"11"});
         f.txtregcount.Change = [&f] {
           if (f.Ended()) return;
           SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
           SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         };
         f.chameleonButton6_Click();
       }},
  };
  for (const Way& way : ways) {
    MainFormInstance().Reset();
    ts::Observed().exits.clear();
    Form1& f = Loaded("1");
    f.Show();
    Press(f);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w[kIE]) && !IsWindowVisible(w[kFolder]); })) << way.name;
    way.end(f);
    EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0})) << way.name;
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(w[kIE]) && IsWindowVisible(w[kFolder]); })) << way.name;
    EXPECT_TRUE(IsZoomed(w[kFolder])) << way.name;
  }
}

TEST_F(BossKey, HiddenWindowsComeBackWhenTheWindowGoesWithoutAnEnd) {
  FixtureWindows w(kDesktop);
  Form1& f = Loaded("1");
  Press(f);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w[kIE]) && !IsWindowVisible(w[kFolder]); }));
  MainFormInstance().Reset();  // no handler of the window runs
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(w[kIE]) && IsWindowVisible(w[kFolder]); }));
}

TEST_F(BossKey, HiddenWindowsComeBackWhenTheActionIsNoLongerHide) {
  FixtureWindows w(kDesktop);
  Form1& f = Loaded("1");
  Press(f);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w[kIE]); }));
  // The options window's boss-key page: "Close all internet explorers", applied.
  f.chameleonButton8_Click();
  Form3& options = OptionsWindow().Get();
  options.Option8.SetValue(true);
  options.chameleonButton15_Click();
  options.chameleonButton4_Click();
  EXPECT_EQ(settings::Read(settings::kOptionBoss, settings::kBossAction), "2");
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(w[kIE]) && IsWindowVisible(w[kFolder]); }));
  EXPECT_EQ(f.BossHideState, 0);
  // Applying "hide" again while hidden leaves them hidden.
  settings::Write(settings::kOptionBoss, settings::kBossAction, "1");
  Press(f);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w[kIE]); }));
  f.chameleonButton8_Click();
  OptionsWindow().Get().chameleonButton15_Click();
  OptionsWindow().Get().chameleonButton4_Click();
  Settle();
  EXPECT_FALSE(IsWindowVisible(w[kIE]));
  EXPECT_EQ(f.BossHideState, 1);
}

TEST_F(BossKey, TheKeyboardPressesIt) {
  FixtureWindows w({kDesktop[kIE]});
  Form1& f = Loaded("2");
  ASSERT_TRUE(f.hk1.Registered());
  INPUT keys[6] = {};
  WORD codes[3] = {VK_CONTROL, VK_MENU, 'K'};
  for (int i = 0; i < 3; ++i) {
    keys[i].type = keys[5 - i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = keys[5 - i].ki.wVk = codes[i];
    keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ASSERT_EQ(SendInput(6, keys, sizeof(INPUT)), 6u);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(w[0]); }));
}

TEST_F(BossKey, OnlyACapitalLetterRegistersAKey) {
  for (const char* letter : {"k", "", "KK", "1"}) {
    MainFormInstance().Reset();
    settings::Write(settings::kBossKey, letter);
    Form1& f = Main();
    f.Load();
    EXPECT_FALSE(f.hk1.Registered()) << '"' << letter << '"';
    EXPECT_TRUE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_ALT, 'K')) << '"' << letter << '"';
    UnregisterHotKey(nullptr, 99);
  }
  MainFormInstance().Reset();
  Form1& f = Loaded("2");
  EXPECT_TRUE(f.hk1.Registered());
  EXPECT_FALSE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_ALT, 'K')) << "CTRL+ALT+K is the program's";
}

// --- the window utilities ------------------------------------------------------------------------------

TEST(WindowUtilities, CollectWindowTitlesRecordsTitleAndHandleUpTo300) {
  FixtureWindows w(kDesktop);
  WindowTitleTable& table = WindowTitles();
  table.Clear();
  EnumWindows(CollectWindowTitles, 0);
  for (size_t i = 0; i < kDesktop.size(); ++i) {
    bool found = false;
    for (int r = 0; r < table.count; ++r)
      found |= table.records[static_cast<size_t>(r)].window == w[i] && table.records[static_cast<size_t>(r)].title == kDesktop[i].title;
    EXPECT_TRUE(found) << kDesktop[i].title;
  }
  table.Clear();
  for (int i = 0; i < 305; ++i) EXPECT_EQ(CollectWindowTitles(w[kIE], 0), TRUE);
  EXPECT_EQ(table.count, 300);
  EXPECT_EQ(table.records[299].window, w[kIE]);
  EXPECT_EQ(WindowClassName(w[kMozilla]), "MozillaWindowClass");
  EXPECT_EQ(WindowClassName(nullptr), "");
}

TEST_F(BossKey, CheckIEWindowsFindsTheBrowserOrEndsTheProgram) {
  {
    FixtureWindows w(kDesktop);
    Form1& f = Loaded("");
    f.CheckIEWindows();
    EXPECT_THAT(f.IEWindows, ::testing::UnorderedElementsAre(w[kIE], w[kIEMinimised]));
    EXPECT_TRUE(ts::Observed().exits.empty());
  }
  std::vector<rt::MessageBoxCall> boxes;
  rt::SetMessageBoxHandler([&](const rt::MessageBoxCall& c) {
    boxes.push_back(c);
    return IDOK;
  });
  Form1& f = Main();
  f.CheckIEWindows();
  EXPECT_TRUE(f.IEWindows.empty());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "There are currently no IE windows open!\r\n\r\nPlease start Internet Explorer before running this program.");
  EXPECT_EQ(boxes[0].title, "Error");
  EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
}

TEST_F(BossKey, Command6ClosesEveryWindowOfItsDesktop) {
  // On a desktop of its own, so that it closes the fixture's windows and nothing else.
  HDESK desktop = CreateDesktopA("VelkCommand6", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  ASSERT_NE(desktop, nullptr);
  Form1& f = Loaded("");
  {
    FixtureWindows w(kDesktop, "VelkCommand6");
    std::thread there([&] {
      ASSERT_TRUE(SetThreadDesktop(desktop));
      f.Command6_Click();
    });
    there.join();
    EXPECT_GE(WindowTitles().count, static_cast<int>(kDesktop.size()));
    EXPECT_TRUE(w.Ended()) << "every window of that desktop closed";
  }
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(ts::Observed().exits.empty());
  CloseDesktop(desktop);
}

}  // namespace
