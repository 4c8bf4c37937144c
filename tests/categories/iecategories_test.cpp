// The Internet Explorer categories over real traces of the prefix: typed addresses, Internet
// history, cookies with their keep list, the URL cache and its files, and the index.dat files.
#include <gtest/gtest.h>

#include <algorithm>

#include "iefixture.h"
#include "runtime/app.h"
#include "runtime/files.h"

namespace {

using Rows = std::vector<std::string>;
using ie::IeTest;
using ie::SubKey;
using ie::ValueCount;

Rows Sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

// --- typed addresses ------------------------------------------------------------------------------

TEST_F(IeTest, TypedAddressesGoAndTheKeepListComesBack) {
  auto plant = [] {
    for (int i = 1; i <= 3; ++i) mw::SetUserValue(ie::kTypedUrls, "url" + std::to_string(i), "http://site" + std::to_string(i) + ".example/");
  };
  plant();
  mw::Enable({"0"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtregcount.Text(), "3");
  EXPECT_EQ(ValueCount(ie::kTypedUrls), 3u);

  f.chameleonButton5_Click();  // no keep list
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtregcount.Text(), "3");
  EXPECT_FALSE(mw::UserKeyExists(ie::kTypedUrls));
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
  EXPECT_EQ(f.View100.Item(1).smallIcon, "o");

  // Blank lines are skipped, blanks trimmed; an address never typed is written back all the same.
  plant();
  std::string keep = ts::ProgramDir() + "\\url.vel";
  ts::WriteFile(keep, "http://site1.example/\r\n\r\n  http://never.example/  \r\n");
  f.chameleonButton5_Click();
  EXPECT_EQ(f.txtregcount.Text(), "3");  // what was typed, not what came back
  EXPECT_EQ(ValueCount(ie::kTypedUrls), 2u);
  EXPECT_EQ(mw::UserValue(ie::kTypedUrls, "URL1"), "http://site1.example/");
  EXPECT_EQ(mw::UserValue(ie::kTypedUrls, "URL2"), "http://never.example/");

  // A keep list another program holds locked cannot be read: the addresses stay as they are.
  mw::SetUserValue(ie::kTypedUrls, "url3", "http://site3.example/");
  HANDLE lock = CreateFileA(keep.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  f.chameleonButton5_Click();
  CloseHandle(lock);
  EXPECT_EQ(f.txtregcount.Text(), "0");
  EXPECT_EQ(ValueCount(ie::kTypedUrls), 3u);
  // The category has no rows: its status row says the erase failed, and keeps its own icon.
  EXPECT_EQ(f.View100.SubItem(1, 1), "Failed");
  EXPECT_EQ(f.View100.Item(1).smallIcon, "a");

  // A key that cannot be deleted (it has a key of its own) fails the same way; a test run is done.
  SubKey(ie::kTypedUrls, "inner");
  DeleteFileA(keep.c_str());
  f.chameleonButton5_Click();
  EXPECT_EQ(f.View100.SubItem(1, 1), "Failed");
  EXPECT_EQ(f.txtregcount.Text(), "0");
  EXPECT_EQ(ValueCount(ie::kTypedUrls), 3u);
  f.chameleonButton6_Click();
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(ie::kTypedUrls) + "\\inner").c_str());

  // An empty keep list keeps nothing.
  ts::WriteFile(keep, "");
  f.chameleonButton5_Click();
  EXPECT_FALSE(mw::UserKeyExists(ie::kTypedUrls));
}

// --- Internet history -----------------------------------------------------------------------------

std::string HistoryRow(const std::string& name, const char* end = "<OK>") {
  return "Cleaning Internet History value: " + name + "  " + end;
}

