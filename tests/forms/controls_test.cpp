#include "forms/controls.h"

#include <gtest/gtest.h>

#include "forms/bars.h"
#include "forms/controlarray.h"
#include "forms/form.h"
#include "forms/scrollbar.h"
#include "native.h"
#include "runtime/pump.h"

namespace {

class Board : public forms::Form {
 public:
  Board()
      : Form("Board"),
        Text5(*this, "Text5", "0"),
        Hidden(*this, "Text4", "0"),
        Memo(*this, "Memo"),
        Label1(*this, "Label1", "Scanned Registry Keys :"),
        Check(*this, "Check"),
        Frame1(*this, "Frame1", "Schedule"),
        Option1(*this, "Option1", "Every minute"),
        Option2(*this, "Option2", "Every hour"),
        Option3(*this, "Option3", "Hide all"),
        Button(*this, "chameleonButton5", "Start Erasing"),
        Bar1(*this, "Bar1"),
        Status(*this, "StatusBar1"),
        Check1(*this, "Check1") {
    Hidden.SetVisible(false);
    Memo.SetMultiLine(true);
    Memo.Move(0, 600, 3000, 900);
    Option1.SetContainer(&Frame1);
    Option2.SetContainer(&Frame1);
    Frame1.Move(3000, 0, 3000, 1500);
    for (int i = 0; i < 3; ++i) Check1.Add(i).Move(0, 2000 + 300 * i);
    Status.AddPanel("Progress", 3000);
  }
  forms::TextBox Text5, Hidden, Memo;
  forms::Label Label1;
  forms::CheckBox Check;
  forms::Frame Frame1;
  forms::OptionButton Option1, Option2, Option3;
  forms::PushButton Button;
  forms::ProgressBar Bar1;
  forms::StatusBar Status;
  forms::ControlArray<forms::CheckBox> Check1;
};

TEST(TextBox, ChangeRunsInsideTheSetterAndOnlyOnARealChange) {
  Board f;
  std::vector<std::string> seen;
  f.Text5.Change = [&] { seen.push_back(f.Text5.Text()); };
  f.Text5.SetText("0");  // the text it holds: no change
  EXPECT_TRUE(seen.empty());
  f.Text5.SetText("");   // a trigger writes "" and then the value
  f.Text5.SetText("2");
  EXPECT_EQ(seen, (std::vector<std::string>{"", "2"}));
  f.Text5.SetText("2");
  EXPECT_EQ(seen.size(), 2u);
}

TEST(TextBox, TheNativeBoxMirrorsTheModelWithoutEchoes) {
  Board f;
  int changes = 0;
  f.Text5.Change = [&] { ++changes; };
  f.Load();
  ASSERT_TRUE(f.Text5.HasNative());
  EXPECT_EQ(nt::WindowText(f.Text5.hWnd()), "0");
  f.Text5.SetText("1");
  EXPECT_EQ(nt::WindowText(f.Text5.hWnd()), "1");
  EXPECT_EQ(changes, 1);
  // The EDIT tells of a change even when it is given its own text again: the model decides.
  SetWindowTextA(f.Text5.hWnd(), "1");
  EXPECT_EQ(changes, 1);
  // What the user types reaches the model and runs Change once.
  SetWindowTextA(f.Text5.hWnd(), "typed");
  EXPECT_EQ(f.Text5.Text(), "typed");
  EXPECT_EQ(changes, 2);
  f.Unload();
}

TEST(TextBox, AHiddenBoxHasNoNativeWindowUntilItIsShown) {
  Board f;
  f.Load();
  EXPECT_FALSE(f.Hidden.HasNative());
  int changes = 0;
  f.Hidden.Change = [&] { ++changes; };
  f.Hidden.SetText("1");
  EXPECT_EQ(changes, 1);
  f.Hidden.SetVisible(true);
  ASSERT_TRUE(f.Hidden.HasNative());
  EXPECT_EQ(nt::WindowText(f.Hidden.hWnd()), "1");
  f.Unload();
}

TEST(TextBox, AMultiLineBoxShowsEveryLoneLineEndAsABreak) {
  Board f;
  int changes = 0;
  f.Memo.Change = [&] { ++changes; };
  f.Load();
  f.Memo.SetText("I cant open the site\rhttp://example.invalid/\nnext\r\nlast");
  EXPECT_EQ(nt::WindowText(f.Memo.hWnd()), "I cant open the site\r\nhttp://example.invalid/\r\nnext\r\nlast");
  EXPECT_EQ(SendMessageA(f.Memo.hWnd(), EM_GETLINECOUNT, 0, 0), 4);
  EXPECT_EQ(f.Memo.Text(), "I cant open the site\rhttp://example.invalid/\nnext\r\nlast");
  EXPECT_EQ(changes, 1);
  f.Unload();
}

TEST(TextBox, SelectionAndLimits) {
  Board f;
  f.Load();
  f.Text5.SetMaxLength(2);
  f.Text5.SetText("45");
  f.Text5.SetSelStart(0);
  f.Text5.SetSelLength(static_cast<int>(f.Text5.Text().size()));
  EXPECT_EQ(f.Text5.SelStart(), 0);
  EXPECT_EQ(f.Text5.SelLength(), 2);
  EXPECT_EQ(f.Text5.SelText(), "45");
  EXPECT_EQ(SendMessageA(f.Text5.hWnd(), EM_GETLIMITTEXT, 0, 0), 2);
  f.Text5.SetText("12345");  // code may set more than the user may type
  EXPECT_EQ(f.Text5.Text(), "12345");
  f.Text5.SetLocked(true);
  EXPECT_TRUE(GetWindowLongPtrA(f.Text5.hWnd(), GWL_STYLE) & ES_READONLY);
  f.Unload();
}

TEST(CheckBox, ClickRunsWhenTheValueChangesByCodeOrByTheUser) {
  Board f;
  int clicks = 0;
  f.Check.Click = [&] { ++clicks; };
  EXPECT_TRUE(f.Check.SetValue(0));  // unchanged: no click
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(f.Check.SetValue(1));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(f.Check.SetValue(3));  // refused
  EXPECT_EQ(f.Check.Value(), 1);
  EXPECT_TRUE(f.Check.SetValue(2));  // greyed is a value of its own
  EXPECT_EQ(clicks, 2);
  f.Load();
  EXPECT_EQ(SendMessageA(f.Check.hWnd(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  nt::Click(f.Check.hWnd());  // the user's click ticks a greyed box...
  EXPECT_EQ(f.Check.Value(), 1);
  EXPECT_EQ(SendMessageA(f.Check.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  nt::Click(f.Check.hWnd());  // ...and clears it again
  EXPECT_EQ(f.Check.Value(), 0);
  EXPECT_EQ(SendMessageA(f.Check.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 4);
  f.Check.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(f.Check.hWnd()));
  f.Unload();
}

TEST(OptionButton, OneOnPerContainerAndClickOnlyWhenTurnedOn) {
  Board f;
  std::vector<std::string> clicks;
  f.Option1.Click = [&] { clicks.push_back("1"); };
  f.Option2.Click = [&] { clicks.push_back("2"); };
  f.Option3.Click = [&] { clicks.push_back("3"); };
  f.Option1.SetValue(true);
  f.Option3.SetValue(true);  // another container: Option1 stays on
  EXPECT_TRUE(f.Option1.Value());
  f.Option2.SetValue(true);
  EXPECT_FALSE(f.Option1.Value());
  EXPECT_TRUE(f.Option2.Value());
  f.Option2.SetValue(true);  // already on
  f.Option2.SetValue(false);  // off by code: no click
  EXPECT_EQ(clicks, (std::vector<std::string>{"1", "3", "2"}));
  f.Load();
  nt::Click(f.Option1.hWnd());
  EXPECT_TRUE(f.Option1.Value());
  EXPECT_EQ(SendMessageA(f.Option1.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks.back(), "1");
  f.Unload();
}

TEST(ControlArray, EventsCarryTheIndex) {
  Board f;
  std::vector<int> clicked;
  f.Check1.Click = [&](int Index) { clicked.push_back(Index); };
  f.Check1[2].SetValue(1);
  f.Check1[0].SetValue(1);
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_EQ(f.Check1.LBound(), 0);
  EXPECT_EQ(f.Check1.UBound(), 2);
  EXPECT_EQ(f.Check1[1].Index(), 1);
  EXPECT_FALSE(f.Check1.Exists(3));
  EXPECT_THROW(f.Check1[3], std::out_of_range);
}

TEST(PushButton, ClickFromTheUserOrFromCodeButNotWhenDisabled) {
  Board f;
  int clicks = 0;
  f.Button.Click = [&] { ++clicks; };
  f.Load();
  EXPECT_EQ(nt::WindowText(f.Button.hWnd()), "Start Erasing");
  nt::Click(f.Button.hWnd());
  f.Button.PerformClick();
  EXPECT_EQ(clicks, 2);
  f.Button.SetEnabled(false);
  f.Button.PerformClick();
  EXPECT_EQ(clicks, 2);
  f.Button.SetCaption("Test Now");
  EXPECT_EQ(nt::WindowText(f.Button.hWnd()), "Test Now");
  f.Unload();
}

TEST(Control, MouseEventsAndToolTips) {
  Board f;
  f.Load();
  int moves = 0, downs = 0, lastButton = 0;
  f.Button.MouseMove = [&](int, int, int, int) {
    ++moves;
    f.Button.SetToolTipText("Erase the traces now");
  };
  f.Button.MouseDown = [&](int button, int, int, int) {
    ++downs;
    lastButton = button;
  };
  SendMessageA(f.Button.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(f.Button.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageA(f.Button.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(lastButton, forms::kRightButton);
  HWND tip = f.ToolTipWindow();
  ASSERT_NE(tip, nullptr);
  char text[128] = "";
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = f.hWnd();
  ti.uId = reinterpret_cast<UINT_PTR>(f.Button.hWnd());
  ti.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, "Erase the traces now");
  f.Unload();
}

TEST(Frame, HoldsItsControlsAndHidesThemWithIt) {
  Board f;
  f.Show();
  ASSERT_TRUE(f.Option1.HasNative());
  EXPECT_TRUE(IsWindowVisible(f.Option1.hWnd()));
  EXPECT_EQ(GetParent(f.Option1.hWnd()), f.Frame1.hWnd());
  EXPECT_EQ(nt::WindowText(f.Frame1.hWnd()), "Schedule");  // its name for screen readers
  f.Frame1.SetCaption("Select Option");
  EXPECT_EQ(nt::WindowText(f.Frame1.hWnd()), "Select Option");
  f.Frame1.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(f.Option1.hWnd()));
  f.Frame1.Move(-990, 6630);  // parked outside the client area, as pages are
  RECT r;
  GetWindowRect(f.Frame1.hWnd(), &r);
  POINT p{r.left, r.top};
  ScreenToClient(f.hWnd(), &p);
  EXPECT_EQ(p.x, -66);
  EXPECT_EQ(p.y, 442);
  f.Frame1.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(f.Option1.hWnd()));
  // Notifications of controls inside a frame still reach their models.
  nt::Click(f.Option2.hWnd());
  EXPECT_TRUE(f.Option2.Value());
  f.Unload();
}

TEST(Bars, ProgressAndStatusMirrorTheModel) {
  Board f;
  f.Load();
  EXPECT_TRUE(f.Bar1.SetValue(40));
  EXPECT_EQ(SendMessageA(f.Bar1.hWnd(), PBM_GETPOS, 0, 0), 40);
  EXPECT_FALSE(f.Bar1.SetValue(101));
  EXPECT_EQ(f.Bar1.Value(), 40);
  EXPECT_TRUE(f.Status.SetPanelText(1, "Done"));
  EXPECT_FALSE(f.Status.SetPanelText(2, "x"));
  char text[64] = "";
  SendMessageA(f.Status.hWnd(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Done");
  f.Unload();
}

TEST(Label, CaptionAndColours) {
  Board f;
  f.Label1.SetForeColor(RGB(0, 0, 255));
  f.Load();
  EXPECT_EQ(nt::WindowText(f.Label1.hWnd()), "Scanned Registry Keys :");
  f.Label1.SetCaption("Files : ");
  EXPECT_EQ(nt::WindowText(f.Label1.hWnd()), "Files : ");
  HDC dc = GetDC(f.Label1.hWnd());
  EXPECT_NE(SendMessageA(f.hWnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(f.Label1.hWnd())), 0);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  ReleaseDC(f.Label1.hWnd(), dc);
  f.Unload();
}

// --- option groups that start with none on --------------------------------------------------

// Presses a key as the user would: through the input queue, so the key state is what it would be.
void Press(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  for (int i = 0; i < 5; ++i) {
    Sleep(10);
    rt::DoEvents();
  }
}

TEST(OptionButton, AGroupStaysEmptyUntilTheUserChooses) {
  Board f;
  std::vector<std::string> clicks;
  f.Option1.Click = [&] { clicks.push_back("1"); };
  f.Option2.Click = [&] { clicks.push_back("2"); };
  f.Show();
  rt::DoEvents();
  // The focus arriving by code (or by Tab) turns nothing on.
  f.Option1.SetFocus();
  rt::DoEvents();
  EXPECT_EQ(GetFocus(), f.Option1.hWnd());
  EXPECT_FALSE(f.Option1.Value());
  EXPECT_FALSE(f.Option2.Value());
  EXPECT_EQ(SendMessageA(f.Option1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(clicks.empty());
  // Space chooses the button with the focus; an arrow key moves the choice to the next one.
  Press(VK_SPACE);
  EXPECT_TRUE(f.Option1.Value());
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), f.Option2.hWnd());
  EXPECT_TRUE(f.Option2.Value());
  EXPECT_FALSE(f.Option1.Value());
  EXPECT_EQ(clicks, (std::vector<std::string>{"1", "2"}));
  // Code may empty the group again.
  f.Option2.SetValue(false);
  EXPECT_FALSE(f.Option1.Value() || f.Option2.Value());
  EXPECT_EQ(SendMessageA(f.Option2.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  f.Unload();
}

// --- text boxes the user types into -----------------------------------------------------------

TEST(TextBox, TypingStopsAtTheMaximumLength) {
  Board f;
  f.Show();
  f.Text5.SetText("");
  f.Text5.SetMaxLength(2);
  std::vector<std::string> seen;
  f.Text5.Change = [&] { seen.push_back(f.Text5.Text()); };
  for (char c : std::string("123")) SendMessageA(f.Text5.hWnd(), WM_CHAR, c, 0);
  EXPECT_EQ(f.Text5.Text(), "12");
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "12"}));
  // A box whose Change selects its whole text takes each keystroke in place of what it held.
  f.Text5.Change = [&] {
    f.Text5.SetSelStart(0);
    f.Text5.SetSelLength(static_cast<int>(f.Text5.Text().size()));
  };
  f.Text5.SetSelStart(0);  // the box is full: the user selects what it holds first
  f.Text5.SetSelLength(2);
  for (char c : std::string("45")) SendMessageA(f.Text5.hWnd(), WM_CHAR, c, 0);
  EXPECT_EQ(f.Text5.Text(), "5");
  EXPECT_EQ(f.Text5.SelText(), "5");
  f.Unload();
}

// --- scroll bars as spinners --------------------------------------------------------------------

class SpinForm : public forms::Form {
 public:
  SpinForm() : Form("SpinForm"), Text1(*this, "Text1", "45"), VScroll1(*this, "VScroll1") {
    Text1.Move(120, 120, 400, 285);
    VScroll1.Move(520, 120, 255, 285);
    VScroll1.SetMin(1);
    VScroll1.SetMax(59);
    VScroll1.SetValue(45);
    VScroll1.SetLargeChange(10);
    VScroll1.Change = [this] { Text1.SetText(std::to_string(VScroll1.Value())); };
  }
  forms::TextBox Text1;
  forms::ScrollBar VScroll1;
};

TEST(ScrollBar, ValueStaysInItsRangeAndChangeRunsOnARealChange) {
  SpinForm f;
  int changes = 0;
  f.VScroll1.Change = [&] { ++changes; };
  EXPECT_TRUE(f.VScroll1.SetValue(45));  // the value it holds
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(f.VScroll1.SetValue(60));
  EXPECT_FALSE(f.VScroll1.SetValue(0));
  EXPECT_EQ(f.VScroll1.Value(), 45);
  EXPECT_TRUE(f.VScroll1.SetValue(59));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(f.VScroll1.SetMax(30));  // a narrower range takes the value with it
  EXPECT_EQ(f.VScroll1.Value(), 30);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(f.VScroll1.SetMax(99));
  EXPECT_EQ(f.VScroll1.Value(), 30);
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(f.VScroll1.SetMax(40000));  // more than the native bar can hold
  EXPECT_EQ(f.VScroll1.Max(), 99);
}

TEST(ScrollBar, TheArrowsStepTowardsTheEndsAndStopThere) {
  SpinForm f;
  f.Show();
  HWND bar = f.VScroll1.hWnd();
  ASSERT_NE(bar, nullptr);
  auto press = [&](WORD code) { SendMessageA(f.hWnd(), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar)); };
  press(SB_LINEUP);  // the up arrow raises the value
  EXPECT_EQ(f.VScroll1.Value(), 46);
  EXPECT_EQ(f.Text1.Text(), "46");
  press(SB_LINEDOWN);
  press(SB_LINEDOWN);
  EXPECT_EQ(f.Text1.Text(), "44");
  press(SB_PAGEUP);
  EXPECT_EQ(f.VScroll1.Value(), 54);
  press(SB_PAGEUP);
  press(SB_LINEUP);
  EXPECT_EQ(f.VScroll1.Value(), 59);  // stops at Max
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);  // Max is at the top of the bar
  for (int i = 0; i < 70; ++i) press(SB_LINEDOWN);
  EXPECT_EQ(f.VScroll1.Value(), 1);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 58);
  // The user's own click on the lower arrow of the native bar.
  f.VScroll1.SetValue(10);
  RECT r;
  GetClientRect(bar, &r);
  // (The bar follows the mouse in a loop of its own until the button is let go: queue that first.)
  PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 2));
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom - 2));
  EXPECT_EQ(f.VScroll1.Value(), 9);
  EXPECT_EQ(f.Text1.Text(), "9");
  // A disabled bar ignores the arrows.
  f.VScroll1.SetEnabled(false);
  press(SB_LINEUP);
  EXPECT_EQ(f.VScroll1.Value(), 9);
  f.Unload();
}

TEST(ScrollBar, AHorizontalBarRaisesToTheRightAndAReversedRangeRunsBackwards) {
  SpinForm f;
  forms::ScrollBar h(f, "HScroll1", forms::ScrollBar::kHorizontal);
  h.SetMax(10);
  f.VScroll1.SetMin(10);  // Min above Max: the up arrow now lowers the value
  f.VScroll1.SetMax(1);
  f.VScroll1.SetValue(5);
  f.Load();
  SendMessageA(f.hWnd(), WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(h.hWnd()));
  EXPECT_EQ(h.Value(), 1);
  SendMessageA(f.hWnd(), WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), reinterpret_cast<LPARAM>(h.hWnd()));
  EXPECT_EQ(h.Value(), 10);
  SendMessageA(f.hWnd(), WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), reinterpret_cast<LPARAM>(f.VScroll1.hWnd()));
  EXPECT_EQ(f.VScroll1.Value(), 4);
  EXPECT_FALSE(f.VScroll1.SetValue(11));
  f.Unload();
}

}  // namespace
