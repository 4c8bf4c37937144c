#include "runtime/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/overwrite.h"
#include "runtime/text.h"
#include "support/scratch.h"

namespace {

std::vector<std::string> Names(const std::vector<rt::FileEntry>& entries) {
  std::vector<std::string> n;
  for (const auto& e : entries) n.push_back(e.name);
  return n;
}

TEST(Paths, AbsoluteMeansDriveOrShare) {
  EXPECT_TRUE(rt::IsAbsolutePath("C:\\"));
  EXPECT_TRUE(rt::IsAbsolutePath("c:\\windows\\temp"));
  EXPECT_TRUE(rt::IsAbsolutePath("\\\\server\\share\\x"));
  EXPECT_FALSE(rt::IsAbsolutePath(""));
  EXPECT_FALSE(rt::IsAbsolutePath("C:"));
  EXPECT_FALSE(rt::IsAbsolutePath("C:temp"));
  EXPECT_FALSE(rt::IsAbsolutePath("\\windows"));
  EXPECT_FALSE(rt::IsAbsolutePath("temp\\x"));
  EXPECT_FALSE(rt::IsAbsolutePath("\\\\?\\C:\\x"));
  EXPECT_FALSE(rt::IsAbsolutePath("\\\\.\\PhysicalDrive0"));
  EXPECT_FALSE(rt::IsAbsolutePath("C:\\a\nb"));
}

TEST(Paths, JoinAndSplit) {
  EXPECT_EQ(rt::JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(rt::JoinPath("C:\\a\\", "\\b"), "C:\\a\\b");
  EXPECT_EQ(rt::ParentFolder("C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(rt::ParentFolder("C:\\a"), "C:\\");
  EXPECT_EQ(rt::ParentFolder("C:\\a\\b\\"), "C:\\a");
  EXPECT_EQ(rt::FileNameOf("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(rt::WithoutTrailingSlash("C:\\a\\\\"), "C:\\a");
  EXPECT_EQ(rt::WithoutTrailingSlash("C:\\"), "C:\\");
}

// In the double-byte code pages many characters end in the byte of "\" (or of "|"): a path is cut,
// joined and tested by characters, and such a byte inside a character is no separator.
TEST(CodePages, PathsAreCutJoinedAndTestedByCharacters) {
  struct Page {
    unsigned codePage;
    std::string slashy;  // a character whose second byte is 0x5C
    std::string pipey;   // one whose second byte is 0x7C
  };
  const Page pages[] = {
      {932, "\x95\x5c", "\x83\x7c"},  // "表" and "ポ" (Japanese)
      {936, "\x81\x5c", "\x83\x7c"},  // "乗" and "億" (Simplified Chinese)
      {950, "\xa5\x5c", "\xa4\x7c"},  // "功" and "弋" (Traditional Chinese)
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(page.codePage);
    const unsigned cp = page.codePage;
    const std::string x = page.slashy, folder = "C:\\d\\" + x;
    EXPECT_EQ(rt::JoinPath(folder, "a.tmp", cp), folder + "\\a.tmp");
    EXPECT_EQ(rt::JoinPath(folder + "\\", "a.tmp", cp), folder + "\\a.tmp");
    EXPECT_EQ(rt::JoinPath("C:\\d", x + "a", cp), "C:\\d\\" + x + "a");
    EXPECT_FALSE(rt::EndsWithSlash(folder, cp));
    EXPECT_TRUE(rt::EndsWithSlash(folder + "\\", cp));
    EXPECT_EQ(rt::WithoutTrailingSlash(folder, cp), folder) << "its last byte is part of a character";
    EXPECT_EQ(rt::WithoutTrailingSlash(folder + "\\\\", cp), folder);
    EXPECT_EQ(rt::ParentFolder(folder, cp), "C:\\d");
    EXPECT_EQ(rt::ParentFolder(folder + "\\a.tmp", cp), folder);
    EXPECT_EQ(rt::ParentFolder("C:\\" + x, cp), "C:\\");
    EXPECT_EQ(rt::FileNameOf(folder, cp), x);
    EXPECT_EQ(rt::FileNameOf("C:\\d\\" + x + ".vk", cp), x + ".vk");
    EXPECT_EQ(rt::FileNameOf(folder + "\\a.vk", cp), "a.vk");
    // A cookie named after a user whose name holds such characters is a plain file name.
    EXPECT_TRUE(rt::IsPlainFileName(x + page.pipey + "@site[1].txt", cp));
    EXPECT_FALSE(rt::IsPlainFileName(x + "\\a.txt", cp));
    EXPECT_FALSE(rt::IsPlainFileName("a" + x.substr(0, 1), cp)) << "a first byte without its second";
    EXPECT_EQ(rt::FindCharOf(x + page.pipey + "|\\", "\\|", 0, cp), 4u);
    EXPECT_EQ(rt::FindLastCharOf("a\\" + x + page.pipey, "\\|", cp), 1u);
    EXPECT_EQ(rt::SplitAtChar(x + "\\" + x, '\\', cp), (std::vector<std::string>{x, x}));
    // The same text in a code page of single bytes has the "\" it shows.
    EXPECT_EQ(rt::FileNameOf(folder, 1252), "");
    EXPECT_TRUE(rt::EndsWithSlash(folder, 1252));
  }
  EXPECT_EQ(rt::FileNameOf("a.vk"), "a.vk");
  EXPECT_EQ(rt::FileNameOf("C:\\dl\\"), "");
  EXPECT_EQ(rt::FileNameOf("C:a.vk"), "a.vk");
  for (const char* plain : {"plugin.vk", "my plug-in.vk", "a.b.c", "con x.vk"}) EXPECT_TRUE(rt::IsPlainFileName(plain)) << plain;
  for (const char* not_plain : {"", ".", "..", "a.", "a ", "..\\x.vk", "C:x.vk", "a/b", "*.vk", "a?.vk", "a\"b", "a<b", "a|b",
                                "con", "CON.vk", "nul .txt", "com1.vk", "LPT9", "a\tb", "a\rb"})
    EXPECT_FALSE(rt::IsPlainFileName(not_plain)) << not_plain;
  EXPECT_FALSE(rt::IsPlainFileName(std::string(MAX_PATH + 1, 'a')));
}

TEST(ListFolder, MatchesThePatternAgainstLongNames) {
  std::string d = ts::Scratch() + "\\list";
  for (const char* n : {"a.tmp", "a.tmpx", "B.TMP", "c.txt", "noext"}) ts::WriteFile(d + "\\" + n, "x");
  ASSERT_TRUE(rt::CreateFolder(d + "\\sub.tmp"));
  std::vector<rt::FileEntry> e;
  ASSERT_TRUE(rt::ListFolder(d, "*.tmp", rt::ListWhat::Files, e));
  EXPECT_EQ(Names(e), (std::vector<std::string>{"a.tmp", "B.TMP"}));
  ASSERT_TRUE(rt::ListFolder(d, "*.tmp", rt::ListWhat::Folders, e));
  EXPECT_EQ(Names(e), (std::vector<std::string>{"sub.tmp"}));
  ASSERT_TRUE(rt::ListFolder(d, "*.*", rt::ListWhat::Both, e));
  EXPECT_EQ(e.size(), 6u);
  ASSERT_TRUE(rt::ListFolder(d, "*.", rt::ListWhat::Files, e));
  EXPECT_EQ(Names(e), (std::vector<std::string>{"noext"}));
}

TEST(ListFolder, MissingAndEmptyFolders) {
  std::vector<rt::FileEntry> e;
  EXPECT_FALSE(rt::ListFolder(ts::Scratch() + "\\missing", "*", rt::ListWhat::Both, e));
  EXPECT_FALSE(rt::ListFolder(ts::Scratch() + "\\*", "*", rt::ListWhat::Both, e));
  ASSERT_TRUE(rt::CreateFolder(ts::Scratch() + "\\empty"));
  EXPECT_TRUE(rt::ListFolder(ts::Scratch() + "\\empty", "*", rt::ListWhat::Both, e));
  EXPECT_TRUE(e.empty());
}

TEST(DeleteExactFile, RefusesWhatIsNotOneExactPath) {
  std::string d = ts::Scratch();
  ts::WriteFile(d + "\\a.tmp", "x");
  ts::WriteFile(d + "\\b.tmp", "x");
  EXPECT_EQ(rt::DeleteExactFile(""), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(rt::DeleteExactFile("a.tmp"), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(rt::DeleteExactFile(d + "\\*.tmp"), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(rt::DeleteExactFile(d + "\\?.tmp"), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_TRUE(ts::Exists(d + "\\a.tmp"));
  EXPECT_TRUE(ts::Exists(d + "\\b.tmp"));
  EXPECT_EQ(rt::DeleteExactFile(d + "\\a.tmp"), 0u);
  EXPECT_FALSE(ts::Exists(d + "\\a.tmp"));
  EXPECT_EQ(rt::DeleteExactFile(d + "\\a.tmp"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Attributes, ByExactPathOnly) {
  std::string f = ts::Scratch() + "\\ro.txt";
  ts::WriteFile(f, "x");
  ASSERT_TRUE(rt::SetAttr(f, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(rt::GetAttr(f) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(rt::SetAttr(ts::Scratch() + "\\*.txt", FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(rt::GetAttr(ts::Scratch() + "\\*.txt"), rt::kNoAttributes);
  ASSERT_TRUE(rt::SetAttr(f, FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(rt::FileExists(f));
  EXPECT_FALSE(rt::FolderExists(f));
  EXPECT_TRUE(rt::FolderExists(ts::Scratch()));
  EXPECT_FALSE(rt::FileExists(ts::Scratch()));
}

TEST(FileSize64, GivesTheWholeSize) {
  std::string f = ts::Scratch() + "\\big.bin";
  HANDLE h = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER at;
  at.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;  // 5 GiB and 7 bytes, a sparse file
  ASSERT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
  uint64_t size = 0;
  ASSERT_TRUE(rt::FileSize64(f, size));
  EXPECT_EQ(size, 5ULL * 1024 * 1024 * 1024 + 7);
  EXPECT_FALSE(rt::FileSize64(ts::Scratch() + "\\*.bin", size));
  EXPECT_FALSE(rt::FileSize64(ts::Scratch(), size));
}

TEST(DeleteTree, RemovesAFolderWithEverythingInIt) {
  std::string d = ts::Scratch() + "\\tree";
  ts::WriteFile(d + "\\a\\b\\c.txt", "x");
  ts::WriteFile(d + "\\ro.txt", "x");
  rt::SetAttr(d + "\\ro.txt", FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(rt::DeleteTree(d));
  EXPECT_FALSE(ts::Exists(d));
  EXPECT_TRUE(rt::DeleteTree(d));  // already gone
  EXPECT_FALSE(rt::DeleteTree("C:\\"));
  EXPECT_FALSE(rt::DeleteTree("tree"));
  EXPECT_FALSE(rt::DeleteTree(""));
}

}  // namespace

namespace {

// Outside every test's own folder: what a link inside the scratch folder points at.
std::string Outside(const std::string& name) { return "C:\\velk-tests\\outside\\" + rt::FileNameOf(ts::Scratch()) + "-" + name; }

TEST(Links, AFileLinkIsNeverDeletedOrChangedThroughToItsTarget) {
  std::string target = Outside("target.txt");
  ts::WriteFile(target, "precious");
  std::string link = ts::Scratch() + "\\link.txt";
  ts::HostLink(target, link);
  EXPECT_EQ(rt::DeleteExactFile(link), rt::kLinkRefused);
  EXPECT_FALSE(rt::SetAttr(link, FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ts::ReadFile(target), "precious");
  EXPECT_FALSE(rt::GetAttr(target) & FILE_ATTRIBUTE_READONLY);
  DWORD err = 0;
  EXPECT_EQ(rt::OpenNoFollow(link, GENERIC_WRITE, &err), INVALID_HANDLE_VALUE);
  EXPECT_EQ(err, rt::kLinkRefused);
  rt::DeleteTree(rt::ParentFolder(target));
}

TEST(Links, ATreeWithALinkedFolderLeavesTheTargetAlone) {
  std::string outside = Outside("folder");
  ts::WriteFile(outside + "\\keep.tmp", "precious");
  std::string tree = ts::Scratch() + "\\tree";
  ts::WriteFile(tree + "\\a.tmp", "x");
  ts::WriteFile(tree + "\\sub\\b.tmp", "x");
  ts::HostLink(outside, tree + "\\sub\\linked");
  ts::HostLink(outside + "\\keep.tmp", tree + "\\filelink.tmp");

  std::vector<std::string> found;
  rt::FindFiles(tree, "*.tmp", true, found);
  EXPECT_EQ(found, (std::vector<std::string>{tree + "\\a.tmp", tree + "\\filelink.tmp", tree + "\\sub\\b.tmp"}));
  found.clear();
  rt::FindFiles(tree, "*.tmp", false, found);  // the start folder's own files left out
  EXPECT_EQ(found, (std::vector<std::string>{tree + "\\sub\\b.tmp"}));

  rt::DeleteTree(tree);
  EXPECT_EQ(ts::ReadFile(outside + "\\keep.tmp"), "precious");
  EXPECT_FALSE(ts::Exists(tree + "\\a.tmp"));
  EXPECT_FALSE(ts::Exists(tree + "\\sub\\b.tmp"));
  rt::DeleteTree(rt::ParentFolder(outside));
}

TEST(Links, HardLinksAndPlainFilesOpenNormally) {
  std::string a = ts::Scratch() + "\\a.txt";
  ts::WriteFile(a, "x");
  ASSERT_TRUE(CreateHardLinkA((ts::Scratch() + "\\b.txt").c_str(), a.c_str(), nullptr));
  HANDLE h = rt::OpenNoFollow(ts::Scratch() + "\\b.txt", GENERIC_READ);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  BY_HANDLE_FILE_INFORMATION info;
  GetFileInformationByHandle(h, &info);
  EXPECT_EQ(info.nNumberOfLinks, 2u);
  CloseHandle(h);
  // A path written in other letter case is the same file, not a link.
  HANDLE u = rt::OpenNoFollow(ts::Scratch() + "\\A.TXT", GENERIC_READ);
  EXPECT_NE(u, INVALID_HANDLE_VALUE);
  CloseHandle(u);
  EXPECT_EQ(rt::DeleteExactFile(ts::Scratch() + "\\b.txt"), 0u);
  EXPECT_EQ(ts::ReadFile(a), "x");
}

// Profile folders and plug-in paths are often written through short names or linked folders:
// only a link in the last part of a path makes it another file.
TEST(Links, AFolderReachedThroughAShortNameOrALinkIsNoLink) {
  std::string real = ts::Scratch() + "\\A Long Folder Name";
  ts::WriteFile(real + "\\first long file name.txt", "1");
  ts::WriteFile(real + "\\second long file name.txt", "2");
  ts::WriteFile(real + "\\third.txt", "3");
  ts::WriteFile(real + "\\Sibling.txt", "precious");
  char shortName[MAX_PATH] = "";
  ASSERT_GT(GetShortPathNameA(real.c_str(), shortName, MAX_PATH), 0u);
  std::string viaShort = shortName;
  ASSERT_NE(viaShort, real);
  EXPECT_EQ(rt::DeleteExactFile(viaShort + "\\first long file name.txt"), 0u);
  char shortFile[MAX_PATH] = "";
  ASSERT_GT(GetShortPathNameA((real + "\\second long file name.txt").c_str(), shortFile, MAX_PATH), 0u);
  EXPECT_EQ(rt::DeleteExactFile(shortFile), 0u);  // a short name in the last part too
  std::string linkedFolder = ts::Scratch() + "\\linked folder";
  ts::HostLink(real, linkedFolder);
  EXPECT_EQ(rt::DeleteExactFile(linkedFolder + "\\THIRD.TXT"), 0u);
  EXPECT_FALSE(ts::Exists(real + "\\first long file name.txt"));
  EXPECT_FALSE(ts::Exists(real + "\\second long file name.txt"));
  EXPECT_FALSE(ts::Exists(real + "\\third.txt"));

  // A file that is itself a link stays refused, however its folder is written; so does a link
  // whose name differs from its target's only in letter case.
  ts::HostLink(real + "\\Sibling.txt", real + "\\link.txt");
  ts::HostLinkNamed(real + "\\Sibling.txt", real, "sibling.TXT");
  for (const std::string& link : {real + "\\link.txt", viaShort + "\\link.txt", linkedFolder + "\\link.txt",
                                  real + "\\sibling.TXT", linkedFolder + "\\sibling.TXT"}) {
    EXPECT_EQ(rt::DeleteExactFile(link), rt::kLinkRefused) << link;
    EXPECT_FALSE(rt::SetAttr(link, FILE_ATTRIBUTE_READONLY)) << link;
  }
  EXPECT_EQ(ts::ReadFile(real + "\\Sibling.txt"), "precious");
  EXPECT_EQ(rt::GetAttr(real + "\\Sibling.txt") & FILE_ATTRIBUTE_READONLY, 0u);

  EXPECT_EQ(rt::ResolvedFolderPath(viaShort), real);
  EXPECT_EQ(rt::ResolvedFolderPath(linkedFolder + "\\"), real);
  EXPECT_EQ(rt::ResolvedFolderPath(ts::Scratch() + "\\missing"), "");
  EXPECT_TRUE(rt::IsInsideFolder(real + "\\x\\y.txt", real));
  EXPECT_TRUE(rt::IsInsideFolder(real, real + "\\"));
  EXPECT_TRUE(rt::IsInsideFolder("C:\\x", "c:\\"));
  EXPECT_FALSE(rt::IsInsideFolder(real + "2\\y.txt", real));
  EXPECT_FALSE(rt::IsInsideFolder("", real));
  EXPECT_FALSE(rt::IsInsideFolder(real + "\\..\\x.txt", real));
  EXPECT_FALSE(rt::IsInsideFolder("x\\y", "x"));
  rt::DeleteTree(linkedFolder);
}

// What a walk erases lies below its root as the root resolved at the start, by the final path of
// the opened file: a folder swapped for a link after the listing leads nowhere the calls follow.
TEST(Containment, AFolderSwappedForALinkAfterTheListingChangesNothingOutsideTheRoot) {
  std::string outside = Outside("swapped");
  ts::WriteFile(outside + "\\b.tmp", "precious");
  SetFileAttributesA((outside + "\\b.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(outside + "\\b.tmp");
  std::string tree = ts::Scratch() + "\\tree";
  ts::WriteFile(tree + "\\a.tmp", "x");
  ts::WriteFile(tree + "\\sub\\b.tmp", "x");
  std::vector<rt::FoundFile> found;
  const rt::WalkRoot root = rt::FindFiles(tree, "*.tmp", true, found);
  ASSERT_EQ(found.size(), 2u);
  ASSERT_EQ(found[1].path, tree + "\\sub\\b.tmp");
  ASSERT_TRUE(rt::DeleteTree(tree + "\\sub"));
  ts::HostLink(outside, tree + "\\sub");

  // The file has the name its path gives: only the root tells that it lies elsewhere.
  HANDLE named = rt::OpenNoFollow(found[1], FILE_READ_ATTRIBUTES);
  EXPECT_NE(named, INVALID_HANDLE_VALUE);
  CloseHandle(named);
  DWORD err = 0;
  EXPECT_EQ(rt::OpenNoFollow(found[1], DELETE, &err, &root), INVALID_HANDLE_VALUE);
  EXPECT_EQ(err, rt::kOutsideRoot);
  EXPECT_EQ(rt::DeleteListedFile(found[1], &root), rt::kOutsideRoot);
  EXPECT_FALSE(rt::SetAttr(found[1], FILE_ATTRIBUTE_READONLY, &root));
  EXPECT_EQ(rt::OpenForOverwrite(found[1], &err, &root), INVALID_HANDLE_VALUE);
  EXPECT_EQ(err, rt::kOutsideRoot);
  EXPECT_EQ(ts::ReadFile(outside + "\\b.tmp"), "precious");
  EXPECT_EQ(rt::GetAttr(outside + "\\b.tmp"), attributes);
  EXPECT_EQ(rt::DeleteListedFile(found[0], &root), 0u);  // what the root holds goes
  EXPECT_FALSE(ts::Exists(tree + "\\a.tmp"));
  ts::HostUnlink(tree + "\\sub");
  rt::DeleteTree(rt::ParentFolder(outside));
}

// A listed file whose name a folder has taken since: what the handle opens counts, not what the
// listing said, and a folder is never deleted as a file.
TEST(Containment, AFolderThatTookAListedFilesNameStays) {
  std::string tree = ts::Scratch() + "\\tree";
  ts::WriteFile(tree + "\\a.tmp", "x");
  std::vector<rt::FoundFile> found;
  const rt::WalkRoot root = rt::FindFiles(tree, "*.tmp", true, found);
  ASSERT_EQ(found.size(), 1u);
  ASSERT_FALSE(found[0].attributes & FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_TRUE(DeleteFileA((tree + "\\a.tmp").c_str()));
  ASSERT_TRUE(CreateDirectoryA((tree + "\\a.tmp").c_str(), nullptr));
  EXPECT_EQ(rt::DeleteListedFile(found[0], &root), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(rt::FolderExists(tree + "\\a.tmp"));
}

TEST(Containment, TheRootIsTheFolderAsItResolvedAtTheStart) {
  std::string real = ts::Scratch() + "\\real";
  ts::WriteFile(real + "\\sub\\a.tmp", "x");
  std::string link = ts::Scratch() + "\\link";
  ts::HostLink(real, link);
  // A root named through a link is the folder it leads to, and holds what lies there.
  std::vector<rt::FoundFile> found;
  const rt::WalkRoot viaLink = rt::FindFiles(link, "*.tmp", true, found);
  EXPECT_EQ(viaLink.Resolved(), rt::ToWide(real));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(rt::DeleteListedFile(found[0], &viaLink), 0u);
  EXPECT_FALSE(ts::Exists(real + "\\sub\\a.tmp"));

  const rt::WalkRoot root(real + "\\");
  const std::wstring r = rt::ToWide(real);
  EXPECT_TRUE(root.Holds(r));
  EXPECT_TRUE(root.Holds(r + L"\\sub\\x.tmp"));
  EXPECT_TRUE(root.Holds(rt::ToWide(rt::UCase(real)) + L"\\x.tmp"));
  EXPECT_FALSE(root.Holds(r + L"2\\x.tmp"));
  EXPECT_FALSE(root.Holds(rt::ToWide(ts::Scratch())));
  for (const std::string& none : {ts::Scratch() + "\\missing", std::string("relative"), std::string()}) {
    const rt::WalkRoot nothing(none);
    EXPECT_TRUE(nothing.Resolved().empty()) << none;
    EXPECT_FALSE(nothing.Holds(r + L"\\x.tmp")) << none;
  }
  EXPECT_TRUE(rt::WalkRoot("C:\\").Holds(r));
  ts::HostUnlink(link);
}

// Names that Windows-1252 cannot spell: listed with "?" for what is missing (never a look-alike
// letter, which could name another file), and checked and deleted by their wide names.
TEST(WideNames, ListedCheckedAndDeletedByTheirWideNames) {
  const std::string tree = ts::Scratch() + "\\tree";
  const std::wstring w = rt::ToWide(tree);
  ts::WriteWideFile(w + L"\\\x043f\x0440\x0438.tmp", "cyr");       // Cyrillic
  ts::WriteWideFile(w + L"\\\x6587\x4ef6\\b.tmp", "chinese folder");  // Chinese folder
  ts::WriteWideFile(w + L"\\\x0101.tmp", "a with a bar");
  ts::WriteWideFile(w + L"\\caf\x00e9.tmp", "1252 has it");
  ts::WriteFile(tree + "\\a.tmp", "plain");

  std::vector<rt::FileEntry> entries;
  ASSERT_TRUE(rt::ListFolder(tree, "*", rt::ListWhat::Both, entries));
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name + (e.wide.empty() ? "" : " (wide)"));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"?.tmp (wide)", "?? (wide)", "???.tmp (wide)", "a.tmp", "caf\xe9.tmp"}));
  EXPECT_EQ(rt::GetAttr(tree + "\\???.tmp"), rt::kNoAttributes);  // the spelling names no file

  std::vector<rt::FoundFile> found;
  const rt::WalkRoot root = rt::FindFiles(tree, "*.tmp", true, found);
  ASSERT_EQ(found.size(), 5u);
  uint64_t total = 0;
  for (const auto& f : found) {
    uint64_t size = 0;
    EXPECT_TRUE(rt::FileExists(f)) << f.path;
    EXPECT_TRUE(rt::FileSize64(f, size)) << f.path;
    total += size;
  }
  EXPECT_EQ(total, 3u + 14u + 12u + 11u + 5u);
  for (const auto& f : found) {
    if (f.path == tree + "\\a.tmp") continue;
    EXPECT_EQ(rt::DeleteListedFile(f, &root), 0u) << f.path;
  }
  EXPECT_EQ(ts::ReadFile(tree + "\\a.tmp"), "plain");  // not the file "?.tmp" stands for
  for (const std::wstring& gone : {w + L"\\\x043f\x0440\x0438.tmp", w + L"\\\x6587\x4ef6\\b.tmp", w + L"\\\x0101.tmp", w + L"\\caf\x00e9.tmp"})
    EXPECT_FALSE(ts::WideExists(gone)) << rt::ToAnsi(gone);

  bool lossy = false;
  EXPECT_EQ(rt::ToAnsi(L"\x0101", &lossy), "?");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(rt::ToAnsi(L"caf\x00e9", &lossy), "caf\xe9");
  EXPECT_FALSE(lossy);
  ts::WriteWideFile(w + L"\\\x6587\x4ef6\\\x043f\\c.tmp", "x");
  EXPECT_TRUE(rt::DeleteTree(tree));
  EXPECT_FALSE(ts::Exists(tree));
}

TEST(FindFiles, SkipsPathsTooLongForTheAnsiFunctions) {
  std::string deep = ts::Scratch();
  while (deep.size() < 240) deep += "\\" + std::string(20, 'd');
  ASSERT_TRUE(rt::CreateFolder(deep));
  ts::WriteFile(deep + "\\ok.tmp", "x");
  std::string longName = std::string(259 - deep.size() - 1 + 5, 'n') + ".tmp";  // past MAX_PATH
  CreateFileA((deep + "\\" + longName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::vector<std::string> found;
  rt::FindFiles(ts::Scratch(), "*.tmp", true, found);
  EXPECT_EQ(found, (std::vector<std::string>{deep + "\\ok.tmp"}));
}

}  // namespace
