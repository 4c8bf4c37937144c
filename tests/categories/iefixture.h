// What the Internet Explorer and browser tests share: an empty URL cache at the start and the end,
// registry values of the user's shell folders that a test points elsewhere and gets back, and
// folders inside the user's profile (where the index.dat searches may look).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"
#include "shared/fileprop.h"
#include "support/urlcache.h"

namespace ie {

inline const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
inline const char* kTypedUrls = "software\\microsoft\\internet explorer\\typedurls";
inline const char* kExtensibleCache[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\6.0\\Cache\\Extensible Cache",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\4.0\\Cache\\Extensible Cache",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache",
};
inline const char* kTestUser = "VelkTestUser";

// A registry value of the current user set for one test and put back (with its type) at its end.
class UserValueFor {
 public:
  UserValueFor(const std::string& key, const std::string& name, const std::string* text) : key_(key), name_(name) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &k) == ERROR_SUCCESS) {
      char buf[2048];
      DWORD size = sizeof buf;
      had_ = RegQueryValueExA(k, name.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS;
      if (had_) old_.assign(buf, size);
      RegCloseKey(k);
    }
    if (text)
      WriteRegString(HKEY_CURRENT_USER, key, name, *text);
    else
      RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str());
  }
  ~UserValueFor() {
    if (!had_) {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
      return;
    }
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(k, name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(old_.data()), static_cast<DWORD>(old_.size()));
      RegCloseKey(k);
    }
  }
  UserValueFor(const UserValueFor&) = delete;
  UserValueFor& operator=(const UserValueFor&) = delete;

 private:
  std::string key_, name_, old_;
  DWORD type_ = REG_SZ;
  bool had_ = false;
};

inline DWORD ValueCount(const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  DWORD values = 0;
  RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(k);
  return values;
}

// A sub-key of a key of the current user (the key made when missing).
inline void SubKey(const std::string& key, const std::string& name) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\" + name).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
}

inline void ClearIeTraces() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kTypedUrls);
  RegDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
  for (const char* key : kExtensibleCache) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
  }
  RegDeleteTreeA(HKEY_USERS, kTestUser);
  RegDeleteKeyA(HKEY_USERS, kTestUser);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Network\\Logon", "username");
}

class IeTest : public mw::MainWindowTest {
 protected:
  void SetUp() override {
    mw::MainWindowTest::SetUp();
    ClearIeTraces();
    ts::ClearUrlCache();
    profileFixture = rt::WithoutTrailingSlash(SpecialFolderPath(CSIDL_PROFILE)) + "\\velk-tests\\" +
                     rt::FileNameOf(ts::Scratch());
    rt::DeleteTree(profileFixture);
  }
  void TearDown() override {
    ts::ClearUrlCache();
    ClearIeTraces();
    rt::DeleteTree(rt::ParentFolder(profileFixture));
    mw::MainWindowTest::TearDown();
  }
  // The user's own Cookies folder (where WinInet keeps the cookies it is given).
  static std::string CookiesFolder() { return rt::WithoutTrailingSlash(SpecialFolderPath(CSIDL_COOKIES)); }
  std::string profileFixture;  // a folder of this test's own inside the user's profile folder
};

}  // namespace ie
