#include "forms/controls.h"

#include <commctrl.h>

#include "forms/form.h"
#include "runtime/windowclass.h"

namespace forms {

// --- TextBox -------------------------------------------------------------------------------------

TextBox::TextBox(Form& owner, std::string name, std::string text) : Control(owner, std::move(name)), text_(std::move(text)) {}

Control::NativeLook TextBox::Look() const {
  DWORD s = WS_TABSTOP | ES_AUTOHSCROLL;
  if (multiLine_) s = (s & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (multiLine_ && hScroll_) s |= ES_AUTOHSCROLL | WS_HSCROLL;
  if (vScroll_) s |= WS_VSCROLL;
  if (locked_) s |= ES_READONLY;
  if (passwordChar_) s |= ES_PASSWORD;
  return {"EDIT", s, WS_EX_CLIENTEDGE, NativeForm(text_)};
}

void TextBox::AfterCreate() {
  if (maxLength_) SendMessageA(hwnd_, EM_LIMITTEXT, maxLength_, 0);
  if (passwordChar_) SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
  PushSelection();
}

std::string TextBox::NativeForm(const std::string& t) const {
  if (!multiLine_) return t;
  std::string r;
  r.reserve(t.size() + 8);
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    if (c == '\r') {
      r += "\r\n";
      if (i + 1 < t.size() && t[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      r += "\r\n";
    } else {
      r += c;
    }
  }
  return r;
}

void TextBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = static_cast<int>(std::min(static_cast<size_t>(selStart_), text_.size()));
  selLength_ = 0;
  if (hwnd_) {
    pushing_ = true;
    SetWindowTextA(hwnd_, NativeForm(text_).c_str());
    pushing_ = false;
  }
  Fire(Change);
}

bool TextBox::OnCommand(WORD code) {
  if (code != EN_CHANGE || pushing_ || !hwnd_) return false;
  int n = GetWindowTextLengthA(hwnd_);
  std::string t(static_cast<size_t>(n) + 1, '\0');
  t.resize(GetWindowTextA(hwnd_, t.data(), n + 1));
  if (t == NativeForm(text_)) return true;  // the EDIT tells of a change even for the same text
  text_ = t;
  Fire(Change);
  return true;
}

void TextBox::SetLocked(bool locked) {
  locked_ = locked;
  if (hwnd_) SendMessageA(hwnd_, EM_SETREADONLY, locked, 0);
}

void TextBox::SetMaxLength(int n) {
  maxLength_ = n < 0 ? 0 : n;
  if (hwnd_) SendMessageA(hwnd_, EM_LIMITTEXT, maxLength_, 0);
}

int TextBox::SelStart() const {
  if (hwnd_) {
    DWORD b = 0, e = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&b), reinterpret_cast<LPARAM>(&e));
    return static_cast<int>(b);
  }
  return selStart_;
}

int TextBox::SelLength() const {
  if (hwnd_) {
    DWORD b = 0, e = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&b), reinterpret_cast<LPARAM>(&e));
    return static_cast<int>(e - b);
  }
  return selLength_;
}

void TextBox::SetSelStart(int start) {
  int len = static_cast<int>(NativeForm(text_).size());
  selStart_ = start < 0 ? 0 : (start > len ? len : start);
  selLength_ = 0;
  PushSelection();
}

void TextBox::SetSelLength(int length) {
  selStart_ = SelStart();
  int len = static_cast<int>(NativeForm(text_).size());
  selLength_ = length < 0 ? 0 : std::min(length, len - selStart_);
  PushSelection();
}

std::string TextBox::SelText() const {
  std::string t = NativeForm(text_);
  size_t b = static_cast<size_t>(SelStart());
  return b < t.size() ? t.substr(b, static_cast<size_t>(SelLength())) : std::string();
}

void TextBox::PushSelection() {
  if (hwnd_) SendMessageA(hwnd_, EM_SETSEL, selStart_, selStart_ + selLength_);
}

// --- Label -------------------------------------------------------------------------------------

Label::Label(Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {}

Control::NativeLook Label::Look() const {
  DWORD s = SS_NOTIFY | SS_NOPREFIX;
  if (align_ == kRight) s |= SS_RIGHT;
  else if (align_ == kCenter) s |= SS_CENTER;
  else s |= wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP;
  return {"STATIC", s, 0, caption_};
}

void Label::CaptionChanged() {
  SetNativeText(caption_);
  if (hwnd_ && Transparent()) {
    // A transparent label shows the parent through it: repaint what lies beneath.
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(GetParent(hwnd_), &r, TRUE);
  }
}

void Label::SetAlignment(int a) {
  align_ = a;
  if (hwnd_) {
    LONG_PTR s = GetWindowLongPtrA(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    s |= a == kRight ? SS_RIGHT : a == kCenter ? SS_CENTER : SS_LEFT;
    SetWindowLongPtrA(hwnd_, GWL_STYLE, s);
    Invalidate();
  }
}

bool Label::OnCommand(WORD code) {
  if (code == STN_CLICKED) Fire(Click);
  if (code == STN_DBLCLK) Fire(DblClick);
  return true;
}

// --- CheckBox ----------------------------------------------------------------------------------

CheckBox::CheckBox(Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {}

Control::NativeLook CheckBox::Look() const { return {"BUTTON", BS_3STATE | WS_TABSTOP, 0, caption_}; }

void CheckBox::AfterCreate() { SendMessageA(hwnd_, BM_SETCHECK, value_, 0); }

bool CheckBox::SetValue(int v) {
  if (v < kUnchecked || v > kGrayed) return false;
  if (v == value_) return true;
  value_ = v;
  if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, v, 0);
  Fire(Click);
  return true;
}

bool CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && Enabled()) SetValue(value_ == kChecked ? kUnchecked : kChecked);
  return true;
}

