// chameleonButton: the palette, the caption layout, the window shapes and the painting of every
// look into the off-screen image.
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/chameleonbutton.h"
#include "runtime/text.h"

namespace controls {

namespace chameleon {

COLORREF ResolveColor(ButtonColor c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFFFFu));
  return c & 0xFFFFFFu;
}

COLORREF AdjustColor(COLORREF c, int amount, bool blueScaled, bool softBevel) {
  if (softBevel) amount /= 2;
  int r = static_cast<int>(c & 0xFF), g = static_cast<int>((c >> 8) & 0xFF), b = static_cast<int>((c >> 16) & 0xFF);
  r += amount;
  g += amount;
  b += blueScaled ? (b * amount) / 192 : amount;
  auto clamp = [](int v) { return std::clamp(v, 0, 255); };
  return RGB(clamp(r), clamp(g), clamp(b));
}

COLORREF TintTowardWhite(COLORREF c, int amount) {
  auto ch = [amount](int x) { return std::min(255, amount + ((255 - amount) * x) / 255); };
  return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

Palette BuildPalette(const PaletteSource& s) {
  Palette p{};
  auto adj = [&](COLORREF c, int amount) { return AdjustColor(c, amount, false, s.softBevel); };
  switch (s.scheme) {
    case ColorSchemeKind::CustomColors:
      p.face = ResolveColor(s.back);
      p.text = ResolveColor(s.fore);
      p.textOver = ResolveColor(s.foreOver);
      p.shadow = adj(p.face, -64);
      p.light = adj(p.face, 31);
      p.highlight = adj(p.face, 47);
      p.darkShadow = adj(p.face, -192);
      p.hoverFrame = adj(p.face, -128);
      p.hoverFace = p.face;
      break;
    case ColorSchemeKind::FixedGrey:
      p.face = RGB(192, 192, 192);
      p.text = p.textOver = RGB(0, 0, 0);
      p.shadow = RGB(128, 128, 128);
      p.light = RGB(223, 223, 223);
      p.highlight = RGB(255, 255, 255);
      p.darkShadow = RGB(0, 0, 0);
      p.hoverFrame = RGB(0, 0, 128);
      p.hoverFace = RGB(173, 173, 209);
      break;
    case ColorSchemeKind::ContainerColors:
      p.face = s.containerBack;
      p.text = p.textOver = s.containerText;
      p.shadow = adj(p.face, -64);
      p.light = adj(p.face, 31);
      p.highlight = adj(p.face, 47);
      p.darkShadow = adj(p.face, -192);
      p.hoverFrame = GetSysColor(COLOR_HIGHLIGHT);
      p.hoverFace = TintTowardWhite(p.hoverFrame, 176);
      break;
    default:
      p.face = GetSysColor(COLOR_BTNFACE);
      p.text = p.textOver = GetSysColor(COLOR_BTNTEXT);
      p.shadow = GetSysColor(COLOR_BTNSHADOW);
      p.light = GetSysColor(COLOR_3DLIGHT);
      p.highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
      p.darkShadow = GetSysColor(COLOR_3DDKSHADOW);
      p.hoverFrame = GetSysColor(COLOR_HIGHLIGHT);
      p.hoverFace = TintTowardWhite(p.hoverFrame, 176);
      break;
  }
  p.mask = ResolveColor(s.mask);
  p.themeFace = AdjustColor(p.face, 48, s.themed, s.softBevel);
  return p;
}

char DeriveAccessKey(const std::string& caption) {
  auto lower = [](char c) { return static_cast<char>(rt::LCase(std::string(1, c))[0]); };
  if (caption.size() <= 1) return 0;
  size_t p = caption.find('&');
  if (p == std::string::npos || p + 1 >= caption.size()) return 0;
  if (caption[p + 1] != '&') return lower(caption[p + 1]);
  size_t q = caption.find('&', p + 2);
  if (q == std::string::npos || q + 1 >= caption.size() || caption[q + 1] == '&') return 0;
  return lower(caption[q + 1]);
}

int GreyOf(int r, int g, int b) {
  return static_cast<int>(std::nearbyint(0.59 * g + std::nearbyint(0.3 * r) + 0.11 * b));
}

void BlendPicture(uint8_t* background, const uint8_t* picture, int w, int h, const PixelRule& rule) {
  const int stride = RowBytes(w);
  for (int y = 0; y < h; ++y) {
    uint8_t* bg = background + static_cast<size_t>(y) * stride;
    const uint8_t* px = picture + static_cast<size_t>(y) * stride;
    for (int x = 0; x < w; ++x, bg += 3, px += 3) {
      int b = px[0], g = px[1], r = px[2];
      if (rule.useMask && RGB(r, g, b) == rule.transparent) continue;
      if (rule.brush >= 0) {
        if (rule.darkOnly && r + g + b > 384) continue;
        bg[0] = GetBValue(rule.brush);
        bg[1] = GetGValue(rule.brush);
        bg[2] = GetRValue(rule.brush);
      } else if (rule.greyscale) {
        uint8_t grey = static_cast<uint8_t>(std::clamp(GreyOf(r, g, b), 0, 255));
        bg[0] = bg[1] = bg[2] = grey;
      } else if (rule.fade) {
        bg[0] = static_cast<uint8_t>((2 * b + bg[0]) / 3);
        bg[1] = static_cast<uint8_t>((2 * g + bg[1]) / 3);
        bg[2] = static_cast<uint8_t>((2 * r + bg[2]) / 3);
      } else {
        bg[0] = static_cast<uint8_t>(b);
        bg[1] = static_cast<uint8_t>(g);
        bg[2] = static_cast<uint8_t>(r);
      }
    }
  }
}

RECT CaptionStartRect(PicturePositionKind pos, int W, int H, int picW, int picH, const RECT& textRectDown) {
  switch (pos) {
    case PicturePositionKind::PictureLeft: return {picW + 1, 1, W - 2, H - 2};
    case PicturePositionKind::PictureRight: return {1, 1, W - 2 - picW, H - 2};
    case PicturePositionKind::PictureTop: return {1, picH + 1, W - 2, H - 2};
    case PicturePositionKind::PictureBottom: return {1, 1, W - 2, H - 2 - picH};
    case PicturePositionKind::PictureBehind: return {1, 1, W - 2, H - 2};
  }
  return textRectDown;
}

POINT CaptionOffset(PicturePositionKind pos, int W, int H, const RECT& m, int picW, int picH) {
  switch (pos) {
    case PicturePositionKind::PictureRight: return {(W - m.right - picW - 4) / 2, (H - m.bottom) / 2};
    case PicturePositionKind::PictureBottom: return {(W - m.right) / 2, (H - m.bottom - picH - 4) / 2};
    case PicturePositionKind::PictureLeft:
    case PicturePositionKind::PictureTop:
    case PicturePositionKind::PictureBehind: return {(W - m.right) / 2, (H - m.bottom) / 2};
  }
  return {0, 0};
}

POINT PlacePicture(const std::string& caption, PicturePositionKind pos, const RECT& t, int W, int H, int picW,
                   int picH, bool hasPicture, POINT current) {
  if (!hasPicture) return current;
  if (!rt::Trim(caption).empty() && pos != PicturePositionKind::PictureBehind) {
    switch (pos) {
      case PicturePositionKind::PictureLeft: return {t.left - picW - 4, (H - picH) / 2};
      case PicturePositionKind::PictureRight: return {t.right + 4, (H - picH) / 2};
      case PicturePositionKind::PictureTop: return {(W - picW) / 2, t.top - picH - 2};
      case PicturePositionKind::PictureBottom: return {(W - picW) / 2, t.bottom + 2};
      default: return current;
    }
  }
  return {(W - picW) / 2, (H - picH) / 2};
}

}  // namespace chameleon

