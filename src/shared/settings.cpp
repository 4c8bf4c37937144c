#include "shared/settings.h"

#include <cstring>

#include "runtime/text.h"
#include "shared/registry.h"

bool ReadRegString(HKEY hKey, const std::string& subKey, const std::string& valueName, std::string& text) {
  reg::Key key;
  DWORD type = 0;
  std::string data;
  if (key.Open(hKey, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      reg::QueryWhole(key.get(), valueName.c_str(), type, data) != ERROR_SUCCESS) {
    text.clear();
    return false;
  }
  if (type == REG_SZ) {
    if (!data.empty() && data.back() == '\0') data.pop_back();
    text = data;
  } else if (type == REG_DWORD && data.size() >= 4) {
    DWORD v;
    memcpy(&v, data.data(), sizeof v);
    text = std::to_string(v);
  }
  return true;
}

bool WriteRegString(HKEY hKey, const std::string& subKey, const std::string& valueName, const std::string& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(hKey, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

long DeleteRegKey(HKEY hKey, const std::string& keyPath) {
  if (rt::Trim(keyPath).empty()) return ERROR_INVALID_PARAMETER;
  return RegDeleteKeyA(hKey, keyPath.c_str());
}

namespace settings {

std::string KeyPath(const std::string& subKey) {
  return subKey.empty() ? std::string(kRoot) : std::string(kRoot) + "\\" + subKey;
}

std::string Read(const std::string& subKey, const std::string& valueName) {
  std::string text;
  ReadRegString(HKEY_LOCAL_MACHINE, KeyPath(subKey), valueName, text);
  return text;
}

bool Write(const std::string& subKey, const std::string& valueName, const std::string& text) {
  return WriteRegString(HKEY_LOCAL_MACHINE, KeyPath(subKey), valueName, text);
}

bool IsOn(const std::string& subKey, const std::string& valueName) { return rt::IsOn(Read(subKey, valueName)); }

}  // namespace settings
