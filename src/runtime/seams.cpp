#include "runtime/seams.h"

#include <shellapi.h>

namespace rt {

namespace {
std::optional<SYSTEMTIME>& FixedClock() {
  static std::optional<SYSTEMTIME> fixed;
  return fixed;
}
std::function<int(const MessageBoxCall&)>& BoxHandler() {
  static std::function<int(const MessageBoxCall&)> h;
  return h;
}
std::function<INT_PTR(const ProcessStart&)>& StartHandler() {
  static std::function<INT_PTR(const ProcessStart&)> h;
  return h;
}
std::function<void(int)>& ExitHandler() {
  static std::function<void(int)> h;
  return h;
}
std::function<void(HWND, const std::string&, bool)>& HoldHandler() {
  static std::function<void(HWND, const std::string&, bool)> h;
  return h;
}
FARPROC User32Entry(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}
}  // namespace

void ExitProgram(int code) {
  if (ExitHandler()) {
    ExitHandler()(code);
    return;
  }
  ExitProcess(static_cast<UINT>(code));
}

void SetExitHandler(std::function<void(int)> handler) { ExitHandler() = std::move(handler); }

void HoldSessionEnd(HWND window, const std::string& reason) {
  if (HoldHandler()) HoldHandler()(window, reason, true);
  using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
  auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(User32Entry("ShutdownBlockReasonCreate")));
  if (!create || !window) return;
  int n = MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, nullptr, 0);
  if (n <= 0) return;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide.data(), n);
  create(window, wide.c_str());
}

void ReleaseSessionEnd(HWND window) {
  if (HoldHandler()) HoldHandler()(window, "", false);
  using Destroy = BOOL(WINAPI*)(HWND);
  auto destroy = reinterpret_cast<Destroy>(reinterpret_cast<void*>(User32Entry("ShutdownBlockReasonDestroy")));
  if (destroy && window) destroy(window);
}

void SetSessionHoldHandler(std::function<void(HWND, const std::string&, bool)> handler) {
  HoldHandler() = std::move(handler);
}

SYSTEMTIME Now() {
  if (FixedClock()) return *FixedClock();
  SYSTEMTIME st;
  GetLocalTime(&st);
  return st;
}

void SetClockForTests(std::optional<SYSTEMTIME> fixed) { FixedClock() = fixed; }

int MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
  if (BoxHandler()) return BoxHandler()(MessageBoxCall{owner, text, title, style});
  return MessageBoxA(owner, text.c_str(), title.c_str(), style);
}

void SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler) {
  BoxHandler() = std::move(handler);
}

bool StartProcess(const std::string& commandLine, int show) {
  if (StartHandler()) {
    ProcessStart p;
    p.commandLine = commandLine;
    p.show = show;
    return StartHandler()(p) != 0;
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  // Wine starts a host (Unix) program without handles: hProcess stays 0 and hThread holds
  // whatever it left there, which may be the number of one of our own handles.
  if (pi.hProcess) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return true;
}

INT_PTR ShellExecuteText(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder, int show) {
  if (StartHandler()) {
    ProcessStart p;
    p.verb = verb;
    p.file = file;
    p.parameters = parameters;
    p.folder = folder;
    p.show = show;
    p.viaShell = true;
    return StartHandler()(p);
  }
  auto r = ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                         parameters.empty() ? nullptr : parameters.c_str(),
                         folder.empty() ? nullptr : folder.c_str(), show);
  return reinterpret_cast<INT_PTR>(r);
}

void SetProcessStartHandler(std::function<INT_PTR(const ProcessStart&)> handler) {
  StartHandler() = std::move(handler);
}

}  // namespace rt
