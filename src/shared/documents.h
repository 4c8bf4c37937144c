// Opening documents and web pages in the programs Windows associates with them.
#pragma once

#include <windows.h>

#include <string>

// Opens a document (the run log, the help file) with the shell's "Open" verb. Returns what the
// shell returned: above 32 means it was opened.
long StartDoc(const std::string& DocName);

// Opens a web address with the shell's "open" verb; true when the shell reports success.
bool OpenWebPage(const std::string& address, HWND owner = nullptr);

// A link label was clicked: opens the address with the shell. When the shell cannot open it, the
// message form shows the language texts of textKey and headingKey (from languageFile) and, on the
// line below, the shown address, so that the user can copy it.
void OpenLink(HWND owner, const std::string& address, const std::string& shownAddress, const std::string& textKey,
              const std::string& headingKey, const std::string& languageFile);
