#include "shared/windowutils.h"

#include <vector>

#include "runtime/text.h"

namespace {
struct SavedPlacement {
  HWND window;
  WINDOWPLACEMENT placement;
};
std::vector<SavedPlacement> g_saved;
WNDPROC g_prev = nullptr;
int g_hotKeys = 0;
std::function<void()> g_showHide;

template <class F>
void ForEachTopLevel(F f) {
  EnumWindows(
      [](HWND h, LPARAM l) CALLBACK -> BOOL {
        (*reinterpret_cast<F*>(l))(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
}
}  // namespace

std::string WindowClassName(HWND window) {
  char buf[256];
  int n = GetClassNameA(window, buf, sizeof buf);
  return n > 0 ? std::string(buf, n) : std::string();
}

void CloseBrowserWindows() {
  ForEachTopLevel([](HWND h) {
    std::string cls = WindowClassName(h);
    if (cls == "IEFrame" || rt::LCase(cls) == "mozillawindowclass") PostMessageA(h, WM_CLOSE, 0, 0);
  });
}

void HideExplorerWindows() {
  g_saved.clear();
  ForEachTopLevel([](HWND h) {
    std::string cls = WindowClassName(h);
    if (cls != "CabinetWClass" && cls != "IEFrame") return;
    SavedPlacement s{h, {}};
    s.placement.length = sizeof s.placement;
    if (!GetWindowPlacement(h, &s.placement)) return;
    g_saved.push_back(s);
    WINDOWPLACEMENT hidden = s.placement;
    hidden.showCmd = SW_HIDE;
    SetWindowPlacement(h, &hidden);
  });
}

void RestoreExplorerWindows() {
  for (auto it = g_saved.rbegin(); it != g_saved.rend(); ++it)
    if (IsWindow(it->window)) SetWindowPlacement(it->window, &it->placement);
}

LRESULT CALLBACK ShowHideWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) {
    if (wParam == 1 && g_showHide) g_showHide();
    return 0;
  }
  return g_prev ? CallWindowProcA(g_prev, window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

void SetShowHideAction(std::function<void()> action) { g_showHide = std::move(action); }
WNDPROC PrevWndProc() { return g_prev; }
void SetPrevWndProc(WNDPROC proc) { g_prev = proc; }

BOOL RegisterShowHideKey(HWND window, UINT modifiers, UINT keyCode) {
  ++g_hotKeys;
  return RegisterHotKey(window, g_hotKeys, modifiers, keyCode);
}

void UnregisterShowHideKeys(HWND window) {
  for (int id = 1; id <= g_hotKeys; ++id) UnregisterHotKey(window, id);
  g_hotKeys = 0;
}

int HotKeyCount() { return g_hotKeys; }
