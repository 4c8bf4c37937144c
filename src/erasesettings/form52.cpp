#include "erasesettings/form52.h"

#include <shlobj.h>

#include <vector>

#include "mainwindow/form1.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/fileprop.h"
#include "shared/icons.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/storage.h"

const char* const Form52::kTypedUrls = "software\\microsoft\\internet explorer\\typedurls";

forms::DefaultInstance<Form52>& KeepListWindow() {
  static forms::DefaultInstance<Form52> form;
  return form;
}

namespace {
constexpr int kPx = forms::kTwipsPerPixel;

// An entry, trimmed, that the keep file holds and gives back as it was: one line, no longer than
// its readers take a line to be. An address with a line break would come back as two, and one of
// more than 64 KiB would make the whole file unreadable.
bool Keepable(const std::string& entry) {
  return !entry.empty() && entry.find_first_of("\r\n") == std::string::npos && entry.size() <= rt::kMaxLineLength;
}
}  // namespace

Form52::Form52()
    : Form("Form52"),
      Frame1(*this, "Frame1"),
      Label1(*this, "Label1"),
      List1(*this, "List1"),
      orubutton2(*this, "orubutton2", "Add"),
      List2(*this, "List2"),
      chameleonButton1(*this, "chameleonButton1", "Select All"),
      orubutton11(*this, "orubutton11", "  Refresh"),
      chameleonButton2(*this, "chameleonButton2", "Select All"),
      orubutton3(*this, "orubutton3", " Delete"),
      orubutton7(*this, "orubutton7", "  OK"),
      orubutton10(*this, "orubutton10", " Cancel"),
      Text1(*this, "Text1"),
      List3(*this, "List3"),
      File1(*this, "File1"),
      Lang([] { return MainForm().txtlang.Text(); }) {
  SetCaption("Keep List");
  SetBorder(forms::Border::FixedDialog);
  SetIcon(icons::AppIcon(32), icons::AppIcon(16));
  SetClientSize(360 * kPx, 408 * kPx);

  // A frame with the current list, Add, the keep list and a row of buttons; OK and Cancel below it.
  Frame1.Move(8 * kPx, 4 * kPx, 344 * kPx, 360 * kPx);
  Frame1.SetCaption("");
  Label1.Add(1).SetCaption("Current List");
  Label1.Add(0).SetCaption("Keep list");
  Label1[1].SetContainer(&Frame1);
  Label1[1].Move(10 * kPx, 16 * kPx, 300 * kPx, 16 * kPx);
  Label1[0].SetContainer(&Frame1);
  Label1[0].Move(10 * kPx, 194 * kPx, 300 * kPx, 16 * kPx);
  for (auto [list, top, height] : {std::tuple{&List1, 34, 122}, std::tuple{&List2, 212, 108}}) {
    list->SetSorted(true);
    list->SetMultiSelect(forms::ListBox::kExtended);
    list->SetContainer(&Frame1);
    list->Move(10 * kPx, top * kPx, 324 * kPx, height * kPx);
  }
  controls::ButtonSettings look;
  look.fore = RGB(64, 64, 64);
  controls::ButtonSettings add = look;
  add.bold = true;
  orubutton2.Apply(add);
  orubutton2.SetContainer(&Frame1);
  orubutton2.Move(132 * kPx, 162 * kPx, 80 * kPx, 26 * kPx);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  orubutton2.SetPictureNormal({icons::ToolbarPicture("download", 16, face), nullptr});
  struct Tool {
    controls::chameleonButton* button;
    const char* picture;
  };
  int x = 10;
  for (Tool t : {Tool{&chameleonButton1, "selectall"}, Tool{&orubutton11, "refresh"}, Tool{&chameleonButton2, "selectall"},
                 Tool{&orubutton3, "delete"}}) {
    t.button->Apply(look);
    t.button->SetContainer(&Frame1);
    t.button->Move(x * kPx, 326 * kPx, 78 * kPx, 26 * kPx);
    t.button->SetPictureNormal({icons::ToolbarPicture(t.picture, 16, face), nullptr});
    x += 82;
  }
  orubutton7.Apply(look);
  orubutton7.Move(190 * kPx, 372 * kPx, 78 * kPx, 28 * kPx);
  orubutton7.SetDefault(true);
  orubutton10.Apply(look);
  orubutton10.Move(274 * kPx, 372 * kPx, 78 * kPx, 28 * kPx);
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Text1, &List3, &File1}) c->SetVisible(false);
  File1.SetPattern("*.txt");

  Text1.Change = [this] { Text1_Change(); };
  orubutton2.Click = [this] { orubutton2_Click(); };
  orubutton3.Click = [this] { orubutton3_Click(); };
  chameleonButton1.Click = [this] { chameleonButton1_Click(); };
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
  orubutton11.Click = [this] { orubutton11_Click(); };
  orubutton7.Click = [this] { orubutton7_Click(); };
  orubutton10.Click = [this] { orubutton10_Click(); };
  List1.DblClick = [this] { orubutton2_Click(); };
  List2.DblClick = [this] { orubutton3_Click(); };
}

void Form52::Form_Load() {
  SetTopmost(true);
  CenterOnScreen();
  SetCaption(Lang("108"));
  Label1[1].SetCaption(Lang("106"));
  Label1[0].SetCaption(Lang("108"));
  orubutton11.SetCaption(Lang("107"));
  orubutton3.SetCaption(Lang("109"));
  std::string selectAll = Lang("043");
  chameleonButton1.SetCaption(selectAll);
  chameleonButton2.SetCaption(selectAll);
  orubutton7.SetCaption(Lang("100"));
  orubutton10.SetCaption(Lang("110"));
  orubutton2.SetCaption(Lang("157"));
}

