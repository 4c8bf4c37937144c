// The message form: one small window for notices whose text the user may want to copy (an
// address that could not be opened, a plug-in's description).
#pragma once

#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"

class frmmsg : public forms::Form {
 public:
  frmmsg();

  forms::Picture Picture1;
  forms::Label Label1;   // the heading
  forms::TextBox Text1;  // the text, selectable and copyable
  controls::chameleonButton Command2;

 protected:
  void Form_Load() override;

 private:
  void Command2_Click();
};

// The one message form (made on first use).
forms::DefaultInstance<frmmsg>& MessageForm();

// Shows the message form modeless with a caption, the text and a heading; a form already shown
// takes the new texts and comes to the front.
void ShowMessageForm(const std::string& caption, const std::string& text, const std::string& heading);
