// The "Applications" page over fixture plug-ins: the list, the selection and work-list files byte
// for byte after every change, the plug-in files' buttons, the download page and the editor.
#include <gtest/gtest.h>

#include "fixture.h"
#include "pluginengine/engine.h"
#include "runtime/seams.h"

namespace {

using es::Lines;
using es::SettingsWindowTest;
using es::Stored;

class Plugins : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    Plugin("alpha.vk", "Alpha cleaner\r\nMorvane\r\nCleans alpha\r\nfiles\r\nfile=C:\\alpha\\a.log,0\r\n"
                       "folder=C:\\alpha\\cache\\*.*,1\r\nregistry\r\nHKEY_CURRENT_USER\\Software\\Alpha,1\r\n");
    Plugin("beta .vk", "Beta\r\nSomeone\r\nCleans beta\r\nfiles\r\nfile=C:\\beta\\b.log,0\r\nregistry\r\n");
    Plugin("gamma.vk", "Gamma\r\n\r\n\r\nfiles\r\nregistry\r\nHKEY_CURRENT_USER\\Software\\Gamma,Last,4\r\n");
    Plugin("readme.txt", "not a plug-in");
  }
  Form2& OpenPage() {
    Form2& f = Open();
    f.chameleonButton3.PerformClick();
    return f;
  }
  Lines Rows(Form2& f) {
    Lines rows;
    for (int i = 1; i <= f.View1.Count(); ++i) rows.push_back(f.View1.Text(i) + (f.View1.Checked(i) ? " [x]" : ""));
    return rows;
  }
  // The four files after a save of these plug-ins.
  void ExpectSaved(const std::string& selection, const std::string& files, const std::string& folders,
                   const std::string& registry) {
    EXPECT_EQ(Cln("slectplg.cln"), selection);
    EXPECT_EQ(Cln("plgfile.cln"), files);
    EXPECT_EQ(Cln("plgfoldr.cln"), folders);
    EXPECT_EQ(Cln("plgreg.cln"), registry);
  }
  const std::string kAlphaFiles = "C:\\alpha\\a.log\r\n";
  const std::string kAlphaFolders = "C:\\alpha\\cache\\\r\n*.*\r\n1\r\n";
  const std::string kAlphaRegistry = "HKEY_CURRENT_USER\\Software\\Alpha,1\r\n";
};

TEST_F(Plugins, WithoutASelectionTheListIsUntickedAndNothingIsWritten) {
  Form2& f = OpenPage();
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "gamma"}));
  EXPECT_EQ(f.View1.Item(1).smallIcon, "b");
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\slectplg.cln"));
  f.chameleonButton8.PerformClick();  // Refresh
  f.chameleonButton3.PerformClick();  // the tab again: every plug-in once
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "gamma"}));
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\slectplg.cln"));
  // The first click in the list writes the files.
  es::ClickRowText(f.View1, 3);
  ExpectSaved("", "", "", "");
  EXPECT_EQ(f.Text4.Text(), "3");
}

TEST_F(Plugins, EveryTickIsSavedAtOnceByMouseAndByKeyboard) {
  Form2& f = OpenPage();
  es::ClickRowBox(f.View1, 1);
  ExpectSaved("alpha\r\n", kAlphaFiles, kAlphaFolders, kAlphaRegistry);
  EXPECT_EQ(f.List7.Items(), (Lines{"C:\\alpha\\a.log"}));  // the window's own copy of the loaded lists
  EXPECT_EQ(f.List11.Items(), (Lines{"HKEY_CURRENT_USER\\Software\\Alpha,1"}));
  // Space on the selected row ticks it, and that is saved as a click is.
  es::ClickRowText(f.View1, 2);
  es::PressSpace(f.View1);
  ASSERT_TRUE(f.View1.Checked(2));
  ExpectSaved("alpha\r\nbeta \r\n", kAlphaFiles + "C:\\beta\\b.log\r\n", kAlphaFolders, kAlphaRegistry);
  es::ClickRowBox(f.View1, 1);
  ExpectSaved("beta \r\n", "C:\\beta\\b.log\r\n", "", "");
}

