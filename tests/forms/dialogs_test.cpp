#include "forms/dialogs.h"

#include <dlgs.h>

#include <gtest/gtest.h>

#include "forms/control.h"
#include "forms/form.h"
#include "support/modal.h"
#include "support/scratch.h"

namespace {

class Owner : public forms::Form {
 public:
  Owner() : Form("Owner"), Dlg1(*this, "Dlg1") {}
  forms::CommonDialog Dlg1;
};

// --- input box ------------------------------------------------------------------------------

TEST(InputBox, TestsAnswerItThroughItsSeam) {
  std::vector<forms::InputBoxCall> calls;
  forms::SetInputBoxHandler([&](const forms::InputBoxCall& c) -> std::optional<std::string> {
    calls.push_back(c);
    if (calls.size() == 1) return "  C:\\Temp\\*.tmp  ";
    return std::nullopt;
  });
  EXPECT_EQ(forms::InputBox(nullptr, "Location ?", "Edit File / Folder Location", "file=C:\\a,0"), "  C:\\Temp\\*.tmp  ");
  EXPECT_EQ(forms::InputBox(nullptr, "Edit registry key ?", "Edit registery Key").value_or(""), "");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].prompt, "Location ?");
  EXPECT_EQ(calls[0].title, "Edit File / Folder Location");
  EXPECT_EQ(calls[0].defaultText, "file=C:\\a,0");
  EXPECT_EQ(calls[1].defaultText, "");
}

struct Seen {
  std::string title, prompt, field;
  bool fieldSelected = false, fontIsOurs = false;
  RECT promptRect{}, fieldRect{};
};

// Shows the real input box and answers it from another thread: types `typed` (unless null) and
// presses `button`.
std::optional<std::string> AnswerInputBox(const std::string& prompt, const char* typed, int button, Seen& seen) {
  forms::SetInputBoxHandler(nullptr);
  ts::ModalAnswer answer([&](HWND dlg) {
    seen.title = ts::TextOf(dlg);
    HWND label = GetDlgItem(dlg, 100), field = GetDlgItem(dlg, 101);
    seen.prompt = ts::TextOf(label);
    seen.field = ts::TextOf(field);
    DWORD b = 0, e = 0;
    SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&b), reinterpret_cast<LPARAM>(&e));
    seen.fieldSelected = b == 0 && e == seen.field.size();
    seen.fontIsOurs = reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0)) == forms::FontHandle(forms::Font{});
    GetWindowRect(label, &seen.promptRect);
    GetWindowRect(field, &seen.fieldRect);
    if (typed) SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
    SendMessageA(GetDlgItem(dlg, button), BM_CLICK, 0, 0);
  });
  Owner owner;
  owner.Show();
  std::optional<std::string> r = forms::InputBox(owner.hWnd(), prompt, "Edit registery Key", "HKCU\\Software\\Demo,1");
  EXPECT_TRUE(IsWindowEnabled(owner.hWnd())) << "the owner is given back its input";
  owner.Unload();
  EXPECT_TRUE(answer.Answered());
  return r;
}

TEST(InputBox, TheRealDialogGivesWhatWasTypedOrNothingOnCancel) {
  Seen seen;
  EXPECT_EQ(AnswerInputBox("Edit registry key ?", "HKCU\\Software\\Other,2", IDOK, seen), "HKCU\\Software\\Other,2");
  EXPECT_EQ(seen.title, "Edit registery Key");
  EXPECT_EQ(seen.prompt, "Edit registry key ?");
  EXPECT_EQ(seen.field, "HKCU\\Software\\Demo,1");
  EXPECT_TRUE(seen.fieldSelected) << "typing replaces the default text";
  EXPECT_TRUE(seen.fontIsOurs);
  Seen unchanged;
  EXPECT_EQ(AnswerInputBox("Edit registry key ?", nullptr, IDOK, unchanged), "HKCU\\Software\\Demo,1");
  Seen cancelled;
  EXPECT_EQ(AnswerInputBox("Edit registry key ?", "typed", IDCANCEL, cancelled), std::nullopt);
}

TEST(InputBox, ALongPromptBreaksItsLinesAndPushesTheFieldDown) {
  Seen shortOne, longOne;
  AnswerInputBox("One line", nullptr, IDCANCEL, shortOne);
  std::string prompt = "First line\rsecond line\nthird line\r\nfourth line\rfifth line\rsixth line\rseventh line";
  AnswerInputBox(prompt, nullptr, IDCANCEL, longOne);
  EXPECT_EQ(longOne.prompt, "First line\r\nsecond line\r\nthird line\r\nfourth line\r\nfifth line\r\nsixth line\r\nseventh line");
  EXPECT_GT(longOne.promptRect.bottom - longOne.promptRect.top, shortOne.promptRect.bottom - shortOne.promptRect.top);
  EXPECT_GE(longOne.fieldRect.top, longOne.promptRect.bottom) << "the field stays below the prompt";
}

// --- common file dialogs --------------------------------------------------------------------------

