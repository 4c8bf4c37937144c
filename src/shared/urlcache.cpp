#include "shared/urlcache.h"

#include <wininet.h>

#include <cstring>

namespace {

struct Walk {
  HANDLE handle = nullptr;
  std::vector<char> buffer;  // the entry fetched last: one record and the texts it points to
  std::string url, localFile;
  DWORD type = 0;
  uint64_t size = 0;
};

Walk& State() {
  static Walk walk;
  return walk;
}

// A text the record points to, read only inside the buffer that holds it.
std::string TextAt(const std::vector<char>& buffer, const char* p) {
  const char* begin = buffer.data();
  const char* end = begin + buffer.size();
  if (!p || p < begin || p >= end) return "";
  const void* nul = memchr(p, '\0', static_cast<size_t>(end - p));
  return nul ? std::string(p, static_cast<const char*>(nul)) : std::string();
}

// Fetches one entry through `fetch` (FindFirst or FindNext) into the buffer. The buffer grows to
// the size the cache asks for, again if the entry grows between that answer and the fetch; at the
// end of the walk the cache says "no more items" and nothing is allocated.
template <class Fetch>
bool FetchEntry(Walk& w, Fetch fetch) {
  for (int tries = 0; tries < 16; ++tries) {
    DWORD size = static_cast<DWORD>(w.buffer.size());
    auto* info = w.buffer.empty() ? nullptr : reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(w.buffer.data());
    if (info) info->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
    if (fetch(info, &size)) {
      w.url = TextAt(w.buffer, info->lpszSourceUrlName);
      w.localFile = TextAt(w.buffer, info->lpszLocalFileName);
      w.type = info->CacheEntryType;
      w.size = (static_cast<uint64_t>(info->dwSizeHigh) << 32) | info->dwSizeLow;
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= w.buffer.size()) return false;
    w.buffer.assign(size, '\0');
  }
  return false;
}

}  // namespace

bool CacheFindFirst(const std::string& pattern) {
  Walk& w = State();
  CacheFindClose();
  const char* p = pattern.empty() ? nullptr : pattern.c_str();
  return FetchEntry(w, [&](INTERNET_CACHE_ENTRY_INFOA* info, DWORD* size) {
    // A buffer too small gives no walk handle: the next try starts the walk again.
    w.handle = FindFirstUrlCacheEntryA(p, info, size);
    return w.handle != nullptr;
  });
}

bool CacheFindNext() {
  Walk& w = State();
  if (!w.handle) return false;
  return FetchEntry(w, [&](INTERNET_CACHE_ENTRY_INFOA* info, DWORD* size) {
    // A buffer too small leaves the walk where it is.
    return FindNextUrlCacheEntryA(w.handle, info, size) != FALSE;
  });
}

void CacheFindClose() {
  Walk& w = State();
  if (w.handle) FindCloseUrlCache(w.handle);
  w.handle = nullptr;
}

void ResetCacheWalkForTests() {
  CacheFindClose();
  State() = Walk{};
}

std::string CacheLocalFileName() { return State().localFile; }

std::string CacheSourceUrl() { return State().url; }

DWORD CacheEntryType() { return State().type; }

uint64_t CacheEntrySize() { return State().size; }

bool CacheDeleteEntry(const std::string& url, DWORD* error) {
  DWORD dummy;
  DWORD& err = error ? *error : dummy;
  if (url.empty()) {
    err = ERROR_INVALID_PARAMETER;
    return false;
  }
  if (DeleteUrlCacheEntryA(url.c_str())) {
    err = 0;
    return true;
  }
  err = GetLastError();
  return false;
}

bool CacheDeleteList(const std::vector<std::string>& urls) {
  bool all = !urls.empty();
  for (const std::string& url : urls) all = CacheDeleteEntry(url) && all;
  return all;
}
