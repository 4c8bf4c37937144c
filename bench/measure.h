// What the benchmark programs share: the clock, the process's peak memory, how late the window's
// messages are handled (the longest stall of the user-interface thread), and the command line.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/pump.h"

namespace bench {

inline double Seconds() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / f.QuadPart;
}

inline double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.PeakWorkingSetSize / 1048576.0;
}

// A window of the user-interface thread that sees how late its messages are handled: another
// thread posts one every 10 ms with the time it was sent, in microseconds since the meter started
// (a message parameter of 32 bits holds no more than 71 minutes of them).
struct StallMeter {
  static constexpr UINT kPing = WM_APP + 77;
  HWND window = nullptr;
  HANDLE thread = nullptr;
  volatile bool stop = false;
  double worst = 0;
  double origin = 0;
  static inline StallMeter* self = nullptr;

  double Elapsed() const { return Seconds() - origin; }
  void Start() {
    self = this;
    origin = Seconds();
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
      if (m == kPing) {
        double sent = static_cast<double>(w) / 1e6;
        self->worst = std::max(self->worst, self->Elapsed() - sent);
        return 0;
      }
      return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelkStallMeter";
    RegisterClassA(&wc);
    window = CreateWindowA("VelkStallMeter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    thread = CreateThread(nullptr, 0, [](LPVOID p) WINAPI -> DWORD {
      auto* m = static_cast<StallMeter*>(p);
      while (!m->stop) {
        PostMessageA(m->window, kPing, static_cast<WPARAM>(m->Elapsed() * 1e6), 0);
        Sleep(10);
      }
      return 0;
    }, this, 0, nullptr);
    Sleep(50);
    rt::DoEvents();
    worst = 0;
  }
  void Stop() {
    stop = true;
    WaitForSingleObject(thread, 1000);
    rt::DoEvents();
  }
};

// The program's arguments in the ANSI code page, the program itself first.
inline std::vector<std::string> Arguments() {
  int argc = 0;
  LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    char buf[1024];
    WideCharToMultiByte(CP_ACP, 0, wargv[i], -1, buf, sizeof buf, nullptr, nullptr);
    args.push_back(buf);
  }
  LocalFree(wargv);
  return args;
}

}  // namespace bench
