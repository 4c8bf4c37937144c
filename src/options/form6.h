// The language-file editor: the texts of the language in use as a source list, a translation typed
// for each, and the translations saved as a new language file in the program's "lang" folder (or
// an existing file opened, reworked and saved under its own name).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class Form6 : public forms::Form {
 public:
  Form6();

  // Translation information: who translates, and into which language (the file's name).
  forms::Frame Frame4;
  forms::Label Label3;
  forms::TextBox Text5;  // the translator's name
  forms::Label Label4;
  forms::TextBox Text6;  // the language's name
  // The source language: every text of the language in use.
  forms::Frame Frame1;
  forms::ListBox List1;
  // The line being translated.
  forms::Frame Frame3;
  forms::Label Label1;
  forms::TextBox Text1;  // the source line
  forms::Label Label2;
  forms::TextBox Text2;  // its translation
  controls::chameleonButton chameleonButton1;  // "Add"
  // The destination language: the translations so far.
  forms::Frame Frame2;
  forms::ListBox List2;
  controls::chameleonButton chameleonButton11;  // "Open Translation File To Edit it."
  controls::chameleonButton chameleonButton3;   // "Save"
  controls::chameleonButton chameleonButton2;   // "Exit"

  // Hidden: the keys beside the two lists, and the state of the editing.
  forms::ListBox List20;  // the key of each source text
  forms::ListBox List3;   // the key of each translation
  forms::TextBox Text3;   // the key of the line being translated
  forms::TextBox Text4;   // the key of the translation last clicked
  forms::TextBox Text7;   // the name of the file opened; "" for a new translation
  forms::TextBox Text8;   // "a", or the index of the translation being edited
  forms::CommonDialog dialog1;

  // The maker's addresses in the files' header.
  static const char* const kTranslationMail;
  static const char* const kSite;

  void Command1_Click();            // the window's texts
  void List1_Click();               // a source line chosen
  void List2_Click();               // a translation chosen for editing
  void chameleonButton1_Click();    // Add
  void chameleonButton11_Click();   // Open
  void chameleonButton3_Click();    // Save
  void chameleonButton2_Click();    // Exit

  // The whole file as Save writes it (lines ended by CR LF).
  std::string FileText() const;

 protected:
  void Form_Load() override;

 private:
  LanguageTexts Lang{LanguageFileName};  // the language set for the program
  // Keys 211 to 300 of the opened file, which the list leaves out: saved as they were.
  std::vector<std::pair<std::string, std::string>> carried_;
  // The opened file is the one of that name in the "lang" folder, which a save rewrites. A file
  // opened elsewhere is saved there like a new translation: an existing file is not replaced, and
  // the name box then names the file the next save writes.
  bool openedInLang_ = false;
};

// The language-file editor (a fresh one at each opening).
forms::DefaultInstance<Form6>& LanguageEditor();

// The three-digit key of a language text: "001" .. "300".
std::string LanguageKey(int n);
