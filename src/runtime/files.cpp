#include "runtime/files.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "runtime/filewalk.h"
#include "runtime/text.h"

namespace rt {

namespace {
template <class C>
bool HasControlChars(std::basic_string_view<C> s) {
  return std::any_of(s.begin(), s.end(), [](C c) { return static_cast<std::make_unsigned_t<C>>(c) < 32; });
}
template <class C>
bool IsLetter(C c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The first "\" at or after `from`: by characters in ANSI text (the second byte of a double-byte
// character may be that byte), plainly in wide text.
size_t FindSlash(std::string_view p, size_t from) { return FindCharOf(p, "\\", from); }
size_t FindSlash(std::wstring_view p, size_t from) { return p.find(L'\\', from); }

template <class C>
bool IsAbsolute(std::basic_string_view<C> p) {
  if (p.empty() || HasControlChars(p)) return false;
  if (p.size() >= 3 && IsLetter(p[0]) && p[1] == ':' && p[2] == '\\') return true;
  if (p.size() >= 5 && p[0] == '\\' && p[1] == '\\') {
    if (p[2] == '?' || p[2] == '.') return false;
    size_t sep = FindSlash(p, 2);
    return sep != std::basic_string_view<C>::npos && sep > 2 && sep + 1 < p.size() && p[sep + 1] != '\\';
  }
  return false;
}

bool IsAscii(std::wstring_view s) {
  return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c < 0x80; });
}

// True when the path is the folder or lies below it: the folder's text begins it, letter case
// aside, and a "\" follows (or the folder ends in one).
bool LiesIn(std::wstring_view path, std::wstring_view folder) {
  if (folder.empty() || path.size() < folder.size() || !SameName(path.substr(0, folder.size()), folder)) return false;
  return path.size() == folder.size() || folder.back() == L'\\' || path[folder.size()] == L'\\';
}

// What follows the last "\", "/" or ":" of a wide path.
std::wstring NameOf(std::wstring_view path) {
  size_t i = path.find_last_of(L"\\/:");
  return std::wstring(i == std::wstring_view::npos ? path : path.substr(i + 1));
}
}  // namespace

std::wstring ToWide(std::string_view ansi, unsigned codePage) {
  if (IsAscii(ansi)) return std::wstring(ansi.begin(), ansi.end());
  int n = MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return w;
}

