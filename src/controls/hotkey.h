// A global hot key of the program: a modifier combination and a key code, registered with the
// system on a hidden window of its own; each press raises Pressed. Key code 0 means no key: nothing
// is registered until a key code is set.
#pragma once

#include <windows.h>

#include <functional>

namespace controls {

class HotKey {
 public:
  HotKey(bool ctrl, bool alt, bool win);
  ~HotKey();
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;

  int KeyCode() const { return keyCode_; }
  // Registers the combination with this key (releasing the one before). False when the system
  // refuses it (another program holds it); the key code is kept either way.
  bool SetKeyCode(int keyCode);
  bool Registered() const { return registered_; }
  void Release();
  // The hidden window that receives the key's WM_HOTKEY, and the key's identifier (its wParam).
  HWND Window() const { return window_; }
  int Id() const { return id_; }

  std::function<void()> Pressed;

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l);
  HWND window_ = nullptr;
  UINT modifiers_;
  int keyCode_ = 0;
  bool registered_ = false;
  int id_;
};

}  // namespace controls
