// The system's own folders, which no run erases as a whole and none takes for a folder of traces
// whose files it erases: a drive's root (or a network share's), the Windows folder, the Program
// Files folders (the 32- and the 64-bit one, as the system gives them) and the user's profile
// folder itself. Folders below them are none of them.
#pragma once

#include <string>

// True when the folder is one of them, however it is written: with or without a closing "\",
// "C:" for a drive's root, or through a short name, a link or a substituted drive that resolves
// to one of them.
bool IsSystemFolder(const std::string& folder);
