#include "runtime/pump.h"

#include <atomic>

namespace rt {

namespace {
std::function<bool(MSG&)>& Filter() {
  static std::function<bool(MSG&)> f;
  return f;
}
bool g_quit = false;
thread_local bool t_noYield = false;
int g_quitCode = 0;
DWORD g_lastYield = 0;

void Dispatch(MSG& msg) {
  if (Filter() && Filter()(msg)) return;
  TranslateMessage(&msg);
  if (msg.message == WM_PAINT) {
    WindowWorkFirst first;
    DispatchMessageA(&msg);
    return;
  }
  DispatchMessageA(&msg);
}

std::atomic<int> g_windowWork{0};
SRWLOCK g_windowWorkLock = SRWLOCK_INIT;
CONDITION_VARIABLE g_windowWorkDone = CONDITION_VARIABLE_INIT;
}  // namespace

bool DoEvents() {
  if (t_noYield) return true;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_quit = true;
      g_quitCode = static_cast<int>(msg.wParam);
      PostQuitMessage(g_quitCode);  // leave it for the outer loop
      return false;
    }
    Dispatch(msg);
  }
  g_lastYield = GetTickCount();
  return !g_quit;
}

bool WaitHandlingMessages(HANDLE handle, DWORD timeoutMs) {
  if (t_noYield) return WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
  DWORD start = GetTickCount();
  for (;;) {
    DWORD spent = GetTickCount() - start;
    DWORD left = timeoutMs == INFINITE ? INFINITE : spent >= timeoutMs ? 0 : timeoutMs - spent;
    // MWMO_INPUTAVAILABLE: messages that arrived while the thread was busy count too.
    DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    if (!DoEvents()) return false;  // the program is ending
  }
}

WindowWorkFirst::WindowWorkFirst() { ++g_windowWork; }

WindowWorkFirst::~WindowWorkFirst() {
  if (--g_windowWork > 0) return;
  // Taken and released first, so that no worker is between its look at the count and its sleep.
  AcquireSRWLockExclusive(&g_windowWorkLock);
  ReleaseSRWLockExclusive(&g_windowWorkLock);
  WakeAllConditionVariable(&g_windowWorkDone);
}

void WaitForWindowWork() {
  if (g_windowWork.load() == 0) return;
  DWORD start = GetTickCount();
  AcquireSRWLockExclusive(&g_windowWorkLock);
  while (g_windowWork.load() > 0 && GetTickCount() - start < 250)
    SleepConditionVariableSRW(&g_windowWorkDone, &g_windowWorkLock, 25, 0);
  ReleaseSRWLockExclusive(&g_windowWorkLock);
}

NoYieldHere::NoYieldHere() { t_noYield = true; }
NoYieldHere::~NoYieldHere() { t_noYield = false; }

bool YieldIfDue(unsigned intervalMs) {
  if (t_noYield) return true;
  DWORD now = GetTickCount();
  if (now - g_lastYield < intervalMs) return !g_quit;
  return DoEvents();
}

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
      g_quit = true;
      return static_cast<int>(msg.wParam);
    }
    if (r == -1) return -1;
    Dispatch(msg);
  }
}

void SetMessageFilter(std::function<bool(MSG&)> filter) { Filter() = std::move(filter); }

bool QuitRequested() { return g_quit; }

void ResetQuitForTests() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  g_quit = false;
  g_quitCode = 0;
  g_lastYield = 0;
}

}  // namespace rt
