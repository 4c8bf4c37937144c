#include "shared/pluginfile.h"

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "shared/settings.h"
#include "support/scratch.h"

namespace {

using Lines = std::vector<std::string>;

TEST(PluginFile, WritesItsLayoutExactly) {
  EXPECT_EQ(PluginFileText("", "", "", {}, {}), "\r\n\r\n\r\nfiles\r\nregistry\r\n");
  EXPECT_EQ(PluginFileText("  Cleaner  ", " Morvane", "Cleans up ", {"  file=C:\\a.txt,0  ", "", "   "},
                           {"HKEY_CURRENT_USER\\Software\\X,1", " "}),
            "Cleaner\r\nMorvane\r\nCleans up\r\nfiles\r\nfile=C:\\a.txt,0\r\nregistry\r\n"
            "HKEY_CURRENT_USER\\Software\\X,1\r\n");
}

TEST(PluginFile, WritesBesideTheOldFileAndMovesItOver) {
  std::string p = ts::Scratch() + "\\a.vk";
  ts::WriteFile(p, std::string(500, 'x'));
  ASSERT_TRUE(WritePluginFile(p, "T", "P", "D", {"file=C:\\a.txt,0"}, {}));
  EXPECT_EQ(ts::ReadFile(p), "T\r\nP\r\nD\r\nfiles\r\nfile=C:\\a.txt,0\r\nregistry\r\n");
  EXPECT_FALSE(ts::Exists(p + ".~new"));
}

TEST(PluginFile, AnImportedFileKeepsItsWholeNameInItsCodePage) {
  constexpr unsigned kJapanese = 932, kWestern = 1252;
  const std::string hyou = "\x95\x5c";  // one character in code page 932; its second byte is the one of "\"
  EXPECT_EQ(PluginImportName(" C:\\dl\\" + hyou + ".vk ", kJapanese), hyou + ".vk");
  EXPECT_EQ(PluginImportName("C:\\" + hyou + "\\new.vk", kJapanese), "new.vk");
  EXPECT_EQ(PluginImportName("C:\\dl\\" + hyou + ".vk", kWestern), ".vk") << "byte by byte, the name is cut";
  for (const char* none : {"", "C:\\dl\\", "C:\\dl\\*.vk", "C:\\dl\\..", "C:\\dl\\con.vk", "C:\\dl\\a.vk."})
    EXPECT_EQ(PluginImportName(none), "") << none;
  EXPECT_EQ(PluginImportName("C:\\dl\\my plug-in.vk"), "my plug-in.vk");
}

TEST(PluginFile, SectionLinesAndLineBreaks) {
  for (const char* section : {"files", "registry", " FILES ", "Registry", "  rEgIsTrY"}) EXPECT_TRUE(IsSectionLine(section));
  for (const char* other : {"", "files:", "registry cleaner", "file", "files\n", "\tfiles"}) EXPECT_FALSE(IsSectionLine(other));
  EXPECT_EQ(WithoutLineBreaks("a\r\nb\rc\nd"), "abcd");
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::string title;
  Lines files, registry;
};

TEST(PluginFile, ReadsByTheEditorsRules) {
  const ReadCase cases[] = {
      {"plain", "T\r\nP\r\nD\r\nfiles\r\nfile=C:\\a,0\r\nfolder=C:\\t\\*.*,1\r\nregistry\r\nHKEY_USERS\\x,1\r\n", "T",
       {"file=C:\\a,0", "folder=C:\\t\\*.*,1"}, {"HKEY_USERS\\x,1"}},
      {"sections in any case", "T\r\nP\r\nD\r\n  FILES \r\n x \r\n Registry\r\ny\r\n", "T", {" x "}, {"y"}},
      {"lines before files are dropped", "T\r\nP\r\nD\r\nstray\r\nfiles\r\nregistry\r\n", "T", {}, {}},
      {"files after registry ends the file", "T\r\nP\r\nD\r\nregistry\r\nr1\r\nfiles\r\nf1\r\nr2\r\n", "T", {}, {"r1"}},
      {"lone CR ends lines", "T\rP\rD\rfiles\rf\rregistry\rr\r", "T", {"f"}, {"r"}},
      {"LF only is one line", "T\nP\nD\nfiles\nf\n", "T\nP\nD\nfiles\nf\n", {}, {}},
      {"a first line of files", "files\r\nP\r\nD\r\n", "files", {"P", "D"}, {}},
  };
  for (const auto& c : cases) {
    std::string p = ts::Scratch() + "\\p.vk";
    ts::WriteFile(p, c.bytes);
    PluginContent pc;
    ASSERT_EQ(ReadPluginFile(p, pc), PluginRead::Read) << c.name;
    EXPECT_EQ(pc.header[0], c.title) << c.name;
    EXPECT_EQ(pc.files, c.files) << c.name;
    EXPECT_EQ(pc.registry, c.registry) << c.name;
  }
  PluginContent untouched;
  untouched.header[0] = "kept";
  EXPECT_EQ(ReadPluginFile(ts::Scratch() + "\\none.vk", untouched), PluginRead::Missing);
  EXPECT_EQ(untouched.header[0], "kept");
}

// --- relocation -------------------------------------------------------------------------------

class Relocate : public ::testing::Test {
 protected:
  void SetUp() override {
    ReadRegString(HKEY_LOCAL_MACHINE, kKey, "systemroot", saved_);
    hadValue_ = !saved_.empty();
  }
  void TearDown() override {
    if (hadValue_)
      WriteRegString(HKEY_LOCAL_MACHINE, kKey, "systemroot", saved_);
    else
      RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kKey, "systemroot");
  }
  void WindowsIn(const std::string& folder) { WriteRegString(HKEY_LOCAL_MACHINE, kKey, "systemroot", folder); }
  std::string Plugin(const std::string& name, const std::string& bytes) {
    std::string p = ts::ProgramDir() + "\\plugins\\" + name;
    ts::WriteFile(p, bytes);
    return p;
  }
  static constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion";
  std::string saved_;
  bool hadValue_ = false;
};

