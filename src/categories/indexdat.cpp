// The "index.dat" files (code 4) of the user's Cookies folder and of the history and cache
// folders of the user's profile. The erase overwrites and deletes them only with secure erasing
// on; without it, it lists and counts them as the test does. No search ever starts outside the
// user's profile folder.
#include <shlobj.h>

#include <algorithm>

#include "mainwindow/form1.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/settings.h"
#include "shared/wipe.h"

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
}  // namespace

void Form1::t9() { IndexDat(false); }

void Form1::c9() { IndexDat(true); }

void Form1::IndexDat(bool erase) {
  // The erase deletes only with secure erasing on: overwritten, then deleted.
  const int passes = erase ? SecureErasePasses() : 0;
  const bool wipe = passes > 0;
  std::string cookies = CookiesFolder(false);

  // The Cookies folder's own index: one row, its size, no file count.
  bool ok = true;
  uint64_t size = 0;
  std::string index = cookies.empty() ? "" : cookies + "\\index.dat";
  DWORD original = rt::GetAttr(index);
  if (original != rt::kNoAttributes && !(original & FILE_ATTRIBUTE_DIRECTORY)) {
    rt::FileSize64(index, size);
    // Only a file about to go loses its attributes.
    bool archived = wipe && original != FILE_ATTRIBUTE_ARCHIVE && rt::SetAttr(index, FILE_ATTRIBUTE_ARCHIVE);
    if (wipe) {
      DWORD r = EraseOneFile(index, FILE_ATTRIBUTE_ARCHIVE, false, passes);
      ok = r == 0 || r == ERROR_FILE_NOT_FOUND;
      if (!ok && archived) rt::SetAttr(index, original);
    }
  }
  AddDetailRow(kIndexRow + RowEnd(ok, "  "));
  if (ok) AddFileSize(size);

  // Three searches, each only where its start lies inside the user's profile folder: a start
  // built on a missing base ("\history", "\") would search a whole drive.
  const std::string profile = rt::ResolvedFolderPath(SpecialFolderPath(CSIDL_PROFILE));
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
  std::vector<std::string> seen;
  for (const Search& search : searches) {
    if (profile.empty() || !rt::IsAbsolutePath(search.start)) continue;
    std::string resolved = rt::ResolvedFolderPath(rt::WithoutTrailingSlash(search.start));
    if (resolved.empty() || !rt::IsInsideFolder(resolved, profile)) continue;
    std::vector<rt::FoundFile> found;
    rt::FindFiles(search.start, "index.dat", true, found);
    int64_t count = 0;
    for (const rt::FoundFile& f : found) {
      rt::YieldIfDue();
      if (std::any_of(seen.begin(), seen.end(), [&](const std::string& p) { return rt::SameFile(p, f.path); })) continue;
      seen.push_back(f.path);
      bool erased = !wipe || EraseOneFile(f.path, f.attributes, false, passes) == 0;
      AddDetailRow(search.row + f.path + RowEnd(erased, " "));
      if (erased) ++count;
    }
    AddFileCount(count);
  }
}
