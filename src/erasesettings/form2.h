// The erasing-settings window: which trace categories the runs handle, where the Opera and
// Netscape/Mozilla profiles lie, which plug-ins run, and the plug-in files themselves. There is no
// OK or Apply: every change is stored the moment it is made, and the runs read the settings each
// time they start. The main window is disabled while this window is open; every way of closing it
// enables it again, and only "Exit" has the main window rebuild its status list.
//
// Its handlers live in three files: the window, its pages and category boxes here (form2.cpp), the
// browser profile folders in browsers.cpp and the plug-in page in pluginpage.cpp.
#pragma once

#include <functional>
#include <string>

#include "controls/chameleonbutton.h"
#include "forms/forms.h"
#include "shared/language.h"

class Form2 : public forms::Form {
 public:
  Form2();
  ~Form2() override;

  // --- the window: tabs, pages, Exit ---------------------------------------------------------
  controls::chameleonButton chameleonButton1, chameleonButton2, chameleonButton3;  // Browsers, Windows, Applications
  forms::Frame Frame1, Frame2, Frame3;  // the three pages
  controls::chameleonButton chameleonButton4;  // Exit
  // The category boxes: the index is the category code and the value's name under "option\win".
  // 5, 6, 7, 14, 15 and 16 stay hidden and belong to no category.
  forms::ControlArray<forms::CheckBox> Check1;

  // --- the "Browsers" page ----------------------------------------------------------------------
  forms::Frame Frame6;  // Internet Explorer: boxes 0 to 4
  controls::chameleonButton chameleonButton7, chameleonButton6;    // "View" beside boxes 0 and 1
  controls::chameleonButton chameleonButton15, chameleonButton16;  // select all / none of boxes 0 to 4
  forms::Frame Frame4;  // Opera: boxes 18 to 20 and its profile folder
  forms::TextBox Text2;
  controls::chameleonButton chameleonButton19, chameleonButton21;  // Change Directory, Auto Scan
  forms::Frame Frame5;  // Netscape/Mozilla: boxes 21 to 24 and its profile folder
  forms::TextBox Text1;
  controls::chameleonButton chameleonButton20, chameleonButton22;  // Change Directory, Auto Scan
  forms::FolderListBox Dir1, Dir2;  // the scan's working lists: the profiles, one profile's folders

  // --- the "Windows" page -------------------------------------------------------------------------
  controls::chameleonButton chameleonButton17, chameleonButton18;  // select all / none of boxes 8 to 13

  // --- the "Applications" page --------------------------------------------------------------------
  forms::ImageList ImageList1;
  forms::ListView View1;  // one row per plug-in file, ticked when selected
  controls::chameleonButton chameleonButton5, chameleonButton14;  // select all / none
  controls::chameleonButton chameleonButton8, chameleonButton9, chameleonButton10, chameleonButton11;
  controls::chameleonButton chameleonButton12, chameleonButton13;
  forms::TextBox Text4;  // the row last clicked, from 1
  forms::TextBox Text3;  // the Cookies folder on its way to the setting "cookies"
  forms::ListBox List4, List5, List6;  // the builder's scratch lists
  forms::ListBox List7, List8, List9, List10, List11;  // the loaded work lists
  forms::CommonDialog dlg1;  // the Open dialog of "Import Plug In"

  // --- handlers -----------------------------------------------------------------------------------
  void Check1_Click(int Index);
  void chameleonButton1_Click();  // the pages
  void chameleonButton2_Click();
  void chameleonButton3_Click();
  void chameleonButton4_Click();   // Exit
  void chameleonButton15_Click();  // select all / none
  void chameleonButton16_Click();
  void chameleonButton17_Click();
  void chameleonButton18_Click();
  void chameleonButton6_Click();  // the keep lists: cookies
  void chameleonButton7_Click();  // typed addresses

  void Text2_Change();
  void Text1_Change();
  void chameleonButton19_Click();  // Opera: Change Directory
  void chameleonButton20_Click();  // Netscape/Mozilla: Change Directory
  void chameleonButton21_Click();  // Opera: Auto Scan
  void chameleonButton22_Click();  // Netscape/Mozilla: Auto Scan
  bool Command2_Click();           // points Dir1 at the Mozilla profiles; false when they are not there

  void chameleonButton8_Click();   // Refresh
  void chameleonButton5_Click();   // Select All
  void chameleonButton14_Click();  // Select None
  void View1_Click();
  void View1_ItemClick(int row);
  void View1_ItemCheck(int row);
  void chameleonButton10_Click();  // Plug in Info
  void chameleonButton11_Click();  // Import Plug In
  void chameleonButton9_Click();   // Delete
  void chameleonButton12_Click();  // Download Plug-in
  void chameleonButton13_Click();  // Run Trelmak
  void Command1_Click();           // rewrites the selection and work-list files from the ticks
  void Command3_Click();           // loads the work lists

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void Form_Terminate() override;

 private:
  LanguageTexts Lang;  // from the main window's language box
  void SetCaptions();
  void RestoreBoxes();
  void SelectBoxes(int first, int last, bool ticked);
  void ShowPage(forms::Frame& page);
  void OrderBoxesForKeyboard();
  void LoadBrowserFolders();
  // The folder picked ("" when the picker was cancelled): shown in the box and stored.
  std::string ChangeDirectory(forms::TextBox& box, const char* valueName);
  // The plug-in page.
  void FillList();
  void SaveSelection();
  void TickAll(bool ticked);
  void PluginBoxAction(int index);
  int ClickedRow() const;
  std::string ClickedPluginFile() const;
  void Save(int kind, std::function<void()> work);

  bool listFilled_ = false;  // the plug-in list has been filled from the folder at least once
  bool tickSaved_ = false;   // the tick of the current click has been saved already
};

// The window (made on first use; each opening after a close starts from the design).
forms::DefaultInstance<Form2>& ErasingSettings();

// Opens the window from the main window: loads it, disables the main window, shows it.
void OpenErasingSettings();

// Unloads the erasing-settings and keep-list windows where they are loaded (the keep list without
// writing its file): the main window hides itself behind the show/hide key.
void UnloadErasingSettingsWindows();
