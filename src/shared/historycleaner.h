// The history cleaner: our own stand-in for the outside component that the Internet-history erase
// calls first. It erases the browser's own history, the "Visited:" entries of the URL cache, and
// nothing else: no content, no cookies.
#pragma once

#include <string>

class HistoryCleaner {
 public:
  // Deletes every "Visited:" entry of the URL cache. True when none is left that could not go.
  bool ClearHistory();

  static constexpr const char* kHistoryPrefix = "Visited:";
};
