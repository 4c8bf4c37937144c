// The plug-in passes over fixture folders and registry keys: rows word for word, counters, what is
// gone and what stays, the overwrite's bytes, and whole runs with a selected and an unselected
// plug-in.
#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "pluginengine/engine.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "systemfolders.h"

namespace {

using Rows = std::vector<std::string>;
using mw::MainWindowTest;

class Passes : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VelkPlug");
    root = ts::Scratch() + "\\data";
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VelkPlug");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VelkPlug");
    MainWindowTest::TearDown();
  }
  void Plugin(const std::string& name, const Rows& files, const Rows& registry) {
    std::string text = name + "\r\nMorvane\r\nA test plug-in\r\nfiles\r\n";
    for (const auto& f : files) text += f + "\r\n";
    text += "registry\r\n";
    for (const auto& r : registry) text += r + "\r\n";
    ts::WriteFile(ts::ProgramDir() + "\\plugins\\" + name + ".vk", text);
  }
  void Select(const std::string& names) { ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", names); }
  std::string File(const std::string& rel, const std::string& bytes = "content") {
    ts::WriteFile(root + "\\" + rel, bytes);
    return root + "\\" + rel;
  }
  std::string root;
};

TEST_F(Passes, TheTestPassListsCountsAndErasesNothing) {
  std::string a = File("a.txt", "12345");
  File("folder\\x.tmp", "123");
  File("folder\\y.log", "1");
  std::string z = File("folder\\sub\\z.tmp", "12");
  SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(z.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((root + "\\folder").c_str(), FILE_ATTRIBUTE_HIDDEN);
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Recent", "a", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Sub1", "x", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Sub2", "x", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool", "Last", "doc");
  mw::SetUserValue("Software\\VelkPlug\\Tool", "Other", "doc");
  Plugin("tool", {"file=" + a + ",0", "folder=" + root + "\\folder\\*.tmp,1", "file=" + root + "\\missing.txt,0"},
         {"HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool\\Recent,1", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,2",
          "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,3", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,Last,4",
          "HKEY_CURRENT_CONFIG\\Software\\X,1"});
  Select("tool\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  std::string k = "Plug In Registry Links = HKCU\\Software\\VelkPlug\\Tool";
  // The missing file and the key of a root the registry does not know name nothing: no row.
  EXPECT_EQ(mw::DetailRows(f), (Rows{
                                   "Plug In Application Files = " + a + " <OK>",
                                   "Plug In Application Files = " + root + "\\folder\\x.tmp <OK>",
                                   "Plug In Application Files = " + root + "\\folder\\sub\\z.tmp <OK>",
                                   k + "\\Recent <OK>",
                                   k + "\\Recent <OK>",
                                   k + "\\Sub1 <OK>",
                                   k + "\\Sub2 <OK>",
                                   k + "\\Last <OK>",
                                   k + "\\Other <OK>",
                                   k + "\\Last <OK>",
                               }));
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "10");
  EXPECT_EQ(f.txtregcount.Text(), "7");
  // Nothing is gone, and nothing has changed: not an attribute.
  EXPECT_EQ(ts::ReadFile(a), "12345");
  EXPECT_EQ(GetFileAttributesA(a.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(GetFileAttributesA(z.c_str()) & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN),
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(GetFileAttributesA((root + "\\folder").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(mw::UserKeyExists("Software\\VelkPlug\\Tool\\Recent"));
  EXPECT_TRUE(mw::UserValueExists("Software\\VelkPlug\\Tool", "Last"));
  // The plug-in's status row is done.
  ASSERT_EQ(f.View100.Count(), 1);
  EXPECT_EQ(f.View100.Text(1), "tool");
  EXPECT_EQ(f.View100.SubItem(1, 1), "Done");
  EXPECT_EQ(f.View100.Item(1).smallIcon, "o");
  SetFileAttributesA((root + "\\folder").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Passes, TheErasePassErasesWhatTheEntriesNameAndNoMore) {
  std::string a = File("a.txt");
  File("folder\\x.tmp");
  File("folder\\keep.log");
  File("folder\\sub\\z.tmp");
  File("folder\\sub\\keep.txt");
  File("flat\\f.tmp");
  File("flat\\below\\stays.tmp");
  File("logs\\1.log");
  File("logs\\2.log");
  File("logs\\3.txt");
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Recent", "a", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Sub1", "x", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool\\Deep\\Deeper", "x", "1");
  mw::SetUserValue("Software\\VelkPlug\\Tool", "Last", "doc");
  mw::SetUserValue("Software\\VelkPlug\\Values", "a", "1");
  mw::SetUserValue("Software\\VelkPlug\\Values", "b", "2");
  mw::SetUserValue("Software\\VelkPlug\\Values", "", "unnamed");
  mw::SetUserValue("Software\\VelkPlug\\Leaf", "", "");
  Plugin("tool", {"file=" + a + ",0", "folder=" + root + "\\folder\\*.tmp,1", "folder=" + root + "\\flat\\*.tmp,0",
                  "file=" + root + "\\logs\\*.log,0"},
         {"HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,2", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,Last,4",
          "HKEY_CURRENT_USER\\Software\\VelkPlug\\Values,3", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Leaf,1",
          "HKEY_CURRENT_USER\\Software\\VelkPlug\\Leaf,2"});
  Select("tool\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  std::string k = "Plug In Registry Links = HKCU\\Software\\VelkPlug\\";
  EXPECT_EQ(mw::DetailRows(f), (Rows{
                                   "Plug In Application Files = " + a + " <OK>",
                                   "Plug In Application Files = " + root + "\\logs\\*.log <OK>",
                                   "Plug In Application Files = " + root + "\\folder\\x.tmp <OK>",
                                   "Plug In Application Files = " + root + "\\folder\\sub\\z.tmp <OK>",
                                   "Plug In Application Files = " + root + "\\flat\\f.tmp <OK>",
                                   k + "Tool\\Deep <FAILED>",  // it has a sub-key of its own
                                   k + "Tool\\Recent <OK>",
                                   k + "Tool\\Sub1 <OK>",
                                   k + "Tool\\Last <OK>",
                                   k + "Values\\a <OK>",
                                   k + "Values\\b <OK>",
                                   k + "Leaf <OK>",
                               }));
  EXPECT_EQ(f.txtfilecount.Text(), "5");
  EXPECT_EQ(f.txtregcount.Text(), "6");
  for (const char* gone : {"a.txt", "folder\\x.tmp", "folder\\sub\\z.tmp", "flat\\f.tmp", "logs\\1.log", "logs\\2.log"})
    EXPECT_FALSE(ts::Exists(root + "\\" + gone)) << gone;
  for (const char* stays : {"folder\\keep.log", "folder\\sub\\keep.txt", "flat\\below\\stays.tmp", "logs\\3.txt"})
    EXPECT_TRUE(ts::Exists(root + "\\" + stays)) << stays;
  EXPECT_TRUE(rt::FolderExists(root + "\\folder\\sub"));  // folders stay
  EXPECT_TRUE(mw::UserKeyExists("Software\\VelkPlug\\Tool\\Deep\\Deeper"));
  EXPECT_FALSE(mw::UserKeyExists("Software\\VelkPlug\\Tool\\Recent"));
  EXPECT_TRUE(mw::UserKeyExists("Software\\VelkPlug\\Tool"));
  EXPECT_FALSE(mw::UserValueExists("Software\\VelkPlug\\Tool", "Last"));
  EXPECT_FALSE(mw::UserValueExists("Software\\VelkPlug\\Values", "a"));
  EXPECT_TRUE(mw::UserValueExists("Software\\VelkPlug\\Values", ""));  // never asked for
  EXPECT_FALSE(mw::UserKeyExists("Software\\VelkPlug\\Leaf"));  // action 2 on a key without sub-keys took nothing
}

TEST_F(Passes, APatternThatMatchesNothingGivesNoRowInEitherPass) {
  std::string log = File("logs\\1.log");
  File("logs\\keep.txt");
  Plugin("tool", {"file=" + root + "\\logs\\*.tmp,0", "file=" + root + "\\nowhere\\*.tmp,0", "file=" + root + "\\logs\\*.log,0"},
         {});
  Select("tool\r\n");
  Form1& f = Main();
  f.Load();
  for (auto run : {&Form1::chameleonButton6_Click, &Form1::chameleonButton5_Click}) {
    (f.*run)();
    EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + root + "\\logs\\*.log <OK>"}));
    EXPECT_EQ(f.txtfilecount.Text(), "1");
  }
  EXPECT_FALSE(ts::Exists(log));
  EXPECT_TRUE(ts::Exists(root + "\\logs\\keep.txt"));
}

TEST_F(Passes, AKeyOrValueThatIsNotThereIsNotCountedAsErased) {
  mw::SetUserValue("Software\\VelkPlug\\Tool", "Last", "doc");
  Plugin("tool", {},
         {"HKEY_CURRENT_USER\\Software\\VelkPlug\\Gone,1", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,Missing,4",
          "HKEY_CURRENT_USER\\Software\\VelkPlug\\Nowhere,Last,4", "HKEY_CURRENT_USER\\Software\\VelkPlug\\Tool,Last,4"});
  Select("tool\r\n");
  Form1& f = Main();
  f.Load();
  std::string k = "Plug In Registry Links = HKCU\\Software\\VelkPlug\\";
  // The test pass lists what is there only.
  f.chameleonButton6_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{k + "Tool\\Last <OK>"}));
  EXPECT_EQ(f.txtregcount.Text(), "1");
  // Nor does the erase pass: there is nothing to erase, and nothing failed.
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{k + "Tool\\Last <OK>"}));
  EXPECT_EQ(f.txtregcount.Text(), "1");
  EXPECT_FALSE(mw::UserValueExists("Software\\VelkPlug\\Tool", "Last"));
}

