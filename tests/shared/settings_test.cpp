#include "shared/settings.h"

#include <gtest/gtest.h>

#include "regfixture.h"

namespace {

using namespace std::string_literals;

class Settings : public ts::RegistryTest {};

std::string RawValue(HKEY root, const std::string& path, const std::string& name, DWORD* type = nullptr) {
  HKEY k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "<no key>";
  char buf[4096];
  DWORD size = sizeof buf, t = 0;
  LONG r = RegQueryValueExA(k, name.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(k);
  if (type) *type = t;
  return r == ERROR_SUCCESS ? std::string(buf, size) : "<no value>";
}

TEST_F(Settings, WritesTextWithItsNulCreatingTheWholePath) {
  EXPECT_TRUE(WriteRegString(HKEY_CURRENT_USER, Path("a\\b\\c"), "v", "text"));
  DWORD type = 0;
  EXPECT_EQ(RawValue(HKEY_CURRENT_USER, Path("a\\b\\c"), "v", &type), "text\0"s);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(WriteRegString(HKEY_CURRENT_USER, Path("a"), "empty", ""));
  EXPECT_EQ(RawValue(HKEY_CURRENT_USER, Path("a"), "empty"), "\0"s);
}

TEST_F(Settings, ReadsWhatWasWritten) {
  std::string text = "stale";
  WriteRegString(HKEY_CURRENT_USER, Path(), "empty", "");
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "empty", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, Path(), "missing", text = "stale"));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, Path("nokey"), "v", text = "stale"));
  EXPECT_EQ(text, "");
}

TEST_F(Settings, ReadsValuesOfAnyLengthAndKind) {
  Set("", "k1024", REG_SZ, std::string(1023, 'a') + '\0');
  Set("", "long", REG_SZ, std::string(5000, 'b') + '\0');
  Set("", "nonul", REG_BINARY, "abc");
  Set("", "expand", REG_EXPAND_SZ, "%TEMP%\0"s);
  Set("", "dword", REG_DWORD, "\x2a\0\0\0"s);
  std::string t;
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "k1024", t));
  EXPECT_EQ(t.size(), 1023u);
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "long", t));
  EXPECT_EQ(t, std::string(5000, 'b'));
  t = "caller's";
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "expand", t));  // other types keep the text
  EXPECT_EQ(t, "caller's");
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "nonul", t));
  EXPECT_EQ(t, "caller's");
  EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, Path(), "dword", t));
  EXPECT_EQ(t, "42");
}

TEST_F(Settings, DeleteRegKeyDeletesLeafKeysOnly) {
  MakeKey("x\\leaf");
  MakeKey("x\\branch\\twig");
  DeleteRegKey(HKEY_CURRENT_USER, Path("x\\leaf"));
  EXPECT_FALSE(KeyExists("x\\leaf"));
  DeleteRegKey(HKEY_CURRENT_USER, Path("x\\branch"));
  EXPECT_TRUE(KeyExists("x\\branch\\twig"));
  DeleteRegKey(HKEY_CURRENT_USER, "");
  DeleteRegKey(HKEY_CURRENT_USER, "  ");
  EXPECT_TRUE(KeyExists("x"));
}

TEST_F(Settings, EveryReaderAndWriterMeetsUnderOneRoot) {
  EXPECT_EQ(settings::KeyPath(), "software\\Morvane\\velk eraser");
  EXPECT_EQ(settings::KeyPath(settings::kOptionWin), "software\\Morvane\\velk eraser\\option\\win");
  EXPECT_EQ(settings::Read(settings::kLanguage), "");  // a fresh system writes no defaults
  EXPECT_TRUE(settings::Write(settings::kOptionWin, "11", "1"));
  std::string t;
  EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Morvane\\velk eraser\\Option\\Win", "11", t));
  EXPECT_EQ(t, "1");
  EXPECT_TRUE(settings::IsOn(settings::kOptionWin, "11"));
  settings::Write(settings::kOptionWin, "12", " 1.0 ");
  EXPECT_TRUE(settings::IsOn(settings::kOptionWin, "12"));
  settings::Write(settings::kOptionWin, "13", "1 0");
  EXPECT_FALSE(settings::IsOn(settings::kOptionWin, "13"));
  EXPECT_FALSE(settings::IsOn(settings::kOptionWin, "14"));
}

}  // namespace
