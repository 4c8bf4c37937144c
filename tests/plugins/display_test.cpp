// Under a real X display: the editor and its two entry dialogs as a person sees them, with the
// shipped captions and some entries; their pictures land in the shots folder for a person to look
// at, and every control carries its caption as its window text.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/pump.h"
#include "support/screenshot.h"

namespace {

using te::EditorTest;

void Settle() {
  for (int i = 0; i < 30; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

std::string WindowText(HWND h) {
  char text[512] = "";
  GetWindowTextA(h, text, sizeof text);
  return text;
}

class Display : public EditorTest {};

TEST_F(Display, TheEditorWithAPlugIn) {
  ASSERT_TRUE(GetEnvironmentVariableA("DISPLAY", nullptr, 0) > 0) << "runs under the X11 prefix";
  std::string path = ts::ProgramDir() + "\\plugins\\Demo Cleaner.vk";
  ts::WriteFile(path,
                "Demo Cleaner\r\nMorvane software\r\nErases the recent files and caches of Demo App\r\nfiles\r\n"
                "file=C:\\Program Files\\Demo App\\recent.lst,0\r\n"
                "folder=C:\\Program Files\\Demo App\\cache\\*.tmp,1\r\n"
                "folder=C:\\Documents and Settings\\All Users\\Demo App\\logs\\*.log,0\r\n"
                "registry\r\nHKEY_CURRENT_USER\\Software\\Demo App\\Recent,1\r\n"
                "HKEY_CURRENT_USER\\Software\\Demo App\\Settings,LastFile,4\r\n"
                "HKEY_CURRENT_USER\\Software\\Demo App\\History,3\r\n");
  rt::SetCommandLineForTests(path);
  PluginEditorWindow& f = LoadEditor();
  f.Show();
  f.List1.SetListIndex(1);
  Settle();
  EXPECT_EQ(WindowText(f.hWnd()), "Velk Rezeza Pro Trelmak");
  EXPECT_EQ(WindowText(f.Label2.hWnd()), path);
  for (controls::chameleonButton* b : {&f.Command8, &f.Command9, &f.Command7, &f.Command5, &f.Command6, &f.command1,
                                       &f.Command2, &f.Command10, &f.Command4, &f.Command3, &f.Command11}) {
    ASSERT_TRUE(b->HasNative()) << b->Name();
    EXPECT_EQ(WindowText(b->hWnd()), b->Caption());
    EXPECT_FALSE(b->Caption().empty()) << b->Name();
  }
  EXPECT_TRUE(GetMenu(f.hWnd()) != nullptr) << "the menu bar";
  EXPECT_FALSE(f.Command12.HasNative()) << "the hidden button has no window";
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("trelmak-editor.bmp")));
}

TEST_F(Display, ThePathEntryDialog) {
  std::string data = ts::Scratch() + "\\Demo App";
  for (const char* n : {"recent.lst", "settings.ini", "cache\\a.tmp", "logs\\today.log"}) ts::WriteFile(data + "\\" + n, "x");
  PathEntryDialog& d = PathDialog();
  d.Drive1.SetDrive(data);
  ASSERT_TRUE(d.Dir1.SetPath(data));
  d.File1.SetListIndex(0);
  d.Command3.PerformClick();
  d.Check1.SetValue(1);
  Settle();
  EXPECT_EQ(WindowText(d.hWnd()), "Folder and file editor");
  EXPECT_EQ(WindowText(d.Text2.hWnd()), data + "\\recent.lst");
  for (controls::chameleonButton* b : {&d.Command4, &d.Command3, &d.Command2, &d.command1})
    EXPECT_EQ(WindowText(b->hWnd()), b->Caption());
  EXPECT_EQ(WindowText(d.Check1.hWnd()), "Include SubFolders when cleaning");
  EXPECT_TRUE(ts::SaveScreenshot(d.hWnd(), ts::ShotPath("trelmak-path-entry.bmp")));
}

TEST_F(Display, TheRegistryEntryDialog) {
  RegistryEntryDialog& d = RegistryDialog();
  d.Text1.SetText("HKEY_CURRENT_USER\\Software\\Demo App\\Settings");
  d.Option4.SetValue(true);
  d.Text2.SetText("LastFile");
  Settle();
  EXPECT_EQ(WindowText(d.hWnd()), "Registry Items");
  EXPECT_EQ(WindowText(d.command1.hWnd()), "Launch Registry Editor");
  EXPECT_EQ(WindowText(d.Option3.hWnd()), "Erase Values Under This Key");
  EXPECT_TRUE(IsWindowEnabled(d.Text2.hWnd()));
  EXPECT_TRUE(ts::SaveScreenshot(d.hWnd(), ts::ShotPath("trelmak-registry-entry.bmp")));
}

}  // namespace
