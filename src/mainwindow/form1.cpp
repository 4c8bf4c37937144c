#include "mainwindow/form1.h"

#include "erasesettings/form2.h"

#include "shared/icons.h"
#include "mainwindow/aboutbox.h"
#include "options/form3.h"
#include "pluginengine/engine.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/documents.h"
#include "shared/language.h"
#include "shared/msgform.h"
#include "shared/settings.h"
#include "shared/storage.h"
#include "shared/windowutils.h"

const char* const Form1::kHomePage = "http://www.morvane.example/";
const char* const Form1::kPluginPage = "http://www.morvane.example/plugin.htm";

forms::DefaultInstance<Form1>& MainFormInstance() {
  static forms::DefaultInstance<Form1> instance;
  return instance;
}

Form1& MainForm() { return MainFormInstance().Get(); }

Form1::Form1()
    : Form("Form1"),
      Text1(*this, "Text1", "Text1"),
      Text2(*this, "Text2", "Text2"),
      Text3(*this, "Text3", "Text3"),
      Text4(*this, "Text4", "0"),
      Text5(*this, "Text5", "0"),
      Text6(*this, "Text6"),
      Text7(*this, "Text7"),
      Text8(*this, "Text8"),
      Text9(*this, "Text9"),
      Text10(*this, "Text10", "0"),
      Text11(*this, "Text11"),
      Text12(*this, "Text12"),
      Text13(*this, "Text13"),
      Text14(*this, "Text14", "1"),
      txtlang(*this, "txtlang", "Text15"),
      txtregcount(*this, "txtregcount", "0"),
      txtfilecount(*this, "txtfilecount", "0"),
      txtfilesize(*this, "txtfilesize", "0"),
      txtcountfil(*this, "txtcountfil"),
      List4(*this, "List4"),
      List5(*this, "List5"),
      List6(*this, "List6"),
      List7(*this, "List7"),
      List8(*this, "List8"),
      List9(*this, "List9"),
      List10(*this, "List10"),
      List11(*this, "List11"),
      List12(*this, "List12"),
      List13(*this, "List13"),
      List20(*this, "List20"),
      List21(*this, "List21"),
      File1(*this, "File1"),
      View1(*this, "View1"),
      Banner(*this, "Picture1"),
      Frame1(*this, "Frame1"),
      View100(*this, "View100"),
      View200(*this, "View200"),
      chameleonButton5(*this, "chameleonButton5", "Start Erasing"),
      chameleonButton6(*this, "chameleonButton6", "Test Now"),
      chameleonButton7(*this, "chameleonButton7", "Erasing Settings "),
      chameleonButton8(*this, "chameleonButton8", "Options"),
      chameleonButton3(*this, "chameleonButton3", "Trelmak"),
      chameleonButton9(*this, "chameleonButton9", "About"),
      chameleonButton10(*this, "chameleonButton10", "Help"),
      chameleonButton11(*this, "chameleonButton11", "Exit"),
      chameleonButton2(*this, "chameleonButton2", "Clear Log"),
      chameleonButton1(*this, "chameleonButton1", "View Log"),
      Label1(*this, "Label1", "Scanned Registry Keys :"),
      Label2(*this, "Label2", "0"),
      Label3(*this, "Label3", "Files : "),
      Label4(*this, "Label4", "0"),
      Label5(*this, "Label5", "HD Space : "),
      Label6(*this, "Label6", "0.000 Kb"),
      StatusBar1(*this, "StatusBar1"),
      Bar1(*this, "Bar1"),
      Timer1(*this, "Timer1"),
      hk1(true, true, false),
      bccc(*this, "bccc", nullptr, "a"),
      a10(*this, "a10", &bccc, "Visit our web site"),
      a9(*this, "a9", &bccc, "Help"),
      a8(*this, "a8", &bccc, "-"),
      a7(*this, "a7", &bccc, "Erase Now"),
      a6(*this, "a6", &bccc, "-"),
      a5(*this, "a5", &bccc, "Options"),
      a4(*this, "a4", &bccc, "Erase Settings"),
      a3(*this, "a3", &bccc, "-"),
      a2(*this, "a2", &bccc, "Download Plugins"),
      a1(*this, "a1", &bccc, "-"),
      a(*this, "a", &bccc, "Exit"),
      run_(runs::RunControls{View100, View200, View1, Bar1, Label2, Label4, Label6, txtregcount, txtfilecount,
                             txtfilesize, txtcountfil, Text14, RunContext::WorkLists{List20, List12, List21, List13, File1},
                             Text3, hsc},
           *this) {
  SetCaption("Velk Rezeza Pro");
  SetBorder(forms::Border::FixedSingle);
  SetMaxButton(false);
  SetClientSize(9345, 7920);
  SetIcon(icons::AppIcon(32), icons::AppIcon(16));

  // The hidden controls are variables: they never get a window of their own.
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7,
                            &Text8, &Text9, &Text10, &Text11, &Text12, &Text13, &Text14, &txtlang, &txtregcount,
                            &txtfilecount, &txtfilesize, &txtcountfil, &List4, &List5, &List6, &List7, &List8,
                            &List9, &List10, &List11, &List12, &List13, &List20, &List21, &File1, &View1})
    c->SetVisible(false);
  File1.SetShowHidden(true);
  File1.SetShowSystem(true);
  View1.SetCheckboxes(true);
  View1.AddColumn("", 3000);

  for (const char* key : {"a", "b", "x1", "x2", "c", "o"}) ImageList1.Add(key, icons::RowIcon(key));

  // Banner across the top left, the two lists in a frame below it, the toolbar on the right.
  Banner.Move(0, 0, 7215, 900);
  Banner.SetBitmap(icons::Banner(forms::ToPixels(7215), forms::ToPixels(900)));
  Frame1.Move(120, 960, 7095, 5640);
  View100.SetContainer(&Frame1);
  View100.Move(120, 240, 6855, 2235);
  View100.AddColumn("Task", 4200);
  View100.AddColumn("Status", 2280);
  View100.SetSmallIcons(&ImageList1);
  View200.SetContainer(&Frame1);
  View200.Move(120, 2580, 6855, 2940);
  View200.AddColumn("", 6480);
  View200.SetHideColumnHeaders(true);

  // The toolbar: flat buttons with their pictures above the captions, the log's pair at the foot.
  struct Tool {
    controls::chameleonButton* button;
    const char* picture;
  };
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int y = 120;
  for (Tool t : {Tool{&chameleonButton5, "erase"}, Tool{&chameleonButton6, "test"},
                 Tool{&chameleonButton7, "settings"}, Tool{&chameleonButton8, "options"},
                 Tool{&chameleonButton3, "trelmak"}, Tool{&chameleonButton9, "about"}, Tool{&chameleonButton10, "help"},
                 Tool{&chameleonButton11, "exit"}}) {
    t.button->Move(7335, y, 1890, 690);
    t.button->SetPictureNormal({icons::ToolbarPicture(t.picture, 24, face), nullptr});
    y += 735;
  }
  chameleonButton2.Move(7335, y, 915, 585);
  chameleonButton2.SetPictureNormal({icons::ToolbarPicture("clearlog", 16, face), nullptr});
  chameleonButton1.Move(8310, y, 915, 585);
  chameleonButton1.SetPictureNormal({icons::ToolbarPicture("viewlog", 16, face), nullptr});
  for (controls::chameleonButton* b : {&chameleonButton5, &chameleonButton6, &chameleonButton7, &chameleonButton8,
                                       &chameleonButton3, &chameleonButton9, &chameleonButton10, &chameleonButton11,
                                       &chameleonButton2, &chameleonButton1})
    b->Apply(controls::MainWindowButtonSettings());

  Label1.Move(240, 6840, 2400, 255);
  Label2.Move(2640, 6840, 780, 255);
  Label3.Move(3480, 6840, 600, 255);
  Label4.Move(4080, 6840, 840, 255);
  Label5.Move(5010, 6840, 1020, 255);
  Label6.Move(6030, 6840, 1260, 255);
  forms::Font bold;
  bold.bold = true;
  for (forms::Label* l : {&Label2, &Label4, &Label6}) l->SetFont(bold);

  StatusBar1.AddPanel("Progress", 9345);
  Bar1.Move(1500, 7650, 7320, 240);
  Bar1.SetMax(100);

  Timer1.SetInterval(10000);
  bccc.SetVisible(false);  // a pop-up menu only: the window shows no menu bar

  TrayArea1.SetIcon(icons::AppIcon(16));
  TrayArea1.SetToolTip("Tarvo Tracks Rezeza");

  // Events.
  Text4.Change = [this] { Text4_Change(); };
  Text5.Change = [this] { Text5_Change(); };
  chameleonButton1.Click = [this] { chameleonButton1_Click(); };
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
  chameleonButton3.Click = [this] { chameleonButton3_Click(); };
  chameleonButton5.Click = [this] { chameleonButton5_Click(); };
  chameleonButton6.Click = [this] { chameleonButton6_Click(); };
  chameleonButton7.Click = [this] { chameleonButton7_Click(); };
  chameleonButton8.Click = [this] { chameleonButton8_Click(); };
  chameleonButton9.Click = [this] { chameleonButton9_Click(); };
  chameleonButton10.Click = [this] { chameleonButton10_Click(); };
  chameleonButton11.Click = [this] { chameleonButton11_Click(); };
  struct Tip {
    controls::chameleonButton* button;
    const char* key;
  };
  for (Tip t : {Tip{&chameleonButton1, "127"}, Tip{&chameleonButton3, "129"}, Tip{&chameleonButton5, "120"},
                Tip{&chameleonButton6, "121"}, Tip{&chameleonButton7, "122"}, Tip{&chameleonButton8, "123"},
                Tip{&chameleonButton9, "124"}, Tip{&chameleonButton10, "126"}, Tip{&chameleonButton11, "125"}})
    t.button->MouseMove = [this, t](int16_t&, int16_t&, float&, float&) { ShowToolTip(*t.button, t.key); };
  // "Clear Log" takes its tool tip when a mouse button is pressed on it.
  chameleonButton2.MouseDown = [this](int16_t&, int16_t&, float&, float&) { ShowToolTip(chameleonButton2, "128"); };

  TrayArea1.DblClick = [this] { TrayArea1_DblClick(); };
  TrayArea1.MouseDown = [this](int button) { TrayArea1_MouseDown(button); };
  TrayArea1.MouseMove = [this] { TrayArea1_MouseMove(); };
  a10.Click = [this] { a10_Click(); };
  a9.Click = [this] { chameleonButton10_Click(); };
  a7.Click = [this] { chameleonButton5_Click(); };
  a5.Click = [this] { chameleonButton8_Click(); };
  a4.Click = [this] { chameleonButton7_Click(); };
  a2.Click = [this] { a2_Click(); };
  a.Click = [this] { chameleonButton11_Click(); };
  Timer1.TimerEvent = [this] { Timer1_Timer(); };
  hk1.Pressed = [this] { BossKeyPressed(); };
  showHideKey_.SetAction([this] {
    if (Visible()) {
      UnloadErasingSettingsWindows();
      Hide();
      if (OptionsWindow().IsLoaded()) OptionsWindow()->Unload();
    } else {
      for (int i = 0; i < 2; ++i) {
        Show();
        SetWindowState(forms::kNormal);
      }
    }
  });
}

