// Interface texts from language files: INI files in the folder "lang" of the program folder, the
// texts in section "001" under three-digit keys. A missing file or key gives "".
#pragma once

#include <string>

// The language file named by the setting "language" (trimmed); "english.ini" when it is empty.
std::string LanguageFileName();

// The full path of a language file of the "lang" folder.
std::string LanguageFilePath(const std::string& fileName);

// One text of a language file (at most 254 characters; enclosing quotes dropped).
std::string LangText(const std::string& fileName, const std::string& key);
