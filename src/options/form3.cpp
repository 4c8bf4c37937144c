// The options window itself: its controls and pages, loading, the general page, the check boxes,
// the general "Apply" and closing. The schedule page is in schedulepage.cpp, the language, home
// page and boss key pages in pages.cpp.
#include "options/form3.h"

#include "mainwindow/form1.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/icons.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/storage.h"
#include "shared/wipe.h"

const char* const Form3::kLanguagePage = "http://www.morvane.example/languages.htm";

forms::DefaultInstance<Form3>& OptionsWindow() {
  static forms::DefaultInstance<Form3> form;
  return form;
}

std::string StartupCommand() {
  return "\"" + rt::JoinPath(rt::ProgramFolder(), "Velk Rezeza Pro.exe") + "\" s";
}

void SetStartupEntry(bool on) {
  for (const char* key : settings::kRunKeys) {
    if (on)
      WriteRegString(HKEY_CURRENT_USER, key, settings::kStartupEntry, StartupCommand());
    else
      fDeleteValue("HKCU", key, settings::kStartupEntry);
  }
}

Form3::Form3()
    : Form("Form3"),
      chameleonButton3(*this, "chameleonButton3", "General"),
      chameleonButton6(*this, "chameleonButton6", "Home Page"),
      chameleonButton7(*this, "chameleonButton7", "Shedule"),
      chameleonButton13(*this, "chameleonButton13", "Boss Key"),
      chameleonButton8(*this, "chameleonButton8", "Language"),
      Frame3(*this, "Frame3", " General Options"),
      Frame4(*this, "Frame4", "Security Options"),
      Frame1(*this, "Frame1", "Protect your IE home page settings"),
      Frame2(*this, "Frame2", "Schedule"),
      Frame7(*this, "Frame7", "Boss Key"),
      Frame5(*this, "Frame5", "Language"),
      chameleonButton9(*this, "chameleonButton9", "Apply"),
      chameleonButton4(*this, "chameleonButton4", "Exit"),
      Check1(*this, "Check1"),
      Label2(*this, "Label2"),
      Combo2(*this, "Combo2", forms::ComboBox::kDropdownList),
      Combo1(*this, "Combo1", forms::ComboBox::kDropdownCombo),
      Label3(*this, "Label3", "Please Select From The options below to specify when this maintenance to be performed."),
      Option1(*this, "Option1", "Every ...."),
      Option2(*this, "Option2", "Every ...."),
      Option3(*this, "Option3", "Every ...."),
      Option4(*this, "Option4", "Every ...."),
      Option5(*this, "Option5", "Every ...."),
      Option6(*this, "Option6", "Each Time Windows Starts."),
      Text1(*this, "Text1", "45"),
      Text2(*this, "Text2", "6"),
      Text3(*this, "Text3", "6"),
      Text4(*this, "Text4", "2"),
      Text5(*this, "Text5", "1"),
      VScroll1(*this, "VScroll1"),
      VScroll2(*this, "VScroll2"),
      VScroll3(*this, "VScroll3"),
      VScroll4(*this, "VScroll4"),
      VScroll5(*this, "VScroll5"),
      Label1(*this, "Label1", "Minutes."),
      chameleonButton5(*this, "chameleonButton5", "Apply"),
      Text10(*this, "Text10"),
      Text20(*this, "Text20"),
      chameleonButton1(*this, "chameleonButton1", "Use Blank"),
      chameleonButton2(*this, "chameleonButton2", "Apply"),
      Combo3(*this, "Combo3", forms::ComboBox::kDropdownList),
      Option7(*this, "Option7", "Hide all internet explorers"),
      Option8(*this, "Option8", "Close all internet explorers"),
      Option9(*this, "Option9", "Close All Internet Explorers and start Background Erasing"),
      chameleonButton15(*this, "chameleonButton15", "Apply"),
      Label5(*this, "Label5", "Language File Name"),
      Text6(*this, "Text6"),
      chameleonButton11(*this, "chameleonButton11", ""),
      chameleonButton10(*this, "chameleonButton10", "Set New Language On"),
      Label6(*this, "Label6", "Current translation brought to you by:"),
      Label7(*this, "Label7", "Language File Name"),
      chameleonButton12(*this, "chameleonButton12", "Click to translate"),
      Label4(*this, "Label4", "www.morvane.example/languages.htm"),
      dialog1(*this, "dialog1"),
      Lang([] { return MainForm().txtlang.Text(); }) {
  SetCaption("Options");
  SetBorder(forms::Border::FixedDialog);
  SetClientSize(7680, 4920);
  SetIcon(icons::AppIcon(32), icons::AppIcon(16));

  // The eight option flags: boxes 2, 5, 6, 7 on the general page, 3 in its security frame, 0 on the
  // home page, 1 and 4 on the schedule page.
  struct Box {
    int index;
    const char* caption;
  };
  for (Box b : {Box{0, "Prevent Home page from being changed by websites"}, Box{1, " At Windows ShutDown"},
                Box{2, "Load Velk Rezeza Automatially at windows StartUp"}, Box{3, "Enable Secure Erasing"},
                Box{4, "At Windows StartUp"}, Box{5, "Run in stealth mode"}, Box{6, "Don't Store Log File"},
                Box{7, "Close internet explorer before Erasing"}})
    Check1.Add(b.index).SetCaption(b.caption);
  struct Text {
    int index;
    const char* caption;
  };
  for (Text t : {
           Text{0, "Home Page"},
           Text{1, "Browser Title"},
           Text{2, "Overwrite Tracks File(s)"},
           Text{3, "Time(s) Before Deleting it."},
           Text{4, "By checking this feature will enable Velk Rezeza to monitor your home page settings. If another "
                   "web site attempts to change your home page It will prompt you first to agree or disagree to the "
                   "changes."},
           Text{5, "Some Website changes your default browser homepage, you could use this feature to avoid this "
                   "happening"},
           Text{6, "Months"},
           Text{7, "Weeks."},
           Text{8, "Securely erase trackes by overwriting files specified number of times, this will prevent others "
                   "from recovering your files using recovery tools."},
           Text{9, "Run Erasing "},
           Text{10, "Days."},
           Text{11, "Hours."},
           Text{12, "ALT + "},
           Text{13, "Download additional language files from:"},
           Text{14, "ALT + "},
           Text{15, "ALT + "},
           Text{17, "Action for Boss Key"},
           Text{18, "Boss Key is a keyboard shortcut combination. Pressing it will start specific action."},
           Text{19, "CTRL +"},
           Text{20, "ALT + "},
           Text{21, "Boss Key"},
       })
    Label2.Add(t.index).SetCaption(t.caption);

  Layout();

  // The spinners start at 45 minutes and 6 of the other units at every opening, whatever the
  // boxes show; hours go no further than a day holds.
  VScroll1.SetMin(1);
  VScroll1.SetMax(59);
  VScroll1.SetValue(45);
  for (forms::ScrollBar* s : {&VScroll2, &VScroll3, &VScroll4, &VScroll5}) {
    s->SetMin(1);
    s->SetMax(s == &VScroll2 ? kMaxHours : 99);
    s->SetValue(6);
  }
  for (forms::TextBox* t : {&Text1, &Text2, &Text3, &Text4, &Text5}) t->SetMaxLength(2);
  Option6.SetVisible(false);

  // Events.
  chameleonButton3.Click = [this] { chameleonButton3_Click(); };
  chameleonButton6.Click = [this] { chameleonButton6_Click(); };
  chameleonButton7.Click = [this] { chameleonButton7_Click(); };
  chameleonButton13.Click = [this] { chameleonButton13_Click(); };
  chameleonButton8.Click = [this] { chameleonButton8_Click(); };
  chameleonButton9.Click = [this] { chameleonButton9_Click(); };
  chameleonButton4.Click = [this] { chameleonButton4_Click(); };
  chameleonButton5.Click = [this] { chameleonButton5_Click(); };
  chameleonButton11.Click = [this] { chameleonButton11_Click(); };
  chameleonButton10.Click = [this] { chameleonButton10_Click(); };
  chameleonButton12.Click = [this] { chameleonButton12_Click(); };
  chameleonButton1.Click = [this] { chameleonButton1_Click(); };
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
  chameleonButton15.Click = [this] { chameleonButton15_Click(); };
  Check1.Click = [this](int i) { Check1_Click(i); };
  Text1.Change = [this] { Text1_Change(); };
  Text2.Change = [this] { Text2_Change(); };
  Text3.Change = [this] { Text3_Change(); };
  Text4.Change = [this] { Text4_Change(); };
  Text5.Change = [this] { Text5_Change(); };
  VScroll1.Change = [this] { VScroll1_Change(); };
  VScroll2.Change = [this] { VScroll2_Change(); };
  VScroll3.Change = [this] { VScroll3_Change(); };
  VScroll4.Change = [this] { VScroll4_Change(); };
  VScroll5.Change = [this] { VScroll5_Change(); };
  Label4.Click = [this] { Label4_Click(); };
}

