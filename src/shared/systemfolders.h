// The system's own folders, which no run erases as a whole and none takes for a folder of traces
// whose files it erases: a drive's root (or a network share's), the Windows folder, the Program
// Files folders (the 32- and the 64-bit one, as the system gives them), the user's profile folder
// itself and the folder that holds the profiles. Folders below them are none of them.
#pragma once

#include <string>

#include "runtime/files.h"

// True when the folder is one of them, however it is written: with or without a closing "\",
// "C:" for a drive's root, or through a short name, a link, a substituted drive or a share that
// resolves to one of them. What the platform resolves is compared (the folder's identity on its
// volume, and its wide path), never an ANSI spelling. The system's folders themselves are looked
// up once, and an answer about one folder's text stands for a moment (a plug-in file names one
// folder in many entries).
bool IsSystemFolder(const std::string& folder);
// The same for the folder a walk resolved at its start, asked of what it resolved to then.
bool IsSystemFolder(const rt::WalkRoot& root);
// The system's folders are looked up anew at the next question, and no answer stands (the settings
// that name the Windows folder changed).
void ForgetSystemFolders();

// The Windows folder as the settings record it ("systemroot" of the current version's key, or of
// the NT key when that is blank), else as the system gives it; without a closing "", and "" when
// that is not an absolute path. Every part of the program that builds on the Windows folder takes
// it from here.
std::string WindowsFolder();
