// What the benchmark programs share: the clock, the process's peak memory, how late the window's
// messages are handled (the longest stall of the user-interface thread), the command line, and
// the checked floor's open of a file.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <string_view>
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

// The checked floor: what a delete costs that must not follow a link, in bare platform calls. A
// file is opened for deletion without following a link the system knows as one
// (FILE_FLAG_OPEN_REPARSE_POINT), and the path the system opened is asked as the program asks it
// (the object's name, which Wine gives; the final path name otherwise): a host link, which Wine
// follows silently, opens its target elsewhere. The caller checks that path, then deletes through
// the handle (DeleteOpened) or lets another call take the file while the handle holds it.
inline std::wstring OpenedPath(HANDLE h) {
  using QueryObjectFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  struct Name {
    USHORT Length, MaximumLength;
    PWSTR Buffer;
  };
  static auto query = reinterpret_cast<QueryObjectFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject"));
  alignas(8) char buf[4096];
  ULONG got = 0;
  if (query && query(h, 1 /* ObjectNameInformation */, buf, sizeof buf, &got) == 0) {
    auto* name = reinterpret_cast<Name*>(buf);
    std::wstring_view w(name->Buffer, name->Length / sizeof(wchar_t));
    if (w.substr(0, 4) == L"\\??\\") return std::wstring(w.substr(4));
  }
  wchar_t final[2048];
  DWORD n = GetFinalPathNameByHandleW(h, final, 2048, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= 2048) return {};
  std::wstring_view f(final, n);
  return std::wstring(f.substr(0, 4) == L"\\\\?\\" ? f.substr(4) : f);
}

inline HANDLE OpenNoLink(const std::wstring& path) {
  return CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// True when `path` is `folder` or lies in it (letter case aside).
inline bool PathIn(std::wstring_view path, std::wstring_view folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(), static_cast<int>(folder.size()),
                           TRUE) != CSTR_EQUAL)
    return false;
  return path.size() == folder.size() || folder.back() == L'\\' || path[folder.size()] == L'\\';
}

inline bool SamePath(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

inline bool DeleteOpened(HANDLE h) {
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
}

// The path a folder resolves to, as the system opens it ("" when it cannot be opened).
inline std::wstring ResolvedFolder(const std::wstring& folder) {
  HANDLE h = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring resolved = OpenedPath(h);
  CloseHandle(h);
  while (resolved.size() > 3 && resolved.back() == L'\\') resolved.pop_back();
  return resolved;
}

inline std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

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
