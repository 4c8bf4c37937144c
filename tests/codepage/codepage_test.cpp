// The program as it runs on a Japanese Windows: the harness gives Wine the ANSI code page 932, in
// which "表", "ソ", "能", "十", "申" and "予" end in the byte of "\" and "ア" in the byte of "A".
// Folders and files with such names are listed, erased and kept as they are named.
#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "iefixture.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "support/scratch.h"

namespace {

using Rows = std::vector<std::string>;

// A name in the system's code page (the fixture checks that it is 932).
std::string Ansi(const std::wstring& wide) { return rt::ToAnsi(wide); }

const std::string kHyou = Ansi(L"\u8868");   // 表: 0x95 0x5C
const std::string kSo = Ansi(L"\u30bd");     // ソ: 0x83 0x5C
const std::string kNou = Ansi(L"\u80fd");    // 能: 0x94 0x5C
const std::string kJuu = Ansi(L"\u5341");    // 十: 0x8F 0x5C
const std::string kShin = Ansi(L"\u7533");   // 申: 0x90 0x5C
const std::string kYo = Ansi(L"\u4e88");     // 予: 0x97 0x5C
const std::string kA = Ansi(L"\u30a2");      // ア: 0x83 0x41
const std::string kRa = Ansi(L"\u30e9");     // ラ
const std::string kHyouji = Ansi(L"\u8868\u793a");  // 表示

class Japanese : public mw::MainWindowTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the harness runs this program under the Japanese code page";
    ASSERT_EQ(kHyou, "\x95\x5c");
    mw::MainWindowTest::SetUp();
  }
  static Rows Sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  static void NoFailedRow(Form1& f) {
    for (const std::string& row : mw::DetailRows(f)) EXPECT_EQ(row.find("<FAILED>"), std::string::npos) << row;
  }
};

TEST_F(Japanese, PathsAndNamesAreReadByCharacters) {
  const std::string folder = ts::Scratch() + "\\" + kHyou;
  EXPECT_EQ(rt::JoinPath(folder, "a.tmp"), folder + "\\a.tmp");
  EXPECT_EQ(rt::ParentFolder(folder + "\\a.tmp"), folder);
  EXPECT_EQ(rt::ParentFolder(folder), ts::Scratch());
  EXPECT_EQ(rt::FileNameOf(folder), kHyou);
  EXPECT_EQ(rt::WithoutTrailingSlash(folder), folder);
  EXPECT_FALSE(rt::IsInsideFolder("C:\\Users\\" + kHyouji, "C:\\Users\\" + kHyou));
  EXPECT_TRUE(rt::IsInsideFolder("C:\\Users\\" + kHyou + "\\x", "C:\\Users\\" + kHyou));
  EXPECT_TRUE(rt::IsPlainFileName(kSo + kRa + "@site[1].txt"));
  EXPECT_FALSE(rt::MatchesPattern(kA + ".txt", "*a.txt")) << "the second byte of a character is no letter";
  EXPECT_TRUE(rt::MatchesPattern(kHyou + ".txt", "?.txt")) << "one character of two bytes";
  EXPECT_TRUE(rt::MatchesPattern("ab" + kHyou, "*" + kHyou));

  ts::WriteFile(folder + "\\" + kSo + ".tmp", "s");
  ts::WriteFile(folder + "\\" + kNou + ".txt", "n");
  std::vector<rt::FileEntry> listed;
  ASSERT_TRUE(rt::ListFolder(folder, "*.tmp", rt::ListWhat::Files, listed));
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].name, kSo + ".tmp");
  EXPECT_TRUE(listed[0].wide.empty()) << "the code page spells it";
}

// The Windows folder and its temp tree with such names: every file is listed and erased as it is
// named (overwritten first), no row fails, and the folders stay.
TEST_F(Japanese, ATempTreeWithSuchNamesIsErasedAsNamed) {
  const std::string windows = ts::Scratch() + "\\win" + kShin, temp = windows + "\\temp";
  WriteRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot", windows);
  const Rows files = {temp + "\\" + kHyou + "\\" + kSo + ".tmp", temp + "\\" + kHyou + "\\" + kYo,
                      temp + "\\" + kNou + ".tmp", temp + "\\" + kHyou + "\\" + kJuu + "\\x.tmp"};
  for (const std::string& file : files) ts::WriteFile(file, "secret");
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  mw::Enable({"10"});
  Form1& f = Main();
  f.Load();
  Rows expected;
  for (const std::string& file : files) expected.push_back("Windows Temp Files = " + file + " <OK>");
  f.chameleonButton6_Click();
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(expected));
  for (const std::string& file : files) EXPECT_EQ(ts::ReadFile(file), "secret") << "a test run changes nothing";

  f.chameleonButton5_Click();
  EXPECT_EQ(Sorted(mw::DetailRows(f)), Sorted(expected));
  EXPECT_EQ(f.txtfilecount.Text(), "4");
  for (const std::string& file : files) EXPECT_FALSE(ts::Exists(file)) << file;
  EXPECT_TRUE(rt::FolderExists(temp + "\\" + kHyou + "\\" + kJuu));
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot");
}

