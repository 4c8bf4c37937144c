#include "runtime/parallel.h"

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
  std::atomic<size_t> next{0};
  std::atomic<bool> stop{false};
  HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::vector<std::thread> pool;
  int count = threads < 1 ? 1 : threads;
  for (int t = 0; t < count; ++t) {
    pool.emplace_back([&] {
      NoYieldHere quiet;
      for (size_t i; !stop && (i = next++) < n;) {
        slots[i].result = work(i);
        slots[i].ready.store(true, std::memory_order_release);
        SetEvent(wake);
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
    // Wait for the next result, handling the window's messages meanwhile.
    if (MsgWaitForMultipleObjects(1, &wake, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) DoEvents();
  }
  stop = true;
  for (auto& t : pool) t.join();
  CloseHandle(wake);
}

}  // namespace rt
