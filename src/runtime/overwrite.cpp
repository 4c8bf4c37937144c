#include "runtime/overwrite.h"

#include <algorithm>
#include <vector>

#include "runtime/files.h"

namespace rt {

HANDLE OpenForOverwrite(const std::string& path, DWORD* error, const WalkRoot* root) {
  return OpenForOverwrite(FoundFile{path}, error, root);
}

HANDLE OpenForOverwrite(const FoundFile& file, DWORD* error, const WalkRoot* root) {
  DWORD dummy;
  DWORD& err = error ? *error : dummy;
  HANDLE h = OpenNoFollow(file, GENERIC_READ | GENERIC_WRITE, &err, root);
  if (h == INVALID_HANDLE_VALUE) return h;
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard)) {
    err = ERROR_INVALID_HANDLE;
  } else if (standard.Directory ||
             (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY))) {
    err = ERROR_ACCESS_DENIED;
  } else if (standard.NumberOfLinks > 1) {
    err = ERROR_ACCESS_DENIED;
  } else {
    return h;
  }
  CloseHandle(h);
  return INVALID_HANDLE_VALUE;
}

bool OverwriteWithPattern(HANDLE file, std::string_view pattern, uint64_t start, uint64_t minLength) {
  if (file == INVALID_HANDLE_VALUE || pattern.empty()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  uint64_t length = std::max<uint64_t>(static_cast<uint64_t>(size.QuadPart), minLength);
  const uint64_t n = pattern.size();
  constexpr size_t kBlock = 1 << 20;
  // One block holds the pattern repeated; each write takes it from the phase of its offset.
  std::vector<char> block(kBlock + n);
  for (size_t i = 0; i < block.size(); ++i) block[i] = pattern[i % n];
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN)) return false;
  uint64_t done = 0;
  while (done < length) {
    DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(kBlock, length - done));
    size_t phase = static_cast<size_t>(((done % n) + n - (start % n)) % n);
    DWORD wrote = 0;
    if (!WriteFile(file, block.data() + phase, chunk, &wrote, nullptr) || wrote != chunk) return false;
    done += chunk;
  }
  return FlushFileBuffers(file) != 0;
}

}  // namespace rt