// --- OptionButton ------------------------------------------------------------------------------

OptionButton::OptionButton(Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {}

Control::NativeLook OptionButton::Look() const { return {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0, caption_}; }

void OptionButton::AfterCreate() { SendMessageA(hwnd_, BM_SETCHECK, value_ ? BST_CHECKED : BST_UNCHECKED, 0); }

void OptionButton::SetValue(bool v) {
  if (v == value_) return;
  if (v) {
    for (Control* c : owner_.Controls()) {
      auto* o = dynamic_cast<OptionButton*>(c);
      if (o && o != this && o->Container() == Container() && o->value_) {
        o->value_ = false;
        if (o->hwnd_) SendMessageA(o->hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
  }
  value_ = v;
  if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (v) Fire(Click);
}

bool OptionButton::OnCommand(WORD code) {
  if (code == BN_CLICKED && Enabled() && !focusArriving_) SetValue(true);
  return true;
}

LRESULT OptionButton::SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) {
  if (m != WM_SETFOCUS) return 0;
  // Windows tells the parent that a radio button which gets the focus was clicked, whatever
  // brought the focus. Only an arrow key that moved the focus here is the user's choice; Tab and
  // code merely pass by.
  bool arrow = GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0;
  focusArriving_ = true;
  LRESULT r = DefSubclassProc(h, m, w, l);
  focusArriving_ = false;
  handled = true;
  if (arrow && Enabled()) SetValue(true);
  return r;
}

// --- PushButton --------------------------------------------------------------------------------

PushButton::PushButton(Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {}

Control::NativeLook PushButton::Look() const {
  return {"BUTTON", static_cast<DWORD>((default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP), 0, caption_};
}

void PushButton::PerformClick() {
  if (Enabled()) Fire(Click);
}

bool PushButton::OnCommand(WORD code) {
  if (code == BN_CLICKED) PerformClick();
  return true;
}

// --- Frame -------------------------------------------------------------------------------------

namespace {
const char kFrameClass[] = "VelkFrame";
}

Frame::Frame(Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {
  rt::RegisterWindowClass(kFrameClass, FrameProc, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

Control::NativeLook Frame::Look() const { return {kFrameClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, caption_}; }

void Frame::AfterCreate() {
  for (Control* c : std::vector<Control*>(owner_.Controls()))
    if (c->Container() == this) c->EnsureNative();
}

void Frame::Paint(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (!border_) return;
  HGDIOBJ oldFont = SelectObject(dc, FontHandle(GetFont()));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  RECT edge = r;
  edge.top += tm.tmHeight / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  if (!caption_.empty()) {
    SIZE sz;
    GetTextExtentPoint32A(dc, caption_.c_str(), static_cast<int>(caption_.size()), &sz);
    RECT t{6, 0, 6 + sz.cx + 4, tm.tmHeight};
    FillRect(dc, &t, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ForeColor() == kDefaultColor ? GetSysColor(COLOR_BTNTEXT) : ForeColor());
    TextOutA(dc, 8, 0, caption_.c_str(), static_cast<int>(caption_.size()));
  }
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK Frame::FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* self = static_cast<Frame*>(Control::FromHwnd(h));
  if (self) {
    Form::BusyGuard busy(self->Owner());
    LRESULT result = 0;
    if (self->Owner().RouteControlMessage(m, w, l, result)) return result;
    switch (m) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        self->Paint(dc);
        EndPaint(h, &ps);
        return 0;
      }
      case WM_SIZE:
        InvalidateRect(h, nullptr, TRUE);
        break;
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(FontHandle(self->GetFont()));
      case WM_SETFONT:
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      default:
        break;
    }
  }
  return DefWindowProcA(h, m, w, l);
}

// --- Picture -----------------------------------------------------------------------------------

Picture::Picture(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook Picture::Look() const {
  return {"STATIC", static_cast<DWORD>(SS_NOTIFY | SS_CENTERIMAGE | (bitmap_ ? SS_BITMAP : SS_ICON)), 0, ""};
}

void Picture::AfterCreate() {
  if (icon_) SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_));
  if (bitmap_) SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_));
}

void Picture::SetIcon(HICON icon) {
  icon_ = icon;
  bitmap_ = nullptr;
  if (hwnd_) SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Picture::SetBitmap(HBITMAP bitmap) {
  bitmap_ = bitmap;
  icon_ = nullptr;
  if (hwnd_) SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

bool Picture::OnCommand(WORD code) {
  if (code == STN_CLICKED) Fire(Click);
  return true;
}

}  // namespace forms
