// The schedule page of the options window: the unit and interval of the scheduled erase runs, and
// the erase runs at Windows start-up and shutdown. Its "Apply" stores the schedule and its first
// run, which the main window's timer then keeps moving on.
#include "options/form3.h"
#include "runtime/datetime.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/schedule.h"
#include "shared/settings.h"
#include "shared/storage.h"

namespace {

// The start-up value that the older product left in the machine's Run keys.
const char kOldStartupEntry[] = "tarvo Rezeza";
const char* const kMachineRunKeys[] = {"Software\\Microsoft\\windows nt\\currentversion\\run",
                                       "Software\\Microsoft\\windows\\currentversion\\run"};

}  // namespace

void Form3::LoadSchedule() {
  forms::OptionButton* units[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
  std::string option = settings::Read(settings::kTimer, settings::kScheduleMode);
  schedule::Mode mode = schedule::ModeOf(option);
  if (mode != schedule::kNone) {
    units[mode - 1]->SetValue(true);
    boxes[mode - 1]->SetText(rt::NumberText(rt::ValInt(settings::Read(settings::kTimer, settings::kScheduleValue))));
  } else if (rt::Val(option) == 6) {
    Option6.SetValue(true);
  }
}

void Form3::LoadScheduleBoxes() {
  forms::OptionButton* units[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
  schedule::Mode mode = schedule::ModeOf(settings::Read(settings::kTimerOption, settings::kTimerOpt));
  if (mode != schedule::kNone) units[mode - 1]->SetValue(true);
  for (int i = 0; i < 5; ++i)
    boxes[i]->SetText(rt::NumberText(rt::ValInt(settings::Read(settings::kTimerOption, "t" + rt::NumberText(i + 1)))));
}

void Form3::chameleonButton5_Click() {
  const SYSTEMTIME now = rt::Now();
  forms::OptionButton* units[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  forms::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};

  // The erases at Windows start-up and shutdown are chosen whatever becomes of the schedule.
  auto storeStartUp = [this] {
    settings::Write(settings::kTimer, settings::kWinStart, Check1[4].Value() == forms::CheckBox::kChecked ? "1" : "0");
  };

  // The chosen unit and the first run, one interval from now. An interval that is no whole
  // number from 1 (an empty box, 0) schedules no run; the unit and the box are stored all the same.
  std::string mode, value, nextMinute, next, nextAt;
  for (int i = 0; i < 5; ++i) {
    if (!units[i]->Value()) continue;
    auto unit = static_cast<schedule::Mode>(i + 1);
    mode = rt::NumberText(i + 1);
    value = rt::Trim(boxes[i]->Text());
    if (unit == schedule::kHours && rt::Val(value) > kMaxHours) {
      // Only the hour of the day is kept for an hour schedule: a day or more cannot be one.
      storeStartUp();
      std::string text = Lang("291");
      if (rt::Trim(text).empty())
        text = "An hour schedule runs every 1 to 23 hours. For a day or more, choose days. The schedule was not changed.";
      rt::MsgBox(hWnd(), text, "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    schedule::NextRun run;
    if (schedule::NextRunOf(unit, schedule::IntervalOf(unit, value), now, run)) {
      nextMinute = run.minute;
      next = run.When();
      nextAt = run.at;
    }
    break;
  }

  for (const char* key : kMachineRunKeys) fDeleteValue("HKLM", key, kOldStartupEntry);
  storeStartUp();
  using namespace settings;
  Write(kTimer, kStartDate, rt::FormatShortDate(now));
  Write(kTimer, kStartTime, rt::FormatTime(now));
  Write(kTimer, kScheduleMode, mode);
  Write(kTimer, kScheduleValue, value);
  Write(kTimer, kScheduleMinute, rt::NumberText(now.wMinute));
  Write(kTimer, kScheduleHour, rt::NumberText(now.wHour));
  Write(kTimer, kNextMinute, nextMinute);
  for (const char* name : {kNextHour, kNextDay, kNextWeek, kNextMonth}) Write(kTimer, name, next);
  Write(kTimer, kNextRunAt, nextAt);
  Write(kTimerOption, kTimerOpt, mode);
  for (int i = 0; i < 5; ++i) Write(kTimerOption, "t" + rt::NumberText(i + 1), rt::Trim(boxes[i]->Text()));
}

// A box's text, typed or set, is selected whole after every change.
void Form3::SelectAll(forms::TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}
void Form3::Text1_Change() { SelectAll(Text1); }
void Form3::Text2_Change() { SelectAll(Text2); }
void Form3::Text3_Change() { SelectAll(Text3); }
void Form3::Text4_Change() { SelectAll(Text4); }
void Form3::Text5_Change() { SelectAll(Text5); }

// A spinner puts its value into the box beside it.
void Form3::VScroll1_Change() { Text1.SetText(rt::NumberText(VScroll1.Value())); }
void Form3::VScroll2_Change() { Text2.SetText(rt::NumberText(VScroll2.Value())); }
void Form3::VScroll3_Change() { Text3.SetText(rt::NumberText(VScroll3.Value())); }
void Form3::VScroll4_Change() { Text4.SetText(rt::NumberText(VScroll4.Value())); }
void Form3::VScroll5_Change() { Text5.SetText(rt::NumberText(VScroll5.Value())); }
