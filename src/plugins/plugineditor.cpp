#include "plugins/plugineditor.h"

#include <tuple>

#include "plugins/pathentry.h"
#include "plugins/registryentry.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/language.h"
#include "shared/pluginfile.h"
#include "shared/settings.h"

const char* const PluginEditorWindow::kTitle = "Trelmak";
const char* const PluginEditorWindow::kDownloadPage = "http://www.morvane.example/plugin.htm";
const char* const PluginEditorWindow::kHelpFile = "vovavedazorudi.chm";

namespace {

// Where the editor's language setting lives (the main program keeps its own).
const char* const kLanguageKey = "software\\dorvanta\\tarvo eraser";

const char* const kDialogTitle = "Select Out Put File Name";

}  // namespace

forms::Control::NativeLook PathLabel::Look() const {
  NativeLook look = Label::Look();
  look.style |= SS_PATHELLIPSIS;
  return look;
}

forms::DefaultInstance<PluginEditorWindow>& PluginEditor() {
  static forms::DefaultInstance<PluginEditorWindow> instance;
  return instance;
}

std::string CommandLinePath(const std::string& args) {
  std::string t = rt::Trim(args);
  if (t.empty()) return "";
  if (t.size() >= 2 && t.front() == '"' && t.back() == '"' && t.find('"', 1) == t.size() - 1)
    return t.substr(1, t.size() - 2);
  return args;
}

