#include "shared/wipe.h"

#include <atomic>
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
Overwrite WipeWith(int passes) {
  if (passes <= 0) return nullptr;
  return [passes](HANDLE h) { return WipeOpenFile(h, passes); };
}

std::atomic<bool> g_eraseHooked{false};
SRWLOCK g_eraseHookLock = SRWLOCK_INIT;
std::function<void(const std::string&)> g_eraseHook;

void RunEraseHook(const std::string& path) {
  if (!g_eraseHooked) return;  // the one cost of the seam in a run: one look at a flag
  AcquireSRWLockShared(&g_eraseHookLock);
  auto hook = g_eraseHook;
  ReleaseSRWLockShared(&g_eraseHookLock);
  if (hook) hook(path);
}

// The attributes of the opened file itself (its times left as they are).
bool SetAttributesThrough(HANDLE h, DWORD attributes) {
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
  if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(h, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

void SetBeforeEraseHookForTests(std::function<void(const std::string& path)> hook) {
  AcquireSRWLockExclusive(&g_eraseHookLock);
  g_eraseHooked = static_cast<bool>(hook);
  g_eraseHook = std::move(hook);
  ReleaseSRWLockExclusive(&g_eraseHookLock);
}

DWORD EraseOneFile(const rt::FoundFile& file, bool clearAttributes, int wipePasses, const rt::WalkRoot* root) {
  return EraseOneFileWith(file, clearAttributes, WipeWith(wipePasses), root);
}

DWORD EraseOneFile(const std::string& path, DWORD attributes, bool clearAttributes, int wipePasses) {
  return EraseOneFileWith(rt::FoundFile{path, attributes}, clearAttributes, WipeWith(wipePasses), nullptr);
}

DWORD EraseOneFileWith(const std::string& path, DWORD attributes, bool clearAttributes, const Overwrite& overwrite) {
  return EraseOneFileWith(rt::FoundFile{path, attributes}, clearAttributes, overwrite, nullptr);
}

// The platform calls one file costs: the open (with the question of its path that the link and root
// checks share), the deletion and the close. Only a file to overwrite, or one the listing showed
// read-only, is asked for its attributes and number of links (one call); only a read-only one has
// its attributes changed (and given back where other names share them). Hidden and system files
// are deleted as they are: those attributes do not stand in the way of a deletion.
DWORD EraseOneFileWith(const rt::FoundFile& file, bool clearAttributes, const Overwrite& overwrite,
                       const rt::WalkRoot* root, const std::function<DWORD()>& first, uint64_t* size) {
  RunEraseHook(file.path);
  const bool secure = static_cast<bool>(overwrite);
  const bool listedReadOnly = file.attributes != rt::kNoAttributes && (file.attributes & FILE_ATTRIBUTE_READONLY);
  // The right to change attributes only where they are to change (a read-only file; the overwrite's
  // own access covers them).
  const DWORD access = DELETE | (clearAttributes && listedReadOnly ? FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES : 0);
  DWORD err = 0;
  HANDLE h = rt::OpenFileNoFollow(file, access | (secure ? GENERIC_READ | GENERIC_WRITE : 0), &err, root);
  // Windows opens no read-only file for writing: it is opened to have its attribute changed, and
  // opened for the overwrite again once the attribute allows it.
  bool writeLater = false;
  if (h == INVALID_HANDLE_VALUE && secure && clearAttributes && err == ERROR_ACCESS_DENIED) {
    h = rt::OpenFileNoFollow(file, access | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, &err, root);
    writeLater = h != INVALID_HANDLE_VALUE;
  }
  if (h == INVALID_HANDLE_VALUE) return err == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : err;

  BY_HANDLE_FILE_INFORMATION info{};
  bool known = false;
  auto ask = [&] { return known || (known = GetFileInformationByHandle(h, &info) != 0); };
  DWORD result = 0;
  bool changed = false;  // the read-only attribute was taken off
  auto takeReadOnlyOff = [&]() -> bool {
    if (!SetAttributesThrough(h, info.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) return false;
    changed = true;
    return true;
  };
  if ((secure || writeLater || (clearAttributes && listedReadOnly)) && !ask()) result = GetLastError();
  const bool readOnly = known && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
  const bool otherLinks = known && info.nNumberOfLinks > 1;

  if (!result && secure) {
    HANDLE writer = INVALID_HANDLE_VALUE;
    if (readOnly && !clearAttributes) {
      result = ERROR_ACCESS_DENIED;  // it could not be deleted: it is not overwritten either
    } else if (otherLinks || GetFileType(h) != FILE_TYPE_DISK) {
      result = kNotOverwritten;  // the other names would keep the content: nothing of it changes
    } else if (writeLater) {
      if (!readOnly) {
        result = ERROR_ACCESS_DENIED;  // not the attribute that stood in the way
      } else if (!takeReadOnlyOff()) {
        result = GetLastError();
      } else {
        writer = ReOpenFile(h, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
        if (writer == INVALID_HANDLE_VALUE) result = GetLastError();
      }
    }
    if (!result && !overwrite(writer != INVALID_HANDLE_VALUE ? writer : h)) result = kNotOverwritten;
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  }
  if (!result && first) result = first();
  // What `first` did to the file, in one question: its size, and whether its deletion is under way
  // already (the URL cache deletes an entry's file by its name, which this handle lets it do).
  bool pending = false;
  if (!result && size) {
    FILE_STANDARD_INFO standard{};
    if (GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard)) {
      *size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
      pending = standard.DeletePending != FALSE;
    }
  }
  if (!result && clearAttributes && readOnly && !changed && !takeReadOnlyOff()) result = GetLastError();
  if (!result && !pending && !rt::MarkForDeletion(h, true)) {
    result = GetLastError();
    // Read-only since it was listed: its attribute is looked at now, through a handle of the same
    // file that may change it.
    if (result == ERROR_ACCESS_DENIED && clearAttributes && !changed) {
      HANDLE again = ReOpenFile(h, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
      if (again != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        h = again;
        known = false;
        if (ask() && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && takeReadOnlyOff())
          result = rt::MarkForDeletion(h, true) ? 0 : GetLastError();
      }
    }
  }
  // The attributes come back where the file stays, and where other names share them (the name
  // erased goes when the handle closes, whatever its attributes are then).
  if (changed && (result || info.nNumberOfLinks > 1) && !SetAttributesThrough(h, info.dwFileAttributes) && !result) {
    result = GetLastError();
    rt::MarkForDeletion(h, false);  // the erase fails and the name stays: no other name is changed unsaid
  }
  CloseHandle(h);
  return result;
}
