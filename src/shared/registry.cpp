#include "shared/registry.h"

namespace reg {

LONG QueryWhole(HKEY key, const char* name, DWORD& type, std::string& data) {
  DWORD size = 0;
  LONG r = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  for (int tries = 0; (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) && tries < 8; ++tries) {
    data.assign(size, '\0');
    DWORD got = size;
    r = RegQueryValueExA(key, name, nullptr, &type, size ? reinterpret_cast<BYTE*>(data.data()) : nullptr, &got);
    if (r == ERROR_SUCCESS) {
      data.resize(got);
      return r;
    }
    size = got > size ? got : size * 2 + 16;
  }
  data.clear();
  return r;
}

}  // namespace reg