PluginEditorWindow::PluginEditorWindow()
    : Form("PluginEditorWindow"),
      Label1(*this, "Label1"),
      Label2(*this, "Label2"),
      Frame1(*this, "Frame1"),
      Frame2(*this, "Frame2", "Folder and files entries"),
      Frame3(*this, "Frame3", "Registry Entrie(s)"),
      Text1(*this, "Text1"),
      Text2(*this, "Text2"),
      Text3(*this, "Text3"),
      List1(*this, "List1"),
      List2(*this, "List2"),
      command1(*this, "command1", "Add"),
      Command2(*this, "Command2", "Remove"),
      Command10(*this, "Command10", "Edit"),
      Command4(*this, "Command4", "Add"),
      Command3(*this, "Command3", "Remove"),
      Command11(*this, "Command11", "Edit"),
      Command8(*this, "Command8", "New"),
      Command9(*this, "Command9", "Open"),
      Command7(*this, "Command7", "Save As"),
      Command5(*this, "Command5", "Save"),
      Command6(*this, "Command6", "Exit"),
      Command12(*this, "Command12", "Command12"),
      Text4(*this, "Text4"),
      txtlang(*this, "txtlang", "english.ini"),
      Dlg1(*this, "Dlg1"),
      a(*this, "a", nullptr, "File"),
      a1(*this, "a1", &a, "New"),
      a2(*this, "a2", &a, "-"),
      a3(*this, "a3", &a, "Open"),
      a4(*this, "a4", &a, "Save"),
      a5(*this, "a5", &a, "Save As"),
      a6(*this, "a6", &a, "-"),
      a7(*this, "a7", &a, "Exit"),
      b(*this, "b", nullptr, "About"),
      b1(*this, "b1", &b, "Download Plug-in"),
      b4(*this, "b4", &b, "Help"),
      b3(*this, "b3", &b, "-"),
      b2(*this, "b2", &b, "About") {
  SetCaption("Velk Rezeza Pro Trelmak");
  SetBorder(forms::Border::FixedSingle);
  SetMaxButton(false);
  SetClientSize(7800, 7140);
  if (HICON big = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0)))
    SetIcon(big, static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0)));

  // The current file along the top.
  forms::Label& current = Label1.Add(3);
  current.SetCaption("Current File :");
  current.Move(120, 150, 1260, 255);
  Label2.Move(1380, 150, 6300, 255);
  Label2.SetWordWrap(false);

  // The three header boxes in a frame without a caption.
  Frame1.Move(120, 450, 7560, 1410);
  const char* headers[] = {"Title", "Provided By", "Describtion"};
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3};
  for (int i = 0; i < 3; ++i) {
    forms::Label& l = Label1.Add(i);
    l.SetCaption(headers[i]);
    l.SetContainer(&Frame1);
    l.Move(180, 195 + 390 * i, 1320, 255);
    boxes[i]->SetContainer(&Frame1);
    boxes[i]->Move(1560, 150 + 390 * i, 5820, 315);
  }

  // The two entry lists, each in its frame with Add, Remove and Edit in a row below it.
  struct Section {
    forms::Frame* frame;
    forms::ListBox* list;
    controls::chameleonButton* buttons[3];
    int top;
  };
  controls::ButtonSettings editor;  // flat buttons without the soft bevel
  editor.softBevel = false;
  for (const Section& s : {Section{&Frame2, &List1, {&command1, &Command2, &Command10}, 1950},
                           Section{&Frame3, &List2, {&Command4, &Command3, &Command11}, 4290}}) {
    s.frame->Move(120, s.top, 7560, 2250);
    s.list->SetContainer(s.frame);
    s.list->Move(180, 300, 7200, 1380);
    for (int i = 0; i < 3; ++i) {
      s.buttons[i]->SetContainer(s.frame);
      s.buttons[i]->Move(180 + 1260 * i, 1770, 1140, 375);
      s.buttons[i]->Apply(editor);
    }
  }

  // New, Open, Save As, Save and Exit along the bottom.
  int x = 120;
  for (controls::chameleonButton* button : {&Command8, &Command9, &Command7, &Command5, &Command6}) {
    button->Move(x, 6630, 1380, 405);
    button->Apply(editor);
    x += 1545;
  }

  Command12.Move(-2400, -2400, 1215, 375);  // never seen, never reached by Tab
  Command12.SetVisible(false);
  Text4.SetVisible(false);
  txtlang.SetVisible(false);

  // Events: each menu item runs its button's handler.
  command1.Click = [this] { command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = [this] { Command4_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  Command6.Click = [this] { Command6_Click(); };
  Command7.Click = [this] { Command7_Click(); };
  Command8.Click = [this] { Command8_Click(); };
  Command9.Click = [this] { Command9_Click(); };
  Command10.Click = [this] { Command10_Click(); };
  Command11.Click = [this] { Command11_Click(); };
  Command12.Click = [this] { Command12_Click(); };
  a1.Click = [this] { Command8_Click(); };
  a3.Click = [this] { Command9_Click(); };
  a4.Click = [this] { Command5_Click(); };
  a5.Click = [this] { Command7_Click(); };
  a7.Click = [this] { Command6_Click(); };
  b1.Click = [this] { b1_Click(); };
  b4.Click = [this] { b4_Click(); };
  b2.Click = [this] { b2_Click(); };
}


int PluginEditorWindow::Notice(const std::string& text, UINT icon) {
  return rt::MsgBox(hWnd(), text, kTitle, MB_OK | icon);
}

// --- start-up ----------------------------------------------------------------------------------------

void PluginEditorWindow::Form_Load() {
  CenterOnScreen();
  std::string language;
  ReadRegString(HKEY_LOCAL_MACHINE, kLanguageKey, "language", language);
  txtlang.SetText(LanguageNameOrDefault(language));
  SetCaptions();
  // The plug-in named on the command line, once the window is set up.
  OpenCommandLine();
}

void PluginEditorWindow::SetCaptions() {
  a.SetCaption(Lang("184"));
  for (auto [item, button, key] : {std::tuple{&a1, &Command8, "150"}, std::tuple{&a3, &Command9, "151"},
                                   std::tuple{&a4, &Command5, "161"}, std::tuple{&a5, &Command7, "162"},
                                   std::tuple{&a7, &Command6, "163"}}) {
    std::string text = Lang(key);
    item->SetCaption(text);
    button->SetCaption(text);
  }
  b.SetCaption(Lang("006"));
  b2.SetCaption(Lang("006"));
  b1.SetCaption(Lang("041"));
  b4.SetCaption(Lang("007"));
  Label1[3].SetCaption(Lang("152"));
  Label1[0].SetCaption(Lang("153"));
  Label1[1].SetCaption(Lang("154"));
  Label1[2].SetCaption(Lang("155"));
  Frame2.SetCaption(Lang("156"));
  Frame3.SetCaption(Lang("160"));
  for (controls::chameleonButton* add : {&command1, &Command4}) add->SetCaption(Lang("157"));
  for (controls::chameleonButton* remove : {&Command2, &Command3}) remove->SetCaption(Lang("158"));
  for (controls::chameleonButton* edit : {&Command10, &Command11}) edit->SetCaption(Lang("159"));
}

void PluginEditorWindow::OpenCommandLine() {
  std::string path = CommandLinePath(rt::CommandLineArgs());
  if (path.empty()) return;
  SetCurrentFile(path);
  ReadPlugin(path);
}

void PluginEditorWindow::Form_Unload(int& Cancel) {
  // The entry dialogs go with the window they add to.
  if (PathEntry().IsLoaded()) PathEntry()->Unload();
  if (RegistryEntry().IsLoaded()) RegistryEntry()->Unload();
}

// --- files -----------------------------------------------------------------------------------------

void PluginEditorWindow::SetCurrentFile(const std::string& path) {
  Text4.SetText(path);
  Label2.SetCaption(path);
}

void PluginEditorWindow::ReadPlugin(const std::string& path) {
  PluginContent content;
  switch (ReadPluginFile(path, content)) {
    case PluginRead::Missing:
      return;  // a new plug-in of that name: Save creates it
    case PluginRead::Unreadable:
      // Saving over a file that could not be read would lose it: the window forgets the name.
      SetCurrentFile("");
      Notice("The plug-in file could not be read:\r" + path, MB_ICONEXCLAMATION);
      return;
    case PluginRead::Read:
      break;
  }
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3};
  for (int i = 0; i < content.headerLines; ++i) boxes[i]->SetText(content.header[i]);
  for (const auto& line : content.files) List1.AddItem(line);
  for (const auto& line : content.registry) List2.AddItem(line);
}