// Cookies are named after the Windows user: the keep list names one of a user "ソラ", and that
// cookie comes through the erase byte for byte while its neighbours go.
class JapaneseCookies : public Japanese {
 protected:
  void SetUp() override {
    Japanese::SetUp();
    folder = ts::Scratch() + "\\Cookies" + kSo;
    rt::CreateFolder(folder);
    redirect = std::make_unique<ie::UserValueFor>(ie::kUserShellFolders, "Cookies", &folder);
  }
  void TearDown() override {
    redirect.reset();
    Japanese::TearDown();
  }
  std::string folder;
  std::unique_ptr<ie::UserValueFor> redirect;
};

TEST_F(JapaneseCookies, AKeptCookieOfSuchAUserSurvivesByteForByte) {
  const std::string user = kSo + kRa, content = std::string("kept\0\xff\x5c", 7);
  const std::string kept = folder + "\\" + user + "@keep[1].txt", gone = folder + "\\" + user + "@gone[1].txt",
                    other = folder + "\\" + kHyou + "@site[1].txt";
  ts::WriteFile(kept, content);
  ts::WriteFile(gone, "gone");
  ts::WriteFile(other, "other");
  ts::WriteFile(ts::ProgramDir() + "\\cookies.vel", user + "@KEEP[1].TXT\r\n" + kYo + "@none[1].txt\r\n");
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  mw::Enable({"1"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  NoFailedRow(f);
  EXPECT_EQ(ts::ReadFile(kept), content);
  EXPECT_FALSE(ts::Exists(gone));
  EXPECT_FALSE(ts::Exists(other));
  EXPECT_EQ(Sorted(mw::DetailRows(f)),
            Sorted({"Cookie Files = " + kept + "  <OK>", "Cookie Files = " + gone + "  <OK>", "Cookie Files = " + other + "  <OK>"}));
}

// A Netscape profile folder whose name ends in such a character: its files are found and erased,
// never reported erased while they stay.
TEST_F(Japanese, ANetscapeProfileWithSuchANameIsErasedAsNamed) {
  const std::string profile = ts::Scratch() + "\\mozilla" + kHyou;
  for (const char* name : {"localstore.rdf", "cookies.txt", "history.dat", "Cache\\one"}) ts::WriteFile(profile + "\\" + name, "m");
  settings::Write(settings::kOptionBrowser, "net0", profile);
  mw::Enable({"21", "22", "23", "24"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  NoFailedRow(f);
  for (const char* name : {"localstore.rdf", "cookies.txt", "history.dat", "Cache\\one"})
    EXPECT_FALSE(ts::Exists(profile + "\\" + name)) << name;
  const Rows rows = mw::DetailRows(f);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "Cleaning Netscape Cache and History  " + profile + "\\Cache\\one <OK>"), rows.end());
}

// Plug-in entries with such names: a file, a folder walked with its sub-folders, and a registry key
// whose name ends in such a character.
TEST_F(Japanese, PlugInEntriesWithSuchNamesEraseWhatTheyName) {
  const std::string root = ts::Scratch() + "\\data";
  const std::string file = root + "\\" + kHyou + "\\a.txt", deep = root + "\\" + kSo + "\\" + kNou + "\\b.tmp",
                    other = root + "\\" + kSo + "\\c.log";
  for (const std::string& f : {file, deep, other}) ts::WriteFile(f, "x");
  const std::string key = "Software\\VelkPlug\\" + kHyou;
  mw::SetUserValue(key, "v", "1");
  ts::WriteFile(ts::ProgramDir() + "\\plugins\\jp.vk",
                "jp\r\nMorvane\r\nA plug-in\r\nfiles\r\nfile=" + file + ",0\r\nfolder=" + root + "\\" + kSo +
                    "\\*.tmp,1\r\nregistry\r\nHKEY_CURRENT_USER\\" + key + ",1\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "jp\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  NoFailedRow(f);
  EXPECT_FALSE(ts::Exists(file));
  EXPECT_FALSE(ts::Exists(deep));
  EXPECT_TRUE(ts::Exists(other));
  EXPECT_FALSE(mw::UserKeyExists(key));
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VelkPlug");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VelkPlug");
}

}  // namespace