// The bytes a file holds now, read through a handle the test opened before (its name may be gone).
std::string BytesThrough(HANDLE h) {
  std::string bytes;
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) bytes.append(buf, got);
  return bytes;
}

TEST_F(Passes, SecureErasingOverwritesEveryByteOfEveryFileFirst) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  settings::Write(settings::kSecureValue, "2");
  const std::string pattern = "010101010111111111111111111000000000000000000000000011111111111111111111011010101";
  struct Case {
    const char* name;
    size_t size;
  } cases[] = {{"empty.bin", 0}, {"short.bin", 10}, {"exact.bin", 81}, {"large.bin", 3 * 1024 * 1024 + 17},
               {"glob\\1.log", 300}};
  Rows entries;
  std::vector<HANDLE> holds;
  for (const auto& c : cases) {
    std::string p = File(c.name, std::string(c.size, 'S'));
    if (!std::string(c.name).starts_with("glob")) entries.push_back("file=" + p + ",0");
    // Held open the way a reader does that lets others delete: the file goes, and the test still
    // sees what it held last.
    holds.push_back(CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  }
  File("glob\\2.log", std::string(5, 'S'));
  entries.push_back("file=" + root + "\\glob\\*.log,0");
  Plugin("wipe", entries, {});
  Select("wipe\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  for (size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    std::string bytes = BytesThrough(holds[k]);
    CloseHandle(holds[k]);
    EXPECT_FALSE(ts::Exists(root + "\\" + c.name)) << c.name;
    ASSERT_GE(bytes.size(), std::max<size_t>(c.size, 81)) << c.name;
    EXPECT_LE(bytes.size(), std::max<size_t>(c.size, 86)) << c.name;
    EXPECT_EQ(bytes.find('S'), std::string::npos) << c.name << ": old content left";
    // The pattern runs on from its start without a break, the bytes before it holding its tail.
    size_t s = bytes.find(pattern);
    ASSERT_NE(s, std::string::npos) << c.name;
    EXPECT_LT(s, 6u) << c.name;
    for (size_t i = 0; i < bytes.size(); ++i)
      ASSERT_EQ(bytes[i], pattern[(i + pattern.size() - s % pattern.size()) % pattern.size()]) << c.name << " @" << i;
  }
  EXPECT_FALSE(ts::Exists(root + "\\glob\\2.log"));
  EXPECT_EQ(f.txtfilecount.Text(), "5");
  EXPECT_EQ(f.txtfilesize.Text(), std::to_string(10 + 81 + 3 * 1024 * 1024 + 17 + 300 + 5));
}

