// Reading what the native windows of controls show, for tests that check the view against the model.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace nt {

inline std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  s.resize(GetWindowTextA(h, s.data(), n + 1));
  return s;
}

inline std::string ListViewText(HWND lv, int row0, int sub) {
  char buf[1024] = "";
  LVITEMA it{};
  it.iSubItem = sub;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(lv, LVM_GETITEMTEXTA, row0, reinterpret_cast<LPARAM>(&it));
  return buf;
}

inline int ListViewCount(HWND lv) { return static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string ListBoxText(HWND lb, int i) {
  int n = static_cast<int>(SendMessageA(lb, LB_GETTEXTLEN, i, 0));
  if (n < 0) return "<none>";
  std::string s(static_cast<size_t>(n) + 1, '\0');
  SendMessageA(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(n));
  return s;
}

inline bool IsShown(HWND h) { return h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE); }

// The user clicks a native button (BM_CLICK sends the press and release the user would).
inline void Click(HWND h) { SendMessageA(h, BM_CLICK, 0, 0); }

}  // namespace nt
