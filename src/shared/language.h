// Interface texts from language files: INI files in the folder "lang" of the program folder, the
// texts in section "001" under three-digit keys. A missing file or key gives "".
#pragma once

#include <cstdint>
#include <string>

// A language file is named by its plain file name in the "lang" folder: no folder, no "..", no
// drive. A name that is none ("..\..\windows\win.ini") stands for "english.ini", and so does a
// blank one; a plain name of a file that is not there stays (its texts are then ""). The name is
// given back as stored (its readers trim it).
std::string LanguageNameOrDefault(const std::string& stored);
bool IsLanguageFileName(const std::string& name);

// The language file named by the setting "language", as LanguageNameOrDefault reads it, trimmed.
std::string LanguageFileName();

// The full path of a language file of the "lang" folder.
std::string LanguageFilePath(const std::string& fileName);

// One text of a language file (at most 254 characters; enclosing quotes dropped); "" for a name
// that is no language file's name.
std::string LangText(const std::string& fileName, const std::string& key);

// The same, or the fallback when the language file has no such text.
std::string LangTextOr(const std::string& fileName, const std::string& key, const std::string& fallback);

// One text of the language file at that path. A language file holds a few hundred short texts: a
// file larger than this is no language file and gives "" (the profile reader would read all of it
// for every single text).
constexpr uint64_t kMaxLanguageFileSize = 1 << 20;
std::string LanguageTextAt(const std::string& path, const std::string& key);
