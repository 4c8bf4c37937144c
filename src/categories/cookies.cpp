// Internet Explorer's cookies (code 1): the "*.txt" files directly in the user's Cookies folder.
// The erase deletes them, overwritten first with secure erasing on, except the cookies of the keep
// list "cookies.vel", which are never touched.
#include <shlobj.h>

#include <set>

#include "categories/categories.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/fileprop.h"
#include "shared/settings.h"
#include "shared/urlcache.h"
#include "shared/wipe.h"

namespace categories {

namespace {
const char kCookieRow[] = "Cookie Files = ";

// A keep-list line is a cookie's bare file name, read by the characters of the code page (a
// cookie is named after the Windows user, whose name may hold characters whose second byte is
// that of "\\"): a line that names a folder, a drive or a parent is no cookie of the Cookies folder.
bool IsBareFileName(const std::wstring& line) {
  return !line.empty() && line.find_first_of(L"\\/:") == std::wstring::npos && line != L"." && line != L"..";
}

// The cookie entries of the URL cache whose files were deleted go too: they name the sites.
void ForgetCookieEntries(const std::set<std::string>& deletedFiles) {
  std::vector<std::string> urls;
  for (bool more = CacheFindFirst("Cookie:"); more; more = CacheFindNext()) {
    rt::YieldIfDue();
    if (rt::StartsWithNoCase(CacheSourceUrl(), "Cookie:") && deletedFiles.count(rt::LCase(CacheLocalFileName())))
      urls.push_back(CacheSourceUrl());
  }
  CacheFindClose();
  for (const std::string& url : urls) CacheDeleteEntry(url);
}
}  // namespace

std::string CookiesFolder(RunContext& run, bool remember) {
  std::string folder = ShellFolderPath(run.OwnerWindow(), CSIDL_COOKIES);
  if (folder.empty()) return "";  // no lookup: the folder an earlier one found is not used
  if (remember) {
    run.CookiesFolderFound(folder);
    settings::Write(settings::kCookies, rt::Trim(folder));
  }
  folder = rt::WithoutTrailingSlash(rt::Trim(folder));
  return rt::IsAbsolutePath(folder) ? folder : std::string();
}

namespace {
void Cookies(RunContext& run, bool erase) {
  std::string folder = CookiesFolder(run, true);
  if (erase) rt::CreateFolder(rt::JoinPath(rt::ProgramFolder(), "backup"));  // the test makes nothing
  if (folder.empty()) return;

  // The keep list, read once. One that is there but cannot be read keeps every cookie: no kept
  // cookie is ever lost.
  std::vector<std::wstring> keep;
  bool keepKnown = true;
  if (erase) {
    std::string keepFile = rt::JoinPath(rt::ProgramFolder(), "cookies.vel");
    std::vector<std::string> lines;
    if (rt::GetAttr(keepFile) != rt::kNoAttributes && !rt::ReadLines(keepFile, lines)) keepKnown = false;
    for (const std::string& line : lines) {
      std::wstring name = rt::ToWide(line);
      if (!rt::Trim(line).empty() && IsBareFileName(name)) keep.push_back(std::move(name));
    }
  }
  // Compared with the name the listing found, in its own letters where the code page lacks some.
  auto kept = [&](const rt::FileEntry& e) {
    const std::wstring name = e.wide.empty() ? rt::ToWide(e.name) : e.wide;
    for (const std::wstring& k : keep)
      if (rt::SameName(name, k)) return true;
    return false;
  };

  std::vector<rt::FileEntry> entries;
  const rt::WalkRoot root(folder);  // before the listing: what it erases lies in this folder
  rt::ListFolder(folder, "*.txt", rt::ListWhat::Files, entries);
  const int passes = erase ? SecureErasePasses() : 0;
  int64_t count = 0;
  uint64_t bytes = 0;
  std::set<std::string> deleted;
  for (const rt::FileEntry& e : entries) {
    rt::YieldIfDue();
    const rt::FoundFile file = rt::FileIn(folder, e);
    const std::string& path = file.path;
    bool ok = true;
    if (erase && !kept(e)) {
      ok = keepKnown && rt::Gone(EraseOneFile(file, false, passes, &root));
      if (ok) deleted.insert(rt::LCase(path));
    }
    run.AddDetailRow(kCookieRow + path + RunContext::RowEnd(ok, "  "));
    if (!ok) continue;
    ++count;
    bytes += e.size;
  }
  run.AddFileCount(count);
  run.AddFileSize(bytes);
  if (!deleted.empty()) ForgetCookieEntries(deleted);
}
}  // namespace

void t7(RunContext& run) { Cookies(run, false); }

void c7(RunContext& run) { Cookies(run, true); }

}  // namespace categories
