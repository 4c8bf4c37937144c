// The owner-drawn push button: its palette and picture rules as tables, and its input rules driven
// by the window messages a user's mouse and keyboard send.
#include "controls/chameleonbutton.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/buttonaccessible.h"
#include "forms/form.h"
#include "runtime/pump.h"
#include "runtime/text.h"

namespace {

using controls::ButtonPicture;
using controls::ButtonStage;
using controls::ButtonTypeKind;
using controls::chameleonButton;
using controls::ColorSchemeKind;
using controls::PicturePositionKind;
namespace ch = controls::chameleon;

// --- palette and pictures ------------------------------------------------------------------------

TEST(ChameleonPalette, AdjustAndTint) {
  struct Case {
    COLORREF in;
    int amount;
    bool blue, soft;
    COLORREF out;
  } cases[] = {
      {RGB(250, 10, 10), 40, false, false, RGB(255, 50, 50)},  // clamped at 255
      {RGB(10, 10, 10), -40, false, false, RGB(0, 0, 0)},      // clamped at 0
      {RGB(0, 0, 192), 48, true, false, RGB(48, 48, 240)},     // blue scaled: 192 + 192 * 48 / 192
      {RGB(100, 100, 0), 48, true, false, RGB(148, 148, 0)},   // blue scaled from 0 stays 0
      {RGB(100, 100, 100), 1, false, true, RGB(100, 100, 100)},  // soft bevel: 1 \ 2 = 0
      {RGB(100, 100, 100), -63, false, true, RGB(69, 69, 69)},   // -63 \ 2 = -31, toward zero
      {RGB(100, 150, 200), 0, false, false, RGB(100, 150, 200)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ch::AdjustColor(c.in, c.amount, c.blue, c.soft), c.out) << c.in << " " << c.amount;
  EXPECT_EQ(ch::TintTowardWhite(RGB(0, 0, 0), 176), RGB(176, 176, 176));
  EXPECT_EQ(ch::TintTowardWhite(RGB(255, 255, 255), 128), RGB(255, 255, 255));
  EXPECT_EQ(ch::TintTowardWhite(RGB(0, 0, 128), 176), RGB(176, 176, 215));
  EXPECT_EQ(ch::ResolveColor(controls::SystemColor(COLOR_BTNFACE)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ch::ResolveColor(RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(ChameleonPalette, EachSchemeDerivesItsColours) {
  ch::PaletteSource s;
  s.scheme = ColorSchemeKind::CustomColors;
  s.back = RGB(200, 200, 200);
  s.fore = RGB(0, 0, 0);
  s.foreOver = RGB(0, 0, 192);
  s.mask = RGB(255, 255, 255);
  ch::Palette p = ch::BuildPalette(s);
  EXPECT_EQ(p.face, RGB(200, 200, 200));
  EXPECT_EQ(p.shadow, RGB(136, 136, 136));
  EXPECT_EQ(p.light, RGB(231, 231, 231));
  EXPECT_EQ(p.highlight, RGB(247, 247, 247));
  EXPECT_EQ(p.darkShadow, RGB(8, 8, 8));
  EXPECT_EQ(p.hoverFrame, RGB(72, 72, 72));
  EXPECT_EQ(p.hoverFace, p.face);
  EXPECT_EQ(p.textOver, RGB(0, 0, 192));
  EXPECT_EQ(p.themeFace, RGB(248, 248, 248));
  EXPECT_EQ(p.mask, RGB(255, 255, 255));
  s.softBevel = true;  // the edges lie closer to the face
  p = ch::BuildPalette(s);
  EXPECT_EQ(p.shadow, RGB(168, 168, 168));
  EXPECT_EQ(p.darkShadow, RGB(104, 104, 104));

  s.scheme = ColorSchemeKind::FixedGrey;
  p = ch::BuildPalette(s);
  EXPECT_EQ(p.face, RGB(192, 192, 192));
  EXPECT_EQ(p.hoverFace, RGB(173, 173, 209));
  EXPECT_EQ(p.textOver, RGB(0, 0, 0));

  s.scheme = ColorSchemeKind::SystemColors;
  s.softBevel = false;
  p = ch::BuildPalette(s);
  EXPECT_EQ(p.face, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(p.darkShadow, GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(p.hoverFace, ch::TintTowardWhite(GetSysColor(COLOR_HIGHLIGHT), 176));

  s.scheme = ColorSchemeKind::ContainerColors;
  s.containerBack = RGB(0, 64, 0);
  s.containerText = RGB(255, 255, 0);
  p = ch::BuildPalette(s);
  EXPECT_EQ(p.face, RGB(0, 64, 0));
  EXPECT_EQ(p.text, RGB(255, 255, 0));
  EXPECT_EQ(p.light, RGB(31, 95, 31));
}

// One pixel of a picture over one pixel of background.
COLORREF Blend(COLORREF picture, COLORREF background, ch::PixelRule rule) {
  uint8_t bg[4] = {GetBValue(background), GetGValue(background), GetRValue(background), 0};
  uint8_t px[4] = {GetBValue(picture), GetGValue(picture), GetRValue(picture), 0};
  ch::BlendPicture(bg, px, 1, 1, rule);
  return RGB(bg[2], bg[1], bg[0]);
}

TEST(ChameleonPicture, PixelRules) {
  const COLORREF bg = RGB(90, 90, 90), white = RGB(255, 255, 255);
  ch::PixelRule plain;
  plain.transparent = white;
  EXPECT_EQ(Blend(RGB(10, 20, 30), bg, plain), RGB(10, 20, 30));
  EXPECT_EQ(Blend(white, bg, plain), bg);  // the mask colour is transparent...
  ch::PixelRule noMask = plain;
  noMask.useMask = false;
  EXPECT_EQ(Blend(white, bg, noMask), white);  // ...unless the mask is off

  ch::PixelRule dark = plain;
  dark.brush = RGB(1, 2, 3);
  dark.darkOnly = true;
  EXPECT_EQ(Blend(RGB(128, 128, 128), bg, dark), RGB(1, 2, 3));  // R + G + B = 384: drawn
  EXPECT_EQ(Blend(RGB(129, 128, 128), bg, dark), bg);             // 385: left out
  ch::PixelRule silhouette = dark;
  silhouette.darkOnly = false;
  EXPECT_EQ(Blend(RGB(250, 250, 250), bg, silhouette), RGB(1, 2, 3));

  ch::PixelRule grey = plain;
  grey.greyscale = true;
  // round(0.59 * 200 + round(0.3 * 100) + 0.11 * 50) = round(118 + 30 + 5.5) = 154 (ties to even)
  EXPECT_EQ(Blend(RGB(100, 200, 50), bg, grey), RGB(154, 154, 154));
  EXPECT_EQ(ch::GreyOf(5, 0, 0), 2);  // round(1.5) = 2
  EXPECT_EQ(ch::GreyOf(15, 0, 0), 4);  // round(4.5) = 4
  ch::PixelRule fade = plain;
  fade.fade = true;
  EXPECT_EQ(Blend(RGB(30, 60, 90), RGB(0, 3, 6), fade), RGB(20, 41, 62));  // (2p + b) \ 3
}

TEST(ChameleonCaption, AccessKeys) {
  struct Case {
    const char* caption;
    char key;
  } cases[] = {{"&Save", 's'},        {"Save && &Exit", 'e'}, {"A && B", 0},      {"Save&", 0},
               {"&", 0},              {"S", 0},               {"", 0},            {"Plain", 0},
               {"a&&&b", 'b'},         {"x && y &&", 0},       {"Op&tions", 't'},  {"&&a &B && &c", 'b'}};
  for (const auto& c : cases) EXPECT_EQ(ch::DeriveAccessKey(c.caption), c.key) << c.caption;
}

TEST(ChameleonCaption, PlacesThePictureBesideTheCaption) {
  RECT none{};
  EXPECT_EQ(ch::CaptionStartRect(PicturePositionKind::PictureLeft, 100, 30, 16, 16, none).left, 17);
  EXPECT_EQ(ch::CaptionStartRect(PicturePositionKind::PictureLeft, 100, 30, 16, 16, none).right, 98);
  RECT t{40, 8, 70, 22};
  struct Case {
    PicturePositionKind pos;
    const char* caption;
    POINT at;
  } cases[] = {{PicturePositionKind::PictureLeft, "Go", {20, 7}},  {PicturePositionKind::PictureRight, "Go", {74, 7}},
               {PicturePositionKind::PictureTop, "Go", {42, -10}}, {PicturePositionKind::PictureBottom, "Go", {42, 24}},
               {PicturePositionKind::PictureBehind, "Go", {42, 7}}, {PicturePositionKind::PictureLeft, "  ", {42, 7}}};
  for (const auto& c : cases) {
    POINT p = ch::PlacePicture(c.caption, c.pos, t, 100, 30, 16, 16, true, POINT{-1, -1});
    EXPECT_EQ(p.x, c.at.x) << static_cast<int>(c.pos);
    EXPECT_EQ(p.y, c.at.y) << static_cast<int>(c.pos);
  }
  POINT kept = ch::PlacePicture("Go", PicturePositionKind::PictureLeft, t, 100, 30, 16, 16, false, POINT{5, 6});
  EXPECT_EQ(kept.x, 5);
  EXPECT_EQ(kept.y, 6);
}

// --- a window with buttons --------------------------------------------------------------------------

class Pad : public forms::Form {
 public:
  Pad()
      : Form("Pad"),
        Button1(*this, "Button1", "&Save"),
        Button2(*this, "Button2", "Save && &Exit"),
        Button3(*this, "Button3", "A && B") {
    SetClientSize(6000, 3000);
    Button1.Move(150, 150, 1500, 450);
    Button2.Move(1800, 150, 1500, 450);
    Button3.Move(3450, 150, 1500, 450);
  }
  chameleonButton Button1, Button2, Button3;
};

// What a button raised, in order.
struct Log {
  std::vector<std::string> events;
  void Hook(chameleonButton& b) {
    b.Click = [this] { events.push_back("Click"); };
    b.MouseDown = [this](int16_t& button, int16_t&, float& x, float& y) {
      events.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
                       std::to_string(int(y)));
    };
    b.MouseUp = [this](int16_t& button, int16_t&, float&, float&) {
      events.push_back("MouseUp " + std::to_string(button));
    };
    b.MouseOver = [this] { events.push_back("MouseOver"); };
    b.MouseOut = [this] { events.push_back("MouseOut"); };
    b.KeyDown = [this](int16_t& code, int16_t&) { events.push_back("KeyDown " + std::to_string(code)); };
    b.KeyUp = [this](int16_t& code, int16_t&) { events.push_back("KeyUp " + std::to_string(code)); };
  }
  int Count(const std::string& e) const { return static_cast<int>(std::count(events.begin(), events.end(), e)); }
};

void CursorOver(const chameleonButton& b, int x = 5, int y = 5) {
  POINT p{x, y};
  ClientToScreen(b.hWnd(), &p);
  SetCursorPos(p.x, p.y);
}

void CursorAway(const forms::Form& f) {
  RECT r;
  GetWindowRect(f.hWnd(), &r);
  SetCursorPos(r.right + 40, r.bottom + 40);
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Show();
    log.Hook(f.Button1);
    CursorAway(f);
  }
  void TearDown() override { f.Unload(); }
  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = At(5, 5)) { return SendMessageA(f.Button1.hWnd(), m, w, l); }
  Pad f;
  Log log;
};

TEST_F(Input, ALeftClickRaisesOneClickAfterMouseUp) {
  CursorOver(f.Button1);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed);
  EXPECT_EQ(GetCapture(), f.Button1.hWnd());
  EXPECT_EQ(GetFocus(), f.Button1.hWnd());
  Send(WM_LBUTTONUP);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log.events, (std::vector<std::string>{"MouseDown 1 5,5", "MouseUp 1", "Click"}));
}

TEST_F(Input, TheRightButtonNeverPressesNorClicks) {
  int painted = f.Button1.PaintCount();
  Send(WM_RBUTTONDOWN, MK_RBUTTON);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  EXPECT_EQ(f.Button1.PaintCount(), painted);
  Send(WM_RBUTTONUP);
  EXPECT_EQ(log.Count("Click"), 0);
  // A left press with the right button pressed during it clicks no more either.
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(log.Count("Click"), 0);
}

TEST_F(Input, ADoubleClickClicksOnce) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(7, 8));
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed);  // the second press shows the pressed look
  EXPECT_EQ(GetCapture(), f.Button1.hWnd());
  Send(WM_LBUTTONUP);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  EXPECT_EQ(log.events, (std::vector<std::string>{"MouseDown 1 5,5", "MouseUp 1", "Click", "MouseDown 1 0,0",
                                                  "MouseUp 1"}));
}

