// The toolbar's commands and tool tips, the tray menu's commands, and the about box.
#include <gtest/gtest.h>

#include "fixture.h"
#include "mainwindow/aboutbox.h"
#include "runtime/app.h"
#include "runtime/seams.h"
#include "shared/msgform.h"

namespace {

using mw::MainWindowTest;

class Toolbar : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    rt::SetProcessStartHandler([this](const rt::ProcessStart& p) -> INT_PTR {
      starts.push_back(p);
      return shellResult;
    });
  }
  void TearDown() override {
    MessageForm().Reset();
    AboutBox().Reset();
    MainWindowTest::TearDown();
  }
  std::vector<rt::ProcessStart> starts;
  INT_PTR shellResult = 42;
};

TEST_F(Toolbar, ToolTipsComeFromTheLanguageFileAsTheMouseMoves) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Show();
  struct Case {
    controls::chameleonButton* button;
    const char* tip;
  } cases[] = {{&f.chameleonButton5, "Erase every enabled trace now"},
               {&f.chameleonButton6, "List and count what would be erased, without erasing anything"},
               {&f.chameleonButton3, "Start Trelmak, the plug-in editor"},
               {&f.chameleonButton1, "Open the log of the last run"},
               {&f.chameleonButton11, "Leave Velk Rezeza Pro"}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.button->ToolTipText(), "") << c.button->Name();
    SendMessageA(c.button->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(c.button->ToolTipText(), c.tip) << c.button->Name();
  }
  // "Clear Log" takes its tool tip only when a button is pressed on it.
  SendMessageA(f.chameleonButton2.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(f.chameleonButton2.ToolTipText(), "");
  SendMessageA(f.chameleonButton2.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(f.chameleonButton2.ToolTipText(), "Empty the log file");
}

TEST_F(Toolbar, EveryWindowUsesTheOwnerDrawnButtonWithItsSettings) {
  using controls::ButtonTypeKind;
  using controls::ColorSchemeKind;
  Form1& f = Main();
  f.Load();
  for (forms::Control* c : f.Controls()) EXPECT_EQ(dynamic_cast<forms::PushButton*>(c), nullptr) << c->Name();
  for (controls::chameleonButton* b : {&f.chameleonButton1, &f.chameleonButton2, &f.chameleonButton3,
                                       &f.chameleonButton5, &f.chameleonButton6, &f.chameleonButton7,
                                       &f.chameleonButton8, &f.chameleonButton9, &f.chameleonButton10,
                                       &f.chameleonButton11}) {
    EXPECT_EQ(b->ButtonType(), ButtonTypeKind::FlatHover) << b->Name();
    EXPECT_EQ(b->ColorScheme(), ColorSchemeKind::CustomColors);
    EXPECT_EQ(b->BackColor(), controls::kButtonFace);
    EXPECT_EQ(b->BackOver(), controls::kButtonFace);
    EXPECT_EQ(b->ForeColor(), RGB(0, 0, 0));
    EXPECT_EQ(b->ForeOver(), RGB(0, 0, 192));
    EXPECT_EQ(b->MaskColor(), RGB(255, 255, 255));
    EXPECT_EQ(b->FontName(), "Arial");
    EXPECT_EQ(b->PicturePosition(), controls::PicturePositionKind::PictureTop);
    EXPECT_FALSE(b->SoftBevel());
    EXPECT_FALSE(b->PictureNormal().Empty()) << b->Name();
  }
  f.chameleonButton9_Click();
  Form5& about = AboutBox().Get();
  EXPECT_EQ(about.chameleonButton2.ButtonType(), ButtonTypeKind::Standard);
  EXPECT_EQ(about.chameleonButton2.ColorScheme(), ColorSchemeKind::SystemColors);
  EXPECT_TRUE(about.chameleonButton2.SoftBevel());
  ShowMessageForm("Velk Rezeza Pro", "text", "heading");
  frmmsg& m = MessageForm().Get();
  EXPECT_EQ(m.Command2.ButtonType(), ButtonTypeKind::FlatHover);
  EXPECT_EQ(m.Command2.ForeOver(), RGB(192, 0, 0));
  EXPECT_TRUE(m.Command2.SoftBevel());
  for (forms::Form* w : {static_cast<forms::Form*>(&about), static_cast<forms::Form*>(&m)})
    for (forms::Control* c : w->Controls()) EXPECT_EQ(dynamic_cast<forms::PushButton*>(c), nullptr) << c->Name();
}

TEST_F(Toolbar, ClearLogLeavesAnEmptyLogAndSaysSo) {
  mw::InstallEnglish();
  std::string log = ts::ProgramDir() + "\\eraselog.txt";
  ts::WriteFile(log, "old log");
  Form1& f = Main();
  f.Load();
  f.chameleonButton2_Click();
  EXPECT_TRUE(ts::Exists(log));
  EXPECT_EQ(ts::ReadFile(log), "");
  frmmsg& m = MessageForm().Get();
  EXPECT_EQ(m.Caption(), "Velk Rezeza Pro");
  EXPECT_EQ(m.Label1.Caption(), "Log File");
  EXPECT_EQ(m.Text1.Text(), "The log file has been cleared.");
  // With no log at all it makes an empty one.
  DeleteFileA(log.c_str());
  f.chameleonButton2_Click();
  EXPECT_TRUE(ts::Exists(log));
}

TEST_F(Toolbar, ClearLogTellsWhenTheLogCannotBeCleared) {
  mw::InstallEnglish();
  std::string log = ts::ProgramDir() + "\\eraselog.txt";
  ts::WriteFile(log, "kept");
  SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_READONLY);
  Form1& f = Main();
  f.Load();
  f.chameleonButton2_Click();
  EXPECT_EQ(MessageForm().Get().Text1.Text(), "The log file could not be cleared: it is read-only or in use.");
  SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ts::ReadFile(log), "kept");
}

