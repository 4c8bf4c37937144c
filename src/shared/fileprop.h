// File properties (size, times, attributes) of one file at a time, the folder picker, and the
// paths of the shell's special folders.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class clsFileProp {
 public:
  // Reads the data of the file at exactly this path (no wildcards). A path that names no file
  // leaves every datum zero; an empty path changes nothing and gives false.
  bool FindFileInfo(const std::string& strFileName, bool bLargeIcon = false);

  const std::string& Filename() const { return filename_; }  // the path, upper case
  const std::string& ByteSize() const { return byteSize_; }  // decimal, whole 64-bit size; "" for 0
  const std::string& CreationTime() const { return creation_; }   // d/m/yyyy h:m:s, UTC
  const std::string& LastWriteTime() const { return lastWrite_; }
  const std::string& LastAccessTime() const { return lastAccess_; }  // d/m/yyyy, UTC
  bool ReadOnly() const { return attr_ & FILE_ATTRIBUTE_READONLY; }
  bool Hidden() const { return attr_ & FILE_ATTRIBUTE_HIDDEN; }
  bool System() const { return attr_ & FILE_ATTRIBUTE_SYSTEM; }
  bool Directory() const { return attr_ & FILE_ATTRIBUTE_DIRECTORY; }
  bool Archive() const { return attr_ & FILE_ATTRIBUTE_ARCHIVE; }
  bool Normal() const { return attr_ & FILE_ATTRIBUTE_NORMAL; }
  bool Temporary() const { return attr_ & FILE_ATTRIBUTE_TEMPORARY; }
  bool Compress() const { return attr_ & FILE_ATTRIBUTE_COMPRESSED; }
  long IconIndex() const { return 0; }
  std::string FileType() const { return ""; }
  std::string ProductVersion() const { return ""; }
  std::string ProductName() const { return ""; }
  std::string OriginalFileName() const { return ""; }
  std::string LegalCopyright() const { return ""; }
  std::string InternalName() const { return ""; }
  std::string FileVersion() const { return ""; }
  std::string FileDescription() const { return ""; }
  std::string CompanyName() const { return ""; }

 private:
  std::string filename_, byteSize_, creation_, lastWrite_, lastAccess_;
  DWORD attr_ = 0;
};

// The path of a special folder (created when it is missing); "" when it has no file-system path.
std::string SpecialFolderPath(long folderId);
// The path of a special folder as the shell locates it for a window (nothing is created); "" when
// the shell has no file-system path for it.
std::string ShellFolderPath(HWND owner, int csidl);

// The shell's folder picker. Flags 0 become 1 (file-system folders only), also in the caller's
// variable; the picker is rooted at the special folder rootFolderId when that folder has a
// file-system path, at the desktop otherwise. Returns the chosen folder, or "" on cancel.
std::string BrowseFolder(HWND owner, const std::string& title, long& flags, long& rootFolderId);

// Tests answer the folder picker: the handler gets each call (its flags already made 1 where they
// were 0) and returns the folder chosen, "" for a cancel. A null handler gives the real picker back.
struct BrowseFolderCall {
  HWND owner;
  std::string title;
  long flags;
  long rootFolderId;
};
void SetBrowseFolderHandler(std::function<std::string(const BrowseFolderCall&)> handler);
