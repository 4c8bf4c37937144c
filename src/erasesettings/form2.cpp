#include "erasesettings/form2.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

#include "erasesettings/form52.h"
#include "mainwindow/form1.h"
#include "pluginengine/engine.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/icons.h"
#include "shared/language.h"
#include "shared/settings.h"

forms::DefaultInstance<Form2>& ErasingSettings() {
  static forms::DefaultInstance<Form2> form;
  return form;
}

void OpenErasingSettings() {
  Form2& f = ErasingSettings().Get();
  f.Load();  // its load shows it
  MainForm().SetEnabled(false);
  f.Show();
}

void UnloadErasingSettingsWindows() {
  if (KeepListWindow().IsLoaded()) KeepListWindow()->Unload();
  if (ErasingSettings().IsLoaded()) ErasingSettings()->Unload();
}

namespace {

constexpr int kPx = forms::kTwipsPerPixel;

// The boxes Check1(0..kLastBox): the codes of the categories and the hidden select boxes.
constexpr int kLastBox = 24;

// A category's box: its index (the category's code), the frame it stands on, where (pixels inside
// the frame), and the caption it is built with (the language file's text replaces it when the
// window loads; SetCaptions names the key). The table is in the order Tab walks the boxes: on each
// frame from the top down.
struct CategoryBox {
  int index;
  forms::Frame Form2::*frame;
  int x, y, w;
  const char* design;
};
constexpr CategoryBox kCategoryBoxes[] = {
    // "Browsers": Internet Explorer across the top, Opera and Netscape/Mozilla side by side below.
    {0, &Form2::Frame6, 14, 22, 158, "Location Bar History"},
    {1, &Form2::Frame6, 14, 44, 158, "Cookies"},
    {2, &Form2::Frame6, 14, 66, 330, "Temporary Internet Files (cache)"},
    {3, &Form2::Frame6, 14, 88, 350, "Internet History (Need Close IE browsers First)"},
    {4, &Form2::Frame6, 14, 110, 200, "Index.dat"},
    {18, &Form2::Frame4, 12, 22, 214, "Cookies"},
    {19, &Form2::Frame4, 12, 44, 214, "Location Bar History"},
    {20, &Form2::Frame4, 12, 66, 214, "Cache and History"},
    {21, &Form2::Frame5, 12, 22, 214, "Cache"},
    {22, &Form2::Frame5, 12, 44, 214, "Location Bar History"},
    {23, &Form2::Frame5, 12, 66, 214, "Cookies"},
    {24, &Form2::Frame5, 12, 88, 214, "History File"},
    // "Windows": the Windows categories, then the clipboard apart from them.
    {13, &Form2::Frame2, 24, 30, 320, "Recent Documents History"},
    {12, &Form2::Frame2, 24, 58, 320, "Start Menu Search History"},
    {11, &Form2::Frame2, 24, 86, 320, "Start Menu Run History"},
    {10, &Form2::Frame2, 24, 114, 320, "Windows Temp"},
    {9, &Form2::Frame2, 24, 142, 320, "Open /Save Dialog Box History"},
    {8, &Form2::Frame2, 24, 170, 320, "Recycle Bin"},
    {17, &Form2::Frame2, 24, 214, 320, "Clipboard"},
};

// The boxes of no category, each hidden on its page (14 and 15 are the plug-in list's).
struct HiddenBox {
  int index;
  forms::Frame Form2::*page;
};
constexpr HiddenBox kHiddenBoxes[] = {{5, &Form2::Frame1},  {6, &Form2::Frame1},  {7, &Form2::Frame2},
                                      {16, &Form2::Frame2}, {14, &Form2::Frame3}, {15, &Form2::Frame3}};

// Every box of Check1 stands in one of the two tables, once.
constexpr bool EachBoxOnce() {
  int seen[kLastBox + 1] = {};
  for (const CategoryBox& b : kCategoryBoxes)
    if (b.index < 0 || b.index > kLastBox || seen[b.index]++) return false;
  for (const HiddenBox& b : kHiddenBoxes)
    if (b.index < 0 || b.index > kLastBox || seen[b.index]++) return false;
  return std::ranges::all_of(seen, [](int n) { return n == 1; });
}
static_assert(EachBoxOnce(), "a box of Check1 in neither table or twice, or one beyond kLastBox");

controls::ButtonSettings SettingsButton(controls::PicturePositionKind position = controls::PicturePositionKind::PictureLeft) {
  controls::ButtonSettings s;
  s.fore = RGB(64, 64, 64);
  s.picturePosition = position;
  return s;
}

HBITMAP Picture(const char* key, int size) { return icons::ToolbarPicture(key, size, GetSysColor(COLOR_BTNFACE)); }

// A stored box value the box takes: a whole number 0, 1 or 2 (blanks around it allowed).
bool StoredBoxValue(const std::string& text, int& value) {
  std::string t = rt::Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return false;
  double r = std::nearbyint(v);
  if (r < 0 || r > 2) return false;
  value = static_cast<int>(r);
  return true;
}

}  // namespace

