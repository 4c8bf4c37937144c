// Files and folders by exact path. Nothing here expands wildcards: listing matches its pattern
// against each long name itself, and every call that changes a file refuses empty, relative or
// wildcard paths (the platform would otherwise act on the current folder, a parent or a match).
//
// Listing and deleting work on the platform's wide names. The paths the rest of the program sees
// are ANSI text; a listed name that the ANSI code page cannot spell is spelled with "?" where its
// letters are missing (so no ANSI call can take it for another file), and the listing keeps its
// wide spelling beside it, which the calls that take a listed file use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace rt {

// "C:\..." (a drive letter, ":" and "\") or "\\server\share\..." ; never "\\?\" or "\\.\" device
// paths, never a path with control characters.
bool IsAbsolutePath(std::string_view path);
bool IsAbsolutePath(std::wstring_view path);
// True when the last element of the path holds "*" or "?".
bool HasWildcardInName(std::string_view path);
// A name that Windows takes as a device whatever its folder ("CON", "nul.txt", "COM1", ...).
bool IsDeviceName(std::string_view name);
// A file name of its own, without a folder: not empty, spelled in the code page, no control
// character, none of \ / : * ? " < > |, no "." or blank at its end, and no device name.
bool IsPlainFileName(std::string_view name, unsigned codePage = kAnsiCodePage);

// Paths in ANSI text are cut and joined by the characters of the code page (the system's unless
// told): a folder whose last character ends in the byte of "\" still gets its "\" before a name.
std::string JoinPath(std::string_view folder, std::string_view name, unsigned codePage = kAnsiCodePage);  // one "\" between them
std::string ParentFolder(std::string_view path, unsigned codePage = kAnsiCodePage);  // "" when there is none
std::string FileNameOf(std::string_view path, unsigned codePage = kAnsiCodePage);    // after the last "\", "/" or ":"
std::string WithoutTrailingSlash(std::string_view path, unsigned codePage = kAnsiCodePage);  // "C:\" stays "C:\"
bool EndsWithSlash(std::string_view path, unsigned codePage = kAnsiCodePage);        // its last character is "\" or "/"
// The same for wide paths, and the full path of one ("x\..\y" is "y"; the path itself when the
// system cannot make it).
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
std::wstring ParentFolder(std::wstring_view path);
std::wstring WithoutTrailingSlash(std::wstring_view path);
std::wstring FullPath(const std::wstring& path);

// Text between the ANSI code page (the system's unless told) and the platform's wide names.
// ToAnsi spells what the code page lacks as "?" (never as a look-alike letter) and says so in *lossy.
std::wstring ToWide(std::string_view ansi, unsigned codePage = kAnsiCodePage);
std::string ToAnsi(std::wstring_view wide, bool* lossy = nullptr, unsigned codePage = kAnsiCodePage);
// Two names (or paths) that are one for the file system: equal but for letter case, compared as
// wide characters.
bool SameName(std::wstring_view a, std::wstring_view b);

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
DWORD GetAttr(const std::string& path);          // kNoAttributes when missing or a wildcard path
// Sets the attributes of the file or folder itself, never of a link's target.
bool SetAttr(const std::string& path, DWORD attributes);
bool FileExists(const std::string& path);         // an existing file (not a folder)
bool FolderExists(const std::string& path);
bool IsLink(DWORD attributes);                    // a reparse point (junction, symbolic link)

// The full 64-bit size of one file; false when it is missing or is a folder.
bool FileSize64(const std::string& path, uint64_t& size);

// Opens an existing file or folder by its exact path and never through a link: a path whose file
// turns out to be another one (a link that the system resolved to its target: the opened file does
// not lie in the folder the path names, or has another name there) is refused with
// ERROR_CANT_ACCESS_FILE. The folder part of the path may be written any way the system resolves
// (short names, junctions, substituted drives, mount points): only the last part counts. A link
// that the system shows as a reparse point is opened as the link itself. INVALID_HANDLE_VALUE on
// failure, with the error in *error.
HANDLE OpenNoFollow(const std::string& path, DWORD access, DWORD* error = nullptr);
constexpr DWORD kLinkRefused = ERROR_CANT_ACCESS_FILE;

