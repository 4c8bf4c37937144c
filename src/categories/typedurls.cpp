// The addresses typed into Internet Explorer's address bar (code 0): the values of one key of the
// current user. The erase deletes the key and writes back the addresses of the keep list "url.vel".
// The category has no detail rows: an erase that fails says so on its status row.
#include "categories/categories.h"
#include "forms/forms.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/settings.h"
#include "shared/storage.h"

namespace categories {

namespace {
const char kTypedUrlsKey[] = "software\\microsoft\\internet explorer\\typedurls";
}  // namespace

void t6(RunContext& run) {
  std::string values;
  fEnumValueb("HKCU", kTypedUrlsKey, values, run.Lists().values);
  run.AddRegCount(run.Lists().values.ListCount());
}

void c6(RunContext& run) {
  // The keep list is read before anything goes: one that is there but cannot be read leaves the
  // addresses as they are, so no kept address is ever lost.
  std::vector<std::string> keep;
  std::string keepFile = rt::JoinPath(rt::ProgramFolder(), "url.vel");
  if (rt::GetAttr(keepFile) != rt::kNoAttributes) {
    std::vector<std::string> lines;
    if (!rt::ReadLines(keepFile, lines)) {
      run.StepFailed();
      return;
    }
    for (const std::string& line : lines) {
      std::string address = rt::Trim(line);
      if (!address.empty()) keep.push_back(address);
    }
  }
  std::string values;
  fEnumValueb("HKCU", kTypedUrlsKey, values, run.Lists().values);
  long status = DeleteRegKey(HKEY_CURRENT_USER, kTypedUrlsKey);
  if (!rt::Gone(status)) {  // it stays: nothing to write back over
    run.StepFailed();
    return;
  }
  if (status == ERROR_SUCCESS) run.AddRegCount(run.Lists().values.ListCount());
  int number = 1;
  for (const std::string& address : keep)
    if (!WriteRegString(HKEY_CURRENT_USER, kTypedUrlsKey, "URL" + rt::NumberText(number++), address)) run.StepFailed();
}

}  // namespace categories
