// Stored values by root name: the same few operations read, enumerate and delete values either in
// the registry (root "HKCU", "HKLM", "HKU", "HKCR", in any case) or in an INI file (the root is the
// path of an existing file; the key is the section and the value name the INI key).
//
// Every operation returns a status: 0 for success, 99 for a root it does not know, otherwise the
// Windows error of the registry call that failed (2 not found, 5 access denied, 6 invalid handle).
// Deletions take "not found" as success. Nothing here shows anything to the user.
#pragma once

#include <windows.h>

#include <string>
#include <variant>

namespace forms {
class ListBox;
class TextBox;
}  // namespace forms

enum class RootKind { None, Registry, Ini };

struct ResolvedRoot {
  RootKind kind = RootKind::None;
  HKEY key = nullptr;       // registry mode
  std::string iniPath;      // INI mode: the file's full path
};

constexpr long kStatusUnknownRoot = 99;

// A stored value as the readers give it: a text, a 32-bit number or a Boolean.
using StoredValue = std::variant<std::string, long, bool>;
std::string StoredText(const StoredValue& v);  // a number in decimal, a Boolean as "True"/"False"

ResolvedRoot fResolveRoot(const std::string& root);

// sValueType: "S" text, "B" Boolean (at most 2 bytes), "D" 32-bit number, compared ignoring case.
// vValue starts as vDefault and keeps it when nothing is read. An INI text is at most 254
// characters, with one pair of enclosing quotes dropped.
long fReadValue(const std::string& sTopKeyOrFile, const std::string& sSubKeyOrSection,
                const std::string& sValueName, const std::string& sValueType, const StoredValue& vDefault,
                StoredValue& vValue);

// The values of a key: each text (REG_SZ), 32-bit number (REG_DWORD) or short binary (REG_BINARY of
// at most 2 bytes) as name "=" data and a NUL, appended to sValues, which then ends in one more
// NUL (two NULs in all for an empty key). In INI mode sValues is the whole section as the profile
// read leaves it in an 8192-character buffer (entries ended by NUL, the rest spaces).
// fEnumValueb and fEnumValuec clear the list given and add every named value to it;
// fEnumValue adds the names to the text box, joined by "," and followed by "," and 2048 blanks.
long fEnumValueb(const std::string& sTopKeyOrIniFile, const std::string& sSubKeyOrSection, std::string& sValues,
                 forms::ListBox& names);
long fEnumValuec(const std::string& sTopKeyOrIniFile, const std::string& sSubKeyOrSection, std::string& sValues,
                 forms::ListBox& names);
long fEnumValue(const std::string& sTopKeyOrIniFile, const std::string& sSubKeyOrSection, std::string& sValues,
                forms::TextBox& names);

// The sub-keys of a key: each name and a NUL appended to sValues (ended as above), and added to
// the list, which is cleared first. An INI root gives 6.
long fEnumKey(const std::string& sTopKey, const std::string& sSubKey, std::string& sValues, forms::ListBox& names);

// Deletes the sub-key sKeyName of sSubKey (only when it has no sub-keys of its own, as the
// platform deletes keys). An empty sKeyName deletes nothing and gives ERROR_INVALID_PARAMETER:
// the platform would delete the opened key itself.
long fDeleteKey(const std::string& sTopKey, const std::string& sSubKey, const std::string& sKeyName);

// Deletes a registry value; in INI mode blanks the entry (its line stays as "name="). An empty
// value name is refused with ERROR_INVALID_PARAMETER.
long fDeleteValue(const std::string& sTopKeyOrFile, const std::string& sSubKeyOrSection, const std::string& sValueName);
