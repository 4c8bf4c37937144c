#include "runtime/files.h"

#include <algorithm>

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

bool SetAttr(const std::string& path, DWORD attributes) {
  if (path.empty() || HasWildcard(path)) return false;
  return SetFileAttributesA(path.c_str(), attributes) != 0;
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

DWORD DeleteExactFile(const std::string& path) {
  if (!IsAbsolutePath(path) || HasWildcard(path)) return ERROR_INVALID_NAME;
  if (DeleteFileA(path.c_str())) return 0;
  return GetLastError();
}

bool CreateFolder(const std::string& path) {
  if (!IsAbsolutePath(path)) return false;
  if (FolderExists(path)) return true;
  std::string parent = ParentFolder(path);
  if (!parent.empty() && parent != path && !FolderExists(parent) && !CreateFolder(parent)) return false;
  return CreateDirectoryA(path.c_str(), nullptr) || FolderExists(path);
}

bool ListFolder(const std::string& folder, std::string_view pattern, ListWhat what,
                std::vector<FileEntry>& out) {
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
    bool isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (what == ListWhat::Files && isFolder) continue;
    if (what == ListWhat::Folders && !isFolder) continue;
    if (!MatchesPattern(n, pattern)) continue;
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
  std::sort(out.begin(), out.end(), [](const FileEntry& a, const FileEntry& b) {
    return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
  });
  return true;
}

bool DeleteTree(const std::string& folder) {
  std::string root = WithoutTrailingSlash(folder);
  if (!IsAbsolutePath(root) || HasWildcard(root) || root.size() <= 3) return false;
  DWORD a = GetAttr(root);
  if (a == kNoAttributes) return true;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return DeleteExactFile(root) == 0;
  if (IsLink(a)) return RemoveDirectoryA(root.c_str()) != 0;  // the link goes, never its target
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

}  // namespace rt
