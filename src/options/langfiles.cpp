#include "options/langfiles.h"

#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/seams.h"
#include "runtime/text.h"

std::string LangFolder() { return rt::JoinPath(rt::ProgramFolder(), "lang"); }

bool IsIniName(const std::string& name) { return name.size() > 4 && rt::EndsWithNoCase(name, ".ini"); }

std::optional<std::string> ChooseLanguageFile(forms::CommonDialog& dialog, HWND owner) {
  dialog.SetCancelError(true);
  dialog.SetInitDir(LangFolder());
  dialog.SetFilter("*.ini");
  dialog.SetFileName("*.ini");
  if (dialog.ShowOpen() != forms::DialogResult::Ok) return std::nullopt;
  std::string chosen = rt::Trim(dialog.FileName());
  if (IsIniName(chosen)) return chosen;
  rt::MsgBox(owner, "Please Only ini files", "Velk Rezeza Pro", MB_OK);
  return std::string();
}
