#include "runtime/parallel.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/pump.h"

namespace rt {

void ParallelInOrder(size_t n, const std::function<DWORD(size_t)>& work,
                     const std::function<void(size_t, DWORD)>& done, int threads) {
  if (n == 0) return;
  struct Slot {
    std::atomic<bool> ready{false};
    DWORD result = 0;
  };
  std::unique_ptr<Slot[]> slots(new Slot[n]);
  std::atomic<size_t> next{0}, finished{0};
  // Signalled once, when the last result is in. Every signal is a round trip through the system
  // (under Wine, through the one server process that also opens and deletes the files), so the
  // workers do not signal each result: the calling thread takes the results that are ready every
  // few milliseconds, and its window messages wake it at once.
  HANDLE allDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::vector<std::thread> pool;
  int count = static_cast<int>(std::clamp<size_t>(threads < 1 ? 1 : threads, 1, n));  // no idle threads
  for (int t = 0; t < count; ++t) {
    pool.emplace_back([&] {
      NoYieldHere quiet;
      for (size_t i; (i = next++) < n;) {
        WaitForWindowWork();
        slots[i].result = work(i);
        slots[i].ready.store(true, std::memory_order_release);
        if (++finished == n) SetEvent(allDone);
      }
    });
  }
  for (size_t i = 0; i < n;) {
    if (slots[i].ready.load(std::memory_order_acquire)) {
      done(i, slots[i].result);
      ++i;
      YieldIfDue();
      continue;
    }
    WaitHandlingMessages(allDone, 10);
  }
  for (auto& t : pool) t.join();
  CloseHandle(allDone);
}

}  // namespace rt
