// The path entry dialog driven through its lists and buttons: the line it adds for a file, a
// folder, a drive root, a typed path and no selection, and its messages.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/files.h"

namespace {

using Lines = std::vector<std::string>;
using te::EditorTest;

class PathEntryTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    data = ts::Scratch() + "\\data";
    for (const char* n : {"b.log", "a.tmp", "c.tmp", "sub\\inner.tmp", "other\\x.txt"}) ts::WriteFile(data + "\\" + n, "x");
  }
  // Opens the dialog in the data folder.
  PathEntryDialog& Open() {
    PathEntryDialog& d = PathDialog();
    EXPECT_TRUE(d.Dir1.SetPath(data));
    EXPECT_EQ(d.File1.Path(), data);
    return d;
  }
  void Select(PathEntryDialog& d, const std::string& name) {
    int i = 0;
    while (i < d.File1.ListCount() && d.File1.List(i) != name) ++i;
    ASSERT_LT(i, d.File1.ListCount()) << name;
    d.File1.SetListIndex(i);
  }
  Lines Entries() { return PluginEditor()->List1.Items(); }
  std::string data;
};

TEST_F(PathEntryTest, CaptionsAndTheDesignState) {
  PathEntryDialog& d = PathDialog();
  EXPECT_EQ(d.Caption(), "Folder and file editor");
  EXPECT_EQ(d.Frame1.Caption(), "Select folder and files to be erased");
  EXPECT_EQ(d.Frame2.Caption(), "File(s) and Folder That will Be erased");
  EXPECT_EQ(d.Check1.Caption(), "Include SubFolders when cleaning");
  EXPECT_EQ(d.Label1.Caption(), "Wild card ( like *.tmp)");
  EXPECT_EQ(d.Command4.Caption(), "Select Folder");
  EXPECT_EQ(d.Command3.Caption(), "Select File");
  EXPECT_EQ(d.Command2.Caption(), "Add");
  EXPECT_EQ(d.command1.Caption(), "Cancel");
  EXPECT_EQ(d.Text1.Text(), "*.*");
  EXPECT_EQ(d.Text3.Text(), "a");
  EXPECT_EQ(d.Text4.Text(), "0");
  EXPECT_EQ(d.Check1.Value(), 0);
  EXPECT_EQ(d.Text2.Text(), "");
  // The three lists start together at the process's current folder.
  EXPECT_FALSE(d.Dir1.Path().empty());
  EXPECT_EQ(d.File1.Path(), d.Dir1.Path());

  // The editor's Add while the dialog is open brings the same dialog back as it is.
  d.Text2.SetText("typed");
  EXPECT_EQ(&PathDialog(), &d);
  EXPECT_EQ(d.Text2.Text(), "typed");
  // Cancel closes it without adding; the next opening starts from the design state.
  d.command1.PerformClick();
  EXPECT_FALSE(d.IsLoaded());
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(PathDialog().Text2.Text(), "");
}

TEST_F(PathEntryTest, TheListsFollowTheDriveTheFolderAndTheWildcard) {
  PathEntryDialog& d = Open();
  EXPECT_EQ(d.File1.Items(), (Lines{"a.tmp", "b.log", "c.tmp"}));
  d.Text1.SetText("  *.tmp ");
  EXPECT_EQ(d.File1.Items(), (Lines{"a.tmp", "c.tmp"}));
  ASSERT_TRUE(d.Dir1.SetPath(data + "\\sub"));
  EXPECT_EQ(d.File1.Items(), (Lines{"inner.tmp"}));
  // Hidden and system files are listed: a plug-in may name them.
  std::string hidden = data + "\\sub\\hidden.tmp", system = data + "\\sub\\system.tmp";
  ts::WriteFile(hidden, "x");
  ts::WriteFile(system, "x");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
  d.File1.Refresh();
  EXPECT_EQ(d.File1.Items(), (Lines{"hidden.tmp", "inner.tmp", "system.tmp"}));
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Another drive: the folder list goes to that drive's current folder, the file list follows.
  ASSERT_TRUE(d.Drive1.SetDrive("z"));  // the drive the test program was started on
  ASSERT_TRUE(d.Drive1.SetDrive("c"));
  EXPECT_NE(d.Dir1.Path(), data + "\\sub");
  EXPECT_EQ(d.Dir1.Path().substr(0, 2), "C:");
  EXPECT_EQ(d.File1.Path(), d.Dir1.Path());
}

