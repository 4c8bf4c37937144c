// Measurements of the browser categories for bench/run, one per command; each prints one line
// "key=value ...".
//   cache-fill <n>            n URL-cache entries with a local file each (the cache emptied first)
//   cache-erase               an erase run with only "Temporary Internet File (cache)", window shown
//   cache-bare                the platform's floor: walk the cache, DeleteUrlCacheEntryA every entry
//   cache-checked             the floor of an erase that follows no link: walk the cache, and each
//                             entry's file opened without following a link, its opened path asked
//                             and checked to lie in the cache folder, the entry deleted with
//                             DeleteUrlCacheEntryA while that handle holds the file
//   mozilla-erase <profile>   an erase run with only "Netscape Clean Cache" over the profile
#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/measure.h"
#include "mainwindow/form1.h"
#include "runtime/app.h"
#include "runtime/pump.h"
#include "shared/settings.h"

namespace {

struct Entry {
  std::string url, local;  // local: the entry's file, "" when it has none
};

std::vector<Entry> AllEntries() {
  std::vector<Entry> entries;
  std::vector<char> buf(64 * 1024);
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buf.data());
  DWORD size = static_cast<DWORD>(buf.size());
  info->dwStructSize = sizeof *info;
  HANDLE h = FindFirstUrlCacheEntryA(nullptr, info, &size);
  while (h) {
    entries.push_back({info->lpszSourceUrlName, info->lpszLocalFileName ? info->lpszLocalFileName : ""});
    size = static_cast<DWORD>(buf.size());
    if (!FindNextUrlCacheEntryA(h, info, &size)) break;
  }
  if (h) FindCloseUrlCache(h);
  return entries;
}

std::vector<std::string> AllUrls() {
  std::vector<std::string> urls;
  for (Entry& e : AllEntries()) urls.push_back(std::move(e.url));
  return urls;
}

std::string UnixPathOf(const std::string& windowsPath) {
  using Fn = char*(CDECL*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* p = fn ? fn(wide) : nullptr;
  std::string r = p ? p : "";
  if (p) HeapFree(GetProcessHeap(), 0, p);
  return r;
}

int CacheFill(int n) {
  for (const auto& url : AllUrls()) DeleteUrlCacheEntryA(url.c_str());
  const std::string content(1024, 'c');
  FILETIME zero{};
  std::string folder;
  double t0 = bench::Seconds();
  for (int i = 0; i < n; ++i) {
    std::string url = "http://bench" + std::to_string(i % 50) + ".example/page" + std::to_string(i) + ".html";
    char file[MAX_PATH] = "";
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "html", file, 0)) return 1;
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD wrote = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &wrote, nullptr);
    CloseHandle(h);
    if (!CommitUrlCacheEntryA(url.c_str(), file, zero, zero, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr)) return 1;
    if (folder.empty()) folder = file;
  }
  // The container's folder: two levels above an entry's file.
  for (int up = 0; up < 2; ++up) folder = folder.substr(0, folder.find_last_of('\\'));
  printf("entries=%d seconds=%.3f folder=%s\n", n, bench::Seconds() - t0, UnixPathOf(folder).c_str());
  return 0;
}

int CacheBare() {
  double t0 = bench::Seconds();
  std::vector<std::string> urls = AllUrls();
  double t1 = bench::Seconds();
  size_t deleted = 0;
  for (const auto& url : urls) deleted += DeleteUrlCacheEntryA(url.c_str()) ? 1 : 0;
  double t2 = bench::Seconds();
  printf("entries=%zu seconds=%.3f walk_s=%.3f delete_s=%.3f\n", deleted, t2 - t0, t1 - t0, t2 - t1);
  return 0;
}

int CacheChecked() {
  double t0 = bench::Seconds();
  wchar_t folder[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, SHGFP_TYPE_CURRENT, folder);
  const std::wstring cache = bench::ResolvedFolder(folder);  // as it resolves before the walk
  std::vector<Entry> entries = AllEntries();
  double t1 = bench::Seconds();
  size_t deleted = 0;
  for (const Entry& e : entries) {
    HANDLE f = INVALID_HANDLE_VALUE;
    if (!e.local.empty()) {
      f = bench::OpenNoLink(bench::Wide(e.local));
      DWORD err = f == INVALID_HANDLE_VALUE ? GetLastError() : 0;
      if (err && err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) continue;  // gone: the entry goes
      if (!err && !bench::PathIn(bench::OpenedPath(f), cache)) {
        CloseHandle(f);
        continue;
      }
    }
    deleted += DeleteUrlCacheEntryA(e.url.c_str()) ? 1 : 0;
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  }
  double t2 = bench::Seconds();
  printf("entries=%zu seconds=%.3f walk_s=%.3f delete_s=%.3f\n", deleted, t2 - t0, t1 - t0, t2 - t1);
  return 0;
}

// An erase run with only the one category enabled, the window shown and its stalls measured.
int EraseRun(const char* code) {
  Form1& f = MainForm();
  settings::Write(settings::kOptionWin, code, "1");
  f.Show();
  rt::DoEvents();
  bench::StallMeter meter;
  meter.Start();
  double t0 = bench::Seconds();
  f.chameleonButton5_Click();
  double t1 = bench::Seconds();
  meter.Stop();
  int failed = 0;
  for (int i = 1; i <= f.View200.Count(); ++i) failed += f.View200.Text(i).find("<FAILED>") != std::string::npos;
  printf("files=%s rows=%d failed=%d seconds=%.3f peak_mb=%.1f stall_ms=%.1f\n", f.txtfilecount.Text().c_str(),
         f.View200.Count(), failed, t1 - t0, bench::PeakMegabytes(), meter.worst * 1000);
  fflush(stdout);
  return 0;
}

void Isolate(const std::string& programFolder) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(settings::kRoot) + "\\option").c_str());
  rt::SetProgramFolder(programFolder);  // the log goes there, not beside the benchmark
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args = bench::Arguments();
  if (args.size() >= 3 && args[1] == "cache-fill") return CacheFill(atoi(args[2].c_str()));
  if (args.size() >= 2 && args[1] == "cache-bare") return CacheBare();
  if (args.size() >= 2 && args[1] == "cache-checked") return CacheChecked();
  if (args.size() >= 3 && args[1] == "cache-erase") {
    Isolate(args[2]);
    return EraseRun("2");
  }
  if (args.size() >= 4 && args[1] == "mozilla-erase") {
    Isolate(args[3]);
    settings::Write(settings::kOptionBrowser, "net0", args[2]);
    return EraseRun("21");
  }
  fprintf(stderr, "bench_browsers cache-fill <n> | cache-erase <log folder> | cache-bare | cache-checked | "
                  "mozilla-erase <profile> <log folder>\n");
  return 2;
}
