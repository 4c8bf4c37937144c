// The Opera and Netscape/Mozilla profile folders: typed, picked, found by a scan over fixture
// profile folders in the prefix's application-data folder, and what each stores.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

using es::SettingsWindowTest;
using es::Stored;

const char* kOperaKey = "Software\\Opera Software";

class Browsers : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kOperaKey, "Last Directory");
  }
  void TearDown() override {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kOperaKey, "Last Directory");
    SettingsWindowTest::TearDown();
  }
  // Answers the folder picker with these folders in turn ("" cancels).
  void Pick(std::vector<std::string> answers) {
    answers_ = std::move(answers);
    SetBrowseFolderHandler([this](const BrowseFolderCall& c) {
      calls_.push_back(c);
      // While the picker is up, the window has let go of its topmost place.
      topmostDuringPick_ = es::IsTopmost(ErasingSettings()->hWnd());
      std::string a = answers_.front();
      answers_.erase(answers_.begin());
      return a;
    });
  }
  static std::string Net(int i) { return Stored(settings::kOptionBrowser, "net" + std::to_string(i)); }
  std::vector<std::string> answers_;
  std::vector<BrowseFolderCall> calls_;
  bool topmostDuringPick_ = true;
};

TEST_F(Browsers, TheOperaFolderIsStoredTrimmedAtEveryChange) {
  Form2& f = Open();
  HWND box = f.Text2.hWnd();
  ASSERT_TRUE(box);
  SetWindowTextA(box, "  C:\\Opera\\profile ");  // the user types
  EXPECT_EQ(f.Text2.Text(), "  C:\\Opera\\profile ");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Opera\\profile");
  SetWindowTextA(f.Text1.hWnd(), "D:\\moz ");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "net"), "D:\\moz");
}

TEST_F(Browsers, ChangeDirectoryStoresThePickedFolderAndADriveWithoutItsBackslash) {
  rt::CreateFolder(ts::Scratch() + "\\mozilla profile");
  Pick({"D:\\", "C:\\Opera Data", "", ts::Scratch() + "\\mozilla profile"});
  Form2& f = Open();
  f.chameleonButton19.PerformClick();
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].title, "Choose a folder:");
  EXPECT_EQ(calls_[0].flags, 1);
  EXPECT_EQ(calls_[0].rootFolderId, 10);
  EXPECT_FALSE(topmostDuringPick_);
  EXPECT_TRUE(es::IsTopmost(f.hWnd()));
  EXPECT_EQ(f.Text2.Text(), "D:");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "") << "a drive is no Opera folder";
  f.chameleonButton19.PerformClick();
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Opera Data");
  // Cancelled: nothing is stored, the box stays, and the window is topmost again.
  f.chameleonButton19.PerformClick();
  EXPECT_EQ(f.Text2.Text(), "C:\\Opera Data");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Opera Data");
  EXPECT_TRUE(es::IsTopmost(f.hWnd()));
  // A Mozilla folder picked by hand is shown and reaches the runs, after the profiles there are.
  settings::Write(settings::kOptionBrowser, "net0", "C:\\scanned");
  f.chameleonButton20.PerformClick();
  std::string picked = ts::Scratch() + "\\mozilla profile";
  EXPECT_EQ(Stored(settings::kOptionBrowser, "net"), picked);
  EXPECT_EQ(Net(0), "C:\\scanned");
  EXPECT_EQ(Net(1), picked);
  EXPECT_EQ(Net(2), "<missing>");
}

TEST_F(Browsers, ACancelledPickerAddsNoProfileFolder) {
  std::string typed = ts::Scratch() + "\\typed folder";
  rt::CreateFolder(typed);
  Pick({""});
  Form2& f = Open();
  settings::Write(settings::kOptionBrowser, "net0", "C:\\scanned");
  SetWindowTextA(f.Text1.hWnd(), typed.c_str());  // the user types a folder, then thinks better of it
  f.chameleonButton20.PerformClick();
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(f.Text1.Text(), typed);
  EXPECT_EQ(Net(0), "C:\\scanned");
  EXPECT_EQ(Net(1), "<missing>") << "nothing was picked";
  EXPECT_TRUE(es::IsTopmost(f.hWnd()));
}

std::string WindowsFolder() {
  char buf[MAX_PATH] = "";
  GetWindowsDirectoryA(buf, MAX_PATH);
  return buf;
}

