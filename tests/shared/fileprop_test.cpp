#include "shared/fileprop.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "support/modal.h"
#include "support/scratch.h"

namespace {

void MakeSized(const std::string& path, uint64_t size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
}

TEST(FileProp, ByteSizeIsTheWholeSize) {
  struct Case {
    uint64_t size;
    const char* text;
  } cases[] = {{1234, "1234"}, {0, ""}, {3000000000ULL, "3000000000"}, {5ULL << 30, "5368709120"}};
  for (const auto& c : cases) {
    std::string p = ts::Scratch() + "\\f" + std::to_string(c.size) + ".bin";
    MakeSized(p, c.size);
    clsFileProp fp;
    EXPECT_TRUE(fp.FindFileInfo(p, false));
    EXPECT_EQ(fp.ByteSize(), c.text) << c.size;
  }
}

TEST(FileProp, TimesAttributesAndName) {
  std::string p = ts::Scratch() + "\\dated.txt";
  ts::WriteFile(p, "x");
  SYSTEMTIME st{2005, 7, 0, 4, 9, 5, 3, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  HANDLE h = CreateFileA(p.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(h, &ft, &ft, &ft));
  CloseHandle(h);
  SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  clsFileProp fp;
  ASSERT_TRUE(fp.FindFileInfo(p, true));
  EXPECT_EQ(fp.LastWriteTime(), "4/7/2005 9:5:3");
  EXPECT_EQ(fp.CreationTime(), "4/7/2005 9:5:3");
  EXPECT_EQ(fp.LastAccessTime(), "4/7/2005");
  EXPECT_TRUE(fp.ReadOnly());
  EXPECT_TRUE(fp.Hidden());
  EXPECT_FALSE(fp.Directory());
  EXPECT_EQ(fp.Filename(), ts::Scratch().substr(0, 2) + "\\VELK-TESTS\\SHARED_TESTS\\FILEPROP.TIMESATTRIBUTESANDNAME\\DATED.TXT");
  SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);

  ASSERT_TRUE(fp.FindFileInfo(ts::Scratch(), false));
  EXPECT_TRUE(fp.Directory());
}

TEST(FileProp, MissingFilesAndPatternsReadAsNothing) {
  ts::WriteFile(ts::Scratch() + "\\match.txt", "12345");
  clsFileProp fp;
  EXPECT_FALSE(fp.FindFileInfo("", false));
  EXPECT_EQ(fp.ByteSize(), "");
  ASSERT_TRUE(fp.FindFileInfo(ts::Scratch() + "\\*.txt", false));  // never through a pattern
  EXPECT_EQ(fp.ByteSize(), "");
  ASSERT_TRUE(fp.FindFileInfo(ts::Scratch() + "\\gone.txt", false));
  EXPECT_EQ(fp.ByteSize(), "");
  EXPECT_EQ(fp.CreationTime(), "1/1/1601 0:0:0");
  EXPECT_EQ(fp.LastAccessTime(), "1/1/1601");
  EXPECT_FALSE(fp.ReadOnly() || fp.Hidden() || fp.System() || fp.Directory() || fp.Archive() || fp.Normal());
  ASSERT_TRUE(fp.FindFileInfo(ts::Scratch() + "\\match.txt", false));
  EXPECT_EQ(fp.ByteSize(), "5");
}

TEST(SpecialFolders, PathsOfFolders) {
  std::string appData = SpecialFolderPath(CSIDL_APPDATA);
  EXPECT_FALSE(appData.empty());
  EXPECT_TRUE(rt::FolderExists(appData));
  EXPECT_EQ(SpecialFolderPath(CSIDL_BITBUCKET), "");  // the recycle bin has no folder of its own
}

// Answers the real folder picker from another thread, as a user would press its button; the
// picker's title text is kept for the test to check.
class PickerAnswer {
 public:
  explicit PickerAnswer(int button)
      : answer_([this, button](HWND picker) {
          shownTitle = ts::TextOf(GetDlgItem(picker, 0x3742));
          PostMessageA(picker, WM_COMMAND, button, 0);
        }) {
    SetBrowseFolderHandler(nullptr);  // the real picker
  }
  std::string shownTitle;

 private:
  ts::ModalAnswer answer_;
};

TEST(BrowseFolder, CancelGivesNothingAndFlagsZeroBecomeOne) {
  long flags = 0, root = 10;
  std::string chosen;
  {
    PickerAnswer answer(IDCANCEL);
    chosen = BrowseFolder(nullptr, "Choose a folder:", flags, root);
  }
  EXPECT_EQ(chosen, "");
  EXPECT_EQ(flags, 1);
  EXPECT_EQ(root, 10);
}

TEST(BrowseFolder, OkGivesTheChosenFolder) {
  long flags = 0, root = 10;
  std::string chosen;
  {
    PickerAnswer answer(IDOK);
    chosen = BrowseFolder(nullptr, "Choose a folder:", flags, root);
  }
  // With the recycle bin as root the picker starts at the top of the tree, the desktop.
  EXPECT_EQ(chosen, SpecialFolderPath(CSIDL_DESKTOPDIRECTORY));
}

TEST(BrowseFolder, TestsAnswerThePickerThroughItsSeam) {
  std::vector<BrowseFolderCall> calls;
  SetBrowseFolderHandler([&](const BrowseFolderCall& c) {
    calls.push_back(c);
    return std::string(calls.size() == 1 ? "C:\\Opera\\profile" : "");
  });
  long flags = 0, root = 10;
  EXPECT_EQ(BrowseFolder(nullptr, "Choose a folder:", flags, root), "C:\\Opera\\profile");
  EXPECT_EQ(BrowseFolder(nullptr, "Choose a folder:", flags, root), "");  // cancelled
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].title, "Choose a folder:");
  EXPECT_EQ(calls[0].flags, 1);  // already made 1, as the picker would be shown
  EXPECT_EQ(calls[0].rootFolderId, 10);
  EXPECT_EQ(flags, 1);
}

}  // namespace
