// The options window opened from a fresh main window, with the program's language file in the
// scratch program folder; the start-up entry and Internet Explorer's home page start out missing.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/fixture.h"
#include "options/form3.h"
#include "options/form6.h"
#include "runtime/seams.h"
#include "shared/msgform.h"
#include "shared/settings.h"

namespace opt {

inline std::string RunValue(const char* key) { return mw::UserValue(key, settings::kStartupEntry); }
inline bool HasRunValue(const char* key) { return mw::UserValueExists(key, settings::kStartupEntry); }

inline void ClearUserSettings() {
  for (const char* key : settings::kRunKeys) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
      RegDeleteValueA(k, settings::kStartupEntry);
      RegCloseKey(k);
    }
  }
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, settings::kExplorerMain, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
    RegDeleteValueA(k, settings::kStartPage);
    RegDeleteValueA(k, settings::kWindowTitle);
    RegCloseKey(k);
  }
}

class OptionsTest : public mw::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Forget();
    ClearUserSettings();
    mw::InstallEnglish();
    Main().txtlang.SetText("english.ini");
  }
  void TearDown() override {
    Forget();
    ClearUserSettings();
    MainWindowTest::TearDown();
  }
  static void Forget() {
    OptionsWindow().Reset();
    LanguageEditor().Reset();
    MessageForm().Reset();
  }
  // The options window as the main window's "Options" button opens it.
  Form3& Open() {
    Main().chameleonButton8_Click();
    return OptionsWindow().Get();
  }
};

// Tests that answer the file dialogs with `chosen` (std::nullopt: cancelled) and every message box
// with OK, keeping the texts in `notices`.
class AnsweringTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    forms::SetFileDialogHandler([this](const forms::FileDialogCall& c) -> std::optional<std::string> {
      dialogs.push_back(c);
      return chosen;
    });
    rt::SetMessageBoxHandler([this](const rt::MessageBoxCall& c) {
      notices.push_back(c.text);
      return IDOK;
    });
  }
  std::optional<std::string> chosen;
  std::vector<forms::FileDialogCall> dialogs;
  std::vector<std::string> notices;
};

}  // namespace opt
