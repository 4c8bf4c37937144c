// The file categories over fixture folders: the recent documents, the recycle bin (through the
// shell, in the harness's own trash) and the Windows temporary files.
#include <shlobj.h>

#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/files.h"
#include "shared/fileprop.h"
#include "shared/systemfolders.h"

namespace {

using Rows = std::vector<std::string>;
using mw::MainWindowTest;

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kRecentDocs = "software\\microsoft\\windows\\currentversion\\explorer\\RecentDocs";

class FileCategories : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    windows = ts::Scratch() + "\\windows";
    rt::CreateFolder(windows);
    WriteRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, "systemroot", windows);
  }
  void TearDown() override {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kCurrentVersion, "systemroot");
    RegDeleteTreeA(HKEY_CURRENT_USER, kRecentDocs);
    MainWindowTest::TearDown();
  }
  std::string File(const std::string& rel, const std::string& bytes) {
    ts::WriteFile(windows + "\\" + rel, bytes);
    return windows + "\\" + rel;
  }
  std::string windows;
};

TEST_F(FileCategories, TheWindowsFolderComesFromTheSettings) {
  EXPECT_EQ(WindowsFolder(), windows);
  WriteRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, "systemroot", windows + "\\");
  EXPECT_EQ(WindowsFolder(), windows);
  WriteRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, "systemroot", "   ");
  std::string nt;
  ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows nt\\CurrentVersion", "systemroot", nt);
  EXPECT_EQ(WindowsFolder(), rt::WithoutTrailingSlash(nt));
  // A folder that is not absolute erases nothing.
  WriteRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, "systemroot", "windows");
  EXPECT_EQ(WindowsFolder(), "");
  mw::Enable({"10", "13"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  Rows rows = mw::DetailRows(f);
  ASSERT_GE(rows.size(), 1u);
  EXPECT_EQ(rows[0], "Windows Recent Documents History  <OK>");
  for (const auto& r : rows) EXPECT_EQ(r.find("Windows Temp Files"), std::string::npos) << r;
}

TEST_F(FileCategories, RecentDocumentsOfTheWindowsFolder) {
  std::string a = File("Recent\\report.doc.lnk", "12345");
  std::string ro = File("Recent\\kept.lnk", "123");
  File("Recent\\sub\\deeper.lnk", "1");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  mw::SetUserValue(kRecentDocs, "MRUListEx", "x");
  mw::SetUserValue(std::string(kRecentDocs) + "\\.doc", "0", "report.doc");  // a key with sub-keys
  mw::Enable({"13"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows expected = {"Windows Recent Documents History  <OK>", "Recent Documents File = " + ro + "  <OK>",
                   "Recent Documents File = " + a + "  <OK>"};
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilecount.Text(), "2");
  EXPECT_EQ(f.txtfilesize.Text(), "8");
  EXPECT_EQ(f.txtregcount.Text(), "1");
  EXPECT_TRUE(ts::Exists(a));

  f.chameleonButton5_Click();
  // The read-only file is not cleared by this category: it stays, and says so.
  expected[1] = "Recent Documents File = " + ro + "  <FAILED>";
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "5");
  EXPECT_FALSE(ts::Exists(a));
  EXPECT_TRUE(ts::Exists(ro));
  EXPECT_TRUE(ts::Exists(windows + "\\Recent\\sub\\deeper.lnk"));  // sub-folders are not entered
  EXPECT_FALSE(mw::UserKeyExists(kRecentDocs));
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileCategories, WithoutARecentFolderInTheWindowsFolderTheShellsOneIsErased) {
  std::string doc = ts::Scratch() + "\\diary.txt";
  ts::WriteFile(doc, "dear diary");
  SHAddToRecentDocs(SHARD_PATHA, doc.c_str());
  std::string recent = rt::WithoutTrailingSlash(SpecialFolderPath(CSIDL_RECENT));
  std::vector<rt::FileEntry> before;
  ASSERT_TRUE(rt::ListFolder(recent, "diary*", rt::ListWhat::Files, before));
  ASSERT_FALSE(before.empty()) << "the shell recorded the document";
  // The shell may still hold its new shortcut open for a moment; a file in use is rightly left.
  std::string link = recent + "\\" + before[0].name;
  for (int i = 0; i < 100; ++i) {
    HANDLE h = CreateFileA(link.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      break;
    }
    Sleep(50);
  }
  mw::Enable({"13"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  Rows rows = mw::DetailRows(f);
  std::string row = "Recent Documents File = " + recent + "\\" + before[0].name + "  <OK>";
  EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row << "\n" << testing::PrintToString(rows);
  std::vector<rt::FileEntry> after;
  rt::ListFolder(recent, "diary*", rt::ListWhat::Files, after);
  EXPECT_TRUE(after.empty());
  EXPECT_EQ(ts::ReadFile(doc), "dear diary");  // the document itself is not a trace
}

TEST_F(FileCategories, AnEmptyRecentFolderGivesOnlyTheSummary) {
  rt::CreateFolder(windows + "\\Recent");
  mw::Enable({"13"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Recent Documents History  <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
}

TEST_F(FileCategories, WindowsTemporaryFilesEverywhereBelowTheTempFolder) {
  std::string a = File("temp\\a.tmp", "1234");
  std::string hidden = File("temp\\deep\\er\\hidden.dat", "12");
  std::string ro = File("temp\\readonly.log", "1");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\precious.doc", "precious");
  ts::HostLink(outside, windows + "\\temp\\linked");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows expected = {"Windows Temp Files = " + a + " <OK>", "Windows Temp Files = " + ro + " <OK>",
                   "Windows Temp Files = " + hidden + " <OK>"};
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "7");
  EXPECT_TRUE(ts::Exists(hidden));

  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilesize.Text(), "7");  // the same total as the test run
  for (const auto& gone : {a, hidden, ro}) EXPECT_FALSE(ts::Exists(gone)) << gone;
  EXPECT_TRUE(rt::FolderExists(windows + "\\temp\\deep\\er"));  // the folders stay
  EXPECT_EQ(ts::ReadFile(outside + "\\precious.doc"), "precious");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// A sub-folder of the temp folder swapped for a link to a folder elsewhere once the walk has listed
// it: the file listed there is looked for through the link, and what it finds is left alone.
TEST_F(FileCategories, ATempFolderSwappedForALinkAfterItWasListedErasesNothingOutside) {
  std::string a = File("temp\\a.tmp", "1");
  std::string swapped = File("temp\\sub\\b.tmp", "22");
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\b.tmp", "precious");
  SetFileAttributesA((outside + "\\b.tmp").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(outside + "\\b.tmp");
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  ts::OnWalkListed swap(windows + "\\temp", [&] {
    rt::DeleteTree(windows + "\\temp\\sub");
    ts::HostLink(outside, windows + "\\temp\\sub");
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(swap.Ran());
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + a + " <OK>", "Windows Temp Files = " + swapped + " <FAILED>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "1");
  EXPECT_FALSE(ts::Exists(a));
  EXPECT_EQ(ts::ReadFile(outside + "\\b.tmp"), "precious");
  EXPECT_EQ(rt::GetAttr(outside + "\\b.tmp"), attributes);
  ts::HostUnlink(windows + "\\temp\\sub");
  SetFileAttributesA((outside + "\\b.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// Names that Windows-1252 cannot spell are erased like any other; the rows spell them as the code
// page does.
TEST_F(FileCategories, TempFilesWhoseNamesTheCodePageCannotSpell) {
  const std::wstring temp = rt::ToWide(windows) + L"\\temp";
  ts::WriteWideFile(temp + L"\\\x043f\x0440\x0438\x0432\x0435\x0442.tmp", "1234");
  ts::WriteWideFile(temp + L"\\\x6587\x4ef6\\\x6587.log", "12");
  SetFileAttributesW((temp + L"\\\x6587\x4ef6\\\x6587.log").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::string plain = File("temp\\plain.tmp", "1");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows expected = {"Windows Temp Files = " + windows + "\\temp\\??????.tmp <OK>",
                   "Windows Temp Files = " + plain + " <OK>",
                   "Windows Temp Files = " + windows + "\\temp\\??\\?.log <OK>"};
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "7");
  EXPECT_TRUE(ts::WideExists(temp + L"\\\x043f\x0440\x0438\x0432\x0435\x0442.tmp"));

  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), expected);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "7");
  EXPECT_FALSE(ts::WideExists(temp + L"\\\x043f\x0440\x0438\x0432\x0435\x0442.tmp"));
  EXPECT_FALSE(ts::WideExists(temp + L"\\\x6587\x4ef6\\\x6587.log"));
  EXPECT_TRUE(ts::WideExists(temp + L"\\\x6587\x4ef6"));  // the folders stay
  EXPECT_FALSE(ts::Exists(plain));
}

TEST_F(FileCategories, RecentDocumentsWhoseNamesTheCodePageCannotSpell) {
  const std::wstring recent = rt::ToWide(windows) + L"\\Recent";
  ts::WriteWideFile(recent + L"\\\x043e\x0442\x0447\x0451\x0442.doc.lnk", "1234");
  mw::Enable({"13"});
  Form1& f = Main();
  f.Load();
  const Rows expected = {"Windows Recent Documents History  <OK>",
                         "Recent Documents File = " + windows + "\\Recent\\?????.doc.lnk  <OK>"};
  for (bool erase : {false, true}) {
    SCOPED_TRACE(erase ? "erase run" : "test run");
    erase ? f.chameleonButton5_Click() : f.chameleonButton6_Click();
    EXPECT_EQ(mw::DetailRows(f), expected);
    EXPECT_EQ(f.txtfilecount.Text(), "1");
    EXPECT_EQ(f.txtfilesize.Text(), "4");
    EXPECT_EQ(ts::WideExists(recent + L"\\\x043e\x0442\x0447\x0451\x0442.doc.lnk"), !erase);
  }
}

TEST_F(FileCategories, SecureErasingOverwritesTempFilesBeforeTheyGo) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string p = File("temp\\secret.txt", std::string(5000, 'S'));
  std::string busy = File("temp\\busy.txt", std::string(100, 'B'));
  ts::Watcher watcher(p);
  HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  CloseHandle(holder);
  std::string seen = watcher.Seen();
  EXPECT_EQ(seen.size(), 5000u);
  EXPECT_EQ(seen.find_first_not_of("01"), std::string::npos);
  EXPECT_FALSE(ts::Exists(p));
  EXPECT_EQ(ts::ReadFile(busy), std::string(100, 'B'));  // bound to stay: not overwritten
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + busy + " <FAILED>", "Windows Temp Files = " + p + " <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "5000");
}

// Another program views a temp file: it reads it and lets others delete it, but not write it. With
// secure erasing the file cannot be overwritten, so it is not erased: it stays whole for a later
// run, which erases it once it is free.
TEST_F(FileCategories, ATempFileThatCannotBeOverwrittenStaysForALaterRun) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string held = File("temp\\held\\viewed.tmp", std::string(3000, 'V'));
  std::string other = File("temp\\other.tmp", "12");
  HANDLE viewer = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  CloseHandle(viewer);
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + other + " <OK>", "Windows Temp Files = " + held + " <FAILED>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "2");
  EXPECT_EQ(ts::ReadFile(held), std::string(3000, 'V'));
  EXPECT_FALSE(ts::Exists(other));

  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + held + " <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), "3000");
  EXPECT_FALSE(ts::Exists(held));
}

// A hard link put into the temp folder to a read-only hidden file elsewhere: the content and the
// attributes are that file's too, and erasing the link changes neither. Without secure erasing the
// link goes; with it, it cannot be overwritten (the other name would keep the content), and stays.
TEST_F(FileCategories, ATempHardLinkChangesNothingOfTheFileItShares) {
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch()) + "\\report.doc";
  ts::WriteFile(outside, "precious");
  SetFileAttributesA(outside.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(outside);
  std::string link = windows + "\\temp\\report.doc";
  rt::CreateFolder(windows + "\\temp");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  for (bool secure : {true, false}) {
    SCOPED_TRACE(secure ? "secure erasing" : "no secure erasing");
    settings::Write(settings::kOptionOption, settings::kOptSecureErase, secure ? "1" : "0");
    if (!ts::Exists(link)) {
      ASSERT_TRUE(CreateHardLinkA(link.c_str(), outside.c_str(), nullptr));
    }
    f.chameleonButton5_Click();
    EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + link + (secure ? " <FAILED>" : " <OK>")}));
    EXPECT_EQ(f.txtfilecount.Text(), secure ? "0" : "1");
    EXPECT_EQ(ts::Exists(link), secure);
    EXPECT_EQ(ts::ReadFile(outside), "precious");
    EXPECT_EQ(rt::GetAttr(outside), attributes);
  }
  SetFileAttributesA(outside.c_str(), FILE_ATTRIBUTE_NORMAL);
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// Between the listing and the erase another program deletes one listed file and puts a folder in
// the place of another: the first counts as gone, the folder is no file and stays.
TEST_F(FileCategories, WhatChangedSinceTheListingIsTakenAsItIsAtTheErase) {
  std::string went = File("temp\\went.tmp", "1234");
  std::string folder = File("temp\\now-a-folder.tmp", "12");
  std::string stays = File("temp\\stays\\x.tmp", "1");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  ts::OnWalkListed change(windows + "\\temp", [&] {
    ASSERT_TRUE(DeleteFileA(went.c_str()));
    ASSERT_TRUE(DeleteFileA(folder.c_str()));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(change.Ran());
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows Temp Files = " + folder + " <FAILED>", "Windows Temp Files = " + went + " <OK>",
                                     "Windows Temp Files = " + stays + " <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "2");
  EXPECT_EQ(f.txtfilesize.Text(), "5");
  EXPECT_TRUE(rt::FolderExists(folder));
  EXPECT_FALSE(ts::Exists(stays));
}

// The harness's trash, where the shell's recycle bin lies under Wine.
std::string HarnessTrash() {
  char buf[1024];
  DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", buf, sizeof buf);
  std::string unix(buf, n);
  for (auto& c : unix) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unix + "\\Trash";
}

// What the invoking user's real trash holds, looked at without touching it.
std::vector<std::string> RealTrashListing() {
  char home[1024];
  DWORD n = GetEnvironmentVariableA("VELK_HOST_HOME", home, sizeof home);
  std::string folder = "Z:" + std::string(home, n) + "/.local/share/Trash/files";
  for (auto& c : folder) {
    if (c == '/') c = '\\';
  }
  std::vector<rt::FileEntry> entries;
  std::vector<std::string> out;
  if (!rt::ListFolder(folder, "*", rt::ListWhat::Both, entries)) return out;
  for (const auto& e : entries) {
    ULARGE_INTEGER t;
    t.LowPart = e.lastWrite.dwLowDateTime;
    t.HighPart = e.lastWrite.dwHighDateTime;
    out.push_back(e.name + "|" + std::to_string(e.size) + "|" + std::to_string(t.QuadPart));
  }
  return out;
}

TEST_F(FileCategories, TheRecycleBinIsEmptiedThroughTheShell) {
  std::vector<std::string> realBefore = RealTrashListing();
  std::string doc = ts::Scratch() + "\\thrown away.txt";
  ts::WriteFile(doc, "gone soon");
  std::string from = doc + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(SHFileOperationA(&op), 0);
  EXPECT_FALSE(ts::Exists(doc));
  std::vector<rt::FileEntry> trash;
  ASSERT_TRUE(rt::ListFolder(HarnessTrash() + "\\files", "thrown away*", rt::ListWhat::Files, trash));
  ASSERT_EQ(trash.size(), 1u) << "the shell put it into the harness's trash";

  mw::Enable({"8"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();  // the test run only names the category
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows RecycleBin Files  <OK>"}));
  rt::ListFolder(HarnessTrash() + "\\files", "thrown away*", rt::ListWhat::Files, trash);
  EXPECT_EQ(trash.size(), 1u);

  f.chameleonButton5_Click();  // no question is asked (a message box would fail the test)
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Windows RecycleBin Files  <OK>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  rt::ListFolder(HarnessTrash() + "\\files", "*", rt::ListWhat::Both, trash);
  EXPECT_TRUE(trash.empty());
  EXPECT_EQ(RealTrashListing(), realBefore) << "the invoking user's own trash is never touched";
}

}  // namespace
