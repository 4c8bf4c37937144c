#include "support/scratch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "forms/dialogs.h"
#include "forms/form.h"
#include "runtime/app.h"
#include "runtime/clipboard.h"
#include "runtime/files.h"
#include "runtime/filewalk.h"
#include "runtime/pump.h"
#include "runtime/random.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/fileprop.h"
#include "shared/systemfolders.h"
#include "shared/urlcache.h"
#include "shared/wipe.h"

namespace ts {

namespace {
std::string g_scratch;

std::string TestProgramName() {
  std::string exe = rt::FileNameOf(rt::ExecutablePath());
  size_t dot = exe.rfind('.');
  return dot == std::string::npos ? exe : exe.substr(0, dot);
}

std::string SafeName(std::string s) {
  for (auto& c : s)
    if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
  return s;
}

// Every test starts from the same process: see ResetProcessState.
class Isolation : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& info) override {
    g_scratch = std::string("C:\\velk-tests\\") + TestProgramName() + "\\" +
                SafeName(std::string(info.test_suite_name()) + "." + info.name());
    ResetProcessState();
  }
};
}  // namespace

void ResetProcessState() {
  // No window of an earlier test, and with them their hot keys, window hooks, hidden windows and
  // waiting plug-in rewrites, which the windows own; no URL-cache walk of an earlier test.
  forms::ResetDefaultInstances();
  // The message pump as at the start (a quit seen or still waiting makes every later yield say
  // the program is ending), and the random numbers' sequence.
  rt::ResetQuitForTests();
  rt::ResetRandomForTests();
  ResetCacheWalkForTests();
  ForgetSystemFolders();  // a test may name another Windows folder
  rt::SetWalkListedHookForTests(nullptr);
  rt::SetResolveHookForTests(nullptr);
  SetBeforeEraseHookForTests(nullptr);
  rt::DeleteTree(g_scratch);
  rt::CreateFolder(g_scratch + "\\program");
  rt::SetProgramFolder(g_scratch + "\\program");
  ResetRegistry();
  rt::SetClockForTests(std::nullopt);
  rt::ClearCommandLineForTests();
  Observed() = Seen{};
  rt::SetMessageBoxHandler([](const rt::MessageBoxCall& c) {
    Observed().messageBoxes.push_back(c.text);
    ADD_FAILURE() << "unexpected message box: " << c.text;
    return IDCANCEL;
  });
  rt::SetExitHandler([](int code) { Observed().exits.push_back(code); });
  rt::SetSessionHoldHandler(nullptr);
  forms::SetInputBoxHandler([](const forms::InputBoxCall& c) -> std::optional<std::string> {
    Observed().dialogs.push_back(c.title);
    ADD_FAILURE() << "unexpected input box: " << c.title;
    return std::nullopt;
  });
  forms::SetFileDialogHandler([](const forms::FileDialogCall& c) -> std::optional<std::string> {
    Observed().dialogs.push_back(c.title);
    ADD_FAILURE() << "unexpected file dialog: " << c.title;
    return std::nullopt;
  });
  SetBrowseFolderHandler([](const BrowseFolderCall& c) {
    Observed().dialogs.push_back(c.title);
    ADD_FAILURE() << "unexpected folder picker: " << c.title;
    return std::string();
  });
  rt::SetClipboardHandlers(nullptr, nullptr);
  rt::SetProcessStartHandler([](const rt::ProcessStart& p) -> INT_PTR {
    std::string what = p.viaShell ? p.verb + "|" + p.file + "|" + p.parameters + "|" + p.folder : p.commandLine;
    Observed().starts.push_back(what);
    ADD_FAILURE() << "unexpected process start: " << what;
    return 0;
  });
}

std::string Scratch() { return g_scratch; }
std::string ProgramDir() { return g_scratch + "\\program"; }

void WriteFile(const std::string& path, const std::string& bytes) {
  rt::CreateFolder(rt::ParentFolder(path));
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD wrote = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  ASSERT_EQ(wrote, bytes.size()) << path;
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  rt::ReadFileBytes(path, bytes);
  return bytes;
}

bool Exists(const std::string& path) { return rt::GetAttr(path) != rt::kNoAttributes; }

std::string UnixPath(const std::string& windowsPath) {
  using Fn = char*(CDECL*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (!fn) return "";
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* p = fn(wide);
  if (!p) return "";
  std::string r = p;
  HeapFree(GetProcessHeap(), 0, p);
  return r;
}

namespace {
void RunHost(std::string cmd) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) << cmd;
  // Wine starts a host program without handles: hProcess stays 0 (so the callers wait for what the
  // program does), and hThread holds whatever Wine left there, under 32-bit Wine the number of one
  // of our own handles (a walk's thread, say): it is never closed.
  if (!pi.hProcess) return;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}
}  // namespace

