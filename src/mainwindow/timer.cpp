// The main window's 10-second timer: the home-page guard first, then the schedule of the erase
// runs. Both read their settings at every tick.
#include "mainwindow/form1.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/schedule.h"
#include "shared/settings.h"

namespace {

using settings::kExplorerMain;
using settings::kStartPage;
using settings::kWindowTitle;

std::string ExplorerValue(const char* name) {
  std::string text;
  ReadRegString(HKEY_CURRENT_USER, kExplorerMain, name, text);
  return text;
}

bool SameText(const std::string& a, const std::string& b) { return rt::LCase(rt::Trim(a)) == rt::LCase(rt::Trim(b)); }

long long MinuteStamp(const SYSTEMTIME& t) {
  return ((t.wYear * 13LL + t.wMonth) * 32 + t.wDay) * 1440 + t.wHour * 60 + t.wMinute;
}

}  // namespace

void Form1::Timer1_Timer() {
  // One tick at a time (a question of the guard lets the timer's messages through), none before
  // the window has loaded, and none once the program is ending: the run at exit, or the end
  // itself, is not held up by a question nor followed by a scheduled run.
  if (ticking_ || !IsLoaded() || IsLoading() || Ending()) return;
  ticking_ = true;
  if (!settings::IsOn(settings::kTimer, settings::kRunType)) {
    HomePageGuard();
    Scheduler();
  }
  ticking_ = false;
}

// Puts Internet Explorer's start page and window title back when something has changed them, or
// takes the new ones as the protected ones: the user decides.
void Form1::HomePageGuard() {
  if (!settings::IsOn("", settings::kProtectHome)) return;
  // With nothing protected yet, "Yes" would blank the user's start page and title.
  if (rt::Trim(Text12.Text()).empty() && rt::Trim(Text13.Text()).empty()) return;
  if (SameText(Text12.Text(), ExplorerValue(kStartPage)) && SameText(Text13.Text(), ExplorerValue(kWindowTitle)))
    return;
  std::string question = Lang("016");
  if (rt::Trim(question).empty())
    question = "The start page or window title of Internet Explorer has been changed. Put the protected ones back?";
  int answer = rt::MsgBox(hWnd(), question, "Velk Rezeza Pro", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer == IDNO) {
    std::string page = ExplorerValue(kStartPage), title = ExplorerValue(kWindowTitle);
    settings::Write(settings::kHomePage, page);
    settings::Write(settings::kTitlePage, title);
    Text12.SetText(rt::Trim(page));
    Text13.SetText(rt::Trim(title));
  } else if (answer == IDYES) {
    WriteRegString(HKEY_CURRENT_USER, kExplorerMain, kStartPage, rt::Trim(Text12.Text()));
    WriteRegString(HKEY_CURRENT_USER, kExplorerMain, kWindowTitle, rt::Trim(Text13.Text()));
  }
}

// Starts the erase run when the stored next run is due, after moving the next run on: one
// interval from now, or for an hour schedule to its next beat after now.
void Form1::Scheduler() {
  if (scheduleHeld_) return;
  std::string modeText = settings::Read(settings::kTimer, settings::kScheduleMode);
  schedule::Mode mode = schedule::ModeOf(modeText);
  Text7.SetText(rt::NumberText(rt::Val(modeText)));
  schedule::Stored stored = schedule::ReadStored(mode);
  if (mode == schedule::kMinutes) {
    Text8.SetText(rt::NumberText(rt::Val(stored.nextHour)));
    Text9.SetText(rt::NumberText(rt::Val(stored.nextMinute)));
  } else if (mode == schedule::kHours) {
    Text9.SetText(rt::NumberText(rt::Val(stored.runMinute)));
    Text8.SetText(rt::Trim(stored.nextHour));
  } else if (mode != schedule::kNone) {
    Text8.SetText(rt::Trim(stored.nextDate));
  }

  SYSTEMTIME now = rt::Now();
  int interval = schedule::IntervalOf(mode, settings::Read(settings::kTimer, settings::kScheduleValue));
  SYSTEMTIME due{};
  if (!schedule::IsDue(mode, interval, stored, now, &due)) return;
  if (MinuteStamp(now) == lastScheduledMinute_) return;  // one scheduled run in a minute
  // The end asked for while the home-page guard asked its question: the run would be dropped, so
  // the stored next run stays as it is, due at the next start.
  if (Ending()) return;
  schedule::NextRun next;
  if (!schedule::NextRunAfter(mode, interval, due, now, next)) return;
  lastScheduledMinute_ = MinuteStamp(now);
  settings::Write(settings::kTimer, settings::kCancel, "0");
  // A next run that cannot be stored would leave this one due at every minute: this run goes
  // ahead, and the schedule rests until the program starts again.
  if (!schedule::StoreOwnValues(next)) scheduleHeld_ = true;
  settings::Write(settings::kTimer, settings::kFinish, "0");
  // A run in progress keeps this one waiting until it has ended; a pending end drops it.
  requestOrigin_ = RequestOrigin::Schedule;
  Text5.SetText("");
  Text5.SetText("2");
  requestOrigin_ = RequestOrigin::User;
}
