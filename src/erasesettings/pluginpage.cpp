// The "Applications" page of the erasing-settings window: the plug-in list, whose every change of
// a tick is saved at once as the selection and work-list files the runs use, and the plug-in files
// themselves (information, import, delete), the maker's download page and the plug-in editor.
//
// The saves yield while they work, and a run rewrites the same files: each save takes its turn
// (plugins::RunBuild), so no save ever runs inside another or inside a run's rewrite.
#include <shlobj.h>

#include "erasesettings/form2.h"
#include "mainwindow/form1.h"
#include "pluginengine/engine.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/documents.h"
#include "shared/fileprop.h"
#include "shared/language.h"
#include "shared/msgform.h"
#include "shared/pluginfile.h"
#include "shared/settings.h"

namespace {
enum SaveKind { kSaveTicks = 1, kFillList = 2 };
}  // namespace

void Form2::Save(int kind, std::function<void()> work) {
  plugins::RunBuild(this, kind, [this, work = std::move(work)] {
    forms::HandlerScope scope(*this);  // the window outlives its own work
    work();
  });
}

void Form2::Command1_Click() { plugins::BuildWorkLists(View1, List4, List5, List6); }

void Form2::Command3_Click() { plugins::LoadWorkLists(List7, List8, List9, List10, List11); }

void Form2::SaveSelection() {
  Save(kSaveTicks, [this] {
    Command1_Click();
    Command3_Click();
  });
}

// Empties the list and fills it from the plugins folder, ticked as the selection file says; the
// selection is then saved again (as a run would), unless there is none or it could not be read.
void Form2::FillList() {
  Save(kFillList, [this] {
    View1.Clear();
    plugins::PluginListFill fill = plugins::FillPluginList(View1, "b", nullptr);
    listFilled_ = true;
    if (fill == plugins::PluginListFill::Ticked) {
      Command1_Click();
      Command3_Click();
    }
  });
}

void Form2::chameleonButton3_Click() {
  ShowPage(Frame3);
  // The plug-ins name their files on drive C:; once in a settings store they are moved to the
  // drive of the Windows folder.
  if (rt::Val(settings::Read(settings::kOptionCheckPlugin, settings::kCheckPluginDone)) == 0) {
    RelocatePlugins();
    settings::Write(settings::kOptionCheckPlugin, settings::kCheckPluginDone, "1");
  }
  std::string cookies = ShellFolderPath(hWnd(), CSIDL_COOKIES);
  if (!cookies.empty()) {
    Text3.SetText(cookies);
    settings::Write(settings::kCookies, rt::Trim(Text3.Text()));
  }
  FillList();
}

void Form2::chameleonButton8_Click() { FillList(); }

void Form2::TickAll(bool ticked) {
  for (int row = 1; row <= View1.Count(); ++row) {
    rt::YieldIfDue();
    View1.SetChecked(row, ticked);
  }
}

void Form2::chameleonButton5_Click() {
  TickAll(true);
  SaveSelection();
}

void Form2::chameleonButton14_Click() {
  TickAll(false);
  SaveSelection();
}

// The hidden boxes 15 (all) and 14 (none) tick or untick every row and clear each other. Before
// the list has been filled there is nothing to save: a save then would empty the selection.
void Form2::PluginBoxAction(int index) {
  TickAll(index == 15);
  Check1[index == 15 ? 14 : 15].SetValue(forms::CheckBox::kUnchecked);
  if (listFilled_) SaveSelection();
}

void Form2::View1_ItemCheck(int) {
  tickSaved_ = true;
  SaveSelection();
}

void Form2::View1_Click() {
  // A click on a check box has been saved with its tick; any other click saves the ticks as well.
  if (!tickSaved_) SaveSelection();
  tickSaved_ = false;
}

void Form2::View1_ItemClick(int row) { Text4.SetText(rt::NumberText(row)); }

int Form2::ClickedRow() const {
  int64_t row = rt::ValInt(Text4.Text());
  return rt::Trim(Text4.Text()).empty() || !View1.Exists(static_cast<int>(row)) ? 0 : static_cast<int>(row);
}

