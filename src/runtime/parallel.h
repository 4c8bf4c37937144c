// Work that waits on the system more than on the processor (deleting thousands of files) goes
// faster on a few threads. The results still come back one by one, in order, on the calling
// thread, which keeps handling its window messages while it waits.
#pragma once

#include <windows.h>

#include <functional>

namespace rt {

// Runs work(i) for every i in [0, n) on `threads` worker threads, and done(i, result) on the
// calling thread for i = 0, 1, 2, ... as each result is ready. work must be safe to run on any
// thread and must not touch windows.
void ParallelInOrder(size_t n, const std::function<DWORD(size_t)>& work,
                     const std::function<void(size_t, DWORD)>& done, int threads = 3);

}  // namespace rt
