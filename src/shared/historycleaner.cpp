#include "shared/historycleaner.h"

#include <vector>

#include "runtime/outcome.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/urlcache.h"

bool HistoryCleaner::ClearHistory() {
  // The walk first, the deletions after it: the walk is not disturbed by entries going.
  std::vector<std::string> visited;
  for (bool more = CacheFindFirst(kHistoryPrefix); more; more = CacheFindNext()) {
    rt::YieldIfDue();
    std::string url = CacheSourceUrl();
    if (rt::StartsWithNoCase(url, kHistoryPrefix)) visited.push_back(url);
  }
  CacheFindClose();
  bool ok = true;
  for (const std::string& url : visited) {
    rt::YieldIfDue();
    DWORD err = 0;
    if (!CacheDeleteEntry(url, &err) && !rt::Gone(err)) ok = false;
  }
  return ok;
}