void Form3::Layout() {
  // The page buttons along the top, the five pages (four of them parked outside the window until
  // their button brings them), Apply and Exit below.
  chameleonButton3.Move(75, 135, 1425, 360);
  chameleonButton6.Move(1560, 135, 1605, 360);
  chameleonButton7.Move(3225, 135, 1425, 360);
  chameleonButton13.Move(4710, 135, 1425, 360);
  chameleonButton8.Move(6180, 135, 1425, 360);
  Frame3.Move(120, 540, 7485, 3870);
  Frame1.Move(6390, 6330, 7485, 3870);
  Frame2.Move(-990, 6630, 7485, 3870);
  Frame5.Move(8280, 1110, 7485, 3870);
  Frame7.Move(-60, 6480, 7485, 3870);
  chameleonButton9.Move(4590, 4500, 1275, 360);
  chameleonButton4.Move(6330, 4500, 1275, 360);

  auto place = [](forms::Control& c, forms::Frame& frame, int left, int top, int width, int height) {
    c.SetContainer(&frame);
    c.Move(left, top, width, height);
  };

  // General page.
  place(Check1[2], Frame3, 135, 330, 7035, 240);
  place(Check1[5], Frame3, 135, 570, 7035, 240);
  place(Check1[6], Frame3, 135, 810, 7035, 240);
  place(Check1[7], Frame3, 135, 1050, 7035, 240);
  place(Label2[14], Frame3, 150, 1380, 7035, 420);
  place(Label2[12], Frame3, 150, 1905, 600, 210);
  place(Combo2, Frame3, 765, 1845, 645, 315);
  place(Label2[15], Frame3, 1485, 1905, 5700, 210);
  place(Frame4, Frame3, 120, 2250, 7245, 1515);
  place(Label2[8], Frame4, 150, 270, 6960, 420);
  place(Check1[3], Frame4, 150, 750, 6165, 285);
  place(Label2[2], Frame4, 150, 1140, 3300, 210);
  Label2[2].SetAlignment(forms::Label::kRight);
  place(Combo1, Frame4, 3495, 1080, 705, 315);
  place(Label2[3], Frame4, 4275, 1140, 2850, 210);

  // Schedule page: the unit rows on the left, the start-up and shutdown runs on the right.
  place(Label3, Frame2, 150, 300, 7185, 420);
  place(Label2[9], Frame2, 150, 855, 2000, 210);
  forms::OptionButton* units[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
  forms::ScrollBar* spinners[] = {&VScroll1, &VScroll2, &VScroll3, &VScroll4, &VScroll5};
  forms::Label* unitNames[] = {&Label1, &Label2[11], &Label2[10], &Label2[7], &Label2[6]};
  for (int i = 0; i < 5; ++i) {
    int y = 1140 + 420 * i;
    place(*units[i], Frame2, 300, y, 1740, 285);
    place(*boxes[i], Frame2, 2070, y - 15, 420, 315);
    place(*spinners[i], Frame2, 2490, y - 15, 255, 315);
    place(*unitNames[i], Frame2, 2835, y + 45, 1140, 210);
  }
  place(Option6, Frame2, 300, 3240, 2400, 285);
  place(Check1[4], Frame2, 4035, 1140, 3255, 285);
  place(Check1[1], Frame2, 4035, 1560, 3255, 285);
  place(chameleonButton5, Frame2, 6015, 3360, 1275, 360);

  // Home page.
  place(Label2[5], Frame1, 150, 300, 7185, 420);
  place(Label2[0], Frame1, 150, 960, 1320, 210);
  place(Text10, Frame1, 1500, 900, 4350, 315);
  place(chameleonButton1, Frame1, 6015, 885, 1275, 360);
  place(Label2[1], Frame1, 150, 1395, 1320, 210);
  place(Text20, Frame1, 1500, 1335, 4350, 315);
  place(Check1[0], Frame1, 150, 1890, 7140, 285);
  place(Label2[4], Frame1, 405, 2205, 6885, 660);
  place(chameleonButton2, Frame1, 6015, 3360, 1275, 360);

  // Boss key.
  place(Label2[18], Frame7, 150, 300, 7185, 420);
  place(Label2[21], Frame7, 150, 960, 1500, 210);
  place(Label2[19], Frame7, 1680, 960, 690, 210);
  place(Label2[20], Frame7, 2370, 960, 600, 210);
  place(Combo3, Frame7, 2970, 900, 645, 315);
  place(Label2[17], Frame7, 150, 1500, 6000, 210);
  place(Option7, Frame7, 405, 1800, 6885, 285);
  place(Option8, Frame7, 405, 2130, 6885, 285);
  place(Option9, Frame7, 405, 2460, 6885, 285);
  place(chameleonButton15, Frame7, 6015, 3360, 1275, 360);

  // Language.
  place(Label5, Frame5, 150, 420, 1650, 210);
  place(Text6, Frame5, 1830, 360, 2910, 315);
  place(chameleonButton11, Frame5, 4770, 345, 405, 345);
  place(chameleonButton10, Frame5, 5265, 345, 2025, 360);
  place(Label6, Frame5, 150, 960, 3330, 210);
  place(Label7, Frame5, 3510, 960, 3780, 210);
  place(chameleonButton12, Frame5, 150, 1500, 2520, 420);
  place(Label2[13], Frame5, 150, 3420, 3600, 210);
  place(Label4, Frame5, 3780, 3420, 3510, 210);

  // Every button as this program's secondary windows have it; the translation button stands out.
  for (controls::chameleonButton* b : {&chameleonButton3, &chameleonButton6, &chameleonButton7, &chameleonButton13,
                                       &chameleonButton8, &chameleonButton9, &chameleonButton4, &chameleonButton5,
                                       &chameleonButton1, &chameleonButton2, &chameleonButton15, &chameleonButton10,
                                       &chameleonButton11, &chameleonButton12})
    b->Apply(controls::ButtonSettings{});
  controls::ButtonSettings standard;
  standard.type = controls::ButtonTypeKind::Standard;
  chameleonButton11.Apply(standard);
  chameleonButton11.SetPictureNormal({icons::ToolbarPicture("folder", 16, GetSysColor(COLOR_BTNFACE)), nullptr});
  chameleonButton11.SetToolTipText("...");
  chameleonButton12.SetFontBold(true);
  chameleonButton12.SetPictureNormal({icons::ToolbarPicture("translate", 24, GetSysColor(COLOR_BTNFACE)), nullptr});
  // The button of the page shown stays down.
  for (controls::chameleonButton* b : PageButtons()) b->SetCheckBoxBehaviour(true);
  chameleonButton3.SetValue(true);

  forms::Font bold;
  bold.bold = true;
  Label7.SetFont(bold);
  forms::Font link;
  link.underline = true;
  Label4.SetFont(link);
  Label4.SetForeColor(RGB(0, 0, 255));
  Label4.SetHandCursor(true);

  // Tab order: the page buttons, then each page top to bottom, then Apply and Exit.
  SetTabOrder({&chameleonButton3, &chameleonButton6, &chameleonButton7, &chameleonButton13, &chameleonButton8,
               &Frame3, &Check1[2], &Check1[5], &Check1[6], &Check1[7], &Label2[14], &Label2[12], &Combo2,
               &Label2[15], &Frame4, &Label2[8], &Check1[3], &Label2[2], &Combo1, &Label2[3],
               &Frame2, &Label3, &Label2[9], &Option1, &Text1, &VScroll1, &Label1, &Option2, &Text2, &VScroll2,
               &Label2[11], &Option3, &Text3, &VScroll3, &Label2[10], &Option4, &Text4, &VScroll4, &Label2[7],
               &Option5, &Text5, &VScroll5, &Label2[6], &Option6, &Check1[4], &Check1[1], &chameleonButton5,
               &Frame1, &Label2[5], &Label2[0], &Text10, &chameleonButton1, &Label2[1], &Text20, &Check1[0],
               &Label2[4], &chameleonButton2,
               &Frame7, &Label2[18], &Label2[21], &Label2[19], &Label2[20], &Combo3, &Label2[17], &Option7,
               &Option8, &Option9, &chameleonButton15,
               &Frame5, &Label5, &Text6, &chameleonButton11, &chameleonButton10, &Label6, &Label7,
               &chameleonButton12, &Label2[13], &Label4,
               &chameleonButton9, &chameleonButton4});
}


// --- loading ------------------------------------------------------------------------------------------

void Form3::Form_Load() {
  Hide();
  SetCaptions();
  CenterOnScreen();

  // The home page as Internet Explorer has it now.
  std::string text;
  ReadRegString(HKEY_CURRENT_USER, settings::kExplorerMain, settings::kStartPage, text);
  Text10.SetText(text);
  ReadRegString(HKEY_CURRENT_USER, settings::kExplorerMain, settings::kWindowTitle, text);
  Text20.SetText(text);

  // The option flags. A box that the stored value changes stores it again, as a click would.
  for (int i = 0; i <= 7; ++i) {
    std::string stored = settings::Read(settings::kOptionOption, rt::NumberText(i));
    int state = static_cast<int>(rt::ValInt(stored));
    Check1[i].SetValue(state);  // a value the box does not take leaves it clear
  }

  LoadSchedule();

  // The overwrite passes: 3 unless a number is stored, and a stored one as erasing takes it (a
  // value outside 1 to 10 is the nearer end of that range).
  for (int n = 1; n <= 10; ++n) Combo1.AddItem(rt::NumberText(n));
  std::string passes = settings::Read(settings::kSecureValue);
  if (rt::Trim(passes).empty())
    Combo1.SetListIndex(2);
  else
    Combo1.SetText(rt::NumberText(WipePasses()));

  // The letters of the show/hide key and of the boss key.
  for (char c = 'A'; c <= 'Z'; ++c) {
    Combo2.AddItem(std::string(1, c));
    Combo3.AddItem(std::string(1, c));
  }
  std::string key = rt::Trim(settings::Read(settings::kShowHideKey));
  if (key.empty())
    Combo2.SetListIndex(0);
  else
    Combo2.SetText(key);  // no such letter: none selected, and "Apply" stores ""
  std::string boss = rt::Trim(settings::Read(settings::kBossKey));
  if (boss.empty())
    Combo3.SetListIndex(20);  // "U"
  else
    Combo3.SetText(boss);

  double action = rt::Val(settings::Read(settings::kOptionBoss, settings::kBossAction));
  if (action == 1) Option7.SetValue(true);
  if (action == 2) Option8.SetValue(true);
  if (action == 3) Option9.SetValue(true);

  LoadScheduleBoxes();
  loadedLanguageName_ = Text6.Text();
  Show();
}

void Form3::SetCaptions() {
  SetCaption(Lang("098"));
  chameleonButton10.SetCaption(Lang("115"));
  chameleonButton3.SetCaption(Lang("052"));
  chameleonButton6.SetCaption(Lang("053"));
  chameleonButton7.SetCaption(Lang("054"));
  chameleonButton8.SetCaption(Lang("055"));
  std::string apply = Lang("064");
  chameleonButton9.SetCaption(apply);
  chameleonButton2.SetCaption(apply);
  chameleonButton5.SetCaption(apply);
  chameleonButton4.SetCaption(Lang("025"));
  chameleonButton1.SetCaption(Lang("070"));
  chameleonButton12.SetCaption(Lang("132"));
  Frame3.SetCaption(Lang("056"));
  Frame4.SetCaption(Lang("059"));
  Frame1.SetCaption(Lang("103"));
  Frame2.SetCaption(Lang("054"));
  Frame5.SetCaption(Lang("055"));
  Check1[2].SetCaption(Lang("057"));
  Check1[5].SetCaption(Lang("058"));
  Check1[3].SetCaption(Lang("061"));
  Check1[1].SetCaption(Lang("091"));
  Check1[4].SetCaption(Lang("092"));
  Check1[0].SetCaption(Lang("066"));
  Check1[6].SetCaption(Lang("213"));
  Check1[7].SetCaption(Lang("214"));
  Label2[8].SetCaption(Lang("060"));
  Label2[2].SetCaption(Lang("062"));
  Label2[3].SetCaption(Lang("063"));
  Label2[9].SetCaption(Lang("089"));
  Label3.SetCaption(Lang("090"));
  Label1.SetCaption(Lang("094"));
  Label2[11].SetCaption(Lang("095"));
  Label2[10].SetCaption(Lang("084"));
  Label2[14].SetCaption(Lang("117"));
  Label2[15].SetCaption(Lang("116"));
  Label6.SetCaption(Lang("144"));
  Label7.SetCaption(Lang("145"));
  Text6.SetText(Lang("146"));
  Label2[18].SetCaption(Lang("147"));
  std::string boss = Lang("148");
  Label2[21].SetCaption(boss);
  Frame7.SetCaption(boss);
  Label2[17].SetCaption(Lang("149"));
  Option7.SetCaption(Lang("210"));
  Option8.SetCaption(Lang("211"));
  Option9.SetCaption(Lang("212"));
  Label2[7].SetCaption(Lang("096"));
  Label2[6].SetCaption(Lang("097"));
  Label2[4].SetCaption(Lang("067") + "\r\n");
  Label2[0].SetCaption(Lang("068"));
  Label2[1].SetCaption(Lang("069"));
  Label2[5].SetCaption(Lang("071"));
  Label5.SetCaption(Lang("088"));
  Label2[13].SetCaption(Lang("081"));
  std::string every = Lang("093") + " .......";
  for (forms::OptionButton* o : {&Option1, &Option2, &Option3, &Option4, &Option5}) o->SetCaption(every);
}

// --- pages ---------------------------------------------------------------------------------------------

std::array<controls::chameleonButton*, 5> Form3::PageButtons() {
  return {&chameleonButton3, &chameleonButton6, &chameleonButton7, &chameleonButton13, &chameleonButton8};
}

void Form3::ShowPage(forms::Frame& page) {
  forms::Frame* pages[] = {&Frame3, &Frame1, &Frame2, &Frame7, &Frame5};
  for (int i = 0; i < 5; ++i) {
    pages[i]->SetVisible(pages[i] == &page);
    PageButtons()[i]->SetValue(pages[i] == &page);
  }
  if (&page != &Frame3) page.Move(Frame3.Left(), Frame3.Top());
}

forms::Frame& Form3::CurrentPage() {
  for (forms::Frame* f : {&Frame1, &Frame2, &Frame7, &Frame5})
    if (f->Visible() && f->Left() == Frame3.Left() && f->Top() == Frame3.Top()) return *f;
  return Frame3;
}

void Form3::chameleonButton3_Click() { ShowPage(Frame3); }
void Form3::chameleonButton6_Click() { ShowPage(Frame1); }
void Form3::chameleonButton7_Click() { ShowPage(Frame2); }
void Form3::chameleonButton13_Click() { ShowPage(Frame7); }
void Form3::chameleonButton8_Click() { ShowPage(Frame5); }

// --- the option flags -------------------------------------------------------------------------------

void Form3::Check1_Click(int Index) {
  std::string state = rt::NumberText(Check1[Index].Value());
  settings::Write(settings::kOptionOption, rt::NumberText(Index), state);
  // The home-page guard works while "protect_home" is on: this box is its switch.
  if (Index == 0) settings::Write(settings::kProtectHome, state);
  // Windows starts the program at log-on only while the box is ticked.
  if (Index == 2) SetStartupEntry(Check1[Index].Value() == forms::CheckBox::kChecked);
}

// --- Apply and closing ----------------------------------------------------------------------------------

void Form3::chameleonButton9_Click() {
  chameleonButton15_Click();
  chameleonButton5_Click();
  chameleonButton10_Click();
  chameleonButton2_Click();
  int passes = PassCountOf(Combo1.Text());
  if (passes) {
    settings::Write(settings::kSecureValue, rt::NumberText(passes));
  } else {
    std::string text = Lang.Or("270",
                               "Secure erasing overwrites a file 1 to 10 times: choose or type a number from 1 to 10. "
                               "The number of times was not changed.");
    rt::MsgBox(hWnd(), text, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
  }
  settings::Write(settings::kShowHideKey, rt::Trim(Combo2.Text()));
}

int PassCountOf(const std::string& text) {
  std::string t = rt::Trim(text);
  if (t.empty() || t.size() > 2 || t.find_first_not_of("0123456789") != std::string::npos) return 0;
  int n = static_cast<int>(rt::ValInt(t));
  return n >= 1 && n <= 10 ? n : 0;
}

void Form3::chameleonButton4_Click() {
  MainForm().SetEnabled(true);
  Unload();
}

void Form3::Form_QueryUnload(int& Cancel, int UnloadMode) { MainForm().SetEnabled(true); }
void Form3::Form_Unload(int& Cancel) { MainForm().SetEnabled(true); }
void Form3::Form_Terminate() { MainForm().SetEnabled(true); }
