// Other programs' windows for a test: fixture_windows.exe, started with the windows a test asks for,
// and ended (if it is still running) when the object goes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app.h"
#include "runtime/files.h"
#include "support/windows.h"

namespace mw {

struct FixtureWindow {
  std::string className;
  std::string state;  // "normal", "max", "min" or "hidden"
  RECT rect;          // left, top, right, bottom
  std::string title;
};

class FixtureWindows {
 public:
  // On the given desktop of the window station (the test's own when null).
  explicit FixtureWindows(const std::vector<FixtureWindow>& windows, const char* desktop = nullptr) {
    static int serial = 0;
    std::string event = "VelkFixtureReady." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++serial);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    std::string line = "\"" + rt::JoinPath(rt::ParentFolder(rt::ExecutablePath()), "fixture_windows.exe") + "\" " + event;
    for (const auto& w : windows) {
      line += " \"" + w.className + "|" + w.state + "|" + std::to_string(w.rect.left) + "|" + std::to_string(w.rect.top) +
              "|" + std::to_string(w.rect.right - w.rect.left) + "|" + std::to_string(w.rect.bottom - w.rect.top) +
              "|" + w.title + "\"";
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string desk = desktop ? desktop : "";
    if (desktop) si.lpDesktop = desk.data();
    PROCESS_INFORMATION pi{};
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    EXPECT_TRUE(started_) << line;
    if (started_) {
      CloseHandle(pi.hThread);
      process_ = pi.hProcess;
      pid_ = pi.dwProcessId;
      HANDLE both[2] = {ready, process_};
      EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 15000), WAIT_OBJECT_0) << "the fixture windows came up";
    }
    CloseHandle(ready);
    if (!desktop)
      for (const auto& w : windows) handles_.push_back(Find(w.className, w.title));
  }
  ~FixtureWindows() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
  }
  FixtureWindows(const FixtureWindows&) = delete;
  FixtureWindows& operator=(const FixtureWindows&) = delete;

  // The windows in the order they were asked for (on the test's own desktop only).
  HWND operator[](size_t i) const { return handles_.at(i); }
  DWORD ProcessId() const { return pid_; }
  // Waits until the helper has ended (every window closed).
  bool Ended(DWORD ms = 5000) const { return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0; }
  // Waits until a window has gone (closed by a posted WM_CLOSE).
  static bool Gone(HWND h, DWORD ms = 5000) {
    for (DWORD waited = 0; IsWindow(h); waited += 10) {
      if (waited >= ms) return false;
      Sleep(10);
    }
    return true;
  }

 private:
  HWND Find(const std::string& className, const std::string& title) const {
    HWND h = ts::FindTopLevelWindow(pid_, className, title);
    EXPECT_NE(h, nullptr) << className << " " << title;
    return h;
  }

  bool started_ = false;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  std::vector<HWND> handles_;
};

}  // namespace mw