int Form52::Mode() const {
  double mode = rt::Val(Text1.Text());
  return mode == 1 ? 1 : mode == 2 ? 2 : 0;
}

std::string Form52::KeepListFile(int mode) {
  if (mode == 1) return rt::JoinPath(rt::ProgramFolder(), "cookies.vel");
  if (mode == 2) return rt::JoinPath(rt::ProgramFolder(), "url.vel");
  return "";
}

void Form52::Text1_Change() {
  if (filling_) return;  // the fill in progress takes the new mode up when it ends
  FillLists();
}

void Form52::FillLists() {
  filling_ = true;
  do {
    // Both lists start afresh: one mode's entries never land in the other mode's file.
    int mode = Mode();
    listMode_ = mode;
    keepListUnread_ = false;
    List1.Clear();
    List2.Clear();
    if (mode == 1) Command1_Click();
    if (mode == 2) Command2_Click();
    if ((mode == 1 || mode == 2) && !ReadKeepList(KeepListFile(mode))) keepListUnread_ = true;
  } while (IsLoaded() && Mode() != listMode_);
  filling_ = false;
}

bool Form52::ReadKeepList(const std::string& path) {
  rt::LineReader reader;
  if (!reader.Open(path)) return rt::GetAttr(path) == rt::kNoAttributes;  // no file yet: nothing is kept
  for (std::string line; reader.Next(line);) {
    rt::YieldIfDue();
    if (!rt::Trim(line).empty()) List2.AddItem(line);
  }
  return !reader.Failed();
}

// The "*.txt" cookie files of the Windows Cookies folder.
void Form52::Command1_Click() {
  std::string cookies = ShellFolderPath(hWnd(), CSIDL_COOKIES);
  if (cookies.empty() || !File1.SetPath(cookies)) return;
  std::vector<std::string> names = File1.Items();
  for (const std::string& name : names) {
    rt::YieldIfDue();
    List1.AddItem(name);
  }
}

// The addresses typed into Internet Explorer: the data of the typed-address values.
void Form52::Command2_Click() {
  List1.Clear();
  List3.Clear();
  std::string scratch;
  fEnumValuec("HKCU", kTypedUrls, scratch, List3);
  std::vector<std::string> names = List3.Items();
  for (const std::string& name : names) {
    rt::YieldIfDue();
    std::string address;
    ReadRegString(HKEY_CURRENT_USER, kTypedUrls, name, address);
    if (!rt::Trim(address).empty()) List1.AddItem(rt::Trim(address));
  }
}

// The selected current entries join the keep list, unless it holds them already (compared
// trimmed, ignoring case); blank entries never, and entries the keep file cannot hold are refused
// with a word.
void Form52::orubutton2_Click() {
  if (filling_) return;
  bool refused = false;
  for (int i = 0; i < List1.ListCount(); ++i) {
    rt::YieldIfDue();
    if (!List1.Selected(i)) continue;
    std::string entry = List1.List(i);
    std::string t = rt::LCase(rt::Trim(entry));
    if (t.empty()) continue;
    if (!Keepable(rt::Trim(entry))) {
      refused = true;
      continue;
    }
    bool kept = false;
    for (const std::string& k : List2.Items()) kept = kept || rt::LCase(rt::Trim(k)) == t;
    if (!kept) List2.AddItem(entry);
  }
  if (refused)
    rt::MsgBox(hWnd(),
               Lang.Or("282", "An entry that holds a line break, or is longer than 64 KiB, cannot be kept: it was not "
                              "added to the keep list."),
               "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
}

void Form52::orubutton3_Click() {
  if (filling_) return;
  for (int i = List2.ListCount() - 1; i >= 0; --i) {
    rt::YieldIfDue();
    if (i < List2.ListCount() && List2.Selected(i)) List2.RemoveItem(i);
  }
}

void Form52::SelectAll(forms::ListBox& list) {
  for (int i = 0; i < list.ListCount(); ++i) {
    rt::YieldIfDue();
    list.SetSelected(i, true);
  }
}

void Form52::chameleonButton1_Click() { SelectAll(List1); }

void Form52::chameleonButton2_Click() { SelectAll(List2); }

// The current list anew; the keep list keeps its unsaved edits.
void Form52::orubutton11_Click() {
  if (filling_ || (listMode_ != 1 && listMode_ != 2)) return;
  filling_ = true;
  List1.Clear();
  listMode_ == 1 ? Command1_Click() : Command2_Click();
  filling_ = false;
  if (IsLoaded() && Mode() != listMode_) FillLists();  // a mode assigned during the refresh
}

// The keep list replaces its file (written beside it and moved over it: a write that fails leaves
// the old keep list as it was), and the window closes. When the file cannot be written, the
// window says so and stays open with the user's edits, to try again.
void Form52::orubutton7_Click() {
  if (filling_) return;
  std::string path = KeepListFile(listMode_);
  if (keepListUnread_) {
    // What the window shows is not what the file keeps: replacing it would lose the rest.
    std::string text = Lang.Or("271",
                               "The keep list could not be read, so it was not replaced. Close the program that holds "
                               "it and open the keep list again:");
    rt::MsgBox(hWnd(), text + "\r\n" + path, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
  } else if (!path.empty()) {
    std::vector<std::string> lines;
    for (const std::string& entry : List2.Items())
      if (Keepable(rt::Trim(entry))) lines.push_back(rt::Trim(entry));
    if (!rt::WriteLinesReplacing(path, lines)) {
      std::string text = Lang.Or("281",
                                 "The keep list could not be saved, and the file that was there is unchanged. Close "
                                 "the program that holds it and press OK again:");
      rt::MsgBox(hWnd(), text + "\r\n" + path, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  Unload();
}

void Form52::orubutton10_Click() { Unload(); }
