#include "options/form6.h"

#include <algorithm>
#include <cstdio>

#include "mainwindow/form1.h"
#include "options/langfiles.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/icons.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/storage.h"

const char* const Form6::kTranslationMail = "translations@morvane.example";
const char* const Form6::kSite = "http://www.morvane.example/";

namespace {

constexpr int kKeys = 300;       // the keys a language file holds
constexpr int kListedKeys = 210;  // the keys Open puts in the list

// A text of a language file given by its full path ("" when the file or the key is missing).
std::string TextOf(const std::string& path, const std::string& key) { return LanguageTextAt(path, key); }

}  // namespace

std::string LanguageKey(int n) {
  char key[8];
  std::snprintf(key, sizeof key, "%03d", n);
  return key;
}

forms::DefaultInstance<Form6>& LanguageEditor() {
  static forms::DefaultInstance<Form6> form;
  return form;
}

Form6::Form6()
    : Form("Form6"),
      Frame4(*this, "Frame4", "Translation Information"),
      Label3(*this, "Label3", "Your Name"),
      Text5(*this, "Text5"),
      Label4(*this, "Label4", "Translat to Language"),
      Text6(*this, "Text6", "Spanish"),
      Frame1(*this, "Frame1", "Source Language"),
      List1(*this, "List1"),
      Frame3(*this, "Frame3", ""),
      Label1(*this, "Label1", "Source Line to be translated"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2", "Write the translation of above line here"),
      Text2(*this, "Text2"),
      chameleonButton1(*this, "chameleonButton1", "Add"),
      Frame2(*this, "Frame2", "Destination Language"),
      List2(*this, "List2"),
      chameleonButton11(*this, "chameleonButton11", "Open Translation File To Edit it."),
      chameleonButton3(*this, "chameleonButton3", "Save"),
      chameleonButton2(*this, "chameleonButton2", "Exit"),
      List20(*this, "List20"),
      List3(*this, "List3"),
      Text3(*this, "Text3"),
      Text4(*this, "Text4"),
      Text7(*this, "Text7"),
      Text8(*this, "Text8", "a"),
      dialog1(*this, "dialog1") {
  SetCaption("Translation Window");
  SetBorder(forms::Border::FixedSingle);
  SetMaxButton(false);
  SetClientSize(7800, 7770);
  SetIcon(icons::AppIcon(32), icons::AppIcon(16));
  for (forms::Control* c : std::initializer_list<forms::Control*>{&List20, &List3, &Text3, &Text4, &Text7, &Text8})
    c->SetVisible(false);

  auto place = [](forms::Control& c, forms::Frame& frame, int left, int top, int width, int height) {
    c.SetContainer(&frame);
    c.Move(left, top, width, height);
  };
  Frame4.Move(120, 90, 7560, 780);
  place(Label3, Frame4, 165, 360, 1110, 210);
  place(Text5, Frame4, 1290, 300, 2145, 315);
  place(Label4, Frame4, 3570, 360, 1920, 210);
  place(Text6, Frame4, 5505, 300, 1890, 315);
  Frame1.Move(120, 960, 7560, 2160);
  place(List1, Frame1, 165, 285, 7230, 1725);
  Frame3.Move(120, 3210, 7560, 1530);
  place(Label1, Frame3, 165, 195, 5820, 210);
  place(Text1, Frame3, 165, 420, 5820, 315);
  place(Label2, Frame3, 165, 795, 5820, 210);
  place(Text2, Frame3, 165, 1020, 5820, 315);
  place(chameleonButton1, Frame3, 6120, 1005, 1275, 345);
  Frame2.Move(120, 4830, 7560, 2280);
  place(List2, Frame2, 165, 285, 7230, 1440);
  place(chameleonButton11, Frame2, 165, 1815, 3300, 360);
  chameleonButton3.Move(5040, 7245, 1275, 375);
  chameleonButton2.Move(6405, 7245, 1275, 375);
  Text1.SetLocked(true);  // the source line is shown, not edited

  controls::ButtonSettings standard;  // the classic raised button in the system's colours
  standard.type = controls::ButtonTypeKind::Standard;
  standard.scheme = controls::ColorSchemeKind::SystemColors;
  for (controls::chameleonButton* b : {&chameleonButton1, &chameleonButton3, &chameleonButton2}) b->Apply(standard);
  chameleonButton11.Apply(controls::ButtonSettings{});
  chameleonButton11.SetPictureNormal({icons::ToolbarPicture("folder", 16, GetSysColor(COLOR_BTNFACE)), nullptr});

  SetTabOrder({&Frame4, &Label3, &Text5, &Label4, &Text6, &Frame1, &List1, &Frame3, &Label1, &Text1, &Label2, &Text2,
               &chameleonButton1, &Frame2, &List2, &chameleonButton11, &chameleonButton3, &chameleonButton2});

  List1.Click = [this] { List1_Click(); };
  List2.Click = [this] { List2_Click(); };
  chameleonButton1.Click = [this] { chameleonButton1_Click(); };
  chameleonButton11.Click = [this] { chameleonButton11_Click(); };
  chameleonButton3.Click = [this] { chameleonButton3_Click(); };
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
}


void Form6::Form_Load() {
  CenterOnScreen();
  Command1_Click();
  List1.Clear();
  List2.Clear();
  List3.Clear();
  List20.Clear();
  carried_.clear();
  // The source: every text of the language the program uses now.
  std::string source = LanguageFilePath(MainForm().txtlang.Text());
  for (int n = 1; n <= kKeys; ++n) {
    std::string text = rt::Trim(TextOf(source, LanguageKey(n)));
    if (text.empty()) continue;
    List1.AddItem(text);
    List20.AddItem(LanguageKey(n));
  }
  for (forms::TextBox* t : {&Text1, &Text2, &Text3, &Text4}) t->SetText("");
}

void Form6::Command1_Click() {
  Frame4.SetCaption(Lang("135"));
  Frame1.SetCaption(Lang("136"));
  Frame2.SetCaption(Lang("139"));
  Label3.SetCaption(Lang("134"));
  Label4.SetCaption(Lang("133"));
  Label1.SetCaption(Lang("137"));
  Label2.SetCaption(Lang("138"));
  SetCaption(Lang("140"));
  chameleonButton2.SetCaption(Lang("110"));
  chameleonButton3.SetCaption(Lang("161"));
  chameleonButton1.SetCaption(Lang("157"));
  chameleonButton11.SetCaption(Lang("143"));
}

void Form6::List1_Click() {
  int i = List1.ListIndex();
  if (i < 0) return;
  Text1.SetText(List1.List(i));
  Text3.SetText(List20.List(i));
  Text2.SetText("");
  Text4.SetText("");
}

void Form6::List2_Click() {
  int i = List2.ListIndex();
  if (i < 0) return;
  Text8.SetText(rt::NumberText(i));
  Text2.SetText(List2.List(i));
  Text4.SetText(List3.List(i));
  // The source line of the same key, when the language in use has one.
  std::string key = rt::LCase(rt::Trim(Text4.Text()));
  for (int k = 0; k < List20.ListCount(); ++k) {
    if (rt::LCase(rt::Trim(List20.List(k))) != key) continue;
    Text1.SetText(List1.List(k));
    Text3.SetText(List20.List(k));
    return;
  }
  // None: the translation keeps its own key when it is edited.
  Text1.SetText("");
  Text3.SetText(Text4.Text());
}

void Form6::chameleonButton1_Click() {
  std::string translation = rt::Trim(Text2.Text());
  if (translation.empty()) return;
  std::string key = rt::Trim(Text3.Text());
  if (rt::Trim(Text8.Text()) != "a") {
    // A translation chosen in the list takes the new text and the key of the line now shown.
    int i = static_cast<int>(rt::ValInt(Text8.Text()));
    if (List2.SetList(i, translation)) List3.SetList(i, key);
    Text8.SetText("a");
    return;
  }
  if (key.empty()) return;  // no source line chosen: there is no key to store it under
  // A key is stored once; the same translation may stand for several keys.
  for (const std::string& k : List3.Items()) {
    if (rt::LCase(rt::Trim(k)) != rt::LCase(key)) continue;
    for (forms::TextBox* t : {&Text1, &Text2, &Text3}) t->SetText("");
    return;
  }
  List2.AddItem(translation);
  List3.AddItem(key);
}

void Form6::chameleonButton11_Click() {
  std::optional<std::string> file = ChooseLanguageFile(dialog1, hWnd());
  if (!file) return;
  Text7.SetText(rt::FileNameOf(*file));  // found by the code page's characters
  if (file->empty()) return;
  // The file chosen is the one read, wherever it is; Save writes it into the "lang" folder.
  const std::string& chosen = *file;
  openedInLang_ = rt::SameFile(chosen, rt::JoinPath(LangFolder(), rt::Trim(Text7.Text())));
  List2.Clear();
  List3.Clear();
  carried_.clear();
  for (int n = 1; n <= kKeys; ++n) {
    std::string text = rt::Trim(TextOf(chosen, LanguageKey(n)));
    if (text.empty()) continue;
    if (n <= kListedKeys) {
      List2.AddItem(text);
      List3.AddItem(LanguageKey(n));
    } else {
      carried_.emplace_back(LanguageKey(n), text);
    }
  }
  // The name box shows the file's translator, whom a save then keeps.
  std::string translator = rt::Trim(TextOf(chosen, "145"));
  if (!translator.empty()) Text5.SetText(translator);
  for (forms::TextBox* t : {&Text1, &Text2, &Text3, &Text4}) t->SetText("");
  Text8.SetText("a");  // an index into the list before is no entry of this one
}

std::string Form6::FileText() const {
  const std::string bar(56, '#');
  auto padded = [](std::string line) {
    line.resize(std::max<size_t>(line.size(), 49), ' ');
    return line;
  };
  std::vector<std::string> lines = {
      bar,
      "#### " + rt::Trim(Text6.Text()) + " Language File for Velk Rezeza Pro  ",
      "#### Translated by: " + rt::Trim(Text5.Text()) + std::string(19, ' '),
      bar,
      "#### This file holds the texts of Velk Rezeza Pro in one language.",
      "#### Translate it into yours with the program's translation window",
      "#### and send it to us: we share it with every user of the program.",
      bar,
      "#### Contact us at:" + std::string(30, ' '),
      padded(std::string("#### ") + kTranslationMail),
      padded(std::string("#### ") + kSite),
      bar,
      "[001]",
  };
  auto entry = [this](const std::string& key, const std::string& text) {
    // The translator's and the language's names as the boxes hold them.
    const std::string& shown = key == "145" ? Text5.Text() : key == "146" ? Text6.Text() : text;
    return key + "=\"" + shown + "\"";
  };
  for (int i = 0; i < List2.ListCount(); ++i) lines.push_back(entry(List3.List(i), List2.List(i)));
  for (const auto& [key, text] : carried_) {
    const auto& keys = List3.Items();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) lines.push_back(entry(key, text));
  }
  std::string bytes;
  for (const auto& l : lines) bytes += l + "\r\n";
  return bytes;
}

