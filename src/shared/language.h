// Interface texts from language files: INI files in the folder "lang" of the program folder, the
// texts in section "001" under three-digit keys. A missing file or key gives "".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

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

// The texts of one window: each window holds one, made with where its language file's name comes
// from (a box of its own or of another window, a setting). The name is asked for at every text, so
// a window's texts follow a change of language at once; it is taken as LangText takes it.
//   Lang("018")               the text, "" when the file has none
//   Lang.Or("270", "...")     the text, or the fallback when the file has none (or a blank one)
class LanguageTexts {
 public:
  using NameSource = std::function<std::string()>;
  explicit LanguageTexts(NameSource fileName) : fileName_(std::move(fileName)) {}
  std::string operator()(const std::string& key) const { return LangText(fileName_(), key); }
  std::string Or(const std::string& key, const std::string& fallback) const {
    return LangTextOr(fileName_(), key, fallback);
  }

 private:
  NameSource fileName_;
};

// One text of the language file at that path. A language file holds a few hundred short texts: a
// file larger than this is no language file and gives "" (the profile reader would read all of it
// for every single text).
constexpr uint64_t kMaxLanguageFileSize = 1 << 20;
std::string LanguageTextAt(const std::string& path, const std::string& key);
