// How the engine takes plug-in files and its work lists: entries checked line by line, the
// selection by name, the files it writes.
#include "pluginengine/engine.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fixture.h"
#include "forms/forms.h"
#include "runtime/files.h"
#include "shared/systemfolders.h"
#include "support/scratch.h"
#include "systemfolders.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Entries, FileEntriesNeedAnAbsolutePathACommaAndAFlag) {
  struct Case {
    const char* line;
    const char* path;  // nullptr: skipped
  } cases[] = {
      {"file=C:\\a.txt,0", "C:\\a.txt"},
      {"file=C:\\dir with blanks\\a,b.txt,1", "C:\\dir with blanks\\a,b.txt"},
      {"file=C:\\Temp\\*.log,0", "C:\\Temp\\*.log"},
      {"file=\\\\server\\share\\a.txt,0", "\\\\server\\share\\a.txt"},
      {"File=C:\\a.txt,0", nullptr},
      {"file=C:\\a.txt", nullptr},
      {"file=C:\\a.txt,", nullptr},
      {"file=C:\\a.txt,2", nullptr},
      {"file=a.txt,0", nullptr},
      {"file=\\temp\\a.txt,0", nullptr},
      {"file=C:temp\\a.txt,0", nullptr},
      {"file=,0", nullptr},
      {"file=C:\\,0", nullptr},
      {"file=\\\\.\\PhysicalDrive0,0", nullptr},
      {"file=\\\\?\\C:\\a.txt,0", nullptr},
      {"file=C:\\temp\\nul.txt,0", nullptr},
      {"file=C:\\temp\\COM1,0", nullptr},
      {"file=C:\\x\\..\\windows\\a,0", nullptr},
      {"file=C:\\*\\a.txt,0", nullptr},
      {"file=C:\\a\tb.txt,0", nullptr},
      {"file=C:\\a.txt:stream,0", nullptr},
      {"file=C:/temp/a.txt,0", nullptr},
  };
  for (const auto& c : cases) {
    std::string path;
    EXPECT_EQ(plugins::ParseFileEntry(c.line, path), c.path != nullptr) << c.line;
    if (c.path) {
      EXPECT_EQ(path, c.path) << c.line;
    }
  }
}

TEST(Entries, FolderEntriesNeedAFolderAMaskAndAFlag) {
  struct Case {
    const char* line;
    bool ok;
    const char* folder;
    const char* mask;
    const char* flag;
  } cases[] = {
      {"folder=C:\\temp\\*.*,1", true, "C:\\temp\\", "*.*", "1"},
      {"folder=C:\\temp\\*.tmp,0", true, "C:\\temp\\", "*.tmp", "0"},
      {"folder=C:\\*.log,0", true, "C:\\", "*.log", "0"},
      {"folder=C:\\Program Files\\App\\cache*.dat,1", true, "C:\\Program Files\\App\\", "cache*.dat", "1"},
      {"folder=C:\\temp\\,1", false, "", "", ""},
      {"folder=C:\\temp\\*.*", false, "", "", ""},
      {"folder=C:\\temp\\*.*,2", false, "", "", ""},
      {"folder=temp\\*.*,1", false, "", "", ""},
      {"folder=*.*,1", false, "", "", ""},
      {"folder=C:\\te*p\\*.*,1", false, "", "", ""},
      {"folder=\\\\.\\C:\\*.*,1", false, "", "", ""},
      {"Folder=C:\\temp\\*.*,1", false, "", "", ""},
  };
  for (const auto& c : cases) {
    plugins::FolderEntry e;
    EXPECT_EQ(plugins::ParseFolderEntry(c.line, e), c.ok) << c.line;
    if (!c.ok) continue;
    EXPECT_EQ(e.folder, c.folder) << c.line;
    EXPECT_EQ(e.mask, c.mask) << c.line;
    EXPECT_EQ(e.flag, c.flag) << c.line;
  }
  EXPECT_FALSE(plugins::IsValidFolderEntry({"C:\\temp\\", "a:b", "1"}));
  EXPECT_FALSE(plugins::IsValidFolderEntry({"C:\\temp\\", "..\\*.*", "1"}));
  EXPECT_FALSE(plugins::IsValidFolderEntry({"C:\\temp", "*.*", "1"}));
  EXPECT_FALSE(plugins::IsValidFolderEntry({"C:\\temp\\", "", "1"}));
}

