#include "runtime/filewalk.h"

#include <algorithm>
#include <iterator>

#include "runtime/pump.h"
#include "runtime/text.h"

namespace rt {

namespace {
class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

SRWLOCK g_hookLock = SRWLOCK_INIT;
std::function<void(const std::string&)> g_listedHook;

void RunListedHook(const std::string& folder) {
  AcquireSRWLockShared(&g_hookLock);
  auto hook = g_listedHook;
  ReleaseSRWLockShared(&g_hookLock);
  if (hook) hook(folder);
}

bool FitsAnsiPath(const std::string& folder, const std::string& name) {
  bool slash = EndsWithSlash(folder);
  return folder.size() + (slash ? 0 : 1) + name.size() <= kMaxPath;
}
}  // namespace

void SetWalkListedHookForTests(std::function<void(const std::string& folder)> hook) {
  AcquireSRWLockExclusive(&g_hookLock);
  g_listedHook = std::move(hook);
  ReleaseSRWLockExclusive(&g_hookLock);
}

FileWalk::FileWalk(const std::string& folder, std::string_view mask, bool includeStartFolder, size_t lookahead)
    : FileWalk(WalkRoot(folder), folder, mask, includeStartFolder, lookahead) {}

FileWalk::FileWalk(const WalkRoot& root, const std::string& folder, std::string_view mask, bool includeStartFolder,
                   size_t lookahead)
    : root_(root), mask_(mask), lookahead_(std::max<size_t>(lookahead, 1)),
      filesReady_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  lister_ = std::thread(&FileWalk::List, this, folder, includeStartFolder);
  preparer_ = std::thread(&FileWalk::PrepareListed, this);
}

FileWalk::~FileWalk() {
  {
    Locked hold(lock_);
    stop_ = true;
  }
  WakeAllConditionVariable(&room_);
  WakeAllConditionVariable(&listedReady_);
  lister_.join();
  preparer_.join();
  CloseHandle(filesReady_);
}

// Depth first, each folder's names sorted: the folder's own files, then each of its folders in
// turn. Linked folders are never entered; paths too long for the ANSI functions are skipped. A
// folder whose name the ANSI code page cannot spell is listed by its wide path.
void FileWalk::List(std::string folder, bool includeStartFolder) {
  NoYieldHere quiet;
  std::string root = WithoutTrailingSlash(folder);
  struct Pending {
    std::string path;
    std::wstring wide;
    bool takeFiles;
  };
  std::vector<Pending> stack;
  if (IsAbsolutePath(root) && !HasWildcard(root)) stack.push_back({root, {}, includeStartFolder});
  std::vector<FileEntry> entries, subfolders;
  while (!stack.empty()) {
    {
      Locked hold(lock_);
      if (stop_) break;
    }
    Pending dir = std::move(stack.back());
    stack.pop_back();
    if (!(dir.wide.empty() ? ReadFolder(dir.path, entries) : ReadFolder(dir.wide, entries))) continue;
    Folder found{dir.path, dir.wide, {}};
    subfolders.clear();
    for (auto& e : entries) {
      if (!FitsAnsiPath(dir.path, e.name)) continue;
      if (e.IsFolder()) {
        if (!IsLink(e.attributes)) subfolders.push_back(std::move(e));
      } else if (dir.takeFiles) {
        found.files.push_back(std::move(e));
      }
    }
    SortByName(subfolders);
    for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) {
      Pending sub{JoinPath(dir.path, it->name), {}, true};
      if (!dir.wide.empty() || !it->wide.empty())
        sub.wide = JoinPath(dir.wide.empty() ? ToWide(dir.path) : dir.wide, it->wide.empty() ? ToWide(it->name) : it->wide);
      stack.push_back(std::move(sub));
    }
    if (!found.files.empty() && !Publish(found)) break;
  }
  bool stopped;
  {
    Locked hold(lock_);
    stopped = stop_;
  }
  if (!stopped) RunListedHook(root);
  Locked hold(lock_);
  listingEnded_ = true;
  WakeConditionVariable(&listedReady_);
}

bool FileWalk::Publish(Folder& folder) {
  Locked hold(lock_);
  while (queued_ >= lookahead_ && !stop_) SleepConditionVariableSRW(&room_, &lock_, INFINITE, 0);
  if (stop_) return false;
  queued_ += folder.files.size();
  listed_.push_back(std::move(folder));
  WakeConditionVariable(&listedReady_);
  return true;
}

// The second stage, beside the listing: each listed folder's files matched against the mask,
// sorted and given their paths, one folder after another in the order they were listed.
void FileWalk::PrepareListed() {
  NoYieldHere quiet;
  for (;;) {
    Folder folder;
    {
      Locked hold(lock_);
      while (listed_.empty() && !listingEnded_ && !stop_) SleepConditionVariableSRW(&listedReady_, &lock_, INFINITE, 0);
      if (stop_) return;
      if (listed_.empty()) {  // the listing has ended and everything it listed is prepared
        ended_ = true;
        SetEvent(filesReady_);
        return;
      }
      folder = std::move(listed_.front());
      listed_.pop_front();
    }
    const size_t listed = folder.files.size();
    std::erase_if(folder.files, [&](const FileEntry& e) { return !NameMatches(e, mask_); });
    SortByName(folder.files);
    std::vector<FoundFile> files;
    files.reserve(folder.files.size());
    for (auto& e : folder.files) {
      files.push_back(FoundFile{JoinPath(folder.path, e.name), e.attributes, e.size});
      if (!folder.wide.empty() || !e.wide.empty())
        files.back().wide = JoinPath(folder.wide.empty() ? ToWide(folder.path) : folder.wide, e.wide.empty() ? ToWide(e.name) : e.wide);
    }
    Locked hold(lock_);
    queued_ -= listed - files.size();  // those the mask left out take no room
    prepared_ += files.size();
    ready_.push_back(std::move(files));
    // The taker is woken once it has what it waits for, not for every folder.
    if (wanted_ && prepared_ >= wanted_) {
      wanted_ = 0;
      SetEvent(filesReady_);
    }
    if (queued_ < lookahead_) WakeConditionVariable(&room_);
  }
}

bool FileWalk::Take(std::vector<FoundFile>& out, size_t atLeast, size_t atMost) {
  out.clear();
  atMost = std::max<size_t>(atMost, 1);
  atLeast = std::clamp<size_t>(atLeast, 1, atMost);
  for (;;) {
    while (!taken_.empty() && out.size() < atMost) {
      out.push_back(std::move(taken_.front()));
      taken_.pop_front();
    }
    if (out.size() >= atMost) break;
    bool ended, grabbed = false;
    {
      Locked hold(lock_);
      // The folders prepared so far, as many as the files still missing ask for.
      for (size_t files = 0; !ready_.empty() && files < atMost - out.size();) {
        std::vector<FoundFile>& f = ready_.front();
        files += f.size();
        queued_ -= f.size();
        prepared_ -= f.size();
        std::move(f.begin(), f.end(), std::back_inserter(taken_));
        ready_.pop_front();
        grabbed = true;
      }
      ended = ended_ && ready_.empty();
      if (!grabbed && !ended && out.size() < atLeast) wanted_ = std::min(atLeast - out.size(), lookahead_);
    }
    if (grabbed) {
      WakeConditionVariable(&room_);
      continue;
    }
    if (ended || out.size() >= atLeast) break;
    // Wait for the listing, handling the window messages meanwhile.
    WaitHandlingMessages(filesReady_, 50);
  }
  return !out.empty();
}

}  // namespace rt
