#include "controls/trayarea.h"

#include "runtime/random.h"
#include "runtime/text.h"
#include "runtime/windowclass.h"

namespace controls {

namespace {
const char kClass[] = "VelkTrayArea";
}

UINT TrayArea::TaskbarCreatedMessage() {
  static UINT m = RegisterWindowMessageA("TaskbarCreated");
  return m;
}

TrayArea::TrayArea() {
  rt::RegisterWindowClass(kClass, WndProc);
  // A hidden top-level window (not a message-only one): the taskbar's re-creation is broadcast
  // to top-level windows only.
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  data_.cbSize = sizeof data_;
  data_.hWnd = window_;
}

TrayArea::~TrayArea() {
  Remove();
  if (window_) DestroyWindow(window_);
}

void TrayArea::Add() {
  data_.cbSize = sizeof data_;
  data_.hWnd = window_;
  data_.uID = static_cast<UINT>(rt::RandomInt(1, 65535));
  data_.uFlags = NIF_MESSAGE;
  data_.uCallbackMessage = kCallbackMessage;
  if (icon_) {
    data_.uFlags |= NIF_ICON;
    data_.hIcon = icon_;
  }
  if (!tip_.empty()) {
    data_.uFlags |= NIF_TIP;
    lstrcpynA(data_.szTip, tip_.c_str(), sizeof data_.szTip);
  }
  shown_ = Shell_NotifyIconA(NIM_ADD, &data_) != 0;
}

void TrayArea::Remove() {
  if (shown_) Shell_NotifyIconA(NIM_DELETE, &data_);
  shown_ = false;
}

void TrayArea::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (v)
    Add();
  else
    Remove();
}

void TrayArea::SetIcon(HICON icon) {
  icon_ = icon;
  if (!icon) {
    SetVisible(false);
    return;
  }
  if (visible_ && shown_) {
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon;
    Shell_NotifyIconA(NIM_MODIFY, &data_);
  }
}

void TrayArea::SetToolTip(const std::string& tip) {
  tip_ = rt::Trim(tip);
  if (!shown_) return;
  data_.uFlags = NIF_TIP;
  lstrcpynA(data_.szTip, tip_.c_str(), sizeof data_.szTip);
  Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayArea::OnNotify(UINT mouse) {
  switch (mouse) {
    case WM_MOUSEMOVE:
      if (MouseMove) MouseMove();
      break;
    case WM_LBUTTONDOWN:
      if (MouseDown) MouseDown(1);
      break;
    case WM_LBUTTONUP:
      if (MouseUp) MouseUp(1);
      break;
    case WM_RBUTTONDOWN:
      if (MouseDown) MouseDown(2);
      break;
    case WM_RBUTTONUP:
      if (MouseUp) MouseUp(2);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      if (DblClick) DblClick();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK TrayArea::WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<TrayArea*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (self) {
    if (m == kCallbackMessage && w == self->data_.uID) {
      self->OnNotify(static_cast<UINT>(LOWORD(l)));
      return 0;
    }
    if (m == TaskbarCreatedMessage() && self->visible_) {
      self->shown_ = false;  // the new taskbar has no icon of ours
      self->Add();
      return 0;
    }
  }
  return DefWindowProcA(h, m, w, l);
}

}  // namespace controls