using chameleon::AdjustColor;
using chameleon::TintTowardWhite;
using BT = ButtonTypeKind;

namespace {

// The drawing primitives on the image's device context; each pen and brush lives for one call.
void Fill(HDC dc, int x, int y, int w, int h, COLORREF c) {
  RECT r{x, y, x + w, y + h};
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void Frame(HDC dc, int x, int y, int w, int h, COLORREF c) {
  RECT r{x, y, x + w, y + h};
  HBRUSH b = CreateSolidBrush(c);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
  HPEN p = CreatePen(PS_SOLID, 1, c);
  HGDIOBJ old = SelectObject(dc, p);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(p);
}

void Pixel(HDC dc, int x, int y, COLORREF c) { SetPixel(dc, x, y, c); }

void Ellipse(HDC dc, int x, int y, int w, int h, COLORREF border, COLORREF fill) {
  HPEN p = CreatePen(PS_SOLID, 2, border);
  HBRUSH b = CreateSolidBrush(fill);
  HGDIOBJ op = SelectObject(dc, p), ob = SelectObject(dc, b);
  ::Ellipse(dc, x, y, x + w, y + h);
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(p);
  DeleteObject(b);
}

// Two rings of one-pixel lines: e = 0 the outermost ring, e = -1 one pixel in.
void Bevel(HDC dc, int W, int H, COLORREF hi, COLORREF dark, COLORREF light, COLORREF shadow, int e, bool flat) {
  int t = std::abs(e), r = W - 1 + e, b = H - 1 + e;
  auto poly = [&](std::initializer_list<POINT> pts, COLORREF c) {
    HPEN p = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, p);
    auto it = pts.begin();
    MoveToEx(dc, it->x, it->y, nullptr);
    for (++it; it != pts.end(); ++it) LineTo(dc, it->x, it->y);
    SelectObject(dc, old);
    DeleteObject(p);
  };
  poly({{t, b}, {t, t}, {r, t}}, hi);
  poly({{r, t}, {r, b}, {t - 1, b}}, dark);
  if (flat) return;
  poly({{t + 1, b - 1}, {t + 1, t + 1}, {r - 1, t + 1}}, light);
  poly({{r - 1, t + 1}, {r - 1, b - 1}, {t, b - 1}}, shadow);
}

RECT Moved(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// round(-step * i) with step held as a single-precision number and the product taken in double
// precision, ties to even.
int GradientAmount(float step, int i) { return static_cast<int>(std::nearbyint(-static_cast<double>(step) * i)); }

}  // namespace

// --- palette ---------------------------------------------------------------------------------------

void chameleonButton::BuildPalette() {
  chameleon::PaletteSource s;
  s.scheme = colorScheme_;
  s.back = backColor_;
  s.fore = foreColor_;
  s.foreOver = foreOver_;
  s.mask = maskColor_;
  s.softBevel = softBevel_;
  s.themed = buttonType_ == BT::ThemedGradient;
  if (colorScheme_ == ColorSchemeKind::ContainerColors) {
    // The parent's colours as it sets them for a button of its own (WM_CTLCOLORBTN).
    s.containerBack = GetSysColor(COLOR_BTNFACE);
    s.containerText = GetSysColor(COLOR_BTNTEXT);
    HWND parent = hwnd_ ? GetParent(hwnd_) : ParentNative();
    if (parent) {
      HDC dc = CreateCompatibleDC(nullptr);
      SetBkColor(dc, s.containerBack);
      SetTextColor(dc, s.containerText);
      SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_));
      s.containerBack = GetBkColor(dc);
      s.containerText = GetTextColor(dc);
      DeleteDC(dc);
    }
  }
  palette_ = chameleon::BuildPalette(s);
}

