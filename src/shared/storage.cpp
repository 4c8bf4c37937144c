#include "shared/storage.h"

#include <functional>
#include <vector>

#include "forms/controls.h"
#include "forms/lists.h"
#include "runtime/text.h"
#include "shared/registry.h"

namespace {

using reg::Key;
using reg::QueryWhole;

constexpr size_t kIniTextBuffer = 255;
constexpr size_t kIniSectionBuffer = 8192;

bool IsIniFile(const std::string& path) {
  if (path.empty() || rt::HasWildcard(path)) return false;
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
  char buf[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

// Walks every value of a key: the walk ends only when the platform says there are no more.
LONG EnumValues(const std::string& root, const std::string& sub, std::string& sValues,
                const std::function<void(const std::string&)>& onName, bool* opened = nullptr) {
  ResolvedRoot rr = fResolveRoot(root);
  if (rr.kind == RootKind::None) return kStatusUnknownRoot;
  if (rr.kind == RootKind::Ini) {
    std::string buf(kIniSectionBuffer, ' ');
    GetPrivateProfileSectionA(sub.c_str(), buf.data(), static_cast<DWORD>(buf.size()), rr.iniPath.c_str());
    sValues = buf;
    return 0;
  }
  Key key;
  LONG status = key.Open(rr.key, sub, KEY_QUERY_VALUE);
  if (status != ERROR_SUCCESS) return status;
  if (opened) *opened = true;
  std::vector<char> name(16384);  // the longest value name the registry allows, and its NUL
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    DWORD type = 0, dataLen = 0;
    LONG r = RegEnumValueA(key.get(), i, name.data(), &nameLen, nullptr, &type, nullptr, &dataLen);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) {
      status = r;
      break;
    }
    std::string n(name.data(), nameLen);
    if (type == REG_SZ) {
      std::string data;
      r = QueryWhole(key.get(), n.c_str(), type, data);
      if (r != ERROR_SUCCESS) {
        status = r;
        break;
      }
      if (data.empty() || data.back() != '\0') data += '\0';  // every entry ends in its NUL
      sValues += n + "=" + data;
    } else if (type == REG_DWORD || (type == REG_BINARY && dataLen <= 2)) {
      DWORD number = 0, got = sizeof number;
      r = RegQueryValueExA(key.get(), n.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &got);
      if (r != ERROR_SUCCESS) {
        status = r;
        break;
      }
      if (type == REG_BINARY) number &= got >= 2 ? 0xFFFF : 0xFF;
      sValues += n + "=" + std::to_string(number) + '\0';
    }
    if (!rt::Trim(n).empty()) onName(n);
  }
  sValues += '\0';
  if (sValues.size() == 1) sValues += '\0';
  LONG closed = key.Close();
  return status != ERROR_SUCCESS ? status : closed;
}

}  // namespace

std::string StoredText(const StoredValue& v) {
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto n = std::get_if<long>(&v)) return std::to_string(*n);
  return std::get<bool>(v) ? "True" : "False";
}

ResolvedRoot fResolveRoot(const std::string& root) {
  ResolvedRoot r;
  std::string u = rt::UCase(root);
  if (u == "HKCU") r.key = HKEY_CURRENT_USER;
  else if (u == "HKLM") r.key = HKEY_LOCAL_MACHINE;
  else if (u == "HKU") r.key = HKEY_USERS;
  else if (u == "HKCR") r.key = HKEY_CLASSES_ROOT;
  if (r.key) {
    r.kind = RootKind::Registry;
    return r;
  }
  if (u == "HKCC" || u == "HKDD") return r;  // known names of keys that are not served
  if (IsIniFile(root)) {
    r.kind = RootKind::Ini;
    r.iniPath = FullPath(root);
  }
  return r;
}

long fReadValue(const std::string& sTopKeyOrFile, const std::string& sSubKeyOrSection, const std::string& sValueName,
                const std::string& sValueType, const StoredValue& vDefault, StoredValue& vValue) {
  vValue = vDefault;
  ResolvedRoot rr = fResolveRoot(sTopKeyOrFile);
  if (rr.kind == RootKind::None) return kStatusUnknownRoot;
  std::string type = rt::UCase(sValueType);
  if (rr.kind == RootKind::Ini) {
    if (type == "S") {
      char buf[kIniTextBuffer];
      DWORD n = GetPrivateProfileStringA(sSubKeyOrSection.c_str(), sValueName.c_str(), StoredText(vDefault).c_str(), buf,
                                         kIniTextBuffer, rr.iniPath.c_str());
      vValue = std::string(buf, n);
    } else {
      vValue = static_cast<long>(
          GetPrivateProfileIntA(sSubKeyOrSection.c_str(), sValueName.c_str(), 0, rr.iniPath.c_str()));
    }
    return 0;
  }
  Key key;
  LONG status = key.Open(rr.key, sSubKeyOrSection, KEY_QUERY_VALUE);
  if (status != ERROR_SUCCESS) return status;
  if (type == "S") {
    DWORD t = 0;
    std::string data;
    status = QueryWhole(key.get(), sValueName.c_str(), t, data);
    if (status != ERROR_SUCCESS) return status;
    if (!data.empty() && data.back() == '\0') data.pop_back();  // only a terminating NUL goes
    if (!data.empty()) vValue = data;
  } else if (type == "B") {
    WORD b = 0;
    DWORD size = sizeof b;
    status = RegQueryValueExA(key.get(), sValueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&b), &size);
    if (status != ERROR_SUCCESS) return status;
    vValue = b != 0;
  } else if (type == "D") {
    DWORD d = 0;
    DWORD size = sizeof d;
    status = RegQueryValueExA(key.get(), sValueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&d), &size);
    if (status != ERROR_SUCCESS) return status;
    vValue = static_cast<long>(d);
  }
  return key.Close();
}

