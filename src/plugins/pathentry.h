// The path entry dialog: the user picks one file, or one folder with a wildcard, that a plug-in is
// to erase, and adds it as one line to the editor's file list:
//   file=<path>,<flag>            after "Select File"
//   folder=<folder>\<wildcard>,<flag>   after "Select Folder"
//   <typed path>,<flag>          when neither Select button was used
// The flag is "1" when sub-folders are to be cleaned too, "0" when not.
#pragma once

#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class PathEntryDialog : public forms::Form {
 public:
  PathEntryDialog();

  forms::Frame Frame1, Frame2;
  forms::DriveListBox Drive1;
  forms::FolderListBox Dir1;
  forms::FileListBox File1;
  forms::Label Label1;
  forms::TextBox Text1;   // the wildcard
  forms::CheckBox Check1;  // "Include SubFolders when cleaning"
  forms::TextBox Text2;   // the path that Add writes
  forms::TextBox Text3;   // hidden: the position of the file selected last, "a" for none yet
  forms::TextBox Text4;   // hidden: the kind of the path: "0" typed, "1" folder, "2" file
  controls::chameleonButton Command4, Command3, Command2, command1;  // Select Folder, Select File, Add, Cancel

  void Drive1_Change();
  void Dir1_Change();
  void Text1_Change();
  void File1_Click();
  void Command3_Click();  // Select File
  void Command4_Click();  // Select Folder
  void Command2_Click();  // Add
  void command1_Click();  // Cancel

 protected:
  void Form_Load() override;

 private:
  LanguageTexts Lang;  // from the editor's language box
  void Unspellable(const std::string& path);  // the notice for a name the code page cannot spell
};

// The one path entry dialog (made on first use; each opening starts from the design state).
forms::DefaultInstance<PathEntryDialog>& PathEntry();
