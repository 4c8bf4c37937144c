// The keep-list window in both modes: what the lists show, Add, Delete, Select All, Refresh, and
// the two keep-list files byte for byte, with a failed write that keeps the old file.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/textfile.h"

namespace {

using es::Lines;
using es::SettingsWindowTest;

class KeepList : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    cookies_ = SpecialFolderPath(CSIDL_COOKIES);  // the folder is there, empty
    ASSERT_FALSE(cookies_.empty());
    rt::DeleteTree(cookies_);
    rt::CreateFolder(cookies_);
    RegDeleteTreeA(HKEY_CURRENT_USER, Form52::kTypedUrls);
  }
  void TearDown() override {
    rt::DeleteTree(cookies_);
    rt::CreateFolder(cookies_);
    RegDeleteTreeA(HKEY_CURRENT_USER, Form52::kTypedUrls);
    SettingsWindowTest::TearDown();
  }
  // The settings window's "View" beside the cookie box (mode 1) or the typed-address box (mode 2).
  Form52& View(int mode) {
    Form2& f = Open();
    (mode == 1 ? f.chameleonButton6 : f.chameleonButton7).PerformClick();
    return KeepListWindow().Get();
  }
  std::string File(const char* name) { return ts::ProgramDir() + "\\" + name; }
  // The window's notices, each answered with OK.
  void CollectNotices() {
    rt::SetMessageBoxHandler([this](const rt::MessageBoxCall& c) {
      notices.push_back(c.text);
      return IDOK;
    });
  }
  Lines notices;
  std::string cookies_;
};

TEST_F(KeepList, CookieModeListsTheCookieFilesAndTheKeptOnes) {
  for (const char* c : {"user@site.txt", "user@Bank.txt", "user@ads.txt"}) ts::WriteFile(cookies_ + "\\" + c, "cookie");
  ts::WriteFile(cookies_ + "\\index.dat", "not a cookie file");
  ts::WriteFile(ts::ProgramDir() + "\\eraselog.txt", "the log");
  ts::WriteFile(File("cookies.vel"), "user@bank.txt\r\n\r\n  user@old.txt \r\n   \r\n");
  Form52& k = View(1);
  EXPECT_TRUE(k.IsLoaded());
  EXPECT_TRUE(es::IsTopmost(k.hWnd()));
  EXPECT_EQ(es::WindowText(k.hWnd()), "Keep List");
  EXPECT_EQ(k.Label1[1].Caption(), "Current List");
  EXPECT_EQ(k.orubutton3.Caption(), " Delete");
  EXPECT_EQ(k.orubutton2.Caption(), "Add");
  EXPECT_EQ(k.orubutton7.Caption(), "  OK");
  EXPECT_EQ(k.Text1.Text(), "1");
  EXPECT_EQ(k.List1.Items(), (Lines{"user@ads.txt", "user@Bank.txt", "user@site.txt"}));
  EXPECT_EQ(k.List2.Items(), (Lines{"  user@old.txt ", "user@bank.txt"}));
  // The settings window stays open, topmost and enabled.
  EXPECT_TRUE(ErasingSettings()->IsLoaded());
  EXPECT_TRUE(IsWindowEnabled(ErasingSettings()->hWnd()));
  // Add: the selected entries, never one the keep list holds already in another case or with blanks.
  k.List1.SetSelected(1, true);
  k.List1.SetSelected(2, true);
  k.orubutton2.PerformClick();
  EXPECT_EQ(k.List2.Items(), (Lines{"  user@old.txt ", "user@bank.txt", "user@site.txt"}));
  // Delete: the selected kept entries, adjacent ones together.
  for (int i : {0, 1}) k.List2.SetSelected(i, true);
  k.orubutton3.PerformClick();
  EXPECT_EQ(k.List2.Items(), (Lines{"user@site.txt"}));
  // Refresh keeps the unsaved keep list.
  ts::WriteFile(cookies_ + "\\user@new.txt", "cookie");
  k.orubutton11.PerformClick();
  EXPECT_EQ(k.List1.ListCount(), 4);
  EXPECT_EQ(k.List2.Items(), (Lines{"user@site.txt"}));
  k.chameleonButton2.PerformClick();  // Select All of the keep list
  EXPECT_EQ(k.List2.SelCount(), 1);
  SendMessageA(k.orubutton7.hWnd(), BM_CLICK, 0, 0);  // OK
  EXPECT_FALSE(KeepListWindow().IsLoaded());
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), "user@site.txt\r\n");
  EXPECT_FALSE(ts::Exists(File("url.vel")));
}

