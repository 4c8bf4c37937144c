#include "controls/hotkey.h"

#include "runtime/windowclass.h"

namespace controls {

namespace {
const char kClass[] = "VelkHotKey";
int g_nextId = 0x100;  // the main window's own show/hide key uses the low identifiers
}  // namespace

HotKey::HotKey(bool ctrl, bool alt, bool win)
    : modifiers_((ctrl ? MOD_CONTROL : 0) | (alt ? MOD_ALT : 0) | (win ? MOD_WIN : 0)), id_(g_nextId++) {
  rt::RegisterWindowClass(kClass, WndProc);
  window_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HotKey::~HotKey() {
  Release();
  if (window_) DestroyWindow(window_);
}

void HotKey::Release() {
  if (registered_) UnregisterHotKey(window_, id_);
  registered_ = false;
}

bool HotKey::SetKeyCode(int keyCode) {
  Release();
  keyCode_ = keyCode;
  if (keyCode_ <= 0 || !window_) return false;
  registered_ = RegisterHotKey(window_, id_, modifiers_, static_cast<UINT>(keyCode_)) != 0;
  return registered_;
}

LRESULT CALLBACK HotKey::WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<HotKey*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (self && m == WM_HOTKEY && static_cast<int>(w) == self->id_) {
    if (self->Pressed) self->Pressed();
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

}  // namespace controls