// The file the clicked row was listed from (not a name rebuilt from its text).
std::string Form2::ClickedPluginFile() const {
  int row = ClickedRow();
  if (!row || View1.Item(row).tag.empty()) return "";
  return rt::JoinPath(plugins::PluginFolder(), View1.Item(row).tag);
}

void Form2::chameleonButton10_Click() {
  std::string file = ClickedPluginFile();
  if (file.empty()) return;
  std::string header[3];  // title, provider, description; empty where the file has no such line
  rt::LineReader reader;
  if (reader.Open(file)) {
    for (std::string& line : header)
      if (!reader.Next(line)) break;
  }
  ShowMessageForm("Velk Rezeza Pro", header[2] + "\r\r  " + Lang("046") + " : " + header[1], header[0]);
}

void Form2::chameleonButton11_Click() {
  dlg1.SetCancelError(true);
  dlg1.SetFilter("*.vk|*.vk");
  dlg1.SetFileName("*.vk");
  if (dlg1.ShowOpen() != forms::DialogResult::Ok) return;
  std::string chosen = rt::Trim(dlg1.FileName());
  if (chosen.empty()) return;
  // The name is found by the code page's characters: the second byte of a double-byte character
  // may be the one of "\", and a cut there would import the file under a name of its end.
  std::string name = PluginImportName(chosen);
  if (name.empty()) {
    ShowMessageForm("Velk Rezeza Pro",
                    Lang.Or("276", "This is not the name of a plug-in file, so it was not imported:") +
                        "\r" + chosen,
                    "Plug-ins");
    return;
  }
  std::string target = rt::JoinPath(plugins::PluginFolder(), name);
  // Importing a plug-in onto itself leaves it as it is.
  if (rt::SameFile(chosen, target)) return;
  auto notImported = [this](const std::string& text, const std::string& file) {
    ShowMessageForm("Velk Rezeza Pro", text + "\r" + file, "Plug-ins");
  };
  auto tooLarge = [this, &chosen] {
    uint64_t size = 0;
    return rt::FileSize64(chosen, size) && size > kMaxPluginFileSize;
  };
  const std::string kTooLarge =
      Lang.Or("277", "This file is far larger than a plug-in can be (1 MiB), so it was not imported:");
  if (tooLarge()) return notImported(kTooLarge, chosen);
  std::string bytes;
  if (!rt::ReadFileBytes(chosen, bytes, kMaxPluginFileSize)) {
    // Locked, unreadable, or grown past the cap since its size was looked at.
    if (tooLarge()) return notImported(kTooLarge, chosen);
    return notImported(Lang.Or("283", "The plug-in file could not be read, so it was not imported. Close the program "
                                      "that holds it and try again:"),
                       chosen);
  }
  rt::CreateFolder(plugins::PluginFolder());
  if (!rt::WriteFileReplacing(target, bytes))
    notImported(Lang.Or("284", "The plug-in could not be written into the plugins folder, so it was not imported:"),
                target);
}

void Form2::chameleonButton9_Click() {
  SetTopmost(false);  // the question comes up in front; the window stays a normal one
  int row = ClickedRow();
  std::string file = ClickedPluginFile();
  if (file.empty()) return;
  int answer = rt::MsgBox(hWnd(), Lang("049") + "\r" + View1.Text(row) + "   ?", Lang("050"), MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  rt::SetAttr(file, FILE_ATTRIBUTE_ARCHIVE);
  rt::DeleteExactFile(file);
}

void Form2::chameleonButton12_Click() {
  if (OpenWebPage(Form1::kPluginPage, hWnd())) return;
  ShowMessageForm("Velk Rezeza Pro", Lang("018") + "\r" + Form1::kPluginPage, "Plug-ins");
}

void Form2::chameleonButton13_Click() {
  SetTopmost(false);  // the editor's window comes to the front
  if (rt::StartProcess("\"" + rt::JoinPath(rt::ProgramFolder(), "trelmak.exe") + "\"", SW_SHOWNORMAL)) return;
  ShowMessageForm("Velk Rezeza Pro", Lang("047") + "\r" + Lang("048"), "Plug-ins");
}
