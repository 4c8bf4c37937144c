// The editor window driven through its controls: captions, the command line, New, Open, Save and
// Save As with the file's bytes, editing and removing entries, Exit, help and the download page.
#include <gtest/gtest.h>

#include <functional>

#include "fixture.h"
#include "runtime/app.h"
#include "runtime/textfile.h"
#include "shared/settings.h"

namespace {

using Lines = std::vector<std::string>;
using te::EditorTest;

const char* kFixture =
    "Demo Cleaner\r\n"
    "  Morvane  \r\n"
    "Cleans the demo's traces\r\n"
    "dropped: between the header and the files\r\n"
    "Files\r\n"
    "file=C:\\demo\\a.log,0\r"  // a lone CR ends a line too
    "  folder=C:\\demo\\cache\\*.*,1  \r\n"
    "any text\nwith a line feed\r\n"
    " REGISTRY \r\n"
    "HKEY_CURRENT_USER\\Software\\Demo,2\r\n"
    "HKEY_CURRENT_USER\\Software\\Demo,LastFile,4\r\n";

class EditorWindow : public EditorTest {
 protected:
  std::string Fixture(const std::string& name = "demo.vk") {
    std::string path = ts::Scratch() + "\\" + name;
    ts::WriteFile(path, kFixture);
    return path;
  }
};

TEST_F(EditorWindow, CaptionsComeFromTheLanguageFileTheEditorsSettingNames) {
  PluginEditorWindow& f = LoadEditor();
  EXPECT_EQ(f.txtlang.Text(), "english.ini");
  EXPECT_EQ(f.Caption(), "Velk Rezeza Pro Trelmak");
  struct Case {
    std::string shown, expected;
  } cases[] = {
      {f.a.Caption(), "File"},           {f.a1.Caption(), "New"},          {f.a3.Caption(), "Open"},
      {f.a4.Caption(), "Save"},          {f.a5.Caption(), "Save As"},      {f.a7.Caption(), "Exit"},
      {f.b.Caption(), "About"},          {f.b2.Caption(), "About"},        {f.b1.Caption(), "Download Plug-in"},
      {f.b4.Caption(), "Help"},          {f.Label1[3].Caption(), "Current File :"},
      {f.Label1[0].Caption(), "Title"},  {f.Label1[1].Caption(), "Provided By"},
      {f.Label1[2].Caption(), "Describtion"}, {f.Frame2.Caption(), "Folder and files entries"},
      {f.Frame3.Caption(), "Registry Entrie(s)"}, {f.command1.Caption(), "Add"}, {f.Command4.Caption(), "Add"},
      {f.Command2.Caption(), "Remove"},  {f.Command3.Caption(), "Remove"}, {f.Command10.Caption(), "Edit"},
      {f.Command11.Caption(), "Edit"},   {f.Command8.Caption(), "New"},    {f.Command9.Caption(), "Open"},
      {f.Command5.Caption(), "Save"},    {f.Command7.Caption(), "Save As"}, {f.Command6.Caption(), "Exit"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
  EXPECT_FALSE(f.Command12.Visible());
  te::EditorTest::ResetWindows();

  // Another language file, named under the editor's own key (trimmed); a key it lacks is empty.
  ts::WriteFile(ts::ProgramDir() + "\\lang\\other.ini", "[001]\r\n150=\"Neu\"\r\n184=Datei\r\n");
  ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, "software\\dorvanta\\tarvo eraser", "language", " other.ini "));
  settings::Write(settings::kLanguage, "english.ini");  // the main program's setting is not the editor's
  PluginEditorWindow& g = LoadEditor();
  EXPECT_EQ(g.txtlang.Text(), " other.ini ");
  EXPECT_EQ(g.Command8.Caption(), "Neu");
  EXPECT_EQ(g.a.Caption(), "Datei");
  EXPECT_EQ(g.Command9.Caption(), "");
  EXPECT_EQ(g.Frame2.Caption(), "");
  EXPECT_EQ(g.Caption(), "Velk Rezeza Pro Trelmak");
  te::EditorTest::ResetWindows();

  // A stored name that is no file name of the lang folder is read as the English file.
  ts::WriteFile(ts::ProgramDir() + "\\outside.ini", "[001]\r\n150=\"Elsewhere\"\r\n");
  ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, "software\\dorvanta\\tarvo eraser", "language", "..\\outside.ini"));
  PluginEditorWindow& h = LoadEditor();
  EXPECT_EQ(h.txtlang.Text(), "english.ini");
  EXPECT_EQ(h.Command8.Caption(), "New");
}

