#include "shared/systemfolders.h"

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "runtime/files.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace {

// "C:", "C:\", "\\server\share" or "\\server\share\" (also as the platform writes them once
// resolved: "\\?\C:\", "\\?\UNC\server\share").
bool IsRootText(std::wstring f) {
  if (f.rfind(L"\\\\?\\UNC\\", 0) == 0) f = L"\\\\" + f.substr(8);
  else if (f.rfind(L"\\\\?\\", 0) == 0) f = f.substr(4);
  while (!f.empty() && (f.back() == L'\\' || f.back() == L'/')) f.pop_back();
  bool drive = f.size() == 2 && ((f[0] >= L'A' && f[0] <= L'Z') || (f[0] >= L'a' && f[0] <= L'z')) && f[1] == L':';
  if (drive) return true;
  if (f.rfind(L"\\\\", 0) != 0) return false;
  size_t server = f.find(L'\\', 2);
  return server == std::wstring::npos || f.find(L'\\', server + 1) == std::wstring::npos;
}

std::wstring FullPathOf(const std::wstring& path) { return rt::WithoutTrailingSlash(rt::FullPath(path)); }

// One of the system's folders: as its source names it (full path) and as it resolves.
struct SystemFolder {
  std::wstring text;
  rt::FolderIdentity id;
};

class SystemFolderSet {
 public:
  SystemFolderSet() {
    wchar_t buf[MAX_PATH] = L"";
    if (UINT n = GetWindowsDirectoryW(buf, MAX_PATH); n > 0 && n < MAX_PATH) Add(buf);
    if (UINT n = GetSystemWindowsDirectoryW(buf, MAX_PATH); n > 0 && n < MAX_PATH) Add(buf);
    for (const wchar_t* key : {L"Software\\Microsoft\\Windows\\CurrentVersion", L"Software\\Microsoft\\Windows nt\\CurrentVersion"})
      AddRegistryFolder(key, L"systemroot", 0);
    for (int csidl : {CSIDL_WINDOWS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) AddShellFolder(csidl);
    // The profile folder, and the folder that holds every user's profile ("C:\Users",
    // "C:\Documents and Settings"): taken whole, it is every user's profile at once.
    if (SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK) {
      Add(buf);
      std::wstring profiles = rt::ParentFolder(buf);
      if (profiles.size() > 3) Add(profiles);  // a profile at a drive's root has none
    }
    AddRegistryFolder(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", L"ProfilesDirectory", 0);
    // A 32-bit program on 64-bit Windows is shown "Program Files (x86)" as its Program Files: the
    // 64-bit one is named in the 64-bit view of the registry.
    const wchar_t* current = L"Software\\Microsoft\\Windows\\CurrentVersion";
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)})
      for (const wchar_t* name : {L"ProgramFilesDir", L"ProgramFilesDir (x86)", L"ProgramW6432Dir"})
        AddRegistryFolder(current, name, view);
    // The roots of the local drives, for a folder that resolves to one under another name.
    DWORD drives = GetLogicalDrives();
    for (int d = 0; d < 26; ++d) {
      if (!(drives & (1u << d))) continue;
      std::wstring root = {wchar_t(L'A' + d), L':', L'\\'};
      UINT type = GetDriveTypeW(root.c_str());
      if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) roots_.push_back(rt::IdentifyFolder(root));
    }
  }

  bool Holds(const std::wstring& fullText, const rt::FolderIdentity& id) const {
    if (id.Known() && IsRootText(id.path)) return true;
    for (const rt::FolderIdentity& root : roots_)
      if (root.IsSameFolder(id)) return true;
    for (const SystemFolder& f : folders_) {
      if (f.id.IsSameFolder(id)) return true;
      // A folder that cannot be opened (or a system folder that is missing) is known by its text.
      if (rt::SameName(fullText, f.text) || (id.Known() && (rt::SameName(id.path, f.text) || rt::SameName(id.path, f.id.path))))
        return true;
    }
    return false;
  }

 private:
  void Add(const std::wstring& folder) {
    std::wstring f = folder;
    while (!f.empty() && f.front() == L' ') f.erase(0, 1);
    while (!f.empty() && f.back() == L' ') f.pop_back();
    if (!rt::IsAbsolutePath(std::wstring_view(f))) return;
    folders_.push_back({FullPathOf(f), rt::IdentifyFolder(f)});
  }

  void AddShellFolder(int csidl) {
    wchar_t buf[MAX_PATH] = L"";
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK) Add(buf);
  }

  void AddRegistryFolder(const wchar_t* key, const wchar_t* name, REGSAM view) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | view, &k) != ERROR_SUCCESS) return;
    wchar_t buf[MAX_PATH + 1] = L"";
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      buf[size / sizeof(wchar_t)] = 0;
      wchar_t expanded[MAX_PATH] = L"";
      DWORD n = ExpandEnvironmentStringsW(buf, expanded, MAX_PATH);
      Add(n > 0 && n <= MAX_PATH ? expanded : buf);
    }
    RegCloseKey(k);
  }

  std::vector<SystemFolder> folders_;
  std::vector<rt::FolderIdentity> roots_;
};