// The show/hide key and the windows the boss key hid are given back by their members; a rewrite of
// the plug-in lists this window asked for and that still waits would run on a window that is gone.
Form1::~Form1() { plugins::DropBuilds(this); }


// --- start-up and life cycle ---------------------------------------------------------------------------

void Form1::Form_Initialize() {
  StartMode = 7;
  if (rt::LCase(rt::Trim(rt::CommandLineArgs())) == "s") {
    StartMode = 2;
    Text11.SetText("s");
    SetWindowState(forms::kMinimized);
  }
}

void Form1::Form_Load() {
  // 1. The load counter.
  settings::Write(settings::kLoadCount, rt::NumberText(rt::Val(settings::Read(settings::kLoadCount)) + 1));

  // 2. Flat column headers: they do not act as push buttons.
  for (forms::ListView* v : {&View100, &View200}) {
    if (HWND header = v->HeaderHwnd())
      SetWindowLongPtrA(header, GWL_STYLE, GetWindowLongPtrA(header, GWL_STYLE) & ~static_cast<LONG_PTR>(HDS_BUTTONS));
  }

  // 3. The erase at Windows start-up, before anything else is set up.
  if (StartMode == 2 && settings::IsOn(settings::kTimer, settings::kWinStart)) {
    Text5.SetText("0");
    Text5.SetText("2");
  }

  // 4. and 5. Language and captions.
  txtlang.SetText(LanguageNameOrDefault(settings::Read(settings::kLanguage)));
  SetCaptions();

  // 6. Centred on the screen.
  CenterOnScreen();

  // 7. The status list, unless a start-up erase has built it already.
  Text4.SetText("1");

  // 8. The protected home page.
  Text12.SetText(rt::Trim(settings::Read(settings::kHomePage)));
  Text13.SetText(settings::Read(settings::kTitlePage));

  // 9. Stealth mode and its show/hide key.
  SetupStealth();

  // 10. The boss key's letter: one capital letter.
  std::string boss = rt::Trim(settings::Read(settings::kBossKey));
  if (boss.size() == 1 && boss[0] >= 'A' && boss[0] <= 'Z') hk1.SetKeyCode(boss[0]);

  // 11.
  BossHideState = 0;
  Bar1.BringToFront();  // the progress bar lies over the status bar
}

