#include "shared/language.h"

#include <gtest/gtest.h>

#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/textfile.h"
#include "runtime/seams.h"
#include "shared/documents.h"
#include "shared/msgform.h"
#include "shared/settings.h"
#include "support/scratch.h"

namespace {

void WriteLanguage(const std::string& name, const std::string& content) {
  ts::WriteFile(ts::ProgramDir() + "\\lang\\" + name, content);
}

TEST(Language, TheFileComesFromTheSettingTrimmed) {
  EXPECT_EQ(LanguageFileName(), "english.ini");
  settings::Write(settings::kLanguage, "  ");
  EXPECT_EQ(LanguageFileName(), "english.ini");
  settings::Write(settings::kLanguage, " deutsch.ini ");
  EXPECT_EQ(LanguageFileName(), "deutsch.ini");
  EXPECT_EQ(LanguageFilePath(" deutsch.ini"), ts::ProgramDir() + "\\lang\\deutsch.ini");
}

TEST(Language, TextsAreLookedUpInSection001) {
  WriteLanguage("english.ini", "; made by the editor\r\n[001]\r\n002=\"Start Erasing\"\r\n003=Test Now\r\n011=\"" +
                                   std::string(300, 'x') + "\"\r\n");
  EXPECT_EQ(LangText("english.ini", "002"), "Start Erasing");
  EXPECT_EQ(LangText("english.ini", "003"), "Test Now");
  EXPECT_EQ(LangText("english.ini", "011").size(), 254u);
  EXPECT_EQ(LangText("english.ini", "004"), "");
  EXPECT_EQ(LangText("missing.ini", "002"), "");
  EXPECT_EQ(LangText("", "002"), "");
}

TEST(Language, OnlyAFileOfTheLangFolderIsEverRead) {
  WriteLanguage("english.ini", "[001]\r\n002=\"Start Erasing\"\r\n");
  // A file outside "lang" that a stored path would reach.
  ts::WriteFile(ts::ProgramDir() + "\\outside.ini", "[001]\r\n002=\"Not ours\"\r\n");
  for (const char* stored : {"..\\outside.ini", "lang\\..\\..\\outside.ini", "C:\\outside.ini", "\\outside.ini", "*.ini",
                             "con.ini"}) {
    SCOPED_TRACE(stored);
    settings::Write(settings::kLanguage, stored);
    EXPECT_EQ(LanguageFileName(), "english.ini");
    EXPECT_EQ(LangText(LanguageFileName(), "002"), "Start Erasing");
    EXPECT_EQ(LangText(stored, "002"), "");
  }
  // A plain name of a file that is not there stays: the texts are empty.
  settings::Write(settings::kLanguage, "klingon.ini");
  EXPECT_EQ(LanguageFileName(), "klingon.ini");
  EXPECT_EQ(LangText(LanguageFileName(), "002"), "");
}

TEST(Language, AFileFarLargerThanALanguageFileGivesNoTexts) {
  std::string big = "[001]\r\n002=\"Start Erasing\"\r\n003=\"" + std::string(250, 'x') + "\"\r\n";
  big += std::string(kMaxLanguageFileSize - big.size(), ';');
  WriteLanguage("big.ini", big);
  EXPECT_EQ(LangText("big.ini", "002"), "Start Erasing") << "one of the largest language files";
  WriteLanguage("big.ini", big + ";");
  EXPECT_EQ(LangText("big.ini", "002"), "");
  EXPECT_EQ(LanguageTextAt(ts::ProgramDir() + "\\lang\\big.ini", "002"), "");
}

// A window's texts come from the file its name source names at the moment of each text, as
// LangText takes a name: trimmed, and nothing outside the "lang" folder.
TEST(Language, AWindowsTextsFollowItsNameSource) {
  WriteLanguage("english.ini", "[001]\r\n002=\"Start Erasing\"\r\n003=\"  \"\r\n");
  WriteLanguage("deutsch.ini", "[001]\r\n002=\"Jetzt entfernen\"\r\n");
  std::string name = " english.ini ";
  LanguageTexts Lang([&] { return name; });
  EXPECT_EQ(Lang("002"), "Start Erasing");
  EXPECT_EQ(Lang("004"), "");
  EXPECT_EQ(Lang.Or("003", "Test Now"), "Test Now") << "a blank text takes the fallback";
  EXPECT_EQ(Lang.Or("002", "Test Now"), "Start Erasing");
  name = "deutsch.ini";
  EXPECT_EQ(Lang("002"), "Jetzt entfernen");
  name = "..\\lang\\english.ini";
  EXPECT_EQ(Lang("002"), "");
  EXPECT_EQ(Lang.Or("002", "Start"), "Start");
}

// The language file we ship: one section, three-digit keys, quoted texts, CR LF line ends.
TEST(Language, TheShippedEnglishFileIsWellFormed) {
  std::string unix = VELK_SOURCE_DIR "/lang/english.ini";
  std::string path = "Z:" + unix;
  for (auto& c : path) {
    if (c == '/') c = '\\';
  }
  std::string bytes = ts::ReadFile(path);
  ASSERT_FALSE(bytes.empty()) << path;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a lone LF at byte " << i;
    }
  }
  std::vector<std::string> lines = rt::SplitLines(bytes);
  bool inSection = false;
  for (const auto& l : lines) {
    if (l.empty() || l[0] == ';') continue;
    if (l == "[001]") {
      inSection = true;
      continue;
    }
    ASSERT_TRUE(inSection) << l;
    ASSERT_GE(l.size(), 6u) << l;
    EXPECT_TRUE(isdigit(l[0]) && isdigit(l[1]) && isdigit(l[2]) && l[3] == '=') << l;
    EXPECT_TRUE(l[4] == '"' && l.back() == '"') << l;
    EXPECT_LE(l.size() - 6, 254u) << l;
  }
  rt::CreateFolder(ts::ProgramDir() + "\\lang");
  ASSERT_TRUE(CopyFileA(path.c_str(), (ts::ProgramDir() + "\\lang\\english.ini").c_str(), FALSE));
  EXPECT_EQ(LangText("english.ini", "146"), "english");
}

