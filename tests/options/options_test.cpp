// The options window: opening and closing it from the main window, its pages, the option flags
// that store at once, the start-up entry, the general "Apply", and the home page, boss key and
// language pages.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/app.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/windowutils.h"
#include "shared/wipe.h"

namespace {

using opt::OptionsTest;

std::string Opt(const char* name) { return settings::Read(settings::kOptionOption, name); }

std::string NativeText(HWND h) {
  char text[256] = "";
  GetWindowTextA(h, text, sizeof text);
  return text;
}

// The names of the values and sub-keys of the settings key ("" when it does not exist).
std::vector<std::string> StoredNames() {
  std::vector<std::string> names;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::kRoot, 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD n = sizeof name;
    if (RegEnumValueA(k, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  for (DWORD i = 0; RegEnumKeyA(k, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(std::string(name) + "\\");
  RegCloseKey(k);
  return names;
}

// --- opening and closing ---------------------------------------------------------------------------

TEST_F(OptionsTest, OnAnEmptyStoreTheWindowShowsTheDefaultsAndWritesNothing) {
  Form3& f = Open();
  EXPECT_FALSE(Main().Enabled()) << "the main window waits while the options are open";
  ASSERT_TRUE(f.IsLoaded());
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  EXPECT_EQ(&f.CurrentPage(), &f.Frame3);
  for (int i = 0; i <= 7; ++i) EXPECT_EQ(f.Check1[i].Value(), 0) << i;
  EXPECT_EQ(f.Combo1.Text(), "3");
  EXPECT_EQ(f.Combo1.ListCount(), 10);
  EXPECT_EQ(f.Combo2.Text(), "A");
  EXPECT_EQ(f.Combo3.Text(), "U");
  EXPECT_EQ(f.Combo3.ListCount(), 26);
  for (forms::OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6, &f.Option7,
                                 &f.Option8, &f.Option9})
    EXPECT_FALSE(o->Value()) << o->Name();
  for (forms::TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5}) EXPECT_EQ(t->Text(), "0") << t->Name();
  EXPECT_EQ(f.Text10.Text(), "");
  EXPECT_EQ(f.Text6.Text(), "english");
  EXPECT_EQ(f.Label7.Caption(), "Velk Rezeza Pro team");
  EXPECT_EQ(StoredNames(), std::vector<std::string>{}) << "opening writes nothing";
  EXPECT_FALSE(opt::HasRunValue(settings::kRunKeys[0]));

  // Captions from the language file, each the window text of its control for screen readers.
  EXPECT_EQ(f.Caption(), "Options");
  EXPECT_EQ(NativeText(f.chameleonButton7.hWnd()), "Shedule");
  EXPECT_EQ(NativeText(f.chameleonButton13.hWnd()), "Boss Key");
  EXPECT_EQ(NativeText(f.Check1[2].hWnd()), "Load Velk Rezeza Automatially at windows StartUp");
  EXPECT_EQ(f.Option1.Caption(), "Every .... .......");
  EXPECT_EQ(f.Frame4.Caption(), "Security Options");

  // The close box closes it like "Exit".
  SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(OptionsWindow().IsLoaded());
  EXPECT_TRUE(Main().Enabled());
}

TEST_F(OptionsTest, WithoutALanguageFileTheCaptionsAreEmptyButBossKeyKeepsItsOwn) {
  Main().txtlang.SetText("missing.ini");
  Form3& f = Open();
  EXPECT_EQ(f.Caption(), "");
  for (controls::chameleonButton* b : {&f.chameleonButton3, &f.chameleonButton6, &f.chameleonButton7, &f.chameleonButton8})
    EXPECT_EQ(b->Caption(), "") << b->Name();
  EXPECT_EQ(f.chameleonButton13.Caption(), "Boss Key");
  EXPECT_EQ(f.chameleonButton15.Caption(), "Apply");
  EXPECT_EQ(f.Option3.Caption(), " .......");
}

TEST_F(OptionsTest, OnAFullStoreEveryControlIsRestored) {
  for (const char* i : {"0", "1", "2", "3", "4", "5", "6", "7"}) settings::Write(settings::kOptionOption, i, "1");
  settings::Write(settings::kSecureValue, "7");
  settings::Write(settings::kShowHideKey, " h ");
  settings::Write(settings::kBossKey, "K");
  settings::Write(settings::kOptionBoss, settings::kBossAction, "2");
  settings::Write(settings::kTimer, settings::kScheduleMode, "2");
  settings::Write(settings::kTimer, settings::kScheduleValue, "5");
  settings::Write(settings::kTimerOption, settings::kTimerOpt, "2");
  for (int i = 1; i <= 5; ++i) settings::Write(settings::kTimerOption, "t" + rt::NumberText(i), rt::NumberText(i * 10) + "x");
  mw::SetUserValue(settings::kExplorerMain, settings::kStartPage, "http://start.example/");
  mw::SetUserValue(settings::kExplorerMain, settings::kWindowTitle, "Browser");
  Form3& f = Open();
  for (int i = 0; i <= 7; ++i) EXPECT_EQ(f.Check1[i].Value(), 1) << i;
  EXPECT_EQ(f.Combo1.Text(), "7");
  EXPECT_EQ(f.Combo2.Text(), "H");
  EXPECT_EQ(f.Combo3.Text(), "K");
  EXPECT_TRUE(f.Option8.Value());
  EXPECT_TRUE(f.Option2.Value());
  EXPECT_EQ(f.Text1.Text(), "10") << "the boxes show the number their stored text begins with";
  EXPECT_EQ(f.Text2.Text(), "20");
  EXPECT_EQ(f.Text5.Text(), "50");
  EXPECT_EQ(f.Text10.Text(), "http://start.example/");
  EXPECT_EQ(f.Text20.Text(), "Browser");
  // A box restored to "on" stores itself again: the start-up entry and the guard's switch come back.
  EXPECT_EQ(opt::RunValue(settings::kRunKeys[0]), StartupCommand());
  EXPECT_EQ(opt::RunValue(settings::kRunKeys[1]), StartupCommand());
  EXPECT_EQ(settings::Read(settings::kProtectHome), "1");
}

TEST_F(OptionsTest, StoredTextsLoadAsTheirNumbersOrTheDefaults) {
  struct Case {
    const char* passes;
    const char* passesShown;
    const char* key;
    const char* keyShown;
    const char* boss;
    const char* bossShown;
    const char* action;
    forms::OptionButton Form3::*chosen;
  } cases[] = {
      // A stored count outside 1 to 10 shows the count erasing takes for it.
      {"abc", "1", "", "A", "", "U", "1", &Form3::Option7},
      {"   ", "3", "z", "Z", "b", "B", "3", &Form3::Option9},
      {"4 times", "4", "7", "", "?", "", "4", nullptr},
      {"10", "10", "AB", "", " Q ", "Q", "", nullptr},
      {"0", "1", "", "A", "", "U", "", nullptr},
      {"-5", "1", "", "A", "", "U", "", nullptr},
      {"25", "10", "", "A", "", "U", "", nullptr},
      {"7.9", "7", "", "A", "", "U", "", nullptr},
  };
  for (const Case& c : cases) {
    settings::Write(settings::kSecureValue, c.passes);
    settings::Write(settings::kShowHideKey, c.key);
    settings::Write(settings::kBossKey, c.boss);
    settings::Write(settings::kOptionBoss, settings::kBossAction, c.action);
    Form3& f = Open();
    EXPECT_EQ(f.Combo1.Text(), c.passesShown) << c.passes;
    if (!rt::Trim(c.passes).empty()) {
      EXPECT_EQ(rt::NumberText(WipePasses()), c.passesShown) << "what erasing makes";
    }
    EXPECT_EQ(f.Combo2.Text(), c.keyShown) << c.key;
    EXPECT_EQ(f.Combo3.Text(), c.bossShown) << c.boss;
    for (forms::OptionButton Form3::*o : {&Form3::Option7, &Form3::Option8, &Form3::Option9})
      EXPECT_EQ((f.*o).Value(), o == c.chosen) << c.action;
    // "Apply" stores exactly what is shown; no letter shown stores none.
    f.chameleonButton9_Click();
    EXPECT_EQ(settings::Read(settings::kSecureValue), c.passesShown);
    EXPECT_EQ(settings::Read(settings::kShowHideKey), c.keyShown);
    EXPECT_EQ(settings::Read(settings::kBossKey), c.bossShown);
    f.chameleonButton4_Click();
    MessageForm().Reset();
  }
}

TEST_F(OptionsTest, EveryWayOfClosingEnablesTheMainWindowAndStoresNothing) {
  Form1& main = Main();
  main.Load();
  struct Way {
    const char* what;
    std::function<void(Form3&)> close;
  } ways[] = {
      {"Exit", [](Form3& f) { SendMessageA(f.chameleonButton4.hWnd(), BM_CLICK, 0, 0); }},
      {"close box", [](Form3& f) { SendMessageA(f.hWnd(), WM_CLOSE, 0, 0); }},
      {"unloaded from outside", [](Form3& f) { f.Unload(); }},
      {"hidden with the main window in stealth mode", [&main](Form3&) {
         main.StealthKey().Press();
       }},
      {"the end of the Windows session", [](Form3& f) {
         EXPECT_TRUE(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, 0)) << "never refuses it";
         SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, 0);
       }},
  };
  for (const Way& w : ways) {
    main.Show();
    main.a5.PerformClick();  // the tray menu's "Options"
    Form3& f = OptionsWindow().Get();
    ASSERT_TRUE(f.IsLoaded()) << w.what;
    EXPECT_FALSE(main.Enabled()) << w.what;
    EXPECT_FALSE(IsWindowEnabled(main.hWnd())) << w.what;
    f.chameleonButton6_Click();
    f.Text10.SetText("http://typed.example/");
    f.chameleonButton3_Click();
    f.Combo1.SetText("9");
    w.close(f);
    EXPECT_FALSE(OptionsWindow().IsLoaded()) << w.what;
    EXPECT_TRUE(main.Enabled()) << w.what;
    EXPECT_TRUE(IsWindowEnabled(main.hWnd())) << w.what;
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"cn"})) << w.what;
    EXPECT_EQ(mw::UserValue(settings::kExplorerMain, settings::kStartPage), "") << w.what;
  }
}