long fEnumValueb(const std::string& root, const std::string& sub, std::string& sValues, forms::ListBox& names) {
  names.Clear();
  return EnumValues(root, sub, sValues, [&](const std::string& n) { names.AddItem(n); });
}

long fEnumValuec(const std::string& root, const std::string& sub, std::string& sValues, forms::ListBox& names) {
  return fEnumValueb(root, sub, sValues, names);
}

long fEnumValue(const std::string& root, const std::string& sub, std::string& sValues, forms::TextBox& names) {
  if (fResolveRoot(root).kind != RootKind::Registry) return EnumValues(root, sub, sValues, [](const std::string&) {});
  // Collect first: the text box is written once the key was opened and walked.
  std::vector<std::string> found;
  bool opened = false;
  long status = EnumValues(root, sub, sValues, [&](const std::string& n) { found.push_back(n); }, &opened);
  if (!opened) return status;
  std::string text = names.Text();
  for (const auto& n : found) text = rt::Trim(text).empty() ? n : text + "," + n;
  // The walk's end leaves "," and the untouched 2048-blank name buffer behind, so that every name
  // in the trimmed text is followed by ",".
  const std::string blanks(2048, ' ');
  text = rt::Trim(text).empty() ? blanks : text + "," + blanks;
  names.SetText(text);
  return status;
}

long fEnumKey(const std::string& sTopKey, const std::string& sSubKey, std::string& sValues, forms::ListBox& names) {
  names.Clear();
  ResolvedRoot rr = fResolveRoot(sTopKey);
  if (rr.kind == RootKind::None) return kStatusUnknownRoot;
  if (rr.kind == RootKind::Ini) return ERROR_INVALID_HANDLE;
  Key key;
  LONG status = key.Open(rr.key, sSubKey, KEY_ENUMERATE_SUB_KEYS);
  if (status != ERROR_SUCCESS) return status;
  std::vector<char> name(1024);  // key names are at most 255 characters
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LONG r = RegEnumKeyExA(key.get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r == ERROR_MORE_DATA) {
      name.resize(name.size() * 4);
      --i;
      continue;
    }
    if (r != ERROR_SUCCESS) {
      status = r;
      break;
    }
    std::string n(name.data(), len);
    sValues += n + '\0';
    if (!rt::Trim(n).empty()) names.AddItem(n);
  }
  sValues += '\0';
  if (sValues.size() == 1) sValues += '\0';
  LONG closed = key.Close();
  return status != ERROR_SUCCESS ? status : closed;
}

long fDeleteKey(const std::string& sTopKey, const std::string& sSubKey, const std::string& sKeyName) {
  ResolvedRoot rr = fResolveRoot(sTopKey);
  if (rr.kind == RootKind::None) return kStatusUnknownRoot;
  if (rr.kind == RootKind::Ini) return ERROR_INVALID_HANDLE;
  if (sKeyName.empty()) return ERROR_INVALID_PARAMETER;
  Key key;
  LONG status = key.Open(rr.key, sSubKey, KEY_CREATE_SUB_KEY);
  if (status == ERROR_FILE_NOT_FOUND) return 0;
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteKeyA(key.get(), sKeyName.c_str());
  if (status == ERROR_FILE_NOT_FOUND) status = 0;
  LONG closed = key.Close();
  return status != ERROR_SUCCESS ? status : closed;
}

long fDeleteValue(const std::string& sTopKeyOrFile, const std::string& sSubKeyOrSection, const std::string& sValueName) {
  ResolvedRoot rr = fResolveRoot(sTopKeyOrFile);
  if (rr.kind == RootKind::None) return kStatusUnknownRoot;
  if (sValueName.empty()) return ERROR_INVALID_PARAMETER;
  if (rr.kind == RootKind::Ini) {
    WritePrivateProfileStringA(sSubKeyOrSection.c_str(), sValueName.c_str(), "", rr.iniPath.c_str());
    return 0;
  }
  Key key;
  LONG status = key.Open(rr.key, sSubKeyOrSection, KEY_SET_VALUE);
  if (status == ERROR_FILE_NOT_FOUND) return 0;
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteValueA(key.get(), sValueName.c_str());
  if (status == ERROR_FILE_NOT_FOUND) status = 0;
  LONG closed = key.Close();
  return status != ERROR_SUCCESS ? status : closed;
}