TEST(MessageForm, OneFormShowsTheLastNotice) {
  ShowMessageForm("Velk Rezeza Pro", "first", "Heading one");
  frmmsg& f = MessageForm().Get();
  ASSERT_TRUE(f.IsLoaded());
  HWND first = f.hWnd();
  ShowMessageForm("Velk Rezeza Pro", "I cant open the site\rhttp://example.invalid/", "Error");
  EXPECT_EQ(&MessageForm().Get(), &f);
  EXPECT_EQ(f.hWnd(), first);
  EXPECT_EQ(f.Caption(), "Velk Rezeza Pro");
  EXPECT_EQ(f.Label1.Caption(), "Error");
  EXPECT_EQ(f.Text1.Text(), "I cant open the site\rhttp://example.invalid/");
  // The lone CR shows as a line break; the text stays selectable and copyable, not editable.
  EXPECT_EQ(SendMessageA(f.Text1.hWnd(), EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_TRUE(GetWindowLongPtrA(f.Text1.hWnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  EXPECT_TRUE(GetWindowLongPtrA(f.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(f.hWnd(), &r);
  EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
  EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
  f.Command2.PerformClick();  // "OK"
  EXPECT_FALSE(MessageForm().IsLoaded());
}

TEST(Documents, OpenThroughTheShell) {
  std::vector<rt::ProcessStart> starts;
  INT_PTR answer = 42;
  rt::SetProcessStartHandler([&](const rt::ProcessStart& p) {
    starts.push_back(p);
    return answer;
  });
  EXPECT_EQ(StartDoc(ts::ProgramDir() + "\\eraselog.txt"), 42);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_TRUE(starts[0].viaShell);
  EXPECT_EQ(starts[0].verb, "Open");
  EXPECT_EQ(starts[0].file, ts::ProgramDir() + "\\eraselog.txt");
  EXPECT_EQ(starts[0].parameters, "");
  EXPECT_EQ(starts[0].folder, "C:\\");
  EXPECT_EQ(starts[0].show, SW_SHOWNORMAL);

  EXPECT_TRUE(OpenWebPage("http://www.example.invalid/"));
  EXPECT_EQ(starts[1].verb, "open");
  EXPECT_EQ(starts[1].file, "http://www.example.invalid/");
  answer = 2;  // the shell's "file not found"
  EXPECT_FALSE(OpenWebPage("http://www.example.invalid/"));
  EXPECT_FALSE(OpenWebPage(""));
  EXPECT_EQ(starts.size(), 3u);
}

}  // namespace
