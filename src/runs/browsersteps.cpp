// The steps both runs take after the built-in categories: the clipboard (code 17), Opera's cookies,
// location-bar history and cache (18, 19, 20), and for every Netscape/Mozilla profile folder its
// location-bar history, cookies, history and cache (22, 23, 24, 21). The test run lists and counts;
// the erase run also empties the clipboard and deletes the files. The folders are those the
// erasing-settings window stored; a folder that is no profile folder (empty, relative, a drive's
// root, the Windows folder, ...) names no file: its steps give no row and no count.
#include <algorithm>

#include "categories/filelists.h"
#include "forms/forms.h"
#include "pluginengine/engine.h"
#include "runs/browserfolders.h"
#include "runs/run.h"
#include "runtime/clipboard.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/parallel.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/systemfolders.h"
#include "shared/wipe.h"

namespace {

const char kClipboardRow[] = "Cleaning Clipboard";
const char* const kNetscapeCodes[] = {"22", "23", "24", "21"};

bool SameFolder(const std::string& a, const std::string& b) {
  if (rt::EqualsNoCase(rt::WithoutTrailingSlash(a), rt::WithoutTrailingSlash(b))) return true;
  std::string ra = rt::ResolvedFolderPath(a);
  return !ra.empty() && ra == rt::ResolvedFolderPath(b);
}

}  // namespace

bool IsBrowserProfileFolder(const std::string& folder) {
  std::string f = rt::WithoutTrailingSlash(rt::Trim(folder));
  return plugins::IsSafePath(f, false) && !IsSystemFolder(f);
}

namespace {

// The Netscape/Mozilla profile folders: the numbered values "net0", "net1", ... up to the first
// missing one (at most 100), each trimmed, leaving out those that are no profile folder and those
// that name a folder taken before. The value "net" (what the window's box shows) is none of them.
std::vector<std::string> NetscapeProfiles() {
  std::vector<std::string> profiles;
  const std::string key = settings::KeyPath(settings::kOptionBrowser);
  for (int k = 0; k < 100; ++k) {
    std::string folder;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, key, settings::kNetscape + rt::NumberText(k), folder)) break;
    folder = rt::Trim(folder);
    if (!IsBrowserProfileFolder(folder)) continue;
    if (std::any_of(profiles.begin(), profiles.end(), [&](const std::string& p) { return SameFolder(p, folder); }))
      continue;
    profiles.push_back(folder);
  }
  return profiles;
}

}  // namespace

void runs::Run::BrowserSteps(bool erase) {
  if (settings::IsOn(settings::kOptionWin, "17")) {
    MarkStatus("17", true);
    bool ok = !erase || rt::ClearClipboard();
    AddDetailRow(kClipboardRow + RunContext::RowEnd(ok, "  "));
    MarkStatus("17", false);
  }

  const std::string opera = rt::Trim(settings::Read(settings::kOptionBrowser, settings::kOpera));
  BrowserFileStep("18", opera, {"cookies4.dat"}, "Cleaning Opera Cookies", erase);
  BrowserFileStep("19", opera, {"global.dat", "vlink4.dat", "opera.dir"}, "Cleaning Opera Location Bar History", erase);
  BrowserCacheStep("20", opera, "Cache4",
                   erase ? "Cleaning Opera Cach and History  " : "Cleaning Opera Cache and History  ", erase);

  const std::vector<std::string> profiles = NetscapeProfiles();
  for (const std::string& profile : profiles) {
    rt::YieldIfDue();
    if (Ended()) return;  // Windows ended the session meanwhile
    BrowserFileStep("22", profile, {"localstore.rdf"}, "Cleaning Netscape Location bar History", erase);
    BrowserFileStep("23", profile, {"cookies.txt"}, "Cleaning Netscape Cookies", erase);
    BrowserFileStep("24", profile, {"history.dat"}, "Cleaning Netscape History", erase);
    BrowserCacheStep("21", profile, "Cache", "Cleaning Netscape Cache and History  ", erase);
  }
  // No profile folder: the steps have nothing to do, and their rows are done all the same.
  if (profiles.empty())
    for (const char* code : kNetscapeCodes)
      if (settings::IsOn(settings::kOptionWin, code)) {
        MarkStatus(code, true);
        MarkStatus(code, false);
      }
}

