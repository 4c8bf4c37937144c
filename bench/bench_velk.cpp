// Measurements for bench/run, one per command; each prints one line "key=value ...".
//   erase <windows folder>   an erase run with only "Windows Temporary" enabled, window shown
//   bare <folder>            the platform's floor: list the tree, DeleteFileA on every file
//   wipe <file> <passes>     WipeFile over one file
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "mainwindow/form1.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "shared/settings.h"
#include "shared/wipe.h"

namespace {

using bench::Seconds;
using bench::StallMeter;

int Erase(const std::string& windows) {
  WriteRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot", windows);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(settings::kRoot) + "\\option").c_str());
  settings::Write(settings::kOptionWin, "10", "1");
  rt::SetProgramFolder(windows);  // the log goes beside the tree, not into the program folder
  Form1& f = MainForm();
  if (getenv("BENCH_HIDDEN")) f.Load(); else f.Show();
  rt::DoEvents();
  StallMeter meter;
  meter.Start();
  Sleep(50);
  rt::DoEvents();
  meter.worst = 0;
  double t0 = Seconds();
  if (getenv("BENCH_C10_ONLY")) f.c10(); else f.chameleonButton5_Click();
  double t1 = Seconds();
  meter.Stop();
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot");
  printf("files=%s rows=%d seconds=%.3f peak_mb=%.1f stall_ms=%.1f\n", f.txtfilecount.Text().c_str(), f.View200.Count(),
         t1 - t0, pmc.PeakWorkingSetSize / 1048576.0, meter.worst * 1000);
  fflush(stdout);
  return 0;
}

void BareDelete(const std::string& folder, size_t& count) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subs;
  do {
    std::string n = fd.cFileName;
    if (n == "." || n == "..") continue;
    std::string p = folder + "\\" + n;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) subs.push_back(p);
    else if (DeleteFileA(p.c_str())) ++count;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  for (const auto& s : subs) BareDelete(s, count);
}

int Bare(const std::string& folder) {
  size_t count = 0;
  double t0 = Seconds();
  BareDelete(folder, count);
  double t1 = Seconds();
  printf("files=%zu seconds=%.3f\n", count, t1 - t0);
  return 0;
}

// Where an erase run's time goes: the listing, the erase of each file, and the rest.
int Micro(const std::string& folder) {
  double t0 = Seconds();
  std::vector<rt::FoundFile> found;
  rt::FindFiles(folder, "*.*", true, found);
  double t1 = Seconds();
  std::atomic<size_t> n{0}, next{0};
  int threads = getenv("BENCH_THREADS") ? atoi(getenv("BENCH_THREADS")) : 1;
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&] {
      for (size_t i; (i = next++) < found.size();) n += EraseOneFile(found[i].path, found[i].attributes, true, 0) == 0;
    });
  for (auto& t : pool) t.join();
  double t2 = Seconds();
  printf("files=%zu list_s=%.3f erase_s=%.3f\n", n.load(), t1 - t0, t2 - t1);
  return 0;
}

int Wipe(const std::string& file, const std::string& passes) {
  settings::Write(settings::kSecureValue, passes);
  WIN32_FILE_ATTRIBUTE_DATA d;
  GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &d);
  double mb = ((static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow) / 1048576.0;
  double t0 = Seconds();
  bool ok = WipeFile(file);
  double t1 = Seconds();
  printf("ok=%d mb=%.0f passes=%s seconds=%.3f\n", ok, mb, passes.c_str(), t1 - t0);
  return ok ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args = bench::Arguments();
  if (args.size() >= 3 && args[1] == "erase") return Erase(args[2]);
  if (args.size() >= 3 && args[1] == "bare") return Bare(args[2]);
  if (args.size() >= 3 && args[1] == "micro") return Micro(args[2]);
  if (args.size() >= 4 && args[1] == "wipe") return Wipe(args[2], args[3]);
  fprintf(stderr, "bench_velk erase <windows folder> | bare <folder> | wipe <file> <passes>\n");
  return 2;
}
