#include "plugins/pathentry.h"

#include <algorithm>

#include "plugins/plugineditor.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/language.h"
#include "shared/pluginfile.h"

forms::DefaultInstance<PathEntryDialog>& PathEntry() {
  static forms::DefaultInstance<PathEntryDialog> instance;
  return instance;
}

namespace {

// A folder and a name below it: one "\" between them, none added after a drive root's.
std::string Below(const std::string& folder, const std::string& name) {
  return rt::JoinPath(folder, name);
}

// True when the path names, as the code page spells it, the file or folder the lists show. A
// letter the code page cannot spell is listed as "?", a wildcard to the plug-in engine ("?????.txt"
// would erase every five-letter .txt of the folder), or as a look-alike letter, which names no file
// or another one.
bool SpelledAsListed(const std::string& path, bool folder) {
  if (rt::HasWildcard(path)) return false;
  return folder ? rt::FolderExists(path) : rt::FileExists(path);
}

// A wildcard the plug-in engine matches as the file list does: one pattern, not empty, no ";"
// list, nothing that names a folder or that no file name holds.
bool IsOnePattern(const std::string& wildcard) {
  if (wildcard.empty() || rt::FindCharOf(wildcard, ";\\/:\"<>|") != std::string::npos) return false;
  return std::none_of(wildcard.begin(), wildcard.end(), [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; });
}

}  // namespace

PathEntryDialog::PathEntryDialog()
    : Form("PathEntryDialog"),
      Frame1(*this, "Frame1", "Select folder and files to be erased"),
      Frame2(*this, "Frame2", "File(s) and Folder That will Be erased"),
      Drive1(*this, "Drive1"),
      Dir1(*this, "Dir1"),
      File1(*this, "File1"),
      Label1(*this, "Label1", "Wild card ( like *.tmp)"),
      Text1(*this, "Text1", "*.*"),
      Check1(*this, "Check1", "Include SubFolders when cleaning"),
      Text2(*this, "Text2"),
      Text3(*this, "Text3", "a"),
      Text4(*this, "Text4", "0"),
      Command4(*this, "Command4", "Select Folder"),
      Command3(*this, "Command3", "Select File"),
      Command2(*this, "Command2", "Add"),
      command1(*this, "command1", "Cancel"),
      Lang([] { return PluginEditor()->txtlang.Text(); }) {
  SetCaption("Folder and file editor");
  SetBorder(forms::Border::FixedDialog);
  SetMinButton(false);
  SetMaxButton(false);
  SetClientSize(6630, 5340);

  // The drive, folder and file lists with the wildcard and the sub-folder box.
  Frame1.Move(120, 120, 6390, 3600);
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Drive1, &Dir1, &File1, &Label1, &Text1, &Check1})
    c->SetContainer(&Frame1);
  Drive1.Move(180, 330, 2970, 315);
  Dir1.Move(180, 750, 2970, 2325);
  File1.Move(3270, 330, 2940, 1965);
  Label1.Move(3270, 2430, 2940, 255);
  Text1.Move(3270, 2730, 2940, 315);
  Check1.Move(180, 3180, 5000, 285);
  // Every file is listed, hidden and system ones too: a plug-in may name any of them.
  File1.SetShowHidden(true);
  File1.SetShowSystem(true);

  // The entry box.
  Frame2.Move(120, 3810, 6390, 825);
  Text2.SetContainer(&Frame2);
  Text2.Move(180, 330, 6030, 315);

  // Select Folder, Select File, Add, Cancel in one row under the entry box.
  int x = 120;
  for (controls::chameleonButton* button : {&Command4, &Command3, &Command2, &command1}) {
    button->Move(x, 4800, 1500, 405);
    button->Apply(controls::ButtonSettings{});
    x += 1630;
  }

  Text3.SetVisible(false);
  Text4.SetVisible(false);

  Drive1.Change = [this] { Drive1_Change(); };
  Dir1.Change = [this] { Dir1_Change(); };
  Text1.Change = [this] { Text1_Change(); };
  File1.Click = [this] { File1_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = [this] { Command4_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  command1.Click = [this] { command1_Click(); };
}

void PathEntryDialog::Form_Load() {
  SetCaption(Lang("172"));
  Frame1.SetCaption(Lang("164"));
  Frame2.SetCaption(Lang("167"));
  Check1.SetCaption(Lang("165"));
  Label1.SetCaption(Lang("166"));
  Command4.SetCaption(Lang("168"));
  Command3.SetCaption(Lang("169"));
  Command2.SetCaption(Lang("157"));
  command1.SetCaption(Lang("170"));
  CenterOnScreen();
  // The file list starts where the folder list starts: the process's current folder.
  File1.SetPattern(rt::Trim(Text1.Text()));
  File1.SetPath(Dir1.Path());
}

void PathEntryDialog::Drive1_Change() { Dir1.SetPath(Drive1.Drive()); }

void PathEntryDialog::Dir1_Change() { File1.SetPath(Dir1.Path()); }

void PathEntryDialog::Text1_Change() { File1.SetPattern(rt::Trim(Text1.Text())); }

void PathEntryDialog::File1_Click() {
  if (File1.ListIndex() >= 0) Text3.SetText(rt::NumberText(File1.ListIndex()));
}

void PathEntryDialog::Command3_Click() {
  if (rt::Trim(Text3.Text()) == "a") {
    rt::MsgBox(hWnd(), Lang("186"), PluginEditorWindow::kTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // With no file selected in the list as it now stands (the folder or the wildcard changed since),
  // the entry names the folder itself: a file entry that erases nothing, never some other file.
  std::string name;
  if (File1.ListIndex() >= 0) name = File1.List(static_cast<int>(rt::ValInt(Text3.Text())));
  std::string path = Below(Dir1.Path(), name);
  if (!SpelledAsListed(name.empty() ? Dir1.Path() : path, name.empty())) {
    Unspellable(path);
    return;
  }
  Text2.SetText(path);
  Text4.SetText("2");
}

void PathEntryDialog::Command4_Click() {
  std::string wildcard = rt::Trim(Text1.Text());
  if (!IsOnePattern(wildcard)) {
    rt::MsgBox(hWnd(),
               Lang.Or("275",
                       "The wildcard must be one pattern such as *.tmp: not empty, no list with ; and none of \\ / : "
                       "< > | or a double quote. Nothing was added."),
               PluginEditorWindow::kTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!SpelledAsListed(Dir1.Path(), true)) {
    Unspellable(Dir1.Path());
    return;
  }
  Text2.SetText(Below(Dir1.Path(), wildcard));
  Text4.SetText("1");
}

void PathEntryDialog::Unspellable(const std::string& path) {
  rt::MsgBox(hWnd(),
             Lang.Or("274",
                     "Windows cannot spell this name in the plug-in: the entry would erase other files in its place. "
                     "Nothing was added:") +
                 "\r\n" + path,
             PluginEditorWindow::kTitle, MB_OK | MB_ICONEXCLAMATION);
}

void PathEntryDialog::Command2_Click() {
  std::string path = rt::Trim(WithoutLineBreaks(Text2.Text()));  // one entry is one line of the plug-in
  if (path.empty()) {
    rt::MsgBox(hWnd(), Lang("185"), PluginEditorWindow::kTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::string kind = Text4.Text();
  std::string prefix = kind == "1" ? "folder=" : kind == "2" ? "file=" : "";
  PluginEditor()->List1.AddItem(prefix + path + "," + (Check1.Value() == forms::CheckBox::kChecked ? "1" : "0"));
  Unload();
}

void PathEntryDialog::command1_Click() { Unload(); }