// Neither typing, nor Change Directory, nor Auto Scan ever stores a drive or the Windows folder as
// a profile folder; the Netscape/Mozilla box still shows (and remembers) what it was given.
TEST_F(Browsers, NoDriveOrWindowsFolderBecomesAProfileFolder) {
  const std::string windows = WindowsFolder();
  Pick({"C:\\", windows, "C:\\", windows});
  Form2& f = Open();
  for (const std::string& typed : {std::string("C:"), std::string("C:\\"), std::string(" c:\\ "), windows, windows + "\\"}) {
    SetWindowTextA(f.Text2.hWnd(), typed.c_str());
    EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "") << typed;
  }
  SetWindowTextA(f.Text2.hWnd(), "C:\\Opera");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Opera");
  f.chameleonButton19.PerformClick();
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "");
  SetWindowTextA(f.Text2.hWnd(), "C:\\Opera");
  f.chameleonButton19.PerformClick();
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "");
  mw::SetUserValue(kOperaKey, "Last Directory", "C:\\");
  f.chameleonButton21.PerformClick();
  EXPECT_EQ(f.Text2.Text(), "C:\\");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "");

  f.chameleonButton20.PerformClick();
  EXPECT_EQ(f.Text1.Text(), "C:");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "net"), "C:");
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Stored(settings::kOptionBrowser, "net"), windows);
  EXPECT_EQ(Net(0), "<missing>");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "nethand"), "<missing>");

  // A profile folder the scan finds that leads to the Windows folder is none.
  rt::CreateFolder(es::MozillaProfiles() + "\\Alice");
  ts::HostLink(windows, es::MozillaProfiles() + "\\Linked");
  f.chameleonButton22.PerformClick();
  EXPECT_EQ(Net(0), es::MozillaProfiles() + "\\Alice");
  EXPECT_EQ(Net(1), "<missing>");
  ts::HostUnlink(es::MozillaProfiles() + "\\Linked");
}

// A folder picked by hand by mistake is taken back by the next pick: it takes the number of the
// earlier one. A scan that takes that number makes the next pick a new one again.
TEST_F(Browsers, AHandPickReplacesTheEarlierHandPick) {
  std::string a = ts::Scratch() + "\\a", b = ts::Scratch() + "\\b", c = ts::Scratch() + "\\c";
  std::string scanned = ts::Scratch() + "\\scanned";
  for (const std::string& folder : {a, b, c, scanned}) rt::CreateFolder(folder);
  settings::Write(settings::kOptionBrowser, "net", "shown");  // no scan when the window opens
  settings::Write(settings::kOptionBrowser, "net0", scanned);
  Pick({a, b, b, scanned, a, c});
  Form2& f = Open();
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Net(1), a);
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Net(1), b);
  EXPECT_EQ(Net(2), "<missing>");
  f.chameleonButton20.PerformClick();  // the same folder again
  EXPECT_EQ(Net(1), b);
  EXPECT_EQ(Net(2), "<missing>");
  // A folder that is a profile already: the mistaken pick goes, nothing else comes.
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Net(0), scanned);
  EXPECT_EQ(Net(1), "<missing>");
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Net(1), a);

  // A scan takes the number: the next pick is one more profile, the scanned ones stay.
  rt::CreateFolder(es::MozillaProfiles() + "\\Alice");
  rt::CreateFolder(es::MozillaProfiles() + "\\Bob");
  f.chameleonButton22.PerformClick();
  f.chameleonButton20.PerformClick();
  EXPECT_EQ(Net(0), es::MozillaProfiles() + "\\Alice");
  EXPECT_EQ(Net(1), es::MozillaProfiles() + "\\Bob");
  EXPECT_EQ(Net(2), c);

  // A number that cannot be trusted is no earlier pick: nothing is replaced.
  for (const char* stored : {"x", "-1", "150", "2 ", "7"}) {
    SCOPED_TRACE(stored);
    settings::Write(settings::kOptionBrowser, "net2", c);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionBrowser).c_str(), "net3");
    settings::Write(settings::kOptionBrowser, "nethand", stored);
    std::string trimmed = rt::Trim(stored);
    Pick({a});
    f.chameleonButton20.PerformClick();
    if (trimmed == "2") {
      EXPECT_EQ(Net(2), a);
      EXPECT_EQ(Net(3), "<missing>");
    } else {
      EXPECT_EQ(Net(2), c);
      EXPECT_EQ(Net(3), a);
      EXPECT_EQ(Stored(settings::kOptionBrowser, "nethand"), "3");
    }
  }
}

