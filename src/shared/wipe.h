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

// What erasing one file came to, besides 0 (gone) and the Windows error of a step that failed:
// secure erasing could not overwrite it (a file with other hard links, which share its content, is
// never overwritten; no disk file; a write that failed), and so it stays.
constexpr DWORD kNotOverwritten = ERROR_WRITE_FAULT;

// Erases one listed file: overwritten first (wipePasses passes, none for 0), then deleted, both
// through one handle, opened without following a link; what counts is what that handle opened,
// not what the listing said (a folder is never opened). With an overwrite the file goes only once
// the overwrite is complete: a file that cannot be written (another program holds it without write
// sharing) or whose overwrite fails stays (kNotOverwritten or the error), and so does one that
// cannot be deleted, which is never overwritten either. With clearAttributes a read-only file is
// made deletable through that handle; a file with other hard links gets its attributes back before
// the handle closes (they are every name's), and so does a file that stays. With a root (a walk's),
// a file that the root does not hold by the final path of its opened handle is neither changed nor
// deleted (rt::kOutsideRoot). Returns 0 when the file is gone, else the Windows error.
DWORD EraseOneFile(const rt::FoundFile& file, bool clearAttributes, int wipePasses, const rt::WalkRoot* root);
DWORD EraseOneFile(const std::string& path, DWORD listedAttributes, bool clearAttributes, int wipePasses);
// The same with an overwrite of the caller's own (none when it is empty): it gets the file opened
// for reading and writing, is called only for a plain disk file without other hard links, and
// returns true when it has overwritten the whole file. `first`, when given, runs once the file is
// open, has passed every check and is overwritten, before its attributes change and it is deleted:
// the file is deleted only when it returns 0, and its error is the result otherwise. `size`, when
// given, receives the size of the file erased (asked of the open file once `first` has run).
using Overwrite = std::function<bool(HANDLE file)>;
DWORD EraseOneFileWith(const rt::FoundFile& file, bool clearAttributes, const Overwrite& overwrite,
                       const rt::WalkRoot* root, const std::function<DWORD()>& first = nullptr,
                       uint64_t* size = nullptr);
DWORD EraseOneFileWith(const std::string& path, DWORD listedAttributes, bool clearAttributes, const Overwrite& overwrite);

// Tests change the disk as another program could, the moment before a listed file is opened to be
// erased: the hook runs with its path. Null: none.
void SetBeforeEraseHookForTests(std::function<void(const std::string& path)> hook);
