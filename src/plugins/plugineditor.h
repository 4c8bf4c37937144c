// Trelmak's main window: the editor of one plug-in file, with its title, provider and description,
// its file and folder entries and its registry entries. It creates, opens, saves and saves under a
// new name, adds entries through the path and registry entry dialogs, edits and removes them.
//
// The window owns the name of the language file for the whole program (txtlang): the entry
// dialogs read their texts from it.
#pragma once

#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

// A label for a path: a path too long for it keeps its file name and loses letters in the middle.
class PathLabel : public forms::Label {
 public:
  using forms::Label::Label;

 protected:
  NativeLook Look() const override;
};

class PluginEditorWindow : public forms::Form {
 public:
  PluginEditorWindow();

  static const char* const kTitle;         // the program's title, on every message box
  static const char* const kDownloadPage;  // the maker's plug-in download page
  static const char* const kHelpFile;      // the help file in the program folder

  forms::ControlArray<forms::Label> Label1;  // 0 title, 1 provider, 2 description, 3 "Current File :"
  PathLabel Label2;                          // the current file's path
  forms::Frame Frame1, Frame2, Frame3;
  forms::TextBox Text1, Text2, Text3;        // title, provider, description
  forms::ListBox List1;                      // file and folder entries
  forms::ListBox List2;                      // registry entries
  controls::chameleonButton command1, Command2, Command10;  // file list: Add, Remove, Edit
  controls::chameleonButton Command4, Command3, Command11;  // registry list: Add, Remove, Edit
  controls::chameleonButton Command8, Command9, Command7, Command5, Command6;  // New, Open, Save As, Save, Exit
  forms::PushButton Command12;               // hidden: relocates the plug-ins of the "plugins" folder
  forms::TextBox Text4;                      // hidden: the current file's path, "" for none
  forms::TextBox txtlang;                    // hidden: the language file's name
  forms::CommonDialog Dlg1;
  forms::MenuItem a, a1, a2, a3, a4, a5, a6, a7;  // File: New, -, Open, Save, Save As, -, Exit
  forms::MenuItem b, b1, b4, b3, b2;              // About: Download Plug-in, Help, -, About

  void Command8_Click();   // New
  void Command9_Click();   // Open
  void Command5_Click();   // Save
  void Command7_Click();   // Save As
  void Command6_Click();   // Exit
  void command1_Click();   // file list Add
  void Command4_Click();   // registry list Add
  void Command2_Click();   // file list Remove
  void Command3_Click();   // registry list Remove
  void Command10_Click();  // file list Edit
  void Command11_Click();  // registry list Edit
  void Command12_Click();  // the hidden relocation
  void b1_Click();         // Download Plug-in
  void b4_Click();         // Help
  void b2_Click();         // About

  // The texts of the window's language file, named in txtlang.
  LanguageTexts Lang{[this] { return txtlang.Text(); }};

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

 private:
  void SetCaptions();
  void OpenCommandLine();
  void SetCurrentFile(const std::string& path);
  void ReadPlugin(const std::string& path);
  bool ShowSaveDialog(std::string& chosen);
  bool PrepareContent();
  void WritePlugin(const std::string& path);
  void EditEntry(forms::ListBox& list, const std::string& prompt, const std::string& title,
                 const std::string& emptyMessage);
  int Notice(const std::string& text, UINT icon);
};

// The one editor window of the program (made on first use).
forms::DefaultInstance<PluginEditorWindow>& PluginEditor();

// The path a command line names: the whole line, or what stands between one pair of enclosing
// double quotes (as Windows passes a file opened from Explorer); "" for a line of blanks.
std::string CommandLinePath(const std::string& args);
