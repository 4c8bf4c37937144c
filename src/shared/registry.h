// Small registry helpers shared by the storage operations and the settings routines.
#pragma once

#include <windows.h>

#include <string>

namespace reg {

// An opened key, closed on every way out.
class Key {
 public:
  Key() = default;
  ~Key() { Close(); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  LONG Open(HKEY root, const std::string& path, REGSAM access) {
    Close();
    return RegOpenKeyExA(root, path.c_str(), 0, access, &h_);
  }
  HKEY get() const { return h_; }
  LONG Close() {
    LONG r = h_ ? RegCloseKey(h_) : ERROR_SUCCESS;
    h_ = nullptr;
    return r;
  }

 private:
  HKEY h_ = nullptr;
};

// Reads one value's data whole, however long it is (and if it grows between the calls).
LONG QueryWhole(HKEY key, const char* name, DWORD& type, std::string& data);

}  // namespace reg