TEST_F(IeTest, InternetHistoryTakesTheSubKeysOfTheFirstKeyThatOpens) {
  const std::string k60 = ie::kExtensibleCache[0], k40 = ie::kExtensibleCache[1], k50 = ie::kExtensibleCache[2];
  SubKey(k60, "MSHist01");
  SubKey(k60, "MSHist02");
  SubKey(k60 + "\\MSHist03", "inner");  // a sub-key with sub-keys of its own does not go
  SubKey(k40, "MSHist01");
  SubKey(k40, "Other40");
  std::string visited = ts::AddVisited("http://history.example/");
  std::string page = ts::AddCacheEntry("http://history.example/page.html", "content");
  mw::Enable({"3"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows rows = {HistoryRow("MSHist01"), HistoryRow("MSHist02"), HistoryRow("MSHist03")};
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtregcount.Text(), "3");
  EXPECT_TRUE(ts::InCache(visited)) << "the test run calls no history cleaner";

  f.chameleonButton5_Click();
  rows[2] = HistoryRow("MSHist03", "<FAILED>");
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtregcount.Text(), "2");
  EXPECT_FALSE(mw::UserKeyExists(k60 + "\\MSHist01"));
  EXPECT_FALSE(mw::UserKeyExists(k40 + "\\MSHist01"));  // the same name goes under every key
  EXPECT_TRUE(mw::UserKeyExists(k40 + "\\Other40"));
  EXPECT_TRUE(mw::UserKeyExists(k60 + "\\MSHist03"));
  // The history cleaner erased the browser's history and nothing else.
  EXPECT_FALSE(ts::InCache(visited));
  EXPECT_TRUE(ts::InCache("http://history.example/page.html"));
  EXPECT_EQ(ts::ReadFile(page), "content");

  // The 6.0 key gone: the 4.0 key is listed, the 5.0 key not looked at.
  RegDeleteTreeA(HKEY_CURRENT_USER, k60.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, k60.c_str());
  SubKey(k50, "Hist50");
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{HistoryRow("Other40")}));
  f.chameleonButton5_Click();
  EXPECT_FALSE(mw::UserKeyExists(k40 + "\\Other40"));
  EXPECT_TRUE(mw::UserKeyExists(k50 + "\\Hist50"));

  // No sub-keys: no rows, no count, and the keys themselves stay.
  RegDeleteKeyA(HKEY_CURRENT_USER, (k50 + "\\Hist50").c_str());
  f.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtregcount.Text(), "0");
  EXPECT_TRUE(mw::UserKeyExists(k40));
  EXPECT_TRUE(mw::UserKeyExists(k50));
}

TEST_F(IeTest, TheLoggedOnUsersBranchOnlyWhereItIsAKey) {
  std::string branch = std::string(ie::kTestUser) + "\\" + ie::kExtensibleCache[0];
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, (branch + "\\UserHist").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  SubKey(ie::kExtensibleCache[0], "MSHist01");
  mw::Enable({"3"});
  Form1& f = Main();
  f.Load();
  auto userBranchStays = [&] {
    HKEY u;
    bool there = RegOpenKeyExA(HKEY_USERS, (branch + "\\UserHist").c_str(), 0, KEY_READ, &u) == ERROR_SUCCESS;
    if (there) RegCloseKey(u);
    return there;
  };
  for (const char* name : {"", "   ", "VelkTestUser\\Software", "..", "NoSuchUser"}) {
    WriteRegString(HKEY_LOCAL_MACHINE, "Network\\Logon", "username", name);
    SubKey(ie::kExtensibleCache[0], "MSHist01");
    f.chameleonButton5_Click();
    EXPECT_EQ(mw::DetailRows(f), (Rows{HistoryRow("MSHist01")})) << name;
    EXPECT_TRUE(userBranchStays()) << name;
  }
  WriteRegString(HKEY_LOCAL_MACHINE, "Network\\Logon", "username", std::string(" ") + ie::kTestUser + " ");
  SubKey(ie::kExtensibleCache[0], "MSHist01");
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{HistoryRow("MSHist01"), HistoryRow("UserHist")}));
  EXPECT_EQ(f.txtregcount.Text(), "2");
  EXPECT_FALSE(userBranchStays());
  f.chameleonButton6_Click();  // the test run looks at the current user only
  EXPECT_TRUE(mw::DetailRows(f).empty());
}

// --- cookies --------------------------------------------------------------------------------------

