// The erasing-settings window itself: how it opens, its captions, the category boxes and what they
// store, the pages, every way of closing, and a whole erase run that follows a tick in the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "categories/categories.h"
#include "fixture.h"
#include "runtime/text.h"
#include "shared/windowutils.h"

namespace {

using es::Lines;
using es::SettingsWindowTest;
using es::Stored;

class Window : public SettingsWindowTest {};

TEST_F(Window, OpensOnAnEmptyStoreWithEveryBoxClearAndWritesNothing) {
  Form2& f = Open();
  Form1& main = Main();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  EXPECT_TRUE(es::IsTopmost(f.hWnd()));
  EXPECT_FALSE(main.Enabled());
  EXPECT_FALSE(IsWindowEnabled(main.hWnd()));
  // Centred on the screen.
  RECT r;
  GetWindowRect(f.hWnd(), &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  for (int i = 0; i <= 24; ++i) EXPECT_EQ(f.Check1[i].Value(), 0) << i;
  EXPECT_TRUE(es::ValueNames(settings::kOptionWin).empty());
  EXPECT_TRUE(es::ValueNames(settings::kOptionBrowser).empty());
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\slectplg.cln"));
  // It opens on the "Browsers" page.
  EXPECT_TRUE(f.Frame1.Visible());
  EXPECT_FALSE(f.Frame2.Visible());
  EXPECT_FALSE(f.Frame3.Visible());
}

TEST_F(Window, CaptionsComeFromTheLanguageFile) {
  Form2& f = Open();
  EXPECT_EQ(es::WindowText(f.hWnd()), "Erase Settings");
  struct Case {
    forms::CaptionedControl* control;
    const char* caption;
  } cases[] = {
      {&f.chameleonButton1, "Browsers"},     {&f.Frame1, "Browsers"},
      {&f.chameleonButton2, "  Windows"},    {&f.Frame2, "  Windows"},
      {&f.chameleonButton3, "Applications"}, {&f.Frame3, "Applications"},
      {&f.Frame6, "Internet Explorer"},      {&f.Frame4, "Opera Settings"},
      {&f.Frame5, "NetScape Settings"},      {&f.chameleonButton6, "View"},
      {&f.chameleonButton7, "View"},         {&f.Check1[0], "Location Bar History"},
      {&f.Check1[1], "Cookies"},             {&f.Check1[18], "Cookies"},
      {&f.Check1[23], "Cookies"},            {&f.Check1[19], "Location Bar History"},
      {&f.Check1[22], "Location Bar History"}, {&f.Check1[4], "Index.dat"},
      {&f.Check1[13], "Recent Documents History"}, {&f.Check1[17], "Clipboard"},
      {&f.chameleonButton21, "Auto Scan"},   {&f.chameleonButton20, "Change Directory"},
      {&f.chameleonButton5, "Select All"},   {&f.chameleonButton15, "Select All"},
      {&f.chameleonButton14, "Select Non"},  {&f.chameleonButton18, "Select Non"},
      {&f.chameleonButton13, "Run Trelmak"}, {&f.chameleonButton4, "Exit"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.control->Caption(), c.caption) << c.control->Name();
  EXPECT_EQ(f.View1.ColumnText(1), "Application Plugins");
  // A shown button carries its caption as its window text, so screen readers find it by name.
  EXPECT_EQ(es::WindowText(f.chameleonButton4.hWnd()), "Exit");
  EXPECT_EQ(es::WindowText(f.Check1[0].hWnd()), "Location Bar History");
  for (int hidden : {5, 6, 7, 14, 15, 16}) EXPECT_FALSE(f.Check1[hidden].Visible()) << hidden;
}

TEST_F(Window, EveryButtonIsAnOwnerDrawnOneWithItsSettings) {
  Form2& f = Open();
  f.chameleonButton6.PerformClick();
  Form52& keep = KeepListWindow().Get();
  std::vector<controls::chameleonButton*> pluginButtons = {&f.chameleonButton5,  &f.chameleonButton14, &f.chameleonButton8,
                                                           &f.chameleonButton9,  &f.chameleonButton10, &f.chameleonButton11,
                                                           &f.chameleonButton12, &f.chameleonButton13};
  int buttons = 0;
  for (forms::Form* w : {static_cast<forms::Form*>(&f), static_cast<forms::Form*>(&keep)}) {
    for (forms::Control* c : w->Controls()) {
      EXPECT_EQ(dynamic_cast<forms::PushButton*>(c), nullptr) << c->Name();
      auto* b = dynamic_cast<controls::chameleonButton*>(c);
      if (!b) continue;
      ++buttons;
      EXPECT_EQ(b->ButtonType(), controls::ButtonTypeKind::FlatHover) << b->Name();
      EXPECT_EQ(b->ColorScheme(), controls::ColorSchemeKind::CustomColors) << b->Name();
      EXPECT_EQ(b->BackColor(), controls::kButtonFace) << b->Name();
      EXPECT_EQ(b->ForeColor(), RGB(64, 64, 64)) << b->Name();
      EXPECT_EQ(b->ForeOver(), RGB(192, 0, 0)) << b->Name();
      EXPECT_EQ(b->FontName(), "Arial") << b->Name();
      EXPECT_TRUE(b->SoftBevel()) << b->Name();
      bool top = std::find(pluginButtons.begin(), pluginButtons.end(), b) != pluginButtons.end();
      EXPECT_EQ(b->PicturePosition(),
                top ? controls::PicturePositionKind::PictureTop : controls::PicturePositionKind::PictureLeft)
          << b->Name();
      EXPECT_EQ(b->FontBold(), b == &keep.orubutton2) << b->Name();
    }
  }
  EXPECT_EQ(buttons, 22 + 7);
}

TEST_F(Window, WithoutTheLanguageFileTheCaptionsAreEmptyButIndexDat) {
  DeleteFileA((ts::ProgramDir() + "\\lang\\english.ini").c_str());
  Form2& f = Open();
  EXPECT_EQ(f.Caption(), "");
  EXPECT_EQ(f.Check1[1].Caption(), "");
  EXPECT_EQ(f.chameleonButton4.Caption(), "");
  EXPECT_EQ(f.Check1[4].Caption(), "Index.dat");
}

TEST_F(Window, StoredBoxesAreRestoredAndTheirOnesWrittenAgain) {
  for (auto [code, text] : {std::pair{"0", " 1 "}, std::pair{"8", "0.0"}, std::pair{"10", "1"}, std::pair{"11", "abc"},
                            std::pair{"12", "3"}, std::pair{"17", "1.0"}, std::pair{"24", "2"}})
    settings::Write(settings::kOptionWin, code, text);
  Form2& f = Open();
  EXPECT_EQ(f.Check1[0].Value(), 1);
  EXPECT_EQ(f.Check1[10].Value(), 1);
  EXPECT_EQ(f.Check1[17].Value(), 1);
  EXPECT_EQ(f.Check1[24].Value(), 2);  // greyed
  for (int i : {8, 11, 12}) EXPECT_EQ(f.Check1[i].Value(), 0) << i;
  // A restored tick is stored again as the box stores it; boxes that stay clear write nothing.
  EXPECT_EQ(Stored(settings::kOptionWin, "0"), "1");
  EXPECT_EQ(Stored(settings::kOptionWin, "17"), "1");
  EXPECT_EQ(Stored(settings::kOptionWin, "24"), "2");
  EXPECT_EQ(Stored(settings::kOptionWin, "8"), "0.0");
  EXPECT_EQ(Stored(settings::kOptionWin, "11"), "abc");
  EXPECT_EQ(Stored(settings::kOptionWin, "12"), "3");
  EXPECT_EQ(Stored(settings::kOptionWin, "1"), "<missing>");
}

TEST_F(Window, StoredOnesInTheHiddenPluginBoxesLeaveTheSelectionAlone) {
  Plugin("a.vk", "A\r\nP\r\nD\r\nfiles\r\nfile=C:\\a.txt,0\r\nregistry\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\slectplg.cln", "a\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\plgfile.cln", "C:\\a.txt\r\n");
  ts::WriteFile(ts::ProgramDir() + "\\plgfoldr.cln", "");
  ts::WriteFile(ts::ProgramDir() + "\\plgreg.cln", "");
  for (const char* code : {"14", "15"}) settings::Write(settings::kOptionWin, code, "1");
  Form2& f = Open();
  EXPECT_EQ(Cln("slectplg.cln"), "a\r\n");
  EXPECT_EQ(Cln("plgfile.cln"), "C:\\a.txt\r\n");
  // The boxes' values are still written as they end up: each clears the other.
  EXPECT_EQ(Stored(settings::kOptionWin, "14"), "0");
  EXPECT_EQ(Stored(settings::kOptionWin, "15"), "0");
  // The page still shows the selection as it was.
  f.chameleonButton3.PerformClick();
  ASSERT_EQ(f.View1.Count(), 1);
  EXPECT_TRUE(f.View1.Checked(1));
  EXPECT_EQ(Cln("slectplg.cln"), "a\r\n");
}

TEST_F(Window, EveryBoxStoresItsValueAtOnce) {
  Form2& f = Open();
  const std::vector<std::pair<controls::chameleonButton*, std::vector<int>>> pages = {
      {&f.chameleonButton1, {0, 1, 2, 3, 4, 18, 19, 20, 21, 22, 23, 24}},
      {&f.chameleonButton2, {8, 9, 10, 11, 12, 13, 17}}};
  for (const auto& [tab, boxes] : pages) {
    tab->PerformClick();
    for (int i : boxes) {
      ASSERT_TRUE(f.Check1[i].hWnd()) << i;
      SendMessageA(f.Check1[i].hWnd(), BM_CLICK, 0, 0);  // the user's click
      EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "1") << i;
      SendMessageA(f.Check1[i].hWnd(), BM_CLICK, 0, 0);
      EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "0") << i;  // stored, never deleted
    }
  }
  EXPECT_EQ(es::ValueNames(settings::kOptionWin).size(), 19u);
}

// The boxes shown are the categories of the table, each on a frame of a page with its caption: a
// category added to the table without its box, or a box left of one taken out, shows here.
TEST_F(Window, TheShownBoxesAreTheCategoriesOfTheTable) {
  Form2& f = Open();
  std::set<int> codes, shown;
  for (const categories::Category& c : categories::kCategories) {
    int code = static_cast<int>(rt::ValInt(c.code));
    ASSERT_EQ(rt::NumberText(code), c.code);
    ASSERT_LT(code, f.Check1.Count()) << c.code;
    codes.insert(code);
    const forms::CheckBox& box = f.Check1[code];
    EXPECT_FALSE(box.Caption().empty()) << c.code;
    const forms::Frame* frame = box.Container();
    EXPECT_TRUE(frame == &f.Frame6 || frame == &f.Frame4 || frame == &f.Frame5 || frame == &f.Frame2) << c.code;
  }
  for (int i = 0; i < f.Check1.Count(); ++i)
    if (f.Check1[i].Visible()) shown.insert(i);
  EXPECT_EQ(shown, codes);
}

TEST_F(Window, SelectAllAndNoneTouchOnlyTheirOwnBoxes) {
  Form2& f = Open();
  f.Check1[2].SetValue(1);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionWin).c_str(), "2");
  f.chameleonButton15.PerformClick();
  for (int i : {0, 1, 3, 4}) EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "1") << i;
  EXPECT_EQ(Stored(settings::kOptionWin, "2"), "<missing>");  // it was ticked already: no write
  EXPECT_EQ(es::ValueNames(settings::kOptionWin).size(), 4u);
  f.chameleonButton17.PerformClick();
  for (int i = 8; i <= 13; ++i) EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "1") << i;
  EXPECT_EQ(f.Check1[17].Value(), 0);  // the clipboard is not one of them
  EXPECT_EQ(Stored(settings::kOptionWin, "17"), "<missing>");
  for (int i : {18, 19, 20, 21, 22, 23, 24}) EXPECT_EQ(f.Check1[i].Value(), 0) << i;
  f.chameleonButton18.PerformClick();
  for (int i = 8; i <= 13; ++i) EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "0") << i;
  f.chameleonButton16.PerformClick();
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(Stored(settings::kOptionWin, std::to_string(i)), "0") << i;
}