void Form1::SetCaptions() {
  a10.SetCaption(Lang("113"));
  a9.SetCaption(Lang("007"));
  a7.SetCaption(Lang("114"));
  a5.SetCaption(Lang("098"));
  a.SetCaption(Lang("025"));
  Label1.SetCaption(Lang("011"));
  Label3.SetCaption(Lang("012"));
  Label5.SetCaption(Lang("013"));
  View100.SetColumnText(1, Lang("014"));
  View100.SetColumnText(2, Lang("015"));
  chameleonButton5.SetCaption(Lang("002"));
  chameleonButton6.SetCaption(Lang("003"));
  chameleonButton7.SetCaption(Lang("004"));
  chameleonButton8.SetCaption(Lang("005"));
  chameleonButton9.SetCaption(Lang("006"));
  chameleonButton10.SetCaption(Lang("007"));
  chameleonButton11.SetCaption(Lang("008"));
  chameleonButton1.SetCaption(Lang("009"));
  chameleonButton2.SetCaption(Lang("010"));
  chameleonButton3.SetCaption(Lang("130"));
  StatusBar1.SetPanelText(1, Lang("111"));
}

void Form1::SetupStealth() {
  stealthKey_ = false;
  std::string key = rt::Trim(settings::Read(settings::kShowHideKey));
  if (key.empty() || !settings::IsOn(settings::kOptionOption, settings::kOptStealth) || !hWnd()) return;
  // A letter or a digit; a lower-case letter means the key of its capital.
  char c = static_cast<char>(toupper(static_cast<unsigned char>(key[0])));
  if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return;
  stealthKey_ = showHideKey_.RegisterShowHideKey(hWnd(), MOD_ALT, static_cast<UINT>(c)) != 0;
  // Without its key the window would be unreachable once hidden: it stays as it is.
  if (stealthKey_) SetWindowState(forms::kMinimized);
}