TEST_F(Input, DraggingOutReleasesAndReleasingOutsideDoesNotClick) {
  CursorOver(f.Button1);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  CursorAway(f);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(-30, -30));
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  CursorOver(f.Button1, 9, 9);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(9, 9));
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed);
  CursorAway(f);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(-30, -30));
  Send(WM_LBUTTONUP, 0, At(-30, -30));
  EXPECT_EQ(log.Count("Click"), 0);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  // Back over it and released there, it clicks.
  CursorOver(f.Button1);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(log.Count("Click"), 1);
}

TEST_F(Input, SpaceClicksOnItsReleaseUnlessAnotherKeyCameBetween) {
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(log.Count("Click"), 1);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);

  Send(WM_KEYDOWN, VK_SPACE);
  Send(WM_KEYDOWN, 'A');
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(log.Count("Click"), 1);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);  // released all the same

  // A KeyDown handler that sets KeyCode to 0 stops Space.
  f.Button1.KeyDown = [](int16_t& code, int16_t&) {
    if (code == VK_SPACE) code = 0;
  };
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(log.Count("Click"), 1);
}

// A Space press belongs to the button that had the focus when it began, and only until the focus
// moves or any key comes up: holding Space while the focus moves on (an arrow key, Tab, a click)
// never clicks the button it moved to, whose window then gets the key's repeats and its release.
TEST_F(Input, ASpacePressIsForgottenWhenTheFocusMovesOrAnyKeyComesUp) {
  const LPARAM repeat = 0x40000001;  // the key was already down
  Log other;
  other.Hook(f.Button2);
  auto to = [](chameleonButton& b, UINT m, WPARAM key, LPARAM l = 1) { SendMessageA(b.hWnd(), m, key, l); };
  struct Case {
    const char* what;
    std::function<void()> between;  // after Space went down on Button1
    chameleonButton* releasedOn;     // where the repeats and the release go
  } cases[] = {
      {"an arrow key moves the focus on", [&] { to(f.Button1, WM_KEYDOWN, VK_RIGHT); }, &f.Button2},
      {"the focus moves and comes back", [&] {
         SetFocus(f.Button2.hWnd());
         SetFocus(f.Button1.hWnd());
       }, &f.Button1},
      {"a click moves the focus", [&] {
         to(f.Button2, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
         to(f.Button2, WM_LBUTTONUP, 0, At(-30, -30));
       }, &f.Button2},
      {"another key comes up", [&] { to(f.Button1, WM_KEYUP, VK_SHIFT); }, &f.Button1},
      {"Alt comes up", [&] { to(f.Button1, WM_SYSKEYUP, VK_MENU); }, &f.Button1},
  };
  for (const Case& c : cases) {
    SetFocus(f.Button1.hWnd());
    log.events.clear();
    other.events.clear();
    to(f.Button1, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed) << c.what;
    c.between();
    EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released) << c.what << ": no longer drawn pressed";
    to(*c.releasedOn, WM_KEYDOWN, VK_SPACE, repeat);
    to(*c.releasedOn, WM_KEYDOWN, VK_SPACE, repeat);
    EXPECT_EQ(c.releasedOn->LastStage(), ButtonStage::Released) << c.what << ": a repeat presses nothing";
    to(*c.releasedOn, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(log.Count("Click"), 0) << c.what;
    EXPECT_EQ(other.Count("Click"), 0) << c.what;
    EXPECT_EQ(c.releasedOn->LastStage(), ButtonStage::Released) << c.what;
  }
  // Held on one button, with its repeats, Space clicks that button once.
  SetFocus(f.Button1.hWnd());
  to(f.Button1, WM_KEYDOWN, VK_SPACE);
  to(f.Button1, WM_KEYDOWN, VK_SPACE, repeat);
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Pressed);
  to(f.Button1, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(log.Count("Click"), 1);
  EXPECT_EQ(other.Count("Click"), 0);
}

TEST_F(Input, HoverComesWithTheFirstPlainMoveAndGoesWhenThePointerLeaves) {
  CursorOver(f.Button1);
  Send(WM_MOUSEMOVE, 0);
  Send(WM_MOUSEMOVE, 0, At(6, 6));
  EXPECT_TRUE(f.Button1.IsHovered());
  EXPECT_EQ(log.Count("MouseOver"), 1);
  // A leave while the pointer is still over the button changes nothing.
  Send(WM_MOUSELEAVE);
  EXPECT_TRUE(f.Button1.IsHovered());
  CursorAway(f);
  Send(WM_MOUSELEAVE);
  EXPECT_FALSE(f.Button1.IsHovered());
  EXPECT_EQ(log.Count("MouseOut"), 1);
  Send(WM_MOUSELEAVE);  // no second MouseOut
  EXPECT_EQ(log.Count("MouseOut"), 1);
}

TEST_F(Input, TheSystemTellsWhenThePointerHasLeft) {
  CursorOver(f.Button1);
  Send(WM_MOUSEMOVE, 0);
  CursorAway(f);
  for (int i = 0; i < 100 && log.Count("MouseOut") == 0; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
  EXPECT_EQ(log.Count("MouseOut"), 1);
  EXPECT_FALSE(f.Button1.IsHovered());
}

TEST_F(Input, APressAndMoveEndsTheHoverLookUntilTheNextPlainMove) {
  CursorOver(f.Button1);
  Send(WM_MOUSEMOVE, 0);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_TRUE(f.Button1.IsHovered());  // no move between: still hovered
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(6, 6));
  Send(WM_LBUTTONUP, 0, At(6, 6));
  EXPECT_FALSE(f.Button1.IsHovered());
  EXPECT_EQ(log.Count("MouseOut"), 0);
  Send(WM_MOUSEMOVE, 0, At(7, 7));
  EXPECT_EQ(log.Count("MouseOver"), 2);
  EXPECT_EQ(log.Count("Click"), 2);
}

TEST_F(Input, AHoveredCustomButtonPaintsFromBackOver) {
  chameleonButton& b = f.Button1;
  b.SetColorScheme(ColorSchemeKind::CustomColors);
  b.SetButtonType(ButtonTypeKind::Flat);
  b.SetBackColor(RGB(200, 200, 200));
  b.SetBackOver(RGB(100, 150, 200));
  EXPECT_EQ(b.ImagePixel(3, 3), RGB(200, 200, 200));
  CursorOver(b);
  Send(WM_MOUSEMOVE, 0);
  EXPECT_EQ(b.ImagePixel(3, 3), RGB(100, 150, 200));
  EXPECT_EQ(b.ImagePixel(0, 0), ch::AdjustColor(RGB(100, 150, 200), 47));  // the edges too
  EXPECT_EQ(b.BackColor(), RGB(200, 200, 200));
}

TEST_F(Input, AccessKeysAndBmClickClickOnce) {
  Log two, three;
  two.Hook(f.Button2);
  three.Hook(f.Button3);
  EXPECT_EQ(f.Button2.AccessKey(), 'e');
  char text[64] = "";
  GetWindowTextA(f.Button2.hWnd(), text, sizeof text);
  EXPECT_STREQ(text, "Save && &Exit");  // screen readers find it by its caption
  // Alt+E, through the message loop as the user types it.
  PostMessageA(f.Button1.hWnd(), WM_SYSCHAR, 'E', 0);
  rt::DoEvents();
  EXPECT_EQ(two.Count("Click"), 1);
  EXPECT_EQ(GetFocus(), f.Button2.hWnd());
  // A plain letter where the focused control takes no characters.
  PostMessageA(f.Button2.hWnd(), WM_CHAR, 's', 0);
  rt::DoEvents();
  EXPECT_EQ(log.Count("Click"), 1);
  EXPECT_EQ(log.Count("MouseDown 1 5,5"), 0);  // no mouse events
  // "A && B" has no access key: its letters click nothing.
  PostMessageA(f.Button3.hWnd(), WM_SYSCHAR, 'b', 0);
  PostMessageA(f.Button3.hWnd(), WM_SYSCHAR, 'a', 0);
  rt::DoEvents();
  EXPECT_EQ(three.Count("Click"), 0);

  SendMessageA(f.Button3.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(three.Count("Click"), 1);
  f.Button3.SetEnabled(false);
  SendMessageA(f.Button3.hWnd(), BM_CLICK, 0, 0);
  f.Button3.PerformClick();
  EXPECT_EQ(three.Count("Click"), 1);
  f.Button2.SetEnabled(false);
  PostMessageA(f.Button1.hWnd(), WM_SYSCHAR, 'e', 0);
  rt::DoEvents();
  EXPECT_EQ(two.Count("Click"), 1);
  f.Button2.SetCaption("&Quit");
  GetWindowTextA(f.Button2.hWnd(), text, sizeof text);
  EXPECT_STREQ(text, "&Quit");
}

TEST_F(Input, CheckBoxBehaviourInvertsValueOnEveryClick) {
  chameleonButton& b = f.Button1;
  b.SetCheckBoxBehaviour(true);
  std::vector<bool> seen;
  b.Click = [&] { seen.push_back(b.Value()); };
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_TRUE(b.Value());
  EXPECT_EQ(b.LastStage(), ButtonStage::Pressed);  // a checked button looks pressed
  Send(WM_KEYDOWN, VK_SPACE);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(b.Value());
  EXPECT_EQ(b.LastStage(), ButtonStage::Released);
  SendMessageA(b.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(b.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));  // Click sees the new value
  b.SetValue(false);  // repaints, raises nothing
  EXPECT_EQ(b.LastStage(), ButtonStage::Released);
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(Input, ItPaintsOnlyWhenTheStageOrTheCaptionChanges) {
  chameleonButton& b = f.Button1;
  CursorOver(b);
  SetFocus(b.hWnd());
  int n = b.PaintCount();
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(b.PaintCount(), ++n);
  for (int i = 0; i < 5; ++i) Send(WM_MOUSEMOVE, MK_LBUTTON, At(6 + i, 6));  // pressed already
  Send(WM_KEYDOWN, VK_SPACE);                                                // pressed already
  EXPECT_EQ(b.PaintCount(), n);
  Send(WM_LBUTTONUP);
  n = b.PaintCount();
  Send(WM_MOUSEMOVE, 0);  // starts the hover: one painting
  EXPECT_EQ(b.PaintCount(), ++n);
  for (int i = 0; i < 5; ++i) Send(WM_MOUSEMOVE, 0, At(6 + i, 6));
  EXPECT_EQ(b.PaintCount(), n);
  b.SetCaption(b.Caption());
  EXPECT_EQ(b.PaintCount(), n);
  b.SetCaption("&Open");
  EXPECT_EQ(b.PaintCount(), ++n);
  b.SetPictureOver(ButtonPicture{nullptr, LoadIcon(nullptr, IDI_APPLICATION)});  // not hovered: no painting
  CursorAway(f);
  Send(WM_MOUSELEAVE);
  n = b.PaintCount();
  b.SetPictureOver(ButtonPicture{});
  EXPECT_EQ(b.PaintCount(), n);
  // Switched off, it keeps its last image until Refresh.
  b.DisableRefresh();
  b.SetCaption("Nothing");
  EXPECT_EQ(b.PaintCount(), n);
  b.Refresh();
  EXPECT_EQ(b.PaintCount(), n + 1);
  // Hidden, it never paints; shown again, it paints at once.
  b.SetVisible(false);
  b.SetCaption("Hidden");
  EXPECT_EQ(b.PaintCount(), n + 1);
  b.SetVisible(true);
  EXPECT_EQ(b.PaintCount(), n + 2);
  // Nor does a button of height 0.
  b.Move(150, 150, 1500, 0);
  int zero = b.PaintCount();
  b.SetCaption("Flat");
  EXPECT_EQ(b.PaintCount(), zero);
}

TEST_F(Input, ArrowKeysMoveTheFocusWithinItsOwnWindow) {
  SetFocus(f.Button2.hWnd());
  SendMessageA(f.Button2.hWnd(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(GetFocus(), f.Button3.hWnd());
  SendMessageA(f.Button3.hWnd(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(GetFocus(), f.Button2.hWnd());
  SendMessageA(f.Button2.hWnd(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(GetFocus(), f.Button1.hWnd());
  EXPECT_TRUE(f.Button1.HasFocus());
  EXPECT_FALSE(f.Button2.HasFocus());
  // The focus mark is painted and taken away again.
  EXPECT_EQ(f.Button1.LastStage(), ButtonStage::Released);
}

TEST_F(Input, AClickThatUnloadsItsWindowOrRunsALongJobIsSurvived) {
  int ticks = 0;
  f.Button1.Click = [&] {
    // A long job yields to the message loop: the button's own paint messages come in between.
    InvalidateRect(f.Button1.hWnd(), nullptr, FALSE);
    for (int i = 0; i < 5; ++i) {
      rt::DoEvents();
      ++ticks;
    }
    f.Unload();
  };
  CursorOver(f.Button1);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(ticks, 5);
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_FALSE(f.Button1.HasNative());
  // Loaded again, it works as before.
  f.Button1.Click = [&] { ++ticks; };
  f.Show();
  SendMessageA(f.Button1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(ticks, 6);
}

TEST_F(Input, ShapedLooksHaveTheirWindowRegions) {
  struct Case {
    ButtonTypeKind type;
    bool corner;  // (0, 0) belongs to the window
  } cases[] = {{ButtonTypeKind::Framed, false},     {ButtonTypeKind::Gradient, false},
               {ButtonTypeKind::ThemedGradient, false}, {ButtonTypeKind::RoundedLight, false},
               {ButtonTypeKind::Oval, false},       {ButtonTypeKind::SoftOutline, true},
               {ButtonTypeKind::FlatHover, true}};
  for (const auto& c : cases) {
    f.Button1.SetButtonType(c.type);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    bool inside = GetWindowRgn(f.Button1.hWnd(), r) == ERROR || PtInRegion(r, 0, 0);
    EXPECT_EQ(inside, c.corner) << static_cast<int>(c.type);
    if (c.type == ButtonTypeKind::SoftOutline) {
      EXPECT_FALSE(PtInRegion(r, 99, 0));
    }
    if (c.type == ButtonTypeKind::Oval) {
      EXPECT_TRUE(PtInRegion(r, 50, 15));
    }
    DeleteObject(r);
  }
}

TEST_F(Input, LooksThatNeverShowACaptionOrAFocusMark) {
  chameleonButton& b = f.Button1;
  b.SetColorScheme(ColorSchemeKind::FixedGrey);
  b.SetCaption("WWWWWWWW");
  b.SetButtonType(ButtonTypeKind::FaceOnly);
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 30; ++y) ASSERT_EQ(b.ImagePixel(x, y), RGB(192, 192, 192)) << x << "," << y;
  // A disabled FlatHover button: no frame.
  b.SetButtonType(ButtonTypeKind::FlatHover);
  b.SetEnabled(false);
  EXPECT_EQ(b.ImagePixel(0, 0), RGB(192, 192, 192));
  EXPECT_EQ(b.ImagePixel(99, 29), RGB(192, 192, 192));
  b.SetEnabled(true);
  CursorOver(b);
  Send(WM_MOUSEMOVE, 0);
  EXPECT_EQ(b.ImagePixel(0, 0), RGB(255, 255, 255));  // hovered: the flat frame
  EXPECT_EQ(b.ImagePixel(99, 29), RGB(128, 128, 128));
  // ThemedGradient, RoundedLight and Oval have no focus mark: focused or not, the same image.
  for (auto type : {ButtonTypeKind::ThemedGradient, ButtonTypeKind::RoundedLight, ButtonTypeKind::Oval}) {
    b.SetButtonType(type);
    SetFocus(f.Button2.hWnd());
    std::vector<COLORREF> before;
    for (int x = 0; x < 100; ++x) before.push_back(b.ImagePixel(x, 4));
    SetFocus(b.hWnd());
    for (int x = 0; x < 100; ++x) EXPECT_EQ(b.ImagePixel(x, 4), before[x]) << static_cast<int>(type) << " " << x;
  }
}

// --- pictures on a button ------------------------------------------------------------------------------

// A 24-bit picture whose rows need padding (15 pixels: 45 bytes a row), with a pattern in it and
// white (the mask colour) in its corner.
HBITMAP PatternPicture() {
  return controls::DrawPicture(15, 15, [](int x, int y) {
    return (x == 0 && y == 0) ? RGB(255, 255, 255) : RGB(x * 16, y * 16, 100);
  });
}

TEST_F(Input, PicturesAreDrawnUndistortedWithTheirMaskColourLeftOut) {
  chameleonButton& b = f.Button1;
  HBITMAP pic = PatternPicture();
  b.SetColorScheme(ColorSchemeKind::FixedGrey);
  b.SetButtonType(ButtonTypeKind::Flat);
  b.SetMaskColor(RGB(255, 255, 255));
  b.SetCaption("");
  b.SetPictureOver(ButtonPicture{pic, nullptr});
  EXPECT_EQ(b.ImagePixel(50, 15), RGB(192, 192, 192));  // a PictureOver alone is never painted
  b.SetPictureNormal(ButtonPicture{pic, nullptr});
  POINT at = b.PicturePlace();
  EXPECT_EQ(at.x, (100 - 15) / 2);  // no caption: centred
  EXPECT_EQ(at.y, (30 - 15) / 2);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) {
      COLORREF want = (x == 0 && y == 0) ? RGB(192, 192, 192) : RGB(x * 16, y * 16, 100);
      ASSERT_EQ(b.ImagePixel(at.x + x, at.y + y), want) << x << "," << y;
    }
  b.SetUseMaskColor(false);
  EXPECT_EQ(b.ImagePixel(at.x, at.y), RGB(255, 255, 255));
  b.SetUseGreyscale(true);
  EXPECT_EQ(b.ImagePixel(at.x + 3, at.y + 2), RGB(ch::GreyOf(48, 32, 100), ch::GreyOf(48, 32, 100), ch::GreyOf(48, 32, 100)));
  // Disabled: an engraved silhouette of the dark pixels (light copy one pixel below right).
  b.SetUseGreyscale(false);
  b.SetEnabled(false);
  EXPECT_EQ(b.ImagePixel(at.x + 1, at.y + 1), RGB(128, 128, 128));
  EXPECT_EQ(b.ImagePixel(at.x + 15, at.y + 1), RGB(255, 255, 255));  // only dark pixels: R + G + B <= 384
  EXPECT_EQ(b.ImagePixel(at.x + 15, at.y + 15), RGB(192, 192, 192));
  b.SetPictureNormal(ButtonPicture{});
  b.SetPictureOver(ButtonPicture{});
  DeleteObject(pic);
}

// --- saved properties -----------------------------------------------------------------------------------

TEST_F(Input, SavedPropertiesKeepTheirKeysOrderAndDefaults) {
  chameleonButton& b = f.Button1;
  EXPECT_STREQ(chameleonButton::Version(), "2.0.6");
  b.Apply(controls::MainWindowButtonSettings());
  controls::PropertyBag bag;
  b.WriteProperties(bag);
  std::vector<std::string> keys;
  for (const auto& item : bag.Items()) keys.push_back(item.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                                            "FCOL", "FCOLO", "MCOL", "MPTR", "MICON", "PICN", "PICH", "UMCOL", "SOFT",
                                            "PICPOS", "NGREY", "FX", "HAND", "CHECK", "VALUE"}));
  // Read back by a second button, keys in lower case as the saved designs hold them.
  controls::PropertyBag lower;
  for (const auto& [key, value] : bag.Items()) lower.Write(rt::LCase(key), value);
  lower.Remove("bcolo");
  lower.Write("bcol", static_cast<int32_t>(RGB(10, 20, 30)));
  f.Button2.ReadProperties(lower);
  EXPECT_EQ(f.Button2.ButtonType(), ButtonTypeKind::FlatHover);
  EXPECT_EQ(f.Button2.Caption(), "&Save");
  EXPECT_EQ(f.Button2.AccessKey(), 's');
  EXPECT_EQ(f.Button2.ForeOver(), RGB(0, 0, 192));
  EXPECT_EQ(f.Button2.FontName(), "Arial");
  EXPECT_EQ(f.Button2.FontSize(), 8);
  EXPECT_EQ(f.Button2.BackOver(), RGB(10, 20, 30));  // missing: the BackColor read just before
  EXPECT_EQ(f.Button2.PicturePosition(), PicturePositionKind::PictureTop);
  // An empty bag gives the defaults of a saved button.
  f.Button3.ReadProperties(controls::PropertyBag{});
  EXPECT_EQ(f.Button3.ButtonType(), ButtonTypeKind::Standard);
  EXPECT_EQ(f.Button3.Caption(), "");
  EXPECT_EQ(f.Button3.MaskColor(), RGB(192, 192, 192));
  EXPECT_TRUE(f.Button3.UseMaskColor());
  // The hand pointer is written through its property last: off gives the arrow pointer.
  EXPECT_FALSE(f.Button3.HandPointer());
  EXPECT_EQ(f.Button3.MousePointer(), 1);
  std::vector<std::string> reports;
  f.Button3.PropertyChanged = [&](const std::string& key) { reports.push_back(key); };
  f.Button3.SetEnabled(false);
  EXPECT_EQ(reports, std::vector<std::string>{"ENAB"});
}

// --- accessibility --------------------------------------------------------------------------------------

std::wstring Text(BSTR b) {
  std::wstring s = b ? std::wstring(b) : L"";
  SysFreeString(b);
  return s;
}

TEST_F(Input, AccessibilityToolsSeeAPushButtonNamedByItsCaption) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(f.Button2.hWnd(), OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void**>(&standard)))) {
    CoUninitialize();
    GTEST_SKIP() << "this platform makes no standard accessible objects (Wine's 64-bit oleacc)";
  }
  standard->Release();
  {
    Log two;
    two.Hook(f.Button2);
    IAccessible* acc = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(f.Button2.hWnd(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT v;
    VariantInit(&v);
    ASSERT_EQ(acc->get_accRole(self, &v), S_OK);
    EXPECT_EQ(v.lVal, ROLE_SYSTEM_PUSHBUTTON);
    BSTR b = nullptr;
    ASSERT_EQ(acc->get_accName(self, &b), S_OK);
    EXPECT_EQ(Text(b), L"Save & Exit");
    ASSERT_EQ(acc->get_accDefaultAction(self, &b), S_OK);
    EXPECT_EQ(Text(b), L"Press");
    ASSERT_EQ(acc->get_accKeyboardShortcut(self, &b), S_OK);
    EXPECT_EQ(Text(b), L"Alt+e");
    ASSERT_EQ(acc->accDoDefaultAction(self), S_OK);
    rt::DoEvents();
    EXPECT_EQ(two.Count("Click"), 1);
    acc->Release();
    f.Button2.SetEnabled(false);
    ASSERT_EQ(AccessibleObjectFromWindow(f.Button2.hWnd(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    ASSERT_EQ(acc->get_accState(self, &v), S_OK);
    EXPECT_TRUE(v.lVal & STATE_SYSTEM_UNAVAILABLE);
    acc->Release();
  }
  CoUninitialize();
  EXPECT_EQ(controls::CaptionText("A && B"), "A & B");
  EXPECT_EQ(controls::CaptionText("&Save&"), "Save");
}

}  // namespace

