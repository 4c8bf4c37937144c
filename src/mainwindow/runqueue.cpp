// The main window's runs: the requests for a test or an erase run, and the order they run in. A
// run never starts inside another: a request that arrives while one is in progress (a button, the
// tray menu, the boss key, the scheduler, a trigger write) waits until it has ended, and the
// requests that waited run one after another from one loop.
#include <algorithm>

#include "mainwindow/form1.h"
#include "pluginengine/engine.h"

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
      run_.EraseRun();
    else
      run_.TestRun();
  }
  runInProgress_ = false;
  // Only the erase at shutdown itself ends its wait: a run that went before it leaves it waiting.
  if (request.origin == RequestOrigin::Exit) {
    exitRunDone_ = true;
    exitRunWaiting_ = false;
  }
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
