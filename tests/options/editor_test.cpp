// The language-file editor: the source list, adding and editing translations, the file it saves
// (byte for byte), opening a file and saving it under its own name, a write that fails, and a
// language made here that the program then shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/language.h"
#include "support/windows.h"

namespace {

std::string Lang(const std::string& name) { return ts::ProgramDir() + "\\lang\\" + name; }

class Editor : public opt::AnsweringTest {
 protected:
  // The editor, opened by the options window's "Click to translate".
  Form6& OpenEditor() {
    Open().chameleonButton12_Click();
    return LanguageEditor().Get();
  }
  // Chooses the source line of a key, types a translation and adds it.
  static void Translate(Form6& e, const std::string& key, const std::string& text) {
    const auto& keys = e.List20.Items();
    auto it = std::find(keys.begin(), keys.end(), key);
    ASSERT_NE(it, keys.end()) << key;
    e.List1.SetListIndex(static_cast<int>(it - keys.begin()));
    e.Text2.SetText(text);
    e.chameleonButton1_Click();
  }
};

TEST_F(Editor, TheSourceListHoldsEveryTextOfTheLanguageInUseWithItsKey) {
  ts::WriteFile(Lang("small.ini"), "[001]\r\n003=\"  Test Now \"\r\n001=\"First\"\r\n002=\"   \"\r\n300=\"Last\"\r\n");
  Main().txtlang.SetText(" small.ini ");
  Form6& e = OpenEditor();
  EXPECT_TRUE(IsWindowVisible(e.hWnd()));
  EXPECT_EQ(e.List1.Items(), (std::vector<std::string>{"First", "Test Now", "Last"}));
  EXPECT_EQ(e.List20.Items(), (std::vector<std::string>{"001", "003", "300"}));
  EXPECT_EQ(e.List2.ListCount(), 0);
  EXPECT_EQ(e.Text8.Text(), "a");
  // Its own texts come from the language set for the program.
  EXPECT_EQ(e.Caption(), "Translation Window");
  EXPECT_EQ(e.chameleonButton11.Caption(), "Open Translation File To Edit it.");
  e.List1.SetListIndex(1);
  EXPECT_EQ(e.Text1.Text(), "Test Now");
  EXPECT_EQ(e.Text3.Text(), "003");
  // The options window stays open and enabled beside it.
  EXPECT_TRUE(OptionsWindow().IsLoaded());
  EXPECT_TRUE(IsWindowEnabled(OptionsWindow()->hWnd()));
}

TEST_F(Editor, ItsOwnTextsComeFromTheLangFolderWhateverTheSettingHolds) {
  ts::WriteFile(ts::ProgramDir() + "\\outside.ini", "[001]\r\n140=\"Elsewhere\"\r\n");
  settings::Write(settings::kLanguage, "..\\outside.ini");
  Form6& e = OpenEditor();
  EXPECT_EQ(e.Caption(), "Translation Window");
  EXPECT_EQ(e.chameleonButton3.Caption(), "Save");
}

TEST_F(Editor, ANewTranslationIsSavedByteForByteAsALanguageFile) {
  Form6& e = OpenEditor();
  e.Text5.SetText("Ana Lopez");
  e.Text6.SetText("Spanish ");
  Translate(e, "002", "  Empezar a borrar ");
  Translate(e, "003", "Probar ahora");
  Translate(e, "008", "Salir");
  Translate(e, "025", "Salir");  // the same text may stand for two keys
  Translate(e, "002", "Otra vez");  // a key is stored once: refused, the boxes emptied
  EXPECT_EQ(e.Text1.Text(), "");
  EXPECT_EQ(e.Text2.Text(), "");
  EXPECT_EQ(e.Text3.Text(), "");
  Translate(e, "006", "*");
  Translate(e, "007", "Ayuda");  // "*" is a text, not a pattern that would take every later one
  Translate(e, "145", "-");
  Translate(e, "146", "-");
  e.List1.SetListIndex(-1);
  e.Text3.SetText("");
  e.Text2.SetText("no line chosen");
  e.chameleonButton1_Click();  // nothing to store it under
  e.Text2.SetText("   ");
  e.chameleonButton1_Click();
  EXPECT_EQ(e.List3.Items(), (std::vector<std::string>{"002", "003", "008", "025", "006", "007", "145", "146"}));

  e.chameleonButton3_Click();
  ASSERT_EQ(notices, std::vector<std::string>{"The language file has been saved:\r\n" + Lang("Spanish.ini")});
  EXPECT_EQ(ts::ReadFile(Lang("Spanish.ini")), ts::ReadFile("Z:" VELK_SOURCE_DIR "/tests/options/golden/Spanish.ini"));
  // The program reads it back as it was typed.
  EXPECT_EQ(LangText("Spanish.ini", "002"), "Empezar a borrar");
  EXPECT_EQ(LangText("Spanish.ini", "146"), "Spanish ");

  // A second new translation of that name does not replace it.
  notices.clear();
  e.chameleonButton3_Click();
  EXPECT_EQ(notices, std::vector<std::string>{LangText("english.ini", "141")});
  // Unless the file there is too small to be one (a name ending in ".ini" gets no second one).
  ts::WriteFile(Lang("Tiny.INI"), "[001]\r\n");
  e.Text6.SetText("Tiny.INI");
  e.chameleonButton3_Click();
  EXPECT_NE(ts::ReadFile(Lang("Tiny.INI")).find("#### Tiny.INI Language File"), std::string::npos);
  EXPECT_FALSE(ts::Exists(Lang("Tiny.INI.ini")));
}

TEST_F(Editor, ALanguageNameThatIsNoFileNameIsRefused) {
  Form6& e = OpenEditor();
  Translate(e, "002", "x");
  for (const char* name : {"", "   ", "..\\..\\evil", "a/b", "what?", "con", "trailing."}) {
    e.Text6.SetText(name);
    e.chameleonButton3_Click();
    EXPECT_EQ(notices.size(), 1u) << name;
    notices.clear();
  }
  std::vector<rt::FileEntry> files;
  rt::ListFolder(ts::ProgramDir() + "\\lang", "*", rt::ListWhat::Both, files);
  EXPECT_EQ(files.size(), 1u) << "english.ini alone";
  EXPECT_FALSE(ts::Exists(ts::ProgramDir() + "\\evil.ini"));
}

TEST_F(Editor, EditingAChosenTranslation) {
  Form6& e = OpenEditor();
  Translate(e, "002", "Borrar");
  Translate(e, "003", "Probar");
  // A translation chosen in the list, then its text changed: it keeps its key.
  e.List2.SetListIndex(1);
  EXPECT_EQ(e.Text8.Text(), "1");
  EXPECT_EQ(e.Text2.Text(), "Probar");
  EXPECT_EQ(e.Text1.Text(), "Test Now");
  EXPECT_EQ(e.Text3.Text(), "003");
  e.Text2.SetText("Probar ahora");
  e.chameleonButton1_Click();
  EXPECT_EQ(e.List2.Items(), (std::vector<std::string>{"Borrar", "Probar ahora"}));
  EXPECT_EQ(e.Text8.Text(), "a");
  // Chosen, then another source line chosen: the translation takes the new line's key.
  e.List2.SetListIndex(0);
  Translate(e, "008", "Salir");
  EXPECT_EQ(e.List3.Items(), (std::vector<std::string>{"008", "003"}));
  EXPECT_EQ(e.List2.Items(), (std::vector<std::string>{"Salir", "Probar ahora"}));
}

// A language file of 300 keys.
std::string FullFile() {
  std::string f = "; a language file\r\n[001]\r\n";
  for (int n = 1; n <= 300; ++n) {
    std::string text = n == 145 ? "Hans" : n == 146 ? "Deutsch" : "Text " + LanguageKey(n);
    f += LanguageKey(n) + "=\"" + text + "\"\r\n";
  }
  return f;
}

TEST_F(Editor, AnOpenedFileIsSavedUnderItsOwnNameWithEveryKey) {
  ts::WriteFile(Lang("German.INI"), FullFile());
  Form6& e = OpenEditor();
  e.List2.SetListIndex(-1);
  Translate(e, "002", "Vorher");  // work before the file is opened is left behind
  e.List2.SetListIndex(0);        // and an entry chosen then is no entry of the opened file
  chosen = Lang("German.INI");
  e.chameleonButton11_Click();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].initDir, ts::ProgramDir() + "\\lang");
  EXPECT_EQ(e.Text7.Text(), "German.INI");
  EXPECT_EQ(e.Text8.Text(), "a");
  EXPECT_EQ(e.Text5.Text(), "Hans") << "the file's translator";
  ASSERT_EQ(e.List2.ListCount(), 210) << "the list holds keys 001 to 210";
  EXPECT_EQ(e.List3.List(209), "210");
  Translate(e, "005", "Optionen");  // a key the file has: refused
  EXPECT_EQ(e.List2.List(4), "Text 005");
  e.List2.SetListIndex(4);
  e.Text2.SetText("Optionen");
  e.chameleonButton1_Click();
  Translate(e, "213", "Kein Protokoll");  // beyond the list, in the file too: the new one counts

  e.chameleonButton3_Click();
  ASSERT_EQ(notices, std::vector<std::string>{"The language file has been saved:\r\n" + Lang("German.INI")});
  EXPECT_FALSE(ts::Exists(Lang("German.INI.ini")));
  std::string saved = ts::ReadFile(Lang("German.INI"));
  EXPECT_EQ(saved.find("#### German.INI Language File for Velk Rezeza Pro  \r\n#### Translated by: Hans"), 58u);
  std::string entries;
  for (int n = 1; n <= 210; ++n) {
    std::string text = n == 5 ? "Optionen" : n == 145 ? "Hans" : n == 146 ? "German.INI" : "Text " + LanguageKey(n);
    entries += LanguageKey(n) + "=\"" + text + "\"\r\n";
  }
  entries += "213=\"Kein Protokoll\"\r\n";
  for (int n = 211; n <= 300; ++n)
    if (n != 213) entries += LanguageKey(n) + "=\"Text " + LanguageKey(n) + "\"\r\n";
  size_t section = saved.find("[001]\r\n");
  ASSERT_NE(section, std::string::npos);
  EXPECT_EQ(saved.substr(section + 7), entries);
}