class Cookies : public IeTest {
 protected:
  void SetUp() override {
    IeTest::SetUp();
    folder = ts::Scratch() + "\\Cookies";
    rt::CreateFolder(folder);
    redirect = std::make_unique<ie::UserValueFor>(ie::kUserShellFolders, "Cookies", &folder);
  }
  void TearDown() override {
    redirect.reset();
    IeTest::TearDown();
  }
  std::string Cookie(const std::string& name, const std::string& content) {
    ts::WriteFile(folder + "\\" + name, content);
    return folder + "\\" + name;
  }
  std::string Row(const std::string& name, const char* end = "<OK>") { return "Cookie Files = " + folder + "\\" + name + "  " + end; }
  std::string folder;
  std::unique_ptr<ie::UserValueFor> redirect;
};

TEST_F(Cookies, KeptCookiesAreNeverTouched) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string a = Cookie("a.txt", "aaa");
  std::string kept = Cookie("Kept.txt", "keep");
  std::string spaced = Cookie("keep2.txt", "k2");
  std::string ro = Cookie("ro.txt", "r");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string index = Cookie("index.dat", "idx");
  std::string deep = Cookie("sub\\deep.txt", "d");
  // Case does not matter; blanks do; a line that is no bare file name keeps nothing.
  std::string keepList = ts::ProgramDir() + "\\cookies.vel";
  ts::WriteFile(keepList, "kept.TXT\r\n\r\n keep2.txt\r\n..\\Cookies\\a.txt\r\n" + folder + "\\a.txt\r\n..\r\n");
  mw::Enable({"1"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows rows = {Row("a.txt"), Row("keep2.txt"), Row("Kept.txt"), Row("ro.txt")};
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  EXPECT_EQ(f.txtfilesize.Text(), "10");
  EXPECT_EQ(f.Text3.Text(), folder);
  EXPECT_EQ(settings::Read(settings::kCookies), folder);
  EXPECT_FALSE(rt::FolderExists(ts::ProgramDir() + "\\backup")) << "the test makes no folder";
  EXPECT_TRUE(ts::Exists(a));

  f.chameleonButton5_Click();
  EXPECT_TRUE(rt::FolderExists(ts::ProgramDir() + "\\backup"));
  rows[3] = Row("ro.txt", "<FAILED>");  // deleted without an attribute change: a read-only cookie stays
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "3");  // the kept cookie among them
  EXPECT_EQ(f.txtfilesize.Text(), "9");
  EXPECT_FALSE(ts::Exists(a));
  EXPECT_FALSE(ts::Exists(spaced));
  EXPECT_EQ(ts::ReadFile(kept), "keep") << "kept, and never overwritten";
  EXPECT_EQ(ts::ReadFile(ro), "r");
  EXPECT_TRUE(ts::Exists(index));
  EXPECT_TRUE(ts::Exists(deep));
  std::vector<rt::FileEntry> backup;
  EXPECT_TRUE(rt::ListFolder(ts::ProgramDir() + "\\backup", "*", rt::ListWhat::Both, backup));
  EXPECT_TRUE(backup.empty());

  // No "backup" folder can be made (a file has its name): the kept cookie stays all the same.
  rt::DeleteTree(ts::ProgramDir() + "\\backup");
  ts::WriteFile(ts::ProgramDir() + "\\backup", "in the way");
  Cookie("b.txt", "b");
  f.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(folder + "\\b.txt"));
  EXPECT_EQ(ts::ReadFile(kept), "keep");

  // A keep list that cannot be read keeps every cookie, and the rows say nothing was erased.
  Cookie("c.txt", "c");
  HANDLE lock = CreateFileA(keepList.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  f.chameleonButton5_Click();
  CloseHandle(lock);
  EXPECT_EQ(mw::DetailRows(f), (Rows{Row("c.txt", "<FAILED>"), Row("Kept.txt", "<FAILED>"), Row("ro.txt", "<FAILED>")}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_TRUE(ts::Exists(folder + "\\c.txt"));
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Cookies, AnEmptyFolderGivesNoRows) {
  mw::Enable({"1"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtfilecount.Text(), "0");
}

TEST_F(IeTest, ACookieGoesWithItsCacheEntry) {
  std::string gone = ts::AddCookie("gone.example", "g");
  std::string kept = ts::AddCookie("kept.example", "k");
  ASSERT_EQ(rt::ParentFolder(gone), CookiesFolder());
  ts::WriteFile(ts::ProgramDir() + "\\cookies.vel", rt::FileNameOf(kept) + "\r\n");
  mw::Enable({"1"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(gone));
  EXPECT_TRUE(ts::Exists(kept));
  Rows cookies = ts::CacheUrls("Cookie:");
  ASSERT_EQ(cookies.size(), 1u);
  EXPECT_NE(cookies[0].find("@kept.example/"), std::string::npos);
}

// --- temporary Internet files -------------------------------------------------------------------

std::string CacheRow(const std::string& item, const char* end = "<OK>") {
  return "Internet Explorer Temp File = " + item + "  " + end;
}

TEST_F(IeTest, TheCacheCategoryTakesContentOnly) {
  std::string cookie = ts::AddCookie("first.example", "c");  // the first entry of the walk
  std::string visited = ts::AddVisited("http://seen.example/");
  std::string page = ts::AddCacheEntry("http://content.example/page.html", "hello");
  std::string ro = ts::AddCacheEntry("http://content.example/ro.html", "readonly!");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD roAttributes = rt::GetAttr(ro);
  ts::AddCacheEntryWithoutFile("http://content.example/nofile");
  std::string txt = ts::AddCacheEntry("http://content.example/notes.txt", "text", "txt");
  std::string locked = ts::AddCacheEntry("http://content.example/locked.html", "in use");
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows rows = {CacheRow(page), CacheRow(ro), CacheRow("http://content.example/nofile"), CacheRow(locked)};
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(rows));
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  EXPECT_EQ(f.txtfilesize.Text(), "20");
  EXPECT_EQ(rt::GetAttr(ro), roAttributes) << "the test run changes no attribute";
  EXPECT_TRUE(ts::Exists(page));
  EXPECT_EQ(f.List13.ListCount(), 4);

  // The browser has one page open: its entry cannot go.
  char info[4096];
  DWORD size = sizeof info;
  ASSERT_TRUE(RetrieveUrlCacheEntryFileA("http://content.example/locked.html",
                                         reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(info), &size, 0));
  f.chameleonButton5_Click();
  EXPECT_TRUE(ts::InCache("http://content.example/locked.html"));
  EXPECT_EQ(ts::ReadFile(locked), "in use");
  UnlockUrlCacheEntryFileA("http://content.example/locked.html", 0);
  rows[3] = CacheRow(locked, "<FAILED>");
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(rows));
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "14");
  EXPECT_EQ(f.List13.ListCount(), 4) << "the hidden list does not grow from run to run";
  EXPECT_FALSE(ts::Exists(page));
  EXPECT_FALSE(ts::Exists(ro));
  EXPECT_TRUE(ts::Exists(cookie));
  EXPECT_EQ(ts::ReadFile(txt), "text");
  Rows left = Sorted(ts::CacheUrls());
  left.erase(std::remove(left.begin(), left.end(), "http://content.example/locked.html"), left.end());
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[0].rfind("Cookie:", 0), 0u);
  EXPECT_EQ(left[1], visited);
  EXPECT_EQ(left[2], "http://content.example/notes.txt");
}

