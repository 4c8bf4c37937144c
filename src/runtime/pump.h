// The message loop and the yield that lets a long loop keep its windows alive.
#pragma once

#include <windows.h>

#include <functional>

namespace rt {

// Handles every message waiting in this thread's queue, then returns (nested calls are allowed).
// Returns false once WM_QUIT has been seen; the quit is posted again for the outer loop.
bool DoEvents();

// Like DoEvents, but at most about every `intervalMs` milliseconds: cheap enough to call for
// every item of a loop over many thousands of files.
bool YieldIfDue(unsigned intervalMs = 40);

// Waits until the handle is signalled (true) or the time is up (false), handling the thread's
// window messages as they come, also those that were already waiting. On a thread marked
// NoYieldHere it only waits.
bool WaitHandlingMessages(HANDLE handle, DWORD timeoutMs);

// The window's own work goes first. Under Wine every window operation is a round trip through the
// one server process that also opens and deletes every file: a refresh of a long list view takes a
// few hundred of them, and behind busy deleting threads each would wait its turn. While the window's
// thread holds a WindowWorkFirst, worker threads that call WaitForWindowWork before each item
// start no new one (they wait a quarter of a second at most).
class WindowWorkFirst {
 public:
  WindowWorkFirst();
  ~WindowWorkFirst();
  WindowWorkFirst(const WindowWorkFirst&) = delete;
  WindowWorkFirst& operator=(const WindowWorkFirst&) = delete;
};
void WaitForWindowWork();

// Worker threads have no windows to keep alive: on a thread marked so, the yields do nothing.
class NoYieldHere {
 public:
  NoYieldHere();
  ~NoYieldHere();
  NoYieldHere(const NoYieldHere&) = delete;
  NoYieldHere& operator=(const NoYieldHere&) = delete;
};

// The program's main loop; returns the exit code of WM_QUIT.
int RunMessageLoop();

// A filter run for each message before it is translated and dispatched (dialog keyboard
// handling of the forms layer); it returns true when it has handled the message.
void SetMessageFilter(std::function<bool(MSG&)> filter);

// True once WM_QUIT has come through one of the loops.
bool QuitRequested();

// Forgets a quit, as at the program's start: the quit seen and its code, the time of the last
// yield, and a WM_QUIT still waiting in this thread's queue (for tests, which share one process).
void ResetQuitForTests();

}  // namespace rt
