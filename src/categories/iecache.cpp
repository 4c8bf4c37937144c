// Internet Explorer's temporary Internet files (code 2): the content entries of the URL cache and
// the files the cache keeps for them. Cookies and history entries are never taken here, and a
// file is touched only where it lies in the cache folder.
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <functional>
#include <map>

#include "categories/categories.h"
#include "forms/forms.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/parallel.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/historycleaner.h"
#include "shared/settings.h"
#include "shared/urlcache.h"
#include "shared/wipe.h"

namespace categories {

namespace {
const char kCacheRow[] = "Internet Explorer Temp File = ";
const char kRemovingLine[] = "Removing : ";
const char kCookiePrefix[] = "Cookie:";

bool IsCookieOrHistory(const std::string& url, DWORD type) {
  return (type & (COOKIE_CACHE_ENTRY | URLHISTORY_CACHE_ENTRY)) || rt::StartsWithNoCase(url, kCookiePrefix) ||
         rt::StartsWithNoCase(url, HistoryCleaner::kHistoryPrefix);
}

std::string InternetCacheFolder() {
  std::string folder = rt::WithoutTrailingSlash(ShellFolderPath(nullptr, CSIDL_INTERNET_CACHE));  // never made
  return rt::IsAbsolutePath(folder) ? folder : std::string();
}

// Where the local files of the cache lie, and whether a file lies there: the folder it is in must
// resolve to a place inside the cache folder (a linked sub-folder leading elsewhere does not).
class CacheFolder {
 public:
  CacheFolder() {
    std::string folder = InternetCacheFolder();
    if (!folder.empty()) {
      text_ = folder;
      resolved_ = rt::ResolvedFolderPath(folder);
    }
  }
  bool Holds(const std::string& file) {
    if (resolved_.empty() || !rt::IsAbsolutePath(file) || rt::HasWildcardInName(file)) return false;
    std::string parent = rt::ParentFolder(file);
    auto it = parents_.find(parent);
    if (it == parents_.end()) it = parents_.emplace(parent, rt::ResolvedFolderPath(parent)).first;
    // A folder that is gone holds no file to touch: its text alone says where it was.
    return it->second.empty() ? rt::IsInsideFolder(parent, text_) : rt::IsInsideFolder(it->second, resolved_);
  }

