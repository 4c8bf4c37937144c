#include "shared/wipe.h"

#include <vector>

#include "runtime/files.h"
#include "runtime/overwrite.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace {

constexpr size_t kBlock = 1 << 20;

// Fast random "0"/"1" characters: 64 of them from every draw of a xorshift generator.
class ZeroOneSource {
 public:
  ZeroOneSource() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    // Any thread may wipe: the seed is the clock and the thread, not a shared generator.
    state_ = static_cast<uint64_t>(c.QuadPart) ^ (static_cast<uint64_t>(GetCurrentThreadId()) << 40) ^
             0x9E3779B97F4A7C15ULL;
    if (!state_) state_ = 1;
  }
  void Fill(char* out, size_t n) {
    for (size_t i = 0; i < n;) {
      uint64_t bits = Next();
      for (int b = 0; b < 64 && i < n; ++b, ++i) out[i] = static_cast<char>('0' + ((bits >> b) & 1));
    }
  }
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  uint64_t state_;
};

bool OverwritePass(HANDLE file, uint64_t length, ZeroOneSource& source, std::vector<char>& buffer) {
  // A fresh random block each pass; every write takes it from a random place, so no two blocks of
  // the file receive the same bytes in the same order.
  source.Fill(buffer.data(), buffer.size());
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN)) return false;
  for (uint64_t done = 0; done < length;) {
    DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(kBlock, length - done));
    size_t offset = static_cast<size_t>(source.Next() % (buffer.size() - chunk + 1));
    DWORD wrote = 0;
    if (!WriteFile(file, buffer.data() + offset, chunk, &wrote, nullptr) || wrote != chunk) return false;
    done += chunk;
    rt::YieldIfDue();
  }
  return FlushFileBuffers(file) != 0;
}

}  // namespace

int WipePasses() {
  double n = rt::Val(settings::Read(settings::kSecureValue));
  return n < 1 ? 1 : n > 10 ? 10 : static_cast<int>(n);
}

bool WipeOpenFile(HANDLE file, int passes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  uint64_t length = static_cast<uint64_t>(size.QuadPart);
  if (length == 0) return true;  // nothing to overwrite; the file keeps its length
  ZeroOneSource source;
  size_t block = static_cast<size_t>(std::min<uint64_t>(length, kBlock));
  std::vector<char> buffer(block + block / 4 + 1);
  for (int pass = 0; pass < passes; ++pass) {
    rt::YieldIfDue();
    if (!OverwritePass(file, length, source, buffer)) return false;
  }
  return true;
}

bool WipeFile(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = rt::GetAttr(path);
  if (attributes == rt::kNoAttributes || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  HANDLE h = rt::OpenForOverwrite(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WipeOpenFile(h, WipePasses());
  CloseHandle(h);
  return ok;
}

int SecureErasePasses() {
  return settings::IsOn(settings::kOptionOption, settings::kOptSecureErase) ? WipePasses() : 0;
}

namespace {
std::function<void(HANDLE)> WipeWith(int passes) {
  if (passes <= 0) return nullptr;
  return [passes](HANDLE h) { WipeOpenFile(h, passes); };
}
}  // namespace

DWORD EraseOneFile(const rt::FoundFile& file, bool clearAttributes, int wipePasses, const rt::WalkRoot* root) {
  return EraseOneFileWith(file, clearAttributes, WipeWith(wipePasses), root);
}

DWORD EraseOneFile(const std::string& path, DWORD attributes, bool clearAttributes, int wipePasses) {
  return EraseOneFileWith(rt::FoundFile{path, attributes}, clearAttributes, WipeWith(wipePasses), nullptr);
}

DWORD EraseOneFileWith(const std::string& path, DWORD attributes, bool clearAttributes,
                       const std::function<void(HANDLE file)>& overwrite) {
  return EraseOneFileWith(rt::FoundFile{path, attributes}, clearAttributes, overwrite, nullptr);
}

DWORD EraseOneFileWith(const rt::FoundFile& file, bool clearAttributes, const std::function<void(HANDLE file)>& overwrite,
                       const rt::WalkRoot* root, const std::function<DWORD()>& first) {
  const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD original = file.attributes;
  DWORD attributes = file.attributes;
  bool cleared = false;
  if (attributes & kept) {
    if (!clearAttributes && (attributes & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;  // would not go
    if (clearAttributes) {
      if (!rt::SetAttr(file, FILE_ATTRIBUTE_ARCHIVE, root)) return ERROR_ACCESS_DENIED;
      cleared = true;
      attributes = FILE_ATTRIBUTE_ARCHIVE;
    }
  }
  bool secure = static_cast<bool>(overwrite);
  DWORD err = 0;
  HANDLE h = rt::OpenNoFollow(file, DELETE | (secure ? GENERIC_READ | GENERIC_WRITE : 0), &err, root);
  if (h == INVALID_HANDLE_VALUE && secure && (err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION)) {
    // It cannot be written (another program reads it, say) but may still be deleted: it goes
    // without the overwrite.
    secure = false;
    h = rt::OpenNoFollow(file, DELETE, &err, root);
  }
  if (h != INVALID_HANDLE_VALUE) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) err = ERROR_ACCESS_DENIED;
    else if (first) err = first();
    if (!err && secure) {
      FILE_STANDARD_INFO standard{};
      // Other hard links would keep the content: such a file loses this name only.
      if (GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) && !standard.Directory &&
          standard.NumberOfLinks <= 1 && GetFileType(h) == FILE_TYPE_DISK)
        overwrite(h);
    }
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!err && !SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose)) err = GetLastError();
    CloseHandle(h);
  } else if (err == ERROR_PATH_NOT_FOUND) {
    err = ERROR_FILE_NOT_FOUND;
  }
  if (err && cleared) rt::SetAttr(file, original, root);  // it stays: with the attributes it had
  return err;
}
