// The boss key, and the main window's routines over every top-level window.
#include "mainwindow/form1.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/windowutils.h"

void Form1::BossKeyPressed() {
  if (ended_) return;
  double action = rt::Val(settings::Read(settings::kOptionBoss, settings::kBossAction));
  if (BossHideState == 0 && action == 1) {
    bossHidden_.HideExplorerWindows();
    BossHideState = 1;
  } else if (BossHideState == 1 && action == 1) {
    bossHidden_.RestoreExplorerWindows();
    BossHideState = 0;
  } else if (action == 2) {
    CloseBrowserWindows();
  } else if (action == 3) {
    CloseBrowserWindows();
    chameleonButton5_Click();  // during a run, it waits for that run's end
  }
}

// Windows hidden by the action "hide" come back when the action is changed away from it: no other
// action would ever show them again.
void Form1::BossActionChanged() {
  if (BossHideState != 1 || rt::Val(settings::Read(settings::kOptionBoss, settings::kBossAction)) == 1) return;
  bossHidden_.RestoreExplorerWindows();
  BossHideState = 0;
}

void Form1::CheckIEWindows() {
  WindowTitleTable& table = WindowTitles();
  table.Clear();
  EnumWindows(CollectWindowTitles, 0);
  IEWindows.clear();
  for (int i = 0; i < table.count && IEWindows.size() < 50; ++i) {
    if (table.records[static_cast<size_t>(i)].title.find("Microsoft Internet Explorer") != std::string::npos)
      IEWindows.push_back(table.records[static_cast<size_t>(i)].window);
  }
  if (!IEWindows.empty()) return;
  rt::MsgBox(hWnd(),
             "There are currently no IE windows open!\r\n\r\nPlease start Internet Explorer before running this program.",
             "Error", MB_OK | MB_ICONEXCLAMATION);
  EndProgram();
}

void Form1::Command6_Click() {
  WindowTitleTable& table = WindowTitles();
  table.Clear();
  EnumWindows(CollectWindowTitles, 0);
  for (int i = 0; i < table.count; ++i) PostMessageA(table.records[static_cast<size_t>(i)].window, WM_CLOSE, 0, 0);
}