TEST_F(Plugins, TheTabAndRefreshRestoreTheTicksAndSaveThemAgain) {
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "  GAMMA \r\nmissing\r\n");
  Form2& f = OpenPage();
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "gamma [x]"}));
  ExpectSaved("gamma\r\n", "", "", "HKEY_CURRENT_USER\\Software\\Gamma,Last,4\r\n");
  // A plug-in that appears meanwhile is listed by Refresh.
  Plugin("delta.vk", "Delta\r\nP\r\nD\r\nfiles\r\nregistry\r\n");
  f.chameleonButton8.PerformClick();
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "delta", "gamma [x]"}));
}

TEST_F(Plugins, AFileWhoseNameDiffersOnlyInBlanksFromAListedOneIsLeftOut) {
  Plugin("beta.vk", "Beta too\r\nSomeone\r\nCleans beta\r\nfiles\r\nfile=C:\\beta\\other.log,0\r\nregistry\r\n");
  Form2& f = OpenPage();
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "gamma"}));
  es::ClickRowBox(f.View1, 2);
  ExpectSaved("beta \r\n", "C:\\beta\\b.log\r\n", "", "");
}

// The user ticks a plug-in here at the moment a run (a scheduled one, say) ticks its own copy of
// the list: at the run's first yield after its first tick. The run marks the status list at that
// tick; a short wait there makes its next yield due, and a timer's message then clicks the box.
struct TickDuringRun {
  Form1* main = nullptr;
  Form2* settings = nullptr;
  int row = 0;
  WNDPROC statusListProc = nullptr;
  bool waited = false;
  bool done = false;
  bool RunHasTicked() const { return main->View1.Count() && main->View1.Checked(1); }
};
TickDuringRun g_tickDuringRun;

LRESULT CALLBACK StatusListWhileTheRunTicks(HWND h, UINT m, WPARAM w, LPARAM l) {
  TickDuringRun& t = g_tickDuringRun;
  if (m == LVM_REDRAWITEMS && !t.waited && t.RunHasTicked()) {
    t.waited = true;
    Sleep(60);
  }
  return CallWindowProcA(t.statusListProc, h, m, w, l);
}

void CALLBACK TickWhenTheRunTicks(HWND, UINT, UINT_PTR id, DWORD) {
  TickDuringRun& t = g_tickDuringRun;
  if (t.done || !t.RunHasTicked()) return;
  t.done = true;
  KillTimer(nullptr, id);
  es::ClickRowBox(t.settings->View1, t.row);
}

TEST_F(Plugins, ATickSavedWhileARunPreparesThePluginsIsKept) {
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "alpha\r\n");
  Form2& f = OpenPage();
  ASSERT_EQ(Rows(f), (Lines{"alpha [x]", "beta ", "gamma"}));
  Form1& m = Main();
  HWND statusList = m.View100.hWnd();
  ASSERT_TRUE(statusList);
  g_tickDuringRun = {&m, &f, 3};
  g_tickDuringRun.statusListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(statusList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusListWhileTheRunTicks)));
  UINT_PTR timer = SetTimer(nullptr, 0, 10, TickWhenTheRunTicks);
  m.chameleonButton6_Click();
  KillTimer(nullptr, timer);
  SetWindowLongPtrA(statusList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tickDuringRun.statusListProc));
  ASSERT_TRUE(g_tickDuringRun.done) << "the tick came during the run";
  EXPECT_EQ(Rows(f), (Lines{"alpha [x]", "beta ", "gamma [x]"}));
  ExpectSaved("alpha\r\ngamma\r\n", kAlphaFiles, kAlphaFolders, kAlphaRegistry + "HKEY_CURRENT_USER\\Software\\Gamma,Last,4\r\n");
}

TEST_F(Plugins, SelectAllAndSelectNone) {
  Form2& f = OpenPage();
  f.chameleonButton14.PerformClick();
  ExpectSaved("", "", "", "");
  f.chameleonButton5.PerformClick();
  EXPECT_EQ(Rows(f), (Lines{"alpha [x]", "beta  [x]", "gamma [x]"}));
  ExpectSaved("alpha\r\nbeta \r\ngamma\r\n", kAlphaFiles + "C:\\beta\\b.log\r\n", kAlphaFolders,
              kAlphaRegistry + "HKEY_CURRENT_USER\\Software\\Gamma,Last,4\r\n");
}

