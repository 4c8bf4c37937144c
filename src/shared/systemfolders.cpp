#include "shared/systemfolders.h"

#include <windows.h>
#include <shlobj.h>

#include <cctype>
#include <vector>

#include "runtime/files.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace {

// "C:", "C:\", "\\server\share" or "\\server\share\".
bool IsRootText(const std::string& folder) {
  std::string f = rt::WithoutTrailingSlash(folder);
  bool drive = f.size() >= 2 && isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':';
  if (drive) return f.size() == 2 || (f.size() == 3 && f[2] == '\\');
  if (f.rfind("\\\\", 0) != 0) return false;
  size_t server = f.find('\\', 2);
  return server == std::string::npos || f.find('\\', server + 1) == std::string::npos;
}

void AddShellFolder(std::vector<std::string>& out, int csidl) {
  char buf[MAX_PATH] = "";
  if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK) out.push_back(buf);
}

void AddRegistryFolder(std::vector<std::string>& out, const char* key, const char* name, REGSAM view) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | view, &k) != ERROR_SUCCESS) return;
  char buf[MAX_PATH] = "";
  DWORD size = sizeof buf - 1, type = 0;
  if (RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    buf[size < sizeof buf ? size : sizeof buf - 1] = 0;
    char expanded[MAX_PATH] = "";
    DWORD n = ExpandEnvironmentStringsA(buf, expanded, MAX_PATH);
    out.push_back(n > 0 && n <= MAX_PATH ? expanded : buf);
  }
  RegCloseKey(k);
}

// The Windows folder (as the system and the settings name it), the Program Files folders of both
// views, the user's profile folder and the folder of the profiles, as texts; some may be empty or
// name one folder twice.
std::vector<std::string> SystemFolders() {
  std::vector<std::string> out;
  char buf[MAX_PATH] = "";
  UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
  if (n > 0 && n < MAX_PATH) out.push_back(buf);
  n = GetSystemWindowsDirectoryA(buf, MAX_PATH);
  if (n > 0 && n < MAX_PATH) out.push_back(buf);
  for (const char* key : {"Software\\Microsoft\\Windows\\CurrentVersion", "Software\\Microsoft\\Windows nt\\CurrentVersion"}) {
    std::string root;
    ReadRegString(HKEY_LOCAL_MACHINE, key, "systemroot", root);
    out.push_back(root);
  }
  for (int csidl : {CSIDL_WINDOWS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) AddShellFolder(out, csidl);
  // The profile folder, and the folder that holds every user's profile ("C:\Users",
  // "C:\Documents and Settings"): taken whole, it is every user's profile at once.
  if (SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK) {
    out.push_back(buf);
    out.push_back(rt::ParentFolder(rt::WithoutTrailingSlash(buf)));
  }
  AddRegistryFolder(out, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", "ProfilesDirectory", 0);
  // A 32-bit program on 64-bit Windows is shown "Program Files (x86)" as its Program Files: the
  // 64-bit one is named in the 64-bit view of the registry.
  const char* current = "Software\\Microsoft\\Windows\\CurrentVersion";
  for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)})
    for (const char* name : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"})
      AddRegistryFolder(out, current, name, view);
  return out;
}

bool SamePath(const std::string& a, const std::string& b) {
  return rt::IsInsideFolder(a, b) && rt::IsInsideFolder(b, a);
}

}  // namespace

bool IsSystemFolder(const std::string& folder) {
  std::string f = rt::Trim(folder);
  if (f.empty()) return false;
  if (IsRootText(f)) return true;
  if (!rt::IsAbsolutePath(f)) return false;
  std::string resolved = rt::ResolvedFolderPath(rt::WithoutTrailingSlash(f));
  if (!resolved.empty() && IsRootText(resolved)) return true;
  for (std::string system : SystemFolders()) {
    system = rt::WithoutTrailingSlash(rt::Trim(system));
    if (!rt::IsAbsolutePath(system)) continue;
    if (SamePath(f, system)) return true;
    if (resolved.empty()) continue;
    std::string systemResolved = rt::ResolvedFolderPath(system);
    if (rt::EqualsNoCase(resolved, systemResolved.empty() ? system : systemResolved)) return true;
  }
  return false;
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
