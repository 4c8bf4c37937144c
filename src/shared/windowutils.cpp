#include "shared/windowutils.h"

#include <vector>

#include "runtime/text.h"

namespace {
std::vector<SavedPlacement> g_saved;
WindowTitleTable g_titles;
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

// The show command that brings a hidden window back in the state its placement records.
int ShowCommandFor(const WINDOWPLACEMENT& p) {
  if (p.showCmd == SW_SHOWMAXIMIZED) return SW_SHOWMAXIMIZED;
  if (p.showCmd == SW_SHOWMINIMIZED || p.showCmd == SW_MINIMIZE || p.showCmd == SW_SHOWMINNOACTIVE)
    return SW_SHOWMINNOACTIVE;
  return SW_SHOWNOACTIVATE;
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

// The windows belong to other programs, which may be busy or hung: they are shown and hidden with
// requests that do not wait for them. Hiding leaves a window's placement as it is, so its show
// command brings it back exactly where and as it was.
void HideExplorerWindows() {
  g_saved.clear();
  ForEachTopLevel([](HWND h) {
    std::string cls = WindowClassName(h);
    if (cls != "CabinetWClass" && cls != "IEFrame") return;
    if (!IsWindowVisible(h)) return;  // a window nobody sees is not ours to show later
    SavedPlacement s{h, cls, {}};
    s.placement.length = sizeof s.placement;
    if (!GetWindowPlacement(h, &s.placement)) return;
    g_saved.push_back(s);
    ShowWindowAsync(h, SW_HIDE);
  });
}

void RestoreExplorerWindows() {
  for (auto it = g_saved.rbegin(); it != g_saved.rend(); ++it) {
    // A handle may have been given to another window since: only the window we hid comes back,
    // and one that has been shown meanwhile is left as it is.
    if (!IsWindow(it->window) || WindowClassName(it->window) != it->className) continue;
    if (IsWindowVisible(it->window)) continue;
    ShowWindowAsync(it->window, ShowCommandFor(it->placement));
  }
}

const std::vector<SavedPlacement>& SavedPlacements() { return g_saved; }

void WindowTitleTable::Clear() {
  for (auto& r : records) r = WindowTitleRecord{};
  count = 0;
}

WindowTitleTable& WindowTitles() { return g_titles; }

BOOL CALLBACK CollectWindowTitles(HWND window, LPARAM) {
  int length = GetWindowTextLengthA(window);
  if (length < 0) length = 0;
  std::string title(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(window, title.data(), length + 1);
  title.resize(got > 0 ? static_cast<size_t>(got) : 0);
  if (g_titles.count < WindowTitleTable::kRecords) {
    WindowTitleRecord& r = g_titles.records[static_cast<size_t>(g_titles.count)];
    r.title = title;
    r.number = 0;
    r.window = window;
    ++g_titles.count;
  }
  return TRUE;
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