TEST_F(IeTest, OnlyCookiesAndHistoryGiveNoRows) {
  std::string cookie = ts::AddCookie("only.example", "c");
  ts::AddVisited("http://only.example/");
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  f.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_EQ(ts::CacheUrls().size(), 2u);
  EXPECT_TRUE(ts::Exists(cookie));
}

TEST_F(IeTest, SecureCleanDeletesAndOverwritesTheCacheFilesItself) {
  settings::Write(settings::kSecureClean, "1");
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string page = ts::AddCacheEntry("http://secure.example/page.html", std::string(5000, 'S'));
  ts::Watcher watcher(page);
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  std::string seen = watcher.Seen();
  EXPECT_EQ(seen.size(), 5000u);
  EXPECT_EQ(seen.find_first_not_of("01"), std::string::npos);
  EXPECT_EQ(mw::DetailRows(f), (Rows{CacheRow(page)}));
  EXPECT_FALSE(ts::Exists(page));
  EXPECT_TRUE(ts::CacheUrls().empty());
}

// A file another program holds open cannot go: its row fails, it is not counted, and its entry
// stays for a later run, which erases both once the file is free.
TEST_F(IeTest, ACacheFileThatStaysKeepsItsEntryAndIsNotCounted) {
  std::string held = ts::AddCacheEntry("http://held.example/page.html", "held open");
  std::string page = ts::AddCacheEntry("http://held.example/other.html", "free");
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  CloseHandle(holder);
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(Rows{CacheRow(held, "<FAILED>"), CacheRow(page)}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "4");
  EXPECT_EQ(ts::ReadFile(held), "held open");
  EXPECT_TRUE(ts::InCache("http://held.example/page.html"));
  EXPECT_FALSE(ts::Exists(page));
  EXPECT_FALSE(ts::InCache("http://held.example/other.html"));

  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{CacheRow(held)}));
  EXPECT_FALSE(ts::Exists(held));
  EXPECT_TRUE(ts::CacheUrls().empty());
}