// --- image ------------------------------------------------------------------------------------------

void chameleonButton::ReleaseImages() {
  if (imageDc_) {
    SelectObject(imageDc_, imageOld_);
    DeleteDC(imageDc_);
    imageDc_ = nullptr;
  }
  if (image_) DeleteObject(image_);
  image_ = nullptr;
  if (snapshot_) DeleteObject(snapshot_);
  snapshot_ = nullptr;
}

COLORREF chameleonButton::ImagePixel(int x, int y) const {
  if (!imageDc_) return CLR_INVALID;
  return GetPixel(imageDc_, x, y);
}

void chameleonButton::ShowImage(bool now) {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (now) UpdateWindow(hwnd_);
}

// A focused button shows itself as the window's default button; the default button does so
// while no other push button has the focus.
bool chameleonButton::ShownAsDefault() const {
  if (hasFocus_) return true;
  if (!default_) return false;
  HWND focus = GetFocus();
  if (!focus || focus == hwnd_) return true;
  LRESULT code = SendMessageA(focus, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0;
}

// --- resize, layout and shape ---------------------------------------------------------------------------

void chameleonButton::Resized() {
  if (snapshotBusy_ || !hwnd_) return;
  RECT r;
  GetClientRect(hwnd_, &r);
  clientW_ = r.right;
  clientH_ = r.bottom;
  // A new image of the new size (the old one holds nothing worth keeping).
  HDC screen = GetDC(nullptr);
  if (!imageDc_) {
    imageDc_ = CreateCompatibleDC(screen);
    SetBkMode(imageDc_, TRANSPARENT);
  }
  HBITMAP fresh = CreateCompatibleBitmap(screen, std::max(1, clientW_), std::max(1, clientH_));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(imageDc_, fresh);
  if (image_) {
    DeleteObject(image_);
  } else {
    imageOld_ = static_cast<HBITMAP>(old);
  }
  image_ = fresh;
  SelectObject(imageDc_, forms::FontHandle(GetFont()));

  focusRect_ = r;
  int t = static_cast<int>(buttonType_);
  if (t >= 7 && t <= 13) {
    InflateRect(&focusRect_, -3, -3);
  } else if (buttonType_ == BT::Gradient) {
    InflateRect(&focusRect_, -5, -5);
    OffsetRect(&focusRect_, 1, 1);
  } else {
    InflateRect(&focusRect_, -4, -4);
  }
  LayoutCaption();
  BuildWindowShape();
  if (clientH_ != 0) PaintButton(ButtonStage::Released, true);
}

void chameleonButton::MeasurePicture() {
  picW_ = picH_ = 0;
  if (pictureNormal_.bitmap) {
    BITMAP bm{};
    if (GetObjectA(pictureNormal_.bitmap, sizeof bm, &bm)) {
      picW_ = bm.bmWidth;
      picH_ = std::abs(bm.bmHeight);
    }
  } else if (pictureNormal_.icon) {
    ICONINFO ii{};
    if (GetIconInfo(pictureNormal_.icon, &ii)) {
      BITMAP bm{};
      if (ii.hbmColor && GetObjectA(ii.hbmColor, sizeof bm, &bm)) {
        picW_ = bm.bmWidth;
        picH_ = bm.bmHeight;
      } else if (ii.hbmMask && GetObjectA(ii.hbmMask, sizeof bm, &bm)) {
        picW_ = bm.bmWidth;
        picH_ = bm.bmHeight / 2;  // a monochrome icon: mask and image one above the other
      }
      if (ii.hbmColor) DeleteObject(ii.hbmColor);
      if (ii.hbmMask) DeleteObject(ii.hbmMask);
    }
  }
}

void chameleonButton::LayoutCaption() {
  if (!imageDc_) return;
  int W = clientW_, H = clientH_;
  RECT r = chameleon::CaptionStartRect(picturePosition_, W, H, picW_, picH_, textRectDown_);
  SelectObject(imageDc_, forms::FontHandle(GetFont()));
  DrawTextA(imageDc_, caption_.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
  textRect_ = r;
  captionW_ = r.right - r.left;
  captionH_ = r.bottom - r.top;
  POINT d = chameleon::CaptionOffset(picturePosition_, W, H, textRect_, picW_, picH_);
  OffsetRect(&textRect_, d.x, d.y);
  textRectDown_ = Moved(textRect_, 1, 1);
  POINT p = chameleon::PlacePicture(caption_, picturePosition_, textRect_, W, H, picW_, picH_,
                                    !pictureNormal_.Empty() || !pictureOver_.Empty(), POINT{picX_, picY_});
  picX_ = p.x;
  picY_ = p.y;
}

void chameleonButton::BuildWindowShape() {
  if (!hwnd_) return;
  int W = clientW_, H = clientH_;
  HRGN rgn = nullptr;
  auto cut = [&](std::initializer_list<POINT> pts) {
    for (POINT p : pts) {
      HRGN px = CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1);
      CombineRgn(rgn, rgn, px, RGN_DIFF);
      DeleteObject(px);
    }
  };
  switch (buttonType_) {
    case BT::Framed:
    case BT::Gradient:
      rgn = CreateRectRgn(0, 0, W, H);
      cut({{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}});
      break;
    case BT::SoftOutline:
      rgn = CreateRectRgn(0, 0, W, H);
      cut({{W - 1, 0}, {0, H - 1}});
      break;
    case BT::ThemedGradient:
    case BT::RoundedLight:
      rgn = CreateRectRgn(0, 0, W, H);
      cut({{0, 0}, {1, 0}, {0, 1}, {W - 2, 0}, {W - 1, 0}, {W - 1, 1}, {0, H - 2}, {0, H - 1}, {1, H - 1},
           {W - 1, H - 2}, {W - 2, H - 1}, {W - 1, H - 1}});
      break;
    case BT::Oval:
      rgn = CreateEllipticRgn(0, 0, W, H);
      break;
    default:
      break;  // the full rectangle: no region at all
  }
  // The window takes the region over and drops its previous one.
  SetWindowRgn(hwnd_, rgn, TRUE);
}

// --- painting ------------------------------------------------------------------------------------------

void chameleonButton::PaintButton(ButtonStage stage, bool force) {
  if (checkBoxBehaviour_ && value_) stage = ButtonStage::Pressed;
  if (!(force || !painted_ || caption_ != lastCaption_ || stage != lastStage_)) return;
  if (clientH_ == 0 || !paintingOn_ || !imageDc_) return;
  lastStage_ = stage;
  lastCaption_ = caption_;
  painted_ = true;
  ++paintCount_;
  int W = clientW_, H = clientH_;

  bool swapped = false;
  ButtonColor remembered = backColor_;
  if (hovered_ && colorScheme_ == ColorSchemeKind::CustomColors) {
    backColor_ = backOver_;
    BuildPalette();
    swapped = true;
  }
  Fill(imageDc_, 0, 0, W, H, palette_.face);
  const ButtonStage look = Enabled() ? stage : ButtonStage::Disabled;
  PaintType(look);
  PaintPictures(look);
  if (swapped) {
    backColor_ = remembered;
    BuildPalette();
  }
  ShowImage(false);
}

// Draws the caption's text (with its access key underlined) in one colour.
void chameleonButton::DrawCaptionAt(const RECT& r, COLORREF c) {
  RECT rc = r;
  SetTextColor(imageDc_, c);
  DrawTextA(imageDc_, caption_.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
}

void chameleonButton::PaintCaptionEffect(const RECT& rect) {
  if (static_cast<int>(specialEffect_) <= 0) return;
  COLORREF base = palette_.face;
  if (buttonType_ == BT::ThemedGradient || buttonType_ == BT::RoundedLight || buttonType_ == BT::Gradient)
    base = palette_.themeFace;
  else if (buttonType_ == BT::HighlightHover && hovered_ && lastStage_ == ButtonStage::Released &&
           colorScheme_ != ColorSchemeKind::CustomColors)
    base = palette_.hoverFace;
  int a = specialEffect_ == SpecialEffectKind::EffectSunken ? 40 : -40;
  DrawCaptionAt(Moved(rect, 1, 1), AdjustColor(base, a, false, softBevel_));
  if (specialEffect_ == SpecialEffectKind::EffectRaised || specialEffect_ == SpecialEffectKind::EffectSunken)
    DrawCaptionAt(Moved(rect, -1, -1), AdjustColor(base, -a, false, softBevel_));
}

void chameleonButton::PaintCaption(CaptionLook look) {
  lastCaptionLook_ = look;
  const auto& p = palette_;
  switch (look) {
    case CaptionLook::Normal:
      PaintCaptionEffect(textRect_);
      DrawCaptionAt(textRect_, p.text);
      break;
    case CaptionLook::Hovered:
      PaintCaptionEffect(textRect_);
      DrawCaptionAt(textRect_, p.textOver);
      break;
    case CaptionLook::Pressed:
      PaintCaptionEffect(textRectDown_);
      DrawCaptionAt(textRectDown_, buttonType_ == BT::RoundedLight ? p.light : p.textOver);
      break;
    case CaptionLook::Engraved:
      DrawCaptionAt(textRectDown_, p.highlight);
      DrawCaptionAt(textRect_, p.shadow);
      break;
    case CaptionLook::Greyed:
      DrawCaptionAt(textRect_, p.shadow);
      break;
    case CaptionLook::ThemedGreyed:
      DrawCaptionAt(textRect_, AdjustColor(p.themeFace, -104, true, softBevel_));
      break;
    case CaptionLook::EngravedOnFace:
      DrawCaptionAt(textRectDown_, p.highlight);
      DrawCaptionAt(textRect_, p.face);
      break;
    case CaptionLook::Embossed:
      DrawCaptionAt(textRectDown_, AdjustColor(p.shadow, -50, false, softBevel_));
      DrawCaptionAt(textRect_, p.highlight);
      break;
  }
}

void chameleonButton::PaintFocusMark() {
  if (!showFocusRect_ || !hasFocus_) return;
  SetTextColor(imageDc_, palette_.text);
  DrawFocusRect(imageDc_, &focusRect_);
}

// The looks, by type.
void chameleonButton::PaintType(ButtonStage look) {
  HDC dc = imageDc_;
  const int W = clientW_, H = clientH_;
  const CaptionLook resting = hovered_ ? CaptionLook::Hovered : CaptionLook::Normal;
  const auto& p = palette_;
  auto A = [&](COLORREF c, int v) { return AdjustColor(c, v, false, softBevel_); };
  auto AT = [&](COLORREF c, int v) { return AdjustColor(c, v, true, softBevel_); };
  const bool released = look == ButtonStage::Released, pressed = look == ButtonStage::Pressed,
             disabled = look == ButtonStage::Disabled;

  switch (buttonType_) {
    case BT::Framed:
      PaintCaption(released ? resting : pressed ? CaptionLook::Pressed : CaptionLook::Engraved);
      if (pressed)
        Bevel(dc, W, H, p.shadow, p.highlight, p.shadow, p.highlight, -1, false);
      else
        Bevel(dc, W, H, p.highlight, p.shadow, p.highlight, p.shadow, -1, false);
      Frame(dc, 0, 0, W, H, p.darkShadow);
      if (!disabled) PaintFocusMark();
      break;

    case BT::Standard:
      if (disabled) {
        PaintCaption(CaptionLook::Engraved);
        Bevel(dc, W, H, p.highlight, p.darkShadow, p.light, p.shadow, 0, false);
      } else if (released) {
        PaintCaption(resting);
        if (showFocusRect_ && ShownAsDefault()) {
          Bevel(dc, W, H, p.highlight, p.darkShadow, p.light, p.shadow, -1, false);
          PaintFocusMark();
          Frame(dc, 0, 0, W, H, p.darkShadow);
        } else {
          Bevel(dc, W, H, p.highlight, p.darkShadow, p.light, p.shadow, 0, false);
        }
      } else {
        PaintCaption(CaptionLook::Pressed);
        if (showFocusRect_ && ShownAsDefault()) {
          Frame(dc, 0, 0, W, H, p.darkShadow);
          Frame(dc, 1, 1, W - 2, H - 2, p.shadow);
          PaintFocusMark();
        } else {
          Bevel(dc, W, H, p.darkShadow, p.highlight, p.shadow, p.light, 0, false);
        }
      }
      break;

    case BT::ThemedGradient: {
      const float s = 25.0f / static_cast<float>(H);
      auto corners = [&](COLORREF c) {
        Pixel(dc, 1, 1, c);
        Pixel(dc, 1, H - 2, c);
        Pixel(dc, W - 2, 1, c);
        Pixel(dc, W - 2, H - 2, c);
      };
      auto edges = [&](COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF c5, COLORREF c6) {
        Frame(dc, 1, 2, W - 2, H - 4, c1);
        Line(dc, 2, H - 2, W - 2, H - 2, c2);
        Line(dc, 2, 1, W - 2, 1, c3);
        Line(dc, 1, 2, W - 1, 2, c4);
        Line(dc, 2, 3, 2, H - 3, c5);
        Line(dc, W - 3, 3, W - 3, H - 3, c6);
      };
      if (disabled) {
        Fill(dc, 0, 0, W, H, AT(p.themeFace, -24));
        PaintCaption(CaptionLook::ThemedGreyed);
        Frame(dc, 0, 0, W, H, AT(p.themeFace, -84));
        corners(AT(p.themeFace, -72));
      } else if (released) {
        for (int i = 1; i <= H; ++i) Line(dc, 0, i, W, i, AT(p.themeFace, GradientAmount(s, i)));
        PaintCaption(resting);
        Frame(dc, 0, 0, W, H, RGB(0, 60, 115));
        corners(RGB(16, 77, 123));
        if (hovered_) {
          edges(RGB(255, 178, 49), RGB(231, 150, 0), RGB(255, 243, 206), RGB(255, 219, 140), RGB(255, 203, 107),
                RGB(255, 203, 107));
        } else if (showFocusRect_ && (hasFocus_ || ShownAsDefault())) {
          edges(RGB(140, 174, 231), RGB(107, 130, 239), RGB(206, 231, 255), RGB(189, 215, 247), RGB(181, 209, 240),
                RGB(181, 209, 240));
        } else {
          Line(dc, 2, H - 2, W - 2, H - 2, AT(p.themeFace, -48));
          Line(dc, 1, H - 3, W - 2, H - 3, AT(p.themeFace, -32));
          Line(dc, W - 2, 2, W - 2, H - 2, AT(p.themeFace, -36));
          Line(dc, W - 3, 3, W - 3, H - 3, AT(p.themeFace, -24));
          Line(dc, 2, 1, W - 2, 1, AT(p.themeFace, 16));
          Line(dc, 1, 2, W - 2, 2, AT(p.themeFace, 10));
          Line(dc, 1, 2, 1, H - 2, AT(p.themeFace, -5));
          Line(dc, 2, 3, 2, H - 3, AT(p.themeFace, -10));
        }
      } else {
        COLORREF P = AT(p.themeFace, -32);
        for (int i = 1; i <= H; ++i) Line(dc, 0, H - i, W, H - i, AT(P, GradientAmount(s, i)));
        PaintCaption(CaptionLook::Pressed);
        Frame(dc, 0, 0, W, H, RGB(0, 60, 115));
        corners(RGB(16, 77, 123));
        Line(dc, 2, H - 2, W - 2, H - 2, AT(P, 16));
        Line(dc, 1, H - 3, W - 2, H - 3, AT(P, 10));
        Line(dc, W - 2, 2, W - 2, H - 2, AT(P, 5));
        Line(dc, W - 3, 3, W - 3, H - 3, p.themeFace);
        Line(dc, 2, 1, W - 2, 1, AT(P, -32));
        Line(dc, 1, 2, W - 2, 2, AT(P, -24));
        Line(dc, 1, 2, 1, H - 2, AT(P, -32));
        Line(dc, 2, 2, 2, H - 2, AT(P, -22));
      }
      break;
    }

    case BT::RoundedLight:
      if (!pressed) {
        Fill(dc, 1, 1, W - 2, H - 2, p.light);
        PaintCaption(disabled ? CaptionLook::Engraved : resting);
        Frame(dc, 0, 0, W, H, p.darkShadow);
        for (POINT c : {POINT{1, 1}, POINT{1, H - 2}, POINT{W - 2, 1}, POINT{W - 2, H - 2}})
          Pixel(dc, c.x, c.y, p.darkShadow);
        Line(dc, 1, 2, 2, 0, p.face);
        Line(dc, 3, 2, W - 3, 2, p.highlight);
        Line(dc, 2, 2, 2, H - 3, p.highlight);
        Pixel(dc, 3, 3, p.highlight);
        Line(dc, W - 3, 1, W - 3, H - 3, p.face);
        Line(dc, 1, H - 3, W - 3, H - 3, p.face);
        Pixel(dc, W - 4, H - 4, p.face);
        Line(dc, W - 2, 2, W - 2, H - 2, p.shadow);
        Line(dc, 2, H - 2, W - 2, H - 2, p.shadow);
        Pixel(dc, W - 3, H - 3, p.shadow);
      } else {
        COLORREF d16 = A(p.shadow, -16);
        Fill(dc, 1, 1, W - 2, H - 2, d16);
        palette_.themeFace = d16;
        PaintCaption(CaptionLook::Pressed);
        palette_.themeFace = A(p.face, 48);
        Frame(dc, 0, 0, W, H, p.darkShadow);
        Frame(dc, 1, 1, W - 2, H - 2, A(p.shadow, -64));
        Frame(dc, 2, 2, W - 4, H - 4, A(p.shadow, -32));
        Pixel(dc, 2, 2, A(p.shadow, -64));
        Pixel(dc, 3, 3, A(p.shadow, -32));
        for (POINT c : {POINT{1, 1}, POINT{1, H - 2}, POINT{W - 2, 1}, POINT{W - 2, H - 2}})
          Pixel(dc, c.x, c.y, p.darkShadow);
        Line(dc, W - 3, 1, W - 3, H - 3, p.shadow);
        Line(dc, 1, H - 3, W - 2, H - 3, p.shadow);
        Pixel(dc, W - 4, H - 4, p.shadow);
        Line(dc, W - 2, 3, W - 2, H - 2, d16);
        Line(dc, 3, H - 2, W - 2, H - 2, d16);
        Line(dc, W - 2, H - 3, W - 4, H - 1, A(p.shadow, -32));
        Pixel(dc, 2, H - 2, A(p.shadow, -32));
        Pixel(dc, W - 2, 2, A(p.shadow, -32));
      }
      break;

    case BT::SoftOutline: {
      auto textFrame = [&] {
        if (hasFocus_ && showFocusRect_)
          Frame(dc, textRect_.left - 2, textRect_.top - 1, captionW_ + 4, captionH_ + 2, RGB(153, 153, 204));
      };
      if (disabled) {
        PaintCaption(CaptionLook::Greyed);
        Frame(dc, 0, 0, W, H, p.shadow);
      } else if (released) {
        Fill(dc, 1, 1, W - 1, H - 1, A(p.face, 12));
        PaintCaption(resting);
        Frame(dc, 1, 1, W - 1, H - 1, p.highlight);
        Frame(dc, 0, 0, W - 1, H - 1, A(p.shadow, -26));
        Pixel(dc, 1, H - 2, A(p.shadow, 26));
        Pixel(dc, W - 2, 1, A(p.shadow, 26));
        textFrame();
      } else {
        Fill(dc, 1, 1, W - 2, H - 2, A(p.shadow, 16));
        Frame(dc, 0, 0, W - 1, H - 1, A(p.shadow, -26));
        Line(dc, W - 1, 1, W - 1, H, p.highlight);
        Line(dc, 1, H - 1, W - 1, H - 1, p.highlight);
        DrawCaptionAt(textRect_, p.textOver);
        textFrame();
      }
      break;
    }

    case BT::LightBevel: {
      COLORREF l8 = A(p.light, 8);
      PaintCaption(released ? resting : pressed ? CaptionLook::Pressed : CaptionLook::Greyed);
      if (pressed)
        Bevel(dc, W, H, p.shadow, l8, p.shadow, l8, 0, false);
      else
        Bevel(dc, W, H, l8, p.shadow, l8, p.shadow, 0, false);
      if (!disabled) PaintFocusMark();
      break;
    }

    case BT::Flat:
      PaintCaption(released ? resting : pressed ? CaptionLook::Pressed : CaptionLook::Engraved);
      if (pressed)
        Bevel(dc, W, H, p.shadow, p.highlight, 0, 0, 0, true);
      else
        Bevel(dc, W, H, p.highlight, p.shadow, 0, 0, 0, true);
      if (!disabled) PaintFocusMark();
      break;

    case BT::FlatHover:
      if (disabled) {
        PaintCaption(CaptionLook::Engraved);
      } else if (released) {
        PaintCaption(resting);
        if (hovered_) Bevel(dc, W, H, p.highlight, p.shadow, 0, 0, 0, true);
        PaintFocusMark();
      } else {
        PaintCaption(CaptionLook::Pressed);
        Bevel(dc, W, H, p.shadow, p.highlight, 0, 0, 0, true);
        PaintFocusMark();
      }
      break;

    case BT::HighlightHover:
      if (disabled) {
        PaintCaption(CaptionLook::Greyed);
      } else if (released) {
        if (hovered_) Fill(dc, 1, 1, W, H, p.hoverFace);
        PaintCaption(resting);
        if (hovered_) Frame(dc, 0, 0, W, H, p.hoverFrame);
        PaintFocusMark();
      } else {
        if (hovered_) {
          COLORREF c = colorScheme_ == ColorSchemeKind::CustomColors ? A(p.hoverFace, -32)
                                                                     : TintTowardWhite(p.hoverFrame, 128);
          Fill(dc, 0, 0, W, H, c);
        }
        PaintCaption(CaptionLook::Pressed);
        Frame(dc, 0, 0, W, H, p.hoverFrame);
        PaintFocusMark();
      }
      break;

    case BT::Transparent:
      if (snapshot_) {
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, snapshot_);
        BitBlt(dc, 0, 0, W, H, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
      }
      PaintCaption(released ? resting : pressed ? CaptionLook::Pressed : CaptionLook::Engraved);
      if (!disabled) PaintFocusMark();
      break;

    case BT::BevelHover:
      if (disabled) {
        PaintCaption(CaptionLook::Engraved);
      } else if (released) {
        PaintCaption(resting);
        if (hovered_) Bevel(dc, W, H, p.highlight, p.darkShadow, p.light, p.shadow, 0, false);
        PaintFocusMark();
      } else {
        PaintCaption(CaptionLook::Pressed);
        Bevel(dc, W, H, p.darkShadow, p.highlight, p.shadow, p.light, 0, false);
        PaintFocusMark();
      }
      break;

    case BT::Oval:
      if (disabled) {
        PaintCaption(CaptionLook::Engraved);
      } else if (released) {
        Ellipse(dc, 0, 0, W, H, hovered_ ? p.shadow : p.face, p.face);
        PaintCaption(resting);
      } else {
        Ellipse(dc, 0, 0, W, H, p.darkShadow, A(p.face, -32));
        PaintCaption(CaptionLook::Pressed);
      }
      break;

    case BT::Gradient: {
      const float t = 58.0f / static_cast<float>(H);
      auto gradient = [&] {
        for (int i = 1; i <= H; ++i) Line(dc, 0, i, W, i, A(p.highlight, GradientAmount(t, i)));
      };
      auto bars = [&] {
        Frame(dc, 0, 0, W, H, A(p.shadow, -50));
        Frame(dc, 1, 1, W - 2, H - 2, A(p.face, -9));
        Fill(dc, 2, 2, W - 4, 2, p.highlight);
        Fill(dc, 2, 4, 2, H - 6, p.highlight);
      };
      if (disabled) {
        gradient();
        bars();
        PaintCaption(CaptionLook::EngravedOnFace);
      } else if (released) {
        if (hovered_)
          Fill(dc, 0, 0, W, H, p.light);
        else
          gradient();
        if (ShownAsDefault()) {
          // The default button's caption is bold: laid out in bold for this one drawing.
          paintingOn_ = false;
          bool wasBold = FontBold();
          SetFontBold(true);
          PaintCaption(resting);
          SetFontBold(wasBold);
          paintingOn_ = true;
        } else {
          PaintCaption(resting);
        }
        bars();
        PaintFocusMark();
      } else {
        Fill(dc, 1, 1, W, H, A(p.face, -9));
        Frame(dc, 0, 0, W, H, A(p.shadow, -48));
        Line(dc, 2, H - 2, W - 2, H - 2, p.highlight);
        Line(dc, W - 2, 2, W - 2, H - 1, p.highlight);
        PaintCaption(CaptionLook::Embossed);
        PaintFocusMark();
      }
      break;
    }

    case BT::FaceOnly:
    default:
      break;  // the face and the pictures only
  }
}

// --- pictures ---------------------------------------------------------------------------------------------

void chameleonButton::BlitPicture(int x, int y, const ButtonPicture& pic, COLORREF transparent, int32_t brush,
                                  bool darkOnly, bool greyscale, bool fade) {
  const int w = picW_, h = picH_;
  if (w <= 0 || h <= 0 || pic.Empty() || !imageDc_) return;
  HDC src = CreateCompatibleDC(imageDc_);
  HBITMAP drawn = nullptr;
  HGDIOBJ old;
  if (pic.bitmap) {
    old = SelectObject(src, pic.bitmap);
  } else {
    // An icon is drawn at its own size onto the mask colour, which then counts as transparent.
    drawn = CreateCompatibleBitmap(imageDc_, w, h);
    old = SelectObject(src, drawn);
    Fill(src, 0, 0, w, h, transparent);
    DrawIconEx(src, 0, 0, pic.icon, 0, 0, 0, nullptr, DI_NORMAL);
  }
  BITMAPINFO bi = Rgb24Info(w, h);
  const size_t bytes = static_cast<size_t>(chameleon::RowBytes(w)) * h;
  std::vector<uint8_t> background(bytes), picture(bytes);

  // Both as 24-bit bottom-up bitmaps, through a scratch bitmap of the image's area.
  HDC work = CreateCompatibleDC(imageDc_);
  HBITMAP area = CreateCompatibleBitmap(imageDc_, w, h);
  HGDIOBJ oldArea = SelectObject(work, area);
  BitBlt(work, 0, 0, w, h, imageDc_, x, y, SRCCOPY);
  SelectObject(work, oldArea);
  GetDIBits(work, area, 0, h, background.data(), &bi, DIB_RGB_COLORS);
  HBITMAP source = pic.bitmap ? pic.bitmap : drawn;
  SelectObject(src, old);  // GetDIBits wants the bitmap out of every device context
  GetDIBits(work, source, 0, h, picture.data(), &bi, DIB_RGB_COLORS);

  chameleon::PixelRule rule;
  rule.transparent = transparent;
  rule.useMask = useMaskColor_;
  rule.brush = brush;
  rule.darkOnly = darkOnly;
  rule.greyscale = greyscale;
  rule.fade = fade;
  chameleon::BlendPicture(background.data(), picture.data(), w, h, rule);

  SetDIBitsToDevice(imageDc_, x, y, w, h, 0, 0, 0, h, background.data(), &bi, DIB_RGB_COLORS);
  DeleteObject(area);
  DeleteDC(work);
  DeleteDC(src);
  if (drawn) DeleteObject(drawn);
}

void chameleonButton::PaintPictureEffect(int offset, const ButtonPicture& pic) {
  if (static_cast<int>(specialEffect_) < 1) return;
  COLORREF base = palette_.face;
  if (buttonType_ == BT::ThemedGradient)
    base = palette_.themeFace;
  else if (offset == -1 && colorScheme_ != ColorSchemeKind::CustomColors)
    base = palette_.hoverFace;
  int a = specialEffect_ == SpecialEffectKind::EffectSunken ? 40 : -40;
  BlitPicture(picX_ + offset + 1, picY_ + offset + 1, pic, palette_.mask,
              static_cast<int32_t>(AdjustColor(base, a, false, softBevel_)), false, false, false);
  if (specialEffect_ == SpecialEffectKind::EffectRaised || specialEffect_ == SpecialEffectKind::EffectSunken)
    BlitPicture(picX_ + offset - 1, picY_ + offset - 1, pic, palette_.mask,
                static_cast<int32_t>(AdjustColor(base, -a, false, softBevel_)), false, false, false);
}

void chameleonButton::PaintPictures(ButtonStage look) {
  if (pictureNormal_.Empty()) return;
  const auto& pn = pictureNormal_;
  const auto& po = pictureOver_;
  const COLORREF mask = palette_.mask;
  auto plain = [&](int x, int y, const ButtonPicture& p) { BlitPicture(x, y, p, mask, -1, false, false, false); };
  auto silhouette = [&](int x, int y, COLORREF brush, bool darkOnly) {
    BlitPicture(x, y, pn, mask, static_cast<int32_t>(brush), darkOnly, false, false);
  };
  const bool highlight = buttonType_ == BT::HighlightHover;
  if (look == ButtonStage::Released) {
    if (!hovered_) {
      PaintPictureEffect(0, pn);
      BlitPicture(picX_, picY_, pn, mask, -1, false, useGreyscale_, highlight);
    } else if (highlight) {
      PaintPictureEffect(-1, pn);
      silhouette(picX_ + 1, picY_ + 1, palette_.shadow, false);
      plain(picX_ - 1, picY_ - 1, pn);
    } else if (!po.Empty()) {
      PaintPictureEffect(0, po);
      plain(picX_, picY_, po);
    } else {
      PaintPictureEffect(0, pn);
      plain(picX_, picY_, pn);
    }
  } else if (look == ButtonStage::Pressed) {
    if (!po.Empty() && !highlight) {
      int d = buttonType_ == BT::SoftOutline ? 0 : 1;
      plain(picX_ + d, picY_ + d, po);
    } else if (buttonType_ != BT::SoftOutline && !highlight) {
      PaintPictureEffect(1, pn);
      plain(picX_ + 1, picY_ + 1, pn);
    } else {
      PaintPictureEffect(0, pn);
      plain(picX_, picY_, pn);
    }
  } else {
    switch (buttonType_) {
      case BT::SoftOutline:
      case BT::LightBevel:
        silhouette(picX_, picY_, palette_.shadow, true);
        break;
      case BT::HighlightHover:
        silhouette(picX_, picY_, AdjustColor(palette_.shadow, 13, false, softBevel_), true);
        break;
      case BT::ThemedGradient:
        BlitPicture(picX_ + 1, picY_ + 1, pn, mask, -1, false, true, false);
        break;
      default:
        silhouette(picX_ + 1, picY_ + 1, palette_.highlight, true);
        silhouette(picX_, picY_, palette_.shadow, true);
        break;
    }
  }
  if (picturePosition_ == PicturePositionKind::PictureBehind) PaintCaption(lastCaptionLook_);
}

// --- the parent's background, for the Transparent look ---------------------------------------------------

void chameleonButton::SnapshotBackground() {
  if (!hwnd_ || !snapshot_) return;
  HWND parent = GetParent(hwnd_);
  if (!parent) return;
  snapshotBusy_ = true;
  RECT r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  HDC dc = CreateCompatibleDC(imageDc_);
  HGDIOBJ old = SelectObject(dc, snapshot_);
  // The parent paints its background, then every window beneath this one paints itself, each
  // moved so that the button's place lands on the snapshot's origin.
  SetViewportOrgEx(dc, -r.left, -r.top, nullptr);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  std::vector<HWND> below;
  for (HWND s = GetWindow(hwnd_, GW_HWNDNEXT); s; s = GetWindow(s, GW_HWNDNEXT)) {
    RECT sr, overlap;
    GetWindowRect(s, &sr);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&sr), 2);
    if (IsWindowVisible(s) && IntersectRect(&overlap, &sr, &r)) below.push_back(s);
  }
  for (auto it = below.rbegin(); it != below.rend(); ++it) {
    RECT sr;
    GetWindowRect(*it, &sr);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&sr), 2);
    SetViewportOrgEx(dc, sr.left - r.left, sr.top - r.top, nullptr);
    SendMessageA(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectObject(dc, old);
  DeleteDC(dc);
  snapshotBusy_ = false;
}

}  // namespace controls
