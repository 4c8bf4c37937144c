#include "runtime/filewalk.h"

#include <algorithm>

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

bool FitsAnsiPath(const std::string& folder, const std::string& name) {
  bool slash = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  return folder.size() + (slash ? 0 : 1) + name.size() <= kMaxPath;
}
}  // namespace

FileWalk::FileWalk(const std::string& folder, std::string_view mask, bool includeStartFolder, size_t lookahead)
    : mask_(mask), lookahead_(std::max<size_t>(lookahead, 1)),
      filesListed_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  lister_ = std::thread(&FileWalk::List, this, folder, includeStartFolder);
}

FileWalk::~FileWalk() {
  {
    Locked hold(lock_);
    stop_ = true;
  }
  WakeAllConditionVariable(&room_);
  lister_.join();
  CloseHandle(filesListed_);
}

// Depth first, each folder's names sorted: the folder's own files, then each of its folders in
// turn. Linked folders are never entered; paths too long for the ANSI functions are skipped.
void FileWalk::List(std::string folder, bool includeStartFolder) {
  NoYieldHere quiet;
  std::string root = WithoutTrailingSlash(folder);
  std::vector<std::pair<std::string, bool>> stack;
  if (IsAbsolutePath(root) && !HasWildcard(root)) stack.emplace_back(root, includeStartFolder);
  std::vector<FileEntry> entries, subfolders;
  while (!stack.empty()) {
    {
      Locked hold(lock_);
      if (stop_) return;
    }
    auto [dir, takeFiles] = std::move(stack.back());
    stack.pop_back();
    if (!ReadFolder(dir, entries)) continue;
    Folder found{dir, {}};
    subfolders.clear();
    for (auto& e : entries) {
      if (!FitsAnsiPath(dir, e.name)) continue;
      if (e.IsFolder()) {
        if (!IsLink(e.attributes)) subfolders.push_back(std::move(e));
      } else if (takeFiles) {
        found.files.push_back(std::move(e));
      }
    }
    SortByName(subfolders);
    for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) stack.emplace_back(JoinPath(dir, it->name), true);
    if (!found.files.empty() && !Publish(found)) return;
  }
  Locked hold(lock_);
  ended_ = true;
  if (wanted_) SetEvent(filesListed_);
}

bool FileWalk::Publish(Folder& folder) {
  Locked hold(lock_);
  while (queued_ >= lookahead_ && !stop_) SleepConditionVariableSRW(&room_, &lock_, INFINITE, 0);
  if (stop_) return false;
  queued_ += folder.files.size();
  queue_.push_back(std::move(folder));
  // The taker is woken once it has what it waits for, not for every folder.
  if (wanted_ && queued_ >= wanted_) {
    wanted_ = 0;
    SetEvent(filesListed_);
  }
  return true;
}

void FileWalk::Prepare(Folder& folder) {
  std::erase_if(folder.files, [&](const FileEntry& e) { return !MatchesPattern(e.name, mask_); });
  SortByName(folder.files);
  for (auto& e : folder.files) ready_.push_back(FoundFile{JoinPath(folder.path, e.name), e.attributes, e.size});
}

bool FileWalk::Take(std::vector<FoundFile>& out, size_t atLeast, size_t atMost) {
  out.clear();
  atMost = std::max<size_t>(atMost, 1);
  atLeast = std::clamp<size_t>(atLeast, 1, atMost);
  std::deque<Folder> grabbed;
  for (;;) {
    while (!ready_.empty() && out.size() < atMost) {
      out.push_back(std::move(ready_.front()));
      ready_.pop_front();
    }
    if (out.size() >= atMost) break;
    bool ended;
    {
      Locked hold(lock_);
      // The folders listed so far, as many as the files still missing ask for.
      for (size_t files = 0; !queue_.empty() && files < atMost - out.size();) {
        files += queue_.front().files.size();
        queued_ -= queue_.front().files.size();
        grabbed.push_back(std::move(queue_.front()));
        queue_.pop_front();
      }
      ended = ended_ && queue_.empty();
      if (grabbed.empty() && !ended && out.size() < atLeast)
        wanted_ = std::min(atLeast - out.size(), lookahead_);
    }
    if (!grabbed.empty()) {
      WakeConditionVariable(&room_);
      for (Folder& f : grabbed) Prepare(f);
      grabbed.clear();
      continue;
    }
    if (ended || out.size() >= atLeast) break;
    // Wait for the lister, handling the window messages meanwhile.
    WaitHandlingMessages(filesListed_, 50);
  }
  return !out.empty();
}

}  // namespace rt