Form2::Form2()
    : Form("Form2"),
      chameleonButton1(*this, "chameleonButton1", "Browsers"),
      chameleonButton2(*this, "chameleonButton2", "  Windows"),
      chameleonButton3(*this, "chameleonButton3", "Applications"),
      Frame1(*this, "Frame1", "Browsers"),
      Frame2(*this, "Frame2", "Windows"),
      Frame3(*this, "Frame3", "Applications"),
      chameleonButton4(*this, "chameleonButton4", "Exit"),
      Check1(*this, "Check1"),
      Frame6(*this, "Frame6", "Internet Explorer"),
      chameleonButton7(*this, "chameleonButton7", "View"),
      chameleonButton6(*this, "chameleonButton6", "View"),
      chameleonButton15(*this, "chameleonButton15", "Select All"),
      chameleonButton16(*this, "chameleonButton16", "Select Non"),
      Frame4(*this, "Frame4", "Opera Settings"),
      Text2(*this, "Text2"),
      chameleonButton19(*this, "chameleonButton19", "Change Directory"),
      chameleonButton21(*this, "chameleonButton21", "Auto Scan"),
      Frame5(*this, "Frame5", "NetScape Settings"),
      Text1(*this, "Text1"),
      chameleonButton20(*this, "chameleonButton20", "Change Directory"),
      chameleonButton22(*this, "chameleonButton22", "Auto Scan"),
      Dir1(*this, "Dir1"),
      Dir2(*this, "Dir2"),
      chameleonButton17(*this, "chameleonButton17", "Select All"),
      chameleonButton18(*this, "chameleonButton18", "Select Non"),
      View1(*this, "View1"),
      chameleonButton5(*this, "chameleonButton5", "Select All"),
      chameleonButton14(*this, "chameleonButton14", "Select Non"),
      chameleonButton8(*this, "chameleonButton8", "Refresh"),
      chameleonButton9(*this, "chameleonButton9", "Delete"),
      chameleonButton10(*this, "chameleonButton10", "Plug in Info"),
      chameleonButton11(*this, "chameleonButton11", "Import Plug In"),
      chameleonButton12(*this, "chameleonButton12", "Download Plug-in"),
      chameleonButton13(*this, "chameleonButton13", "Run Trelmak"),
      Text4(*this, "Text4"),
      Text3(*this, "Text3"),
      List4(*this, "List4"),
      List5(*this, "List5"),
      List6(*this, "List6"),
      List7(*this, "List7"),
      List8(*this, "List8"),
      List9(*this, "List9"),
      List10(*this, "List10"),
      List11(*this, "List11"),
      dlg1(*this, "dlg1"),
      Lang([] { return MainForm().txtlang.Text(); }) {
  SetCaption("Erase Settings");
  SetBorder(forms::Border::FixedSingle);
  SetMaxButton(false);
  SetMinButton(false);
  SetIcon(icons::AppIcon(32), icons::AppIcon(16));
  SetClientSize(520 * kPx, 426 * kPx);

  // The tab buttons in a row at the top, the pages below them, Exit at the bottom right.
  struct Tab {
    controls::chameleonButton* button;
    const char* icon;
  };
  int x = 8;
  for (Tab t : {Tab{&chameleonButton1, "a"}, Tab{&chameleonButton2, "b"}, Tab{&chameleonButton3, "c"}}) {
    t.button->Apply(SettingsButton());
    t.button->Move(x * kPx, 8 * kPx, 116 * kPx, 32 * kPx);
    t.button->SetPictureNormal({nullptr, icons::RowIcon(t.icon)});
    x += 120;
  }
  Frame1.Move(8 * kPx, 46 * kPx, 504 * kPx, 336 * kPx);
  // The other pages wait outside the client area until their tab brings them.
  for (forms::Frame* page : {&Frame2, &Frame3}) {
    page->Move(600 * kPx, 46 * kPx, 504 * kPx, 336 * kPx);
    page->SetVisible(false);
  }
  chameleonButton4.Apply(SettingsButton());
  chameleonButton4.Move(412 * kPx, 390 * kPx, 100 * kPx, 28 * kPx);
  chameleonButton4.SetPictureNormal({Picture("exit", 16), nullptr});

  // "Browsers": Internet Explorer across the top, Opera and Netscape/Mozilla side by side below.
  Frame6.SetContainer(&Frame1);
  Frame6.Move(10 * kPx, 20 * kPx, 484 * kPx, 136 * kPx);
  Frame4.SetContainer(&Frame1);
  Frame4.Move(10 * kPx, 162 * kPx, 238 * kPx, 166 * kPx);
  Frame5.SetContainer(&Frame1);
  Frame5.Move(256 * kPx, 162 * kPx, 238 * kPx, 166 * kPx);

  for (int i = 0; i <= kLastBox; ++i) Check1.Add(i);
  for (const CategoryBox& b : kCategoryBoxes) {
    Check1[b.index].SetContainer(&(this->*b.frame));
    Check1[b.index].Move(b.x * kPx, b.y * kPx, b.w * kPx, 20 * kPx);
    Check1[b.index].SetCaption(b.design);
  }
  // The hidden boxes of the plug-in list keep their design captions; the others have none.
  Check1[14].SetCaption("Select None");
  Check1[15].SetCaption("Sellect All ");
  for (const HiddenBox& b : kHiddenBoxes) {
    Check1[b.index].SetContainer(&(this->*b.page));
    Check1[b.index].SetVisible(false);
  }

  chameleonButton7.SetContainer(&Frame6);
  chameleonButton7.Move(176 * kPx, 21 * kPx, 64 * kPx, 22 * kPx);
  chameleonButton6.SetContainer(&Frame6);
  chameleonButton6.Move(176 * kPx, 43 * kPx, 64 * kPx, 22 * kPx);
  chameleonButton15.SetContainer(&Frame6);
  chameleonButton15.Move(372 * kPx, 22 * kPx, 100 * kPx, 26 * kPx);
  chameleonButton16.SetContainer(&Frame6);
  chameleonButton16.Move(372 * kPx, 52 * kPx, 100 * kPx, 26 * kPx);
  chameleonButton17.SetContainer(&Frame2);
  chameleonButton17.Move(372 * kPx, 30 * kPx, 100 * kPx, 26 * kPx);
  chameleonButton18.SetContainer(&Frame2);
  chameleonButton18.Move(372 * kPx, 60 * kPx, 100 * kPx, 26 * kPx);
  for (controls::chameleonButton* b : {&chameleonButton7, &chameleonButton6}) {
    b->Apply(SettingsButton());
    b->SetPictureNormal({Picture("viewlog", 16), nullptr});
  }
  for (auto [button, picture] : {std::pair{&chameleonButton15, "selectall"}, std::pair{&chameleonButton16, "selectnone"},
                                 std::pair{&chameleonButton17, "selectall"}, std::pair{&chameleonButton18, "selectnone"}}) {
    button->Apply(SettingsButton());
    button->SetPictureNormal({Picture(picture, 16), nullptr});
  }

  // The two profile folders: the box, then "Change Directory" and "Auto Scan" below it.
  for (auto [frame, box, change, scan] :
       {std::tuple{&Frame4, &Text2, &chameleonButton19, &chameleonButton21},
        std::tuple{&Frame5, &Text1, &chameleonButton20, &chameleonButton22}}) {
    box->SetContainer(frame);
    box->Move(12 * kPx, 108 * kPx, 214 * kPx, 22 * kPx);
    change->SetContainer(frame);
    change->Move(10 * kPx, 134 * kPx, 120 * kPx, 26 * kPx);
    change->Apply(SettingsButton());
    change->SetPictureNormal({Picture("folder", 16), nullptr});
    scan->SetContainer(frame);
    scan->Move(132 * kPx, 134 * kPx, 96 * kPx, 26 * kPx);
    scan->Apply(SettingsButton());
    scan->SetPictureNormal({Picture("test", 16), nullptr});
  }
  Dir1.SetVisible(false);
  Dir2.SetVisible(false);

  // "Applications": the plug-in list with its buttons in two rows below it.
  ImageList1.Add("b", icons::RowIcon("c"));
  View1.SetContainer(&Frame3);
  View1.Move(10 * kPx, 20 * kPx, 484 * kPx, 206 * kPx);
  View1.SetCheckboxes(true);
  View1.SetSmallIcons(&ImageList1);
  View1.AddColumn("Application Plugins", 476 * kPx);
  struct Tool {
    controls::chameleonButton* button;
    const char* picture;
  };
  const Tool tools[] = {{&chameleonButton5, "selectall"}, {&chameleonButton14, "selectnone"},
                        {&chameleonButton8, "refresh"},   {&chameleonButton9, "delete"},
                        {&chameleonButton10, "about"},    {&chameleonButton11, "import"},
                        {&chameleonButton12, "download"}, {&chameleonButton13, "trelmak"}};
  for (int i = 0; i < 8; ++i) {
    controls::chameleonButton& b = *tools[i].button;
    b.SetContainer(&Frame3);
    b.Move((10 + 122 * (i % 4)) * kPx, (234 + 50 * (i / 4)) * kPx, 118 * kPx, 46 * kPx);
    b.Apply(SettingsButton(controls::PicturePositionKind::PictureTop));
    b.SetPictureNormal({Picture(tools[i].picture, 20), nullptr});
  }
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Text4, &Text3, &List4, &List5, &List6, &List7,
                                                                  &List8, &List9, &List10, &List11})
    c->SetVisible(false);

  // Events.
  Check1.Click = [this](int i) { Check1_Click(i); };
  chameleonButton1.Click = [this] { chameleonButton1_Click(); };
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
  chameleonButton3.Click = [this] { chameleonButton3_Click(); };
  chameleonButton4.Click = [this] { chameleonButton4_Click(); };
  chameleonButton15.Click = [this] { chameleonButton15_Click(); };
  chameleonButton16.Click = [this] { chameleonButton16_Click(); };
  chameleonButton17.Click = [this] { chameleonButton17_Click(); };
  chameleonButton18.Click = [this] { chameleonButton18_Click(); };
  chameleonButton6.Click = [this] { chameleonButton6_Click(); };
  chameleonButton7.Click = [this] { chameleonButton7_Click(); };
  Text2.Change = [this] { Text2_Change(); };
  Text1.Change = [this] { Text1_Change(); };
  chameleonButton19.Click = [this] { chameleonButton19_Click(); };
  chameleonButton20.Click = [this] { chameleonButton20_Click(); };
  chameleonButton21.Click = [this] { chameleonButton21_Click(); };
  chameleonButton22.Click = [this] { chameleonButton22_Click(); };
  chameleonButton8.Click = [this] { chameleonButton8_Click(); };
  chameleonButton5.Click = [this] { chameleonButton5_Click(); };
  chameleonButton14.Click = [this] { chameleonButton14_Click(); };
  View1.Click = [this] { View1_Click(); };
  View1.ItemClick = [this](int row) { View1_ItemClick(row); };
  View1.ItemCheck = [this](int row) { View1_ItemCheck(row); };
  chameleonButton10.Click = [this] { chameleonButton10_Click(); };
  chameleonButton11.Click = [this] { chameleonButton11_Click(); };
  chameleonButton9.Click = [this] { chameleonButton9_Click(); };
  chameleonButton12.Click = [this] { chameleonButton12_Click(); };
  chameleonButton13.Click = [this] { chameleonButton13_Click(); };
}

