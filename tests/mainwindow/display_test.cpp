// Under a real X display: the notification-area icon, and a picture of the main window after a
// test run for a person to look at.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/pump.h"
#include "support/screenshot.h"

namespace {

using mw::MainWindowTest;

void Pump(int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

class Display : public MainWindowTest {};

TEST_F(Display, TheTrayIconComesAndGoesWithTheWindow) {
  Form1& f = Main();
  f.Show();
  Pump(200);
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  Pump(200);
  ASSERT_TRUE(f.TrayArea1.Visible());
  EXPECT_TRUE(f.TrayArea1.Shown()) << "the shell took the icon";
  UINT id = f.TrayArea1.Id();
  EXPECT_GE(id, 1u);
  EXPECT_LE(id, 65535u);
  // The shell's notifications come with a message of the control's own, not a mouse message.
  SendMessageA(f.TrayArea1.Window(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(f.TrayArea1.ToolTip(), "Tarvo Tracks Rezeza");
  SendMessageA(f.TrayArea1.Window(), controls::TrayArea::kCallbackMessage, id, WM_MOUSEMOVE);
  EXPECT_EQ(f.TrayArea1.ToolTip(), "Velk Rezeza Pro");
  // A new taskbar gets the icon again.
  SendMessageA(f.TrayArea1.Window(), controls::TrayArea::TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(f.TrayArea1.Shown());
  // A double click brings the window back and takes the icon away.
  SendMessageA(f.TrayArea1.Window(), controls::TrayArea::kCallbackMessage, f.TrayArea1.Id(), WM_LBUTTONDBLCLK);
  Pump(200);
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  EXPECT_FALSE(f.TrayArea1.Visible());
  EXPECT_FALSE(f.TrayArea1.Shown());
  // Minimised again, then the program ends: the icon leaves with it.
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  Pump(100);
  ASSERT_TRUE(f.TrayArea1.Shown());
  f.chameleonButton11_Click();
  EXPECT_EQ(ts::Observed().exits, (std::vector<int>{0}));
  EXPECT_FALSE(f.TrayArea1.Shown());
}

TEST_F(Display, TheMainWindowAfterATestRun) {
  mw::InstallEnglish();
  mw::Enable({"9", "11", "12", "8", "10", "13"});
  mw::SetUserValue(mw::kFindMru, "A", "quarterly report");
  mw::SetUserValue(mw::kFindMru, "B", "holiday photos");
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  mw::SetUserValue(mw::kOpenSave, "a", "C:\\docs\\report.doc");
  mw::SetUserValue(std::string(mw::kOpenSave) + "\\txt", "a", "C:\\diary.txt");
  Form1& f = Main();
  f.Show();
  Pump(300);
  f.chameleonButton6_Click();
  Pump(500);
  EXPECT_EQ(f.View100.Count(), 6);
  EXPECT_GE(f.View200.Count(), 4);
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("main-window-after-test-run.bmp")));
}

TEST_F(Display, TheToolbar) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Show();
  Pump(300);
  // Every button carries its caption as its window text, for screen readers.
  char text[64] = "";
  GetWindowTextA(f.chameleonButton6.hWnd(), text, sizeof text);
  EXPECT_STREQ(text, "Test Now");
  // "Test Now" under the pointer, which stays there.
  POINT p{30, 10};
  ClientToScreen(f.chameleonButton6.hWnd(), &p);
  SetCursorPos(p.x, p.y);
  SendMessageA(f.chameleonButton6.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
  EXPECT_TRUE(f.chameleonButton6.IsHovered());
  EXPECT_EQ(f.chameleonButton6.ImagePixel(0, 0), controls::chameleon::AdjustColor(GetSysColor(COLOR_BTNFACE), 47));
  Pump(300);
  EXPECT_TRUE(f.chameleonButton6.IsHovered());
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("main-window-toolbar.bmp")));
}

}  // namespace

#include "mainwindow/aboutbox.h"
#include "shared/msgform.h"

namespace {

TEST_F(Display, TheAboutBoxAndTheMessageForm) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Load();
  f.chameleonButton9_Click();
  Pump(300);
  Form5& about = AboutBox().Get();
  EXPECT_TRUE(IsWindowVisible(about.hWnd()));
  EXPECT_TRUE(ts::SaveScreenshot(about.hWnd(), ts::ShotPath("about-box.bmp")));
  about.Unload();
  ShowMessageForm("Velk Rezeza Pro", "The page could not be opened. You can copy its address:\rhttp://www.morvane.example/plugin.htm",
                  "Plug-ins");
  Pump(300);
  EXPECT_TRUE(ts::SaveScreenshot(MessageForm().Get().hWnd(), ts::ShotPath("message-form.bmp")));
  MessageForm().Get().Unload();
  AboutBox().Reset();
  MessageForm().Reset();
}

}  // namespace