TEST_F(OptionsTest, APageButtonShowsItsPageWhereTheGeneralPageStandsAndKeepsTheOthersAsTheyAre) {
  Form3& f = Open();
  struct Page {
    controls::chameleonButton* button;
    forms::Frame* page;
  } pages[] = {{&f.chameleonButton6, &f.Frame1}, {&f.chameleonButton7, &f.Frame2}, {&f.chameleonButton13, &f.Frame7},
               {&f.chameleonButton8, &f.Frame5}, {&f.chameleonButton3, &f.Frame3}};
  f.Text20.SetText("typed title");
  for (const Page& p : pages) {
    SendMessageA(p.button->hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(&f.CurrentPage(), p.page) << p.button->Name();
    for (const Page& other : pages) {
      EXPECT_EQ(other.page->Visible(), other.page == p.page) << other.page->Name();
      EXPECT_EQ(other.button->Value(), other.page == p.page) << "the shown page's button stays down";
    }
    EXPECT_EQ(p.page->Left(), 120);
    EXPECT_EQ(p.page->Top(), 540);
  }
  // The same button twice keeps its page.
  SendMessageA(f.chameleonButton7.hWnd(), BM_CLICK, 0, 0);
  SendMessageA(f.chameleonButton7.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(&f.CurrentPage(), &f.Frame2);
  EXPECT_TRUE(f.chameleonButton7.Value());
  EXPECT_EQ(f.Text20.Text(), "typed title");
}

// --- the option flags and the start-up entry -----------------------------------------------------------

TEST_F(OptionsTest, EachBoxStoresItsStateTheMomentItChanges) {
  Form3& f = Open();
  for (int i = 0; i <= 7; ++i) {
    f.Check1[i].SetValue(1);
    EXPECT_EQ(Opt(rt::NumberText(i).c_str()), "1") << i;
  }
  // A click on the screen takes the same road.
  SendMessageA(f.Check1[6].hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(Opt("6"), "0");
  EXPECT_EQ(f.Check1[6].Value(), 0);
  // Box 0 is the home-page guard's switch.
  EXPECT_EQ(settings::Read(settings::kProtectHome), "1");
  f.Check1[0].SetValue(0);
  EXPECT_EQ(Opt("0"), "0");
  EXPECT_EQ(settings::Read(settings::kProtectHome), "0");
  // Apply does not write the boxes again; closing keeps what they stored.
  settings::Write(settings::kOptionOption, "5", "x");
  f.chameleonButton9_Click();
  EXPECT_EQ(Opt("5"), "x");
  MessageForm().Reset();
  f.chameleonButton4_Click();
  EXPECT_EQ(Opt("7"), "1");
}

TEST_F(OptionsTest, TheStartUpEntryIsTheQuotedProgramPathAndUntickingRemovesItFromBothRunKeys) {
  ts::WriteFile(ts::ProgramDir() + "\\lang\\placeholder.txt", "");
  Form3& f = Open();
  SendMessageA(f.Check1[2].hWnd(), BM_CLICK, 0, 0);
  std::string command = "\"" + ts::ProgramDir() + "\\Velk Rezeza Pro.exe\" s";
  EXPECT_EQ(StartupCommand(), command);
  for (const char* key : settings::kRunKeys) EXPECT_EQ(opt::RunValue(key), command) << key;
  EXPECT_EQ(Opt("2"), "1");
  // The command line the main program gets from it is "s".
  EXPECT_EQ(rt::CommandLineArgs(command), "s");

  SendMessageA(f.Check1[2].hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(Opt("2"), "0");
  for (const char* key : settings::kRunKeys) EXPECT_FALSE(opt::HasRunValue(key)) << key;
  f.chameleonButton4_Click();

  // Opening with the box stored on writes the entry again; stored off, it writes nothing.
  settings::Write(settings::kOptionOption, "2", "1");
  Open().chameleonButton4_Click();
  for (const char* key : settings::kRunKeys) EXPECT_EQ(opt::RunValue(key), command) << key;
  opt::ClearUserSettings();
  settings::Write(settings::kOptionOption, "2", "0");
  Open().chameleonButton4_Click();
  for (const char* key : settings::kRunKeys) EXPECT_FALSE(opt::HasRunValue(key)) << key;
}

// --- the general "Apply" ---------------------------------------------------------------------------------

TEST_F(OptionsTest, ApplyStoresEveryPageAndAStepThatFailsStopsNoOther) {
  rt::SetClockForTests(SYSTEMTIME{2026, 12, 4, 10, 21, 30, 0, 0});
  ts::WriteFile(ts::ProgramDir() + "\\lang\\German.INI", "[001]\r\n146=\"German.INI\"\r\n087=\"Neue Sprache\"\r\n");
  Form3& f = Open();
  f.Option9.SetValue(true);
  f.Combo3.SetText("k");
  f.Option2.SetValue(true);
  f.Text2.SetText("4");
  f.Text6.SetText("German.INI");
  f.Text10.SetText("  http://home.example/ ");
  f.Text20.SetText(" Home ");
  f.Combo1.SetText(" 10 ");
  f.Combo2.SetText("Q");
  f.chameleonButton9_Click();
  EXPECT_EQ(settings::Read(settings::kOptionBoss, settings::kBossAction), "3");
  EXPECT_EQ(settings::Read(settings::kBossKey), "K");
  EXPECT_EQ(settings::Read(settings::kTimer, settings::kScheduleMode), "2");
  EXPECT_EQ(settings::Read(settings::kTimer, settings::kNextHour), "1");
  EXPECT_EQ(settings::Read(settings::kLanguage), "German.INI");
  EXPECT_EQ(mw::UserValue(settings::kExplorerMain, settings::kStartPage), "http://home.example/");
  EXPECT_EQ(settings::Read(settings::kTitlePage), "Home");
  EXPECT_EQ(settings::Read(settings::kSecureValue), "10");
  EXPECT_EQ(settings::Read(settings::kShowHideKey), "Q");
  // The language notice, in the language still in use.
  frmmsg& m = MessageForm().Get();
  EXPECT_TRUE(m.IsLoaded());
  EXPECT_EQ(m.Text1.Text(), "The new language will be used the next time Velk Rezeza Pro starts.");
  EXPECT_EQ(m.Label1.Caption(), "Language File Name");
  MessageForm().Reset();

  // An hour schedule of a day or more is refused with a notice; the other pages are stored.
  std::vector<std::string> notices;
  rt::SetMessageBoxHandler([&](const rt::MessageBoxCall& c) {
    notices.push_back(c.text);
    return IDOK;
  });
  f.Text2.SetText("24");
  f.Option7.SetValue(true);
  f.Combo1.SetText("2");
  f.chameleonButton9_Click();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("1 to 23 hours"), std::string::npos) << notices[0];
  EXPECT_EQ(settings::Read(settings::kTimer, settings::kScheduleValue), "4") << "the schedule stays as it was";
  EXPECT_EQ(settings::Read(settings::kOptionBoss, settings::kBossAction), "1");
  EXPECT_EQ(settings::Read(settings::kSecureValue), "2");
  EXPECT_TRUE(OptionsWindow().IsLoaded()) << "the window stays open";
  MessageForm().Reset();

  // A count erasing does not make is refused with a notice and never stored; the rest is.
  f.Text2.SetText("4");
  for (const char* typed : {"12", "0", "", "two", "3.5", "-1", "1 0"}) {
    SCOPED_TRACE(typed);
    notices.clear();
    f.Combo1.SetText(typed);
    f.Combo2.SetText("R");
    f.chameleonButton9_Click();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Secure erasing overwrites a file 1 to 10 times: choose or type a number from 1 to 10. The "
                          "number of times was not changed.");
    EXPECT_EQ(settings::Read(settings::kSecureValue), "2");
    EXPECT_EQ(settings::Read(settings::kShowHideKey), "R");
    settings::Write(settings::kShowHideKey, "Q");
    MessageForm().Reset();
  }
  notices.clear();
  f.Combo1.SetText(" 07 ");
  f.chameleonButton9_Click();
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(settings::Read(settings::kSecureValue), "7");
}

// --- home page -----------------------------------------------------------------------------------------

TEST_F(OptionsTest, TheHomePageIsStoredForTheBrowserAndTheRunningGuardKeepsIt) {
  mw::SetUserValue(settings::kExplorerMain, settings::kStartPage, "http://old.example/");
  mw::SetUserValue(settings::kExplorerMain, settings::kWindowTitle, "Old");
  settings::Write(settings::kHomePage, "http://old.example/");
  settings::Write(settings::kTitlePage, "Old");
  settings::Write(settings::kProtectHome, "1");
  Form1& main = Main();
  main.Load();
  main.Timer1.SetEnabled(false);
  main.Show();
  main.chameleonButton8_Click();
  Form3& f = OptionsWindow().Get();
  f.chameleonButton1_Click();  // "Use Blank"
  EXPECT_EQ(f.Text10.Text(), "about:blank");
  EXPECT_EQ(f.Text20.Text(), "");
  EXPECT_EQ(mw::UserValue(settings::kExplorerMain, settings::kStartPage), "http://old.example/") << "not stored yet";
  f.chameleonButton2_Click();
  EXPECT_EQ(mw::UserValue(settings::kExplorerMain, settings::kStartPage), "about:blank");
  EXPECT_TRUE(mw::UserValueExists(settings::kExplorerMain, settings::kWindowTitle));
  EXPECT_EQ(mw::UserValue(settings::kExplorerMain, settings::kWindowTitle), "");
  EXPECT_EQ(settings::Read(settings::kHomePage), "about:blank");
  EXPECT_EQ(settings::Read(settings::kTitlePage), "");
  // The guard's next tick asks nothing: the change was the user's own (a question would fail the test).
  main.Timer1_Timer();
  EXPECT_EQ(main.Text12.Text(), "about:blank");
  f.chameleonButton4_Click();
}

// --- boss key ---------------------------------------------------------------------------------------

TEST_F(OptionsTest, TheBossKeyPageStoresTheActionAndTheLetterTheMainWindowTakesAtItsNextStart) {
  Form3& f = Open();
  f.chameleonButton15_Click();
  EXPECT_EQ(settings::Read(settings::kOptionBoss, settings::kBossAction), "") << "no action chosen";
  EXPECT_EQ(settings::Read(settings::kBossKey), "U");
  f.chameleonButton13_Click();
  SendMessageA(f.Option8.hWnd(), BM_CLICK, 0, 0);
  f.Combo3.SetListIndex(10);
  SendMessageA(f.chameleonButton15.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(settings::Read(settings::kOptionBoss, settings::kBossAction), "2");
  EXPECT_EQ(settings::Read(settings::kBossKey), "K");
  f.chameleonButton4_Click();
  MainFormInstance().Reset();
  Main().Load();
  EXPECT_EQ(Main().hk1.KeyCode(), 'K');
}

// --- language ------------------------------------------------------------------------------------------

class LanguagePage : public opt::AnsweringTest {};

TEST_F(LanguagePage, BrowsingTakesTheNameOfAnIniFileAndRefusesAnyOther) {
  ts::WriteFile(ts::ProgramDir() + "\\lang\\German.INI", "[001]\r\n");
  Form3& f = Open();
  chosen = ts::ProgramDir() + "\\lang\\German.INI";
  f.chameleonButton11_Click();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_FALSE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].initDir, ts::ProgramDir() + "\\lang");
  EXPECT_EQ(dialogs[0].fileName, "*.ini");
  EXPECT_EQ(f.Text6.Text(), "German.INI");
  f.chameleonButton10_Click();
  EXPECT_EQ(settings::Read(settings::kLanguage), "German.INI") << "the name keeps its case";
  EXPECT_EQ(f.Text6.Text(), "German.INI");
  EXPECT_TRUE(MessageForm().IsLoaded());
  MessageForm().Reset();

  // Cancelled: nothing changes.
  chosen = std::nullopt;
  f.chameleonButton11_Click();
  EXPECT_EQ(f.Text6.Text(), "German.INI");
  for (const char* name : {"readme.txt", "abc.xini", "ini"}) {
    chosen = ts::ProgramDir() + "\\lang\\" + name;
    f.Text6.SetText("German.INI");
    f.chameleonButton11_Click();
    EXPECT_EQ(notices, std::vector<std::string>{"Please Only ini files"}) << name;
    EXPECT_EQ(f.Text6.Text(), "") << name;
    notices.clear();
  }
  settings::Write(settings::kLanguage, "before.ini");
  f.chameleonButton10_Click();  // an empty box: nothing at all
  EXPECT_EQ(settings::Read(settings::kLanguage), "before.ini");
  EXPECT_FALSE(MessageForm().Exists());
}

TEST_F(LanguagePage, SetNewLanguageOnStoresTheFileNameWithIniAndOnlyForAFileOfTheLangFolder) {
  ts::WriteFile(ts::ProgramDir() + "\\lang\\german.ini", "[001]\r\n087=\"Neu\"\r\n");
  Form3& f = Open();
  f.Text6.SetText(" german ");
  f.chameleonButton10_Click();
  EXPECT_EQ(f.Text6.Text(), "german.ini");
  EXPECT_EQ(settings::Read(settings::kLanguage), "german.ini");
  ASSERT_TRUE(MessageForm().IsLoaded());
  EXPECT_EQ(MessageForm()->Caption(), "Velk Rezeza Pro");
  EXPECT_EQ(MessageForm()->Text1.Text(), "The new language will be used the next time Velk Rezeza Pro starts.");
  MessageForm().Reset();
  // A name without a file there would leave the program without captions: refused with a notice.
  f.Text6.SetText("klingon");
  f.chameleonButton10_Click();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "There is no language file of this name in the program's lang folder:\r\n" + ts::ProgramDir() +
                            "\\lang\\klingon.ini");
  EXPECT_EQ(settings::Read(settings::kLanguage), "german.ini");
  EXPECT_FALSE(MessageForm().Exists());
  // Only a plain file name: a path that reaches a file outside the lang folder is refused too.
  ts::WriteFile(ts::Scratch() + "\\outside.ini", "[001]\r\n087=\"Elsewhere\"\r\n");
  for (const std::string& path : {std::string("..\\..\\outside.ini"), ts::Scratch() + "\\outside.ini"}) {
    notices.clear();
    f.Text6.SetText(path);
    f.chameleonButton10_Click();
    ASSERT_EQ(notices.size(), 1u) << path;
    EXPECT_EQ(notices[0].substr(0, notices[0].find('\r')), "There is no language file of this name in the program's lang folder:");
    EXPECT_EQ(settings::Read(settings::kLanguage), "german.ini");
  }
  EXPECT_FALSE(MessageForm().Exists());
}