// The system's folders do not move while the program runs: they are looked up and resolved once.
std::mutex g_setLock;
std::shared_ptr<const SystemFolderSet> g_set;

std::shared_ptr<const SystemFolderSet> TheSystemFolders() {
  std::lock_guard<std::mutex> hold(g_setLock);
  if (!g_set) g_set = std::make_shared<const SystemFolderSet>();
  return g_set;
}

// A plug-in file names the same folder in entry after entry, and its entries are checked when it
// is read, when the work lists are built and when they are loaded: an answer about a folder's
// text stands for a moment. (What a walk takes is checked on its own root, resolved afresh.)
struct Answer {
  bool system;
  DWORD tick;
};
std::map<std::wstring, Answer> g_answers;
constexpr DWORD kAnswerLifetime = 2000;  // ms
constexpr size_t kMaxAnswers = 4096;

std::optional<bool> RecentAnswer(const std::wstring& full) {
  std::lock_guard<std::mutex> hold(g_setLock);
  auto it = g_answers.find(full);
  if (it == g_answers.end() || GetTickCount() - it->second.tick >= kAnswerLifetime) return std::nullopt;
  return it->second.system;
}

void Remember(const std::wstring& full, bool system) {
  std::lock_guard<std::mutex> hold(g_setLock);
  if (g_answers.size() >= kMaxAnswers) g_answers.clear();
  g_answers[full] = {system, GetTickCount()};
}

}  // namespace

bool IsSystemFolder(const std::string& folder) {
  std::string f = rt::Trim(folder);
  if (f.empty()) return false;
  std::wstring wide = rt::ToWide(f);
  if (IsRootText(wide)) return true;
  if (!rt::IsAbsolutePath(f)) return false;
  std::wstring full = FullPathOf(wide);
  if (std::optional<bool> known = RecentAnswer(full)) return *known;
  bool system = TheSystemFolders()->Holds(full, rt::IdentifyFolder(full));
  Remember(full, system);
  return system;
}

bool IsSystemFolder(const rt::WalkRoot& root) {
  const rt::FolderIdentity& id = root.Identity();
  return id.Known() && TheSystemFolders()->Holds(id.path, id);
}

void ForgetSystemFolders() {
  std::lock_guard<std::mutex> hold(g_setLock);
  g_set.reset();
  g_answers.clear();
}

std::string WindowsFolder() {
  std::string root;
  ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "systemroot", root);
  if (rt::Trim(root).empty())
    ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows nt\\CurrentVersion", "systemroot", root);
  if (rt::Trim(root).empty()) {
    char buf[MAX_PATH] = "";
    UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    root = n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
  }
  root = rt::WithoutTrailingSlash(root);
  return rt::IsAbsolutePath(root) ? root : std::string();
}