TEST_F(Passes, AFileThatCannotBeDeletedIsNeverOverwritten) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string held = File("held.txt", "precious");
  File("glob\\1.log", "precious");
  File("glob\\2.log", "goes");
  std::string readOnly = File("glob\\3.log", "read-only");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Plugin("wipe", {"file=" + held + ",0", "file=" + root + "\\glob\\*.log,0", "file=" + root + "\\gone.txt,0"}, {});
  Select("wipe\r\n");
  Form1& f = Main();
  f.Load();
  // Another program reads them and lets nobody delete them.
  HANDLE h1 = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE h2 = CreateFileA((root + "\\glob\\1.log").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  f.chameleonButton5_Click();
  CloseHandle(h1);
  CloseHandle(h2);
  EXPECT_EQ(ts::ReadFile(held), "precious");
  EXPECT_EQ(ts::ReadFile(root + "\\glob\\1.log"), "precious");
  EXPECT_FALSE(ts::Exists(root + "\\glob\\2.log"));
  EXPECT_FALSE(ts::Exists(readOnly));  // a match of the pattern goes whatever its attributes
  // What was not erased says so and is not counted; a file that is not there has no row. The
  // pattern counts as one file with the bytes of the matches it erased, though one of them stays.
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + held + " <FAILED>",
                                     "Plug In Application Files = " + root + "\\glob\\*.log <FAILED>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_EQ(f.txtfilesize.Text(), std::to_string(std::string("goes").size() + std::string("read-only").size()));
}

