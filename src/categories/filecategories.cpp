// The categories of files: the recent documents (code 13), the recycle bin (code 8) and the
// Windows temporary files (code 10).
#include <shlobj.h>

#include "categories/categories.h"
#include "forms/forms.h"
#include "categories/filelists.h"
#include "runtime/files.h"
#include "runtime/filewalk.h"
#include "runtime/outcome.h"
#include "runtime/parallel.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/settings.h"
#include "shared/systemfolders.h"
#include "shared/wipe.h"

extern "C" void WINAPI SHUpdateRecycleBinIcon(void);  // exported by shell32, not declared by MinGW

namespace categories {

namespace {
const char* const kRecentDocsKeys[] = {
    "software\\microsoft\\windows\\currentversion\\explorer\\RecentDocs",
    "software\\microsoft\\windows nt\\currentversion\\explorer\\RecentDocs",
};
const char kRecentSummary[] = "Windows Recent Documents History";
const char kRecentRow[] = "Recent Documents File = ";
const char kRecycleRow[] = "Windows RecycleBin Files";
const char kTempRow[] = "Windows Temp Files = ";

// The recent-documents folder: the Windows folder's "Recent" where it has one (older systems),
// otherwise the shell's Recent folder of the user.
std::string RecentFolder() {
  std::string windows = WindowsFolder();
  if (!windows.empty() && rt::FolderExists(windows + "\\Recent")) return windows + "\\Recent";
  std::string shell = rt::WithoutTrailingSlash(ShellFolderPath(nullptr, CSIDL_RECENT));  // never made
  return rt::IsAbsolutePath(shell) && rt::FolderExists(shell) ? shell : std::string();
}

// The files directly in a folder, as the hidden file list gives them.
std::vector<rt::FoundFile> FolderFiles(forms::FileListBox& list, const std::string& folder) {
  std::vector<rt::FoundFile> files;
  list.SetPattern("*.*");
  if (!list.SetPath(folder)) return files;
  // A name the code page cannot spell is taken by its wide name: its item has "?" in it.
  for (const rt::FileEntry& e : list.Entries()) files.push_back(rt::FileIn(folder, e));
  return files;
}
}  // namespace

namespace {
constexpr int kEraseThreads = 6;

void ListOrErase(RunContext& run, const std::vector<rt::FoundFile>& files, const rt::WalkRoot& root, bool erase,
                 bool clearAttributes, int passes, const std::string& rowPrefix, const char* blanks, int64_t& count,
                 uint64_t& bytes) {
  std::string text;  // one buffer for every row's text
  auto row = [&](size_t i, bool ok) {
    text.assign(rowPrefix).append(files[i].path).append(RunContext::RowEnd(ok, blanks));
    run.AddDetailRow(text);
    if (!ok) return;
    ++count;
    bytes += files[i].size;
  };
  if (!erase) {
    for (size_t i = 0; i < files.size(); ++i) {
      rt::YieldIfDue();
      row(i, true);
    }
    return;
  }
  // The deletions wait on the file system: a few threads do them, the rows follow in order. Under
  // Wine six threads keep its server busy where three leave it idle a quarter of the time (each
  // deletion is four round trips to it, with the work between them).
  rt::ParallelInOrder(
      files.size(), [&](size_t i) { return EraseOneFile(files[i], clearAttributes, passes, &root); },
      [&](size_t i, DWORD result) { row(i, rt::Gone(result)); }, kEraseThreads);  // gone since the listing: gone
}
}  // namespace

void ListOrEraseFiles(RunContext& run, const std::vector<rt::FoundFile>& files, const rt::WalkRoot& root, bool erase,
                      bool clearAttributes, const std::string& rowPrefix, const char* blanks, bool overwrite) {
  int64_t count = 0;
  uint64_t bytes = 0;
  const int passes = erase && overwrite ? SecureErasePasses() : 0;
  ListOrErase(run, files, root, erase, clearAttributes, passes, rowPrefix, blanks, count, bytes);
  run.AddFileCount(count);
  run.AddFileSize(bytes);
}

void ListOrEraseFiles(RunContext& run, rt::FileWalk& walk, bool erase, bool clearAttributes,
                      const std::string& rowPrefix, const char* blanks) {
  const int passes = erase ? SecureErasePasses() : 0;  // read once for the whole walk
  int64_t count = 0;
  uint64_t bytes = 0;
  // A listing takes the files as they come; an erase takes them in larger parts, which keep the
  // deleting threads busy.
  std::vector<rt::FoundFile> part;
  while (!run.Ended() && walk.Take(part, erase ? 1024 : 1, 8192))
    ListOrErase(run, part, walk.Root(), erase, clearAttributes, passes, rowPrefix, blanks, count, bytes);
  run.AddFileCount(count);
  run.AddFileSize(bytes);
}

void t3(RunContext& run) {
  run.AddDetailRow(kRecentSummary + RunContext::RowEnd(true, "  "));
  run.AddRegCount(1);
  std::string folder = RecentFolder();
  if (folder.empty()) return;
  const rt::WalkRoot root(folder);
  ListOrEraseFiles(run, FolderFiles(run.Lists().folderFiles, folder), root, false, false, kRecentRow, "  ");
}

void c3(RunContext& run) {
  bool ok = true;
  for (const char* key : kRecentDocsKeys) {
    // Fixed paths, deleted with their sub-keys (one per file type on newer systems).
    LONG r = RegDeleteTreeA(HKEY_CURRENT_USER, key);
    if (r == ERROR_SUCCESS) r = RegDeleteKeyA(HKEY_CURRENT_USER, key);
    ok = ok && rt::Gone(r);
  }
  run.AddDetailRow(kRecentSummary + RunContext::RowEnd(ok, "  "));
  if (ok) run.AddRegCount(1);
  std::string folder = RecentFolder();
  if (folder.empty()) return;
  const rt::WalkRoot root(folder);
  ListOrEraseFiles(run, FolderFiles(run.Lists().folderFiles, folder), root, true, false, kRecentRow, "  ");
}

void t4(RunContext& run) { run.AddDetailRow(kRecycleRow + RunContext::RowEnd(true, "  ")); }

void c4(RunContext& run) {
  HRESULT hr = SHEmptyRecycleBinA(run.OwnerWindow(), nullptr, SHERB_NOCONFIRMATION);
  SHUpdateRecycleBinIcon();
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  // Emptied when the shell finds nothing left in it (an already empty bin counts too).
  bool ok = SUCCEEDED(SHQueryRecycleBinA(nullptr, &info)) ? info.i64NumItems == 0 : SUCCEEDED(hr);
  run.AddDetailRow(kRecycleRow + RunContext::RowEnd(ok, "  "));
}

void t10(RunContext& run) {
  std::string windows = WindowsFolder();
  if (windows.empty()) return;
  rt::FileWalk walk(windows + "\\temp", "*.*", true);
  ListOrEraseFiles(run, walk, false, true, kTempRow, " ");
}

void c10(RunContext& run) {
  std::string windows = WindowsFolder();
  if (windows.empty()) return;
  rt::FileWalk walk(windows + "\\temp", "*.*", true);
  ListOrEraseFiles(run, walk, true, true, kTempRow, " ");
}

}  // namespace categories
