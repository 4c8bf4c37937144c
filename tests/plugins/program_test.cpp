// The delivered trelmak.exe as a person meets it: started from the main window's button, and
// started with a quoted plug-in path as Explorer passes one; and a plug-in written in the editor
// that the main program then lists, ticks and erases.
#include <windows.h>

#include <gtest/gtest.h>

#include "../mainwindow/fixture.h"
#include "fixture.h"
#include "pluginengine/engine.h"
#include "runtime/files.h"
#include "shared/pluginfile.h"
#include "support/windows.h"

namespace {

using Lines = std::vector<std::string>;

const char* kEditorTitle = "Velk Rezeza Pro Trelmak";

std::string FromHost(std::string unix) {
  for (auto& c : unix) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unix;
}

// The program folder as it is installed: both programs and the language file.
void Install(const std::string& folder) {
  std::string dist = FromHost(VELK_DIST_DIR);
  ASSERT_TRUE(rt::CreateFolder(folder + "\\lang"));
  ASSERT_TRUE(CopyFileA((dist + "\\trelmak.exe").c_str(), (folder + "\\trelmak.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((dist + "\\lang\\english.ini").c_str(), (folder + "\\lang\\english.ini").c_str(), FALSE));
}

std::string ImageOf(DWORD pid) {
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!p) return "";
  char path[MAX_PATH] = "";
  DWORD n = MAX_PATH;
  std::string image = QueryFullProcessImageNameA(p, 0, path, &n) ? std::string(path, n) : "";
  CloseHandle(p);
  return image;
}

// The editor window of a trelmak.exe started from `folder`, waiting for it to come up.
HWND FindEditor(const std::string& folder, DWORD& pid) {
  struct Search {
    std::string exe;
    HWND found = nullptr;
    DWORD pid = 0;
  } s{folder + "\\trelmak.exe"};
  for (int i = 0; i < 300 && !s.found; ++i) {
    Sleep(50);
    EnumWindows(
        [](HWND h, LPARAM l) CALLBACK -> BOOL {
          auto* s = reinterpret_cast<Search*>(l);
          DWORD p = 0;
          GetWindowThreadProcessId(h, &p);
          if (ts::FindTopLevelWindow(p, "VelkForm", kEditorTitle) != h) return TRUE;
          if (lstrcmpiA(ImageOf(p).c_str(), s->exe.c_str()) != 0) return TRUE;
          s->found = h;
          s->pid = p;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
  }
  // The window exists from the start of its load; it is shown once the load is complete.
  for (int i = 0; i < 300 && s.found && !IsWindowVisible(s.found); ++i) Sleep(20);
  pid = s.pid;
  return s.found;
}

std::string TextOf(HWND h) {
  char text[512] = "";
  SendMessageA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The texts of a window's child windows of one class.
Lines ChildTexts(HWND parent, const char* className) {
  struct Search {
    const char* cls;
    Lines texts;
  } s{className, {}};
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM l) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        char cls[64] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, s->cls) == 0) s->texts.push_back(TextOf(h));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.texts;
}

// Closes the editor as its close box does, and waits for the program to end.
void CloseAndWait(HWND editor, DWORD pid) {
  HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  ASSERT_NE(p, nullptr);
  PostMessageA(editor, WM_CLOSE, 0, 0);
  bool ended = WaitForSingleObject(p, 15000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(p, 1);
  DWORD code = 1;
  GetExitCodeProcess(p, &code);
  CloseHandle(p);
  EXPECT_TRUE(ended) << "the program ends with its window";
  EXPECT_EQ(code, 0u);
}

class Program : public mw::MainWindowTest {};

TEST_F(Program, TheMainWindowsButtonStartsTheInstalledEditor) {
  std::string folder = ts::Scratch() + "\\Velk Rezeza Pro";
  Install(folder);
  rt::SetProgramFolder(folder);
  rt::SetProcessStartHandler(nullptr);  // the real start
  Form1& f = Main();
  f.Load();
  f.chameleonButton3.PerformClick();
  DWORD pid = 0;
  HWND editor = FindEditor(folder, pid);
  ASSERT_NE(editor, nullptr) << "trelmak.exe came up from " << folder;
  // Started without arguments: an empty editor with the shipped captions.
  Lines buttons = ChildTexts(editor, "VelkChameleonButton");
  for (const char* caption : {"New", "Open", "Save As", "Save", "Exit", "Add", "Remove", "Edit"})
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), caption), buttons.end()) << caption;
  Lines edits = ChildTexts(editor, "Edit");
  EXPECT_EQ(edits, (Lines{"", "", ""}));
  CloseAndWait(editor, pid);
}

TEST_F(Program, AQuotedPathOnTheCommandLineIsOpened) {
  std::string folder = ts::Scratch() + "\\Velk Rezeza Pro";
  Install(folder);
  std::string plugin = ts::Scratch() + "\\my plug-ins\\demo file.vk";
  ts::WriteFile(plugin, "Demo title\r\nMorvane\r\nA demo\r\nfiles\r\nfile=C:\\x.txt,0\r\nregistry\r\n");
  std::string line = "\"" + folder + "\\trelmak.exe\" \"" + plugin + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DWORD pid = 0;
  HWND editor = FindEditor(folder, pid);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(pid, pi.dwProcessId);
  Lines labels = ChildTexts(editor, "Static");
  EXPECT_NE(std::find(labels.begin(), labels.end(), plugin), labels.end()) << "the current file, without quotes";
  EXPECT_EQ(ChildTexts(editor, "Edit"), (Lines{"Demo title", "Morvane", "A demo"}));
  CloseAndWait(editor, pid);
}

// A plug-in written in the editor, through its dialogs and Save As, is listed, ticked and erased
// by the main program's erase run.
class EndToEnd : public te::EditorTest {
 protected:
  void SetUp() override {
    te::EditorTest::SetUp();
    mw::ClearTraces();
    MainFormInstance().Reset();
  }
  void TearDown() override {
    MainFormInstance().Reset();
    te::EditorTest::TearDown();
  }
};

TEST_F(EndToEnd, APlugInWrittenInTheEditorIsListedTickedAndErased) {
  std::string data = ts::Scratch() + "\\Demo App";
  for (const char* n : {"secret.txt", "cache\\a.tmp", "cache\\keep.log", "cache\\deep\\b.tmp", "other.txt"})
    ts::WriteFile(data + "\\" + n, "trace");
  const std::string key = "Software\\VelkTest\\Demo App";
  mw::SetUserValue(key + "\\Tracks", "1", "x");
  mw::SetUserValue(key, "LastFile", "C:\\report.doc");
  mw::SetUserValue(key, "Keep", "setting");

  PluginEditorWindow& f = LoadEditor();
  f.Text1.SetText("Demo Cleaner");
  f.Text2.SetText("Morvane");
  f.Text3.SetText("Erases the traces of Demo App");
  // The secret file.
  PathEntryDialog& file = PathDialog();
  ASSERT_TRUE(file.Dir1.SetPath(data));
  file.File1.SetListIndex(1);  // other.txt, secret.txt
  file.Command3.PerformClick();
  file.Command2.PerformClick();
  // The cache's *.tmp files, with its sub-folders.
  PathEntryDialog& folder = PathDialog();
  ASSERT_TRUE(folder.Dir1.SetPath(data + "\\cache"));
  folder.Text1.SetText("*.tmp");
  folder.Check1.SetValue(1);
  folder.Command4.PerformClick();
  folder.Command2.PerformClick();
  // A key, and one value.
  RegistryEntryDialog& k = RegistryDialog();
  k.Text1.SetText("HKEY_CURRENT_USER\\" + key + "\\Tracks");
  k.Command2.PerformClick();
  RegistryEntryDialog& v = RegistryDialog();
  v.Text1.SetText("HKEY_CURRENT_USER\\" + key);
  v.Option4.SetValue(true);
  v.Text2.SetText("LastFile");
  v.Command2.PerformClick();
  std::string path = ts::ProgramDir() + "\\plugins\\demo.vk";
  fileAnswers = {path};
  f.Command7.PerformClick();
  EXPECT_EQ(ts::ReadFile(path), "Demo Cleaner\r\nMorvane\r\nErases the traces of Demo App\r\nfiles\r\n"
                                "file=" + data + "\\secret.txt,0\r\nfolder=" + data + "\\cache\\*.tmp,1\r\n"
                                "registry\r\nHKEY_CURRENT_USER\\" + key + "\\Tracks,1\r\n"
                                "HKEY_CURRENT_USER\\" + key + ",LastFile,4\r\n");
  f.Command6.PerformClick();
  EXPECT_TRUE(boxes.empty());

  // The user ticks it in the erasing settings (they keep the ticked names), then erases.
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "demo\r\n");
  Form1& main = MainForm();
  main.Load();
  main.chameleonButton5_Click();
  ASSERT_EQ(main.View1.Count(), 1);
  EXPECT_EQ(main.View1.Text(1), "demo");
  EXPECT_TRUE(main.View1.Checked(1));
  ASSERT_EQ(main.View100.Count(), 1);
  EXPECT_EQ(main.View100.Text(1), "demo");
  EXPECT_EQ(main.View100.SubItem(1, 1), "Done");
  for (const char* gone : {"secret.txt", "cache\\a.tmp", "cache\\deep\\b.tmp"}) EXPECT_FALSE(ts::Exists(data + "\\" + gone)) << gone;
  for (const char* kept : {"cache\\keep.log", "other.txt"}) EXPECT_TRUE(ts::Exists(data + "\\" + kept)) << kept;
  EXPECT_FALSE(mw::UserKeyExists(key + "\\Tracks"));
  EXPECT_FALSE(mw::UserValueExists(key, "LastFile"));
  EXPECT_TRUE(mw::UserValueExists(key, "Keep"));
  Lines rows = mw::DetailRows(main);
  for (const auto& r : rows) EXPECT_NE(r.find("<OK>"), std::string::npos) << r;
  EXPECT_EQ(main.txtfilecount.Text(), "3");
  EXPECT_EQ(main.txtregcount.Text(), "2");
}

