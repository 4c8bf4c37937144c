// A walk over the files below a folder that lists ahead on a thread of its own while the caller
// uses the files listed so far: a walk over a tree of a million files neither waits for the whole
// listing before the first file nor holds all of it in memory, and the caller's windows stay
// responsive while it waits for the listing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "runtime/files.h"

namespace rt {

// Tests change a tree as another program could, at the moment a walk has listed all of it: the
// hook runs then, on the walk's listing thread, with the walk's folder, before the walk tells that
// its listing has ended (so a taker that waits for the whole listing has none of it yet). Null: none.
void SetWalkListedHookForTests(std::function<void(const std::string& folder)> hook);

class FileWalk {
 public:
  // The files FindFiles gives for these arguments, in its order. The listing stays at most about
  // `lookahead` files ahead of what has been taken. The root is resolved before the listing begins.
  FileWalk(const std::string& folder, std::string_view mask, bool includeStartFolder, size_t lookahead = 32768);
  // The same under a root the caller resolved (and checked) before: the folder is not resolved again.
  FileWalk(const WalkRoot& root, const std::string& folder, std::string_view mask, bool includeStartFolder,
           size_t lookahead = 32768);
  ~FileWalk();  // stops the listing
  FileWalk(const FileWalk&) = delete;
  FileWalk& operator=(const FileWalk&) = delete;

  // Moves the next files into `out` (emptied first): at least `atLeast` of them unless the walk
  // ends sooner, at most `atMost`. While it waits for the listing, the calling thread handles its
  // window messages. False when no file is left. One thread takes.
  bool Take(std::vector<FoundFile>& out, size_t atLeast = 1, size_t atMost = 8192);

  // The walk's root as it resolved at the start: what the walk erases must lie below it.
  const WalkRoot& Root() const { return root_; }

 private:
  // One folder's files as the lister read them: not yet matched against the mask, sorted or
  // given their paths. The lister only reads (the system lists one folder at a time, whatever the
  // threads); a second thread prepares what it has read, and the taker's thread only takes.
  struct Folder {
    std::string path;
    std::wstring wide;  // the path itself, only where `path` lost some of its letters
    std::vector<FileEntry> files;
  };
  void List(std::string root, bool includeStartFolder);
  bool Publish(Folder& folder);  // false once the walk is stopped
  void PrepareListed();          // the second thread: listed_ onto ready_

  const WalkRoot root_;
  std::string mask_;
  size_t lookahead_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE room_ = CONDITION_VARIABLE_INIT;         // the lister waits for room here
  CONDITION_VARIABLE listedReady_ = CONDITION_VARIABLE_INIT;  // the preparer waits for folders here
  HANDLE filesReady_;                                         // the taker waits for files here
  std::deque<Folder> listed_;                 // listed, not yet prepared
  std::deque<std::vector<FoundFile>> ready_;  // prepared, not yet taken
  size_t queued_ = 0;    // files in listed_ and ready_
  size_t prepared_ = 0;  // files in ready_
  size_t wanted_ = 0;    // files the taker waits for; 0 when it does not wait
  bool listingEnded_ = false, ended_ = false, stop_ = false;
  std::deque<FoundFile> taken_;  // the taker's: taken from ready_, not yet handed out
  std::thread lister_, preparer_;
};

}  // namespace rt