TEST_F(Editor, AFileOpenedElsewhereNeverReplacesTheOneInTheLangFolder) {
  ts::WriteFile(Lang("german.ini"), FullFile());
  std::string elsewhere = ts::Scratch() + "\\backup\\german.ini";
  const std::string backup = "[001]\r\n001=\"Sicherung\"\r\n";
  ts::WriteFile(elsewhere, backup);
  Form6& e = OpenEditor();
  chosen = elsewhere;
  e.chameleonButton11_Click();
  ASSERT_EQ(e.List2.Items(), std::vector<std::string>{"Sicherung"});
  e.chameleonButton3_Click();
  EXPECT_EQ(notices, std::vector<std::string>{LangText("english.ini", "141")});
  EXPECT_EQ(ts::ReadFile(Lang("german.ini")), FullFile());
  EXPECT_EQ(ts::ReadFile(elsewhere), backup);
  // Without a file of that name in the lang folder, the file opened elsewhere is saved there.
  DeleteFileA(Lang("german.ini").c_str());
  e.chameleonButton11_Click();
  notices.clear();
  e.chameleonButton3_Click();
  EXPECT_EQ(notices, std::vector<std::string>{"The language file has been saved:\r\n" + Lang("german.ini")});
  EXPECT_EQ(LangText("german.ini", "001"), "Sicherung");
  EXPECT_EQ(ts::ReadFile(elsewhere), backup);
}

