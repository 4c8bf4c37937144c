// A fresh main window for every test, with the program's language file in the scratch program
// folder and the traces of the Start menu and the Open/Save dialogs planted in the registry.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "runtime/datetime.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/settings.h"
#include "support/scratch.h"

namespace mw {

inline const char* kRunMru = "software\\microsoft\\windows\\currentversion\\explorer\\runmru";
inline const char* kRunMruNt = "software\\microsoft\\windows nt\\currentversion\\explorer\\runmru";
inline const char* kFindMru = "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";
inline const char* kOpenSave = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
inline const char* kOpenSaveNt = "Software\\Microsoft\\Windows nt\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
inline const char* kBarFiles =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU";
inline const char* kBarText =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU";

inline void SetUserValue(const std::string& key, const std::string& name, const std::string& text) {
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, name, text)) << key;
}

inline bool UserKeyExists(const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

inline bool UserValueExists(const std::string& key, const std::string& name) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  bool found = RegQueryValueExA(k, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(k);
  return found;
}

inline std::string UserValue(const std::string& key, const std::string& name) {
  std::string t;
  ReadRegString(HKEY_CURRENT_USER, key, name, t);
  return t;
}

inline void ClearTraces() {
  for (const char* k : {kRunMru, kRunMruNt, kFindMru, kOpenSave, kOpenSaveNt, kBarFiles, kBarText})
    RegDeleteTreeA(HKEY_CURRENT_USER, k), RegDeleteKeyA(HKEY_CURRENT_USER, k);
}

inline void Enable(std::initializer_list<const char*> codes) {
  for (const char* c : codes) settings::Write(settings::kOptionWin, c, "1");
}

// The language file the program ships, copied into the scratch program folder.
inline void InstallEnglish() {
  std::string src = "Z:" VELK_SOURCE_DIR "/lang/english.ini";
  for (auto& c : src) {
    if (c == '/') c = '\\';
  }
  rt::CreateFolder(ts::ProgramDir() + "\\lang");
  ASSERT_TRUE(CopyFileA(src.c_str(), (ts::ProgramDir() + "\\lang\\english.ini").c_str(), FALSE)) << src;
}

// A local time for the clock seam.
inline SYSTEMTIME At(int year, int month, int day, int hour = 9, int minute = 0, int second = 0) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

// A date as the settings store holds it: the user's short date format.
inline std::string Date(int year, int month, int day) { return rt::FormatShortDate(At(year, month, day)); }

// The main window, loaded, its own timer stopped: the test gives the ticks (TickAt). Every erase
// run that the timer starts is counted in `runs`.
inline Form1& LoadedForTicks(Form1& f, int& runs) {
  f.Load();
  f.Timer1.SetEnabled(false);
  auto trigger = f.Text5.Change;
  f.Text5.Change = [&runs, &f, trigger] {
    if (rt::Val(f.Text5.Text()) == 2) ++runs;
    trigger();
  };
  return f;
}
inline void TickAt(Form1& f, const SYSTEMTIME& now) {
  rt::SetClockForTests(now);
  f.Timer1_Timer();
}

inline std::vector<std::string> DetailRows(Form1& f) {
  std::vector<std::string> rows;
  for (int i = 1; i <= f.View200.Count(); ++i) rows.push_back(f.View200.Text(i));
  return rows;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearTraces();
    MainFormInstance().Reset();
  }
  void TearDown() override {
    MainFormInstance().Reset();
    ClearTraces();
  }
  Form1& Main() { return MainForm(); }
};

}  // namespace mw