TEST_F(LanguagePage, ALanguageWhoseNameIsNotItsFilesStaysWhenApplyRuns) {
  // The language's own name (key 146) fills the box at opening; it need not name a file.
  ts::WriteFile(ts::ProgramDir() + "\\lang\\fr.ini", "[001]\r\n146=\"Francais\"\r\n");
  Main().txtlang.SetText("fr.ini");
  settings::Write(settings::kLanguage, "fr.ini");
  Form3& f = Open();
  EXPECT_EQ(f.Text6.Text(), "Francais");
  f.chameleonButton9_Click();
  EXPECT_EQ(settings::Read(settings::kLanguage), "fr.ini");
  EXPECT_EQ(notices, std::vector<std::string>{});
  EXPECT_FALSE(MessageForm().Exists());
}

TEST_F(LanguagePage, TheLinkOpensTheMakersPageAndSaysWhenItCannot) {
  std::vector<rt::ProcessStart> starts;
  INT_PTR result = 42;
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) -> INT_PTR {
    starts.push_back(p);
    return result;
  });
  Form3& f = Open();
  f.chameleonButton8_Click();
  // A click on the label, as its page tells of it.
  SendMessageA(GetParent(f.Label4.hWnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.Label4.hWnd()), STN_CLICKED),
               reinterpret_cast<LPARAM>(f.Label4.hWnd()));
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_TRUE(starts[0].viaShell);
  EXPECT_TRUE(rt::EqualsNoCase(starts[0].verb, "open"));
  EXPECT_EQ(starts[0].file, Form3::kLanguagePage);
  EXPECT_FALSE(MessageForm().Exists());
  result = 2;  // the shell could not open it
  f.Label4_Click();
  ASSERT_TRUE(MessageForm().IsLoaded());
  EXPECT_EQ(MessageForm()->Text1.Text(), std::string("Visit our web site\r ") + Form3::kLanguagePage);
  EXPECT_EQ(MessageForm()->Label1.Caption(), "Web site");
}

}  // namespace

