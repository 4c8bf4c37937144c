#include "forms/dialogs.h"

#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"
#include "runtime/files.h"
#include "runtime/text.h"

namespace forms {

// --- input box ------------------------------------------------------------------------------

namespace {

std::function<std::optional<std::string>(const InputBoxCall&)>& InputHandler() {
  static std::function<std::optional<std::string>(const InputBoxCall&)> h;
  return h;
}
std::function<std::optional<std::string>(const FileDialogCall&)>& FileHandler() {
  static std::function<std::optional<std::string>(const FileDialogCall&)> h;
  return h;
}

enum { kPromptId = 100, kFieldId = 101 };

// An in-memory dialog template (the platform's DLGTEMPLATE layout): the dialog, then its items,
// each on a DWORD boundary. Texts are set when the dialog starts, in the ANSI code page.
class Template {
 public:
  Template(DWORD style, short cx, short cy) {
    Dword(style);
    Dword(0);
    count_ = words_.size();
    Word(0);  // the number of items, counted as they come
    Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0), Word(0), Word(0);  // no menu, the standard class, no title
    Word(8);                    // DS_SETFONT: 8 points
    for (char c : std::string("MS Shell Dlg")) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
    if (words_.size() % 2) Word(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);  // a system class by its atom
    Word(0);                   // no text
    Word(0);                   // no creation data
    ++words_[count_];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  std::vector<WORD> words_;  // a vector of WORDs is aligned for the DWORDs in it
  size_t count_ = 0;
};

struct InputState {
  const InputBoxCall* call;
  std::string answer;
};

// Every lone CR or LF breaks a line, as it does where the prompt comes from.
std::string WithLineBreaks(const std::string& t) {
  std::string r;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' || t[i] == '\n') {
      r += "\r\n";
      if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
    } else {
      r += t[i];
    }
  }
  return r;
}

// Makes the prompt as tall as its text and moves the field and the dialog's bottom with it.
void FitPrompt(HWND dlg, const std::string& prompt) {
  HWND label = GetDlgItem(dlg, kPromptId);
  RECT lr;
  GetWindowRect(label, &lr);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&lr), 2);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, FontHandle(Font{}));
  RECT need{0, 0, lr.right - lr.left, 0};
  DrawTextA(dc, prompt.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  int grow = need.bottom - (lr.bottom - lr.top);
  if (grow <= 0) return;
  SetWindowPos(label, nullptr, 0, 0, lr.right - lr.left, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
  HWND field = GetDlgItem(dlg, kFieldId);
  RECT fr;
  GetWindowRect(field, &fr);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&fr), 2);
  SetWindowPos(field, nullptr, fr.left, fr.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT wr;
  GetWindowRect(dlg, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top + grow;
  SetWindowPos(dlg, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
               SWP_NOZORDER);
}

INT_PTR CALLBACK InputProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_INITDIALOG: {
      auto* st = reinterpret_cast<InputState*>(l);
      SetWindowLongPtrA(h, DWLP_USER, l);
      for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(Font{})), FALSE);
      std::string prompt = WithLineBreaks(st->call->prompt);
      SetWindowTextA(h, st->call->title.c_str());
      SetDlgItemTextA(h, kPromptId, prompt.c_str());
      SetDlgItemTextA(h, IDOK, "OK");
      SetDlgItemTextA(h, IDCANCEL, "Cancel");
      SetDlgItemTextA(h, kFieldId, st->call->defaultText.c_str());
      FitPrompt(h, prompt);
      HWND field = GetDlgItem(h, kFieldId);
      SendMessageA(field, EM_SETSEL, 0, -1);
      SetFocus(field);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        auto* st = reinterpret_cast<InputState*>(GetWindowLongPtrA(h, DWLP_USER));
        HWND field = GetDlgItem(h, kFieldId);
        int n = GetWindowTextLengthA(field);
        std::string t(static_cast<size_t>(n) + 1, '\0');
        t.resize(static_cast<size_t>(GetWindowTextA(field, t.data(), n + 1)));
        st->answer = t;
        EndDialog(h, IDOK);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(h, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
}  // namespace

