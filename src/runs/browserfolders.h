// The browser profile folders whose files the runs' Opera and Netscape/Mozilla steps erase, as the
// erasing-settings window stores them and the runs read them.
#pragma once

#include <string>

// A folder a browser step may take: an absolute local or network folder (no wildcards, no "." or
// ".." parts, no device names), with or without its closing "\", that is not one of the system's
// own folders (a drive's root, the Windows folder, a Program Files folder, the user's profile
// folder itself). An empty or relative text (a half-typed "C" or "C:") is none.
bool IsBrowserProfileFolder(const std::string& folder);