TEST_F(Editor, AFileOpenedElsewhereIsSavedUnderTheNameTheUserTypesNext) {
  ts::WriteFile(Lang("german.ini"), FullFile());
  std::string elsewhere = ts::Scratch() + "\\backup\\german.ini";
  ts::WriteFile(elsewhere, "[001]\r\n001=\"Sicherung\"\r\n");
  Form6& e = OpenEditor();
  chosen = elsewhere;
  e.chameleonButton11_Click();
  e.Text6.SetText("Deutsch");
  e.chameleonButton3_Click();
  EXPECT_EQ(notices, std::vector<std::string>{LangText("english.ini", "141")});
  EXPECT_EQ(e.Text6.Text(), "Deutsch") << "the refused save keeps the name the user typed";
  EXPECT_EQ(e.Text7.Text(), "") << "the work is a new translation now";
  // The user types another name: the work is saved under it, and the file there stays.
  e.Text6.SetText("German (backup)");
  notices.clear();
  e.chameleonButton3_Click();
  EXPECT_EQ(notices, std::vector<std::string>{"The language file has been saved:\r\n" + Lang("German (backup).ini")});
  EXPECT_EQ(LangText("German (backup).ini", "001"), "Sicherung");
  EXPECT_EQ(ts::ReadFile(Lang("german.ini")), FullFile());
  EXPECT_EQ(e.Text6.Text(), "German (backup)") << "a save keeps the name the user typed";
}

TEST_F(Editor, OpenTakesOnlyIniFiles) {
  ts::WriteFile(Lang("notes.txt"), "[001]\r\n001=\"x\"\r\n");
  Form6& e = OpenEditor();
  chosen = std::nullopt;
  e.chameleonButton11_Click();
  EXPECT_EQ(e.Text7.Text(), "");
  chosen = Lang("notes.txt");
  e.chameleonButton11_Click();
  EXPECT_EQ(notices, std::vector<std::string>{"Please Only ini files"});
  EXPECT_EQ(e.List2.ListCount(), 0);
  EXPECT_EQ(e.Text7.Text(), "");
}