// A test pass changes no attribute of what it lists (file entries, a pattern's matches, a folder
// entry's files); the erase pass takes read-only and hidden files all the same, and a file that
// stays keeps its own attributes.
TEST_F(Passes, TheTestPassChangesNoAttributeTheErasePassTakesEveryFile) {
  const DWORD ah = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, rh = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  std::string listed = File("a.txt");
  std::string match = File("logs\\1.log");
  std::string own = File("tree\\own.tmp"), deep = File("tree\\sub\\deep.tmp"), held = File("tree\\held.tmp");
  SetFileAttributesA(listed.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(match.c_str(), rh);
  SetFileAttributesA(own.c_str(), ah);
  SetFileAttributesA(deep.c_str(), rh);
  SetFileAttributesA(held.c_str(), ah);
  Plugin("p", {"file=" + listed + ",0", "file=" + root + "\\logs\\*.log,0", "folder=" + root + "\\tree\\*.tmp,1"}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  const std::vector<std::string> all = {listed, match, own, deep, held};
  std::vector<DWORD> before;
  for (const std::string& p : all) before.push_back(GetFileAttributesA(p.c_str()));
  f.chameleonButton6_Click();
  for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(GetFileAttributesA(all[i].c_str()), before[i]) << all[i];
  EXPECT_TRUE(before[1] & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(before[2] & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(f.txtfilecount.Text(), "5");

  // Another program has one open and lets nobody delete it.
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  f.chameleonButton5_Click();
  CloseHandle(h);
  for (const std::string& gone : {listed, match, own, deep}) EXPECT_FALSE(ts::Exists(gone)) << gone;
  EXPECT_EQ(GetFileAttributesA(held.c_str()), before[4]);
  Rows rows = mw::DetailRows(f);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "Plug In Application Files = " + held + " <FAILED>"), rows.end());
  EXPECT_EQ(f.txtfilecount.Text(), "4");
}

// A downloaded plug-in that names a drive, the Windows folder, a Program Files folder or the
// profile folder as a whole erases nothing there, whichever way it writes the folder; an entry below
// them is erased as usual. The decoys carry a name of their own, so a fault could cost nothing else.
TEST_F(Passes, NoPassTakesASystemFolderAsAWhole) {
  const pe::SystemFolders s;
  const std::string &windows = s.windows, &programFiles = s.programFiles, &profile = s.profile;
  const std::string decoy = "\\velk-decoy-" + rt::FileNameOf(ts::Scratch());
  std::vector<std::string> decoys;
  for (const std::string& system : {windows, programFiles, profile}) {
    ts::WriteFile(system + decoy + "\\a.velkdecoy", "decoy");
    decoys.push_back(system + decoy + "\\a.velkdecoy");
  }
  decoys.push_back(File("below-the-root\\a.velkdecoy", "decoy"));  // C:\ is above it
  std::string below = File("below\\b.velkdecoy");
  ts::HostLink(windows, root + "\\windows link");
  Rows entries;
  for (const std::string& system : {std::string("C:"), windows, programFiles, s.programFilesShort, profile,
                                    root + "\\windows link"})
    entries.push_back("folder=" + system + "\\*.velkdecoy,1");
  entries.push_back("folder=" + root + "\\below\\*.velkdecoy,1");
  Plugin("whole", entries, {});
  Select("whole\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + below + " <OK>"}));
  for (const std::string& d : decoys) EXPECT_EQ(ts::ReadFile(d), "decoy") << d;
  EXPECT_FALSE(ts::Exists(below));

  // Nor their own files, all of them, in a test pass.
  Plugin("whole", {"folder=C:\\*.*,0", "folder=" + windows + "\\*.*,0", "folder=" + profile + "\\*,0",
                   "file=" + programFiles + "\\*.*,0", "folder=" + root + "\\windows link\\*.*,0"},
         {});
  f.chameleonButton6_Click();
  EXPECT_TRUE(mw::DetailRows(f).empty());
  ts::HostUnlink(root + "\\windows link");
  for (const std::string& d : decoys) rt::DeleteTree(rt::ParentFolder(d));
}

TEST_F(Passes, NoOverwriteOfAMissingFileADeviceOrALink) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string outside = "C:\\velk-tests\\outside\\passes-target.txt";
  ts::WriteFile(outside, "precious");
  std::string link = root + "\\link.txt";
  rt::CreateFolder(root);
  ts::HostLink(outside, link);
  Plugin("risky", {"file=" + root + "\\missing.txt,0", "file=" + link + ",0", "file=C:\\velk-tests\\nul.txt,0"}, {});
  Select("risky\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(root + "\\missing.txt"));  // nothing was created
  EXPECT_EQ(ts::ReadFile(outside), "precious");
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + link + " <FAILED>"}));
  rt::DeleteTree("C:\\velk-tests\\outside");
}

