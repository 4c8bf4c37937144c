// The clipboard, Opera and Netscape/Mozilla steps of both runs over fixture profile folders, and an
// erase run with every category ticked.
#include <gtest/gtest.h>

#include "iefixture.h"
#include "runtime/app.h"
#include "runtime/clipboard.h"
#include "runtime/files.h"

namespace {

using Rows = std::vector<std::string>;
using ie::IeTest;
using ie::SubKey;
using ie::ValueCount;

void SetClipboardText(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
  GlobalUnlock(mem);
  EXPECT_TRUE(SetClipboardData(CF_TEXT, mem));
  CloseClipboard();
}

bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != 0; }

void StoreBrowserFolder(const std::string& name, const std::string& folder) {
  settings::Write(settings::kOptionBrowser, name, folder);
}

std::string ShortPath(const std::string& path) {
  char buf[MAX_PATH] = "";
  GetShortPathNameA(path.c_str(), buf, MAX_PATH);
  return buf;
}

class BrowserSteps : public IeTest {
 protected:
  void TearDown() override {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    IeTest::TearDown();
  }
};

TEST_F(BrowserSteps, TheClipboardIsEmptiedByTheEraseRunOnly) {
  SetClipboardText("secret");
  mw::Enable({"17"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Cleaning Clipboard  <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_TRUE(ClipboardHasText());
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Cleaning Clipboard  <OK>"}));
  EXPECT_EQ(f.View100.Text(1), "Clipboard");
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
  EXPECT_EQ(CountClipboardFormats(), 0);

  // Another program holds the clipboard open: the row says it was not emptied.
  rt::SetClipboardHandlers(nullptr, [] { return false; });
  f.chameleonButton5_Click();
  rt::SetClipboardHandlers(nullptr, nullptr);
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Cleaning Clipboard  <FAILED>"}));
}

TEST_F(BrowserSteps, OperasFilesAndCache) {
  std::string opera = ts::Scratch() + "\\Opera Profile";
  ts::WriteFile(opera + "\\cookies4.dat", std::string(100, 'c'));
  ts::WriteFile(opera + "\\global.dat", std::string(2000, 'g'));
  ts::WriteFile(opera + "\\vlink4.dat", std::string(30, 'v'));
  SetFileAttributesA((opera + "\\vlink4.dat").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ts::WriteFile(opera + "\\Cache4\\a.tmp", "1");
  ts::WriteFile(opera + "\\Cache4\\b.tmp", "22");
  ts::WriteFile(opera + "\\Cache4\\c", "333");
  ts::WriteFile(opera + "\\Cache4\\sub\\deep.tmp", "4444");
  StoreBrowserFolder(settings::kOpera, opera);
  mw::Enable({"18", "19", "20"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  auto cacheRow = [&](const char* lead, const char* name, const char* end = "<OK>") {
    return std::string(lead) + opera + "\\Cache4\\" + name + " " + end;
  };
  const char* test = "Cleaning Opera Cache and History  ";
  Rows rows = {"Cleaning Opera Cookies  <OK>", "Cleaning Opera Location Bar History  <OK>", cacheRow(test, "a.tmp"),
               cacheRow(test, "b.tmp"), cacheRow(test, "c")};
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "7");  // three for the location bar, though one of its files is missing
  EXPECT_EQ(f.txtfilesize.Text(), "2136");
  EXPECT_TRUE(ts::Exists(opera + "\\Cache4\\a.tmp"));

  // The browser holds its cookies open: they stay, and say so. Secure erasing leaves the browsers'
  // files alone: they are deleted, not overwritten first.
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  ts::Watcher cached(opera + "\\Cache4\\b.tmp"), global(opera + "\\global.dat");
  HANDLE browser = CreateFileA((opera + "\\cookies4.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  f.chameleonButton5_Click();
  CloseHandle(browser);
  EXPECT_EQ(cached.Seen(), "22");
  EXPECT_EQ(global.Seen(), std::string(2000, 'g'));
  const char* erase = "Cleaning Opera Cach and History  ";
  rows = {"Cleaning Opera Cookies  <FAILED>", "Cleaning Opera Location Bar History  <OK>", cacheRow(erase, "a.tmp"),
          cacheRow(erase, "b.tmp"), cacheRow(erase, "c")};
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "6");
  EXPECT_EQ(f.txtfilesize.Text(), "2036");
  EXPECT_TRUE(ts::Exists(opera + "\\cookies4.dat"));
  for (const char* gone : {"global.dat", "vlink4.dat", "Cache4\\a.tmp", "Cache4\\b.tmp", "Cache4\\c"})
    EXPECT_FALSE(ts::Exists(opera + "\\" + gone)) << gone;
  EXPECT_TRUE(ts::Exists(opera + "\\Cache4\\sub\\deep.tmp"));  // one folder, not its sub-folders
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(f.View100.SubItem(row, 1), "Done") << row;

  // An empty cache folder: no row.
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Cleaning Opera Cookies  <OK>", "Cleaning Opera Location Bar History  <OK>"}));
}

// Another program swaps a folder for a link to a folder elsewhere: the Opera folder the moment
// before its cookies are erased, and the cache folder before it is resolved for its walk. What the
// links lead to stays.
TEST_F(BrowserSteps, AFolderSwappedForALinkDuringTheStepsErasesNothingOutside) {
  std::string opera = ts::Scratch() + "\\Opera Profile";
  ts::WriteFile(opera + "\\cookies4.dat", "c");
  ts::WriteFile(opera + "\\Cache4\\a.tmp", "1");
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\profile\\cookies4.dat", "precious");
  ts::WriteFile(outside + "\\cache\\a.tmp", "precious");
  StoreBrowserFolder(settings::kOpera, opera);
  Form1& f = Main();
  f.Load();
  {
    mw::Enable({"18"});
    ts::BeforeErasing swap(opera + "\\cookies4.dat", [&] {
      rt::DeleteTree(opera);
      ts::HostLink(outside + "\\profile", opera);
    });
    f.chameleonButton5_Click();
    EXPECT_TRUE(swap.Ran());
    EXPECT_EQ(mw::DetailRows(f), (Rows{"Cleaning Opera Cookies  <FAILED>"}));
    EXPECT_EQ(f.txtfilecount.Text(), "0");
    EXPECT_EQ(ts::ReadFile(outside + "\\profile\\cookies4.dat"), "precious");
    ts::HostUnlink(opera);
  }
  {
    ts::WriteFile(opera + "\\Cache4\\a.tmp", "1");
    settings::Write(settings::kOptionWin, "18", "0");
    mw::Enable({"20"});
    ts::AroundResolving swap(opera + "\\Cache4", 1, ts::AroundResolving::kBefore, [&] {
      rt::DeleteTree(opera + "\\Cache4");
      ts::HostLink(outside + "\\cache", opera + "\\Cache4");
    });
    f.chameleonButton5_Click();
    EXPECT_TRUE(swap.Ran());
    EXPECT_TRUE(mw::DetailRows(f).empty());
    EXPECT_EQ(ts::ReadFile(outside + "\\cache\\a.tmp"), "precious");
    ts::HostUnlink(opera + "\\Cache4");
  }
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// A stored folder that is no profile folder names no file: its steps give no row and no count,
// and their status rows are done all the same.
TEST_F(BrowserSteps, AFolderThatIsNoProfileFolderNamesNoFile) {
  // Decoys where such a folder would lead: the root of the current drive, the current folder and
  // the Windows folder.
  std::string current = ts::Scratch() + "\\current";
  ts::WriteFile(current + "\\relative\\cookies4.dat", "decoy");
  ts::WriteFile(current + "\\relative\\Cache4\\x.tmp", "decoy");
  ts::WriteFile("C:\\cookies4.dat", "decoy");
  ts::WriteFile("C:\\localstore.rdf", "decoy");
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string windowsDecoy = std::string(windows) + "\\cookies.txt";
  ASSERT_FALSE(ts::Exists(windowsDecoy));
  ts::WriteFile(windowsDecoy, "decoy");
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(current.c_str());
  mw::Enable({"18", "19", "20", "21", "22", "23", "24"});
  for (const char* folder :
       {static_cast<const char*>(nullptr), "", "   ", "relative", "C:", "C:\\", "c:\\.", static_cast<const char*>(windows),
        "C:\\x\\..\\..", "C:\\*"}) {
    SCOPED_TRACE(folder ? std::string("\"") + folder + "\"" : "missing");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionBrowser).c_str());
    if (folder) {
      StoreBrowserFolder(settings::kOpera, folder);
      StoreBrowserFolder("net0", folder);
    }
    MainFormInstance().Reset();
    Form1& f = Main();
    f.Load();
    f.chameleonButton5_Click();
    EXPECT_TRUE(mw::DetailRows(f).empty());
    EXPECT_EQ(f.txtfilecount.Text(), "0");
    EXPECT_EQ(f.txtfilesize.Text(), "0");
    ASSERT_EQ(f.View100.Count(), 7);
    for (int row = 1; row <= 7; ++row) EXPECT_EQ(f.View100.SubItem(row, 1), "Done") << f.View100.Text(row);
  }
  SetCurrentDirectoryA(old);
  EXPECT_EQ(ts::ReadFile("C:\\cookies4.dat"), "decoy");
  EXPECT_EQ(ts::ReadFile("C:\\localstore.rdf"), "decoy");
  EXPECT_EQ(ts::ReadFile(windowsDecoy), "decoy");
  EXPECT_EQ(ts::ReadFile(current + "\\relative\\cookies4.dat"), "decoy");
  EXPECT_EQ(ts::ReadFile(current + "\\relative\\Cache4\\x.tmp"), "decoy");
  DeleteFileA("C:\\cookies4.dat");
  DeleteFileA("C:\\localstore.rdf");
  DeleteFileA(windowsDecoy.c_str());
}

TEST_F(BrowserSteps, EveryNetscapeProfileUpToTheFirstGap) {
  std::string profiles = ts::Scratch() + "\\Mozilla Profiles";
  std::string a = profiles + "\\abcdefgh.default", b = profiles + "\\chosen by hand", never = profiles + "\\never";
  ts::WriteFile(a + "\\localstore.rdf", std::string(10, 'l'));
  ts::WriteFile(a + "\\cookies.txt", std::string(20, 'c'));
  ts::WriteFile(a + "\\Cache\\one", "1");
  ts::WriteFile(a + "\\Cache\\two", "22");
  // The history is a link to a file elsewhere: it stays, and so does what it points at.
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\history.dat", "precious");
  ts::HostLink(outside + "\\history.dat", a + "\\history.dat");
  ts::WriteFile(b + "\\cookies.txt", std::string(5, 'b'));
  ts::WriteFile(never + "\\cookies.txt", "stays");
  // The first profile is named through its short (8.3) name, as the settings often hold it.
  std::string viaShort = ShortPath(a);
  ASSERT_NE(viaShort, a);
  StoreBrowserFolder("net0", viaShort);
  StoreBrowserFolder("net1", "");          // no folder: skipped
  StoreBrowserFolder("net2", "relative");  // no folder: skipped
  StoreBrowserFolder("net3", a + "\\");    // the first one, written another way: taken once
  StoreBrowserFolder("net5", never);       // after the gap: never read
  StoreBrowserFolder(settings::kNetscape, b);  // what the window's box shows: never read
  mw::Enable({"21", "22", "23", "24"});
  Form1& f = Main();
  f.Load();
  auto rowsWith = [&](const char* historyEnd) {
    return Rows{"Cleaning Netscape Location bar History  <OK>", "Cleaning Netscape Cookies  <OK>",
                std::string("Cleaning Netscape History  ") + historyEnd,
                "Cleaning Netscape Cache and History  " + viaShort + "\\Cache\\one <OK>",
                "Cleaning Netscape Cache and History  " + viaShort + "\\Cache\\two <OK>"};
  };
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), rowsWith("<OK>"));
  EXPECT_EQ(f.txtfilecount.Text(), "5");
  EXPECT_EQ(f.txtfilesize.Text(), "41");  // the link's file counts as what it shows

  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), rowsWith("<FAILED>"));
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  EXPECT_EQ(f.txtfilesize.Text(), "33");
  for (const char* gone : {"localstore.rdf", "cookies.txt", "Cache\\one", "Cache\\two"})
    EXPECT_FALSE(ts::Exists(a + "\\" + gone)) << gone;
  EXPECT_EQ(ts::ReadFile(outside + "\\history.dat"), "precious");
  EXPECT_TRUE(ts::Exists(a + "\\history.dat"));
  EXPECT_EQ(ts::ReadFile(b + "\\cookies.txt"), std::string(5, 'b'));
  EXPECT_EQ(ts::ReadFile(never + "\\cookies.txt"), "stays");
  for (int row = 1; row <= 4; ++row) EXPECT_EQ(f.View100.SubItem(row, 1), "Done") << row;
  ts::HostUnlink(a + "\\history.dat");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// The whole road: an erase run with every category ticked leaves nothing of what it names behind,
// but what the keep lists keep.
TEST_F(BrowserSteps, AnEraseRunWithEverythingTicked) {
  const char* currentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
  std::string windows = ts::Scratch() + "\\windows";
  WriteRegString(HKEY_LOCAL_MACHINE, currentVersion, "systemroot", windows);
  ts::WriteFile(windows + "\\temp\\t.tmp", "t");
  ts::WriteFile(windows + "\\Recent\\doc.lnk", "r");
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  mw::SetUserValue(mw::kOpenSave, "a", "C:\\report.doc");
  mw::SetUserValue(ie::kTypedUrls, "url1", "http://typed.example/");
  mw::SetUserValue(ie::kTypedUrls, "url2", "http://kept.example/");
  ts::WriteFile(ts::ProgramDir() + "\\url.vel", "http://kept.example/\r\n");
  std::string goneCookie = ts::AddCookie("gone.example", "g");
  std::string keptCookie = ts::AddCookie("kept.example", "k");
  ts::WriteFile(ts::ProgramDir() + "\\cookies.vel", rt::FileNameOf(keptCookie) + "\r\n");
  std::string page = ts::AddCacheEntry("http://cached.example/page.html", "page");
  ts::AddCacheEntryWithoutFile("http://cached.example/nofile");
  ts::AddVisited("http://cached.example/");
  SubKey(ie::kExtensibleCache[0], "MSHist01");
  SetClipboardText("secret");
  std::string opera = ts::Scratch() + "\\opera";
  ts::WriteFile(opera + "\\cookies4.dat", "o");
  ts::WriteFile(opera + "\\global.dat", "o");
  ts::WriteFile(opera + "\\Cache4\\x", "o");
  StoreBrowserFolder(settings::kOpera, opera);
  std::string mozilla = ts::Scratch() + "\\mozilla";
  for (const char* f : {"localstore.rdf", "cookies.txt", "history.dat", "Cache\\y"}) ts::WriteFile(mozilla + "\\" + f, "m");
  StoreBrowserFolder("net0", mozilla);
  for (int code = 0; code <= 24; ++code) settings::Write(settings::kOptionWin, std::to_string(code), "1");

  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  WriteRegString(HKEY_LOCAL_MACHINE, currentVersion, "systemroot", "");
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, currentVersion, "systemroot");

  for (const std::string& row : mw::DetailRows(f)) EXPECT_EQ(row.find("<FAILED>"), std::string::npos) << row;
  for (int row = 1; row <= f.View100.Count(); ++row) EXPECT_EQ(f.View100.SubItem(row, 1), "Done") << f.View100.Text(row);
  EXPECT_EQ(f.View100.Count(), 19);
  EXPECT_FALSE(ts::Exists(windows + "\\temp\\t.tmp"));
  EXPECT_FALSE(ts::Exists(windows + "\\Recent\\doc.lnk"));
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
  EXPECT_FALSE(mw::UserValueExists(mw::kOpenSave, "a"));
  EXPECT_EQ(ValueCount(ie::kTypedUrls), 1u);
  EXPECT_EQ(mw::UserValue(ie::kTypedUrls, "URL1"), "http://kept.example/");
  EXPECT_FALSE(ts::Exists(goneCookie));
  EXPECT_TRUE(ts::Exists(keptCookie));
  Rows left = ts::CacheUrls();
  ASSERT_EQ(left.size(), 1u) << "only the kept cookie's entry";
  EXPECT_NE(left[0].find("@kept.example/"), std::string::npos);
  EXPECT_FALSE(ts::Exists(page));
  EXPECT_FALSE(mw::UserKeyExists(std::string(ie::kExtensibleCache[0]) + "\\MSHist01"));
  EXPECT_EQ(CountClipboardFormats(), 0);
  for (const char* gone : {"cookies4.dat", "global.dat", "Cache4\\x"}) EXPECT_FALSE(ts::Exists(opera + "\\" + gone)) << gone;
  for (const char* gone : {"localstore.rdf", "cookies.txt", "history.dat", "Cache\\y"})
    EXPECT_FALSE(ts::Exists(mozilla + "\\" + gone)) << gone;
  DeleteFileA(keptCookie.c_str());
}

}  // namespace
