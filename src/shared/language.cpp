#include "shared/language.h"

#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/storage.h"

std::string LanguageFileName() {
  std::string name = rt::Trim(settings::Read(settings::kLanguage));
  return name.empty() ? "english.ini" : name;
}

std::string LanguageFilePath(const std::string& fileName) {
  return rt::JoinPath(rt::ProgramFolder(), "lang\\" + rt::Trim(fileName));
}

std::string LangText(const std::string& fileName, const std::string& key) {
  StoredValue v;
  fReadValue(LanguageFilePath(fileName), "001", key, "s", std::string(), v);
  return StoredText(v);
}