TEST_F(Plugins, ASelectionThatCannotBeReadIsNotRewritten) {
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "alpha\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\plgfile.cln", "C:\\alpha\\a.log\r\n");
  HANDLE lock = CreateFileA((ts::ProgramDir() + "\\slectplg.cln").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Form2& f = OpenPage();
  CloseHandle(lock);
  EXPECT_EQ(f.View1.Count(), 3);
  EXPECT_EQ(Cln("slectplg.cln"), "alpha\r\n");
  EXPECT_EQ(Cln("plgfile.cln"), "C:\\alpha\\a.log\r\n");
}

TEST_F(Plugins, TheFirstVisitMovesThePluginsToTheWindowsDriveOnce) {
  std::string key = "Software\\Microsoft\\Windows\\CurrentVersion", saved;
  bool had = ReadRegString(HKEY_LOCAL_MACHINE, key, "systemroot", saved);
  WriteRegString(HKEY_LOCAL_MACHINE, key, "systemroot", "D:\\WINDOWS");
  Plugin("cdrive.vk", "C\r\nP\r\nD\r\nfiles\r\nfile=c:\\temp\\a.log,0\r\nregistry\r\n");
  Form2& f = OpenPage();
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\plugins\\cdrive.vk"), "C\r\nP\r\nD\r\nfiles\r\nfile=D:\\temp\\a.log,0\r\nregistry\r\n");
  EXPECT_EQ(Stored(settings::kOptionCheckPlugin, "ok"), "1");
  Plugin("cdrive.vk", "C\r\nP\r\nD\r\nfiles\r\nfile=c:\\temp\\b.log,0\r\nregistry\r\n");
  f.chameleonButton3.PerformClick();
  EXPECT_NE(ts::ReadFile(ts::ProgramDir() + "\\plugins\\cdrive.vk").find("c:\\temp\\b.log"), std::string::npos);
  // The Cookies folder is noted on the way.
  EXPECT_EQ(Stored("", "cookies"), SpecialFolderPath(CSIDL_COOKIES));
  if (had)
    WriteRegString(HKEY_LOCAL_MACHINE, key, "systemroot", saved);
  else
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "systemroot");
}

TEST_F(Plugins, InfoShowsTheHeaderOfTheFileTheRowCameFrom) {
  Plugin("beta.vk", "Not this one\r\nP\r\nD\r\nfiles\r\nregistry\r\n");  // what "beta " trimmed would name
  Form2& f = OpenPage();
  f.chameleonButton10.PerformClick();  // no row clicked yet: nothing
  EXPECT_FALSE(MessageForm().IsLoaded());
  es::ClickRowText(f.View1, 2);
  ASSERT_EQ(f.View1.Text(2), "beta ");
  f.chameleonButton10.PerformClick();
  frmmsg& m = MessageForm().Get();
  ASSERT_TRUE(m.IsLoaded());
  EXPECT_EQ(m.Caption(), "Velk Rezeza Pro");
  EXPECT_EQ(m.Label1.Caption(), "Beta");
  EXPECT_EQ(m.Text1.Text(), "Cleans beta\r\r  Provided by : Someone");
  // A file shorter than its header shows empty lines for what it lacks.
  Plugin("beta .vk", "Only a title");
  f.chameleonButton10.PerformClick();
  EXPECT_EQ(m.Label1.Caption(), "Only a title");
  EXPECT_EQ(m.Text1.Text(), "\r\r  Provided by : ");
}