TEST_F(EditorWindow, EveryButtonIsTheOwnerDrawnOneWithItsSettings) {
  using controls::ButtonTypeKind;
  PluginEditorWindow& f = LoadEditor();
  PathEntryDialog& p = PathDialog();
  RegistryEntryDialog& r = RegistryDialog();
  struct Case {
    forms::Form* window;
    bool softBevel;
  } cases[] = {{&f, false}, {&p, true}, {&r, true}};
  for (const auto& c : cases) {
    int buttons = 0;
    for (forms::Control* control : c.window->Controls()) {
      if (control == &f.Command12) continue;  // the hidden relocation button: a plain push button
      EXPECT_EQ(dynamic_cast<forms::PushButton*>(control), nullptr) << control->Name();
      auto* b = dynamic_cast<controls::chameleonButton*>(control);
      if (!b) continue;
      ++buttons;
      SCOPED_TRACE(c.window->Name() + "." + b->Name());
      EXPECT_EQ(b->ButtonType(), b == &r.command1 ? ButtonTypeKind::HighlightHover : ButtonTypeKind::FlatHover);
      EXPECT_EQ(b->ColorScheme(), controls::ColorSchemeKind::CustomColors);
      EXPECT_EQ(b->BackColor(), controls::kButtonFace);
      EXPECT_EQ(b->BackOver(), controls::kButtonFace);
      EXPECT_EQ(b->ForeColor(), RGB(0, 0, 0));
      EXPECT_EQ(b->ForeOver(), RGB(192, 0, 0));
      EXPECT_EQ(b->MaskColor(), RGB(255, 255, 255));
      EXPECT_EQ(b->FontName(), "Arial");
      EXPECT_EQ(b->PicturePosition(), controls::PicturePositionKind::PictureLeft);
      EXPECT_EQ(b->SoftBevel(), c.softBevel);
    }
    EXPECT_GE(buttons, 3) << c.window->Name();
  }
  EXPECT_NE(dynamic_cast<forms::PushButton*>(static_cast<forms::Control*>(&f.Command12)), nullptr);
}