TEST_F(KeepList, TypedAddressModeListsEveryAddressAndWritesTheKeptOnesTrimmed) {
  mw::SetUserValue(Form52::kTypedUrls, "url1", "http://www.example.com/");
  mw::SetUserValue(Form52::kTypedUrls, "url2", " http://bank.example/ ");
  mw::SetUserValue(Form52::kTypedUrls, "url3", "");
  mw::SetUserValue(Form52::kTypedUrls, "url4", "ftp://files.example/");
  Form52& k = View(2);
  EXPECT_EQ(k.List1.Items(), (Lines{"ftp://files.example/", "http://bank.example/", "http://www.example.com/"}));
  EXPECT_TRUE(k.List2.Items().empty());
  k.chameleonButton1.PerformClick();  // Select All of the current list
  EXPECT_EQ(k.List1.SelCount(), 3);
  k.orubutton2.PerformClick();
  k.orubutton2.PerformClick();  // twice: no duplicates
  EXPECT_EQ(k.List2.Items(), k.List1.Items());
  k.List2.AddItem("   ");
  k.List2.AddItem(" http://padded.example/ ");
  k.orubutton7.PerformClick();
  // In the order the list shows (sorted, the padded one first), each trimmed, the blank one left out.
  EXPECT_EQ(ts::ReadFile(File("url.vel")),
            "http://padded.example/\r\nftp://files.example/\r\nhttp://bank.example/\r\nhttp://www.example.com/\r\n");
  EXPECT_FALSE(ts::Exists(File("cookies.vel")));
}

TEST_F(KeepList, AnEmptyKeepListIsAnEmptyFileAndCancelWritesNothing) {
  ts::WriteFile(File("url.vel"), "http://kept.example/\r\n");
  SetFileAttributesA(File("url.vel").c_str(), FILE_ATTRIBUTE_READONLY);
  Form52& k = View(2);
  ASSERT_EQ(k.List2.Items(), (Lines{"http://kept.example/"}));
  k.List2.SetSelected(0, true);
  SendMessageA(k.List2.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));  // a double click deletes
  SendMessageA(k.List2.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(k.List2.ListCount(), 0);
  k.orubutton10.PerformClick();  // Cancel
  EXPECT_EQ(ts::ReadFile(File("url.vel")), "http://kept.example/\r\n");
  Form52& again = View(2);
  ASSERT_EQ(again.List2.ListCount(), 1);
  again.List2.RemoveItem(0);
  again.orubutton7.PerformClick();
  EXPECT_TRUE(ts::Exists(File("url.vel")));
  EXPECT_EQ(ts::ReadFile(File("url.vel")), "");
}

// The keep list cannot be written: the old file stays, OK says so, and the window stays open with
// the user's edits until a later OK writes them.
TEST_F(KeepList, AFailedWriteSaysSoAndKeepsTheOldFileAndTheWindow) {
  CollectNotices();
  ts::WriteFile(cookies_ + "\\user@site.txt", "cookie");
  ts::WriteFile(File("cookies.vel"), "user@bank.txt\r\n");
  Form52& k = View(1);
  k.List1.SetSelected(0, true);
  k.orubutton2.PerformClick();
  // Another program holds the old file without letting it be replaced.
  HANDLE h = CreateFileA(File("cookies.vel").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  k.orubutton7.PerformClick();
  CloseHandle(h);
  EXPECT_EQ(notices, (Lines{"The keep list could not be saved, and the file that was there is unchanged. Close the "
                            "program that holds it and press OK again:\r\n" + File("cookies.vel")}));
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), "user@bank.txt\r\n");
  EXPECT_FALSE(ts::Exists(File("cookies.vel.~new")));
  ASSERT_TRUE(KeepListWindow().IsLoaded());
  EXPECT_EQ(k.List2.Items(), (Lines{"user@bank.txt", "user@site.txt"}));
  k.orubutton7.PerformClick();  // the file is free again
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_FALSE(KeepListWindow().IsLoaded());
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), "user@bank.txt\r\nuser@site.txt\r\n");
}