TEST_F(Plugins, DeleteAsksAndDeletesTheFileTheRowCameFrom) {
  Plugin("beta.vk", "Not this one\r\nP\r\nD\r\nfiles\r\nregistry\r\n");
  std::vector<rt::MessageBoxCall> asked;
  int answer = IDNO;
  rt::SetMessageBoxHandler([&](const rt::MessageBoxCall& c) {
    asked.push_back(c);
    return answer;
  });
  Form2& f = OpenPage();
  f.chameleonButton9.PerformClick();  // no row clicked: nothing asked
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(es::IsTopmost(f.hWnd()));
  es::ClickRowText(f.View1, 2);
  f.chameleonButton9.PerformClick();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "Delete this plug-in?\rbeta    ?");
  EXPECT_EQ(asked[0].title, "Delete Plug-in");
  EXPECT_EQ(asked[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(ts::Exists(ts::ProgramDir() + "\\plugins\\beta .vk"));
  answer = IDYES;
  SetFileAttributesA((ts::ProgramDir() + "\\plugins\\beta .vk").c_str(), FILE_ATTRIBUTE_READONLY);
  f.chameleonButton9.PerformClick();
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\plugins\\beta .vk"));
  EXPECT_TRUE(ts::Exists(ts::ProgramDir() + "\\plugins\\beta.vk"));
  EXPECT_EQ(f.View1.Text(2), "beta ");  // the row stays until the list is filled again
}

TEST_F(Plugins, ImportCopiesTheChosenFileAndNeverOntoItself) {
  std::vector<forms::FileDialogCall> shown;
  std::optional<std::string> choice;
  forms::SetFileDialogHandler([&](const forms::FileDialogCall& c) {
    shown.push_back(c);
    return choice;
  });
  ts::WriteFile(ts::Scratch() + "\\downloads\\new.vk", "New\r\nP\r\nD\r\nfiles\r\nregistry\r\n");
  ts::WriteFile(ts::Scratch() + "\\downloads\\notes.txt", "text");
  Form2& f = OpenPage();
  f.chameleonButton11.PerformClick();  // cancelled
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_FALSE(shown[0].save);
  EXPECT_EQ(shown[0].filter, "*.vk|*.vk");
  EXPECT_EQ(shown[0].fileName, "*.vk");
  choice = " " + ts::Scratch() + "\\downloads\\new.vk ";
  f.chameleonButton11.PerformClick();
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\plugins\\new.vk"), "New\r\nP\r\nD\r\nfiles\r\nregistry\r\n");
  EXPECT_EQ(f.View1.Count(), 3);  // listed after the next fill
  choice = ts::Scratch() + "\\downloads\\notes.txt";
  f.chameleonButton11.PerformClick();
  EXPECT_TRUE(ts::Exists(ts::ProgramDir() + "\\plugins\\notes.txt"));
  f.chameleonButton8.PerformClick();
  EXPECT_EQ(Rows(f), (Lines{"alpha", "beta ", "gamma", "new"}));
  // The file that already is the target stays whole.
  std::string alpha = ts::ReadFile(ts::ProgramDir() + "\\plugins\\alpha.vk");
  choice = ts::ProgramDir() + "\\plugins\\ALPHA.VK";
  f.chameleonButton11.PerformClick();
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\plugins\\alpha.vk"), alpha);
}

// Only a plain file name of a plug-in that is no larger than a plug-in can be is imported.
TEST_F(Plugins, ImportRefusesWhatCannotBeAPlugIn) {
  std::optional<std::string> choice;
  forms::SetFileDialogHandler([&](const forms::FileDialogCall&) { return choice; });
  std::string big = "Big\r\nP\r\nD\r\nfiles\r\n";
  big += std::string((1 << 20) - big.size() - 12, ';') + "\r\nregistry\r\n";  // 1 MiB: still a plug-in
  ASSERT_EQ(big.size(), 1u << 20);
  ts::WriteFile(ts::Scratch() + "\\downloads\\big.vk", big);
  ts::WriteFile(ts::Scratch() + "\\downloads\\huge.vk", big + std::string(1 << 20, ';'));
  Form2& f = OpenPage();
  struct Case {
    std::string chosen;
    std::string notice;  // "" when it is imported
  } cases[] = {
      {ts::Scratch() + "\\downloads\\", "This is not the name of a plug-in file, so it was not imported:"},
      {ts::Scratch() + "\\downloads\\*.vk", "This is not the name of a plug-in file, so it was not imported:"},
      {ts::Scratch() + "\\downloads\\..", "This is not the name of a plug-in file, so it was not imported:"},
      {ts::Scratch() + "\\downloads\\huge.vk", "This file is far larger than a plug-in can be (1 MiB), so it was not imported:"},
      {ts::Scratch() + "\\downloads\\big.vk", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    MessageForm().Reset();
    choice = c.chosen;
    f.chameleonButton11.PerformClick();
    if (c.notice.empty()) {
      EXPECT_FALSE(MessageForm().Exists());
      EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\plugins\\big.vk"), big);
      continue;
    }
    ASSERT_TRUE(MessageForm().IsLoaded());
    EXPECT_EQ(MessageForm()->Label1.Caption(), "Plug-ins");
    EXPECT_EQ(MessageForm()->Text1.Text(), c.notice + "\r" + c.chosen);
  }
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\plugins\\huge.vk"));
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\plugins\\downloads"));
}

// A plug-in that cannot be read or written is not imported, and the page says which file failed.
TEST_F(Plugins, AnImportThatFailsSaysSo) {
  std::optional<std::string> choice;
  forms::SetFileDialogHandler([&](const forms::FileDialogCall&) { return choice; });
  const std::string plugin = "New\r\nP\r\nD\r\nfiles\r\nregistry\r\n";
  const std::string locked = ts::Scratch() + "\\downloads\\locked.vk";
  const std::string blocked = ts::Scratch() + "\\downloads\\blocked.vk";
  ts::WriteFile(locked, plugin);
  ts::WriteFile(blocked, plugin);
  rt::CreateFolder(ts::ProgramDir() + "\\plugins\\blocked.vk");  // a folder stands where it would go
  Form2& f = OpenPage();
  struct Case {
    std::string chosen;
    std::string notice;
  } cases[] = {
      {locked, "The plug-in file could not be read, so it was not imported. Close the program that holds it and try "
               "again:\r" + locked},
      {blocked, "The plug-in could not be written into the plugins folder, so it was not imported:\r" + ts::ProgramDir() +
                    "\\plugins\\blocked.vk"},
  };
  // Another program holds the first one, letting no one read it.
  HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    MessageForm().Reset();
    choice = c.chosen;
    f.chameleonButton11.PerformClick();
    ASSERT_TRUE(MessageForm().IsLoaded());
    EXPECT_EQ(MessageForm()->Label1.Caption(), "Plug-ins");
    EXPECT_EQ(MessageForm()->Text1.Text(), c.notice);
  }
  CloseHandle(held);
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\plugins\\locked.vk"));
  EXPECT_EQ(GetFileAttributesA((ts::ProgramDir() + "\\plugins\\blocked.vk").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(Plugins, TheDownloadPageOpensThroughTheShellOrShowsItsAddress) {
  INT_PTR result = 42;
  std::vector<rt::ProcessStart> starts;
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) {
    starts.push_back(p);
    return result;
  });
  Form2& f = OpenPage();
  f.chameleonButton12.PerformClick();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_TRUE(starts[0].viaShell);
  EXPECT_EQ(starts[0].verb, "open");
  EXPECT_EQ(starts[0].file, Form1::kPluginPage);
  EXPECT_FALSE(MessageForm().IsLoaded());
  result = 2;  // the shell could not open it
  f.chameleonButton12.PerformClick();
  frmmsg& m = MessageForm().Get();
  ASSERT_TRUE(m.IsLoaded());
  EXPECT_EQ(m.Label1.Caption(), "Plug-ins");
  EXPECT_EQ(m.Text1.Text(), std::string("The page could not be opened. You can copy its address:\r") + Form1::kPluginPage);
}

TEST_F(Plugins, RunTrelmakStartsTheEditorByItsFullQuotedPath) {
  INT_PTR result = 1;
  std::vector<std::string> starts;
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) {
    starts.push_back(p.commandLine);
    EXPECT_EQ(p.show, SW_SHOWNORMAL);
    return result;
  });
  Form2& f = OpenPage();
  f.chameleonButton13.PerformClick();
  EXPECT_EQ(starts, (Lines{"\"" + ts::ProgramDir() + "\\trelmak.exe\""}));
  EXPECT_FALSE(es::IsTopmost(f.hWnd()));
  EXPECT_FALSE(MessageForm().IsLoaded());
  result = 0;
  f.chameleonButton13.PerformClick();
  frmmsg& m = MessageForm().Get();
  ASSERT_TRUE(m.IsLoaded());
  EXPECT_EQ(m.Label1.Caption(), "Plug-ins");
  EXPECT_EQ(m.Text1.Text(), "Trelmak, the plug-in editor, could not be started.\rCheck that trelmak.exe is in the program folder.");
}

TEST_F(Plugins, SavesAskedForDuringASaveRunAfterItOneAtATime) {
  Form2& f = OpenPage();
  int saves = 0;
  // A save in progress (the main window's run rebuilding the files, say): the window's requests wait.
  plugins::RunBuild(&saves, 1, [&] {
    es::ClickRowBox(f.View1, 1);
    f.chameleonButton5.PerformClick();
    EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\slectplg.cln"));
    ++saves;
  });
  EXPECT_EQ(saves, 1);
  ExpectSaved("alpha\r\nbeta \r\ngamma\r\n", kAlphaFiles + "C:\\beta\\b.log\r\n", kAlphaFolders,
              kAlphaRegistry + "HKEY_CURRENT_USER\\Software\\Gamma,Last,4\r\n");
}

}  // namespace