TEST_F(Editor, AWriteThatFailsSaysSoAndKeepsTheOldFile) {
  std::string old = FullFile();
  ts::WriteFile(Lang("German.INI"), old);
  Form6& e = OpenEditor();
  chosen = Lang("German.INI");
  e.chameleonButton11_Click();
  e.List2.SetListIndex(0);
  e.Text2.SetText("Neu");
  e.chameleonButton1_Click();
  // Another program holds the file.
  HANDLE held = CreateFileA(Lang("German.INI").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  e.chameleonButton3_Click();
  CloseHandle(held);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "The language file could not be written. The file that was there is unchanged:\r\n" +
                            Lang("German.INI"));
  EXPECT_EQ(ts::ReadFile(Lang("German.INI")), old);
  std::vector<rt::FileEntry> files;
  rt::ListFolder(ts::ProgramDir() + "\\lang", "*", rt::ListWhat::Both, files);
  EXPECT_EQ(files.size(), 2u) << "nothing left beside it";
  // Once the file is free, the same Save writes it.
  notices.clear();
  e.chameleonButton3_Click();
  EXPECT_EQ(LangText("German.INI", "001"), "Neu");
}

// --- a language made in the editor, chosen on the language page, at the program's next start ------------

std::string FromHost(std::string unix) {
  std::replace(unix.begin(), unix.end(), '/', '\\');
  return "Z:" + unix;
}

// The text of the first window below `parent` whose text is `text` ("" when none is).
HWND ChildWithText(HWND parent, const std::string& text) {
  struct Search {
    const std::string& text;
    HWND found;
  } s{text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM l) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        char t[256] = "";
        GetWindowTextA(h, t, sizeof t);
        if (s->text != t) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

TEST_F(Editor, ALanguageMadeHereGivesTheProgramItsCaptionsAtItsNextStart) {
  Form6& e = OpenEditor();
  e.Text5.SetText("Cap'n Flint");
  e.Text6.SetText("Pirate");
  Translate(e, "002", "Scuttle the traces");
  Translate(e, "003", "Spy for traces");
  Translate(e, "005", "Rigging");
  Translate(e, "098", "Rigging");
  Translate(e, "145", "-");
  Translate(e, "146", "-");
  e.chameleonButton3_Click();
  e.chameleonButton2_Click();
  EXPECT_FALSE(LanguageEditor().IsLoaded());

  Form3& f = OptionsWindow().Get();
  f.chameleonButton8_Click();
  chosen = Lang("Pirate.ini");
  f.chameleonButton11_Click();
  EXPECT_EQ(f.Text6.Text(), "Pirate.ini");
  f.chameleonButton10_Click();
  EXPECT_EQ(settings::Read(settings::kLanguage), "Pirate.ini");
  EXPECT_EQ(Main().chameleonButton5.Caption(), "Start Erasing") << "this start keeps its language";
  f.chameleonButton4_Click();
  MessageForm().Reset();

  // The program, started anew from its program folder.
  std::string dist = FromHost(VELK_DIST_DIR);
  std::string exe = ts::ProgramDir() + "\\Velk Rezeza Pro.exe";
  ASSERT_TRUE(CopyFileA((dist + "\\Velk Rezeza Pro.exe").c_str(), exe.c_str(), FALSE));
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, ts::ProgramDir().c_str(), &si,
                             &pi));
  CloseHandle(pi.hThread);
  // The captions are set one after the other while the window loads: the last of these comes last.
  HWND main = nullptr;
  bool captioned = false;
  for (int i = 0; i < 300 && !captioned; ++i) {
    Sleep(50);
    main = ts::FindTopLevelWindow(pi.dwProcessId, "VelkForm", "Velk Rezeza Pro");
    captioned = main && ChildWithText(main, "Rigging");
  }
  EXPECT_TRUE(captioned) << "the options button speaks the new language";
  if (main) {
    EXPECT_NE(ChildWithText(main, "Scuttle the traces"), nullptr);
    EXPECT_NE(ChildWithText(main, "Spy for traces"), nullptr);
    EXPECT_EQ(ChildWithText(main, "Start Erasing"), nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    ADD_FAILURE() << "the program did not end";
  }
  CloseHandle(pi.hProcess);

  // And the options window of the new start speaks it too.
  MainFormInstance().Reset();
  Main().Load();
  EXPECT_EQ(Main().txtlang.Text(), "Pirate.ini");
  EXPECT_EQ(Open().Caption(), "Rigging");
  EXPECT_EQ(OptionsWindow()->Text6.Text(), "Pirate") << "the language's own name";
  EXPECT_EQ(OptionsWindow()->Label7.Caption(), "Cap'n Flint");
}

}  // namespace