TEST_F(Passes, AFolderEntryNeverFollowsALinkedFolder) {
  std::string outside = "C:\\velk-tests\\outside\\passes-folder";
  ts::WriteFile(outside + "\\keep.tmp", "precious");
  File("tree\\a.tmp");
  ts::HostLink(outside, root + "\\tree\\linked");
  Plugin("tree", {"folder=" + root + "\\tree\\*.tmp,1"}, {});
  Select("tree\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(root + "\\tree\\a.tmp"));
  EXPECT_EQ(ts::ReadFile(outside + "\\keep.tmp"), "precious");
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + root + "\\tree\\a.tmp <OK>"}));
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// A sub-folder swapped for a link to a folder elsewhere once the search has listed it: the file
// listed there is looked for through the link, and what it finds is left alone.
TEST_F(Passes, AFolderSwappedForALinkAfterTheSearchErasesNothingOutside) {
  std::string outside = "C:\\velk-tests\\outside\\passes-swapped";
  ts::WriteFile(outside + "\\b.tmp", "precious");
  SetFileAttributesA((outside + "\\b.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(outside + "\\b.tmp");
  std::string a = File("tree\\a.tmp");
  std::string b = File("tree\\sub\\b.tmp");
  Plugin("tree", {"folder=" + root + "\\tree\\*.tmp,1"}, {});
  Select("tree\r\n");
  Form1& f = Main();
  f.Load();
  ts::OnWalkListed swap(root + "\\tree", [&] {
    rt::DeleteTree(root + "\\tree\\sub");
    ts::HostLink(outside, root + "\\tree\\sub");
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(swap.Ran());
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + a + " <OK>",
                                     "Plug In Application Files = " + b + " <FAILED>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "1");
  EXPECT_FALSE(ts::Exists(a));
  EXPECT_EQ(ts::ReadFile(outside + "\\b.tmp"), "precious");
  EXPECT_EQ(rt::GetAttr(outside + "\\b.tmp"), attributes);
  ts::HostUnlink(root + "\\tree\\sub");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// A folder entry's folder swapped for a link to a system folder after the work lists were checked,
// the moment before its walk resolves its root (another program acting between the two): the walk
// is checked by what its root resolved to, so it takes nothing there and writes no row.
TEST_F(Passes, AFolderSwappedForALinkBetweenItsCheckAndItsWalkErasesNothingThere) {
  // The Windows folder as the settings name it: a system folder of the test's own.
  const char* key = "Software\\Microsoft\\Windows\\CurrentVersion";
  std::string saved;
  const bool had = ReadRegString(HKEY_LOCAL_MACHINE, key, "systemroot", saved);
  const std::string windows = ts::Scratch() + "\\windows";
  WriteRegString(HKEY_LOCAL_MACHINE, key, "systemroot", windows);
  ts::WriteFile(windows + "\\a.velkdecoy", "decoy");
  File("swapped\\own.velkdecoy");
  Plugin("p", {"folder=" + root + "\\swapped\\*.velkdecoy,1"}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  f.Command400_Click();  // the work lists, checked as they are loaded
  {
    ts::AroundResolving swap(root + "\\swapped", 1, ts::AroundResolving::kBefore, [&] {
      rt::DeleteTree(root + "\\swapped");
      ts::HostLink(windows, root + "\\swapped");
    });
    f.Command4_Click();
    EXPECT_TRUE(swap.Ran());
  }
  EXPECT_EQ(ts::ReadFile(windows + "\\a.velkdecoy"), "decoy");
  EXPECT_TRUE(mw::DetailRows(f).empty());
  ts::HostUnlink(root + "\\swapped");
  if (had)
    WriteRegString(HKEY_LOCAL_MACHINE, key, "systemroot", saved);
  else
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key, "systemroot");
}

// A file entry's folder swapped for a link the moment before its file is erased: the file is
// looked for through the link, and what it finds there is left alone.
TEST_F(Passes, AFileEntrysFolderSwappedForALinkJustBeforeTheEraseErasesNothingOutside) {
  std::string outside = "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch());
  ts::WriteFile(outside + "\\a.txt", "precious");
  std::string a = File("sub\\a.txt");
  Plugin("p", {"file=" + a + ",0"}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  ts::BeforeErasing swap(a, [&] {
    rt::DeleteTree(root + "\\sub");
    ts::HostLink(outside, root + "\\sub");
  });
  f.chameleonButton5_Click();
  EXPECT_TRUE(swap.Ran());
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + a + " <FAILED>"}));
  EXPECT_EQ(f.txtfilecount.Text(), "0");
  EXPECT_EQ(ts::ReadFile(outside + "\\a.txt"), "precious");
  ts::HostUnlink(root + "\\sub");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

// Names that Windows-1252 cannot spell, in a folder entry's folder and below it: listed with their
// sizes, spelled as the code page does, and erased like any other.
TEST_F(Passes, AFolderEntryTakesNamesTheCodePageCannotSpell) {
  const std::wstring w = rt::ToWide(root) + L"\\wide";
  ts::WriteWideFile(w + L"\\\x043f\x0440\x0438.tmp", "123");
  ts::WriteWideFile(w + L"\\\x6587\x4ef6\\\x6587.tmp", "12345");
  std::string plain = File("wide\\plain.tmp", "1");
  Plugin("wide", {"folder=" + root + "\\wide\\*.tmp,1"}, {});
  Select("wide\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  Rows rows = {"Plug In Application Files = " + root + "\\wide\\???.tmp <OK>", "Plug In Application Files = " + plain + " <OK>",
               "Plug In Application Files = " + root + "\\wide\\??\\?.tmp <OK>"};
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilecount.Text(), "3");
  EXPECT_EQ(f.txtfilesize.Text(), "9");
  EXPECT_TRUE(ts::WideExists(w + L"\\\x043f\x0440\x0438.tmp"));
  f.chameleonButton5_Click();
  EXPECT_EQ(mw::DetailRows(f), rows);
  EXPECT_EQ(f.txtfilesize.Text(), "9");
  EXPECT_FALSE(ts::WideExists(w + L"\\\x043f\x0440\x0438.tmp"));
  EXPECT_FALSE(ts::WideExists(w + L"\\\x6587\x4ef6\\\x6587.tmp"));
  EXPECT_FALSE(ts::Exists(plain));
}

TEST_F(Passes, AWholeRunErasesTheSelectedPluginOnly) {
  std::string mine = File("mine\\a.tmp");
  std::string theirs = File("theirs\\a.tmp");
  mw::SetUserValue("Software\\VelkPlug\\Mine", "v", "1");
  mw::SetUserValue("Software\\VelkPlug\\Theirs", "v", "1");
  Plugin("b", {"file=" + mine + ",0"}, {"HKEY_CURRENT_USER\\Software\\VelkPlug\\Mine,v,4"});
  Plugin("[ab]", {"file=" + theirs + ",0"}, {"HKEY_CURRENT_USER\\Software\\VelkPlug\\Theirs,v,4"});
  Select("b\r\n");
  mw::Enable({"11"});
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(mine));
  EXPECT_FALSE(mw::UserValueExists("Software\\VelkPlug\\Mine", "v"));
  EXPECT_TRUE(ts::Exists(theirs));
  EXPECT_TRUE(mw::UserValueExists("Software\\VelkPlug\\Theirs", "v"));
  // The plug-in comes after the built-in categories, in the rows and in the status list.
  Rows rows = mw::DetailRows(f);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], "Windows Start Run History  <OK>");
  EXPECT_EQ(f.View100.Text(2), "b");
  EXPECT_EQ(f.Text14.Text(), "2");
  for (int i = 1; i <= 2; ++i) EXPECT_EQ(f.View100.SubItem(i, 1), "Done");
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\slectplg.cln"), "b\r\n");
  EXPECT_NE(ts::ReadFile(ts::ProgramDir() + "\\eraselog.txt").find("Test Mode : Erasing Plug In Application Files = " + mine),
            std::string::npos);
}

