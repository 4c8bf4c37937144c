// The main window: the program from start-up to its end. It holds the toolbar, the status and
// detail lists of the runs, the totals, the progress bar, the notification-area icon with its menu,
// the timer and the boss key, and the hidden controls that the other windows and the runs use as
// shared variables and triggers. Its runs are a runs::Run over its lists and totals; the window
// keeps the requests for them and the life cycle around them.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "controls/chameleonbutton.h"
#include "controls/hotkey.h"
#include "controls/trayarea.h"
#include "forms/forms.h"
#include "runs/run.h"
#include "shared/historycleaner.h"
#include "shared/language.h"
#include "shared/windowutils.h"

class Form1 : public forms::Form, private runs::RunHost {
 public:
  Form1();
  ~Form1() override;

  // --- hidden controls used as shared variables and triggers ---------------------------------------
  forms::TextBox Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10, Text11, Text12, Text13,
      Text14, txtlang, txtregcount, txtfilecount, txtfilesize, txtcountfil;
  forms::ListBox List4, List5, List6, List7, List8, List9, List10, List11, List12, List13, List20, List21;
  forms::FileListBox File1;
  forms::ListView View1;  // the plug-in list

  // --- what the user sees ---------------------------------------------------------------------------
  forms::ImageList ImageList1;
  forms::Picture Banner;
  forms::Frame Frame1;
  forms::ListView View100;  // status list: one row per enabled category and selected plug-in
  forms::ListView View200;  // detail list: one row per item found or erased
  controls::chameleonButton chameleonButton5, chameleonButton6, chameleonButton7, chameleonButton8, chameleonButton3,
      chameleonButton9, chameleonButton10, chameleonButton11, chameleonButton2, chameleonButton1;
  forms::Label Label1, Label2, Label3, Label4, Label5, Label6;
  forms::StatusBar StatusBar1;
  forms::ProgressBar Bar1;
  forms::Timer Timer1;
  controls::HotKey hk1;  // the boss key, CTRL+ALT+letter
  controls::TrayArea TrayArea1;
  forms::MenuItem bccc, a10, a9, a8, a7, a6, a5, a4, a3, a2, a1, a;

  // --- start-up and life cycle --------------------------------------------------------------------------
  int StartMode = 7;     // 2 when started with "s"
  int BossHideState = 0;
  void Command5_Click();  // releases the show/hide key and the window-procedure hook
  // Stealth mode's show/hide key and the windows the boss key hid: both are given back when the
  // window goes, however it goes.
  ShowHideKey& StealthKey() { return showHideKey_; }
  HiddenExplorerWindows& BossHidden() { return bossHidden_; }
  void Text5_Change();    // the run trigger: "1" test run, "2" erase run
  void Text4_Change();    // the status-list trigger: "1" rebuilds the status list

  // --- toolbar and tray menu --------------------------------------------------------------------------
  void chameleonButton1_Click();   // View Log
  void chameleonButton2_Click();   // Clear Log
  void chameleonButton3_Click();   // Trelmak
  void chameleonButton5_Click();   // Start Erasing: the erase run
  void chameleonButton6_Click();   // Test Now: the test run
  void chameleonButton7_Click();   // Erasing Settings
  void chameleonButton8_Click();   // Options
  void chameleonButton9_Click();   // About
  void chameleonButton10_Click();  // Help
  void chameleonButton11_Click();  // Exit
  void TrayArea1_DblClick();
  void TrayArea1_MouseDown(int button);
  void TrayArea1_MouseMove();
  void a10_Click();  // Visit our web site
  void a2_Click();   // Download Plugins

  // --- the 10-second timer: the home-page guard, then the schedule -------------------------------------
  void Timer1_Timer();

  // --- the boss key and the window utilities of the main window ------------------------------------
  void BossKeyPressed();  // a press of hk1: hide or show, close, or close and erase
  void BossActionChanged();  // the options window stored a new boss action
  // Lists the Internet Explorer windows into IEWindows; without one, says so and ends the program.
  // Nothing calls it.
  void CheckIEWindows();
  std::vector<HWND> IEWindows;  // at most 50
  // Closes every top-level window of the desktop. Nothing calls it, and no control reaches it.
  void Command6_Click();