void Form1::Form_Resize() {
  if (WindowState() != forms::kMinimized) return;
  bool stealth = settings::IsOn(settings::kOptionOption, settings::kOptStealth) && stealthKey_;
  Hide();
  TrayArea1.SetVisible(!stealth);
}

void Form1::Form_QueryUnload(int& Cancel, int UnloadMode) {
  if (ended_) return;
  // The end of a Windows session is never refused, and nothing is done for it until it comes
  // (WM_ENDSESSION): another program may still refuse it, and this one then goes on as it was.
  if (UnloadMode == forms::kAppWindows) return;
  // Closing the window during a run ends the program once the run is over.
  if (runInProgress_) {
    AskEnd();
    Cancel = 1;
    return;
  }
  ExitSteps();
  if (!ended_) Cancel = 1;  // the exit run waits its turn
}

bool Form1::WindowMessage(UINT m, WPARAM w, LPARAM l, LRESULT& result) {
  if (m == WM_ENDSESSION && w && !ended_) {
    EndWithSession();
    result = 0;
    return true;
  }
  return false;
}

namespace {

// While it lives, Windows is told why the window holds the end of the session. The calls exist
// from Windows Vista on: they are looked up when needed, so the program starts on older systems.
class SessionEndHold {
 public:
  SessionEndHold(HWND window, const std::string& reason) : window_(window) { rt::HoldSessionEnd(window_, reason); }
  ~SessionEndHold() { rt::ReleaseSessionEnd(window_); }
  SessionEndHold(const SessionEndHold&) = delete;
  SessionEndHold& operator=(const SessionEndHold&) = delete;

 private:
  HWND window_;
};

}  // namespace

// Windows ends the session. A run in progress goes no further than the yield it stands in: when
// the erase at shutdown is due, that erase runs now (in place of the stopped run, which never
// resumes: the process ends with the session), otherwise the stopped run's log holds what it had
// done. Requests that waited are dropped. The program then ends, before Windows ends it.
void Form1::EndWithSession() {
  if (sessionEnding_) return;
  sessionEnding_ = true;
  pending_.clear();
  rebuildPending_ = false;
  exitPending_ = false;
  Command5_Click();
  bool stopped = runInProgress_;
  if (ExitRunDue()) {
    std::string reason = Lang("298");
    if (rt::Trim(reason).empty()) reason = "Velk Rezeza Pro is erasing your tracks before Windows ends the session.";
    SessionEndHold hold(hWnd(), reason);
    runInProgress_ = false;  // the stopped run never resumes
    StartExitRun();
    runInProgress_ = stopped;
  } else if (stopped) {
    run_.Finish();
  }
  EndProgram();
}

void Form1::Form_Unload(int& Cancel) {}

void Form1::Form_Terminate() {
  if (!ended_) ExitSteps();
}