// Where a walk may change files: the walk's root folder as it resolved when the walk started
// (links, short names, substituted drives and mount points followed). Every file the walk erases,
// overwrites or changes must lie below it by the final path of its opened handle, so a folder
// swapped for a link after it was listed changes nothing outside the root. A root that could not
// be resolved (a missing folder) holds nothing.
// What a folder is, whatever path names it: the path it resolves to (links, short names,
// substituted drives and mount points followed; without a closing "\", but "C:\") and the file
// system's own identity of it (the volume's serial number and the folder's file index). Unknown
// (an empty path) when the folder cannot be opened.
struct FolderIdentity {
  std::wstring path;
  DWORD volume = 0;
  uint64_t index = 0;
  bool Known() const { return !path.empty(); }
  bool IsSameFolder(const FolderIdentity& other) const {
    return Known() && other.Known() && volume == other.volume && index == other.index;
  }
};
FolderIdentity IdentifyFolder(const std::wstring& folder);

class WalkRoot {
 public:
  WalkRoot() = default;  // holds nothing
  explicit WalkRoot(const std::string& folder);  // resolves the folder, once
  bool Holds(std::wstring_view finalPath) const;  // the final path of an opened file, or the root itself
  const std::wstring& Resolved() const { return root_.path; }
  const FolderIdentity& Identity() const { return root_; }

 private:
  FolderIdentity root_;
};
// A file the walk's root does not hold is refused with this error.
constexpr DWORD kOutsideRoot = ERROR_CANT_ACCESS_FILE;
// Tests change a folder as another program could, around the resolution of a root of it (that of
// ResolvedFolderPath too): the hook runs just before it and just after it (resolved true), with the
// folder as the caller wrote it. Null: none.
void SetResolveHookForTests(std::function<void(const std::string& folder, bool resolved)> hook);

// Deletes one file by its exact path (no wildcards, absolute only), never through a link: a link
// goes as a link, and where the system cannot tell the link from its target the file stays
// (kLinkRefused). Returns the Windows error, 0 on success; ERROR_INVALID_NAME for a refused path,
// ERROR_ACCESS_DENIED for a folder or a read-only file.
DWORD DeleteExactFile(const std::string& path);
// Marks the opened file to go when its last handle closes (on), or takes the mark back (off).
// The handle needs DELETE access; false, with the system's error, when the mark was refused.
bool MarkForDeletion(HANDLE h, bool on = true);

// The number of names (hard links) the file has; 0 when it cannot be opened. A file of more than
// one name shares its content and attributes with the others: they must not change through it.
DWORD LinkCount(const std::string& path);

bool CreateFolder(const std::string& path);       // creates the missing folders of an absolute path

// True when the two paths name one and the same existing file: the same full path (ignoring case),
// or the same file of the same volume reached by another path.
bool SameFile(const std::string& a, const std::string& b);

// The path a folder resolves to, with links, short names, substituted drives and mount points
// followed, without a closing "\"; "" when it cannot be opened. The second spells a root that
// was resolved before ("" when the code page cannot spell it): what was checked is what is walked.
std::string ResolvedFolderPath(const std::string& folder);
std::string ResolvedFolderPath(const WalkRoot& root);
// True when the absolute path is the folder or lies below it (full paths, ".." resolved, compared
// ignoring case).
bool IsInsideFolder(std::string_view path, std::string_view folder);

struct FileEntry {
  std::string name;   // long name, no folder, as the ANSI code page spells it
  std::wstring wide;  // the long name itself, only where `name` lost some of its letters
  DWORD attributes = 0;
  uint64_t size = 0;
  FILETIME creation{}, lastAccess{}, lastWrite{};
  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// True when the entry's long name (its wide one where the code page cannot spell it) matches the
// pattern (see MatchesPattern).
bool NameMatches(const FileEntry& entry, std::string_view pattern);

enum class ListWhat { Files, Folders, Both };

// The entries of one folder whose long name matches the pattern (see MatchesPattern), sorted by
// name ignoring case; "." and ".." never. False when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::string_view pattern, ListWhat what,
                std::vector<FileEntry>& out);