TEST_F(Relocate, PutsTheWindowsDriveInPlaceOfC) {
  WindowsIn("D:\\WINDOWS");
  std::string a = Plugin("a.vk",
                         "  Title\r\nBy\r\nText\r\nfiles\r\nfile=c:\\temp\\a.log,0\r\nfolder=C:\\Temp\\*.tmp,1\r\n"
                         "file=c:\\x\\c:\\y,0\r\nfile=E:\\other\\b.log,0\r\nfile=\\\\server\\share\\c.log,0\r\n\r\n"
                         "registry\r\nHKEY_CURRENT_USER\\Software\\c:\\Example,1\r\n");
  std::string b = Plugin("b.vk", "B\r\n\r\n\r\nfiles\r\nregistry\r\n");
  Plugin("c.txt", "not a plug-in c:\\");
  EXPECT_EQ(RelocatePlugins(), 2);
  EXPECT_EQ(ts::ReadFile(a),
            "Title\r\nBy\r\nText\r\nfiles\r\nfile=D:\\temp\\a.log,0\r\nfolder=D:\\Temp\\*.tmp,1\r\n"
            "file=D:\\x\\c:\\y,0\r\nfile=E:\\other\\b.log,0\r\nfile=\\\\server\\share\\c.log,0\r\n"
            "registry\r\nHKEY_CURRENT_USER\\Software\\c:\\Example,1\r\n");
  EXPECT_EQ(ts::ReadFile(b), "B\r\n\r\n\r\nfiles\r\nregistry\r\n");
  EXPECT_EQ(ts::ReadFile(ts::ProgramDir() + "\\plugins\\c.txt"), "not a plug-in c:\\");
  // A second run on the same system changes nothing more.
  EXPECT_EQ(RelocatePlugins(), 2);
  EXPECT_NE(ts::ReadFile(a).find("file=E:\\other\\b.log,0"), std::string::npos);
  EXPECT_NE(ts::ReadFile(a).find("file=D:\\temp\\a.log,0"), std::string::npos);
}

TEST_F(Relocate, RewritesNothingWithoutADriveLetter) {
  for (const char* root : {"\\\\server\\windows", "WINDOWS", "7:\\x", "D:WINDOWS"}) {
    WindowsIn(root);
    std::string p = Plugin("a.vk", "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n");
    EXPECT_EQ(RelocatePlugins(), 0) << root;
    EXPECT_EQ(ts::ReadFile(p), "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n") << root;
  }
}

TEST_F(Relocate, LeavesAFileItCannotReadUntouched) {
  WindowsIn("D:\\WINDOWS");
  std::string p = Plugin("locked.vk", "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n");
  HANDLE lock = CreateFileA(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RelocatePlugins(), 0);
  CloseHandle(lock);
  EXPECT_EQ(ts::ReadFile(p), "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n");
}

TEST_F(Relocate, AReadErrorIsNotTheEndOfTheFile) {
  WindowsIn("D:\\WINDOWS");
  // A file that opens but whose reading fails (the host's memory file of the reading process: every
  // read of it is an I/O error). Taking the error for the end would rewrite it as an empty plug-in.
  std::string p = ts::ProgramDir() + "\\plugins\\broken.vk";
  rt::CreateFolder(ts::ProgramDir() + "\\plugins");
  ts::HostLink("Z:\\proc\\self\\mem", p);
  PluginContent c;
  EXPECT_EQ(ReadPluginFile(p, c), PluginRead::Unreadable);
  EXPECT_EQ(RelocatePlugins(), 0);
  EXPECT_FALSE(ts::Exists(p + ".~new"));
  ts::HostUnlink(p);
}