// An address with a line break would read back as two, one longer than a keep-file line would make
// the whole file unreadable: Add refuses them with a word, and OK never writes one.
TEST_F(KeepList, EntriesTheKeepFileCannotHoldAreRefused) {
  CollectNotices();
  const std::string longest = "http://long.example/" + std::string(rt::kMaxLineLength - 20, 'x');
  ASSERT_EQ(longest.size(), rt::kMaxLineLength);
  mw::SetUserValue(Form52::kTypedUrls, "url1", "http://www.example.com/");
  mw::SetUserValue(Form52::kTypedUrls, "url2", "http://a.example/\r\nhttp://b.example/");
  mw::SetUserValue(Form52::kTypedUrls, "url3", "http://c.example/\nhttp://d.example/");
  mw::SetUserValue(Form52::kTypedUrls, "url4", "http://e.example/\r");
  mw::SetUserValue(Form52::kTypedUrls, "url5", longest + "y");
  mw::SetUserValue(Form52::kTypedUrls, "url6", longest);
  Form52& k = View(2);
  ASSERT_EQ(k.List1.ListCount(), 6);
  k.chameleonButton1.PerformClick();
  k.orubutton2.PerformClick();
  EXPECT_EQ(notices, (Lines{"An entry that holds a line break, or is longer than 64 KiB, cannot be kept: it was not added "
                            "to the keep list."}));
  EXPECT_EQ(k.List2.Items(), (Lines{longest, "http://www.example.com/"}));
  // An entry the keep file gave with a line feed in it (written by hand) is left out when written.
  k.List2.AddItem("http://f.example/\nhttp://g.example/");
  k.orubutton7.PerformClick();
  EXPECT_EQ(ts::ReadFile(File("url.vel")), longest + "\r\nhttp://www.example.com/\r\n");
  std::vector<std::string> lines;
  EXPECT_TRUE(rt::ReadLines(File("url.vel"), lines));
  EXPECT_EQ(lines, (Lines{longest, "http://www.example.com/"}));
}

TEST_F(KeepList, OneModesEntriesNeverLandInTheOtherModesFile) {
  ts::WriteFile(cookies_ + "\\user@site.txt", "cookie");
  ts::WriteFile(File("cookies.vel"), "user@site.txt\r\n");
  mw::SetUserValue(Form52::kTypedUrls, "url1", "http://www.example.com/");
  Form52& k = View(1);
  ErasingSettings()->chameleonButton7.PerformClick();  // the other "View" while it is open
  ASSERT_EQ(&KeepListWindow().Get(), &k);
  EXPECT_EQ(k.List1.Items(), (Lines{"http://www.example.com/"}));
  EXPECT_TRUE(k.List2.Items().empty());
  k.orubutton7.PerformClick();
  EXPECT_EQ(ts::ReadFile(File("url.vel")), "");
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), "user@site.txt\r\n");
}

TEST_F(KeepList, BeforeAModeIsGivenOKWritesNothing) {
  Form52& k = KeepListWindow().Get();
  k.Show();
  EXPECT_TRUE(k.List1.Items().empty());
  k.orubutton7.PerformClick();
  EXPECT_FALSE(ts::Exists(File("cookies.vel")));
  EXPECT_FALSE(ts::Exists(File("url.vel")));
}