void Form6::chameleonButton3_Click() {
  std::string path;
  bool opened = !rt::Trim(Text7.Text()).empty();
  if (opened) {
    // The opened file keeps its name, which becomes the language's name too once it is saved.
    path = rt::JoinPath(LangFolder(), rt::Trim(Text7.Text()));
  } else {
    std::string name = rt::Trim(Text6.Text());
    if (!rt::IsPlainFileName(name)) {
      std::string text = Lang("293");
      if (rt::Trim(text).empty())
        text = "Type the name of the language first. It becomes the file's name, so it cannot hold \\ / : * ? \" < > |.";
      rt::MsgBox(hWnd(), text, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    path = rt::JoinPath(LangFolder(), IsIniName(name) ? name : name + ".ini");
  }
  uint64_t size = 0;
  if ((!opened || !openedInLang_) && rt::FileSize64(path, size) && size > 50) {
    // A language file of that name is there already, and it is not the one opened: it is not
    // replaced. The work is then a new translation, saved under the name in the language box,
    // which keeps what the user typed.
    if (hWnd()) SetWindowPos(hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    rt::MsgBox(hWnd(), Lang("141"), "Velk Rezeza Pro", MB_OK | MB_ICONINFORMATION);
    if (opened) Text7.SetText("");
    return;
  }
  if (opened) Text6.SetText(Text7.Text());
  bool written = rt::CreateFolder(LangFolder()) && rt::WriteFileReplacing(path, FileText());
  if (written) {
    rt::MsgBox(hWnd(), Lang("142") + "\r\n" + path, "Velk Rezeza Pro", MB_OK | MB_ICONINFORMATION);
  } else {
    std::string text = Lang("290");
    if (rt::Trim(text).empty()) text = "The language file could not be written. The file that was there is unchanged:";
    rt::MsgBox(hWnd(), text + "\r\n" + path, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
  }
}

void Form6::chameleonButton2_Click() { Unload(); }
