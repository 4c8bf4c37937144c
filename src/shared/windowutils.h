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
// Saves the placement of every visible top-level Explorer ("CabinetWClass") and Internet Explorer
// ("IEFrame") window and hides it; the windows saved before are forgotten. RestoreExplorerWindows
// gives every saved window that still exists, with the class it had, its placement back, the last
// saved first; the list stays, so a second call repeats the first.
void HideExplorerWindows();
void RestoreExplorerWindows();
const std::vector<SavedPlacement>& SavedPlacements();

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

// The show/hide hot key of stealth mode: ShowHideWndProc stands in for the main window's own
// window procedure (saved in PrevWndProc) and runs the action set here when hot key 1 is pressed.
LRESULT CALLBACK ShowHideWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetShowHideAction(std::function<void()> action);
WNDPROC PrevWndProc();
void SetPrevWndProc(WNDPROC proc);
// Registers one more hot key (identifiers 1, 2, ...); nonzero on success.
BOOL RegisterShowHideKey(HWND window, UINT modifiers, UINT keyCode);
// Releases every hot key registered so far.
void UnregisterShowHideKeys(HWND window);
int HotKeyCount();
