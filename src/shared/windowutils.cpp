#include "shared/windowutils.h"

#include <vector>

#include "runtime/text.h"

namespace {
WindowTitleTable g_titles;
// The window property through which ShowHideWndProc finds the key it serves.
constexpr const char* kShowHideProperty = "VelkRezezaShowHideKey";

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
HiddenExplorerWindows::~HiddenExplorerWindows() {
  if (hiding_) RestoreExplorerWindows();
}

void HiddenExplorerWindows::HideExplorerWindows() {
  saved_.clear();
  hiding_ = true;
  ForEachTopLevel([this](HWND h) {
    std::string cls = WindowClassName(h);
    if (cls != "CabinetWClass" && cls != "IEFrame") return;
    if (!IsWindowVisible(h)) return;  // a window nobody sees is not ours to show later
    SavedPlacement s{h, cls, {}};
    s.placement.length = sizeof s.placement;
    if (!GetWindowPlacement(h, &s.placement)) return;
    saved_.push_back(s);
    ShowWindowAsync(h, SW_HIDE);
  });
}

void HiddenExplorerWindows::RestoreExplorerWindows() {
  hiding_ = false;
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    // A handle may have been given to another window since: only the window we hid comes back,
    // and one that has been shown meanwhile is left as it is.
    if (!IsWindow(it->window) || WindowClassName(it->window) != it->className) continue;
    if (IsWindowVisible(it->window)) continue;
    ShowWindowAsync(it->window, ShowCommandFor(it->placement));
  }
}

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

LRESULT CALLBACK ShowHideKey::ShowHideWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* key = static_cast<ShowHideKey*>(GetPropA(window, kShowHideProperty));
  if (!key) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_HOTKEY) {
    if (wParam == 1) key->Press();
    return 0;
  }
  WNDPROC prev = key->prev_;
  // The window goes: its keys and its own procedure are given back before it is gone.
  if (message == WM_NCDESTROY) key->UnregisterShowHideKeys();
  return prev ? CallWindowProcA(prev, window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

BOOL ShowHideKey::RegisterShowHideKey(HWND window, UINT modifiers, UINT keyCode) {
  if (!window || (window_ && window_ != window)) return FALSE;
  if (!prev_) {
    if (!SetPropA(window, kShowHideProperty, this)) return FALSE;
    window_ = window;
    prev_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ShowHideKey::ShowHideWndProc)));
  }
  ++hotKeys_;
  return RegisterHotKey(window, hotKeys_, modifiers, keyCode);
}

void ShowHideKey::UnregisterShowHideKeys() {
  if (!window_) return;
  for (int id = 1; id <= hotKeys_; ++id) UnregisterHotKey(window_, id);
  hotKeys_ = 0;
  if (prev_ && IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev_));
  RemovePropA(window_, kShowHideProperty);
  prev_ = nullptr;
  window_ = nullptr;
}
