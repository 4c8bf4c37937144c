// Registry fixtures for tests: keys under HKEY_CURRENT_USER\Software\VelkTest, emptied before and
// after every test that uses them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace ts {

inline const char* kTestKey = "Software\\VelkTest";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

  static std::string Path(const std::string& sub = "") {
    return sub.empty() ? std::string(kTestKey) : std::string(kTestKey) + "\\" + sub;
  }
  // Sets a value with exactly these bytes and this type.
  static void Set(const std::string& sub, const std::string& name, DWORD type, const std::string& bytes) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(k);
  }
  static void SetText(const std::string& sub, const std::string& name, const std::string& text) {
    Set(sub, name, REG_SZ, text + '\0');
  }
  static void MakeKey(const std::string& sub) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(k);
  }
  static bool KeyExists(const std::string& sub) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  }
  static bool ValueExists(const std::string& sub, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExA(k, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return found;
  }
};

}  // namespace ts
