#include "shared/documents.h"

#include "runtime/seams.h"

long StartDoc(const std::string& DocName) {
  return static_cast<long>(rt::ShellExecuteText(GetDesktopWindow(), "Open", DocName, "", "C:\\", SW_SHOWNORMAL));
}

bool OpenWebPage(const std::string& address, HWND owner) {
  if (address.empty()) return false;
  return rt::ShellExecuteText(owner, "open", address, "", "", SW_SHOWNORMAL) > 32;
}