TEST_F(EditorWindow, TheCommandLineNamesThePlugInToOpen) {
  struct Case {
    const char* args;
    const char* path;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"C:\\plug-ins\\demo.vk", "C:\\plug-ins\\demo.vk"},
      {"C:\\my plug-ins\\demo file.vk", "C:\\my plug-ins\\demo file.vk"},
      {"\"C:\\my plug-ins\\demo file.vk\"", "C:\\my plug-ins\\demo file.vk"},
      {" \"C:\\my plug-ins\\demo file.vk\" ", "C:\\my plug-ins\\demo file.vk"},
      {"\"C:\\a.vk\" \"C:\\b.vk\"", "\"C:\\a.vk\" \"C:\\b.vk\""},  // not one pair: taken whole
      {"\"", "\""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLinePath(c.args), c.path) << c.args;

  // Started with a quoted path, the editor opens the file.
  std::string path = Fixture("my demo.vk");
  rt::SetCommandLineForTests("\"" + path + "\"");
  PluginEditorWindow& f = LoadEditor();
  EXPECT_EQ(f.Text4.Text(), path);
  EXPECT_EQ(f.Label2.Caption(), path);
  EXPECT_EQ(f.Text1.Text(), "Demo Cleaner");
  EXPECT_EQ(f.List1.ListCount(), 3);
  te::EditorTest::ResetWindows();

  // A name that names no file: the window starts empty with it as its current file.
  rt::SetCommandLineForTests(ts::Scratch() + "\\new.vk");
  PluginEditorWindow& g = LoadEditor();
  EXPECT_EQ(g.Text4.Text(), ts::Scratch() + "\\new.vk");
  EXPECT_EQ(g.List1.ListCount() + g.List2.ListCount(), 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorWindow, OpenReadsThePlugInLineByLine) {
  std::string path = Fixture();
  PluginEditorWindow& f = LoadEditor();
  f.Text1.SetText("old title");
  f.List2.AddItem("old entry");
  fileAnswers = {path};
  f.Command9.PerformClick();
  ASSERT_EQ(fileDialogs.size(), 1u);
  EXPECT_FALSE(fileDialogs[0].save);
  EXPECT_EQ(fileDialogs[0].title, "Select Out Put File Name");
  EXPECT_EQ(fileDialogs[0].filter, "*.vk|*.vk");
  EXPECT_EQ(fileDialogs[0].fileName, "*.vk");
  EXPECT_EQ(fileDialogs[0].initDir, "");
  EXPECT_EQ(f.Text4.Text(), path);
  EXPECT_EQ(f.Label2.Caption(), path);
  EXPECT_EQ(f.Text1.Text(), "Demo Cleaner");
  EXPECT_EQ(f.Text2.Text(), "  Morvane  ");
  EXPECT_EQ(f.Text3.Text(), "Cleans the demo's traces");
  EXPECT_EQ(Items(f.List1), (Lines{"file=C:\\demo\\a.log,0", "  folder=C:\\demo\\cache\\*.*,1  ",
                                   "any text\nwith a line feed"}));
  EXPECT_EQ(Items(f.List2), (Lines{"HKEY_CURRENT_USER\\Software\\Demo,2", "HKEY_CURRENT_USER\\Software\\Demo,LastFile,4"}));

  // Cancel changes nothing; the menu item does what the button does.
  fileAnswers = {std::nullopt};
  f.a3.PerformClick();
  EXPECT_EQ(fileDialogs.size(), 2u);
  EXPECT_EQ(f.Text4.Text(), path);
  EXPECT_EQ(f.List1.ListCount(), 3);

  // A file that cannot be read is reported, and the window keeps no name to save over it.
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  fileAnswers = {path};
  f.Command9.PerformClick();
  CloseHandle(lock);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "The plug-in file could not be read:\r" + path);
  EXPECT_EQ(boxes[0].title, "Trelmak");
  EXPECT_EQ(f.Text4.Text(), "");
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(ts::ReadFile(path), kFixture);
  // So is one with a line longer than any plug-in holds: it is no plug-in of ours.
  std::string longLine = std::string(kFixture) + std::string(rt::kMaxLineLength + 1, 'x') + "\r\n";
  ts::WriteFile(path, longLine);
  fileAnswers = {path};
  f.Command9.PerformClick();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "The plug-in file could not be read:\r" + path);
  EXPECT_EQ(f.Text4.Text(), "");
  EXPECT_EQ(ts::ReadFile(path), longLine);
}

