// What the trace categories, the browser steps and the plug-in passes see of the run they work in:
// the detail list they append rows to, the counters they add to, the marks of the status list
// they take, whether the Windows session has ended meanwhile, and the hidden work lists of the
// main window that they fill while they work. They know nothing else of the main window; its run
// (runs::Run) implements this.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace forms {
class ListBox;
class FileListBox;
}  // namespace forms
class HistoryCleaner;

class RunContext {
 public:
  // Appends a row to the detail list, selected and scrolled into view.
  virtual void AddDetailRow(const std::string& text) = 0;

  // The run's counters: registry items, files and their bytes found or erased; and the bytes of
  // Internet Explorer's cache (what the cache listing saw).
  virtual void AddRegCount(int64_t n) = 0;
  virtual void AddFileCount(int64_t n) = 0;
  virtual void AddFileSize(uint64_t bytes) = 0;
  virtual void AddCacheBytes(uint64_t bytes) = 0;

  // The status list. A status step of one category (code "0".."24"): "Erasing" as it starts,
  // then "Done" with the done icon, or "Failed" when the step said so with StepFailed meanwhile.
  virtual void MarkStatus(const std::string& code, bool starting) = 0;
  virtual void StepFailed() = 0;
  // The plug-in rows: the done icon on the last row for every plug-in the fill ticks, and at the
  // end of a plug-in pass the marks of every row from the first plug-in row to the last.
  virtual void PluginTicked() = 0;
  virtual void MarkPluginRows() = 0;

  // True once the program has ended, as when Windows ends the session while the run yields: the
  // run goes no further.
  virtual bool Ended() const = 0;
  // The window the run shows in, for the shell calls that want an owner.
  virtual HWND OwnerWindow() const = 0;

  // The main window's hidden work controls that the routines use as their lists, each emptied by
  // its next user: the value names of one key (also the files of Internet Explorer's cache), the
  // sub-key names of one key, the addresses of the cache's files, the cache routines' "Removing"
  // lines, and the lister of one folder's files; the Cookies folder as last looked up; the
  // history cleaner.
  struct WorkLists {
    forms::ListBox& values;
    forms::ListBox& subKeys;
    forms::ListBox& cacheAddresses;
    forms::ListBox& removing;
    forms::FileListBox& folderFiles;
  };
  virtual WorkLists Lists() = 0;
  virtual void CookiesFolderFound(const std::string& folder) = 0;
  virtual HistoryCleaner& History() = 0;

  // "<OK>" or "<FAILED>" at the end of a detail row, after the given blanks.
  static std::string RowEnd(bool ok, const char* blanks) { return std::string(blanks) + (ok ? "<OK>" : "<FAILED>"); }

 protected:
  ~RunContext() = default;
};