// No entry takes a drive, the Windows folder, a Program Files folder or the user's profile folder
// as a whole, however the folder is written; what lies below them stays open to plug-ins.
TEST(Entries, NoEntryTakesASystemFolderAsAWhole) {
  const pe::SystemFolders s;
  ASSERT_TRUE(rt::IsAbsolutePath(s.windows) && rt::IsAbsolutePath(s.programFiles) && rt::IsAbsolutePath(s.profile));
  ASSERT_NE(s.programFilesShort, s.programFiles);
  std::vector<std::string> systemFolders = {"C:", "Z:", "\\\\server\\share", s.windows, rt::UCase(s.windows),
                                            s.programFiles, s.programFilesShort, s.profile,
                                            rt::ParentFolder(s.profile)};  // every user's profile
  if (!s.programFilesX86.empty()) systemFolders.push_back(s.programFilesX86);
  for (const std::string& system : systemFolders) {
    SCOPED_TRACE(system);
    plugins::FolderEntry e;
    std::string path;
    for (const char* entry : {"\\*.*,1", "\\*.tmp,1", "\\*.*,0", "\\*,0", "\\*.???,0"})
      EXPECT_FALSE(plugins::ParseFolderEntry("folder=" + system + entry, e)) << entry;
    EXPECT_FALSE(plugins::ParseFileEntry("file=" + system + "\\*.*,0", path));
    // A mask that names the files, without the sub-folders, and everything below stays.
    EXPECT_TRUE(plugins::ParseFolderEntry("folder=" + system + "\\*.log,0", e));
    EXPECT_TRUE(plugins::ParseFileEntry("file=" + system + "\\*.log,0", path));
    EXPECT_TRUE(plugins::ParseFileEntry("file=" + system + "\\setup.log,0", path));
    EXPECT_TRUE(plugins::ParseFolderEntry("folder=" + system + "\\Temp\\*.*,1", e));
  }
}