Form2::~Form2() { plugins::DropBuilds(this); }


// --- loading ----------------------------------------------------------------------------------------

void Form2::Form_Load() {
  // The visual style comes from the common controls of the program's manifest: nothing to start.
  Hide();
  SetTopmost(true);
  CenterOnScreen();
  SetCaptions();
  RestoreBoxes();
  LoadBrowserFolders();
  OrderBoxesForKeyboard();
  Show();
}

// The language texts, read in this order; a key's text captions every control of its row (box 4
// keeps "Index.dat" in every language, and the hidden boxes get no text).
void Form2::SetCaptions() {
  View1.SetColumnText(1, Lang("045"));
  SetCaption(Lang("051"));
  using Row = std::pair<const char*, std::vector<forms::CaptionedControl*>>;
  const Row rows[] = {
      {"020", {&chameleonButton1, &Frame1}},
      {"024", {&Frame6}},
      {"021", {&chameleonButton2, &Frame2}},
      {"022", {&chameleonButton3, &Frame3}},
      {"023", {&chameleonButton6, &chameleonButton7}},
      {"027", {&Check1[0]}},
      {"028", {&Check1[1], &Check1[18], &Check1[23]}},
      {"216", {&Check1[19], &Check1[22]}},
      {"217", {&Check1[20]}},
      {"218", {&Check1[21]}},
      {"219", {&Check1[24]}},
      {"220", {&Frame4}},
      {"221", {&Frame5}},
      {"222", {&chameleonButton21, &chameleonButton22}},
      {"223", {&chameleonButton19, &chameleonButton20}},
      {"029", {&Check1[2]}},
      {"030", {&Check1[3]}},
      {"031", {&Check1[13]}},
      {"032", {&Check1[12]}},
      {"033", {&Check1[11]}},
      {"034", {&Check1[10]}},
      {"035", {&Check1[9]}},
      {"036", {&Check1[8]}},
      {"215", {&Check1[17]}},
      {"037", {&chameleonButton8}},
      {"038", {&chameleonButton9}},
      {"039", {&chameleonButton10}},
      {"040", {&chameleonButton11}},
      {"041", {&chameleonButton12}},
      {"042", {&chameleonButton13}},
      {"044", {&chameleonButton14, &chameleonButton16, &chameleonButton18}},
      {"043", {&chameleonButton5, &chameleonButton15, &chameleonButton17}},
      {"025", {&chameleonButton4}},
  };
  for (const auto& [key, controls] : rows) {
    std::string text = Lang(key);
    for (forms::CaptionedControl* c : controls) c->SetCaption(text);
  }
}

