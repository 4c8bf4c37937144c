// Pictures of the options window's five pages and of the language-file editor, for a person to
// look at, with settings in every control.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/pump.h"
#include "support/screenshot.h"

namespace {

void Pump(int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

class Display : public opt::OptionsTest {};

TEST_F(Display, TheFivePagesOfTheOptionsWindow) {
  settings::Write(settings::kOptionOption, "2", "1");
  settings::Write(settings::kOptionOption, "3", "1");
  settings::Write(settings::kOptionOption, "4", "1");
  settings::Write(settings::kOptionOption, "0", "1");
  settings::Write(settings::kSecureValue, "3");
  settings::Write(settings::kShowHideKey, "H");
  settings::Write(settings::kTimer, settings::kScheduleMode, "3");
  settings::Write(settings::kTimerOption, settings::kTimerOpt, "3");
  for (const char* t : {"t1", "t2", "t3", "t4", "t5"}) settings::Write(settings::kTimerOption, t, "2");
  settings::Write(settings::kOptionBoss, settings::kBossAction, "1");
  mw::SetUserValue(settings::kExplorerMain, settings::kStartPage, "http://www.example.org/");
  mw::SetUserValue(settings::kExplorerMain, settings::kWindowTitle, "My browser");
  Form3& f = Open();
  Pump(300);
  ASSERT_TRUE(IsWindowVisible(f.hWnd()));
  struct Page {
    controls::chameleonButton* button;
    const char* shot;
  } pages[] = {{&f.chameleonButton3, "options-general.bmp"}, {&f.chameleonButton6, "options-home-page.bmp"},
               {&f.chameleonButton7, "options-schedule.bmp"}, {&f.chameleonButton13, "options-boss-key.bmp"},
               {&f.chameleonButton8, "options-language.bmp"}};
  for (const Page& p : pages) {
    SendMessageA(p.button->hWnd(), BM_CLICK, 0, 0);
    Pump(300);
    EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath(p.shot)));
  }
  f.chameleonButton4_Click();
}

TEST_F(Display, TheLanguageFileEditor) {
  Form3& f = Open();
  f.chameleonButton12_Click();
  Form6& e = LanguageEditor().Get();
  Pump(300);
  e.Text5.SetText("Ana Lopez");
  e.List1.SetListIndex(1);
  e.Text2.SetText("Prueba ahora");
  e.chameleonButton1_Click();
  e.List1.SetListIndex(0);
  e.Text2.SetText("Empezar a borrar");
  e.chameleonButton1_Click();
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(e.hWnd(), ts::ShotPath("language-editor.bmp")));
  e.chameleonButton2_Click();
  f.chameleonButton4_Click();
}

}  // namespace
