#include "shared/documents.h"

#include "runtime/app.h"
#include "runtime/seams.h"
#include "shared/language.h"
#include "shared/msgform.h"

long StartDoc(const std::string& DocName) {
  return static_cast<long>(rt::ShellExecuteText(GetDesktopWindow(), "Open", DocName, "", "C:\\", SW_SHOWNORMAL));
}

bool OpenWebPage(const std::string& address, HWND owner) {
  if (address.empty()) return false;
  return rt::ShellExecuteText(owner, "open", address, "", "", SW_SHOWNORMAL) > 32;
}

void OpenLink(HWND owner, const std::string& address, const std::string& shownAddress, const std::string& textKey,
              const std::string& headingKey, const std::string& languageFile) {
  INT_PTR r = rt::ShellExecuteText(owner, "OPEN", address, "", rt::ProgramFolder(), SW_SHOWNORMAL);
  if (r > 32) return;
  ShowMessageForm("Velk Rezeza Pro", LangText(languageFile, textKey) + "\r" + shownAddress,
                  LangText(languageFile, headingKey));
}