// The guard asks the platform what a folder is, so no spelling gets past it: the Windows folder
// through the host's own path to it (drive Z:), and a Windows folder that the settings name in
// letters the code page cannot spell, written by its short name.
TEST(Entries, TheGuardKnowsASystemFolderByWhatItResolvesTo) {
  const pe::SystemFolders s;
  const std::string viaHost = "Z:" + rt::ReplaceAll(ts::UnixPath(s.windows), "/", "\\");
  ASSERT_TRUE(rt::FolderExists(viaHost)) << viaHost;
  EXPECT_TRUE(IsSystemFolder(viaHost));
  EXPECT_TRUE(IsSystemFolder(viaHost + "\\"));
  EXPECT_FALSE(IsSystemFolder(viaHost + "\\Temp"));

  const std::wstring omega = rt::ToWide(ts::Scratch()) + L"\\\u03a9mega windows";
  ASSERT_TRUE(CreateDirectoryW(omega.c_str(), nullptr));
  wchar_t shortName[MAX_PATH] = L"";
  ASSERT_GT(GetShortPathNameW(omega.c_str(), shortName, MAX_PATH), 0u);
  bool lossy = false;
  const std::string shortAnsi = rt::ToAnsi(shortName, &lossy);
  ASSERT_FALSE(lossy) << "a short name is spelled in ASCII";
  EXPECT_FALSE(IsSystemFolder(shortAnsi));
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"systemroot", REG_SZ, omega.c_str(),
                            static_cast<DWORD>((omega.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ForgetSystemFolders();
  EXPECT_TRUE(IsSystemFolder(shortAnsi));
  plugins::FolderEntry e;
  EXPECT_FALSE(plugins::ParseFolderEntry("folder=" + shortAnsi + "\\*.*,1", e));
  EXPECT_TRUE(plugins::ParseFolderEntry("folder=" + shortAnsi + "\\Temp\\*.*,1", e));
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"systemroot");
  ForgetSystemFolders();
}

TEST(Entries, RegistryLinesNameARootAKeyAndAnAction) {
  struct Case {
    const char* line;
    bool ok;
    const char* root;
    const char* key;
    char action;
    const char* value;
    const char* parent;
    const char* name;
  } cases[] = {
      {"HKEY_CURRENT_USER\\Software\\Example\\Sub,1", true, "HKCU", "Software\\Example\\Sub", '1', "", "Software\\Example", "Sub"},
      {"hkey_local_machine\\Software\\Example,Name,4", true, "HKLM", "Software\\Example", '4', "Name", "Software", "Example"},
      {"HKEY_CURRENT_USER\\Software\\Example,Name with, comma,4", true, "HKCU", "Software\\Example,Name with", '4', " comma", "Software", "Example,Name with"},
      {"HKEY_USERS\\.DEFAULT\\Software\\X,2", true, "HKU", ".DEFAULT\\Software\\X", '2', "", ".DEFAULT\\Software", "X"},
      {"HKEY_CLASSES_ROOT\\.xyz,3", true, "HKCR", ".xyz", '3', "", "", ".xyz"},
      {"HKEY_CURRENT_CONFIG\\Software\\X,1", true, "HKCC", "Software\\X", '1', "", "Software", "X"},
      {"  HKEY_CURRENT_USER\\Software\\X,1  ", true, "HKCU", "Software\\X", '1', "", "Software", "X"},
      {"HKEY_CURRENT_USER\\Software\\Example,4", false},
      {"HKEY_CURRENT_USER\\Software\\Example,,4", false},
      {"HKEY_CURRENT_USER\\,1", false},
      {"HKEY_CURRENT_USER,1", false},
      {"HKEY_CURRENT_USERS\\Software,1", false},
      {"HKCU\\Software\\X,1", false},
      {"Software\\X,1", false},
      {"HKEY_CURRENT_USER\\Software\\X,5", false},
      {"HKEY_CURRENT_USER\\Software\\X1", false},
      {"HKEY_CURRENT_USER\\Software\\\\X,1", false},
      {"HKEY_CURRENT_USER\\Software\\X\\,1", false},
      {"HKEY_CURRENT_USER\\Soft\x01ware,1", false},
      {"", false},
  };
  for (const auto& c : cases) {
    plugins::RegistryEntry r;
    EXPECT_EQ(plugins::ParseRegistryEntry(c.line, r), c.ok) << c.line;
    if (!c.ok) continue;
    EXPECT_EQ(r.root, c.root) << c.line;
    EXPECT_EQ(r.keyPath, c.key) << c.line;
    EXPECT_EQ(r.action, c.action) << c.line;
    EXPECT_EQ(r.valueName, c.value) << c.line;
    EXPECT_EQ(r.parentPath, c.parent) << c.line;
    EXPECT_EQ(r.keyName, c.name) << c.line;
  }
}

TEST(Entries, APluginFileGivesOnlyItsWellFormedEntries) {
  std::string p = ts::Scratch() + "\\x.vk";
  ts::WriteFile(p,
                "files\r\nregistry\r\nHKEY_CURRENT_USER\\A,1\r\n"  // a title that reads "files"
                "files\r\nfile=C:\\never.txt,0\r\n");                // after "registry": nothing more
  plugins::PluginItems items;
  plugins::ReadPluginItems(p, items);
  EXPECT_TRUE(items.files.empty());
  EXPECT_EQ(items.registry, (Lines{"HKEY_CURRENT_USER\\A,1"}));

  ts::WriteFile(p,
                "T\r\nP\r\nD\r\nFILES\r\nfile=C:\\a.txt,0\r\nFile=C:\\b.txt,0\r\nC:\\c.txt\r\nfile=relative.txt,0\r\n"
                "folder=C:\\temp\\*.tmp,1\r\nfolder=C:\\temp\\,1\r\n registry \r\nHKEY_CURRENT_USER\\Software\\X,3\r\n"
                "\r\nnot a key\r\nHKEY_LOCAL_MACHINE\\Software\\Y,Value,4\r\n");
  items = {};
  plugins::ReadPluginItems(p, items);
  EXPECT_EQ(items.files, (Lines{"C:\\a.txt"}));
  ASSERT_EQ(items.folders.size(), 1u);
  EXPECT_EQ(items.folders[0].folder, "C:\\temp\\");
  EXPECT_EQ(items.folders[0].mask, "*.tmp");
  EXPECT_EQ(items.registry, (Lines{"HKEY_CURRENT_USER\\Software\\X,3", "HKEY_LOCAL_MACHINE\\Software\\Y,Value,4"}));

  // A line longer than any plug-in holds: the file is not read in part, it gives nothing at all.
  ts::WriteFile(p, "T\r\nP\r\nD\r\nfiles\r\nfile=C:\\a.txt,0\r\n" + std::string(70000, ' ') + "\r\nfile=C:\\b.txt,0\r\n"
                   "registry\r\nHKEY_CURRENT_USER\\Software\\X,3\r\n");
  items = {};
  plugins::ReadPluginItems(p, items);
  EXPECT_TRUE(items.files.empty());
  EXPECT_TRUE(items.registry.empty());
}

// --- the plug-in list and the files the builder writes ----------------------------------------

class ListHost : public forms::Form {
 public:
  ListHost() : Form("ListHost"), View1(*this, "View1"), List4(*this, "List4"), List5(*this, "List5"), List6(*this, "List6") {
    View1.SetCheckboxes(true);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&View1, &List4, &List5, &List6})
      c->SetVisible(false);
  }
  forms::ListView View1;
  forms::ListBox List4, List5, List6;
};

