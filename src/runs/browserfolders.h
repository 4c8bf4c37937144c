// The browser profile folders whose files the runs' Opera and Netscape/Mozilla steps erase, as the
// erasing-settings window stores them and the runs read them.
#pragma once

#include <string>
#include <vector>

// A folder a browser step may take: an absolute local or network folder (no wildcards, no "." or
// ".." parts, no device names), with or without its closing "\", that is not one of the system's
// own folders (a drive's root, the Windows folder, a Program Files folder, the user's profile
// folder itself). An empty, relative or half-typed text is none.
bool IsBrowserProfileFolder(const std::string& folder);

// The Netscape/Mozilla profile folders the runs take: the numbered values "net0", "net1", ... up
// to the first missing one (at most 100), each as stored and trimmed, leaving out those that are
// no profile folder and those that name a folder taken before. The value "net" (what the window's
// box shows) is not one of them.
std::vector<std::string> NetscapeProfiles();