// The cache deletes an entry's file with it, through a link to the link's target: a cache file
// that is a link never reaches it.
TEST_F(IeTest, ACacheFileThatIsALinkIsNeverHandedToTheCache) {
  std::string local = ts::AddCacheEntry("http://link.example/page.html", "cached");
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch()) + "\\precious.txt";
  ts::WriteFile(outside, "precious");
  ASSERT_EQ(rt::DeleteExactFile(local), 0u);
  ts::HostLink(outside, local);
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{CacheRow(local, "<FAILED>")}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_EQ(ts::ReadFile(outside), "precious");
  EXPECT_TRUE(ts::InCache("http://link.example/page.html"));
  ts::HostUnlink(local);
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// An entry whose file is not there, and one whose file is a link that leads nowhere (it cannot even
// be looked at): the cache would delete whatever has the name by the time it deletes the entry.
// The first entry goes, and nothing is left of its name; the second keeps its entry and its link.
TEST_F(IeTest, ACacheEntryGoesOnlyWhileItsFilesNameIsHeld) {
  std::string vanished = ts::AddCacheEntry("http://gone.example/page.html", "cached");
  std::string dangling = ts::AddCacheEntry("http://nowhere.example/page.html", "cached");
  ASSERT_EQ(rt::DeleteExactFile(vanished), 0u);
  ASSERT_EQ(rt::DeleteExactFile(dangling), 0u);
  std::string target = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch()) + "\\later.txt";
  ts::WriteFile(target, "not yet");
  ts::HostLink(target, dangling);
  ASSERT_TRUE(DeleteFileA(target.c_str()));  // the link leads nowhere now
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(Rows{CacheRow(vanished), CacheRow(dangling, "<FAILED>")}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_FALSE(ts::InCache("http://gone.example/page.html"));
  EXPECT_FALSE(ts::Exists(vanished));  // the name held meanwhile goes with its holder
  EXPECT_TRUE(ts::InCache("http://nowhere.example/page.html"));
  ts::HostUnlink(dangling);
  rt::DeleteTree("C:\\velk-tests\\outside");
}

