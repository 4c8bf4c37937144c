#include "controls/xpprogressbar.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "controls/picture.h"
#include "forms/form.h"
#include "runtime/seams.h"
#include "runtime/windowclass.h"

namespace controls {

namespace {

const char kBarClass[] = "VelkXpProgressBar";

LRESULT CALLBACK BarClassProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// --- the pictures: the frame, the eight skins of three tiles each, and the blank tile ----------------

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  auto ch = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

const COLORREF kInterior = RGB(255, 255, 255);

// 59 x 13: a rounded dark outline, two lighter rings inside it, and the white interior. The bar
// stretches (4, 4)-(55, 11) over its inside, so that whole rectangle is interior.
HBITMAP FrameImage() {
  static HBITMAP frame = DrawPicture(59, 13, [](int x, int y) {
    if (x >= 4 && x <= 54 && y >= 3 && y <= 10) return kInterior;
    int ring = std::min({x, y, 58 - x, 12 - y});
    bool corner = (x == 0 || x == 58) && (y == 0 || y == 12);
    if (corner) return GetSysColor(COLOR_BTNFACE);
    if (ring == 0) return RGB(104, 112, 128);
    if (ring == 1) return RGB(190, 197, 208);
    if (ring == 2) return RGB(232, 236, 242);
    return kInterior;
  });
  return frame;
}

HBITMAP BlankTile() {
  static HBITMAP blank = DrawPicture(8, 10, [](int, int) { return kInterior; });
  return blank;
}

struct Skin {
  COLORREF light, mid, dark;
  bool metallic;
};
// master, blue, bluemet, goldmet, grmet, greymet, orangemet, redmet
const Skin kSkins[8] = {
    {RGB(178, 238, 168), RGB(40, 182, 40), RGB(40, 182, 40), false},
    {RGB(170, 205, 250), RGB(40, 100, 220), RGB(40, 100, 220), false},
    {RGB(205, 222, 250), RGB(70, 110, 190), RGB(30, 60, 140), true},
    {RGB(255, 242, 178), RGB(214, 164, 36), RGB(150, 100, 12), true},
    {RGB(205, 242, 195), RGB(62, 152, 62), RGB(28, 98, 30), true},
    {RGB(240, 240, 242), RGB(150, 152, 158), RGB(96, 98, 104), true},
    {RGB(255, 222, 176), RGB(240, 132, 34), RGB(178, 80, 12), true},
    {RGB(255, 196, 196), RGB(210, 44, 44), RGB(138, 20, 20), true},
};

// Tile 2 is a whole block; tiles 1 and 0 are the paler pieces of the moving segment's tail.
HBITMAP SkinTile(int skin, int tile) {
  static HBITMAP tiles[8][3] = {};
  HBITMAP& t = tiles[skin][tile];
  if (t) return t;
  const Skin s = kSkins[skin];
  const double pale = tile == 2 ? 0.0 : tile == 1 ? 0.35 : 0.65;
  t = DrawPicture(8, 10, [s, pale](int x, int y) {
    double v = (y + 0.5) / 10.0;
    COLORREF c;
    if (s.metallic) {
      c = v < 0.35 ? Mix(s.light, s.mid, v / 0.35) : Mix(s.mid, s.dark, (v - 0.35) / 0.65);
    } else {
      c = Mix(s.light, s.mid, std::min(1.0, 1.6 * (1.0 - std::fabs(2 * v - 1))));
    }
    if (x == 0) c = Mix(c, RGB(255, 255, 255), 0.25);
    return Mix(c, kInterior, pale);
  });
  return t;
}

}  // namespace

Xp_ProgressBar::Xp_ProgressBar(forms::Form& owner, std::string name) : Control(owner, std::move(name)) {
  rt::RegisterWindowClass(kBarClass, BarClassProc, 0, nullptr);
  for (int i = 0; i < 3; ++i) pc_[i] = SkinTile(0, i);
}

Xp_ProgressBar::~Xp_ProgressBar() {
  if (imageDc_) {
    SelectObject(imageDc_, imageOld_);
    DeleteDC(imageDc_);
  }
  if (image_) DeleteObject(image_);
}

forms::Control::NativeLook Xp_ProgressBar::Look() const { return {kBarClass, 0, 0, ""}; }

void Xp_ProgressBar::AfterCreate() { Repaint(); }

COLORREF Xp_ProgressBar::ImagePixel(int x, int y) const { return imageDc_ ? GetPixel(imageDc_, x, y) : CLR_INVALID; }

COLORREF Xp_ProgressBar::BlockColor() const {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, pc_[2]);
  COLORREF c = GetPixel(dc, 4, 5);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

// --- properties ------------------------------------------------------------------------------------

void Xp_ProgressBar::Notice(const char* text) {
  HWND owner = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : owner_.hWnd();
  rt::MsgBox(owner, text, "Error", MB_OK | MB_ICONERROR);
}

void Xp_ProgressBar::Changed(const char* key) {
  if (PropertyChanged) PropertyChanged(key);
}

void Xp_ProgressBar::SetValue(int32_t v) {
  if (v > max_) return Notice("Value can NOT be higher than Maximum !");
  if (v < min_) return Notice("Value can NOT be smaller than minimum !");
  value_ = v;
  Changed("Value");
  if (style_ == 0)
    BlockStep();
  else if (value_ == max_)
    Repaint();
  else
    MovingStep();
}

void Xp_ProgressBar::SetMin(int32_t m) {
  if (m > max_) return Notice("Minimum can NOT be biger than maximum !");
  if (m < 0) return Notice("Minimum can NOT be smaller then 0 !");
  min_ = m;
  Changed("Min");
}

void Xp_ProgressBar::SetMax(int32_t m) {
  if (m < min_) return Notice("Maximum can NOT be smaller than minimum !");
  max_ = m;
  Changed("Max");
}

void Xp_ProgressBar::SetStyle(int32_t s) {
  style_ = s;
  Changed("Style");
}

void Xp_ProgressBar::SetProgressLook(int32_t look) {
  look_ = look;
  Changed("ProgressLook");
  if (look < 0 || look > 7) return;  // another number keeps the current tiles
  for (int i = 0; i < 3; ++i) pc_[i] = SkinTile(look, i);
}

void Xp_ProgressBar::WriteProperties(PropertyBag& bag) const {
  bag.Write("Min", min_);
  bag.Write("Max", max_);
  bag.Write("Value", value_);
  bag.Write("Style", style_);
  bag.Write("ProgressLook", look_);
}

void Xp_ProgressBar::ReadProperties(const PropertyBag& bag) {
  min_ = bag.Get<int32_t>("Min", 0);
  max_ = bag.Get<int32_t>("Max", 100);
  value_ = bag.Get<int32_t>("Value", 0);
  style_ = bag.Get<int32_t>("Style", 0);
  SetProgressLook(bag.Get<int32_t>("ProgressLook", 0));
}

// --- drawing ---------------------------------------------------------------------------------------

void Xp_ProgressBar::PaintFrom(HBITMAP source, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
  if (!imageDc_ || !source || dw <= 0 || dh <= 0) return;
  HDC src = CreateCompatibleDC(imageDc_);
  HGDIOBJ old = SelectObject(src, source);
  SetStretchBltMode(imageDc_, COLORONCOLOR);
  StretchBlt(imageDc_, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

void Xp_ProgressBar::Paint(HBITMAP source, int x, int y, int w, int h) {
  BITMAP bm{};
  if (!source || !GetObjectA(source, sizeof bm, &bm)) return;
  PaintFrom(source, x, y, w, h, 0, 0, bm.bmWidth, std::abs(bm.bmHeight));
}

void Xp_ProgressBar::Show() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Xp_ProgressBar::Repaint() {
  ++repaints_;
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  const int W = r.right, H = r.bottom;
  // 1. A clear surface of the control's size.
  if (hwnd_ && W > 0 && H > 0) {
    HDC screen = GetDC(nullptr);
    if (!imageDc_) imageDc_ = CreateCompatibleDC(screen);
    HBITMAP fresh = CreateCompatibleBitmap(screen, W, H);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(imageDc_, fresh);
    if (image_)
      DeleteObject(image_);
    else
      imageOld_ = static_cast<HBITMAP>(old);
    image_ = fresh;
    RECT all{0, 0, W, H};
    FillRect(imageDc_, &all, GetSysColorBrush(COLOR_BTNFACE));
    // 2. The frame in nine pieces.
    HBITMAP img = FrameImage();
    PaintFrom(img, 0, 0, 3, 3, 0, 0, 3, 3);
    PaintFrom(img, W - 3, 0, 3, 3, 56, 0, 3, 3);
    PaintFrom(img, W - 3, H - 3, 3, 3, 56, 10, 3, 3);
    PaintFrom(img, 0, H - 3, 3, 3, 0, 10, 3, 3);
    PaintFrom(img, 3, 0, W - 6, 3, 3, 0, 12, 3);
    PaintFrom(img, W - 3, 3, 3, H - 6, 56, 3, 3, 3);
    PaintFrom(img, 3, H - 3, W - 6, 3, 3, 10, 1, 3);
    PaintFrom(img, 0, 3, 3, H - 6, 0, 3, 3, 3);
    PaintFrom(img, 3, 3, W - 6, H - 6, 4, 4, 51, 7);
    Show();
  }
  // 3. and 4. The drawing state starts again.
  segmentPos_ = 4;
  blockPos_ = 4;
  auto steps = [](int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); };
  if (restart_) {
    threshold_ = restartValue_;
    stepCounter_ = steps(restartValue_);
    restart_ = false;
  } else {
    int32_t v = min_ != 0 ? value_ - min_ : value_;
    threshold_ = v;
    stepCounter_ = steps(v);
    lastValue_ = v;
  }
  width_ = W;
  innerHeight_ = H - 6;
  BITMAP bm{};
  if (pc_[0] && GetObjectA(pc_[0], sizeof bm, &bm)) {
    tileW_ = bm.bmWidth;
    tileH_ = std::abs(bm.bmHeight);
  }
  full_ = false;
}

void Xp_ProgressBar::LastBlock() {
  int w = width_ - 3 - blockPos_;
  if (w > 0) Paint(pc_[2], blockPos_, 3, w, innerHeight_);
  full_ = true;
}

void Xp_ProgressBar::BlockStep() {
  if (blockPos_ == 4) Repaint();
  if (value_ < lastValue_) {
    restartValue_ = value_;
    restart_ = true;
    Repaint();
  } else {
    lastValue_ = value_;
  }
  if (value_ <= min_) Repaint();
  double pixelStep = width_ * 0.01;
  // The range as the bar counts it: at least one step, at most 32,767.
  int64_t range = std::clamp<int64_t>(static_cast<int64_t>(max_) - min_, 1, INT16_MAX);
  double increment = range * 0.01;
  if (max_ != 100 && value_ > 0) increment = 0;
  if (value_ < min_ + threshold_) return;
  threshold_ += increment;
  pixelStep = pixelStep * (100.0 / static_cast<double>(range));
  while (blockPos_ < pixelStep * stepCounter_) {
    if (blockPos_ + 10 >= width_) LastBlock();
    if (full_) break;
    Paint(pc_[2], blockPos_, 3, tileW_, innerHeight_);
    blockPos_ += 10;
  }
  if (stepCounter_ < INT16_MAX) ++stepCounter_;
  Show();
}

void Xp_ProgressBar::MovingStep() {
  const int x = segmentPos_, W = width_, half = tileW_ / 2, h = innerHeight_;
  if (x != 2 && x != 4) Paint(BlankTile(), x - 5, 3, half, h);
  if (x + 20 < W) Paint(pc_[2], x + 10, 3, half, h);
  if (x + 10 < W) Paint(pc_[1], x + 5, 3, half, h);
  if (x + 5 < W) Paint(pc_[0], x, 3, half, h);
  if (x + 5 >= W) {
    int16_t rest = static_cast<int16_t>(std::clamp(W - 3 - x, INT16_MIN + 0, INT16_MAX + 0));
    if (rest > 0) Paint(BlankTile(), x, 3, rest, h);
    segmentPos_ = 2;
  } else {
    segmentPos_ = x + 5;
  }
  Show();
}

LRESULT Xp_ProgressBar::SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      if (imageDc_) BitBlt(dc, 0, 0, r.right, r.bottom, imageDc_, 0, 0, SRCCOPY);
      EndPaint(h, &ps);
      handled = true;
      return 0;
    }
    case WM_ERASEBKGND:
      handled = true;
      return 1;
    case WM_SIZE:
      Repaint();
      handled = true;
      return 0;
    default:
      return 0;
  }
}

}  // namespace controls