// One step over fixed files of a browser folder: one row, and a fixed count of files whether they
// are there or not (less those that could not be erased); the bytes of those that are there. The
// folder is resolved once, before it is looked at: what it resolved to must be a profile folder too
// (a missing one holds nothing), and every file goes only where that folder holds it.
void runs::Run::BrowserFileStep(const char* code, const std::string& folder, const std::vector<const char*>& names,
                            const char* row, bool erase) {
  if (Ended() || !settings::IsOn(settings::kOptionWin, code)) return;
  MarkStatus(code, true);
  const rt::WalkRoot root(folder);
  const bool resolvedToOne = root.Resolved().empty() || IsBrowserProfileFolder(rt::ResolvedFolderPath(root));
  if (!IsBrowserProfileFolder(folder) || !resolvedToOne) {
    MarkStatus(code, false);
    return;
  }
  int64_t failed = 0;
  uint64_t bytes = 0;
  for (const char* name : names) {
    std::string path = rt::JoinPath(folder, name);
    DWORD attributes = rt::GetAttr(path);
    uint64_t size = 0;
    if (attributes == rt::kNoAttributes || !rt::FileSize64(path, size)) continue;  // missing, or a folder
    if (erase) {
      DWORD r = EraseOneFile(rt::FoundFile{path, attributes}, true, 0, &root);
      if (!rt::Gone(r)) {
        ++failed;
        continue;
      }
    }
    bytes += size;
  }
  AddFileCount(static_cast<int64_t>(names.size()) - failed);
  AddFileSize(bytes);
  AddDetailRow(row + RunContext::RowEnd(failed == 0, "  "));
  MarkStatus(code, false);
}

namespace {
// The cache folder as its root resolved: the profile folder's own sub-folder of that name, and
// not a link that leads elsewhere (the profile folder itself may be reached through one).
bool IsOwnCacheFolder(const rt::WalkRoot& cache, const std::string& folder, const char* name) {
  const std::wstring parent = rt::WalkRoot(folder).Resolved();
  if (parent.empty() || cache.Resolved().empty()) return false;
  return rt::SameName(rt::JoinPath(parent, rt::ToWide(name)), cache.Resolved());
}
}  // namespace

// A browser's cache folder: one row per file directly in it, every file deleted in the erase run,
// never overwritten first, as the browsers' other files. The folder is resolved once, before
// anything looks at it; a cache folder that resolves to anything but itself (a link) is not entered.
void runs::Run::BrowserCacheStep(const char* code, const std::string& folder, const char* cacheFolder,
                             const std::string& rowPrefix, bool erase) {
  if (Ended() || !settings::IsOn(settings::kOptionWin, code)) return;
  MarkStatus(code, true);
  std::string cache = rt::JoinPath(folder, cacheFolder);
  const rt::WalkRoot root(cache);  // before the listing: what it erases lies in this folder
  std::vector<rt::FileEntry> entries;
  bool listed = false;
  const DWORD attributes = IsBrowserProfileFolder(folder) ? rt::GetAttr(cache) : rt::kNoAttributes;
  if (attributes != rt::kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !rt::IsLink(attributes) &&
      IsOwnCacheFolder(root, folder, cacheFolder)) {
    // A cache of many thousand files takes a moment to list and sort: the window goes on meanwhile.
    rt::ParallelInOrder(
        1, [&](size_t) -> DWORD { return rt::ListFolder(cache, "*", rt::ListWhat::Files, entries) ? 0 : 1; },
        [&](size_t, DWORD r) { listed = r == 0; }, 1);
  }
  if (listed) {
    std::vector<rt::FoundFile> files;
    files.reserve(entries.size());
    for (const rt::FileEntry& e : entries) files.push_back(rt::FileIn(cache, e));
    entries = {};
    categories::ListOrEraseFiles(*this, files, root, erase, true, rowPrefix, " ", false);
  }
  MarkStatus(code, false);
}