// Its two halves: every entry of the folder in the order the system gives them, and the sort.
bool ReadFolder(const std::string& folder, std::vector<FileEntry>& out);
bool ReadFolder(const std::wstring& folder, std::vector<FileEntry>& out);
void SortByName(std::vector<FileEntry>& entries);  // by name ignoring case, as lstrcmpiA orders them

// Deletes a folder and everything below it without ever following a link: a linked folder or file
// inside it is removed as a link (or stays where it cannot be), its target stays, and nothing is
// deleted outside the folder as it resolved at the start. Refuses relative and drive-root paths.
// Returns true when the folder is gone.
bool DeleteTree(const std::string& folder);

// Every file below a folder whose long name matches the mask: the folder's own files (when asked
// for) and those of every folder beneath it, depth first, sorted by name within a folder. Linked
// folders are never entered; paths of MAX_PATH characters or more are skipped. The folders are
// listed on a thread of their own while the calling thread keeps handling its window messages;
// FileWalk (runtime/filewalk.h) gives the same files a part at a time. Returns the walk's root, as
// it resolved before the listing began, for erasing what was found.
WalkRoot FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
                   std::vector<std::string>& out);
struct FoundFile {
  std::string path;  // as the ANSI code page spells it
  DWORD attributes = 0;
  uint64_t size = 0;
  std::wstring wide;  // the path itself, only where `path` lost some of its letters
};
WalkRoot FindFiles(const std::string& folder, std::string_view mask, bool includeStartFolder,
                   std::vector<FoundFile>& out);
// The same under a root the caller resolved (and checked) before: the folder is not resolved again.
void FindFiles(const WalkRoot& root, const std::string& folder, std::string_view mask, bool includeStartFolder,
               std::vector<FoundFile>& out);
// A listed entry of a folder as a found file (its wide path kept where its name needs it).
FoundFile FileIn(const std::string& folder, const FileEntry& entry);

// The calls that take a listed file: by its wide path where it has one. The root, when given,
// must hold the opened file (kOutsideRoot otherwise).
HANDLE OpenNoFollow(const FoundFile& file, DWORD access, DWORD* error = nullptr, const WalkRoot* root = nullptr);
// The same for a file only: whatever the listing said, a folder is not opened (ERROR_ACCESS_DENIED).
HANDLE OpenFileNoFollow(const FoundFile& file, DWORD access, DWORD* error = nullptr, const WalkRoot* root = nullptr);
// Holds a name that nothing has: an empty file of exactly that name is made (never where anything,
// a link included, has the name; ERROR_FILE_EXISTS then) and goes when the handle is closed, or
// when something else deletes it by its name meanwhile. The root, when given, must hold it
// (kOutsideRoot otherwise, and it goes at once). INVALID_HANDLE_VALUE on failure, with the error.
HANDLE HoldFreeName(const FoundFile& file, DWORD* error = nullptr, const WalkRoot* root = nullptr);
DWORD GetAttr(const FoundFile& file);
bool FileExists(const FoundFile& file);
bool FileSize64(const FoundFile& file, uint64_t& size);
bool SetAttr(const FoundFile& file, DWORD attributes, const WalkRoot* root = nullptr);
// Deletes a listed file through the handle it opens: a file only (a folder that has taken its name
// since stays, ERROR_ACCESS_DENIED), and never a read-only one (the system refuses it).
DWORD DeleteListedFile(const FoundFile& file, const WalkRoot* root = nullptr);
// True when the two name one and the same existing file (see SameFile above).
bool SameFile(const FoundFile& a, const FoundFile& b);

constexpr size_t kMaxPath = MAX_PATH - 1;  // the longest path the ANSI functions take

}  // namespace rt