std::string ToAnsi(std::wstring_view wide, bool* lossy, unsigned codePage) {
  if (lossy) *lossy = false;
  if (IsAscii(wide)) return std::string(wide.begin(), wide.end());
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  // The code page's own letters only: a look-alike ("a" for an "a" with a bar) could name another file.
  int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (n > 0) {
    std::string a(n, '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, a.data(), n, nullptr, &usedDefault);
    if (lossy) *lossy = usedDefault != FALSE;
    return a;
  }
  // A code page that takes no such flags (UTF-8): converted plainly, lossy where the way back differs.
  n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string a(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, wide.data(), size, a.data(), n, nullptr, nullptr);
  if (lossy) *lossy = ToWide(a, codePage) != wide;
  return a;
}

bool IsAbsolutePath(std::string_view p) { return IsAbsolute(p); }
bool IsAbsolutePath(std::wstring_view p) { return IsAbsolute(p); }

bool HasWildcardInName(std::string_view path) {
  size_t slash = FindLastCharOf(path, "\\/");
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

bool IsPlainFileName(std::string_view name, unsigned codePage) {
  if (name.empty() || name.size() > MAX_PATH) return false;
  int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), w.data(), n);
  for (wchar_t c : w)
    if (c < 32 || c == 127 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  if (w.back() == L'.' || w.back() == L' ') return false;
  // The device names are ASCII letters and digits, which every code page spells alike.
  return !IsDeviceName(name);
}

bool EndsWithSlash(std::string_view path, unsigned codePage) { return EndsWithCharOf(path, "\\/", codePage); }

std::string JoinPath(std::string_view folder, std::string_view name, unsigned codePage) {
  std::string r(folder);
  if (!r.empty() && !EndsWithSlash(r, codePage)) r += '\\';
  // A text's first byte always starts a character.
  while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
  r += name;
  return r;
}

std::string WithoutTrailingSlash(std::string_view path, unsigned codePage) {
  std::string p(path);
  while (p.size() > 3 && EndsWithSlash(p, codePage)) p.pop_back();
  return p;
}

std::string ParentFolder(std::string_view path, unsigned codePage) {
  std::string p = WithoutTrailingSlash(path, codePage);
  size_t i = FindLastCharOf(p, "\\/", codePage);
  if (i == std::string::npos) return {};
  if (i == 2 && p[1] == ':') return p.substr(0, 3);
  return p.substr(0, i);
}

std::string FileNameOf(std::string_view path, unsigned codePage) {
  size_t i = FindLastCharOf(path, "\\/:", codePage);
  return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

// The path helpers for wide text; the ANSI ones above read their text by code-page characters.
std::wstring WithoutTrailingSlash(std::wstring_view path) {
  std::wstring p(path);
  while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  return p;
}

std::wstring ParentFolder(std::wstring_view path) {
  std::wstring p = WithoutTrailingSlash(path);
  size_t i = p.find_last_of(L"\\/");
  if (i == std::wstring::npos) return {};
  if (i == 2 && p[1] == L':') return p.substr(0, 3);
  return p.substr(0, i);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring r(folder);
  if (!r.empty() && r.back() != L'\\' && r.back() != L'/') r += L'\\';
  while (!name.empty() && (name.front() == L'\\' || name.front() == L'/')) name.remove_prefix(1);
  r += name;
  return r;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buf[1024];
  DWORD n = GetFullPathNameW(path.c_str(), 1024, buf, nullptr);
  return n > 0 && n < 1024 ? std::wstring(buf, n) : path;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         (a.empty() || CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL);
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
std::wstring PlainPath(std::wstring p) {
  if (p.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + p.substr(8);
  if (p.rfind(L"\\\\?\\", 0) == 0) return p.substr(4);
  return p;
}

// The wide path of a file to be opened, or "" when the path is one the calls here refuse.
std::wstring CheckedPath(const std::string& path, const std::wstring& wide) {
  if (wide.empty()) return IsAbsolutePath(path) && !HasWildcard(path) ? ToWide(path) : std::wstring();
  return IsAbsolute(std::wstring_view(wide)) && wide.find_first_of(L"*?") == std::wstring::npos ? wide : std::wstring();
}

using QueryObjectFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

// The path the system has opened for this handle, with its drive: "\\??\\C:\\x" from the object
// manager where it names the file so (Wine), the final path name otherwise (Windows).
std::wstring OpenedPath(HANDLE h) {
  static auto query = reinterpret_cast<QueryObjectFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject"));
  if (query) {
    alignas(8) char buf[4096];
    ULONG got = 0;
    if (query(h, 1 /* ObjectNameInformation */, buf, sizeof buf, &got) == 0) {
      auto* name = reinterpret_cast<UNICODE_STRING_LIKE*>(buf);
      std::wstring_view w(name->Buffer, name->Length / sizeof(wchar_t));
      if (w.substr(0, 4) == L"\\??\\") return PlainPath(L"\\\\?\\" + std::wstring(w.substr(4)));
    }
  }
  wchar_t final[2048];
  DWORD n = GetFinalPathNameByHandleW(h, final, 2048, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  return n > 0 && n < 2048 ? PlainPath(final) : std::wstring();
}

bool SameOpenedFile(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return false;
  if (lstrcmpiW(FullPath(a).c_str(), FullPath(b).c_str()) == 0) return true;
  BY_HANDLE_FILE_INFORMATION info[2]{};
  const std::wstring* paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    HANDLE h = CreateFileW(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info[i]);
    CloseHandle(h);
    if (!ok) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty() || HasWildcard(a) || HasWildcard(b)) return false;
  return SameOpenedFile(ToWide(a), ToWide(b));
}

bool SameFile(const FoundFile& a, const FoundFile& b) {
  std::wstring wa = CheckedPath(a.path, a.wide), wb = CheckedPath(b.path, b.wide);
  return SameOpenedFile(wa, wb);
}

namespace {
// The path a folder resolves to, links, short names, substituted drives and mount points followed
// ("" when it cannot be opened). The files of a folder come one after another, or from a few
// folders in turn (those of the URL cache), so each thread remembers its last few answers for a
// moment.
std::wstring ResolvedFolder(const std::wstring& folder, bool fresh) {
  struct Known {
    std::wstring folder, resolved;
    DWORD tick = 0;
  };
  thread_local Known known[8];
  thread_local size_t next = 0;
  DWORD now = GetTickCount();
  Known* slot = nullptr;
  for (Known& k : known) {
    if (k.folder.empty() || k.folder != folder) continue;
    if (!fresh && now - k.tick < 1000) return k.resolved;
    slot = &k;
  }
  std::wstring resolved;
  HANDLE h = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    resolved = WithoutTrailingSlash(OpenedPath(h));
    CloseHandle(h);
  }
  if (!slot) {
    slot = &known[next];
    next = (next + 1) % std::size(known);
  }
  *slot = {folder, resolved, now};
  return resolved;
}

// The name, in its own letters, of the folder entry a path names: its long name where the path
// gives the short one, the link's own name where the entry is a link.
std::wstring EntryName(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE f = FindFirstFileW(path.c_str(), &fd);
  if (f == INVALID_HANDLE_VALUE) return L"";
  FindClose(f);
  return fd.cFileName;
}

// True when the file the system opened is the one the path names, and not one that a link in the
// last part of the path led to. Like is compared with like: the opened file's own path against
// the path its folder resolves to plus its own name, so a folder named through a short name, a
// junction, a substituted drive or a mount point does not count as a link. Letter case counts
// (two names that differ only in case may be two files).
bool IsNamedFile(const std::wstring& openedPath, const std::wstring& fullPath) {
  std::wstring opened = WithoutTrailingSlash(openedPath), full = WithoutTrailingSlash(fullPath);
  if (opened.empty()) return false;
  if (opened == full) return true;
  std::wstring folder = ParentFolder(full), name = NameOf(full);
  if (folder.empty() || name.empty() || folder == full) return false;
  std::wstring openedFolder = ParentFolder(opened), openedName = NameOf(opened);
  if (ResolvedFolder(folder, false) != openedFolder && ResolvedFolder(folder, true) != openedFolder) return false;
  return name == openedName || EntryName(full) == openedName;
}

// Opens a checked wide path (see OpenNoFollow): never through a link, and only inside the root
// when one is given. With FILE_FLAG_OPEN_REPARSE_POINT a link the system knows as one is opened
// as the link itself, and the opened path is its own. Where the system resolves a link silently
// (host links under Wine), the opened file lies elsewhere or has another name: such a file is
// refused. The one path the system gives for the handle serves both checks. Without
// FILE_FLAG_BACKUP_SEMANTICS (filesOnly) the system opens no folder: it answers ERROR_ACCESS_DENIED.
HANDLE OpenChecked(const std::wstring& path, DWORD access, DWORD& err, const WalkRoot* root, bool filesOnly = false) {
  err = 0;
  if (path.empty()) {
    err = ERROR_INVALID_NAME;
    return INVALID_HANDLE_VALUE;
  }
  const DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (filesOnly ? 0 : FILE_FLAG_BACKUP_SEMANTICS);
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    err = GetLastError();
    return h;
  }
  std::wstring opened = OpenedPath(h);
  if (!IsNamedFile(opened, FullPath(path))) {
    err = kLinkRefused;
  } else if (root && !root->Holds(opened)) {
    err = kOutsideRoot;
  } else {
    return h;
  }
  CloseHandle(h);
  return INVALID_HANDLE_VALUE;
}

bool SetOpenedAttr(HANDLE h, DWORD attributes) {
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
}  // namespace

FolderIdentity IdentifyFolder(const std::wstring& folder) {
  FolderIdentity id;
  if (folder.empty() || folder.find_first_of(L"*?") != std::wstring::npos) return id;
  HANDLE h = CreateFileW(FullPath(folder).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return id;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    id.path = WithoutTrailingSlash(OpenedPath(h));
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(h);
  return id;
}

namespace {
SRWLOCK g_resolveHookLock = SRWLOCK_INIT;
std::function<void(const std::string&, bool)> g_resolveHook;
}  // namespace

void SetResolveHookForTests(std::function<void(const std::string& folder, bool resolved)> hook) {
  AcquireSRWLockExclusive(&g_resolveHookLock);
  g_resolveHook = std::move(hook);
  ReleaseSRWLockExclusive(&g_resolveHookLock);
}

WalkRoot::WalkRoot(const std::string& folder) {
  AcquireSRWLockShared(&g_resolveHookLock);
  auto hook = g_resolveHook;
  ReleaseSRWLockShared(&g_resolveHookLock);
  if (hook) hook(folder, false);
  std::wstring path = CheckedPath(folder, L"");
  if (!path.empty()) root_ = IdentifyFolder(path);
  if (hook) hook(folder, true);
}

bool WalkRoot::Holds(std::wstring_view finalPath) const { return LiesIn(finalPath, root_.path); }

HANDLE OpenNoFollow(const std::string& path, DWORD access, DWORD* error) {
  DWORD dummy;
  return OpenChecked(CheckedPath(path, L""), access, error ? *error : dummy, nullptr);
}

HANDLE OpenNoFollow(const FoundFile& file, DWORD access, DWORD* error, const WalkRoot* root) {
  DWORD dummy;
  return OpenChecked(CheckedPath(file.path, file.wide), access, error ? *error : dummy, root);
}

HANDLE OpenFileNoFollow(const FoundFile& file, DWORD access, DWORD* error, const WalkRoot* root) {
  DWORD dummy;
  return OpenChecked(CheckedPath(file.path, file.wide), access, error ? *error : dummy, root, true);
}

HANDLE HoldFreeName(const FoundFile& file, DWORD* error, const WalkRoot* root) {
  DWORD dummy;
  DWORD& err = error ? *error : dummy;
  err = 0;
  std::wstring path = CheckedPath(file.path, file.wide);
  if (path.empty()) {
    err = ERROR_INVALID_NAME;
    return INVALID_HANDLE_VALUE;
  }
  // CREATE_NEW makes the file only where nothing has the name: never through a link that has it.
  HANDLE h = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    err = GetLastError();
    return h;
  }
  if (!root || root->Holds(OpenedPath(h))) return h;
  CloseHandle(h);  // made where the root does not reach (its folder was swapped meanwhile): it goes at once
  err = kOutsideRoot;
  return INVALID_HANDLE_VALUE;
}

bool SetAttr(const std::string& path, DWORD attributes) {
  HANDLE h = OpenNoFollow(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
  return h != INVALID_HANDLE_VALUE && SetOpenedAttr(h, attributes);
}

bool SetAttr(const FoundFile& file, DWORD attributes, const WalkRoot* root) {
  HANDLE h = OpenNoFollow(file, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, nullptr, root);
  return h != INVALID_HANDLE_VALUE && SetOpenedAttr(h, attributes);
}

DWORD GetAttr(const FoundFile& file) {
  if (file.wide.empty()) return GetAttr(file.path);
  std::wstring path = CheckedPath(file.path, file.wide);
  return path.empty() ? kNoAttributes : GetFileAttributesW(path.c_str());
}

bool FileExists(const std::string& path) {
  DWORD a = GetAttr(path);
  return a != kNoAttributes && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const FoundFile& file) {
  DWORD a = GetAttr(file);
  return a != kNoAttributes && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD a = GetAttr(path);
  return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsLink(DWORD attributes) {
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

namespace {
bool SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& d, uint64_t& size) {
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  return true;
}
}  // namespace

bool FileSize64(const std::string& path, uint64_t& size) {
  size = 0;
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (path.empty() || HasWildcard(path)) return false;
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) && SizeOf(d, size);
}

bool FileSize64(const FoundFile& file, uint64_t& size) {
  if (file.wide.empty()) return FileSize64(file.path, size);
  size = 0;
  WIN32_FILE_ATTRIBUTE_DATA d;
  std::wstring path = CheckedPath(file.path, file.wide);
  return !path.empty() && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d) && SizeOf(d, size);
}

namespace {
DWORD DeleteOpened(HANDLE h, DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return ERROR_ACCESS_DENIED;  // a folder is not a file
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
  return MarkForDeletion(h) ? 0 : GetLastError();
}

DWORD DeleteChecked(const std::wstring& path, const WalkRoot* root) {
  DWORD err = 0;
  HANDLE h = OpenChecked(path, DELETE | FILE_READ_ATTRIBUTES, err, root);
  if (h == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : err;
  FILE_BASIC_INFO basic{};
  DWORD result = GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)
                     ? DeleteOpened(h, basic.FileAttributes)
                     : GetLastError();
  CloseHandle(h);
  return result;
}
}  // namespace

bool MarkForDeletion(HANDLE h, bool on) {
  FILE_DISPOSITION_INFO dispose{on};
  return SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) != 0;
}

DWORD DeleteExactFile(const std::string& path) { return DeleteChecked(CheckedPath(path, L""), nullptr); }

DWORD DeleteListedFile(const FoundFile& file, const WalkRoot* root) {
  // What the handle opened counts, not what the listing said: a folder that has taken the file's
  // name is not opened at all, and the system itself refuses to delete a read-only file.
  DWORD err = 0;
  HANDLE h = OpenFileNoFollow(file, DELETE, &err, root);
  if (h == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : err;
  DWORD result = MarkForDeletion(h) ? 0 : GetLastError();
  CloseHandle(h);
  return result;
}

std::string ResolvedFolderPath(const std::string& folder) { return ResolvedFolderPath(WalkRoot(folder)); }

std::string ResolvedFolderPath(const WalkRoot& root) {
  bool lossy = false;
  std::string resolved = ToAnsi(root.Resolved(), &lossy);
  return lossy ? std::string() : resolved;  // a text that is not the folder's own would name another
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
  if (!IsAbsolutePath(path) || !IsAbsolutePath(folder)) return false;
  // Full wide paths: "x\..\y" is y, wherever the text says it starts, and every character is one.
  return LiesIn(WithoutTrailingSlash(FullPath(ToWide(path))), WithoutTrailingSlash(FullPath(ToWide(folder))));
}

DWORD LinkCount(const std::string& path) {
  HANDLE h = OpenNoFollow(path, FILE_READ_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  DWORD links = GetFileInformationByHandle(h, &info) ? info.nNumberOfLinks : 0;
  CloseHandle(h);
  return links;
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
  return ReadFolder(ToWide(folder), out);
}

// By wide names, each spelled in ANSI as well; the wide one kept only where the spelling lost some.
bool ReadFolder(const std::wstring& folder, std::vector<FileEntry>& out) {
  out.clear();
  if (folder.empty() || folder.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW fd;
  std::wstring query = JoinPath(folder, L"*");
  HANDLE h = FindFirstFileExW(query.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    DWORD a = GetFileAttributesW(folder.c_str());
    return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  do {
    std::wstring_view n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    FileEntry e;
    bool lossy = false;
    e.name = ToAnsi(n, &lossy);
    if (lossy) e.wide = n;
    e.attributes = fd.dwFileAttributes;
    e.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.creation = fd.ftCreationTime;
    e.lastAccess = fd.ftLastAccessTime;
    e.lastWrite = fd.ftLastWriteTime;
    out.push_back(std::move(e));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return true;
}

bool NameMatches(const FileEntry& entry, std::string_view pattern) {
  return entry.wide.empty() ? MatchesPattern(entry.name, pattern) : MatchesPattern(entry.wide, ToWide(pattern));
}

bool ListFolder(const std::string& folder, std::string_view pattern, ListWhat what,
                std::vector<FileEntry>& out) {
  if (!ReadFolder(folder, out)) return false;
  std::erase_if(out, [&](const FileEntry& e) {
    return (what == ListWhat::Files && e.IsFolder()) || (what == ListWhat::Folders && !e.IsFolder()) ||
           !NameMatches(e, pattern);
  });
  SortByName(out);
  return true;
}

FoundFile FileIn(const std::string& folder, const FileEntry& entry) {
  FoundFile f{JoinPath(folder, entry.name), entry.attributes, entry.size};
  if (!entry.wide.empty()) f.wide = JoinPath(ToWide(folder), entry.wide);
  return f;
}

namespace {
// Below the root only, by wide names; linked folders go as links, never their content.
void DeleteTreeBelow(const std::wstring& folder, const WalkRoot& root) {
  std::vector<FileEntry> entries;
  ReadFolder(folder, entries);
  for (const auto& e : entries) {
    std::wstring p = JoinPath(folder, e.wide.empty() ? ToWide(e.name) : e.wide);
    if (e.IsFolder() && IsLink(e.attributes)) {
      RemoveDirectoryW(p.c_str());
    } else if (e.IsFolder()) {
      DeleteTreeBelow(p, root);
      DWORD err = 0;
      HANDLE h = OpenChecked(p, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, err, &root);
      if (h == INVALID_HANDLE_VALUE) continue;  // no longer the folder that was listed: left alone
      SetOpenedAttr(h, FILE_ATTRIBUTE_NORMAL);
      RemoveDirectoryW(p.c_str());
    } else {
      DWORD err = 0;
      if (e.attributes & FILE_ATTRIBUTE_READONLY) {
        HANDLE h = OpenChecked(p, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, err, &root);
        if (h != INVALID_HANDLE_VALUE) SetOpenedAttr(h, FILE_ATTRIBUTE_ARCHIVE);
      }
      DeleteChecked(p, &root);
    }
  }
}
}  // namespace

bool DeleteTree(const std::string& folder) {
  std::string root = WithoutTrailingSlash(folder);
  if (!IsAbsolutePath(root) || HasWildcard(root) || root.size() <= 3) return false;
  DWORD a = GetAttr(root);
  if (a == kNoAttributes) return true;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return DeleteExactFile(root) == 0;
  if (IsLink(a)) return RemoveDirectoryA(root.c_str()) != 0;  // the link goes (or stays), never its target
  const WalkRoot resolved(root);
  DeleteTreeBelow(ToWide(root), resolved);
  SetAttr(root, FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryA(root.c_str()) != 0 || !FolderExists(root);
}

WalkRoot FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
                   std::vector<FoundFile>& out) {
  const WalkRoot root(folder);
  FindFiles(root, folder, mask, includeStartFolder, out);
  return root;
}

void FindFiles(const WalkRoot& root, const std::string& folder, std::string_view mask, bool includeStartFolder,
               std::vector<FoundFile>& out) {
  FileWalk walk(root, folder, mask, includeStartFolder);
  std::vector<FoundFile> batch;
  while (walk.Take(batch, SIZE_MAX, SIZE_MAX)) std::move(batch.begin(), batch.end(), std::back_inserter(out));
}

WalkRoot FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
                   std::vector<std::string>& out) {
  std::vector<FoundFile> found;
  WalkRoot root = FindFiles(folder, mask, includeStartFolder, found);
  for (auto& f : found) out.push_back(std::move(f.path));
  return root;
}

}  // namespace rt