// While the lists fill (they yield to the message loop), OK, Delete, Add and another mode wait for
// the fill: the keep file is never written from a list read in part.
TEST_F(KeepList, ClicksDuringTheFillNeverWriteAPartOfTheKeepList) {
  const int kCookies = 400;
  std::string kept;
  Lines names;
  for (int i = 0; i < kCookies; ++i) {
    char name[32];
    snprintf(name, sizeof name, "user@site%03d.txt", i);
    ts::WriteFile(cookies_ + "\\" + name, "cookie");
    names.push_back(name);
    kept += std::string(name) + "\r\n";
  }
  ts::WriteFile(File("cookies.vel"), kept);
  ts::WriteFile(File("url.vel"), "http://kept.example/\r\n");
  mw::SetUserValue(Form52::kTypedUrls, "url1", "http://www.example.com/");
  Form2& settingsWindow = Open();
  Form52& k = KeepListWindow().Get();
  k.Load();
  k.Show();
  // What the user clicks while the window fills: Select All and Delete in the keep list, Add, OK,
  // and the settings window's other "View".
  for (HWND button : {k.chameleonButton2.hWnd(), k.orubutton3.hWnd(), k.chameleonButton1.hWnd(), k.orubutton2.hWnd(),
                      k.orubutton7.hWnd(), settingsWindow.chameleonButton7.hWnd()})
    ASSERT_TRUE(PostMessageA(button, BM_CLICK, 0, 0));
  Sleep(60);  // the fill's first yield is due at once, with the clicks waiting
  settingsWindow.chameleonButton6.PerformClick();  // "View" of the cookies
  ASSERT_FALSE(k.Filling());
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, k.orubutton7.hWnd(), BM_CLICK, BM_CLICK, PM_NOREMOVE)) << "the clicks came during the fill";
  EXPECT_TRUE(k.IsLoaded()) << "OK did nothing";
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), kept);
  // The other "View" came during the fill: the window shows that mode now, both lists whole.
  EXPECT_EQ(k.Text1.Text(), "2");
  EXPECT_EQ(k.List1.Items(), (Lines{"http://www.example.com/"}));
  EXPECT_EQ(k.List2.Items(), (Lines{"http://kept.example/"}));
  k.orubutton7.PerformClick();
  EXPECT_FALSE(k.IsLoaded());
  EXPECT_EQ(ts::ReadFile(File("url.vel")), "http://kept.example/\r\n");
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), kept);

  // The cookie list alone, with OK during its fill: then OK after it keeps every cookie.
  Form52& again = KeepListWindow().Get();
  again.Load();
  again.Show();
  ASSERT_TRUE(PostMessageA(again.orubutton7.hWnd(), BM_CLICK, 0, 0));
  Sleep(60);
  settingsWindow.chameleonButton6.PerformClick();
  EXPECT_TRUE(again.IsLoaded());
  EXPECT_EQ(again.List1.Items(), names);
  EXPECT_EQ(again.List2.Items(), names);
  again.orubutton7.PerformClick();
  EXPECT_EQ(ts::ReadFile(File("cookies.vel")), kept);
}

TEST_F(KeepList, AKeepFileThatCannotBeReadIsNeverReplaced) {
  CollectNotices();
  ts::WriteFile(cookies_ + "\\user@site.txt", "cookie");
  struct Case {
    const char* what;
    std::string bytes;
    bool lock;
  } cases[] = {
      {"held by another program", "user@bank.txt\r\nuser@mail.txt\r\n", true},
      {"a line longer than any keep list holds", "user@bank.txt\r\n" + std::string(70000, 'x') + "\r\nuser@mail.txt\r\n",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    notices.clear();
    ts::WriteFile(File("cookies.vel"), c.bytes);
    HANDLE h = c.lock ? CreateFileA(File("cookies.vel").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                      : INVALID_HANDLE_VALUE;
    Form52& k = View(1);
    k.List1.SetSelected(0, true);
    k.orubutton2.PerformClick();  // the user adds a cookie, and presses OK
    k.orubutton7.PerformClick();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "The keep list could not be read, so it was not replaced. Close the program that holds it and "
                          "open the keep list again:\r\n" + File("cookies.vel"));
    EXPECT_EQ(ts::ReadFile(File("cookies.vel")), c.bytes);
    EXPECT_FALSE(ts::Exists(File("cookies.vel.~new")));
    EXPECT_FALSE(KeepListWindow().IsLoaded());
    ErasingSettings()->chameleonButton4.PerformClick();
  }
}

}  // namespace
