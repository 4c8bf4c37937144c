// The keep-list window: the Internet Explorer cookie files or typed addresses that an erase run
// keeps. The upper list shows what exists on the machine now, the lower one what is kept; OK writes
// the lower list into its keep-list file in the program folder, Cancel and the close box write
// nothing. The erasing-settings window opens it and then assigns the mode to Text1: "1" cookie
// files ("cookies.vel"), "2" typed addresses ("url.vel").
//
// The keep-list files: ANSI text, one entry a line, each ended by CR LF, written trimmed and in the
// order of the list, blank entries never, nor entries with a line break or of more than 64 KiB
// (Add refuses them); an empty keep list is a file of zero bytes.
//
// The lists fill in steps that yield to the message loop (a Cookies folder may hold thousands of
// files): until both are whole, Add, Delete, Refresh and OK do nothing, and a mode assigned
// meanwhile is taken up once the fill has ended, so no half-filled list is ever written. A keep
// file that is there but cannot be read is never replaced: OK says so and keeps it. A keep file
// that cannot be written is left as it was: OK says so and the window stays open.
#pragma once

#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class Form52 : public forms::Form {
 public:
  Form52();

  forms::Frame Frame1;
  forms::ControlArray<forms::Label> Label1;  // 1 above the current list, 0 above the keep list
  forms::ListBox List1;  // the current list
  controls::chameleonButton orubutton2;  // Add
  forms::ListBox List2;  // the keep list
  controls::chameleonButton chameleonButton1, orubutton11, chameleonButton2, orubutton3;  // Select All, Refresh, Select All, Delete
  controls::chameleonButton orubutton7, orubutton10;  // OK, Cancel
  forms::TextBox Text1;   // the mode
  forms::ListBox List3;   // working list: the typed-address values' names
  forms::FileListBox File1;  // working list: the cookie files

  void Text1_Change();
  void Command1_Click();  // the cookie files into the current list
  void Command2_Click();  // the typed addresses into the current list
  void orubutton2_Click();  // Add
  void orubutton3_Click();  // Delete
  void chameleonButton1_Click();  // Select All of the current list
  void chameleonButton2_Click();  // Select All of the keep list
  void orubutton11_Click();  // Refresh
  void orubutton7_Click();   // OK
  void orubutton10_Click();  // Cancel

  // The keep-list file of a mode ("" for any other mode).
  static std::string KeepListFile(int mode);
  // True while the lists are being filled.
  bool Filling() const { return filling_; }
  // Where Internet Explorer keeps the typed addresses (under HKEY_CURRENT_USER).
  static const char* const kTypedUrls;

 protected:
  void Form_Load() override;

 private:
  int Mode() const;
  void FillLists();
  bool ReadKeepList(const std::string& path);  // false when the file is there but cannot be read
  static void SelectAll(forms::ListBox& list);

  LanguageTexts Lang;  // from the main window's language box
  bool filling_ = false;
  int listMode_ = 0;              // the mode the lists were filled for
  bool keepListUnread_ = false;   // its keep file is there but could not be read
};

forms::DefaultInstance<Form52>& KeepListWindow();
