// The test and erase runs: one straight walk over the enabled categories, the plug-ins, the totals
// and the log. A run never starts inside another: a request that arrives while one is in progress
// (a button, the tray menu, the boss key, the scheduler, a trigger write) waits until it has ended.
#include <algorithm>

#include "mainwindow/form1.h"
#include "pluginengine/engine.h"
#include "runs/categories.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/windowutils.h"

void Form1::chameleonButton5_Click() { Run(RunKind::EraseRun); }

void Form1::chameleonButton6_Click() { Run(RunKind::TestRun); }

namespace {
void RunDeferredAfterBuilds() {
  plugins::AfterBuilds([] {
    if (MainFormInstance().Exists()) MainForm().RunDeferred();
  });
}
}  // namespace

void Form1::Run(RunKind kind) {
  Request request{kind, requestOrigin_};
  requestOrigin_ = RequestOrigin::User;
  if (ended_) return;
  // The end of the session leaves no time to wait: the erase at shutdown runs at once, and
  // nothing else.
  if (sessionEnding_) {
    if (request.origin == RequestOrigin::Exit) RunNow(request);
    return;
  }
  // Once the end is asked for, only the run at exit is still to come.
  if (Ending() && request.origin != RequestOrigin::Exit) return;
  // A run waits for the run in progress, and for a rewrite of the plug-in selection (the settings
  // window saves it in steps, yielding between them). One request of a kind waits at most; it
  // counts as asked by the user, or for the exit, when any of its askers was.
  if (runInProgress_ || plugins::BuildInProgress()) {
    auto same = std::find_if(pending_.begin(), pending_.end(), [kind](const Request& r) { return r.kind == kind; });
    if (same == pending_.end())
      pending_.push_back(request);
    else if (same->origin == RequestOrigin::Schedule || request.origin == RequestOrigin::Exit)
      same->origin = request.origin;
    if (!runInProgress_) RunDeferredAfterBuilds();
    return;
  }
  RunNow(request);
  RunDeferred();
}

void Form1::RunNow(Request request) {
  runInProgress_ = true;
  {
    // However the run was asked for (a click, the scheduler, another window that ended a rewrite
    // of the plug-in selection, a caller's code), it is a long handler of this window: its native
    // views follow at intervals, not at every yield, so the window's refreshes, which the
    // deleting threads wait for, take a small part of the run.
    forms::HandlerScope handler(*this);
    if (request.kind == RunKind::EraseRun)
      EraseRun();
    else
      TestRun();
  }
  runInProgress_ = false;
  if (request.origin == RequestOrigin::Exit) exitRunDone_ = true;
}

void Form1::AskEnd() {
  exitPending_ = true;
  std::erase_if(pending_, [](const Request& r) { return r.origin == RequestOrigin::Schedule; });
}

void Form1::RunDeferred() {
  // The loop below runs every waiting request, and a request that a step of it starts (the run at
  // exit) runs at once: no call from inside it starts a second loop.
  if (runInProgress_ || draining_) return;
  draining_ = true;
  while (!ended_ && !runInProgress_) {
    if (!pending_.empty()) {
      if (plugins::BuildInProgress()) {
        RunDeferredAfterBuilds();
        break;
      }
      Request next = pending_.front();
      pending_.pop_front();
      RunNow(next);
    } else if (rebuildPending_) {
      rebuildPending_ = false;
      Text4.SetText("");
      Text4.SetText("1");
    } else if (exitPending_) {
      exitPending_ = false;
      ExitSteps();
    } else {
      break;
    }
  }
  draining_ = false;
}

namespace {
void SetProgress(forms::ProgressBar& bar, int value) {
  if (value >= 0) bar.SetValue(value);
}
}  // namespace

void Form1::MarkStatus(const std::string& code, bool starting) {
  bool failed = stepFailed_;
  stepFailed_ = false;
  int row = StatusRowOf(code);
  if (!row) return;  // enabled after the list was built: the category has no row
  if (starting) {
    View100.SetSubItem(row, 1, "Erasing");
  } else if (failed) {
    View100.SetSubItem(row, 1, "Failed");
  } else {
    View100.SetSmallIcon(row, kDoneIcon);
    View100.SetSubItem(row, 1, "Done");
  }
}

int Form1::StatusRowOf(const std::string& code) const {
  auto it = statusRows_.find(code);
  return it == statusRows_.end() ? 0 : it->second;
}

// The start of both runs: the previous run's lists, counters and totals go, and the status list
// is built afresh from the current settings.
void Form1::StartRun() {
  Label2.SetCaption("0");
  Label4.SetCaption("0");
  Label6.SetCaption("0");
  View1.Clear();
  runRebuilding_ = true;
  Text4.SetText("");
  Text4.SetText("1");
  runRebuilding_ = false;
  View200.Clear();
  txtregcount.SetText("0");
  txtfilecount.SetText("0");
  txtfilesize.SetText("0");
}

void Form1::EraseRun() {
  StartRun();
  if (settings::IsOn(settings::kOptionOption, settings::kOptCloseBrowsers)) CloseBrowserWindows();
  RunCategories(true);
}

void Form1::TestRun() {
  StartRun();
  RunCategories(false);
}

void Form1::RunCategories(bool erase) {
  Bar1.SetMax(100);
  Bar1.SetValue(0);
  for (const RunStep& step : kRunOrder) {
    if (ended_) return;  // the program ended inside the run (Windows ended the session)
    std::string code = step.code;
    if (settings::IsOn(settings::kOptionWin, code)) {
      MarkStatus(code, true);
      if (code == "0") erase ? c6() : t6();
      else if (code == "1") erase ? c7() : t7();
      else if (code == "2") erase ? c8() : t8();
      else if (code == "3") erase ? c11() : t11();
      else if (code == "4") erase ? c9() : t9();
      else if (code == "11") erase ? c1() : t1();
      else if (code == "12") erase ? c2() : t2();
      else if (code == "9") erase ? c5() : t5();
      else if (code == "13") erase ? c3() : t3();
      else if (code == "8") erase ? c4() : t4();
      else if (code == "10") erase ? c10() : t10();
      MarkStatus(code, false);
    }
    SetProgress(Bar1, erase ? step.eraseProgress : step.testProgress);
  }
  if (ended_) return;
  BrowserSteps(erase);
  if (ended_) return;
  Bar1.SetValue(85);
  Text14.SetText(rt::NumberText(firstPluginRow_));
  Bar1.SetValue(100);
  Command400_Click();
  // Only the run at the end of a Windows session starts while a save of the plug-in list yields:
  // its own rewrite then waits behind that save, which the session end leaves unfinished, so its
  // pass takes the work lists as their files hold them.
  if (plugins::BuildInProgress()) Command3_Click();
  erase ? Command4_Click() : Command2_Click();
  if (ended_) return;
  Bar1.SetValue(100);
  FinishRun();
}
