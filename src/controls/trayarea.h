// The notification-area icon of a window: one icon with a tool tip next to the clock, and the
// shell's notifications about it as events. The icon is added when Visible turns true, removed
// when it turns false or the control goes away, and added again when the taskbar is re-created
// (Explorer restarted).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace controls {

class TrayArea {
 public:
  TrayArea();
  ~TrayArea();
  TrayArea(const TrayArea&) = delete;
  TrayArea& operator=(const TrayArea&) = delete;

  HICON Icon() const { return icon_; }
  void SetIcon(HICON icon);  // no icon: the icon leaves the notification area (Visible false)
  const std::string& ToolTip() const { return tip_; }
  void SetToolTip(const std::string& tip);  // trimmed; the shell shows at most 127 characters
  bool Visible() const { return visible_; }
  void SetVisible(bool v);

  std::function<void()> MouseMove, DblClick;
  std::function<void(int button)> MouseDown, MouseUp;  // 1 left, 2 right

  // Whether the shell took the last add (false under a shell without a notification area).
  bool Shown() const { return shown_; }
  UINT Id() const { return data_.uID; }
  HWND Window() const { return window_; }
  // The message the shell sends for the icon, and the taskbar's re-creation broadcast.
  static constexpr UINT kCallbackMessage = WM_APP + 0x301;
  static UINT TaskbarCreatedMessage();

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l);
  void Add();
  void Remove();
  void OnNotify(UINT mouseMessage);

  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  std::string tip_;
  bool visible_ = false;
  bool shown_ = false;
  NOTIFYICONDATAA data_{};
};

}  // namespace controls
