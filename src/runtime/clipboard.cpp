#include "runtime/clipboard.h"

#include <windows.h>

#include <cstring>

namespace rt {

namespace {
std::function<std::optional<std::string>()>& ReadHandler() {
  static std::function<std::optional<std::string>()> h;
  return h;
}
std::function<bool()>& ClearHandler() {
  static std::function<bool()> h;
  return h;
}

// Another program may hold the clipboard open for a moment (while it copies): try a few times.
bool OpenTheClipboard() {
  for (int i = 0; i < 5; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}
}  // namespace

bool ClipboardText(std::string& text) {
  text.clear();
  if (ReadHandler()) {
    std::optional<std::string> t = ReadHandler()();
    if (!t) return false;
    text = t->substr(0, t->find('\0'));
    return true;
  }
  if (!OpenTheClipboard()) return false;
  if (HANDLE data = IsClipboardFormatAvailable(CF_TEXT) ? GetClipboardData(CF_TEXT) : nullptr) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      // Never read past the block, whether or not its text ends in a NUL.
      size_t size = GlobalSize(data);
      const void* end = memchr(p, '\0', size);
      text.assign(p, end ? static_cast<const char*>(end) - p : size);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return true;
}

bool ClearClipboard() {
  if (ClearHandler()) return ClearHandler()();
  if (!OpenTheClipboard()) return false;
  bool ok = EmptyClipboard() != 0;
  CloseClipboard();
  return ok;
}

void SetClipboardHandlers(std::function<std::optional<std::string>()> read, std::function<bool()> clear) {
  ReadHandler() = std::move(read);
  ClearHandler() = std::move(clear);
}

}  // namespace rt
