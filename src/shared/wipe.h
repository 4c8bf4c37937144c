// Secure erasing: a file is overwritten in place before it is deleted, so that its old content
// cannot be read back from the disk.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "runtime/files.h"

// The passes secure erasing makes: the setting "secure_value" taken as a number, 1 to 10
// (missing, empty or below 1 means 1).
int WipePasses();

// Overwrites every byte of the file with random "0" and "1" characters, once for each pass, in
// large blocks with one flush a pass, and leaves the file closed, in place and of its length.
// Only an existing plain file is touched: never a folder, a device, a read-only file, a link, or a
// file with other hard links; a file held by another program without write sharing is left alone.
// True when every pass was written.
bool WipeFile(const std::string& path);
bool WipeOpenFile(HANDLE file, int passes);

// The passes of secure erasing when it is on (option "3"), 0 when it is off.
int SecureErasePasses();

// Erases one listed file: overwritten first (wipePasses passes, none for 0), then deleted, both
// through one handle, so that a file that cannot be deleted (in use, read-only) is not overwritten
// either. A file that can be deleted but not written is deleted without the overwrite. With
// clearAttributes a read-only, hidden or system file gets archive attributes first, and its own
// back when it stays. With a root (a walk's), a file that the root does not hold by the final path
// of its opened handle is neither changed nor deleted (rt::kOutsideRoot). Returns 0 when the file
// is gone, else the Windows error.
DWORD EraseOneFile(const rt::FoundFile& file, bool clearAttributes, int wipePasses, const rt::WalkRoot* root);
DWORD EraseOneFile(const std::string& path, DWORD listedAttributes, bool clearAttributes, int wipePasses);
// The same with an overwrite of the caller's own (none when it is empty): it gets the file opened
// for reading and writing, and is called only for a plain file without other hard links. `first`,
// when given, runs once the file is open and has passed every check, before anything changes it:
// the file is overwritten and deleted only when it returns 0, and its error is the result otherwise.
DWORD EraseOneFileWith(const rt::FoundFile& file, bool clearAttributes,
                       const std::function<void(HANDLE file)>& overwrite, const rt::WalkRoot* root,
                       const std::function<DWORD()>& first = nullptr);
DWORD EraseOneFileWith(const std::string& path, DWORD listedAttributes, bool clearAttributes,
                       const std::function<void(HANDLE file)>& overwrite);