// What the user types with line breaks in it, or in a form the readers would take otherwise: the
// editor refuses it or cleans it, and what it then shows is what the main program reads and erases.
TEST_F(EndToEnd, EveryFieldIsReadBackAndErasedAsTheEditorShowedIt) {
  std::string data = ts::Scratch() + "\\Demo App";
  for (const char* n : {"report.txt", "other.txt"}) ts::WriteFile(data + "\\" + n, "trace");
  const std::string key = "Software\\VelkTest\\Demo App";
  mw::SetUserValue(key, "LastFile", "C:\\report.doc");
  mw::SetUserValue(key, "a", "kept");
  mw::SetUserValue(key, "a,b", "kept");

  PluginEditorWindow& f = LoadEditor();
  f.Text2.SetText("Morvane\r\n");
  f.Text3.SetText("Erases\rthe report");
  // A file chosen, its path then edited with a line break pasted into it.
  PathEntryDialog& file = PathDialog();
  ASSERT_TRUE(file.Dir1.SetPath(data));
  file.File1.SetListIndex(1);  // other.txt, report.txt
  file.Command3.PerformClick();
  file.Text2.SetText(data + "\\report\r\n.txt");
  file.Command2.PerformClick();
  // A value name with a comma is refused; the same value typed with a line break is cleaned.
  RegistryEntryDialog& v = RegistryDialog();
  v.Text1.SetText("HKEY_CURRENT_USER\\" + key);
  v.Option4.SetValue(true);
  v.Text2.SetText("a,b");
  v.Command2.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("comma"), std::string::npos) << boxes[0].text;
  v.Text2.SetText("Last\r\nFile");
  v.Command2.PerformClick();
  EXPECT_FALSE(v.IsLoaded());
  // A title that reads as a section line is refused: the file would lose its entries.
  std::string path = ts::ProgramDir() + "\\plugins\\demo.vk";
  for (const char* title : {"Registry", " FILES ", "registry\r\n"}) {
    boxes.clear();
    f.Text1.SetText(title);
    f.Command7.PerformClick();
    ASSERT_EQ(boxes.size(), 1u) << title;
    EXPECT_NE(boxes[0].text.find("files or registry"), std::string::npos) << boxes[0].text;
    EXPECT_FALSE(ts::Exists(path)) << title;
  }
  boxes.clear();
  f.Text1.SetText("Registry\r\ncleaner");
  fileAnswers = {path};
  f.Command7.PerformClick();
  EXPECT_TRUE(boxes.empty());
  // The boxes show what the file holds.
  EXPECT_EQ(f.Text1.Text(), "Registrycleaner");
  EXPECT_EQ(f.Text2.Text(), "Morvane");
  EXPECT_EQ(f.Text3.Text(), "Erasesthe report");
  EXPECT_EQ(f.List1.Items(), (Lines{"file=" + data + "\\report.txt,0"}));
  EXPECT_EQ(f.List2.Items(), (Lines{"HKEY_CURRENT_USER\\" + key + ",LastFile,4"}));
  EXPECT_EQ(ts::ReadFile(path), "Registrycleaner\r\nMorvane\r\nErasesthe report\r\nfiles\r\nfile=" + data +
                                    "\\report.txt,0\r\nregistry\r\nHKEY_CURRENT_USER\\" + key + ",LastFile,4\r\n");
  // Read back by the editor's reader and by the main program's, entry for entry.
  PluginContent c;
  ASSERT_EQ(ReadPluginFile(path, c), PluginRead::Read);
  EXPECT_EQ(c.header[0], f.Text1.Text());
  EXPECT_EQ(c.files, f.List1.Items());
  EXPECT_EQ(c.registry, f.List2.Items());
  plugins::PluginItems items;
  plugins::ReadPluginItems(path, items);
  EXPECT_EQ(items.files, (Lines{data + "\\report.txt"}));
  EXPECT_TRUE(items.folders.empty());
  EXPECT_EQ(items.registry, f.List2.Items());
  f.Command6.PerformClick();

  // The main program erases exactly that.
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "demo\r\n");
  Form1& main = MainForm();
  main.Load();
  main.chameleonButton5_Click();
  EXPECT_FALSE(ts::Exists(data + "\\report.txt"));
  EXPECT_TRUE(ts::Exists(data + "\\other.txt"));
  EXPECT_FALSE(mw::UserValueExists(key, "LastFile"));
  EXPECT_TRUE(mw::UserValueExists(key, "a"));
  EXPECT_TRUE(mw::UserValueExists(key, "a,b"));
  EXPECT_EQ(main.txtfilecount.Text(), "1");
  EXPECT_EQ(main.txtregcount.Text(), "1");
}

}  // namespace
