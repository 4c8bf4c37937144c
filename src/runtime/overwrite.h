// Overwriting a file in place before it is deleted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files.h"

namespace rt {

// Opens an existing file for overwriting it in place. Refused (INVALID_HANDLE_VALUE, the reason in
// *error): a missing file (nothing is created), a folder, a device, a read-only file, a link (a
// reparse point, or a path the system resolves to another file), and a file with other hard links,
// whose other names would keep the new content; and, with a root, a file the root does not hold.
HANDLE OpenForOverwrite(const std::string& path, DWORD* error = nullptr, const WalkRoot* root = nullptr);
HANDLE OpenForOverwrite(const FoundFile& file, DWORD* error = nullptr, const WalkRoot* root = nullptr);

// Writes the pattern over the file from its first byte to its end, in large blocks, and flushes
// once: the pattern begins at byte `start` (counted from 0) and repeats from there, the bytes
// before `start` holding its tail. The file keeps its length, or grows to at least `minLength`.
bool OverwriteWithPattern(HANDLE file, std::string_view pattern, uint64_t start, uint64_t minLength);

}  // namespace rt
