// Internet Explorer's history (code 3): the sub-keys of the "Extensible Cache" keys, which name the
// history's containers, of the current user and, in the erase, of the logged-on user's branch of
// HKEY_USERS. The erase first lets the history cleaner erase the history entries themselves. The
// "Extensible Cache" keys stay.
#include "categories/categories.h"
#include "forms/forms.h"
#include "shared/historycleaner.h"
#include "runtime/outcome.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "shared/storage.h"

namespace categories {

namespace {
const char kKey60[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\6.0\\Cache\\Extensible Cache";
const char kKey40[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\4.0\\Cache\\Extensible Cache";
const char kKey50[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache";
const char kHistoryRow[] = "Cleaning Internet History value: ";

// The sub-keys of a branch ("" for the current user, else the user's key under HKEY_USERS): those
// of its 6.0 key, or where that cannot be opened its 4.0 key, or its 5.0 key.
std::vector<std::string> HistorySubKeys(const std::string& root, const std::string& branch, forms::ListBox& list) {
  for (const char* key : {kKey60, kKey40, kKey50}) {
    std::string values;
    if (fEnumKey(root, branch + key, values, list) == 0) return list.Items();
  }
  list.Clear();
  return {};
}

// The logged-on user's branch of HKEY_USERS ("name\"), "" unless the name is one existing key.
std::string UserBranch() {
  std::string name;
  ReadRegString(HKEY_LOCAL_MACHINE, "Network\\Logon", "username", name);
  name = rt::Trim(name);
  if (name.empty() || rt::FindCharOf(name, "\\/*?") != std::string::npos || name == "." || name == "..") return "";
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32) return "";
  HKEY key;
  if (RegOpenKeyExA(HKEY_USERS, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  RegCloseKey(key);
  return name + "\\";
}

void InternetHistory(RunContext& run, const std::string& root, const std::string& branch, bool erase) {
  for (const std::string& name : HistorySubKeys(root, branch, run.Lists().subKeys)) {
    rt::YieldIfDue();
    bool ok = true;
    if (erase) {
      for (const char* key : {kKey40, kKey50, kKey60}) ok = rt::Gone(fDeleteKey(root, branch + key, name)) && ok;
    }
    if (ok) run.AddRegCount(1);
    run.AddDetailRow(kHistoryRow + name + RunContext::RowEnd(ok, "  "));
  }
}
}  // namespace

void t11(RunContext& run) { InternetHistory(run, "HKCU", "", false); }

void c11(RunContext& run) {
  run.History().ClearHistory();
  InternetHistory(run, "HKCU", "", true);
  std::string user = UserBranch();
  if (!user.empty()) InternetHistory(run, "HKU", user, true);
}

}  // namespace categories