  HistoryCleaner hsc;  // erases the history entries at the start of the Internet-history erase

  // --- plug-in engine ---------------------------------------------------------------------------------
  void Command400_Click();  // lists and ticks the plug-ins, builds and loads the work lists
  void Command1_Click();    // rewrites the selection and work-list files
  void Command3_Click();    // loads the work lists
  void Command2_Click();    // the plug-in test pass
  void Command4_Click();    // the plug-in erase pass

  // --- runs ------------------------------------------------------------------------------------------
  bool RunInProgress() const { return runInProgress_; }
  // The requests that waited for the end of a run (or of a plug-in list save), one after another
  // in one loop: each run starts from here, never from inside the run before it.
  void RunDeferred();
  // Which row of the status list shows which category ("0".."24"); 0 when it has none.
  int StatusRowOf(const std::string& code) const { return run_.StatusRowOf(code); }
  int FirstPluginRow() const { return run_.FirstPluginRow(); }
  // True once the program has ended (in tests the process goes on).
  bool Ended() const override { return ended_; }
  // True from the moment the end is asked for (Exit, the close box, the end of the Windows
  // session) until it has come: the timer starts nothing and asks nothing meanwhile.
  bool Ending() const { return ended_ || exitPending_ || exitRunAsked_ || sessionEnding_; }

  // The maker's addresses.
  static const char* const kHomePage;
  static const char* const kPluginPage;

  // The language texts, from the file named in txtlang.
  LanguageTexts Lang{[this] { return txtlang.Text(); }};

 protected:
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Resize() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void Form_Terminate() override;
  bool WindowMessage(UINT m, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  enum class RunKind { TestRun, EraseRun };
  // Who asked for a run: the user (a button, the tray menu, the boss key, a trigger), the
  // schedule, or the end of the program (the erase at Windows shutdown).
  enum class RequestOrigin { User, Schedule, Exit };
  struct Request {
    RunKind kind;
    RequestOrigin origin;
  };
  void Run(RunKind kind);
  void RunNow(Request request);
  void AskEnd();  // the end is asked for during a run: queued scheduled runs go
  bool ExitRunDue() const;
  void StartExitRun();
  void ExitSteps();  // the close handlers' and Exit's steps: exit run, then the end
  void EndProgram();
  void SetCaptions();
  void SetupStealth();
  void ShowToolTip(controls::chameleonButton& button, const char* key);
  void OpenPage(const std::string& address, const std::string& heading);
  // What a run asks of the window.
  void RebuildStatusList() override;
  void PluginSteps(bool erase) override;
  void RunFinished() override;
  HWND Window() const override { return hWnd(); }
  void HomePageGuard();
  void Scheduler();
  void EndWithSession();  // Windows ends the session: the run at shutdown, then the end

  bool runInProgress_ = false;
  bool rebuildPending_ = false;
  bool exitPending_ = false;
  bool exitRunAsked_ = false;  // the run at exit has been asked for: it runs once
  bool exitRunDone_ = false;   // and it has run to its end
  bool sessionEnding_ = false;  // Windows is ending the session: the run at shutdown, then the end
  bool draining_ = false;       // RunDeferred's loop is running the waiting requests
  bool scheduleHeld_ = false;   // a next run could not be stored: no scheduled run until a new start
  RequestOrigin requestOrigin_ = RequestOrigin::User;  // of the run the trigger is asked for next
  bool runRebuilding_ = false;
  bool ended_ = false;
  bool stealthKey_ = false;  // the show/hide key is registered: minimising leaves no tray icon
  bool ticking_ = false;
  long long lastScheduledMinute_ = -1;  // the clock minute of the last scheduled run started
  std::deque<Request> pending_;
  bool exitRunWaiting_ = false;  // the erase at shutdown was asked for and has not finished yet
  runs::Run run_;
  ShowHideKey showHideKey_;
  HiddenExplorerWindows bossHidden_;
};

// The main window of the program (made on first use).
Form1& MainForm();
forms::DefaultInstance<Form1>& MainFormInstance();
