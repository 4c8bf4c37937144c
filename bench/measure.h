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
// (a message parameter of 32 bits holds no more than 71 minutes of them). Every delay is kept with
// the time its message was sent, so that the stalls of one stretch of a run (its log) can be told
// apart. Under Wine every message passes through the one server process that also opens and
// deletes every file: the posting thread keeps the longest time one post took as well, the time
// the server kept every program waiting, whatever the program did.
struct StallMeter {
  static constexpr UINT kPing = WM_APP + 77;
  HWND window = nullptr;
  HANDLE thread = nullptr;
  volatile bool stop = false;
  double worst = 0;
  double worstPost = 0;
  double origin = 0;
  std::vector<std::pair<double, double>> delays;  // (sent, as Seconds() gives it; delay)
  static inline StallMeter* self = nullptr;

  double Elapsed() const { return Seconds() - origin; }
  void Start() {
    self = this;
    origin = Seconds();
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
      if (m == kPing) {
        double sent = static_cast<double>(w) / 1e6;
        double delay = self->Elapsed() - sent;
        self->worst = std::max(self->worst, delay);
        self->delays.emplace_back(self->origin + sent, delay);
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
        double sent = m->Elapsed();
        PostMessageA(m->window, kPing, static_cast<WPARAM>(sent * 1e6), 0);
        m->worstPost = std::max(m->worstPost, m->Elapsed() - sent);
        Sleep(10);
      }
      return 0;
    }, this, 0, nullptr);
    Sleep(50);
    rt::DoEvents();
    worst = worstPost = 0;
    delays.clear();
    delays.reserve(1 << 16);
  }
  void Stop() {
    stop = true;
    WaitForSingleObject(thread, 1000);
    rt::DoEvents();
  }
  // The longest time a message sent in [from, to) waited within it (times as Seconds() gives them),
  // and when the message that waited longest was sent.
  double Worst(double from, double to) const {
    double w = 0;
    for (auto [sent, delay] : delays)
      if (sent + delay >= from && sent < to) w = std::max(w, std::min(delay, to - std::max(sent, from)));
    return w;
  }
  double WorstSent(double from, double to) const {
    double w = -1, at = from;
    for (auto [sent, delay] : delays)
      if (sent + delay >= from && sent < to && delay > w) w = delay, at = sent;
    return at;
  }
};

// The server's stalls alone, for the bare loops, which have no window: a thread that signals an
// event every 10 ms and keeps the longest time that took.
struct ServerMeter {
  HANDLE thread = nullptr;
  volatile bool stop = false;
  double worst = 0;
  void Start() {
    thread = CreateThread(nullptr, 0, [](LPVOID p) WINAPI -> DWORD {
      auto* m = static_cast<ServerMeter*>(p);
      HANDLE e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
      while (!m->stop) {
        double t = Seconds();
        SetEvent(e);
        m->worst = std::max(m->worst, Seconds() - t);
        Sleep(10);
      }
      CloseHandle(e);
      return 0;
    }, this, 0, nullptr);
  }
  void Stop() {
    stop = true;
    WaitForSingleObject(thread, 1000);
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
