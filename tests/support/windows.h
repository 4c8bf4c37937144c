// Finding another program's top-level window.
#pragma once

#include <windows.h>

#include <string>

namespace ts {

// The first top-level window of the process with exactly this class and title; null when none.
inline HWND FindTopLevelWindow(DWORD pid, const std::string& className, const std::string& title) {
  struct Search {
    DWORD pid;
    const std::string& cls;
    const std::string& title;
    HWND found;
  } s{pid, className, title, nullptr};
  EnumWindows(
      [](HWND h, LPARAM l) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        char cls[256], text[256];
        GetClassNameA(h, cls, sizeof cls);
        GetWindowTextA(h, text, sizeof text);
        if (p != s->pid || s->cls != cls || s->title != text) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace ts