// Each box takes its stored value; a change stores it again through the box's own click handling.
void Form2::RestoreBoxes() {
  for (int i = 0; i <= kLastBox; ++i) {
    rt::YieldIfDue();
    if (!IsLoaded()) return;  // closed from outside meanwhile
    std::string stored;
    ReadRegString(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionWin), rt::NumberText(i), stored);
    int value = 0;
    if (StoredBoxValue(stored, value)) Check1[i].SetValue(value);
  }
}

// --- the category boxes -------------------------------------------------------------------------------

void Form2::Check1_Click(int Index) {
  settings::Write(settings::kOptionWin, rt::NumberText(Index), rt::NumberText(Check1[Index].Value()));
  if (Index == 14 || Index == 15) PluginBoxAction(Index);
}

void Form2::SelectBoxes(int first, int last, bool ticked) {
  for (int i = first; i <= last; ++i) {
    rt::YieldIfDue();
    Check1[i].SetValue(ticked ? forms::CheckBox::kChecked : forms::CheckBox::kUnchecked);
  }
}

void Form2::chameleonButton15_Click() { SelectBoxes(0, 4, true); }
void Form2::chameleonButton16_Click() { SelectBoxes(0, 4, false); }
void Form2::chameleonButton17_Click() { SelectBoxes(8, 13, true); }
void Form2::chameleonButton18_Click() { SelectBoxes(8, 13, false); }

