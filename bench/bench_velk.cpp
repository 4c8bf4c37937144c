// Measurements for bench/run, one per command; each prints one line "key=value ...".
//   erase <windows folder>   an erase run with only "Windows Temporary" enabled, window shown
//   test <windows folder>    the test run over the same category
//   bare <folder>            the erase run's floor: list the tree, DeleteFileA on every file
//   checked <folder>         the floor of an erase that follows no link: list the tree, and each
//                            file opened without following a link, its opened path asked and
//                            checked, deleted through the handle
//   walk <folder>            the test run's floor: a recursive FindFirstFileA/FindNextFileA walk
//                            that counts the files and adds up their sizes
//   micro <folder>           where an erase's time goes: the listing, then the erase of each file
//   wipe <file> <passes>     WipeFile over one file
//   rows <n>                 n rows added to a shown detail list (forms::ListView), each selected
//                            and scrolled into view as a run's detail rows are
//   rows-bare <n>            its peer: the same rows, kept as strings, in a bare owner-data list
//                            view of the system's whose count, selection and scroll are set each
//                            time the window catches up
// BENCH_STALLS=1 also shows, on the error output, every wait of the window over 30 ms and the
// progress values of the run, each with its time in the run.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/measure.h"
#include "mainwindow/form1.h"
#include "forms/form.h"
#include "forms/listview.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "shared/settings.h"
#include "shared/wipe.h"

namespace {

using bench::Seconds;

int Run(const std::string& windows, bool erase) {
  WriteRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot", windows);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(settings::kRoot) + "\\option").c_str());
  settings::Write(settings::kOptionWin, "10", "1");
  rt::SetProgramFolder(windows);  // the log goes beside the tree, not into the program folder
  Form1& f = MainForm();
  if (getenv("BENCH_HIDDEN")) f.Load(); else f.Show();
  rt::DoEvents();
  bench::StallMeter meter;
  meter.Start();
  // The log is written between the second progress value of 100 (after the plug-in pass) and the
  // final 0 of the end state; every log line sets 100 once more.
  int hundreds = 0;
  double logStart = 0, logEnd = 0;
  std::vector<std::pair<double, int>> progress;
  f.Bar1.ValueSet = [&](int v) {
    if (progress.size() < 64) progress.emplace_back(Seconds(), v);
    if (v == 100 && ++hundreds == 2) logStart = Seconds();
    if (v == 0 && hundreds >= 2) logEnd = Seconds();
  };
  double t0 = Seconds();
  (erase ? f.chameleonButton5 : f.chameleonButton6).PerformClick();  // as the user's click
  rt::DoEvents();                                                    // the window's last updates
  double t1 = Seconds();
  meter.Stop();
  f.Bar1.ValueSet = nullptr;
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot");
  if (getenv("BENCH_STALLS")) {
    for (auto [sent, delay] : meter.delays)
      if (delay > 0.03) fprintf(stderr, "stall %.1f ms at %.3f s\n", delay * 1000, sent - t0);
    for (auto [at, v] : progress) fprintf(stderr, "progress %d at %.3f s\n", v, at - t0);
  }
  printf("files=%s rows=%d seconds=%.3f peak_mb=%.1f stall_ms=%.1f stall_at_s=%.2f server_stall_ms=%.1f "
         "log_ms=%.1f log_stall_ms=%.1f\n",
         f.txtfilecount.Text().c_str(), f.View200.Count(), t1 - t0, bench::PeakMegabytes(), meter.Worst(t0, t1) * 1000,
         meter.WorstSent(t0, t1) - t0, meter.worstPost * 1000, (logEnd - logStart) * 1000,
         meter.Worst(logStart, logEnd) * 1000);
  fflush(stdout);
  return 0;
}

// The bare loops: every file of the tree, listed with FindFirstFileA/FindNextFileA, deleted with
// DeleteFileA or counted with its size.
void BareLoop(const std::string& folder, bool erase, size_t& count, unsigned long long& bytes) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subs;
  do {
    std::string n = fd.cFileName;
    if (n == "." || n == "..") continue;
    std::string p = folder + "\\" + n;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subs.push_back(p);
    } else if (!erase) {
      ++count;
      bytes += (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    } else if (DeleteFileA(p.c_str())) {
      ++count;
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  for (const auto& s : subs) BareLoop(s, erase, count, bytes);
}

int Bare(const std::string& folder, bool erase) {
  size_t count = 0;
  unsigned long long bytes = 0;
  bench::ServerMeter server;
  server.Start();
  double t0 = Seconds();
  BareLoop(folder, erase, count, bytes);
  double t1 = Seconds();
  server.Stop();
  printf("files=%zu bytes=%llu seconds=%.3f peak_mb=%.1f server_stall_ms=%.1f\n", count, bytes, t1 - t0,
         bench::PeakMegabytes(), server.worst * 1000);
  fflush(stdout);
  return 0;
}

// The checked loop: every file of the tree, listed with FindFirstFileW/FindNextFileW, opened
// without following a link, and deleted through its handle where the system opened the very path
// listed (a link's target elsewhere stays). Folders that are links are not entered.
void CheckedLoop(const std::wstring& folder, size_t& count) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subs;
  do {
    std::wstring_view n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    std::wstring p = folder + L"\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) subs.push_back(p);
      continue;
    }
    HANDLE f = bench::OpenNoLink(p);
    if (f == INVALID_HANDLE_VALUE) continue;
    if (bench::SamePath(bench::OpenedPath(f), p) && bench::DeleteOpened(f)) ++count;
    CloseHandle(f);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  for (const auto& s : subs) CheckedLoop(s, count);
}

int Checked(const std::string& folder) {
  size_t count = 0;
  bench::ServerMeter server;
  server.Start();
  double t0 = Seconds();
  CheckedLoop(bench::Wide(folder), count);
  double t1 = Seconds();
  server.Stop();
  printf("files=%zu seconds=%.3f peak_mb=%.1f server_stall_ms=%.1f\n", count, t1 - t0, bench::PeakMegabytes(),
         server.worst * 1000);
  fflush(stdout);
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

// The text of the n-th detail row, as an erase run writes them.
std::string RowText(int i) { return "Windows Temporary Files = C:\\temp\\f" + std::to_string(i) + ".tmp <OK>"; }
constexpr int kRowsBetweenYields = 5000;  // a long run lets its window catch up about as often

void PrintRows(int rows, int shown, double seconds) {
  printf("rows=%d shown=%d seconds=%.3f peak_mb=%.1f\n", rows, shown, seconds, bench::PeakMegabytes());
  fflush(stdout);
}

class RowsForm : public forms::Form {
 public:
  RowsForm() : Form("RowsForm"), View200(*this, "View200") {
    SetClientSize(9000, 6000);
    View200.Move(0, 0, 9000, 6000);
    View200.AddColumn("Task", 6000);
    View200.AddColumn("Status", 2000);
  }
  forms::ListView View200;
};

int Rows(int n) {
  RowsForm f;
  f.Show();
  rt::DoEvents();
  double t0 = Seconds();
  for (int i = 1; i <= n; ++i) {
    int row = f.View200.Add(RowText(i));
    f.View200.SetSelected(row, true);
    f.View200.EnsureVisible(row);
    if (i % kRowsBetweenYields == 0) rt::DoEvents();
  }
  rt::DoEvents();
  double t1 = Seconds();
  PrintRows(f.View200.Count(), static_cast<int>(SendMessageA(f.View200.hWnd(), LVM_GETITEMCOUNT, 0, 0)), t1 - t0);
  f.Unload();
  return 0;
}

// The system's owner-data list view in a bare window of its own, shown as the form shows its list.
struct BareList {
  HWND frame = nullptr, list = nullptr;
  static inline std::vector<std::string>* texts = nullptr;
  BareList() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
      if (m == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == LVN_GETDISPINFOA && texts) {
        LVITEMA& it = reinterpret_cast<NMLVDISPINFOA*>(l)->item;
        if ((it.mask & LVIF_TEXT) && it.pszText && it.cchTextMax > 0) {
          const std::string& s = it.iSubItem == 0 ? (*texts)[static_cast<size_t>(it.iItem)] : std::string();
          lstrcpynA(it.pszText, s.c_str(), it.cchTextMax);
        }
        return 0;
      }
      return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelkBareList";
    RegisterClassA(&wc);
    frame = CreateWindowA("VelkBareList", "Bare list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 620, 440, nullptr,
                          nullptr, wc.hInstance, nullptr);
    DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_OWNERDATA;
    list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 600, 400, frame, nullptr, wc.hInstance,
                           nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
    const char* heads[] = {"Task", "Status"};
    for (int c = 0; c < 2; ++c) {
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH;
      col.cx = c == 0 ? 400 : 133;
      col.pszText = const_cast<char*>(heads[c]);
      SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    rt::DoEvents();
  }
  ~BareList() { DestroyWindow(frame); }
  // The row selected before gives its selection up first: the list need not look for it.
  int selected = -1;
  void Select(int index) {
    LVITEMA it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (selected >= 0) SendMessageA(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&it));
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&it));
    SendMessageA(list, LVM_ENSUREVISIBLE, index, FALSE);
    selected = index;
  }
  int Count() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
};

