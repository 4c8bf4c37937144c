#include "shared/fileprop.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <thread>

#include "runtime/files.h"
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

// Answers the folder picker from another thread, as a user would press its button.
class PickerAnswer {
 public:
  PickerAnswer(int button) {
    DWORD ui = GetCurrentThreadId();
    worker_ = std::thread([this, ui, button] {
      for (int i = 0; i < 500 && !done_; ++i) {
        HWND found = nullptr;
        EnumThreadWindows(
            ui,
            [](HWND h, LPARAM l) CALLBACK -> BOOL {
              char cls[16];
              if (GetClassNameA(h, cls, sizeof cls) && strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) {
                *reinterpret_cast<HWND*>(l) = h;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found) {
          char title[256] = "";
          GetDlgItemTextA(found, 0x3742, title, sizeof title);  // the picker's title text
          shownTitle_ = title;
          PostMessageA(found, WM_COMMAND, button, 0);
          return;
        }
        Sleep(10);
      }
    });
  }
  ~PickerAnswer() {
    done_ = true;
    worker_.join();
  }
  std::string shownTitle_;

 private:
  std::thread worker_;
  volatile bool done_ = false;
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

}  // namespace