namespace {

TEST_F(OptionsTest, EveryButtonIsTheOwnerDrawnOneWithTheSettingsOfTheSecondaryWindows) {
  using controls::ButtonTypeKind;
  using controls::ColorSchemeKind;
  Form3& f = Open();
  f.chameleonButton12_Click();
  Form6& e = LanguageEditor().Get();
  for (forms::Form* w : {static_cast<forms::Form*>(&f), static_cast<forms::Form*>(&e)}) {
    for (forms::Control* c : w->Controls()) {
      EXPECT_EQ(dynamic_cast<forms::PushButton*>(c), nullptr) << c->Name();
      auto* b = dynamic_cast<controls::chameleonButton*>(c);
      if (!b) continue;
      bool standard = b == &f.chameleonButton11 || b == &e.chameleonButton1 || b == &e.chameleonButton3 ||
                      b == &e.chameleonButton2;
      EXPECT_EQ(b->ButtonType(), standard ? ButtonTypeKind::Standard : ButtonTypeKind::FlatHover) << b->Name();
      bool system = w == &e && standard;
      EXPECT_EQ(b->ColorScheme(), system ? ColorSchemeKind::SystemColors : ColorSchemeKind::CustomColors) << b->Name();
      EXPECT_EQ(b->BackColor(), controls::kButtonFace) << b->Name();
      EXPECT_EQ(b->ForeColor(), RGB(0, 0, 0)) << b->Name();
      EXPECT_EQ(b->ForeOver(), RGB(192, 0, 0)) << b->Name();
      EXPECT_EQ(b->FontName(), "Arial") << b->Name();
      EXPECT_EQ(b->FontBold(), b == &f.chameleonButton12) << b->Name();
      EXPECT_EQ(b->PicturePosition(), controls::PicturePositionKind::PictureLeft) << b->Name();
      EXPECT_TRUE(b->SoftBevel()) << b->Name();
      // A caption for screen readers, or, for the picture alone, a tool tip that names it.
      EXPECT_TRUE(!b->Caption().empty() || !b->ToolTipText().empty()) << b->Name();
    }
  }
}

}  // namespace
