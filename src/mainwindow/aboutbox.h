// The about box: the product, its version and the maker's addresses as links.
#pragma once

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class Form5 : public forms::Form {
 public:
  Form5();

  forms::Picture Image1;
  forms::Label Label1, Label2, Label10, Label3, Label4, Label5, Label6, Label8, Label9;
  controls::chameleonButton chameleonButton2;

  static const char* const kMail;  // the maker's support address
  static const char* const kSite;  // the maker's web site

  void chameleonButton2_Click();
  void Label8_Click();
  void Label9_Click();

 protected:
  void Form_Load() override;

 private:
  LanguageTexts Lang{LanguageFileName};  // the language set for the program
};

forms::DefaultInstance<Form5>& AboutBox();

// The program's version as major.minor.revision, read from its version resource.
std::string VersionText();