// --- pages ----------------------------------------------------------------------------------------------

void Form2::ShowPage(forms::Frame& page) {
  for (forms::Frame* p : {&Frame1, &Frame2, &Frame3})
    if (p != &page) p->SetVisible(false);
  page.SetVisible(true);
  if (&page != &Frame1) page.Move(Frame1.Left(), Frame1.Top());
  OrderBoxesForKeyboard();
}

// On each frame the boxes come first as Tab walks it, from the top down, then its other controls.
void Form2::OrderBoxesForKeyboard() {
  for (auto b = std::rbegin(kCategoryBoxes); b != std::rend(kCategoryBoxes); ++b) Check1[b->index].BringToFront();
}

void Form2::chameleonButton1_Click() { ShowPage(Frame1); }
void Form2::chameleonButton2_Click() { ShowPage(Frame2); }

// --- the keep lists -------------------------------------------------------------------------------------

void Form2::chameleonButton6_Click() {
  Form52& keep = KeepListWindow().Get();
  keep.Load();
  keep.Show();
  keep.Text1.SetText("1");
}

void Form2::chameleonButton7_Click() {
  Form52& keep = KeepListWindow().Get();
  keep.Load();
  keep.Show();
  keep.Text1.SetText("2");
}

// --- closing ------------------------------------------------------------------------------------------

namespace {
void EnableMainWindow() {
  if (MainFormInstance().Exists()) MainForm().SetEnabled(true);
}
}  // namespace

void Form2::chameleonButton4_Click() {
  EnableMainWindow();
  if (MainFormInstance().Exists()) {
    Form1& main = MainForm();
    main.Text4.SetText("");
    main.Text4.SetText("1");  // the status list follows the new settings
  }
  Unload();
}

void Form2::Form_QueryUnload(int& Cancel, int UnloadMode) { EnableMainWindow(); }

void Form2::Form_Unload(int& Cancel) { EnableMainWindow(); }

void Form2::Form_Terminate() { EnableMainWindow(); }
