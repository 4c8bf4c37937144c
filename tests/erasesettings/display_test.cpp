// Under a real X display: pictures of the erasing-settings window's three pages and of the
// keep-list window in both modes, for a person to look at.
#include <gtest/gtest.h>

#include "fixture.h"
#include "support/screenshot.h"

namespace {

using es::SettingsWindowTest;

void Pump(int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

class Display : public SettingsWindowTest {};

TEST_F(Display, TheThreePagesOfTheErasingSettingsWindow) {
  mw::Enable({"0", "1", "3", "10", "11", "13", "17", "19", "23"});
  settings::Write(settings::kOptionBrowser, "opera", "C:\\Program Files\\Opera\\profile");
  std::string profiles = es::MozillaProfiles();
  rt::CreateFolder(profiles + "\\default\\x1y2z3.slt");
  Plugin("Acrobat Reader.vk", "Acrobat Reader\r\nMorvane\r\nRecent files\r\nfiles\r\nregistry\r\n");
  Plugin("Media Player.vk", "Media Player\r\nMorvane\r\nPlay lists\r\nfiles\r\nregistry\r\n");
  Plugin("WinZip.vk", "WinZip\r\nMorvane\r\nRecent archives\r\nfiles\r\nregistry\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "Media Player\r\n");
  Form2& f = Open();
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("erase-settings-browsers.bmp")));
  f.chameleonButton2.PerformClick();
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("erase-settings-windows.bmp")));
  f.chameleonButton3.PerformClick();
  Pump(300);
  EXPECT_EQ(f.View1.Count(), 3);
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("erase-settings-applications.bmp")));
}

TEST_F(Display, TheKeepListWindow) {
  std::string cookies = SpecialFolderPath(CSIDL_COOKIES);
  rt::DeleteTree(cookies);
  for (const char* c : {"user@ads.example.txt", "user@bank.example.txt", "user@mail.example.txt", "user@news.example.txt"})
    ts::WriteFile(cookies + "\\" + c, "cookie");
  ts::WriteFile(ts::ProgramDir() + "\\cookies.vel", "user@bank.example.txt\r\n");
  Form2& f = Open();
  f.chameleonButton6.PerformClick();
  Form52& k = KeepListWindow().Get();
  k.List1.SetSelected(2, true);
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(k.hWnd(), ts::ShotPath("keep-list-cookies.bmp")));
  rt::DeleteTree(cookies);
  rt::CreateFolder(cookies);
}

}  // namespace
