// A fresh editor and fresh entry dialogs for every test, the shipped language file in the scratch
// program folder, and the message boxes, file dialogs and input boxes answered by the test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/dialogs.h"
#include "plugins/pathentry.h"
#include "plugins/plugineditor.h"
#include "plugins/registryentry.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "support/scratch.h"

namespace te {

// The language file the program ships, copied into the scratch program folder.
inline void InstallEnglish() {
  std::string src = "Z:" VELK_SOURCE_DIR "/lang/english.ini";
  for (auto& c : src) {
    if (c == '/') c = '\\';
  }
  rt::CreateFolder(ts::ProgramDir() + "\\lang");
  ASSERT_TRUE(CopyFileA(src.c_str(), (ts::ProgramDir() + "\\lang\\english.ini").c_str(), FALSE)) << src;
}

struct Box {
  std::string text, title;
  UINT icon;  // MB_ICONMASK bits
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindows();
    rt::SetCommandLineForTests("");  // the test program's own arguments name no plug-in
    InstallEnglish();
    rt::CreateFolder(ts::ProgramDir() + "\\plugins");  // as it is installed
    rt::SetMessageBoxHandler([this](const rt::MessageBoxCall& c) {
      boxes.push_back({c.text, c.title, c.style & MB_ICONMASK});
      return IDOK;
    });
    forms::SetFileDialogHandler([this](const forms::FileDialogCall& c) -> std::optional<std::string> {
      fileDialogs.push_back(c);
      EXPECT_FALSE(fileAnswers.empty()) << "a file dialog nobody answers: " << c.title;
      if (fileAnswers.empty()) return std::nullopt;
      std::optional<std::string> a = fileAnswers.front();
      fileAnswers.erase(fileAnswers.begin());
      return a;
    });
  }
  void TearDown() override { ResetWindows(); }
  static void ResetWindows() {
    for (forms::Form* f : std::initializer_list<forms::Form*>{
             PathEntry().Exists() ? &PathEntry().Get() : nullptr,
             RegistryEntry().Exists() ? &RegistryEntry().Get() : nullptr,
             PluginEditor().Exists() ? &PluginEditor().Get() : nullptr})
      if (f) f->Unload();
    PathEntry().Reset();
    RegistryEntry().Reset();
    PluginEditor().Reset();
  }

  PluginEditorWindow& LoadEditor() {
    PluginEditorWindow& f = PluginEditor().Get();
    f.Load();
    return f;
  }
  PathEntryDialog& PathDialog() {
    LoadEditor().command1.PerformClick();
    return PathEntry().Get();
  }
  RegistryEntryDialog& RegistryDialog() {
    LoadEditor().Command4.PerformClick();
    return RegistryEntry().Get();
  }
  static std::vector<std::string> Items(const forms::ListBox& l) { return l.Items(); }

  std::vector<Box> boxes;
  std::vector<forms::FileDialogCall> fileDialogs;
  std::vector<std::optional<std::string>> fileAnswers;  // one per dialog shown; nullopt: Cancel
};

}  // namespace te
