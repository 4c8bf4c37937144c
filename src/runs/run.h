// The test and erase runs: one straight walk over the enabled categories (the category table's run
// order), the clipboard and the browsers, the plug-ins, then the totals and the log. A Run holds
// the state of the run in progress (its counters, which status row shows which category, the first
// plug-in row) and fills the main window's lists, totals and progress bar, which it is given when
// it is made; it is the run context its category routines, browser steps and plug-in passes
// report to. What the window does around a run (requests that wait, the end of the program) is the
// window's own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "shared/runcontext.h"

namespace forms {
class Label;
class ListView;
class ProgressBar;
class TextBox;
}  // namespace forms

namespace runs {

// The controls of the main window that a run fills. The counters' boxes and the first plug-in
// row's box show what the run holds, as decimal text; the run never reads them back.
struct RunControls {
  forms::ListView& statusList;  // one row per enabled category, then one per selected plug-in
  forms::ListView& detailList;  // one row per item found or erased
  forms::ListView& pluginList;  // the hidden plug-in list, emptied at the start
  forms::ProgressBar& progress;
  forms::Label& registryTotal;
  forms::Label& fileTotal;
  forms::Label& sizeTotal;
  forms::TextBox& registryCount;
  forms::TextBox& fileCount;
  forms::TextBox& fileSize;
  forms::TextBox& cacheBytes;
  forms::TextBox& firstPluginRow;
  RunContext::WorkLists work;
  forms::TextBox& cookiesFolder;
  HistoryCleaner& history;
};

// What a run asks of the window it runs in.
class RunHost {
 public:
  // The status list is rebuilt from the settings (through the window's trigger for it).
  virtual void RebuildStatusList() = 0;
  // The plug-ins: listed, ticked, their work lists built and loaded, then their pass.
  virtual void PluginSteps(bool erase) = 0;
  // The run has shown its totals and written its log.
  virtual void RunFinished() = 0;
  virtual bool Ended() const = 0;
  virtual HWND Window() const = 0;

 protected:
  ~RunHost() = default;
};

class Run final : public RunContext {
 public:
  Run(const RunControls& controls, RunHost& host) : c_(controls), host_(host) {}
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  void EraseRun();
  void TestRun();
  // The totals, the run log "eraselog.txt" (unless the user turned it off) and the idle state;
  // the end of both runs, and of a run the end of the Windows session stops.
  void Finish();

  // The status-list builder: one row per enabled category in the table's order, then one per line
  // of the plug-in selection, each remembered as the row of its category.
  void BuildStatusList();
  // Which row of the status list shows which category ("0".."24"); 0 when it has none.
  int StatusRowOf(const std::string& code) const;
  int FirstPluginRow() const { return firstPluginRow_; }

  // RunContext
  void AddDetailRow(const std::string& text) override;
  void AddRegCount(int64_t n) override;
  void AddFileCount(int64_t n) override;
  void AddFileSize(uint64_t bytes) override;
  void AddCacheBytes(uint64_t bytes) override;
  void MarkStatus(const std::string& code, bool starting) override;
  void StepFailed() override { stepFailed_ = true; }
  void PluginTicked() override;
  void MarkPluginRows() override;
  bool Ended() const override { return host_.Ended(); }
  HWND OwnerWindow() const override { return host_.Window(); }
  WorkLists Lists() override { return c_.work; }
  void CookiesFolderFound(const std::string& folder) override;
  HistoryCleaner& History() override { return c_.history; }

 private:
  void Start();
  void Categories(bool erase);
  void WriteLog();
  // The clipboard, Opera and Netscape/Mozilla steps of both runs.
  void BrowserSteps(bool erase);
  void BrowserFileStep(const char* code, const std::string& folder, const std::vector<const char*>& names,
                       const char* row, bool erase);
  void BrowserCacheStep(const char* code, const std::string& folder, const char* cacheFolder,
                        const std::string& rowPrefix, bool erase);
  void ShowCounters();

  RunControls c_;
  RunHost& host_;
  int64_t registryItems_ = 0, files_ = 0;
  uint64_t bytes_ = 0;
  uint64_t cacheBytes_ = 0;  // over every run of the program, as the main window's box shows it
  std::map<std::string, int> statusRows_;
  int firstPluginRow_ = 1;
  bool stepFailed_ = false;
};

// Bytes as kilobytes, or as megabytes from 1,000 kilobytes on, with three decimals: "5.000 KB",
// "0.977 MB".
std::string DiskSpaceText(double bytes);

}  // namespace runs