void PluginEditorWindow::WritePlugin(const std::string& path) {
  // The lists are copied first: the writer yields to the message loop, where the user may edit.
  std::vector<std::string> files = List1.Items(), registry = List2.Items();
  std::string full = path;
  if (!rt::IsAbsolutePath(full)) {
    char buf[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
    if (n > 0 && n < MAX_PATH) full.assign(buf, n);
  }
  if (!WritePluginFile(full, Text1.Text(), Text2.Text(), Text3.Text(), files, registry))
    Notice("The plug-in could not be saved:\r" + path, MB_ICONEXCLAMATION);
}

// Before a save: a line break typed or pasted into a header box goes (the box then shows what the
// file will hold; the entries have lost theirs on their way into the lists, and a lone LF read from
// a file stays, as it was read), and a line that would read back otherwise, or not at all, is
// refused with a notice.
bool PluginEditorWindow::PrepareContent() {
  bool section = false, tooLong = false;
  auto check = [&](const std::string& line) {
    section = section || IsSectionLine(line);
    tooLong = tooLong || rt::Trim(line).size() > rt::kMaxLineLength;
  };
  for (forms::TextBox* box : {&Text1, &Text2, &Text3}) {
    std::string line = WithoutLineBreaks(box->Text());
    if (line != box->Text()) box->SetText(line);
    check(line);
  }
  for (const forms::ListBox* list : {&List1, &List2})
    for (const std::string& entry : list->Items()) check(entry);
  if (section) {
    Notice(Lang.Or("272",
                   "A title, a provider, a description or an entry cannot be just the word files or registry: the "
                   "plug-in would read back otherwise. The plug-in was not saved."),
           MB_ICONEXCLAMATION);
    return false;
  }
  if (tooLong) {
    Notice(Lang.Or("278",
                   "An entry, a title, a provider or a description is longer than a plug-in line can be (64 KiB). "
                   "The plug-in was not saved."),
           MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

bool PluginEditorWindow::ShowSaveDialog(std::string& chosen) {
  Dlg1.SetCancelError(true);
  Dlg1.SetFilter("*.vk|*.vk");
  Dlg1.SetInitDir(rt::JoinPath(rt::ProgramFolder(), "plugins"));
  Dlg1.SetFileName("*.vk");
  Dlg1.SetDialogTitle(kDialogTitle);
  if (Dlg1.ShowSave() != forms::DialogResult::Ok) return false;
  if (rt::Trim(Dlg1.FileName()).empty()) {
    Notice("You did not Select output file", 0);
    return false;
  }
  chosen = Dlg1.FileName();
  return true;
}

void PluginEditorWindow::Command8_Click() {
  Text1.SetText("");
  Text2.SetText("");
  Text3.SetText("");
  List1.Clear();
  List2.Clear();
  SetCurrentFile("");
}

void PluginEditorWindow::Command9_Click() {
  Dlg1.SetCancelError(true);
  Dlg1.SetFilter("*.vk|*.vk");
  Dlg1.SetFileName("*.vk");
  Dlg1.SetDialogTitle(kDialogTitle);
  Dlg1.SetInitDir("");
  if (Dlg1.ShowOpen() != forms::DialogResult::Ok) return;
  Command8_Click();
  std::string path = Dlg1.FileName();
  SetCurrentFile(path);
  ReadPlugin(path);
}

void PluginEditorWindow::Command5_Click() {
  if (List1.ListCount() == 0 && List2.ListCount() == 0) {
    Notice("you did not select any action !", MB_ICONEXCLAMATION);
    return;
  }
  if (!PrepareContent()) return;
  std::string current = rt::Trim(Text4.Text());
  if (!current.empty()) {
    WritePlugin(current);
    return;
  }
  std::string chosen;
  if (ShowSaveDialog(chosen)) WritePlugin(chosen);
}

void PluginEditorWindow::Command7_Click() {
  if (!PrepareContent()) return;
  std::string chosen;
  if (!ShowSaveDialog(chosen)) return;
  WritePlugin(chosen);
  SetCurrentFile("");
}

void PluginEditorWindow::Command6_Click() { Unload(); }

// --- entries ---------------------------------------------------------------------------------------

void PluginEditorWindow::command1_Click() {
  PathEntryDialog& dialog = PathEntry().Get();
  dialog.Load();
  dialog.Show();
}

void PluginEditorWindow::Command4_Click() {
  RegistryEntryDialog& dialog = RegistryEntry().Get();
  dialog.Load();
  dialog.Show();
}

void PluginEditorWindow::Command2_Click() {
  if (List1.ListIndex() >= 0) List1.RemoveItem(List1.ListIndex());
}

void PluginEditorWindow::Command3_Click() {
  if (List2.ListIndex() >= 0) List2.RemoveItem(List2.ListIndex());
}

void PluginEditorWindow::EditEntry(forms::ListBox& list, const std::string& prompt, const std::string& title,
                                   const std::string& emptyMessage) {
  int index = list.ListIndex();
  std::string entry = list.List(index);
  if (rt::Trim(entry).empty()) return;
  std::string answer = forms::InputBox(hWnd(), prompt, title, entry).value_or("");
  answer = WithoutLineBreaks(answer);  // one entry is one line of the file
  if (rt::Trim(answer).empty()) {
    Notice(emptyMessage, MB_ICONSTOP);
    return;
  }
  list.SetList(index, rt::Trim(answer));
}

void PluginEditorWindow::Command10_Click() {
  EditEntry(List1, Lang("190"), "Edit File / Folder Location", Lang("189"));
}

void PluginEditorWindow::Command11_Click() {
  EditEntry(List2, "Edit registry key ?", "Edit registery Key", "You didn't enter any value!!!");
}

void PluginEditorWindow::Command12_Click() { RelocatePlugins(); }

// --- the About menu --------------------------------------------------------------------------------

void PluginEditorWindow::b1_Click() {
  if (rt::ShellExecuteText(hWnd(), "open", kDownloadPage, "", "", SW_SHOWNORMAL) > 32) return;
  Notice(std::string("I cant open the site") + "\r" + kDownloadPage, MB_ICONEXCLAMATION);
}

void PluginEditorWindow::b4_Click() {
  rt::StartProcess("hh.exe \"" + rt::JoinPath(rt::ProgramFolder(), kHelpFile) + "\"", SW_SHOWNORMAL);
}

void PluginEditorWindow::b2_Click() {}