TEST_F(EditorWindow, SaveRewritesTheOpenedFileInThePlugInLayout) {
  std::string path = Fixture();
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  PluginEditorWindow& f = LoadEditor();
  fileAnswers = {path};
  f.Command9.PerformClick();
  f.Text1.SetText("  Demo Cleaner 2 ");
  f.List1.AddItem("   ");  // blank entries are left out
  f.List1.AddItem("file=C:\\demo\\b,c.log,1");
  f.Command5.PerformClick();
  EXPECT_EQ(fileDialogs.size(), 1u) << "no dialog: the opened file is rewritten";
  EXPECT_EQ(ts::ReadFile(path),
            "Demo Cleaner 2\r\nMorvane\r\nCleans the demo's traces\r\nfiles\r\n"
            "file=C:\\demo\\a.log,0\r\nfolder=C:\\demo\\cache\\*.*,1\r\nany text\nwith a line feed\r\n"
            "file=C:\\demo\\b,c.log,1\r\n"
            "registry\r\nHKEY_CURRENT_USER\\Software\\Demo,2\r\nHKEY_CURRENT_USER\\Software\\Demo,LastFile,4\r\n");
  EXPECT_EQ(f.Text4.Text(), path) << "Save keeps the current file";
  EXPECT_EQ(f.List1.List(0), "file=C:\\demo\\a.log,0");
  EXPECT_EQ(f.List1.List(1), "  folder=C:\\demo\\cache\\*.*,1  ") << "the list keeps what it holds";
  EXPECT_FALSE(ts::Exists(path + ".~new"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorWindow, SaveWithoutACurrentFileAsksEveryTime) {
  PluginEditorWindow& f = LoadEditor();
  std::string plugins = ts::ProgramDir() + "\\plugins";
  std::string path = plugins + "\\mine";  // no extension is added
  f.List2.AddItem("HKEY_CURRENT_USER\\Software\\Demo,1");
  fileAnswers = {path, std::nullopt, ""};
  f.Command5.PerformClick();
  ASSERT_EQ(fileDialogs.size(), 1u);
  EXPECT_TRUE(fileDialogs[0].save);
  EXPECT_EQ(fileDialogs[0].title, "Select Out Put File Name");
  EXPECT_EQ(fileDialogs[0].filter, "*.vk|*.vk");
  EXPECT_EQ(fileDialogs[0].fileName, "*.vk");
  EXPECT_EQ(fileDialogs[0].initDir, plugins);
  EXPECT_EQ(fileDialogs[0].defaultExt, "");
  EXPECT_EQ(ts::ReadFile(path), "\r\n\r\n\r\nfiles\r\nregistry\r\nHKEY_CURRENT_USER\\Software\\Demo,1\r\n");
  EXPECT_EQ(f.Text4.Text(), "") << "still no current file";
  f.a4.PerformClick();  // Cancel: nothing, no message
  EXPECT_EQ(fileDialogs.size(), 2u);
  EXPECT_TRUE(boxes.empty());
  f.Command5.PerformClick();  // an empty name
  EXPECT_EQ(fileDialogs.size(), 3u);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "You did not Select output file");
  EXPECT_EQ(boxes[0].icon, 0u);
}

TEST_F(EditorWindow, SaveNeedsAnEntrySaveAsDoesNot) {
  PluginEditorWindow& f = LoadEditor();
  f.Text1.SetText("Only a title");
  f.Command5.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "you did not select any action !");
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_TRUE(fileDialogs.empty());

  // Save As writes the five-line plug-in, and leaves the window without a current file.
  std::string path = ts::Scratch() + "\\empty.vk";
  fileAnswers = {path};
  f.Command7.PerformClick();
  EXPECT_EQ(ts::ReadFile(path), "Only a title\r\n\r\n\r\nfiles\r\nregistry\r\n");
  EXPECT_EQ(f.Text4.Text(), "");

  // An entry of blanks counts as an entry for Save and is then not written.
  fileAnswers = {path};
  f.List1.AddItem("  ");
  f.Command5.PerformClick();
  EXPECT_EQ(fileDialogs.size(), 2u);
  EXPECT_EQ(ts::ReadFile(path), "Only a title\r\n\r\n\r\nfiles\r\nregistry\r\n");
  EXPECT_EQ(boxes.size(), 1u);

  // Save As after Open leaves no current file: the next Save asks again.
  std::string opened = ts::Scratch() + "\\opened.vk";
  ts::WriteFile(opened, "t\r\np\r\nd\r\nfiles\r\nfile=C:\\x,0\r\nregistry\r\n");
  fileAnswers = {opened, ts::Scratch() + "\\copy.vk", std::nullopt};
  f.Command9.PerformClick();
  f.a5.PerformClick();
  EXPECT_EQ(ts::ReadFile(ts::Scratch() + "\\copy.vk"), "t\r\np\r\nd\r\nfiles\r\nfile=C:\\x,0\r\nregistry\r\n");
  EXPECT_EQ(f.Label2.Caption(), "");
  f.Command5.PerformClick();
  EXPECT_EQ(fileDialogs.size(), 5u);
}