TEST_F(PathEntryTest, TheLinesForAFileAFolderAndATypedPath) {
  struct Case {
    const char* what;
    std::function<void(PathEntryDialog&)> steps;
    std::string line;
  } cases[] = {
      {"a file, unticked",
       [&](PathEntryDialog& d) {
         Select(d, "b.log");
         d.Command3.PerformClick();
       },
       "file=" + data + "\\b.log,0"},
      {"a file, ticked",
       [&](PathEntryDialog& d) {
         Select(d, "c.tmp");
         d.Check1.SetValue(1);
         d.Command3.PerformClick();
       },
       "file=" + data + "\\c.tmp,1"},
      {"a folder with the wildcard trimmed",
       [&](PathEntryDialog& d) {
         d.Text1.SetText("  *.tmp  ");
         d.Check1.SetValue(1);
         d.Command4.PerformClick();
       },
       "folder=" + data + "\\*.tmp,1"},
      {"a folder edited into a file path stays a folder line",
       [&](PathEntryDialog& d) {
         d.Command4.PerformClick();
         d.Text2.SetText(data + "\\b.log");
       },
       "folder=" + data + "\\b.log,0"},
      {"a path typed by hand, blanks around it",
       [&](PathEntryDialog& d) { d.Text2.SetText("   C:\\My Files\\list.txt  "); },
       "C:\\My Files\\list.txt,0"},
      {"a drive root's folder",
       [&](PathEntryDialog& d) {
         ASSERT_TRUE(d.Dir1.SetPath("C:\\"));
         d.Command4.PerformClick();
       },
       "folder=C:\\*.*,0"},
      {"a line break typed into the entry box goes",
       [&](PathEntryDialog& d) { d.Text2.SetText("C:\\My Files\r\n\\list.txt\r"); },
       "C:\\My Files\\list.txt,0"},
  };
  Lines expected;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PathEntryDialog& d = Open();
    c.steps(d);
    d.Command2.PerformClick();
    EXPECT_FALSE(d.IsLoaded()) << "the dialog closes after Add";
    expected.push_back(c.line);
    EXPECT_EQ(Entries(), expected);
  }
  EXPECT_TRUE(boxes.empty());
}

// The engine takes a folder's wildcard as one pattern: one it would match otherwise than the file
// list shows (a ";" list, nothing at all, a character no file name holds) is refused.
TEST_F(PathEntryTest, AWildcardTheEngineWouldMatchOtherwiseIsRefused) {
  PathEntryDialog& d = Open();
  for (const char* wildcard : {"", "   ", "*.tmp;*.log", "*.tmp ; *.log", "*.tmp|x", "a<b", "\"*.tmp\"", "*.tmp\t"}) {
    SCOPED_TRACE(wildcard);
    boxes.clear();
    d.Text1.SetText(wildcard);
    d.Command4.PerformClick();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The wildcard must be one pattern such as *.tmp: not empty, no list with ; and none of \\ / : < > | "
                             "or a double quote. Nothing was added.");
    EXPECT_EQ(d.Text2.Text(), "");
    EXPECT_EQ(d.Text4.Text(), "0");
  }
  d.Text1.SetText(" *.t?p ");
  d.Command4.PerformClick();
  EXPECT_EQ(d.Text2.Text(), data + "\\*.t?p");
}

