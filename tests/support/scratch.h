// What every test stands on: a scratch folder of its own inside the prefix's drive C:, a scratch
// program folder inside it (the program's folder for the code under test), an empty settings key,
// and message boxes, process starts and modal dialogs that never reach the screen or the system.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ts {

std::string Scratch();     // C:\velk-tests\<test program>\<suite>.<test>, empty at the test's start
std::string ProgramDir();  // Scratch()\program, the program folder of the code under test

// Writes bytes to a file (folders created), failing the test when that does not work.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);  // "" when missing
bool Exists(const std::string& path);

// The host path behind a Windows path (Wine's own mapping).
std::string UnixPath(const std::string& windowsPath);
// Makes a symbolic link on the host, as a user's tools would: `link` pointing at `target`.
void HostLink(const std::string& target, const std::string& link);
// The same, for a link named exactly `name` in `folder`, even where another entry of the folder
// has that name in other letter case (the host tells the two apart).
void HostLinkNamed(const std::string& target, const std::string& folder, const std::string& name);
// Removes a host link itself (the platform's deletion would reach for its target).
void HostUnlink(const std::string& link);

// Files whose names the ANSI code page may not spell, made and looked at by their wide names.
void WriteWideFile(const std::wstring& path, const std::string& bytes);
bool WideExists(const std::wstring& path);

// Changes a tree the moment a walk over `folder` (and no other) has listed it, before the walk
// hands its files over, as another program could: `change` runs once, on the walk's thread.
class OnWalkListed {
 public:
  OnWalkListed(const std::string& folder, std::function<void()> change);
  ~OnWalkListed();
  OnWalkListed(const OnWalkListed&) = delete;
  OnWalkListed& operator=(const OnWalkListed&) = delete;
  bool Ran() const;
};

// Changes a folder as another program could, around the program's resolutions of it (the roots of
// its walks and of the folders it looks up, in the order they come; the folder named in any case,
// with or without a closing "\"): `change` runs once, just before the resolution numbered
// `nth` (from 1), or just after it.
class AroundResolving {
 public:
  enum When { kBefore, kAfter };
  AroundResolving(const std::string& folder, int nth, When when, std::function<void()> change);
  ~AroundResolving();
  AroundResolving(const AroundResolving&) = delete;
  AroundResolving& operator=(const AroundResolving&) = delete;
  bool Ran() const;
};

// Changes the disk as another program could, the moment before an erase opens the listed file at
// `path` (and no other) to erase it: `change` runs once, on the erasing thread.
class BeforeErasing {
 public:
  BeforeErasing(const std::string& path, std::function<void()> change);
  ~BeforeErasing();
  BeforeErasing(const BeforeErasing&) = delete;
  BeforeErasing& operator=(const BeforeErasing&) = delete;
  bool Ran() const;
};

// Someone who keeps a file open and shares everything: the file's content stays readable through
// it after the file was overwritten and deleted.
class Watcher {
 public:
  explicit Watcher(const std::string& path);
  ~Watcher();
  Watcher(const Watcher&) = delete;
  Watcher& operator=(const Watcher&) = delete;
  std::string Seen();  // the whole content as it is now; then the watcher lets the file go

 private:
  void* handle_;
};

// The one reset of everything a test could leave behind in the process: the windows (their
// default instances thrown away), the message pump's quit state, the random engine's sequence,
// the URL-cache walk, the test hooks and seams (clock, command line, message boxes, dialogs,
// process starts, exits, the clipboard), the scratch folder with its program folder and the
// registry keys below. Run before every test; a test that needs a clean start in the middle calls
// it too.
void ResetProcessState();

// The registry keys every test starts without (the program's settings and the editor's key).
const std::vector<std::string>& ResetKeysHKLM();
void ResetRegistry();

// Message boxes and process starts seen during the current test.
struct Seen {
  std::vector<std::string> messageBoxes;  // the texts
  std::vector<std::string> starts;        // command lines, or "verb|file|parameters|folder"
  std::vector<int> exits;                 // the program asked to end (with this code)
  std::vector<std::string> dialogs;       // input boxes, file dialogs and folder pickers: their titles
};
Seen& Observed();

}  // namespace ts