int RowsBare(int n) {
  std::vector<std::string> texts;
  BareList::texts = &texts;
  BareList bare;
  auto show = [&] {
    SendMessageA(bare.list, LVM_SETITEMCOUNT, texts.size(), LVSICF_NOSCROLL);
    bare.Select(static_cast<int>(texts.size()) - 1);
    rt::DoEvents();
  };
  double t0 = Seconds();
  for (int i = 1; i <= n; ++i) {
    texts.push_back(RowText(i));
    if (i % kRowsBetweenYields == 0) show();
  }
  show();
  double t1 = Seconds();
  PrintRows(static_cast<int>(texts.size()), bare.Count(), t1 - t0);
  BareList::texts = nullptr;
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args = bench::Arguments();
  if (args.size() >= 3 && (args[1] == "erase" || args[1] == "test")) return Run(args[2], args[1] == "erase");
  if (args.size() >= 3 && (args[1] == "bare" || args[1] == "walk")) return Bare(args[2], args[1] == "bare");
  if (args.size() >= 3 && args[1] == "checked") return Checked(args[2]);
  if (args.size() >= 3 && args[1] == "micro") return Micro(args[2]);
  if (args.size() >= 4 && args[1] == "wipe") return Wipe(args[2], args[3]);
  if (args.size() >= 3 && args[1] == "rows") return Rows(atoi(args[2].c_str()));
  if (args.size() >= 3 && args[1] == "rows-bare") return RowsBare(atoi(args[2].c_str()));
  fprintf(stderr, "bench_velk erase|test <windows folder> | bare|checked|walk|micro <folder> | wipe <file> <passes> | "
                  "rows|rows-bare <n>\n");
  return 2;
}