// A name the code page cannot spell is listed with "?" in place of its letters: an entry made of it
// would be a pattern, erasing every file of that length, so the dialog refuses it.
TEST_F(PathEntryTest, ANameTheCodePageCannotSpellIsRefused) {
  std::wstring folder(data.begin(), data.end());
  std::wstring name = L"\x043e\x0442\x0447\x0451\x0442 \x0e01.txt";  // Russian and Thai letters: no code page has both
  const std::wstring file = folder + L"\\" + name;
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  CloseHandle(h);
  ts::WriteFile(data + "\\notes.txt", "a five-letter .txt a pattern would erase");
  PathEntryDialog& d = Open();
  int listed = -1;
  for (int i = 0; i < d.File1.ListCount(); ++i)
    if (d.File1.List(i).find('?') != std::string::npos) listed = i;
  ASSERT_GE(listed, 0) << "the listing spells the name with \"?\"";
  d.File1.SetListIndex(listed);
  d.Command3.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Windows cannot spell this name in the plug-in: the entry would erase other files in its place. "
                           "Nothing was added:\r\n" + data + "\\" + d.File1.List(listed));
  EXPECT_EQ(d.Text2.Text(), "");
  EXPECT_EQ(d.Text4.Text(), "0");
  d.Command2.PerformClick();  // Add: nothing to add
  EXPECT_TRUE(Entries().empty());
  // The file beside it is spelled as listed and is taken.
  Select(d, "notes.txt");
  d.Command3.PerformClick();
  EXPECT_EQ(d.Text2.Text(), data + "\\notes.txt");
  DeleteFileW(file.c_str());
}

TEST_F(PathEntryTest, SelectFileWithNoFileSelectedInTheListAsItStands) {
  // Before any file was selected: the message, nothing changes.
  PathEntryDialog& d = Open();
  d.Command4.PerformClick();
  d.Command3.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Click a file in the file list first.");
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(d.Text2.Text(), data + "\\*.*");
  EXPECT_EQ(d.Text4.Text(), "1");

  // A file was selected, then the folder changed: the entry names the folder, never the old
  // wildcard and never whatever file now stands at the old position.
  Select(d, "c.tmp");
  EXPECT_EQ(d.Text3.Text(), "2");
  ASSERT_TRUE(d.Dir1.SetPath(data + "\\other"));
  d.Command3.PerformClick();
  EXPECT_EQ(d.Text2.Text(), data + "\\other\\");
  EXPECT_EQ(d.Text4.Text(), "2");
  // So does a changed wildcard, and a drive root keeps its one "\".
  Select(d, "x.txt");
  d.Text1.SetText("*.doc");
  d.Command3.PerformClick();
  EXPECT_EQ(d.Text2.Text(), data + "\\other\\");
  ASSERT_TRUE(d.Dir1.SetPath("C:\\"));
  d.Command3.PerformClick();
  EXPECT_EQ(d.Text2.Text(), "C:\\");
  d.Command2.PerformClick();
  EXPECT_EQ(Entries(), (Lines{"file=C:\\,0"}));
}

TEST_F(PathEntryTest, AddWithAnEmptyEntryBoxKeepsTheDialogOpen) {
  PathEntryDialog& d = Open();
  for (const char* text : {"", "    "}) {
    d.Text2.SetText(text);
    d.Command2.PerformClick();
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Type a path, or choose a file or a folder and press Select File or Select Folder.");
  EXPECT_EQ(boxes[0].title, "Trelmak");
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_TRUE(Entries().empty());
  // The same path added twice gives two equal lines.
  for (int i = 0; i < 2; ++i) {
    PathEntryDialog& again = Open();
    Select(again, "a.tmp");
    again.Command3.PerformClick();
    again.Command2.PerformClick();
  }
  EXPECT_EQ(Entries(), (Lines{"file=" + data + "\\a.tmp,0", "file=" + data + "\\a.tmp,0"}));
}

}  // namespace
