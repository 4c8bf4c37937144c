#include "shared/encryptor.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "runtime/pump.h"
#include "runtime/textfile.h"

bool clsBinaryEncryptor::ReadBinaryArray(const std::string& file, std::vector<uint8_t>& bytes) const {
  bytes.clear();
  HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart < 0x7FFFFFFF;
  try {
    if (ok) bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24)), got = 0;
    ok = ReadFile(h, bytes.data() + done, want, &got, nullptr) && got == want;
    done += got;
  }
  CloseHandle(h);
  if (!ok) bytes.clear();
  return ok;
}

bool clsBinaryEncryptor::SaveBinaryArray(const std::string& file, const std::vector<uint8_t>& bytes) const {
  return rt::WriteFileReplacing(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool clsBinaryEncryptor::EncryptFile(const std::string& source, const std::string& destination,
                                     const std::string& password) {
  return Shift(source, destination, password, +1, EncryptProgress);
}

bool clsBinaryEncryptor::DecryptFile(const std::string& source, const std::string& destination,
                                     const std::string& password) {
  return Shift(source, destination, password, -1, DecryptProgress);
}

bool clsBinaryEncryptor::Shift(const std::string& source, const std::string& destination,
                               const std::string& password, int sign,
                               const std::function<void(int32_t, int32_t)>& progress) {
  if (password.empty()) return false;
  // The password's characters as UTF-16 code units; each shifts by its low byte.
  int n = MultiByteToWideChar(CP_ACP, 0, password.data(), static_cast<int>(password.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, password.data(), static_cast<int>(password.size()), wide.data(), n);
  const size_t length = wide.size();

  std::vector<uint8_t> bytes, out;
  if (!ReadBinaryArray(source, bytes)) return false;
  try {
    out.resize(bytes.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int32_t last = static_cast<int32_t>(bytes.size());
  for (int32_t i = 1; i <= last; ++i) {
    auto key = static_cast<uint8_t>(wide[static_cast<size_t>(i) % length] & 0xFF);
    out[static_cast<size_t>(i - 1)] = static_cast<uint8_t>(bytes[static_cast<size_t>(i - 1)] + sign * key);
    if (i % 500 == 0) {
      rt::YieldIfDue();
      if (progress) progress(i, last);
    }
  }
  return SaveBinaryArray(destination, out);
}
