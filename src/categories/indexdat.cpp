// The "index.dat" files (code 4) of the user's Cookies folder and of the history and cache
// folders of the user's profile. The erase overwrites and deletes them only with secure erasing
// on; without it, it lists and counts them as the test does. No search ever starts outside the
// user's profile folder.
#include <shlobj.h>

#include <algorithm>

#include "categories/categories.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/settings.h"
#include "shared/wipe.h"

namespace categories {

namespace {
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kIndexRow[] = "Index.dat";
const char kHistoryIndexRow[] = "index file Files = ";
const char kIndexFileRow[] = "index File = ";

std::string ShellFolderValue(const char* name) {
  std::string text;
  ReadRegString(HKEY_CURRENT_USER, kShellFolders, name, text);
  return text;
}

void IndexDat(RunContext& run, bool erase) {
  // The erase deletes only with secure erasing on: overwritten, then deleted.
  const int passes = erase ? SecureErasePasses() : 0;
  const bool wipe = passes > 0;
  std::string cookies = CookiesFolder(run, false);
  // Nothing of this category lies outside the user's profile folder.
  const rt::WalkRoot profileRoot(SpecialFolderPath(CSIDL_PROFILE));
  const std::string profile = rt::ResolvedFolderPath(profileRoot);

  // The Cookies folder's own index: one row, its size, no file count. A Cookies folder that lies
  // outside the profile holds no index of this category's: it is left as it is, and has no row.
  bool ok = true;
  uint64_t size = 0;
  std::string index = cookies.empty() ? "" : cookies + "\\index.dat";
  const std::string cookiesResolved = cookies.empty() ? "" : rt::ResolvedFolderPath(cookies);
  const bool inProfile = !profile.empty() && !cookiesResolved.empty() && rt::IsInsideFolder(cookiesResolved, profile);
  DWORD original = inProfile ? rt::GetAttr(index) : rt::kNoAttributes;
  if (original != rt::kNoAttributes && !(original & FILE_ATTRIBUTE_DIRECTORY)) {
    rt::FileSize64(index, size);
    if (wipe) {
      DWORD r = EraseOneFile(rt::FoundFile{index, original}, true, passes, &profileRoot);
      ok = rt::Gone(r);
    }
  }
  if (inProfile || cookiesResolved.empty()) {
    run.AddDetailRow(kIndexRow + RunContext::RowEnd(ok, "  "));
    if (ok) run.AddFileSize(size);
  }

  // Three searches, each only where its start lies inside the user's profile folder: a start
  // built on a missing base ("\history", "\") would search a whole drive.
  std::string localSettings = ShellFolderValue("Local Settings"), cache = ShellFolderValue("Cache");
  struct Search {
    std::string start;
    const char* row;
  } searches[] = {
      {cookies.empty() ? "" : rt::JoinPath(rt::ParentFolder(cookies), "Local Settings\\history"),
       erase ? kHistoryIndexRow : kIndexFileRow},
      {rt::Trim(localSettings).empty() ? "" : rt::JoinPath(localSettings, "history"), kIndexFileRow},
      {rt::Trim(cache).empty() ? "" : cache, kIndexFileRow},
  };
  // Where two searches cover one folder (the history folder is often both the first and the
  // second), a file is listed and counted once, in the test as in the erase.
  std::vector<rt::FoundFile> seen;
  for (const Search& search : searches) {
    if (profile.empty() || !rt::IsAbsolutePath(search.start)) continue;
    // The start is resolved once: what is checked is what is walked, and a folder swapped for a
    // link after the check erases nothing outside it.
    const rt::WalkRoot root(rt::WithoutTrailingSlash(search.start));
    std::string resolved = rt::ResolvedFolderPath(root);
    if (resolved.empty() || !rt::IsInsideFolder(resolved, profile)) continue;
    std::vector<rt::FoundFile> found;
    rt::FindFiles(root, search.start, "index.dat", true, found);
    int64_t count = 0;
    for (const rt::FoundFile& f : found) {
      rt::YieldIfDue();
      if (std::any_of(seen.begin(), seen.end(), [&](const rt::FoundFile& p) { return rt::SameFile(p, f); })) continue;
      seen.push_back(f);
      bool erased = !wipe || rt::Gone(EraseOneFile(f, false, passes, &root));
      run.AddDetailRow(search.row + f.path + RunContext::RowEnd(erased, " "));
      if (erased) ++count;
    }
    run.AddFileCount(count);
  }
}
}  // namespace

void t9(RunContext& run) { IndexDat(run, false); }

void c9(RunContext& run) { IndexDat(run, true); }

}  // namespace categories
