// The history of the common Open and Save dialogs (code 9): the values of one key of the current
// user and of its sub-keys. The keys themselves stay.
#include "categories/categories.h"
#include "forms/forms.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/storage.h"

namespace categories {

namespace {
const char kMainKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
const char kFallbackKey[] = "Software\\Microsoft\\Windows nt\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
const char kValueRow[] = "Windows Open / Save Dialog History ";
const char kSubValueRow[] = "Cleaning Registry key value: ";

// The value names of a key (a second try when the first fails), as a copy the loop can walk.
std::vector<std::string> ValueNames(const std::string& key, forms::ListBox& list) {
  std::string values;
  if (fEnumValueb("HKCU", key, values, list) != 0) {
    values.clear();
    fEnumValueb("HKCU", key, values, list);
  }
  return list.Items();
}

std::vector<std::string> SubKeyNames(forms::ListBox& list) {
  std::string values;
  if (fEnumKey("HKCU", kMainKey, values, list) != 0) {
    values.clear();
    fEnumKey("HKCU", kFallbackKey, values, list);
  }
  return list.Items();
}

// The test routine lists and counts; the erase routine deletes each value first and counts
// what went. The keys themselves stay.
void OpenSaveHistory(RunContext& run, bool erase) {
  for (const std::string& name : ValueNames(kMainKey, run.Lists().values)) {
    rt::YieldIfDue();
    bool ok = !erase || fDeleteValue("HKCU", kMainKey, name) == 0;
    run.AddDetailRow(kValueRow + name + RunContext::RowEnd(ok, " "));
    if (ok) run.AddRegCount(1);
  }
  for (const std::string& sub : SubKeyNames(run.Lists().subKeys)) {
    rt::YieldIfDue();
    std::string path = std::string(kMainKey) + "\\" + sub;
    for (const std::string& name : ValueNames(path, run.Lists().values)) {
      rt::YieldIfDue();
      std::string text;
      ReadRegString(HKEY_CURRENT_USER, path, name, text);
      bool ok = !erase || fDeleteValue("HKCU", path, name) == 0;  // a blank value goes all the same
      if (rt::Trim(text).empty()) continue;
      if (ok) run.AddRegCount(1);
      run.AddDetailRow(kSubValueRow + text + RunContext::RowEnd(ok, "  "));
    }
  }
}
}  // namespace

void t5(RunContext& run) { OpenSaveHistory(run, false); }

void c5(RunContext& run) { OpenSaveHistory(run, true); }

}  // namespace categories
