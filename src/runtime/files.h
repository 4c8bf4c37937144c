// Files and folders by exact path. Nothing here expands wildcards: listing matches its pattern
// against each long name itself, and every call that changes a file refuses empty, relative or
// wildcard paths (the platform would otherwise act on the current folder, a parent or a match).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// "C:\..." (a drive letter, ":" and "\") or "\\server\share\..." ; never "\\?\" or "\\.\" device
// paths, never a path with control characters.
bool IsAbsolutePath(std::string_view path);
// True when the last element of the path holds "*" or "?".
bool HasWildcardInName(std::string_view path);

std::string JoinPath(std::string_view folder, std::string_view name);  // one "\" between them
std::string ParentFolder(std::string_view path);                        // "" when there is none
std::string FileNameOf(std::string_view path);
std::string WithoutTrailingSlash(std::string_view path);                 // "C:\" stays "C:\"

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
DWORD GetAttr(const std::string& path);          // kNoAttributes when missing or a wildcard path
bool SetAttr(const std::string& path, DWORD attributes);
bool FileExists(const std::string& path);         // an existing file (not a folder)
bool FolderExists(const std::string& path);
bool IsLink(DWORD attributes);                    // a reparse point (junction, symbolic link)

// The full 64-bit size of one file; false when it is missing or is a folder.
bool FileSize64(const std::string& path, uint64_t& size);

// Deletes one file by its exact path (no wildcards, absolute only). Returns the Windows error,
// 0 on success; ERROR_INVALID_NAME for a path that is refused.
DWORD DeleteExactFile(const std::string& path);

bool CreateFolder(const std::string& path);       // creates the missing folders of an absolute path

struct FileEntry {
  std::string name;  // long name, no folder
  DWORD attributes = 0;
  uint64_t size = 0;
  FILETIME creation{}, lastAccess{}, lastWrite{};
  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

enum class ListWhat { Files, Folders, Both };

// The entries of one folder whose long name matches the pattern (see MatchesPattern), sorted by
// name ignoring case; "." and ".." never. False when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::string_view pattern, ListWhat what,
                std::vector<FileEntry>& out);

// Deletes a folder and everything below it without ever following a link: a linked folder or file
// inside it is removed as a link, its target stays. Refuses relative and drive-root paths.
// Returns true when the folder is gone.
bool DeleteTree(const std::string& folder);

}  // namespace rt
