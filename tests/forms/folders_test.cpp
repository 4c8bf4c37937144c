#include "forms/folders.h"

#include <gtest/gtest.h>

#include "forms/form.h"
#include "forms/lists.h"
#include "native.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "support/scratch.h"

namespace {

// The three lists of a path dialog, wired as its window wires them.
class PathForm : public forms::Form {
 public:
  PathForm() : Form("PathForm"), Drive1(*this, "Drive1"), Dir1(*this, "Dir1"), File1(*this, "File1") {
    SetClientSize(6000, 4000);
    Drive1.Move(120, 120, 2700, 315);
    Dir1.Move(120, 540, 2700, 3000);
    File1.Move(3000, 120, 2700, 3420);
    File1.SetShowHidden(true);
    File1.SetShowSystem(true);
    Drive1.Change = [this] {
      log.push_back("drive " + Drive1.Drive());
      Dir1.SetPath(Drive1.Drive());
    };
    Dir1.Change = [this] {
      log.push_back("dir " + Dir1.Path());
      File1.SetPath(Dir1.Path());
    };
  }
  forms::DriveListBox Drive1;
  forms::FolderListBox Dir1;
  forms::FileListBox File1;
  std::vector<std::string> log;
};

// A folder with sub-folders of every kind: "Zeta" and "alpha" plain, ".hidden" hidden, "sys"
// system, "link" a link to a folder elsewhere, and a file that is no folder.
std::string MakeTree() {
  std::string d = ts::Scratch() + "\\profiles";
  for (const char* n : {"Zeta", "alpha", ".hidden", "sys"}) rt::CreateFolder(d + "\\" + n);
  SetFileAttributesA((d + "\\.hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((d + "\\sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ts::WriteFile(d + "\\prefs.js", "x");
  ts::WriteFile(d + "\\alpha\\cookies.txt", "x");
  rt::CreateFolder(ts::Scratch() + "\\elsewhere");
  ts::HostLink(ts::Scratch() + "\\elsewhere", d + "\\link");
  return d;
}

TEST(FolderListBox, ListsTheSubFoldersAndTheFoldersAbove) {
  PathForm f;
  std::string d = MakeTree();
  ASSERT_TRUE(f.Dir1.SetPath(d));
  EXPECT_EQ(f.Dir1.Path(), d);
  ASSERT_EQ(f.Dir1.ListCount(), 4) << "links and files are left out";
  EXPECT_EQ(f.Dir1.List(0), d + "\\.hidden");
  EXPECT_EQ(f.Dir1.List(1), d + "\\alpha");
  EXPECT_EQ(f.Dir1.List(2), d + "\\sys");
  EXPECT_EQ(f.Dir1.List(3), d + "\\Zeta");
  EXPECT_EQ(f.Dir1.List(4), "");
  EXPECT_EQ(f.Dir1.List(-1), d);
  EXPECT_EQ(f.Dir1.List(-2), ts::Scratch());
  EXPECT_EQ(f.Dir1.ListIndex(), -1);
  int depth = 0;
  while (!f.Dir1.List(-2 - depth).empty()) ++depth;
  EXPECT_EQ(f.Dir1.List(-1 - depth), "C:\\");  // the root ends the chain, with its "\"
  EXPECT_EQ(f.Dir1.List(-2 - depth), "");
  // A drive root, and a path with "." and ".." parts, are opened by their full path.
  ASSERT_TRUE(f.Dir1.SetPath("C:\\"));
  EXPECT_EQ(f.Dir1.Path(), "C:\\");
  EXPECT_EQ(f.Dir1.List(-2), "");
  ASSERT_TRUE(f.Dir1.SetPath(d + "\\alpha\\..\\.\\Zeta\\"));
  EXPECT_EQ(f.Dir1.Path(), d + "\\Zeta");
  EXPECT_EQ(f.Dir1.ListCount(), 0);
}

TEST(FolderListBox, AFolderThatCannotBeOpenedLeavesTheListAsItWas) {
  PathForm f;
  std::string d = MakeTree();
  ASSERT_TRUE(f.Dir1.SetPath(d));
  f.log.clear();
  for (const char* bad : {"", "relative\\folder", "profiles", "C:\\no\\such\\folder", "C:\\*", "\\\\?\\C:\\"}) {
    EXPECT_FALSE(f.Dir1.SetPath(bad)) << bad;
  }
  EXPECT_FALSE(f.Dir1.SetPath(d + "\\prefs.js"));  // a file
  EXPECT_FALSE(f.Dir1.SetPath(f.Dir1.List(5)));    // "" past the end, as a scan hands it on
  EXPECT_EQ(f.Dir1.Path(), d);
  EXPECT_EQ(f.Dir1.ListCount(), 4);
  EXPECT_TRUE(f.log.empty());
}

TEST(FolderListBox, ChangeRunsOnlyWhenTheOpenFolderChanges) {
  PathForm f;
  std::string d = MakeTree();
  f.Dir1.SetPath(d);
  f.log.clear();
  EXPECT_TRUE(f.Dir1.SetPath(d));
  EXPECT_TRUE(f.Dir1.SetPath(rt::UCase(d)));  // the same folder in other letters
  EXPECT_TRUE(f.log.empty());
  rt::CreateFolder(d + "\\new");
  EXPECT_TRUE(f.Dir1.SetPath(d));  // listed anew, without a Change
  EXPECT_EQ(f.Dir1.ListCount(), 5);
  EXPECT_TRUE(f.Dir1.SetPath(d + "\\alpha"));
  EXPECT_EQ(f.log, (std::vector<std::string>{"dir " + d + "\\alpha"}));
  // The file list followed the folder list.
  EXPECT_EQ(f.File1.Path(), d + "\\alpha");
  EXPECT_EQ(f.File1.Items(), (std::vector<std::string>{"cookies.txt"}));
  // Highlighting a row opens nothing.
  int clicks = 0;
  f.Dir1.Click = [&] { ++clicks; };
  EXPECT_TRUE(f.Dir1.SetListIndex(-2));
  EXPECT_EQ(f.Dir1.ListIndex(), -2);
  EXPECT_EQ(f.Dir1.Path(), d + "\\alpha");
  EXPECT_FALSE(f.Dir1.SetListIndex(0));  // alpha has no sub-folder
  EXPECT_EQ(clicks, 1);
}

TEST(FolderListBox, StartsAtTheCurrentFolderWithoutListingUntilAsked) {
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string d = MakeTree();
  SetCurrentDirectoryA((d + "\\alpha").c_str());
  PathForm f;
  SetCurrentDirectoryA(cwd);
  // The folder is the one current when the list was first asked, not when it was made.
  EXPECT_EQ(f.Dir1.Path(), rt::WithoutTrailingSlash(cwd));
  SetCurrentDirectoryA((d + "\\alpha").c_str());
  PathForm g;
  EXPECT_EQ(g.Dir1.Path(), d + "\\alpha");
  // A drive opens that drive's current folder; the drive list names the current drive.
  EXPECT_TRUE(g.Dir1.SetPath("c: [label]"));
  EXPECT_EQ(g.Dir1.Path(), d + "\\alpha");
  EXPECT_EQ(g.Drive1.Drive().substr(0, 2), "c:");
  SetCurrentDirectoryA(cwd);
}

TEST(FolderListBox, TheUserOpensAFolderWithADoubleClickOrEnter) {
  PathForm f;
  std::string d = MakeTree();
  f.Dir1.SetPath(d + "\\alpha");
  f.Show();
  HWND lb = f.Dir1.hWnd();
  ASSERT_NE(lb, nullptr);
  int depth = static_cast<int>(SendMessageA(lb, LB_GETCOUNT, 0, 0)) - 1;  // alpha has no sub-folders
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), depth);
  EXPECT_EQ(nt::ListBoxText(lb, depth), "alpha");
  EXPECT_EQ(nt::ListBoxText(lb, 0), "C:\\");
  // The user highlights the parent row and double-clicks it.
  RECT r;
  SendMessageA(lb, LB_GETITEMRECT, depth - 1, reinterpret_cast<LPARAM>(&r));
  LPARAM at = MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
  SendMessageA(lb, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(lb, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(f.Dir1.ListIndex(), -2);
  EXPECT_EQ(f.Dir1.Path(), d + "\\alpha");
  SendMessageA(lb, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(lb, WM_LBUTTONUP, 0, at);
  rt::DoEvents();
  EXPECT_EQ(f.Dir1.Path(), d);
  EXPECT_EQ(f.File1.Path(), d);
  // One folder fewer above, and the four sub-folders below.
  EXPECT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), depth + 4);
  EXPECT_EQ(nt::ListBoxText(lb, depth + 3), "Zeta");
  // Down to "alpha" and Enter, through the message loop as typed keys come.
  SetFocus(lb);
  SendMessageA(lb, LB_SETCURSEL, depth + 1, 0);
  SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(lb), LBN_SELCHANGE), reinterpret_cast<LPARAM>(lb));
  EXPECT_EQ(f.Dir1.ListIndex(), 1);
  PostMessageA(lb, WM_KEYDOWN, VK_RETURN, 0);
  rt::DoEvents();
  EXPECT_EQ(f.Dir1.Path(), d + "\\alpha");
  EXPECT_EQ(f.log.back(), "dir " + d + "\\alpha");
  f.Unload();
}

