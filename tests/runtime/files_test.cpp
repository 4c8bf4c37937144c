#include "runtime/files.h"

#include <gtest/gtest.h>

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
