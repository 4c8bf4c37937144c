// Acting on other programs' windows (closing the browsers, hiding and restoring Explorer and
// Internet Explorer windows, listing every top-level window), and the show/hide hot key of
// stealth mode.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

// The class name a window was registered with; "" when the window does not exist.
std::string WindowClassName(HWND window);

// Posts WM_CLOSE to every top-level Internet Explorer ("IEFrame") and Mozilla
// ("MozillaWindowClass", any case) window; does not wait for them.
void CloseBrowserWindows();

// One window hidden by HideExplorerWindows: its handle, its class then, and its placement before
// it was hidden (show command included).
struct SavedPlacement {
  HWND window;
  std::string className;
  WINDOWPLACEMENT placement;
};
// The Explorer and Internet Explorer windows the boss key hid. HideExplorerWindows saves the
// placement of every visible top-level Explorer ("CabinetWClass") and Internet Explorer ("IEFrame")
// window and hides it; the windows saved before are forgotten. RestoreExplorerWindows gives every
// saved window that still exists, with the class it had, its placement back, the last saved first;
// the list stays, so a second call repeats the first. Windows still hidden when the object goes
// come back: they belong to other programs and must never stay hidden behind a program that ended.
class HiddenExplorerWindows {
 public:
  HiddenExplorerWindows() = default;
  HiddenExplorerWindows(const HiddenExplorerWindows&) = delete;
  HiddenExplorerWindows& operator=(const HiddenExplorerWindows&) = delete;
  ~HiddenExplorerWindows();

  void HideExplorerWindows();
  void RestoreExplorerWindows();
  const std::vector<SavedPlacement>& SavedPlacements() const { return saved_; }

 private:
  std::vector<SavedPlacement> saved_;
  bool hiding_ = false;  // hidden and not restored since
};

// The titles and handles of the top-level windows, as CollectWindowTitles records them.
struct WindowTitleRecord {
  std::string title;
  long number = 0;  // only ever cleared
  HWND window = nullptr;
};
struct WindowTitleTable {
  static constexpr int kRecords = 300;
  std::array<WindowTitleRecord, kRecords> records;
  int count = 0;  // records filled; windows after the 300th are not recorded
  void Clear();
};
WindowTitleTable& WindowTitles();
// EnumWindows callback: records the window's title and handle in the next free record of
// WindowTitles(); always goes on (returns 1).
BOOL CALLBACK CollectWindowTitles(HWND window, LPARAM number);

// The show/hide hot key of stealth mode, for one window: RegisterShowHideKey installs
// ShowHideWndProc in place of the window's own procedure (kept in PrevWndProc) the first time, and
// registers one more hot key (identifiers 1, 2, ...); hot key 1 then runs the action. Everything is
// given back (the keys released, the previous procedure put back) by UnregisterShowHideKeys, when
// the window is destroyed, and when the object goes, whichever comes first.
class ShowHideKey {
 public:
  ShowHideKey() = default;
  ShowHideKey(const ShowHideKey&) = delete;
  ShowHideKey& operator=(const ShowHideKey&) = delete;
  ~ShowHideKey() { UnregisterShowHideKeys(); }

  void SetAction(std::function<void()> action) { action_ = std::move(action); }
  // Nonzero on success. A window other than the one the key was installed on is refused.
  BOOL RegisterShowHideKey(HWND window, UINT modifiers, UINT keyCode);
  void UnregisterShowHideKeys();
  // What hot key 1 does.
  void Press() {
    if (action_) action_();
  }
  int HotKeyCount() const { return hotKeys_; }
  WNDPROC PrevWndProc() const { return prev_; }

  static LRESULT CALLBACK ShowHideWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  std::function<void()> action_;
  HWND window_ = nullptr;
  WNDPROC prev_ = nullptr;
  int hotKeys_ = 0;
};