TEST_F(Toolbar, TrelmakStartsByItsFullQuotedPath) {
  rt::SetProgramFolder(ts::Scratch() + "\\Program Files\\Velk Rezeza");
  Form1& f = Main();
  f.Load();
  f.chameleonButton3_Click();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_FALSE(starts[0].viaShell);
  EXPECT_EQ(starts[0].commandLine, "\"" + ts::Scratch() + "\\Program Files\\Velk Rezeza\\trelmak.exe\"");
  EXPECT_EQ(starts[0].show, SW_SHOWNORMAL);
}

TEST_F(Toolbar, LogAndHelpOpenThroughTheShell) {
  Form1& f = Main();
  f.Show();
  f.SetTopmost(true);
  f.chameleonButton1_Click();
  f.chameleonButton10_Click();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].file, ts::ProgramDir() + "\\eraselog.txt");
  EXPECT_EQ(starts[1].file, ts::ProgramDir() + "\\velkhelp.chm");
  EXPECT_EQ(starts[1].verb, "Open");
  EXPECT_FALSE(GetWindowLongPtrA(f.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);  // out of the topmost band first
}

TEST_F(Toolbar, WebPagesThatCannotBeOpenedShowTheirAddress) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Load();
  f.a10.PerformClick();  // "Visit our web site": the shell opens it
  EXPECT_EQ(starts.back().verb, "open");
  EXPECT_EQ(starts.back().file, Form1::kHomePage);
  EXPECT_FALSE(MessageForm().IsLoaded());
  shellResult = 31;  // no program for the address
  f.a2.PerformClick();  // "Download Plugins"
  EXPECT_EQ(starts.back().file, Form1::kPluginPage);
  frmmsg& m = MessageForm().Get();
  ASSERT_TRUE(m.IsLoaded());
  EXPECT_EQ(m.Label1.Caption(), "Plug-ins");
  EXPECT_EQ(m.Text1.Text(), std::string("The page could not be opened. You can copy its address:\r") + Form1::kPluginPage);
  f.a10.PerformClick();
  EXPECT_EQ(m.Label1.Caption(), "Velk Rezeza Pro");
}

TEST_F(Toolbar, TheTrayMenuHoldsTheCommandsInOrder) {
  Form1& f = Main();
  f.Load();
  EXPECT_EQ(GetMenu(f.hWnd()), nullptr);  // no menu bar
  HMENU m = f.bccc.BuildPopup();
  ASSERT_EQ(GetMenuItemCount(m), 11);
  std::vector<UINT> separators;
  for (int i = 0; i < 11; ++i)
    if (GetMenuState(m, i, MF_BYPOSITION) & MF_SEPARATOR) separators.push_back(i);
  EXPECT_EQ(separators, (std::vector<UINT>{2, 4, 7, 9}));
  DestroyMenu(m);
  // "Erase Now" runs the erase run, also with the window hidden.
  mw::Enable({"11"});
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  f.a7.PerformClick();
  EXPECT_FALSE(mw::UserKeyExists(mw::kRunMru));
}

TEST_F(Toolbar, TheTrayIconsEvents) {
  Form1& f = Main();
  f.Show();
  EXPECT_EQ(f.TrayArea1.ToolTip(), "Tarvo Tracks Rezeza");
  f.TrayArea1_MouseMove();
  EXPECT_EQ(f.TrayArea1.ToolTip(), "Velk Rezeza Pro");
  f.TrayArea1_MouseDown(1);  // the left button: nothing (a right press pops the menu up)
}

TEST_F(Toolbar, TheAboutBoxTakesItsOwnLanguageAndVersion) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Load();
  f.chameleonButton9_Click();
  Form5& about = AboutBox().Get();
  ASSERT_TRUE(about.IsLoaded());
  EXPECT_TRUE(f.Enabled());  // the main window stays usable
  EXPECT_EQ(about.Label4.Caption(), "2.0.1");
  EXPECT_EQ(about.Label3.Caption(), "Version:");
  EXPECT_EQ(about.Label5.Caption(), "E-mail:");
  EXPECT_EQ(about.chameleonButton2.Caption(), " Cancel");
  EXPECT_TRUE(GetWindowLongPtrA(about.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  f.chameleonButton9_Click();  // the same box again
  EXPECT_EQ(&AboutBox().Get(), &about);
  about.chameleonButton2.PerformClick();
  EXPECT_FALSE(AboutBox().IsLoaded());
}

TEST_F(Toolbar, TheAboutBoxLinksShowTheirAddressWhenTheyCannotOpen) {
  mw::InstallEnglish();
  Form1& f = Main();
  f.Load();
  f.chameleonButton9_Click();
  Form5& about = AboutBox().Get();
  about.Label8_Click();  // the e-mail link, opened
  EXPECT_EQ(starts.back().file, std::string("mailto:") + Form5::kMail);
  EXPECT_EQ(starts.back().verb, "OPEN");
  EXPECT_FALSE(MessageForm().IsLoaded());
  shellResult = 2;
  about.Label8_Click();
  frmmsg& m = MessageForm().Get();
  EXPECT_EQ(m.Label1.Caption(), "E-mail");
  EXPECT_EQ(m.Text1.Text(), std::string("E-mail:\r ") + Form5::kMail);
  about.Label9_Click();
  EXPECT_EQ(m.Label1.Caption(), "Web site");
  EXPECT_EQ(m.Text1.Text(), std::string("Visit our web site\r ") + Form5::kSite);
}

}  // namespace
