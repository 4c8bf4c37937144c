#include "forms/control.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "forms/controls.h"
#include "forms/form.h"

namespace forms {

namespace {
const char kControlProp[] = "VelkControl";

struct FontKey {
  Font f;
  bool operator<(const FontKey& o) const {
    return std::tie(f.name, f.size, f.bold, f.italic, f.underline) <
           std::tie(o.f.name, o.f.size, o.f.bold, o.f.italic, o.f.underline);
  }
};
}  // namespace

HFONT FontHandle(const Font& f) {
  static std::map<FontKey, HFONT> cache;
  auto it = cache.find(FontKey{f});
  if (it != cache.end()) return it->second;
  HDC dc = GetDC(nullptr);
  int height = -MulDiv(static_cast<int>(f.size * 100 + 0.5), GetDeviceCaps(dc, LOGPIXELSY), 7200);
  ReleaseDC(nullptr, dc);
  HFONT h = CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        f.name.c_str());
  if (!h) h = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  cache[FontKey{f}] = h;
  return h;
}

Control::Control(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) { owner_.Register(this); }

int Control::TabIndex() const {
  const auto& all = owner_.Controls();
  return static_cast<int>(std::find(all.begin(), all.end(), this) - all.begin());
}

Control::~Control() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, Subclass, 1);
    RemovePropA(hwnd_, kControlProp);
    DestroyWindow(hwnd_);
  }
  if (backBrush_) DeleteObject(backBrush_);
  owner_.Unregister(this);
}

Control* Control::FromHwnd(HWND h) {
  return h ? static_cast<Control*>(GetPropA(h, kControlProp)) : nullptr;
}

bool Control::ShownInContainer() const {
  for (const Control* c = this; c; c = c->container_)
    if (!c->visible_) return false;
  return true;
}

HWND Control::ParentNative() const {
  return container_ ? container_->hWnd() : owner_.hWnd();
}

void Control::EnsureNative() {
  if (hwnd_ || !owner_.IsLoaded() || !ShownInContainer()) return;
  if (container_ && !container_->HasNative()) {
    container_->EnsureNative();  // creates this control too, with its other children
    return;
  }
  HWND parent = ParentNative();
  if (!parent) return;
  NativeLook s = Look();
  DWORD style = s.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!enabled_) style |= WS_DISABLED;
  int id = owner_.NextControlId();
  hwnd_ = CreateWindowExA(s.exStyle, s.className, s.text.c_str(), style, ToPixels(left_), ToPixels(top_),
                          ToPixels(width_), ToPixels(height_), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return;
  SetPropA(hwnd_, kControlProp, this);
  SetWindowSubclass(hwnd_, Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  AfterCreate();
  if (!toolTip_.empty()) UpdateToolTip();
}

void Control::ForgetNative() {
  hwnd_ = nullptr;
  toolRegistered_ = false;
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  if (width >= 0) width_ = width;
  if (height >= 0) height_ = height;
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, ToPixels(left_), ToPixels(top_), ToPixels(width_), ToPixels(height_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  if (hwnd_) {
    ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
    if (v && IsContainer()) {
      for (Control* c : owner_.Controls())
        if (c->container_ == this) c->EnsureNative();
    }
  } else if (v) {
    EnsureNative();
  }
}

void Control::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  if (hwnd_) EnableWindow(hwnd_, v);
  EnabledChanged();
}

void Control::SetToolTipText(const std::string& text) {
  if (toolTip_ == text) return;
  toolTip_ = text;
  if (hwnd_) UpdateToolTip();
}

void Control::UpdateToolTip() {
  HWND tip = owner_.ToolTipWindow();
  if (!tip || !hwnd_) return;
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner_.hWnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = const_cast<char*>(toolTip_.c_str());
  if (!toolRegistered_) {
    toolRegistered_ = SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
  } else {
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  SendMessageA(tip, TTM_ACTIVATE, !toolTip_.empty(), 0);
}

void Control::SetFont(const Font& f) {
  font_ = f;
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), TRUE);
  FontChanged();
}

void Control::SetForeColor(COLORREF c) {
  foreColor_ = c;
  Invalidate();
}

void Control::SetBackColor(COLORREF c) {
  backColor_ = c;
  if (backBrush_) DeleteObject(backBrush_);
  backBrush_ = c == kDefaultColor ? nullptr : CreateSolidBrush(c);
  Invalidate();
}

void Control::SetTransparent(bool t) {
  transparent_ = t;
  Invalidate();
}

HBRUSH Control::OnColor(HDC dc) {
  if (foreColor_ == kDefaultColor && backColor_ == kDefaultColor && !transparent_) return nullptr;
  if (foreColor_ != kDefaultColor) SetTextColor(dc, foreColor_);
  if (transparent_) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
  if (backBrush_) {
    SetBkColor(dc, backColor_);
    return backBrush_;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void Control::SetContainer(Frame* frame) {
  container_ = frame;
  if (hwnd_ && frame && frame->hWnd()) SetParent(hwnd_, frame->hWnd());
}

void Control::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void Control::BringToFront() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetNativeText(const std::string& text) {
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

LRESULT Control::SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) { return 0; }

LRESULT CALLBACK Control::Subclass(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<Control*>(ref);
  Form::BusyGuard busy(self->owner_);
  auto mouse = [&](const std::function<void(int, int, int, int)>& ev, int button) {
    if (!ev) return;
    int shift = ((w & MK_SHIFT) ? kShiftMask : 0) | ((w & MK_CONTROL) ? kCtrlMask : 0) |
                (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
    if (button < 0)
      button = ((w & MK_LBUTTON) ? kLeftButton : 0) | ((w & MK_RBUTTON) ? kRightButton : 0) |
               ((w & MK_MBUTTON) ? kMiddleButton : 0);
    ev(button, shift, static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
  };
  switch (m) {
    case WM_MOUSEMOVE: mouse(self->MouseMove, -1); break;
    case WM_LBUTTONDOWN: mouse(self->MouseDown, kLeftButton); break;
    case WM_RBUTTONDOWN: mouse(self->MouseDown, kRightButton); break;
    case WM_LBUTTONUP: mouse(self->MouseUp, kLeftButton); break;
    case WM_RBUTTONUP: mouse(self->MouseUp, kRightButton); break;
    case WM_SETCURSOR:
      if (self->handCursor_) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(h, Subclass, 1);
      RemovePropA(h, kControlProp);
      self->ForgetNative();
      return DefSubclassProc(h, m, w, l);
    default: break;
  }
  bool handled = false;
  LRESULT r = self->SubclassProc(h, m, w, l, handled);
  if (handled) return r;
  return DefSubclassProc(h, m, w, l);
}

}  // namespace forms
