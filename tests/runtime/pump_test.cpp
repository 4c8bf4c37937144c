#include "runtime/pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "runtime/random.h"
#include "support/scratch.h"

namespace {

TEST(Pump, DoEventsHandlesWaitingMessages) {
  static int handled = 0;
  handled = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
    if (m == WM_APP) ++handled;
    return DefWindowProcA(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PumpTestWindow";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("PumpTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  PostMessageA(w, WM_APP, 0, 0);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_EQ(handled, 0);
  EXPECT_TRUE(rt::DoEvents());
  EXPECT_EQ(handled, 2);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_TRUE(rt::YieldIfDue(1000000));  // not due: nothing handled yet
  EXPECT_EQ(handled, 2);
  EXPECT_TRUE(rt::YieldIfDue(0));
  EXPECT_EQ(handled, 3);

  // A wait handles the messages that were already waiting and those that come while it waits,
  // and ends when its handle is signalled or its time is up.
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_FALSE(rt::WaitHandlingMessages(done, 30));
  EXPECT_EQ(handled, 4);
  std::thread other([&] {
    Sleep(20);
    PostMessageA(w, WM_APP, 0, 0);
    Sleep(20);
    SetEvent(done);
  });
  EXPECT_TRUE(rt::WaitHandlingMessages(done, 5000));  // true: ended by the handle, not by its time
  EXPECT_EQ(handled, 5);
  other.join();
  // A worker thread's wait only waits.
  std::thread([&] {
    rt::NoYieldHere quiet;
    EXPECT_TRUE(rt::WaitHandlingMessages(done, 0));
  }).join();
  CloseHandle(done);
  DestroyWindow(w);
}

// What one test leaves of the pump and the random numbers is gone for the next: a quit it saw
// (after which every yield says the program is ending) or left waiting in the queue, and where it
// left the random sequence.
TEST(ProcessReset, ForgetsAQuitAndStartsTheRandomNumbersOver) {
  PostQuitMessage(3);
  EXPECT_FALSE(rt::DoEvents());
  EXPECT_TRUE(rt::QuitRequested());
  ts::ResetProcessState();
  EXPECT_FALSE(rt::QuitRequested());
  EXPECT_TRUE(rt::DoEvents());
  PostQuitMessage(4);  // not yet seen by any loop
  ts::ResetProcessState();
  EXPECT_TRUE(rt::DoEvents());
  EXPECT_FALSE(rt::QuitRequested());

  const std::string first = rt::RandomDigits(32);
  rt::RandomDigits(32);
  ts::ResetProcessState();
  EXPECT_EQ(rt::RandomDigits(32), first);
}

TEST(Pump, WorkersWaitWhileTheWindowWorks) {
  std::thread([] { rt::WaitForWindowWork(); }).join();  // nothing to wait for
  std::atomic<bool> done{false};
  std::thread worker;
  {
    rt::WindowWorkFirst first;
    worker = std::thread([&] {
      rt::WaitForWindowWork();
      done = true;
    });
    Sleep(60);
    EXPECT_FALSE(done) << "the worker waits while the window works";
  }
  worker.join();  // the window's work has ended: the worker goes on
  EXPECT_TRUE(done);
  // A window that works on and on does not hold the workers back for ever.
  rt::WindowWorkFirst longWork;
  std::thread([] { rt::WaitForWindowWork(); }).join();
}

}  // namespace

#include <atomic>
#include <set>

#include "runtime/parallel.h"

namespace {

TEST(Parallel, ResultsComeBackInOrderOnTheCallingThread) {
  const size_t n = 500;
  std::atomic<int> calls{0};
  std::vector<size_t> order;
  std::set<DWORD> workerThreads;
  DWORD me = GetCurrentThreadId();
  std::vector<DWORD> ranOn(n);
  bool doneOnCaller = true;
  rt::ParallelInOrder(
      n,
      [&](size_t i) {
        ++calls;
        ranOn[i] = GetCurrentThreadId();
        if (i % 7 == 0) Sleep(1);  // results arrive out of order
        return static_cast<DWORD>(i * 2);
      },
      [&](size_t i, DWORD r) {
        doneOnCaller = doneOnCaller && GetCurrentThreadId() == me;
        EXPECT_EQ(r, i * 2);
        order.push_back(i);
      },
      3);
  EXPECT_EQ(calls.load(), static_cast<int>(n));
  EXPECT_TRUE(doneOnCaller);
  for (size_t i = 0; i < n; ++i) ASSERT_EQ(order[i], i);
  for (DWORD t : ranOn) workerThreads.insert(t);
  EXPECT_EQ(workerThreads.count(me), 0u);
  rt::ParallelInOrder(0, [](size_t) { return DWORD{0}; }, [](size_t, DWORD) { FAIL(); });
}

}  // namespace
