// The modal dialogs a window shows: the input box and the common file dialogs (open and save).
// Each goes through a seam: a test sets a handler that answers the dialog instead of a person,
// and without a handler the platform's dialog is shown.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

namespace forms {

class Form;

// --- input box ------------------------------------------------------------------------------

// A modal prompt with a text field, OK and Cancel, centred on the screen. The prompt may run over
// several lines (CR, LF or CR LF break them); the field starts with the default text, selected.
// Returns the text the user confirmed with OK (or Enter), std::nullopt for Cancel, Esc or the
// close box. Where Cancel counts as an empty answer, take InputBox(...).value_or("").
std::optional<std::string> InputBox(HWND owner, const std::string& prompt, const std::string& title,
                                    const std::string& defaultText = "");

struct InputBoxCall {
  HWND owner;
  std::string prompt, title, defaultText;
};
// Tests answer the input box: the handler gets each call and returns the answer (std::nullopt:
// Cancel). A null handler gives the real dialog back.
void SetInputBoxHandler(std::function<std::optional<std::string>(const InputBoxCall&)> handler);

// --- common file dialogs ------------------------------------------------------------------------

enum class DialogResult {
  Ok,         // a file was chosen: FileName and FileTitle hold it
  Cancelled,  // the user cancelled and CancelError is set: the caller stops
  Failed,     // the dialog could not be shown (its settings were refused): nothing changes
};

// The open and save dialogs of a window, with the settings they keep between showings.
//   Dlg1.SetCancelError(true);
//   Dlg1.SetFilter("*.vk|*.vk");
//   Dlg1.SetFileName("*.vk");
//   if (Dlg1.ShowOpen() != forms::DialogResult::Ok) return;
//   Open(Dlg1.FileName());
class CommonDialog {
 public:
  CommonDialog(Form& owner, std::string name);

  const std::string& Name() const { return name_; }

  // Whether a cancel is the caller's stop (DialogResult::Cancelled). Without it a cancel returns
  // Ok with FileName and FileTitle emptied, so a caller that tests the name sees nothing chosen.
  bool CancelError() const { return cancelError_; }
  void SetCancelError(bool c) { cancelError_ = c; }
  // Pairs of description and pattern separated by "|": "Plug-ins (*.vk)|*.vk|All files|*.*"; the
  // patterns of one pair are separated by ";". A description without a pattern filters by itself
  // ("*.ini" alone lists the "*.ini" files).
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& f) { filter_ = f; }
  int FilterIndex() const { return filterIndex_; }  // from 1: the pair shown first; the pair chosen
  void SetFilterIndex(int i) { filterIndex_ = i; }
  // The file name the dialog starts with (a pattern such as "*.vk" filters the list), and after
  // Ok the full path chosen.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& f) { fileName_ = f; }
  const std::string& FileTitle() const { return fileTitle_; }  // after Ok: the name without its folder
  const std::string& DialogTitle() const { return dialogTitle_; }  // "" gives the platform's "Open" / "Save As"
  void SetDialogTitle(const std::string& t) { dialogTitle_ = t; }
  const std::string& InitDir() const { return initDir_; }  // "" lets the platform choose
  void SetInitDir(const std::string& d) { initDir_ = d; }
  // Added to a name typed without an extension ("vk" or ".vk").
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& e) { defaultExt_ = e; }
  // OFN_* flags the dialog is shown with (OFN_EXPLORER and OFN_NOCHANGEDIR are always added: the
  // process's current folder never moves); after Ok the flags the dialog gave back.
  DWORD Flags() const { return flags_; }
  void SetFlags(DWORD f) { flags_ = f; }

  DialogResult ShowOpen();
  DialogResult ShowSave();

 private:
  DialogResult Show(bool save);
  Form& owner_;
  std::string name_;
  bool cancelError_ = false;
  std::string filter_, fileName_, fileTitle_, dialogTitle_, initDir_, defaultExt_;
  int filterIndex_ = 1;
  DWORD flags_ = OFN_HIDEREADONLY;
};

struct FileDialogCall {
  bool save;  // ShowSave, else ShowOpen
  HWND owner;
  std::string title, filter, fileName, initDir, defaultExt;
  DWORD flags;
  int filterIndex;
};
// Tests answer the file dialogs: the handler gets each showing and returns the full path the
// dialog gives back (std::nullopt: the user cancelled). A null handler gives the real dialog back.
void SetFileDialogHandler(std::function<std::optional<std::string>(const FileDialogCall&)> handler);

// The platform's filter text ("desc\0pattern\0...\0\0") for a filter written as CommonDialog
// takes it.
std::string NativeFilter(const std::string& filter);

}  // namespace forms
