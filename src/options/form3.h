// The options window: the program's settings that are not about trace categories, on five pages
// (general options, home page, schedule, boss key, language) switched by a row of buttons.
//
// The check boxes store their setting the moment they change; everything else is stored by the
// page's own "Apply" or by the general "Apply", which applies every page. The main window is
// disabled while this window is open and enabled again by every way of closing it.
#pragma once

#include <array>
#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class Form3 : public forms::Form {
 public:
  Form3();

  // --- the page buttons, the pages, and the window's own buttons ----------------------------------
  controls::chameleonButton chameleonButton3;   // "General"
  controls::chameleonButton chameleonButton6;   // "Home Page"
  controls::chameleonButton chameleonButton7;   // "Shedule"
  controls::chameleonButton chameleonButton13;  // "Boss Key"
  controls::chameleonButton chameleonButton8;   // "Language"
  forms::Frame Frame3;  // general page; the place where every page is shown
  forms::Frame Frame4;  // its "Security Options"
  forms::Frame Frame1;  // home page
  forms::Frame Frame2;  // schedule
  forms::Frame Frame7;  // boss key
  forms::Frame Frame5;  // language
  controls::chameleonButton chameleonButton9;  // the general "Apply"
  controls::chameleonButton chameleonButton4;  // "Exit"

  // --- the option flags: box i stores value "i" of option\option, on whichever page it stands ------
  forms::ControlArray<forms::CheckBox> Check1;
  // Texts of every page (their indexes are the design's).
  forms::ControlArray<forms::Label> Label2;

  // --- general page ----------------------------------------------------------------------------
  forms::ComboBox Combo2;  // the show/hide letter, "A".."Z"
  forms::ComboBox Combo1;  // the overwrite passes, "1".."10" or typed

  // --- schedule page ---------------------------------------------------------------------------
  forms::Label Label3;  // what the page is for
  forms::OptionButton Option1, Option2, Option3, Option4, Option5;  // minutes .. months
  forms::OptionButton Option6;                                      // never shown
  forms::TextBox Text1, Text2, Text3, Text4, Text5;                 // the interval of each unit
  forms::ScrollBar VScroll1, VScroll2, VScroll3, VScroll4, VScroll5;
  forms::Label Label1;  // "Minutes."
  controls::chameleonButton chameleonButton5;  // the schedule's "Apply"

  // --- home page ---------------------------------------------------------------------------------
  forms::TextBox Text10;  // Internet Explorer's start page
  forms::TextBox Text20;  // its window title
  controls::chameleonButton chameleonButton1;  // "Use Blank"
  controls::chameleonButton chameleonButton2;  // the home page's "Apply"

  // --- boss key ----------------------------------------------------------------------------------
  forms::ComboBox Combo3;  // the boss key's letter
  forms::OptionButton Option7, Option8, Option9;  // hide, close, close and erase
  controls::chameleonButton chameleonButton15;    // the boss key's "Apply"

  // --- language ----------------------------------------------------------------------------------
  forms::Label Label5;  // "Language File Name"
  forms::TextBox Text6;  // the language file's name
  controls::chameleonButton chameleonButton11;  // browse (a picture)
  controls::chameleonButton chameleonButton10;  // "Set New Language On"
  forms::Label Label6, Label7;                  // the translator of the current language
  controls::chameleonButton chameleonButton12;  // "Click to translate": the language-file editor
  forms::Label Label4;                          // the maker's web address, a link
  forms::CommonDialog dialog1;

  // The maker's page that the language page links to.
  static const char* const kLanguagePage;
  // The interval each unit of the schedule takes: minutes 1..59 on the spinner (and up to 99 typed),
  // hours 1..23 (only the hour of the day is kept for an hour schedule), days, weeks and months 1..99.
  static constexpr int kMaxHours = 23;

  // --- handlers --------------------------------------------------------------------------------
  void chameleonButton3_Click();   // the pages
  void chameleonButton6_Click();
  void chameleonButton7_Click();
  void chameleonButton13_Click();
  void chameleonButton8_Click();
  void Check1_Click(int Index);
  void chameleonButton9_Click();   // the general "Apply"
  void chameleonButton4_Click();   // "Exit"
  void chameleonButton5_Click();   // the schedule's "Apply"
  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Text4_Change();
  void Text5_Change();
  void VScroll1_Change();
  void VScroll2_Change();
  void VScroll3_Change();
  void VScroll4_Change();
  void VScroll5_Change();
  void chameleonButton11_Click();  // browse for a language file
  void chameleonButton10_Click();  // "Set New Language On"
  void chameleonButton12_Click();  // "Click to translate"
  void Label4_Click();             // the link
  void chameleonButton1_Click();   // "Use Blank"
  void chameleonButton2_Click();   // the home page's "Apply"
  void chameleonButton15_Click();  // the boss key's "Apply"

  // The page that is shown (one of the five frames).
  forms::Frame& CurrentPage();

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void Form_Terminate() override;

 private:
  void Layout();
  void SetCaptions();
  void LoadSchedule();
  void LoadScheduleBoxes();
  void ShowPage(forms::Frame& page);
  std::array<controls::chameleonButton*, 5> PageButtons();  // in the order of the pages
  LanguageTexts Lang;  // the language in use: the main window's language box
  static void SelectAll(forms::TextBox& box);

  std::string loadedLanguageName_;  // what the language box held when the window loaded
};

// The options window of the program (a fresh one at each opening).
forms::DefaultInstance<Form3>& OptionsWindow();

// The program's start-up entry in both Run keys of the current user: the program's path in double
// quotes and " s". Writing it when `on`, removing it from both keys otherwise.
void SetStartupEntry(bool on);
std::string StartupCommand();

// The overwrite passes a text of the pass-count box stands for: a whole number from 1 to 10
// (blanks around it allowed); 0 for any other text.
int PassCountOf(const std::string& text);
