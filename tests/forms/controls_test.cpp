#include "forms/controls.h"

#include <gtest/gtest.h>

#include "forms/bars.h"
#include "forms/controlarray.h"
#include "forms/form.h"
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

}  // namespace