TEST_F(EditorWindow, ASaveThatFailsSaysSoAndKeepsTheOldFile) {
  std::string path = Fixture();
  PluginEditorWindow& f = LoadEditor();
  fileAnswers = {path};
  f.Command9.PerformClick();
  f.List1.Clear();
  // The new file cannot be written beside the old one: a folder holds its name.
  ASSERT_TRUE(rt::CreateFolder(path + ".~new"));
  f.Command5.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "The plug-in could not be saved:\r" + path);
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(ts::ReadFile(path), kFixture);

  // The same for Save As into a folder that does not exist.
  fileAnswers = {ts::Scratch() + "\\missing\\x.vk"};
  f.Command7.PerformClick();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "The plug-in could not be saved:\r" + ts::Scratch() + "\\missing\\x.vk");
}

// Lines the readers would take otherwise are never written: an entry that reads as a section line
// (it would move every entry after it to the other list), and a line longer than a reader takes.
TEST_F(EditorWindow, ASaveThatWouldReadBackOtherwiseIsRefused) {
  std::string path = Fixture();
  PluginEditorWindow& f = LoadEditor();
  fileAnswers = {path};
  f.Command9.PerformClick();
  struct Case {
    const char* what;
    std::function<void()> change, undo;
    const char* notice;
  } cases[] = {
      {"a file entry", [&] { f.List1.AddItem(" Registry "); }, [&] { f.List1.RemoveItem(f.List1.ListCount() - 1); },
       "cannot be just the word files or registry"},
      {"a registry entry", [&] { f.List2.AddItem("files"); }, [&] { f.List2.RemoveItem(f.List2.ListCount() - 1); },
       "cannot be just the word files or registry"},
      {"a long description", [&] { f.Text3.SetText(std::string(rt::kMaxLineLength + 1, 'd')); },
       [&] { f.Text3.SetText("d"); }, "longer than a plug-in line can be"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    c.change();
    f.Command5.PerformClick();  // Save
    f.Command7.PerformClick();  // Save As: no dialog either
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find(c.notice), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(ts::ReadFile(path), kFixture);
    c.undo();
  }
  EXPECT_EQ(fileDialogs.size(), 1u) << "only the Open";
  boxes.clear();
  f.Command5.PerformClick();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorWindow, NewEmptiesTheWindow) {
  std::string path = Fixture();
  PluginEditorWindow& f = LoadEditor();
  fileAnswers = {path};
  f.Command9.PerformClick();
  f.a1.PerformClick();
  for (forms::TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4}) EXPECT_EQ(t->Text(), "");
  EXPECT_EQ(f.Label2.Caption(), "");
  EXPECT_EQ(f.List1.ListCount() + f.List2.ListCount(), 0);
}

TEST_F(EditorWindow, EntriesAreEditedAndRemovedWhereOneIsSelected) {
  PluginEditorWindow& f = LoadEditor();
  for (const char* e : {"file=C:\\a.txt,0", "   ", "file=C:\\b.txt,0"}) f.List1.AddItem(e);
  f.List2.AddItem("HKEY_CURRENT_USER\\Software\\A,1");
  std::vector<forms::InputBoxCall> asked;
  std::vector<std::optional<std::string>> answers;
  forms::SetInputBoxHandler([&](const forms::InputBoxCall& c) -> std::optional<std::string> {
    asked.push_back(c);
    std::optional<std::string> a = answers.front();
    answers.erase(answers.begin());
    return a;
  });

  // Nothing selected, or a blank entry: nothing happens.
  f.Command10.PerformClick();
  f.Command11.PerformClick();
  f.Command2.PerformClick();
  f.Command3.PerformClick();
  f.List1.SetListIndex(1);
  f.Command10.PerformClick();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(f.List1.ListCount(), 3);

  // An answer with blanks around it is stored trimmed.
  f.List1.SetListIndex(0);
  answers = {std::string("  file=C:\\c d.txt,1  ")};
  f.Command10.PerformClick();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].prompt, "File or folder entry:");
  EXPECT_EQ(asked[0].title, "Edit File / Folder Location");
  EXPECT_EQ(asked[0].defaultText, "file=C:\\a.txt,0");
  EXPECT_EQ(f.List1.List(0), "file=C:\\c d.txt,1");

  // Blanks or Cancel: the message, and the entry stays.
  answers = {std::string("   "), std::nullopt};
  f.Command10.PerformClick();
  f.List2.SetListIndex(0);
  f.Command11.PerformClick();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[2].prompt, "Edit registry key ?");
  EXPECT_EQ(asked[2].title, "Edit registery Key");
  EXPECT_EQ(asked[2].defaultText, "HKEY_CURRENT_USER\\Software\\A,1");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "An entry cannot be empty: the entry stays as it was.");
  EXPECT_EQ(boxes[1].text, "You didn't enter any value!!!");
  for (const auto& b : boxes) EXPECT_EQ(b.icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(f.List1.List(0), "file=C:\\c d.txt,1");
  EXPECT_EQ(f.List2.List(0), "HKEY_CURRENT_USER\\Software\\A,1");

  // Remove takes the selected entry away.
  f.List1.SetListIndex(2);
  f.Command2.PerformClick();
  EXPECT_EQ(Items(f.List1), (Lines{"file=C:\\c d.txt,1", "   "}));
  f.Command3.PerformClick();
  EXPECT_EQ(f.List2.ListCount(), 0);
}

