#include "runtime/files.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "runtime/filewalk.h"
#include "runtime/text.h"

namespace rt {

namespace {
bool HasControlChars(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

bool IsAbsolutePath(std::string_view p) {
  if (p.empty() || HasControlChars(p)) return false;
  if (p.size() >= 3 && IsLetter(p[0]) && p[1] == ':' && p[2] == '\\') return true;
  if (p.size() >= 5 && p[0] == '\\' && p[1] == '\\') {
    if (p[2] == '?' || p[2] == '.') return false;
    size_t sep = p.find('\\', 2);
    return sep != std::string_view::npos && sep > 2 && sep + 1 < p.size() && p[sep + 1] != '\\';
  }
  return false;
}

bool HasWildcardInName(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return HasWildcard(name) || HasWildcard(path);
}

bool IsDeviceName(std::string_view name) {
  size_t dot = name.find('.');
  std::string part = UCase(RTrim(name.substr(0, dot)));
  for (const char* d : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (part == d) return true;
  return part.size() == 4 && (part.rfind("COM", 0) == 0 || part.rfind("LPT", 0) == 0) && part[3] >= '0' && part[3] <= '9';
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || HasControlChars(name) || name.find_first_of("\\/:*?\"<>|") != std::string_view::npos) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  return !IsDeviceName(name);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string r(folder);
  if (!r.empty() && r.back() != '\\' && r.back() != '/') r += '\\';
  while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
  r += name;
  return r;
}

std::string ParentFolder(std::string_view path) {
  std::string p = WithoutTrailingSlash(path);
  size_t slash = p.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  if (slash == 2 && p[1] == ':') return p.substr(0, 3);
  return p.substr(0, slash);
}

std::string FileNameOf(std::string_view path) {
  size_t slash = path.find_last_of("\\/:");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string WithoutTrailingSlash(std::string_view path) {
  std::string p(path);
  while (p.size() > 3 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  return p;
}

DWORD GetAttr(const std::string& path) {
  if (path.empty() || HasWildcard(path)) return kNoAttributes;
  return GetFileAttributesA(path.c_str());
}

namespace {
struct UNICODE_STRING_LIKE {
  USHORT Length;
  USHORT MaximumLength;
  PWSTR Buffer;
};

// "\\?\C:\x" and "\\?\UNC\server\share" as the plain paths they stand for.
std::string PlainPath(std::string p) {
  if (p.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + p.substr(8);
  if (p.rfind("\\\\?\\", 0) == 0) return p.substr(4);
  return p;
}

std::string FullPath(const std::string& path) {
  char buf[1024];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}
}  // namespace

namespace {
using QueryObjectFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

// The path the system has opened for this handle, with its drive: "\\??\\C:\\x" from the object
// manager where it names the file so (Wine), the final path name otherwise (Windows).
std::string OpenedPath(HANDLE h) {
  static auto query = reinterpret_cast<QueryObjectFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject"));
  if (query) {
    alignas(8) char buf[4096];
    ULONG got = 0;
    if (query(h, 1 /* ObjectNameInformation */, buf, sizeof buf, &got) == 0) {
      auto* name = reinterpret_cast<UNICODE_STRING_LIKE*>(buf);
      std::wstring w(name->Buffer, name->Length / sizeof(wchar_t));
      if (w.rfind(L"\\??\\", 0) == 0) {
        char out[2048];
        int n = WideCharToMultiByte(CP_ACP, 0, w.c_str() + 4, static_cast<int>(w.size() - 4), out, sizeof out, nullptr, nullptr);
        return PlainPath("\\\\?\\" + std::string(out, n > 0 ? n : 0));
      }
    }
  }
  char final[2048];
  DWORD n = GetFinalPathNameByHandleA(h, final, sizeof final, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  return n > 0 && n < sizeof final ? PlainPath(final) : std::string();
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0) return true;
  BY_HANDLE_FILE_INFORMATION info[2]{};
  const std::string* paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    HANDLE h = CreateFileA(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info[i]);
    CloseHandle(h);
    if (!ok) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

namespace {
// The path a folder resolves to, links, short names, substituted drives and mount points followed
// ("" when it cannot be opened). The files of one folder come one after another, so each thread
// remembers its last answer for a moment.
std::string ResolvedFolder(const std::string& folder, bool fresh) {
  thread_local std::string lastFolder, lastResolved;
  thread_local DWORD lastTick = 0;
  DWORD now = GetTickCount();
  if (!fresh && now - lastTick < 1000 && !lastFolder.empty() && lastFolder == folder) return lastResolved;
  std::string resolved;
  HANDLE h = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    resolved = WithoutTrailingSlash(OpenedPath(h));
    CloseHandle(h);
  }
  lastFolder = folder;
  lastResolved = resolved;
  lastTick = now;
  return resolved;
}

// The name, in its own letters, of the folder entry a path names: its long name where the path
// gives the short one, the link's own name where the entry is a link.
std::string EntryName(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE f = FindFirstFileA(path.c_str(), &fd);
  if (f == INVALID_HANDLE_VALUE) return "";
  FindClose(f);
  return fd.cFileName;
}

// True when the file the system opened is the one the path names, and not one that a link in the
// last part of the path led to. Like is compared with like: the opened file's own path against
// the path its folder resolves to plus its own name, so a folder named through a short name, a
// junction, a substituted drive or a mount point does not count as a link. Letter case counts
// (two names that differ only in case may be two files).
bool IsNamedFile(const std::string& openedPath, const std::string& fullPath) {
  std::string opened = WithoutTrailingSlash(openedPath), full = WithoutTrailingSlash(fullPath);
  if (opened.empty()) return false;
  if (opened == full) return true;
  std::string folder = ParentFolder(full), name = FileNameOf(full);
  if (folder.empty() || name.empty() || folder == full) return false;
  std::string openedFolder = ParentFolder(opened), openedName = FileNameOf(opened);
  if (ResolvedFolder(folder, false) != openedFolder && ResolvedFolder(folder, true) != openedFolder) return false;
  return name == openedName || EntryName(full) == openedName;
}
}  // namespace

HANDLE OpenNoFollow(const std::string& path, DWORD access, DWORD* error) {
  DWORD dummy;
  DWORD& err = error ? *error : dummy;
  err = 0;
  if (!IsAbsolutePath(path) || HasWildcard(path)) {
    err = ERROR_INVALID_NAME;
    return INVALID_HANDLE_VALUE;
  }
  // With FILE_FLAG_OPEN_REPARSE_POINT a link the system knows as one is opened as the link itself,
  // and the opened path is its own. Where the system resolves a link silently (host links under
  // Wine), the opened file lies elsewhere or has another name: such a file is refused.
  HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    err = GetLastError();
    return h;
  }
  if (!IsNamedFile(OpenedPath(h), FullPath(path))) {
    CloseHandle(h);
    err = kLinkRefused;
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

bool SetAttr(const std::string& path, DWORD attributes) {
  HANDLE h = OpenNoFollow(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILE_BASIC_INFO basic{};
  bool ok = GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic);
  if (ok) {
    DWORD keep = basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    basic.FileAttributes = (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) | keep;
    if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    basic.CreationTime.QuadPart = basic.LastAccessTime.QuadPart = basic.LastWriteTime.QuadPart =
        basic.ChangeTime.QuadPart = 0;  // leave the times as they are
    ok = SetFileInformationByHandle(h, FileBasicInfo, &basic, sizeof basic);
  }
  CloseHandle(h);
  return ok;
}

bool FileExists(const std::string& path) {
  DWORD a = GetAttr(path);
  return a != kNoAttributes && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD a = GetAttr(path);
  return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsLink(DWORD attributes) {
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool FileSize64(const std::string& path, uint64_t& size) {
  size = 0;
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (path.empty() || HasWildcard(path)) return false;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return false;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  return true;
}

namespace {
DWORD DeleteOpened(HANDLE h, DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return ERROR_ACCESS_DENIED;  // a folder is not a file
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) ? 0 : GetLastError();
}
}  // namespace

DWORD DeleteExactFile(const std::string& path) {
  DWORD err = 0;
  HANDLE h = OpenNoFollow(path, DELETE | FILE_READ_ATTRIBUTES, &err);
  if (h == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : err;
  FILE_BASIC_INFO basic{};
  DWORD result = GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)
                     ? DeleteOpened(h, basic.FileAttributes)
                     : GetLastError();
  CloseHandle(h);
  return result;
}

DWORD DeleteListedFile(const std::string& path, DWORD attributes) {
  DWORD err = 0;
  HANDLE h = OpenNoFollow(path, DELETE, &err);
  if (h == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : err;
  DWORD result = DeleteOpened(h, attributes);
  CloseHandle(h);
  return result;
}

std::string ResolvedFolderPath(const std::string& folder) {
  if (!IsAbsolutePath(folder) || HasWildcard(folder)) return "";
  return ResolvedFolder(FullPath(folder), true);
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
  if (!IsAbsolutePath(path) || !IsAbsolutePath(folder)) return false;
  // Full paths: "x\..\y" is y, wherever the text says it starts.
  std::string p = WithoutTrailingSlash(FullPath(std::string(path))), f = WithoutTrailingSlash(FullPath(std::string(folder)));
  if (p.empty() || f.empty() || p.size() < f.size() || !StartsWithNoCase(p, f)) return false;
  return p.size() == f.size() || f.back() == '\\' || p[f.size()] == '\\';
}

bool CreateFolder(const std::string& path) {
  if (!IsAbsolutePath(path)) return false;
  if (FolderExists(path)) return true;
  std::string parent = ParentFolder(path);
  if (!parent.empty() && parent != path && !FolderExists(parent) && !CreateFolder(parent)) return false;
  return CreateDirectoryA(path.c_str(), nullptr) || FolderExists(path);
}

// In the order lstrcmpiA gives (the user's locale, case ignored), from one sort key per name: a
// folder of n names costs n keys instead of n log n comparisons, each of which converts both names.
// Names that compare equal keep the order of their bytes.
void SortByName(std::vector<FileEntry>& entries) {
  std::vector<std::pair<std::string, size_t>> keys(entries.size());
  char buf[2048];
  for (size_t i = 0; i < entries.size(); ++i) {
    int n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, entries[i].name.c_str(), -1, buf, sizeof buf);
    if (n <= 0) {  // no key: compare the names themselves
      std::sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) {
        int c = lstrcmpiA(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
      });
      return;
    }
    keys[i] = {std::string(buf, static_cast<size_t>(n)), i};
  }
  std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : entries[a.second].name < entries[b.second].name;
  });
  std::vector<FileEntry> sorted;
  sorted.reserve(entries.size());
  for (const auto& k : keys) sorted.push_back(std::move(entries[k.second]));
  entries = std::move(sorted);
}

bool ReadFolder(const std::string& folder, std::vector<FileEntry>& out) {
  out.clear();
  if (folder.empty() || HasWildcard(folder)) return false;
  WIN32_FIND_DATAA fd;
  std::string query = JoinPath(folder, "*");
  HANDLE h = FindFirstFileExA(query.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(folder);
  do {
    std::string_view n = fd.cFileName;
    if (n == "." || n == "..") continue;
    FileEntry e;
    e.name = fd.cFileName;
    e.attributes = fd.dwFileAttributes;
    e.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.creation = fd.ftCreationTime;
    e.lastAccess = fd.ftLastAccessTime;
    e.lastWrite = fd.ftLastWriteTime;
    out.push_back(std::move(e));
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return true;
}

bool ListFolder(const std::string& folder, std::string_view pattern, ListWhat what,
                std::vector<FileEntry>& out) {
  if (!ReadFolder(folder, out)) return false;
  std::erase_if(out, [&](const FileEntry& e) {
    return (what == ListWhat::Files && e.IsFolder()) || (what == ListWhat::Folders && !e.IsFolder()) ||
           !MatchesPattern(e.name, pattern);
  });
  SortByName(out);
  return true;
}

bool DeleteTree(const std::string& folder) {
  std::string root = WithoutTrailingSlash(folder);
  if (!IsAbsolutePath(root) || HasWildcard(root) || root.size() <= 3) return false;
  DWORD a = GetAttr(root);
  if (a == kNoAttributes) return true;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return DeleteExactFile(root) == 0;
  if (IsLink(a)) return RemoveDirectoryA(root.c_str()) != 0;  // the link goes (or stays), never its target
  std::vector<FileEntry> entries;
  ListFolder(root, "*", ListWhat::Both, entries);
  for (const auto& e : entries) {
    std::string p = JoinPath(root, e.name);
    if (e.IsFolder()) {
      if (IsLink(e.attributes)) {
        RemoveDirectoryA(p.c_str());
      } else {
        DeleteTree(p);
      }
    } else {
      if (e.attributes & FILE_ATTRIBUTE_READONLY) SetAttr(p, FILE_ATTRIBUTE_ARCHIVE);
      DeleteExactFile(p);
    }
  }
  SetAttr(root, FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryA(root.c_str()) != 0 || !FolderExists(root);
}

void FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
               std::vector<FoundFile>& out) {
  FileWalk walk(folder, mask, includeStartFolder);
  std::vector<FoundFile> batch;
  while (walk.Take(batch, SIZE_MAX, SIZE_MAX)) std::move(batch.begin(), batch.end(), std::back_inserter(out));
}

void FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
               std::vector<std::string>& out) {
  std::vector<FoundFile> found;
  FindFiles(folder, mask, includeStartFolder, found);
  for (auto& f : found) out.push_back(std::move(f.path));
}

}  // namespace rt