TEST_F(Passes, OfTwoPluginsWhoseNamesDifferOnlyInBlanksARunTakesOne) {
  std::string blank = File("blank.tmp");
  std::string plain = File("plain.tmp");
  Plugin("p ", {"file=" + blank + ",0"}, {});  // listed first: " " sorts before "."
  Plugin("p", {"file=" + plain + ",0"}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton5_Click();
  EXPECT_EQ(f.View1.Count(), 1);
  EXPECT_FALSE(ts::Exists(blank));
  EXPECT_TRUE(ts::Exists(plain));
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\slectplg.cln"), "p \r\n");
}

TEST_F(Passes, WithoutASelectionFileThePassesFindNothing) {
  std::string a = File("a.tmp");
  Plugin("p", {"file=" + a + ",0"}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  EXPECT_EQ(f.View200.Count(), 1);
  DeleteFileA((ts::ProgramDir() + "\\slectplg.cln").c_str());
  f.chameleonButton5_Click();  // the work lists of the earlier load are not used
  EXPECT_EQ(f.View200.Count(), 0);
  EXPECT_TRUE(ts::Exists(a));
}

TEST_F(Passes, HandEditedWorkListsAreCheckedAgain) {
  std::string a = File("a.tmp");
  File("f\\x.tmp");
  Plugin("p", {}, {});
  Select("p\r\n");
  Form1& f = Main();
  f.Load();
  f.Command400_Click();
  // Someone edits the work lists after the build: the loader checks every entry again.
  rt::WriteLinesReplacing(plugins::FileListFile(), {"relative.tmp", "\\\\.\\PhysicalDrive0", a, "C:\\x\\con"});
  rt::WriteLinesReplacing(plugins::FolderListFile(), {"C:\\", "*.*", "7", root + "\\f\\", "*.tmp", "0", "C:\\"});
  rt::WriteLinesReplacing(plugins::RegistryListFile(), {"HKEY_CURRENT_USER\\,1", "nonsense", "HKEY_CURRENT_USER\\Software\\VelkPlug\\X,1"});
  f.Command3_Click();
  EXPECT_EQ(f.List7.Items(), (Rows{a}));
  EXPECT_EQ(f.List8.Items(), (Rows{root + "\\f\\"}));
  EXPECT_EQ(f.List9.Items(), (Rows{"*.tmp"}));
  EXPECT_EQ(f.List10.Items(), (Rows{"0"}));
  EXPECT_EQ(f.List11.Items(), (Rows{"HKEY_CURRENT_USER\\Software\\VelkPlug\\X,1"}));
}

TEST_F(Passes, ASelectionThatCannotBeReadKeepsItsFilesAndTheRunUsesThem) {
  std::string a = File("a.tmp");
  std::string b = File("b.tmp");
  Plugin("a", {"file=" + a + ",0"}, {});
  Plugin("b", {"file=" + b + ",0"}, {});
  Select("a\r\n");
  Form1& f = Main();
  f.Load();
  f.chameleonButton6_Click();
  std::string before = ts::ReadFile(plugins::FileListFile());
  ASSERT_EQ(before, a + "\r\n");
  // Another program holds the selection file: the run cannot tell what is selected, so it
  // rewrites nothing and takes the work lists as they are.
  HANDLE lock = CreateFileA((ts::ProgramDir() + "\\slectplg.cln").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  f.chameleonButton5_Click();
  CloseHandle(lock);
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\slectplg.cln"), "a\r\n");
  EXPECT_FALSE(ts::Exists(a));
  EXPECT_TRUE(ts::Exists(b));
}

TEST_F(Passes, ARunAskedForDuringASelectionSaveWaitsForIt) {
  std::string a = File("a.tmp");
  Plugin("a", {"file=" + a + ",0"}, {});
  Select("a\r\n");
  Form1& f = Main();
  f.Load();
  bool ranInside = false;
  plugins::RunBuild(&f, 7, [&] {
    f.chameleonButton6_Click();  // a scheduled run, say, arriving during a yield of the save
    ranInside = f.View200.Count() > 0 || f.RunInProgress();
  });
  EXPECT_FALSE(ranInside);
  EXPECT_EQ(mw::DetailRows(f), (Rows{"Plug In Application Files = " + a + " <OK>"}));
}

}  // namespace