TEST_F(EditorWindow, ExitClosesTheEntryDialogsWithTheWindow) {
  PluginEditorWindow& f = LoadEditor();
  PathEntryDialog& path = PathDialog();
  RegistryEntryDialog& reg = RegistryDialog();
  ASSERT_TRUE(path.IsLoaded());
  ASSERT_TRUE(reg.IsLoaded());
  f.Command6.PerformClick();
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_FALSE(path.IsLoaded());
  EXPECT_FALSE(reg.IsLoaded());
  EXPECT_TRUE(boxes.empty());
  // The menu item and the close box take the same road.
  PluginEditorWindow& g = LoadEditor();
  PathDialog();
  g.a7.PerformClick();
  EXPECT_FALSE(PathEntry().IsLoaded());
  PluginEditorWindow& h = LoadEditor();
  RegistryDialog();
  SendMessageA(h.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(h.IsLoaded());
  EXPECT_FALSE(RegistryEntry().IsLoaded());
}

TEST_F(EditorWindow, HelpAndTheDownloadPage) {
  std::vector<rt::ProcessStart> starts;
  INT_PTR result = 0;  // the help program and the browser cannot start
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) -> INT_PTR {
    starts.push_back(p);
    return result;
  });
  PluginEditorWindow& f = LoadEditor();
  f.b4.PerformClick();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, "hh.exe \"" + ts::ProgramDir() + "\\vovavedazorudi.chm\"");
  EXPECT_EQ(starts[0].show, SW_SHOWNORMAL);
  EXPECT_TRUE(boxes.empty()) << "a help program that cannot start is ignored";

  f.b1.PerformClick();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_TRUE(starts[1].viaShell);
  EXPECT_EQ(starts[1].verb, "open");
  EXPECT_EQ(starts[1].file, PluginEditorWindow::kDownloadPage);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("I cant open the site\r") + PluginEditorWindow::kDownloadPage);
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  result = 42;
  f.b1.PerformClick();
  EXPECT_EQ(boxes.size(), 1u);

  f.b2.PerformClick();  // About does nothing
  EXPECT_EQ(starts.size(), 3u);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(EditorWindow, TheHiddenButtonRelocatesThePlugIns) {
  std::string path = ts::ProgramDir() + "\\plugins\\old.vk";
  ts::WriteFile(path, "Old\r\nx\r\ny\r\nfiles\r\nfile=c:\\temp\\a.log,0\r\nregistry\r\n");
  std::string root;
  ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows nt\\CurrentVersion", "systemroot", root);
  ASSERT_GE(root.size(), 3u);
  PluginEditorWindow& f = LoadEditor();
  f.Command12.PerformClick();
  EXPECT_EQ(ts::ReadFile(path), "Old\r\nx\r\ny\r\nfiles\r\nfile=" + root.substr(0, 3) + "temp\\a.log,0\r\nregistry\r\n");
}

}  // namespace
