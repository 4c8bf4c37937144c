// The Start menu's Run history (code 11) and its search history with two history lists of an
// Explorer bar of Internet Explorer (code 12), all in the registry of the current user.
#include "categories/categories.h"
#include "runtime/outcome.h"
#include "runtime/text.h"
#include "shared/settings.h"

namespace categories {

namespace {
const char* const kRunKeys[] = {
    "software\\microsoft\\windows\\currentversion\\explorer\\runmru",
    "software\\microsoft\\windows nt\\currentversion\\explorer\\runmru",
};
const char kFindKey[] = "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";
const char* const kExplorerBarKeys[] = {
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU",
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU",
};
const char kRunRow[] = "Windows Start Run History";
const char kFindRow[] = "Windows Start Find History ";
}  // namespace

void t1(RunContext& run) {
  run.AddDetailRow(kRunRow + RunContext::RowEnd(true, "  "));
  run.AddRegCount(1);
}

void c1(RunContext& run) {
  bool ok = true;
  for (const char* key : kRunKeys) ok = rt::Gone(DeleteRegKey(HKEY_CURRENT_USER, key)) && ok;
  run.AddDetailRow(kRunRow + RunContext::RowEnd(ok, "  "));
  if (ok) run.AddRegCount(1);
}

void t2(RunContext& run) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string text;
    ReadRegString(HKEY_CURRENT_USER, kFindKey, std::string(1, letter), text);
    if (rt::Trim(text).empty()) continue;
    run.AddDetailRow(kFindRow + text + RunContext::RowEnd(true, " "));
    run.AddRegCount(1);
  }
}

void c2(RunContext& run) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string name(1, letter), text;
    ReadRegString(HKEY_CURRENT_USER, kFindKey, name, text);
    bool blanked = WriteRegString(HKEY_CURRENT_USER, kFindKey, name, "");
    if (rt::Trim(text).empty()) continue;
    run.AddDetailRow(kFindRow + text + RunContext::RowEnd(blanked, " "));
    if (blanked) run.AddRegCount(1);
  }
  for (const char* key : kExplorerBarKeys) DeleteRegKey(HKEY_CURRENT_USER, key);
}

}  // namespace categories
