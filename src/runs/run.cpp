#include "runs/run.h"

#include "categories/categories.h"
#include "forms/forms.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/settings.h"
#include "shared/windowutils.h"

namespace runs {

// --- what the routines report ----------------------------------------------------------------------

void Run::AddDetailRow(const std::string& text) {
  int row = c_.detailList.Add(text);
  c_.detailList.SetSelected(row, true);
  c_.detailList.EnsureVisible(row);
}

void Run::AddRegCount(int64_t n) {
  registryItems_ += n;
  c_.registryCount.SetText(rt::NumberText(registryItems_));
}

void Run::AddFileCount(int64_t n) {
  files_ += n;
  c_.fileCount.SetText(rt::NumberText(files_));
}

void Run::AddFileSize(uint64_t bytes) {
  bytes_ += bytes;
  c_.fileSize.SetText(rt::NumberText(bytes_));
}

void Run::AddCacheBytes(uint64_t bytes) {
  cacheBytes_ += bytes;
  c_.cacheBytes.SetText(rt::NumberText(cacheBytes_));
}

void Run::CookiesFolderFound(const std::string& folder) { c_.cookiesFolder.SetText(folder); }

// --- the status list -------------------------------------------------------------------------------

void Run::BuildStatusList() {
  c_.statusList.Clear();
  statusRows_.clear();
  for (const categories::Category& c : categories::kCategories) {
    if (!settings::IsOn(settings::kOptionWin, c.code)) continue;
    int row = c_.statusList.Add(c.caption);
    c_.statusList.SetSmallIcon(row, c.icon);
    statusRows_[c.code] = row;
  }
  firstPluginRow_ = c_.statusList.Count() + 1;
  rt::LineReader selection(rt::JoinPath(rt::ProgramFolder(), "slectplg.cln"));
  for (std::string line; selection.Next(line);) {
    if (rt::Trim(line).empty()) continue;
    int row = c_.statusList.Add(line);
    c_.statusList.SetSmallIcon(row, categories::kPluginRowIcon);
  }
}

int Run::StatusRowOf(const std::string& code) const {
  auto it = statusRows_.find(code);
  return it == statusRows_.end() ? 0 : it->second;
}

void Run::MarkStatus(const std::string& code, bool starting) {
  bool failed = stepFailed_;
  stepFailed_ = false;
  int row = StatusRowOf(code);
  if (!row) return;  // enabled after the list was built: the category has no row
  if (starting) {
    c_.statusList.SetSubItem(row, 1, "Erasing");
  } else if (failed) {
    c_.statusList.SetSubItem(row, 1, "Failed");
  } else {
    c_.statusList.SetSmallIcon(row, categories::kDoneIcon);
    c_.statusList.SetSubItem(row, 1, "Done");
  }
}

void Run::PluginTicked() {
  if (c_.statusList.Count()) c_.statusList.SetSmallIcon(c_.statusList.Count(), categories::kDoneIcon);
}

void Run::MarkPluginRows() {
  for (int k = firstPluginRow_; k >= 1 && k <= c_.statusList.Count(); ++k) {
    rt::YieldIfDue();
    c_.statusList.SetSubItem(k, 1, "Erasing");
    c_.statusList.SetSmallIcon(k, categories::kDoneIcon);
    c_.statusList.SetSubItem(k, 1, "Done");
  }
}

// --- the runs --------------------------------------------------------------------------------------

// The start of both runs: the previous run's lists, counters and totals go, and the status list
// is built afresh from the current settings.
void Run::Start() {
  c_.registryTotal.SetCaption("0");
  c_.fileTotal.SetCaption("0");
  c_.sizeTotal.SetCaption("0");
  c_.pluginList.Clear();
  host_.RebuildStatusList();
  c_.detailList.Clear();
  registryItems_ = files_ = 0;
  bytes_ = 0;
  for (forms::TextBox* box : {&c_.registryCount, &c_.fileCount, &c_.fileSize}) box->SetText("0");
}

void Run::EraseRun() {
  Start();
  if (settings::IsOn(settings::kOptionOption, settings::kOptCloseBrowsers)) CloseBrowserWindows();
  Categories(true);
}

void Run::TestRun() {
  Start();
  Categories(false);
}

void Run::Categories(bool erase) {
  c_.progress.SetMax(100);
  c_.progress.SetValue(0);
  for (const categories::Category* step : categories::RunOrder()) {
    if (Ended()) return;  // the program ended inside the run (Windows ended the session)
    if (settings::IsOn(settings::kOptionWin, step->code)) {
      MarkStatus(step->code, true);
      (erase ? step->erase : step->test)(*this);
      MarkStatus(step->code, false);
    }
    int progress = erase ? step->eraseProgress : step->testProgress;
    if (progress >= 0) c_.progress.SetValue(progress);
  }
  if (Ended()) return;
  BrowserSteps(erase);
  if (Ended()) return;
  c_.progress.SetValue(85);
  c_.firstPluginRow.SetText(rt::NumberText(firstPluginRow_));
  c_.progress.SetValue(100);
  host_.PluginSteps(erase);
  if (Ended()) return;
  c_.progress.SetValue(100);
  Finish();
}

}  // namespace runs