TEST_F(Relocate, LeavesAFileWithoutItsSectionLinesUntouched) {
  WindowsIn("D:\\WINDOWS");
  // The same plug-in saved as UTF-16: no line reads "files" or "registry" in the ANSI code page.
  std::string ansi = "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n";
  std::string wide = "\xFF\xFE";
  for (char ch : ansi) wide += std::string{ch, '\0'};
  std::string utf16 = Plugin("wide.vk", wide);
  std::string noRegistry = Plugin("half.vk", "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nmore\r\n");
  std::string whole = Plugin("whole.vk", ansi);
  EXPECT_EQ(RelocatePlugins(), 1);
  EXPECT_EQ(ts::ReadFile(utf16), wide);
  EXPECT_EQ(ts::ReadFile(noRegistry), "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nmore\r\n");
  EXPECT_EQ(ts::ReadFile(whole), "T\r\nP\r\nD\r\nfiles\r\nfile=D:\\a,0\r\nregistry\r\n");
}

TEST_F(Relocate, LeavesAFileItWouldNotGiveBackAsItReadsUntouched) {
  WindowsIn("D:\\WINDOWS");
  const std::string kept[] = {
      // A title that reads as a section line: the file entries would land in the registry section.
      "Registry\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n",
      " FILES \r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n",
      // A line between the header and "files", and lines after a "files" that follows "registry".
      "T\r\nP\r\nD\r\nmore description\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n",
      "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\nHKEY_USERS\\x,1\r\nfiles\r\nfile=c:\\b,0\r\n",
      // File entries with blanks around them: the engine takes a line as it stands, so these are
      // none, and trimmed they would be entries that erase.
      "T\r\nP\r\nD\r\nfiles\r\n file=c:\\x,0\r\nregistry\r\n",
      "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\x,0 \r\nregistry\r\n",
      "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\n  folder=C:\\Temp\\*.*,1\r\nregistry\r\n",
  };
  std::vector<std::string> paths;
  for (size_t i = 0; i < std::size(kept); ++i) paths.push_back(Plugin("p" + std::to_string(i) + ".vk", kept[i]));
  std::string blankBetween = Plugin("blank.vk", "T\r\nP\r\nD\r\n\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n");
  // The engine trims a registry line itself: one with blanks around it reads the same trimmed.
  std::string registryBlanks = Plugin("reg.vk", "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n HKEY_USERS\\x,1 \r\n");
  EXPECT_EQ(RelocatePlugins(), 2);
  for (size_t i = 0; i < std::size(kept); ++i) EXPECT_EQ(ts::ReadFile(paths[i]), kept[i]) << i;
  EXPECT_EQ(ts::ReadFile(blankBetween), "T\r\nP\r\nD\r\nfiles\r\nfile=D:\\a,0\r\nregistry\r\n") << "a blank line is no loss";
  EXPECT_EQ(ts::ReadFile(registryBlanks), "T\r\nP\r\nD\r\nfiles\r\nfile=D:\\a,0\r\nregistry\r\nHKEY_USERS\\x,1\r\n");
}

// A plug-in file that is another name of a file elsewhere (a hard link planted in the plugins
// folder): the rewrite gives the plug-in a file of its own and leaves the other file's bytes and
// attributes as they were. (Where the system refuses to replace a read-only file, a read-only one
// is not rewritten at all, rather than made writable with its other name.)
TEST_F(Relocate, AHardLinkedPlugInLeavesTheOtherFileAsItWas) {
  WindowsIn("D:\\WINDOWS");
  const std::string text = "T\r\nP\r\nD\r\nfiles\r\nfile=c:\\a,0\r\nregistry\r\n";
  for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN),
                           DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY)}) {
    SCOPED_TRACE(attributes);
    const std::string outside = ts::Scratch() + "\\outside-" + std::to_string(attributes) + ".txt";
    const std::string link = ts::ProgramDir() + "\\plugins\\linked.vk";
    ts::WriteFile(outside, text);
    rt::CreateFolder(ts::ProgramDir() + "\\plugins");
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), outside.c_str(), nullptr));
    SetFileAttributesA(outside.c_str(), attributes);
    const int rewritten = RelocatePlugins();
    EXPECT_EQ(ts::ReadFile(outside), text);
    EXPECT_EQ(GetFileAttributesA(outside.c_str()), attributes);
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) {
      EXPECT_EQ(rewritten, 1);
    }
    EXPECT_EQ(ts::ReadFile(link), rewritten ? "T\r\nP\r\nD\r\nfiles\r\nfile=D:\\a,0\r\nregistry\r\n" : text);
    SetFileAttributesA(outside.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(link.c_str());
  }
}

}  // namespace