class PluginList : public ::testing::Test {
 protected:
  void Plugin(const std::string& name, const std::string& bytes = "T\r\nP\r\nD\r\nfiles\r\nregistry\r\n") {
    ts::WriteFile(ts::ProgramDir() + "\\plugins\\" + name, bytes);
  }
  void Select(const std::string& bytes) { ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", bytes); }
  Lines Ticked() {
    Lines t;
    for (int i = 1; i <= host.View1.Count(); ++i)
      if (host.View1.Checked(i)) t.push_back(host.View1.Text(i));
    return t;
  }
  ListHost host;
  int ticks = 0;
  plugins::PluginListFill Fill() { return plugins::FillPluginList(host.View1, "b", [this] { ++ticks; }); }
};

TEST_F(PluginList, APluginIsTickedByItsNameOnly) {
  for (const char* n : {"[ab].vk", "b.vk", "game #1.vk", "Cleanup.vk", "log.vk", "logfiles.vk", "notes.vkx"}) Plugin(n);
  Select(" cleanup \r\nb\r\ngame #1\r\nlog*\r\n\r\n");
  EXPECT_EQ(Fill(), plugins::PluginListFill::Ticked);
  Lines rows;
  for (int i = 1; i <= host.View1.Count(); ++i) rows.push_back(host.View1.Text(i));
  EXPECT_EQ(rows, (Lines{"[ab]", "b", "Cleanup", "game #1", "log", "logfiles"}));
  EXPECT_EQ(Ticked(), (Lines{"b", "Cleanup", "game #1"}));
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(host.View1.Item(1).tag, "[ab].vk");
  EXPECT_EQ(host.View1.Item(1).smallIcon, "b");
}

TEST_F(PluginList, WithoutASelectionFileNothingIsTicked) {
  Plugin("a.vk");
  EXPECT_EQ(Fill(), plugins::PluginListFill::NoSelection);
  EXPECT_EQ(host.View1.Count(), 1);
  EXPECT_TRUE(Ticked().empty());
}

TEST_F(PluginList, AnEmptyPluginsFolderGivesNoRow) {
  Select("\r\n");
  EXPECT_EQ(Fill(), plugins::PluginListFill::Ticked);
  EXPECT_EQ(host.View1.Count(), 0);
}

TEST_F(PluginList, TheBuilderWritesTheSelectionAndTheWorkLists) {
  Plugin("one.vk",
         "One\r\nP\r\nD\r\nfiles\r\nfile=C:\\a.txt,0\r\nfolder=C:\\temp\\*.tmp,1\r\nregistry\r\n"
         "HKEY_CURRENT_USER\\Software\\One,1\r\n");
  Plugin("two .vk", "Two\r\nP\r\nD\r\nfiles\r\nfile=C:\\b.txt,1\r\nregistry\r\n");
  Plugin("three.vk", "Three\r\nP\r\nD\r\nfiles\r\nfile=C:\\never.txt,0\r\nregistry\r\n");
  Select("one\r\ntwo\r\n");
  std::string sel = ts::ProgramDir() + "\\slectplg.cln";
  SetFileAttributesA(sel.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(Fill(), plugins::PluginListFill::Ticked);
  plugins::BuildWorkLists(host.View1, host.List4, host.List5, host.List6);
  // Rows are in name order; a row keeps the exact file it came from ("two .vk", not "two.vk").
  EXPECT_EQ(ts::ReadFile(sel), "one\r\ntwo \r\n");
  EXPECT_EQ(ts::ReadFile(plugins::FileListFile()), "C:\\a.txt\r\nC:\\b.txt\r\n");
  EXPECT_EQ(ts::ReadFile(plugins::FolderListFile()), "C:\\temp\\\r\n*.tmp\r\n1\r\n");
  EXPECT_EQ(ts::ReadFile(plugins::RegistryListFile()), "HKEY_CURRENT_USER\\Software\\One,1\r\n");
}

TEST_F(PluginList, FilesWhoseNamesDifferOnlyInBlanksOrCaseGiveOneRow) {
  // One selection line would name them all: the first listed is the plug-in, the others are left out.
  Plugin("alpha.vk", "A\r\nP\r\nD\r\nfiles\r\nfile=C:\\plain.txt,0\r\nregistry\r\n");
  Plugin("alpha .vk", "A\r\nP\r\nD\r\nfiles\r\nfile=C:\\blank.txt,0\r\nregistry\r\n");
  Plugin(" ALPHA.vk", "A\r\nP\r\nD\r\nfiles\r\nfile=C:\\leading.txt,0\r\nregistry\r\n");
  Plugin("alphabet.vk");
  Select("alpha\r\n");
  ASSERT_EQ(Fill(), plugins::PluginListFill::Ticked);
  Lines rows;
  for (int i = 1; i <= host.View1.Count(); ++i) rows.push_back(host.View1.Text(i) + "|" + host.View1.Item(i).tag);
  EXPECT_EQ(rows, (Lines{"ALPHA| ALPHA.vk", "alphabet|alphabet.vk"}));  // a leading blank sorts first
  EXPECT_EQ(ticks, 1);
  plugins::BuildWorkLists(host.View1, host.List4, host.List5, host.List6);
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\slectplg.cln"), "ALPHA\r\n");
  EXPECT_EQ(ts::ReadFile(plugins::FileListFile()), "C:\\leading.txt\r\n");
}

TEST_F(PluginList, ASelectionThatCannotBeReadTicksNothingAndSaysSo) {
  Plugin("a.vk");
  Select("a\r\n");
  HANDLE lock = CreateFileA((ts::ProgramDir() + "\\slectplg.cln").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Fill(), plugins::PluginListFill::Unreadable);
  CloseHandle(lock);
  EXPECT_EQ(host.View1.Count(), 1);
  EXPECT_TRUE(Ticked().empty());
}

// --- one rewrite at a time ---------------------------------------------------------------------

TEST(Builds, ARewriteAskedForDuringAnotherRunsAfterItOnceInTheOrderAsked) {
  std::vector<std::string> log;
  int owner1 = 0, owner2 = 0;
  plugins::RunBuild(&owner1, 1, [&] {
    log.push_back("first begins");
    EXPECT_TRUE(plugins::BuildInProgress());
    // Asked for from one of its yields: they wait; the newer request of one owner and kind wins.
    plugins::RunBuild(&owner2, 1, [&] { log.push_back("stale"); });
    plugins::RunBuild(&owner1, 2, [&] { log.push_back("other kind"); });
    plugins::RunBuild(&owner2, 1, [&] { log.push_back("second"); });
    plugins::AfterBuilds([&] { log.push_back("after all"); });
    log.push_back("first ends");
  });
  EXPECT_EQ(log, (Lines{"first begins", "first ends", "second", "other kind", "after all"}));
  EXPECT_FALSE(plugins::BuildInProgress());
  // Nothing in progress: at once.
  plugins::AfterBuilds([&] { log.push_back("at once"); });
  EXPECT_EQ(log.back(), "at once");
  // An owner that goes away takes its waiting requests with it.
  log.clear();
  plugins::RunBuild(&owner1, 1, [&] {
    plugins::RunBuild(&owner2, 1, [&] { log.push_back("dropped"); });
    plugins::DropBuilds(&owner2);
  });
  EXPECT_TRUE(log.empty());
}

TEST(Builds, ARewriteThatFailsGivesTheLockBack) {
  int owner = 0;
  std::vector<std::string> log;
  EXPECT_THROW(plugins::RunBuild(&owner, 1, [] { throw std::runtime_error("disk gone"); }), std::runtime_error);
  EXPECT_FALSE(plugins::BuildInProgress());
  plugins::RunBuild(&owner, 1, [&] { log.push_back("next"); });
  EXPECT_EQ(log, (Lines{"next"})) << "the next rewrite runs at once, not behind the failed one";
}

}  // namespace