bool Form1::ExitRunDue() const {
  return !exitRunDone_ && StartMode == 2 &&
         settings::IsOn(settings::kOptionOption, settings::kOptEraseAtShutdown);
}

// The erase at Windows shutdown, through the run trigger; it has ended when this returns, unless
// it waits for a save of the plug-in list.
void Form1::StartExitRun() {
  exitRunAsked_ = true;
  exitRunWaiting_ = true;
  Text10.SetText("1");
  requestOrigin_ = RequestOrigin::Exit;
  Text5.SetText("");
  Text5.SetText("2");
  requestOrigin_ = RequestOrigin::User;
}

void Form1::ExitSteps() {
  Command5_Click();
  // One exit run, however often the end is asked for while it runs or waits.
  if (!exitRunAsked_ && ExitRunDue()) {
    StartExitRun();
    if (ended_) return;  // an end asked for during the run, or the end of the session, came first
  }
  if (exitRunWaiting_) {
    // The exit run waits for a save of the plug-in list: the program ends after it.
    AskEnd();
    return;
  }
  EndProgram();
}

void Form1::EndProgram() {
  ended_ = true;
  pending_.clear();
  plugins::DropBuilds(this);    // a rewrite of the plug-in lists that waited is not for anyone now
  TrayArea1.SetVisible(false);  // the icon leaves with the program
  if (BossHideState == 1) {     // so do the windows the boss key hid
    bossHidden_.RestoreExplorerWindows();
    BossHideState = 0;
  }
  hk1.Release();
  showHideKey_.UnregisterShowHideKeys();
  rt::ExitProgram(0);
}

void Form1::Command5_Click() {
  showHideKey_.UnregisterShowHideKeys();
  stealthKey_ = false;
}

void Form1::Text5_Change() {
  if (rt::Val(Text5.Text()) == 1) chameleonButton6_Click();
  if (rt::Val(Text5.Text()) == 2) chameleonButton5_Click();
}

// --- toolbar ----------------------------------------------------------------------------------------------

void Form1::ShowToolTip(controls::chameleonButton& button, const char* key) { button.SetToolTipText(Lang(key)); }

void Form1::chameleonButton1_Click() { StartDoc(rt::JoinPath(rt::ProgramFolder(), "eraselog.txt")); }

void Form1::chameleonButton2_Click() {
  std::string log = rt::JoinPath(rt::ProgramFolder(), "eraselog.txt");
  DWORD deleted = rt::DeleteExactFile(log);
  bool ok = rt::Gone(deleted);
  if (ok) ok = rt::WriteFileReplacing(log, "");
  std::string text = Lang(ok ? "019" : "017");
  if (!ok && text.empty()) text = "The log file could not be cleared.";
  ShowMessageForm("Velk Rezeza Pro", text, "Log File");
}

void Form1::chameleonButton3_Click() {
  rt::StartProcess("\"" + rt::JoinPath(rt::ProgramFolder(), "trelmak.exe") + "\"", SW_SHOWNORMAL);
}

void Form1::chameleonButton7_Click() { OpenErasingSettings(); }

// Options: the main window waits, disabled, until the options window is closed.
void Form1::chameleonButton8_Click() {
  SetEnabled(false);
  OptionsWindow().Get().Show();
}

void Form1::chameleonButton9_Click() {
  Form5& about = AboutBox().Get();
  about.Load();
  about.Show();
}

void Form1::chameleonButton10_Click() {
  if (hWnd()) SetWindowPos(hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  StartDoc(rt::JoinPath(rt::ProgramFolder(), "velkhelp.chm"));
}

void Form1::chameleonButton11_Click() {
  if (runInProgress_) {
    AskEnd();  // leave once the run is over
    return;
  }
  ExitSteps();
}

// --- notification area -------------------------------------------------------------------------------

void Form1::TrayArea1_DblClick() {
  Show();
  TrayArea1.SetVisible(false);
  SetWindowState(forms::kNormal);
  Show();
}

void Form1::TrayArea1_MouseDown(int button) {
  if (button == 2) PopupMenu(bccc);
}

void Form1::TrayArea1_MouseMove() { TrayArea1.SetToolTip("Velk Rezeza Pro"); }

void Form1::OpenPage(const std::string& address, const std::string& heading) {
  if (OpenWebPage(address, hWnd())) return;
  ShowMessageForm("Velk Rezeza Pro", Lang("018") + "\r" + address, heading);
}

void Form1::a10_Click() { OpenPage(kHomePage, "Velk Rezeza Pro"); }

void Form1::a2_Click() { OpenPage(kPluginPage, "Plug-ins"); }