TEST(DriveListBox, ListsTheDrivesAndTellsAChosenOne) {
  PathForm f;
  ASSERT_GE(f.Drive1.ListCount(), 1);
  bool hasC = false;
  for (int i = 0; i < f.Drive1.ListCount(); ++i) {
    std::string d = f.Drive1.List(i);
    ASSERT_GE(d.size(), 2u);
    EXPECT_TRUE(d[0] >= 'a' && d[0] <= 'z' && d[1] == ':') << d;
    hasC = hasC || d.substr(0, 2) == "c:";
  }
  EXPECT_TRUE(hasC);
  std::string d = MakeTree();
  f.Dir1.SetPath(d);
  f.log.clear();
  EXPECT_FALSE(f.Drive1.SetDrive("?"));
  EXPECT_FALSE(f.Drive1.SetDrive(""));
  // Choosing the drive the list shows runs nothing; another drive runs Change, and the folder
  // list moves to that drive's current folder.
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  ASSERT_TRUE(f.Drive1.SetDrive(cwd));
  EXPECT_TRUE(f.log.empty());
  int other = -1;
  for (int i = 0; i < f.Drive1.ListCount() && other < 0; ++i)
    if (f.Drive1.List(i)[0] != (cwd[0] | 0x20)) other = i;
  ASSERT_GE(other, 0) << "the prefix has C: and Z:";
  f.Show();
  HWND cb = f.Drive1.hWnd();
  EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), f.Drive1.ListCount());
  SendMessageA(cb, CB_SETCURSEL, other, 0);
  SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cb), CBN_SELCHANGE), reinterpret_cast<LPARAM>(cb));
  EXPECT_EQ(f.Drive1.ListIndex(), other);
  ASSERT_EQ(f.log.size(), 2u);
  EXPECT_EQ(f.log[0], "drive " + f.Drive1.List(other));
  EXPECT_EQ(f.Dir1.Path().substr(0, 2), rt::UCase(f.Drive1.List(other).substr(0, 2)));
  EXPECT_EQ(f.File1.Path(), f.Dir1.Path());
  f.Unload();
}

}  // namespace