TEST_F(Window, ThePagesTakeTurnsInOnePlace) {
  Form2& f = Open();
  struct Case {
    controls::chameleonButton* tab;
    forms::Frame* page;
  } cases[] = {{&f.chameleonButton2, &f.Frame2}, {&f.chameleonButton3, &f.Frame3}, {&f.chameleonButton1, &f.Frame1}};
  for (const auto& c : cases) {
    SendMessageA(c.tab->hWnd(), BM_CLICK, 0, 0);
    for (forms::Frame* p : {&f.Frame1, &f.Frame2, &f.Frame3}) {
      EXPECT_EQ(p->Visible(), p == c.page) << c.tab->Name() << " " << p->Name();
      EXPECT_EQ(p->hWnd() && IsWindowVisible(p->hWnd()), p == c.page) << c.tab->Name() << " " << p->Name();
    }
    EXPECT_EQ(c.page->Left(), f.Frame1.Left());
    EXPECT_EQ(c.page->Top(), f.Frame1.Top());
  }
}

TEST_F(Window, TabWalksTheBoxesFromTheTopDown) {
  Form2& f = Open();
  HWND first = GetNextDlgTabItem(f.Frame6.hWnd(), nullptr, FALSE);
  EXPECT_EQ(first, f.Check1[0].hWnd());
  EXPECT_EQ(GetNextDlgTabItem(f.Frame6.hWnd(), f.Check1[0].hWnd(), FALSE), f.Check1[1].hWnd());
  EXPECT_EQ(GetNextDlgTabItem(f.Frame6.hWnd(), f.Check1[4].hWnd(), FALSE), f.chameleonButton7.hWnd());
  f.chameleonButton2.PerformClick();
  EXPECT_EQ(GetNextDlgTabItem(f.Frame2.hWnd(), nullptr, FALSE), f.Check1[13].hWnd());
  EXPECT_EQ(GetNextDlgTabItem(f.Frame2.hWnd(), f.Check1[8].hWnd(), FALSE), f.Check1[17].hWnd());
}