 private:
  std::string text_, resolved_;
  std::map<std::string, std::string> parents_;
};

// Fills the value list (the entries' local files, or their addresses) and the address list from
// the URL cache, leaving out cookies and history; an item's data is 1 when its local file lies in
// the cache folder (the only files the category touches). The listing's byte sum is the sizes the
// cache has on record: the files themselves are looked at when they are counted.
void ListUrlCache(RunContext& run) {
  run.Lists().values.Clear();
  run.Lists().cacheAddresses.Clear();
  CacheFolder cache;
  uint64_t bytes = 0;
  for (bool more = CacheFindFirst(); more; more = CacheFindNext()) {
    rt::YieldIfDue();
    DWORD type = CacheEntryType();
    std::string url = CacheSourceUrl(), local = CacheLocalFileName();
    if (!(type & NORMAL_CACHE_ENTRY) || url.empty() || IsCookieOrHistory(url, type)) continue;
    std::string name = local.empty() ? url : local;
    if (rt::Trim(name).empty() || rt::EndsWithNoCase(name, ".txt")) continue;
    // An entry whose file lies outside the cache folder is none of this category's: deleting the
    // entry would delete that file.
    bool inCache = !local.empty() && cache.Holds(local);
    if (!local.empty() && !inCache) continue;
    int i = run.Lists().values.AddItem(name);
    run.Lists().values.SetItemData(i, inCache ? 1 : 0);
    run.Lists().cacheAddresses.AddItem(url);
    if (inCache) bytes += CacheEntrySize();
  }
  CacheFindClose();
  run.AddCacheBytes(bytes);
}

void CacheEntries(RunContext& run, bool erase) {
  run.Lists().removing.Clear();  // lives for one call: it does not grow for the program's lifetime
  const rt::WalkRoot root(InternetCacheFolder());  // as it resolves before the walk
  ListUrlCache(run);
  const std::vector<std::string> names = run.Lists().values.Items(), urls = run.Lists().cacheAddresses.Items();
  const size_t n = std::min(names.size(), urls.size());
  std::vector<char> inCache(n);
  for (size_t i = 0; i < n; ++i) inCache[i] = run.Lists().values.ItemData(static_cast<int>(i)) == 1;
  // "secure_clean" on: the category overwrites the files itself (with secure erasing on).
  const int passes = erase && settings::IsOn("", settings::kSecureClean) ? SecureErasePasses() : 0;
  Overwrite overwrite;
  if (passes > 0) overwrite = [passes](HANDLE h) { return WipeOpenFile(h, passes); };
  std::vector<uint64_t> sizes(n);

  // What one entry asks of the file system and the cache; safe on any thread. The test run only
  // looks.
  SRWLOCK cacheLock = SRWLOCK_INIT;  // one thread at a time in the cache (see below)
  auto act = [&](size_t i) -> DWORD {
    const std::string& name = names[i];
    if (!erase) {
      if (inCache[i]) rt::FileSize64(name, sizes[i]);  // 0 when it is missing or a folder
      return 0;
    }
    auto deleteEntry = [&]() -> DWORD {
      DWORD err = 0;
      AcquireSRWLockExclusive(&cacheLock);
      bool gone = CacheDeleteEntry(urls[i], &err) || rt::Gone(err);
      ReleaseSRWLockExclusive(&cacheLock);
      return gone ? 0 : err;
    };
    if (!inCache[i]) return deleteEntry();  // an entry without a file of its own goes by its address
    // The cache deletes an entry's file with the entry, by its path, and would follow a link to do
    // it: the entry goes only while its file is held open, after the link and root checks (nothing
    // else takes its name meanwhile), and the file itself goes through that handle. A file that
    // cannot go (held by another program, a link, one that could not even be looked at) keeps its
    // entry, so that a later run finds it again; an entry that cannot go keeps its file.
    // Its size is asked of the file it erases, once its entry has gone.
    DWORD err = EraseOneFileWith(rt::FoundFile{name}, true, overwrite, &root, deleteEntry, &sizes[i]);
    if (err != ERROR_FILE_NOT_FOUND) return err;
    // No file by that name: the name is held by an empty file of this run's own while the entry
    // goes, so that the cache's deletion meets that file, never a link put there meanwhile. A name
    // that something has after all (a link that leads nowhere) keeps its entry. Where even the
    // folder is gone, nothing of the path is there to follow.
    HANDLE held = rt::HoldFreeName(rt::FoundFile{name}, &err, &root);
    if (held == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? deleteEntry() : err;
    err = deleteEntry();
    CloseHandle(held);
    return err;
  };
  int64_t count = 0;
  uint64_t bytes = 0;
  auto report = [&](size_t i, DWORD err) {
    run.AddDetailRow(kCacheRow + names[i] + RunContext::RowEnd(err == 0, "  "));
    if (!err) {
      ++count;
      bytes += sizes[i];
    }
    run.Lists().removing.AddItem(kRemovingLine + names[i]);
  };
  if (erase) {
    // The cache serves one call at a time, and under Wine every wait and wake on its lock is a
    // round trip through the server: two threads calling it at once erase a large cache at half
    // speed. So the two threads that erase take turns at the cache under a lock of our own, and
    // each opens, checks and deletes its files while the other is in the cache; this thread
    // handles the window.
    rt::ParallelInOrder(n, act, report, 2);
  } else {
    for (size_t i = 0; i < n; ++i) {
      rt::YieldIfDue();
      report(i, act(i));
    }
  }
  run.AddFileCount(count);
  run.AddFileSize(bytes);
}
}  // namespace

void t8(RunContext& run) { CacheEntries(run, false); }

void c8(RunContext& run) { CacheEntries(run, true); }

}  // namespace categories