std::optional<std::string> InputBox(HWND owner, const std::string& prompt, const std::string& title,
                                    const std::string& defaultText) {
  InputBoxCall call{owner, prompt, title, defaultText};
  if (InputHandler()) return InputHandler()(call);
  // Prompt at the left, OK and Cancel at the right, the field along the bottom (dialog units).
  Template t(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 246, 80);
  t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 172, 44, kPromptId, 0x0082);
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 189, 7, 50, 14, IDOK, 0x0080);
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 189, 25, 50, 14, IDCANCEL, 0x0080);
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 58, 232, 13, kFieldId, 0x0081);
  InputState st{&call, ""};
  INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, InputProc, reinterpret_cast<LPARAM>(&st));
  if (r != IDOK) return std::nullopt;
  return st.answer;
}

void SetInputBoxHandler(std::function<std::optional<std::string>(const InputBoxCall&)> handler) {
  InputHandler() = std::move(handler);
}

// --- common file dialogs --------------------------------------------------------------------------

std::string NativeFilter(const std::string& filter) {
  if (filter.empty()) return "";
  std::vector<std::string> parts = rt::Split(filter, '|');
  std::string r;
  for (size_t i = 0; i < parts.size(); i += 2) {
    const std::string& desc = parts[i];
    std::string pattern = i + 1 < parts.size() ? parts[i + 1] : std::string();
    if (desc.empty() && pattern.empty()) continue;
    if (pattern.empty()) pattern = desc;
    r += desc;
    r += '\0';
    r += pattern;
    r += '\0';
  }
  if (!r.empty()) r += '\0';
  return r;
}

CommonDialog::CommonDialog(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

DialogResult CommonDialog::ShowOpen() { return Show(false); }
DialogResult CommonDialog::ShowSave() { return Show(true); }

DialogResult CommonDialog::Show(bool save) {
  FileDialogCall call{save, owner_.hWnd(), dialogTitle_, filter_, fileName_, initDir_, defaultExt_, flags_, filterIndex_};
  std::optional<std::string> chosen;
  std::string title;
  if (FileHandler()) {
    chosen = FileHandler()(call);
    if (chosen) title = rt::FileNameOf(*chosen);
  } else {
    std::string filter = NativeFilter(filter_);
    std::string ext = defaultExt_;
    while (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    std::vector<char> file(32768, '\0');
    fileName_.copy(file.data(), file.size() - 2);
    char fileTitle[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_.hWnd();
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_ < 0 ? 0 : filterIndex_);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrInitialDir = initDir_.empty() ? nullptr : initDir_.c_str();
    ofn.lpstrTitle = dialogTitle_.empty() ? nullptr : dialogTitle_.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    // No hooks or templates: we give the dialog none.
    ofn.Flags = (flags_ & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) | OFN_EXPLORER | OFN_NOCHANGEDIR;
    BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (ok) {
      // Several files chosen come as the folder and the names, each ended by a NUL.
      std::string_view all(file.data(), file.size());
      size_t end = (ofn.Flags & OFN_ALLOWMULTISELECT) ? all.find(std::string_view("\0\0", 2)) : all.find('\0');
      chosen = std::string(all.substr(0, end));
      title = fileTitle;
      flags_ = ofn.Flags;
      filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    } else if (CommDlgExtendedError() != 0) {
      return DialogResult::Failed;
    }
  }
  if (chosen) {
    fileName_ = *chosen;
    fileTitle_ = title;
    return DialogResult::Ok;
  }
  if (cancelError_) return DialogResult::Cancelled;
  fileName_.clear();
  fileTitle_.clear();
  return DialogResult::Ok;
}

void SetFileDialogHandler(std::function<std::optional<std::string>(const FileDialogCall&)> handler) {
  FileHandler() = std::move(handler);
}

}  // namespace forms