// --- closing --------------------------------------------------------------------------------------

TEST_F(Window, ExitEnablesTheMainWindowAndRebuildsItsStatusList) {
  Form2& f = Open();
  Form1& main = Main();
  EXPECT_EQ(main.View100.Count(), 0);
  SendMessageA(f.Check1[1].hWnd(), BM_CLICK, 0, 0);
  f.chameleonButton2.PerformClick();
  SendMessageA(f.Check1[11].hWnd(), BM_CLICK, 0, 0);
  SendMessageA(f.chameleonButton4.hWnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(ErasingSettings().IsLoaded());
  EXPECT_TRUE(main.Enabled());
  EXPECT_TRUE(IsWindowEnabled(main.hWnd()));
  ASSERT_EQ(main.View100.Count(), 2);
  EXPECT_EQ(main.View100.Text(1), "Cookies");
  EXPECT_EQ(main.View100.Text(2), "Start Menu Run History");
}

TEST_F(Window, TheCloseBoxEnablesTheMainWindowWithoutARebuild) {
  Form2& f = Open();
  Form1& main = Main();
  SendMessageA(f.Check1[1].hWnd(), BM_CLICK, 0, 0);
  SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(ErasingSettings().IsLoaded());
  EXPECT_TRUE(main.Enabled());
  EXPECT_EQ(main.View100.Count(), 0);  // as it was until something rebuilds it
  // The tray menu's item opens it again, from its design.
  main.a4.PerformClick();
  Form2& again = ErasingSettings().Get();
  EXPECT_NE(&again, &f);
  EXPECT_TRUE(IsWindowVisible(again.hWnd()));
  EXPECT_EQ(again.Check1[1].Value(), 1);
  EXPECT_FALSE(main.Enabled());
}

TEST_F(Window, TheShowHideKeyUnloadsItAndTheKeepListWithoutWriting) {
  settings::Write(settings::kOptionOption, settings::kOptStealth, "1");
  settings::Write(settings::kShowHideKey, "Q");
  Form1& main = Main();
  main.Load();
  SendMessageA(main.hWnd(), WM_HOTKEY, 1, 0);  // shows the hidden window
  ASSERT_TRUE(main.Visible());
  main.chameleonButton7_Click();
  Form2& f = ErasingSettings().Get();
  f.chameleonButton6.PerformClick();
  Form52& keep = KeepListWindow().Get();
  ASSERT_TRUE(keep.IsLoaded());
  keep.List2.AddItem("kept.txt");
  SendMessageA(main.hWnd(), WM_HOTKEY, 1, 0);  // hides it again, and the settings windows go
  EXPECT_FALSE(main.Visible());
  EXPECT_FALSE(ErasingSettings().IsLoaded());
  EXPECT_FALSE(KeepListWindow().IsLoaded());
  EXPECT_TRUE(main.Enabled());
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\cookies.vel"));
  EXPECT_EQ(main.View100.Count(), 0);
  main.Command5_Click();
}

// --- the whole way: a tick in the window, then an erase run ------------------------------------------

TEST_F(Window, AnEraseRunErasesTheCategoryTickedInTheWindowAndNothingElse) {
  mw::SetUserValue(mw::kRunMru, "a", "regedit");
  mw::SetUserValue(mw::kRunMru, "MRUList", "a");
  mw::SetUserValue(mw::kFindMru, "A", "secret plans");
  mw::SetUserValue(mw::kOpenSave, "a", "C:\\docs\\report.doc");
  Form2& f = Open();
  f.chameleonButton2.PerformClick();
  SendMessageA(f.Check1[11].hWnd(), BM_CLICK, 0, 0);  // "Start Menu Run History"
  SendMessageA(f.chameleonButton4.hWnd(), BM_CLICK, 0, 0);
  Form1& main = Main();
  ASSERT_EQ(main.View100.Count(), 1);
  SendMessageA(main.chameleonButton5.hWnd(), BM_CLICK, 0, 0);  // "Start Erasing"
  EXPECT_FALSE(mw::UserValueExists(mw::kRunMru, "a"));
  EXPECT_EQ(mw::UserValue(mw::kFindMru, "A"), "secret plans");
  EXPECT_EQ(mw::UserValue(mw::kOpenSave, "a"), "C:\\docs\\report.doc");
  EXPECT_EQ(main.View100.SubItem(1, 1), "Done");
  // And back in the window the box is unticked again: the next run leaves the Run history alone.
  mw::SetUserValue(mw::kRunMru, "b", "notepad");
  Form2& again = Open();
  again.chameleonButton2.PerformClick();
  SendMessageA(again.Check1[11].hWnd(), BM_CLICK, 0, 0);
  SendMessageA(again.chameleonButton4.hWnd(), BM_CLICK, 0, 0);
  main.chameleonButton5_Click();
  EXPECT_EQ(mw::UserValue(mw::kRunMru, "b"), "notepad");
  EXPECT_EQ(main.View100.Count(), 0);
}

}  // namespace
