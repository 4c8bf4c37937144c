#include "shared/language.h"

#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/storage.h"

bool IsLanguageFileName(const std::string& name) { return rt::IsPlainFileName(name); }

std::string LanguageNameOrDefault(const std::string& stored) {
  return IsLanguageFileName(rt::Trim(stored)) ? stored : "english.ini";
}

std::string LanguageFileName() { return rt::Trim(LanguageNameOrDefault(settings::Read(settings::kLanguage))); }

std::string LanguageFilePath(const std::string& fileName) {
  return rt::JoinPath(rt::ProgramFolder(), "lang\\" + rt::Trim(fileName));
}

std::string LanguageTextAt(const std::string& path, const std::string& key) {
  uint64_t size = 0;
  if (rt::FileSize64(path, size) && size > kMaxLanguageFileSize) return "";
  StoredValue v;
  fReadValue(path, "001", key, "s", std::string(), v);
  return StoredText(v);
}

std::string LangTextOr(const std::string& fileName, const std::string& key, const std::string& fallback) {
  std::string text = LangText(fileName, key);
  return rt::Trim(text).empty() ? fallback : text;
}

std::string LangText(const std::string& fileName, const std::string& key) {
  // Nothing outside the "lang" folder is ever read for a text.
  if (!IsLanguageFileName(rt::Trim(fileName))) return "";
  return LanguageTextAt(LanguageFilePath(fileName), key);
}
