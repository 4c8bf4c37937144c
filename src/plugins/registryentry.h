// The registry entry dialog: the user names one registry key and what to erase there, and adds it
// as one line to the editor's registry list:
//   <key>,1   the key          <key>,2   its sub-keys
//   <key>,3   its values       <key>,<value name>,4   one value
// The key is typed, or picked up from the registry editor: "Launch Registry Editor" empties the
// clipboard, starts the registry editor and then, once a second, takes the clipboard's text into
// the key box until the key box changes, so that a key name the user copies there lands in it.
#pragma once

#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

// The visual styles of the window's controls: the program's manifest asks for version 6 of the
// common controls, and starting the service makes sure their classes are registered.
class VisualStyles {
 public:
  bool Start();
};

class RegistryEntryDialog : public forms::Form {
 public:
  RegistryEntryDialog();

  forms::Frame Frame1;
  forms::ControlArray<forms::Label> Label1;  // 1 "Registry Key", 0 the example, 3 "Enter value Name"
  forms::TextBox Text1;                      // the key
  controls::chameleonButton command1;        // "Launch Registry Editor"
  forms::Frame Frame2;
  forms::OptionButton Option1, Option2, Option3, Option4;  // the actions 1 to 4
  forms::TextBox Text2;                      // the value name, for action 4
  forms::Timer Timer1;                       // the clipboard pick-up
  controls::chameleonButton Command2, Command3;  // Add, Cancel
  VisualStyles WindowsXPC1;

  void command1_Click();  // Launch Registry Editor
  void Timer1_Timer();
  void Text1_Change();
  void Option4_Click();
  void Command2_Click();  // Add
  void Command3_Click();  // Cancel

 protected:
  void Form_Load() override;

 private:
  LanguageTexts Lang;  // from the editor's language box
  void Notice(const std::string& key, const std::string& fallback = "");
};

// The one registry entry dialog (made on first use; each opening starts from the design state).
forms::DefaultInstance<RegistryEntryDialog>& RegistryEntry();

// A key name as the clipboard gives it: its first line only, without blanks around it.
std::string KeyFromClipboard(const std::string& text);