void HostLink(const std::string& target, const std::string& link) {
  // The platform's own symbolic links do not reach the host under Wine: the host's ln makes them.
  std::string t = UnixPath(target), l = UnixPath(link);
  ASSERT_FALSE(t.empty() || l.empty()) << target << " / " << link;
  std::string cmd = "/bin/ln -s \"" + t + "\" \"" + l + "\"";
  RunHost(cmd);
  // A host program's process handle may be signalled before the program has done its work.
  for (int i = 0; i < 500 && GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
  ASSERT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES) << "link " << link << " by " << cmd;
}

void HostLinkNamed(const std::string& target, const std::string& folder, const std::string& name) {
  std::string t = UnixPath(target), f = UnixPath(folder);
  ASSERT_FALSE(t.empty() || f.empty()) << target << " / " << folder;
  RunHost("/bin/ln -s \"" + t + "\" \"" + f + "/" + name + "\"");
  auto there = [&] {
    std::vector<rt::FileEntry> entries;
    rt::ListFolder(folder, "*", rt::ListWhat::Files, entries);
    for (const auto& e : entries)
      if (e.name == name) return true;
    return false;
  };
  for (int i = 0; i < 500 && !there(); ++i) Sleep(10);
  ASSERT_TRUE(there()) << "link " << name << " in " << folder;
}

void HostUnlink(const std::string& link) {
  std::string l = UnixPath(link);
  ASSERT_FALSE(l.empty()) << link;
  RunHost("/bin/rm -f \"" + l + "\"");
  for (int i = 0; i < 500 && GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
}

void WriteWideFile(const std::wstring& path, const std::string& bytes) {
  std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  for (size_t at = folder.find(L'\\', 3); ; at = folder.find(L'\\', at + 1)) {
    CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    if (at == std::wstring::npos) break;
  }
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << rt::ToAnsi(path);
  DWORD wrote = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  ASSERT_EQ(wrote, bytes.size()) << rt::ToAnsi(path);
}

bool WideExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {
std::atomic<bool> g_walkChanged{false};
}

OnWalkListed::OnWalkListed(const std::string& folder, std::function<void()> change) {
  g_walkChanged = false;
  rt::SetWalkListedHookForTests([folder, change](const std::string& walked) {
    if (!rt::EqualsNoCase(rt::WithoutTrailingSlash(walked), rt::WithoutTrailingSlash(folder)) || g_walkChanged.exchange(true))
      return;
    change();
  });
}

OnWalkListed::~OnWalkListed() { rt::SetWalkListedHookForTests(nullptr); }

bool OnWalkListed::Ran() const { return g_walkChanged; }

namespace {
std::atomic<int> g_resolutions{0};
std::atomic<bool> g_resolveChanged{false}, g_eraseChanged{false};

bool SameFolderText(const std::string& a, const std::string& b) {
  return rt::EqualsNoCase(rt::WithoutTrailingSlash(a), rt::WithoutTrailingSlash(b));
}
}  // namespace

AroundResolving::AroundResolving(const std::string& folder, int nth, When when, std::function<void()> change) {
  g_resolutions = 0;
  g_resolveChanged = false;
  rt::SetResolveHookForTests([=](const std::string& resolving, bool resolved) {
    if (!SameFolderText(resolving, folder)) return;
    int n = resolved ? g_resolutions.load() : ++g_resolutions;
    if (n != nth || resolved != (when == kAfter) || g_resolveChanged.exchange(true)) return;
    change();
  });
}

AroundResolving::~AroundResolving() { rt::SetResolveHookForTests(nullptr); }

bool AroundResolving::Ran() const { return g_resolveChanged; }

BeforeErasing::BeforeErasing(const std::string& path, std::function<void()> change) {
  g_eraseChanged = false;
  SetBeforeEraseHookForTests([=](const std::string& erasing) {
    if (!rt::EqualsNoCase(erasing, path) || g_eraseChanged.exchange(true)) return;
    change();
  });
}

BeforeErasing::~BeforeErasing() { SetBeforeEraseHookForTests(nullptr); }

bool BeforeErasing::Ran() const { return g_eraseChanged; }

Watcher::Watcher(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, 0, nullptr)) {
  EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << path;
}

Watcher::~Watcher() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

std::string Watcher::Seen() {
  std::string seen;
  if (handle_ == INVALID_HANDLE_VALUE) return seen;
  SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
  char buf[65536];
  for (DWORD got = 0; ::ReadFile(handle_, buf, sizeof buf, &got, nullptr) && got;) seen.append(buf, got);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return seen;
}

const std::vector<std::string>& ResetKeysHKLM() {
  static const std::vector<std::string> keys = {"software\\Morvane", "software\\dorvanta"};
  return keys;
}

void ResetRegistry() {
  for (const auto& k : ResetKeysHKLM()) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, k.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, k.c_str());
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VelkTest");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VelkTest");
}

Seen& Observed() {
  static Seen seen;
  return seen;
}

void InstallIsolation() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new Isolation);
}

}  // namespace ts