TEST(CommonDialog, FiltersAreWrittenAsThePlatformReadsThem) {
  using namespace std::string_literals;
  struct Case {
    const char* filter;
    std::string native;
  } cases[] = {
      {"*.vk|*.vk", "*.vk\0*.vk\0\0"s},
      {"*.ini", "*.ini\0*.ini\0\0"s},  // a description alone filters by itself
      {"Plug-ins|*.vk|All files|*.*", "Plug-ins\0*.vk\0All files\0*.*\0\0"s},
      {"Text|*.txt;*.log|", "Text\0*.txt;*.log\0\0"s},
      {"", ""s},
  };
  for (const auto& c : cases) EXPECT_EQ(forms::NativeFilter(c.filter), c.native) << c.filter;
}

TEST(CommonDialog, TestsAnswerThroughTheSeamAndCancelStopsOnlyWithCancelError) {
  Owner f;
  std::vector<forms::FileDialogCall> calls;
  std::optional<std::string> next = "C:\\plugins\\games.vk";
  forms::SetFileDialogHandler([&](const forms::FileDialogCall& c) {
    calls.push_back(c);
    return next;
  });
  f.Dlg1.SetCancelError(true);
  f.Dlg1.SetFilter("*.vk|*.vk");
  f.Dlg1.SetFileName("*.vk");
  f.Dlg1.SetDialogTitle("Select Out Put File Name");
  f.Dlg1.SetInitDir("C:\\program\\plugins");
  EXPECT_EQ(f.Dlg1.ShowSave(), forms::DialogResult::Ok);
  EXPECT_EQ(f.Dlg1.FileName(), "C:\\plugins\\games.vk");
  EXPECT_EQ(f.Dlg1.FileTitle(), "games.vk");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].save);
  EXPECT_EQ(calls[0].title, "Select Out Put File Name");
  EXPECT_EQ(calls[0].filter, "*.vk|*.vk");
  EXPECT_EQ(calls[0].fileName, "*.vk");
  EXPECT_EQ(calls[0].initDir, "C:\\program\\plugins");
  // Cancel with CancelError: the caller stops, and the dialog keeps what it held.
  next = std::nullopt;
  EXPECT_EQ(f.Dlg1.ShowOpen(), forms::DialogResult::Cancelled);
  EXPECT_FALSE(calls.back().save);
  EXPECT_EQ(calls.back().fileName, "C:\\plugins\\games.vk");
  EXPECT_EQ(f.Dlg1.FileName(), "C:\\plugins\\games.vk");
  // Cancel without it: no stop, but no name either.
  f.Dlg1.SetCancelError(false);
  EXPECT_EQ(f.Dlg1.ShowOpen(), forms::DialogResult::Ok);
  EXPECT_EQ(f.Dlg1.FileName(), "");
  EXPECT_EQ(f.Dlg1.FileTitle(), "");
}

// Answers the real file dialog: notes its title and first filter, types `typed` as the file name
// and presses Open (or Save).
struct FileAnswer {
  std::string title, firstFilter;
  explicit FileAnswer(std::string typed)
      : answer([this, typed](HWND dlg) {
          title = ts::TextOf(dlg);
          char filter[256] = "";
          SendMessageA(GetDlgItem(dlg, cmb1), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
          firstFilter = filter;
          for (int id : {cmb13, edt1})
            if (HWND box = GetDlgItem(dlg, id)) SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
          PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }) {
    forms::SetFileDialogHandler(nullptr);
  }
  ts::ModalAnswer answer;
};

TEST(CommonDialog, TheRealOpenAndSaveDialogsGiveTheChosenFile) {
  Owner f;
  std::string dir = ts::Scratch() + "\\plugins";
  ts::WriteFile(dir + "\\games.vk", "Games\r\n");
  f.Show();
  f.Dlg1.SetCancelError(true);
  f.Dlg1.SetFilter("*.vk|*.vk");
  f.Dlg1.SetFileName("*.vk");
  f.Dlg1.SetDialogTitle("Select Out Put File Name");
  f.Dlg1.SetInitDir(dir);
  {
    FileAnswer a(dir + "\\games.vk");
    EXPECT_EQ(f.Dlg1.ShowOpen(), forms::DialogResult::Ok);
    EXPECT_EQ(a.title, "Select Out Put File Name");
    EXPECT_EQ(a.firstFilter, "*.vk");
  }
  EXPECT_EQ(f.Dlg1.FileName(), dir + "\\games.vk");
  EXPECT_EQ(f.Dlg1.FileTitle(), "games.vk");
  // A name typed without an extension gets the default one.
  f.Dlg1.SetDefaultExt(".vk");
  {
    FileAnswer a(dir + "\\new plug-in");
    EXPECT_EQ(f.Dlg1.ShowSave(), forms::DialogResult::Ok);
  }
  EXPECT_EQ(f.Dlg1.FileName(), dir + "\\new plug-in.vk");
  EXPECT_FALSE(ts::Exists(f.Dlg1.FileName())) << "the dialog only names the file";
  // The process's current folder never moves.
  char before[MAX_PATH], after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  {
    ts::ModalAnswer cancel([](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(f.Dlg1.ShowOpen(), forms::DialogResult::Cancelled);
  }
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(before, after);
  EXPECT_EQ(f.Dlg1.FileName(), dir + "\\new plug-in.vk");
  f.Unload();
}

}  // namespace
