// The language, home page and boss key pages of the options window.
#include "mainwindow/form1.h"
#include "options/form3.h"
#include "options/form6.h"
#include "options/langfiles.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/documents.h"
#include "shared/language.h"
#include "shared/msgform.h"
#include "shared/settings.h"

// --- language ----------------------------------------------------------------------------------------

void Form3::chameleonButton11_Click() {
  std::optional<std::string> chosen = ChooseLanguageFile(dialog1, hWnd());
  if (!chosen) return;
  // Only the name: the program looks for its language files in the "lang" folder.
  Text6.SetText(rt::FileNameOf(*chosen));  // by the code page's characters
}

void Form3::chameleonButton10_Click() {
  bool asLoaded = Text6.Text() == loadedLanguageName_;
  std::string name = rt::Trim(Text6.Text());
  if (name.empty()) return;
  if (!rt::EndsWithNoCase(name, ".ini")) name += ".ini";
  // The program reads its texts from the "lang" folder only: a name without a file there would
  // leave it without any caption at its next start, and a name with a folder in it ("..\") would
  // name a file somewhere else, which the program never reads.
  if (!IsLanguageFileName(name) || !rt::FileExists(LanguageFilePath(name))) {
    // The box still holds the current language's own name, which need not be its file's: the
    // language in use stays, unless the user asked for another one.
    if (asLoaded) return;
    std::string text = Lang("292");
    if (rt::Trim(text).empty()) text = "There is no language file of this name in the program's \"lang\" folder:";
    rt::MsgBox(hWnd(), text + "\r\n" + LanguageFilePath(name), "Velk Rezeza Pro", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  Text6.SetText(name);
  std::string notice = Lang("087");  // in the language still in use
  settings::Write(settings::kLanguage, name);
  ShowMessageForm("Velk Rezeza Pro", notice, Label5.Caption());
}

void Form3::chameleonButton12_Click() { LanguageEditor().Get().Show(); }

void Form3::Label4_Click() {
  OpenLink(hWnd(), kLanguagePage, std::string(" ") + kLanguagePage, "113", "101", MainForm().txtlang.Text());
}

// --- home page ---------------------------------------------------------------------------------------

void Form3::chameleonButton1_Click() {
  Text10.SetText("about:blank");
  Text20.SetText("");
}

void Form3::chameleonButton2_Click() {
  std::string page = rt::Trim(Text10.Text()), title = rt::Trim(Text20.Text());
  WriteRegString(HKEY_CURRENT_USER, settings::kExplorerMain, settings::kStartPage, page);
  WriteRegString(HKEY_CURRENT_USER, settings::kExplorerMain, settings::kWindowTitle, title);
  settings::Write(settings::kHomePage, page);
  settings::Write(settings::kTitlePage, title);
  // The running guard protects the new page from now on: it would otherwise take the user's own
  // change for a website's and offer to undo it.
  if (MainFormInstance().IsLoaded()) {
    MainForm().Text12.SetText(page);
    MainForm().Text13.SetText(title);
  }
}

// --- boss key -----------------------------------------------------------------------------------------

void Form3::chameleonButton15_Click() {
  std::string action = Option7.Value() ? "1" : Option8.Value() ? "2" : Option9.Value() ? "3" : "";
  settings::Write(settings::kOptionBoss, settings::kBossAction, action);
  settings::Write(settings::kBossKey, rt::Trim(Combo3.Text()));
  if (MainFormInstance().IsLoaded()) MainForm().BossActionChanged();
}