// The whole road: what the boxes are given, typed or picked, never leads an erase run to a folder
// that is not a profile folder picked or found.
TEST_F(Browsers, AnEraseRunNeverTakesWhatTheBoxesHold) {
  std::string typed = "C:\\vnet-" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(typed + "\\cookies.txt", "decoy");
  ts::WriteFile(typed + "\\cookies4.dat", "decoy");
  ASSERT_FALSE(ts::Exists("C:\\cookies.txt"));
  ts::WriteFile("C:\\cookies.txt", "decoy");
  ts::WriteFile("C:\\cookies4.dat", "decoy");
  Pick({"C:\\", "C:\\"});
  Form2& f = Open();
  SetWindowTextA(f.Text1.hWnd(), typed.c_str());
  f.chameleonButton19.PerformClick();
  f.chameleonButton20.PerformClick();
  for (const char* code : {"18", "23"}) f.Check1[std::stoi(code)].SetValue(1);
  f.chameleonButton4.PerformClick();
  Form1& m = Main();
  m.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(m).empty());
  for (const std::string& decoy : {typed + "\\cookies.txt", typed + "\\cookies4.dat", std::string("C:\\cookies.txt"),
                                   std::string("C:\\cookies4.dat")})
    EXPECT_EQ(ts::ReadFile(decoy), "decoy") << decoy;
  DeleteFileA("C:\\cookies.txt");
  DeleteFileA("C:\\cookies4.dat");
  rt::DeleteTree(typed);
}

TEST_F(Browsers, OperasOwnRecordFillsTheBoxAtLoadAndAutoScanStoresIt) {
  mw::SetUserValue(kOperaKey, "Last Directory", "C:\\Program Files\\Opera ");
  Form2& f = Open();
  EXPECT_EQ(f.Text2.Text(), "C:\\Program Files\\Opera ");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Program Files\\Opera");
  SetWindowTextA(f.Text2.hWnd(), "elsewhere");
  f.chameleonButton21.PerformClick();
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "C:\\Program Files\\Opera ");  // as Opera records it
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kOperaKey, "Last Directory");
  f.chameleonButton21.PerformClick();
  EXPECT_EQ(f.Text2.Text(), "");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "opera"), "");
}

TEST_F(Browsers, AStoredOperaFolderWinsOverOperasRecord) {
  settings::Write(settings::kOptionBrowser, "opera", "C:\\mine");
  mw::SetUserValue(kOperaKey, "Last Directory", "C:\\theirs");
  Form2& f = Open();
  EXPECT_EQ(f.Text2.Text(), "C:\\mine");
}

TEST_F(Browsers, TheScanRecordsEveryProfileFolderOrItsSltFolder) {
  std::string profiles = es::MozillaProfiles();
  rt::CreateFolder(profiles + "\\Alice\\abcd1234.SLT");
  rt::CreateFolder(profiles + "\\Alice\\chrome");
  rt::CreateFolder(profiles + "\\Bob\\cache");
  ts::WriteFile(profiles + "\\not a folder.txt", "x");
  Form2& f = Open();  // "net" is empty: the window scans as it opens
  EXPECT_EQ(Net(0), profiles + "\\Alice\\abcd1234.SLT");
  EXPECT_EQ(Net(1), profiles + "\\Bob");
  EXPECT_EQ(Net(2), "<missing>");
  EXPECT_EQ(f.Text1.Text(), profiles + "\\Bob");
  EXPECT_EQ(Stored(settings::kOptionBrowser, "net"), profiles + "\\Bob");
  // A later scan that finds fewer leaves the higher numbers of the earlier one.
  settings::Write(settings::kOptionBrowser, "net2", "C:\\earlier");
  rt::DeleteTree(profiles + "\\Bob");
  f.chameleonButton22.PerformClick();
  EXPECT_EQ(Net(0), profiles + "\\Alice\\abcd1234.SLT");
  EXPECT_EQ(Net(1), profiles + "\\Bob");
  EXPECT_EQ(Net(2), "C:\\earlier");
  EXPECT_EQ(f.Text1.Text(), profiles + "\\Alice\\abcd1234.SLT");
}

TEST_F(Browsers, AScanWithoutProfilesRecordsNothing) {
  // No profiles folder at all: never the program folder's own folders.
  for (const char* own : {"lang", "plugins", "backup"}) rt::CreateFolder(ts::ProgramDir() + "\\" + own);
  Form2& f = Open();
  EXPECT_TRUE(es::ValueNames(settings::kOptionBrowser).empty());
  EXPECT_EQ(f.Text1.Text(), "");
  // A profiles folder without profiles.
  rt::CreateFolder(es::MozillaProfiles());
  f.chameleonButton22.PerformClick();
  EXPECT_TRUE(es::ValueNames(settings::kOptionBrowser).empty());
}

TEST_F(Browsers, WithAFolderStoredTheWindowDoesNotScan) {
  rt::CreateFolder(es::MozillaProfiles() + "\\Alice");
  settings::Write(settings::kOptionBrowser, "net", "C:\\chosen");
  Form2& f = Open();
  EXPECT_EQ(f.Text1.Text(), "C:\\chosen");
  EXPECT_EQ(Net(0), "<missing>");
}

}  // namespace