TEST_F(IeTest, ACacheFileBehindALinkedFolderIsNeverTouched) {
  // One of the cache's own folders is replaced by a link to a folder elsewhere.
  std::string local = ts::AddCacheEntry("http://linked.example/precious.html", "cached");
  std::string folder = rt::ParentFolder(local);
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  std::string precious = outside + "\\" + rt::FileNameOf(local);
  ts::WriteFile(precious, "precious");
  SetFileAttributesA(precious.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(precious);
  ASSERT_TRUE(rt::DeleteTree(folder));
  ts::HostLink(outside, folder);
  ASSERT_EQ(ts::ReadFile(local), "precious");
  mw::Enable({"2"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  f.chameleonButton5_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  EXPECT_EQ(ts::ReadFile(precious), "precious");
  EXPECT_EQ(rt::GetAttr(precious), attributes);
  EXPECT_TRUE(ts::InCache("http://linked.example/precious.html"));
  ts::HostUnlink(folder);
  rt::CreateFolder(folder);  // the cache's folder back, for the entries to come
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// --- index.dat ------------------------------------------------------------------------------------

class IndexDat : public IeTest {
 protected:
  void SetUp() override {
    IeTest::SetUp();
    cookies = profileFixture + "\\user\\Cookies";
    localSettings = profileFixture + "\\Local Settings";
    cache = profileFixture + "\\Cache";
    ts::WriteFile(cookies + "\\index.dat", std::string(1000, 'c'));
    SetFileAttributesA((cookies + "\\index.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ts::WriteFile(profileFixture + "\\user\\Local Settings\\history\\index.dat", "h1");
    ts::WriteFile(localSettings + "\\history\\History.IE5\\index.dat", "h2");
    ts::WriteFile(cache + "\\Content.IE5\\index.dat", "c1");
    ts::WriteFile(cache + "\\x\\y\\index.dat", "c2");
    ts::WriteFile(cache + "\\other.dat", "o");
    cookiesValue = std::make_unique<ie::UserValueFor>(ie::kUserShellFolders, "Cookies", &cookies);
    localSettingsValue = std::make_unique<ie::UserValueFor>(ie::kShellFolders, "Local Settings", &localSettings);
    cacheValue = std::make_unique<ie::UserValueFor>(ie::kShellFolders, "Cache", &cache);
  }
  void TearDown() override {
    cacheValue.reset();
    localSettingsValue.reset();
    cookiesValue.reset();
    IeTest::TearDown();
  }
  std::vector<std::string> Found() const {
    return {profileFixture + "\\user\\Local Settings\\history\\index.dat",
            localSettings + "\\history\\History.IE5\\index.dat", cache + "\\Content.IE5\\index.dat",
            cache + "\\x\\y\\index.dat"};
  }
  std::string cookies, localSettings, cache;
  std::unique_ptr<ie::UserValueFor> cookiesValue, localSettingsValue, cacheValue;
};

TEST_F(IndexDat, ListedAlwaysErasedOnlyWithSecureErasing) {
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows rows = {"Index.dat  <OK>"};
  for (const auto& p : Found()) rows.push_back("index File = " + p + " <OK>");
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  EXPECT_EQ(f.txtfilesize.Text(), "1000");
  const DWORD hidden = rt::GetAttr(cookies + "\\index.dat");
  EXPECT_TRUE(hidden & FILE_ATTRIBUTE_HIDDEN) << "the test run changes no attribute";

  // Without secure erasing the erase reports the same and changes nothing.
  f.chameleonButton5_Click();
  EXPECT_EQ(rt::GetAttr(cookies + "\\index.dat"), hidden);
  rows[1] = "index file Files = " + Found()[0] + " <OK>";
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  EXPECT_EQ(f.txtfilesize.Text(), "1000");
  for (const auto& p : Found()) EXPECT_TRUE(ts::Exists(p)) << p;

  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  SetFileAttributesA(Found()[3].c_str(), FILE_ATTRIBUTE_READONLY);  // found files are deleted as they are
  f.chameleonButton5_Click();
  rows[4] = "index File = " + Found()[3] + " <FAILED>";
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_FALSE(ts::Exists(cookies + "\\index.dat"));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(ts::Exists(Found()[i])) << Found()[i];
  EXPECT_TRUE(ts::Exists(Found()[3]));
  EXPECT_TRUE(ts::Exists(cache + "\\other.dat"));
  SetFileAttributesA(Found()[3].c_str(), FILE_ATTRIBUTE_NORMAL);
}

// On older profiles "Local Settings" is the profile's own folder, so the first two searches cover
// one history folder: its files are listed and counted once, in both runs alike.
TEST_F(IndexDat, AFolderTwoSearchesCoverIsListedOnce) {
  std::string same = profileFixture + "\\user\\local settings\\";
  ie::UserValueFor sameLocalSettings(ie::kShellFolders, "Local Settings", &same);
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  Rows rows = {"Index.dat  <OK>", "index File = " + Found()[0] + " <OK>", "index File = " + Found()[2] + " <OK>",
               "index File = " + Found()[3] + " <OK>"};
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  f.chameleonButton5_Click();
  rows[1] = "index file Files = " + Found()[0] + " <OK>";
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
}

// A Cookies folder moved out of the profile: its index is none of this category's, in either run.
TEST_F(IndexDat, ACookiesFolderOutsideTheProfileKeepsItsIndex) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string moved = ts::Scratch() + "\\ckout";
  ts::WriteFile(moved + "\\index.dat", "not the profile's");
  SetFileAttributesA((moved + "\\index.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(moved + "\\index.dat");
  ie::UserValueFor movedCookies(ie::kUserShellFolders, "Cookies", &moved);
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  f.chameleonButton5_Click();
  Rows rows;  // no "Index.dat" row: nothing of the moved folder is erased, nor said to be
  for (size_t i = 1; i < Found().size(); ++i) rows.push_back("index File = " + Found()[i] + " <OK>");
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilesize.Text(), "0");
  EXPECT_EQ(ts::ReadFile(moved + "\\index.dat"), "not the profile's");
  EXPECT_EQ(rt::GetAttr(moved + "\\index.dat"), attributes);
  EXPECT_TRUE(ts::Exists(Found()[0]));  // the history beside the moved folder is not searched
  for (size_t i = 1; i < Found().size(); ++i) EXPECT_FALSE(ts::Exists(Found()[i])) << Found()[i];
}

// A cache folder swapped for a link once the search has listed it: nothing outside is erased.
TEST_F(IndexDat, AFolderSwappedForALinkAfterTheSearchErasesNothingOutside) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\y\\index.dat", "precious");
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  ts::OnWalkListed swap(cache, [&] {
    rt::DeleteTree(cache + "\\x");
    ts::HostLink(outside, cache + "\\x");
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(swap.Ran());
  Rows rows = mw::DetailRows(f);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[3], "index File = " + Found()[2] + " <OK>");
  EXPECT_EQ(rows[4], "index File = " + Found()[3] + " <FAILED>");
  EXPECT_EQ(ts::ReadFile(outside + "\\y\\index.dat"), "precious");
  EXPECT_FALSE(ts::Exists(Found()[2]));
  ts::HostUnlink(cache + "\\x");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// The cache folder swapped for a link to a folder outside the profile once its check has resolved
// it, before its walk: the walk goes where the check looked, and what the link leads to stays.
TEST_F(IndexDat, AStartSwappedForALinkBetweenItsCheckAndItsWalkErasesNothingOutside) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\Content.IE5\\index.dat", "precious");
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  ts::AroundResolving swap(cache, 1, ts::AroundResolving::kAfter, [&] {
    rt::DeleteTree(cache);
    ts::HostLink(outside, cache);
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(swap.Ran());
  EXPECT_EQ(ts::ReadFile(outside + "\\Content.IE5\\index.dat"), "precious");
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Index.dat  <OK>", "index file Files = " + Found()[0] + " <OK>",
                                     "index File = " + Found()[1] + " <OK>",
                                     "index File = " + cache + "\\Content.IE5\\index.dat <FAILED>"}));
  EXPECT_FALSE(ts::Exists(Found()[1]));  // the searches before it erased as usual
  ts::HostUnlink(cache);
  rt::DeleteTree("C:\\velk-tests\\outside");
}

TEST_F(IndexDat, NoSearchStartsOutsideTheUsersProfile) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  // Decoys a search from the drive's root or from outside the profile would find.
  ts::WriteFile("C:\\index.dat", "decoy");
  std::string outside = ts::Scratch() + "\\elsewhere";
  ts::WriteFile(outside + "\\index.dat", "decoy");
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA("C:\\");
  std::string empty = "   ";
  ie::UserValueFor noLocalSettings(ie::kShellFolders, "Local Settings", &empty);
  ie::UserValueFor noCache(ie::kShellFolders, "Cache", nullptr);
  mw::Enable({"4"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Index.dat  <OK>", "index file Files = " + Found()[0] + " <OK>"}));
  {
    ie::UserValueFor cacheOutside(ie::kShellFolders, "Cache", &outside);
    f.chameleonButton5_Click();
    EXPECT_EQ(mw::DetailRows(f), (Rows{"Index.dat  <OK>"}));
  }
  SetCurrentDirectoryA(old);
  EXPECT_EQ(ts::ReadFile("C:\\index.dat"), "decoy");
  EXPECT_EQ(ts::ReadFile(outside + "\\index.dat"), "decoy");
  DeleteFileA("C:\\index.dat");
}

}  // namespace
