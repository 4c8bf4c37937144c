#include "forms/folders.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "forms/form.h"
#include "runtime/files.h"
#include "runtime/text.h"

namespace forms {

namespace {
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "d", "d:", "d:\..." or "d: [label]": the drive letter, or 0.
char DriveLetterOf(const std::string& s) {
  if (s.empty() || !IsLetter(s[0])) return 0;
  if (s.size() == 1 || s[1] == ':') return static_cast<char>(s[0] & ~0x20);
  return 0;
}

// The full path of a folder given as an absolute path or as a drive; false for anything else.
bool ResolveFolder(const std::string& in, std::string& out) {
  std::string ask;
  if (in.size() >= 2 && IsLetter(in[0]) && in[1] == ':' && (in.size() == 2 || in[2] == ' '))
    ask = in.substr(0, 2);  // the drive's current folder
  else if (rt::IsAbsolutePath(in) && !rt::HasWildcard(in))
    ask = in;
  else
    return false;
  char buf[MAX_PATH];
  DWORD n = GetFullPathNameA(ask.c_str(), MAX_PATH, buf, nullptr);
  if (n == 0 || n >= MAX_PATH) return false;
  out = rt::WithoutTrailingSlash(std::string(buf, n));
  if (out.size() >= 2 && out[1] == ':') out[0] = static_cast<char>(out[0] & ~0x20);  // "C:", as the system writes it
  return rt::IsAbsolutePath(out);
}

bool ListSubFolders(const std::string& folder, std::vector<std::string>& out) {
  std::vector<rt::FileEntry> entries;
  if (!rt::FolderExists(folder) || !rt::ListFolder(folder, "*", rt::ListWhat::Folders, entries)) return false;
  out.clear();
  for (const auto& e : entries)
    if (!rt::IsLink(e.attributes)) out.push_back(rt::JoinPath(folder, e.name));
  return true;
}

std::vector<std::string> AncestorsOf(const std::string& path) {
  std::vector<std::string> chain{path};
  for (std::string p = path;;) {
    std::string parent = rt::ParentFolder(p);
    if (parent.empty() || parent == p || !rt::IsAbsolutePath(parent)) break;
    chain.push_back(parent);
    p = parent;
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

HICON FolderIcon(bool open) {
  static HICON icons[2] = {};
  HICON& icon = icons[open ? 1 : 0];
  if (!icon) {
    SHFILEINFOA fi{};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | (open ? SHGFI_OPENICON : 0);
    if (SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &fi, sizeof fi, flags)) icon = fi.hIcon;
  }
  return icon;
}

std::string CurrentFolder() {
  char buf[MAX_PATH] = "";
  DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
  return n > 0 && n < MAX_PATH ? rt::WithoutTrailingSlash(std::string(buf, n)) : std::string("C:\\");
}
}  // namespace

// --- DriveListBox ---------------------------------------------------------------------------------

DriveListBox::DriveListBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook DriveListBox::Look() const {
  return {"COMBOBOX", static_cast<DWORD>(CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP), 0, ""};
}

void DriveListBox::AfterCreate() {
  // The native height of a drop-down list includes its open list.
  SetWindowPos(hwnd_, nullptr, 0, 0, ToPixels(Width()), ToPixels(Height()) + 200, SWP_NOMOVE | SWP_NOZORDER);
  PushAll();
}

void DriveListBox::Fill() const {
  if (filled_) return;
  filled_ = true;
  std::string chosen = listIndex_ >= 0 ? drives_[static_cast<size_t>(listIndex_)] : CurrentFolder();
  drives_.clear();
  char buf[512] = "";
  DWORD n = GetLogicalDriveStringsA(sizeof buf, buf);
  for (const char* p = buf; n && n < sizeof buf && *p; p += strlen(p) + 1) {
    std::string root = p;  // "C:\"
    std::string text = rt::LCase(root.substr(0, 2));
    // Only fixed drives are asked for their label: asking an empty floppy or CD drive stalls.
    char label[MAX_PATH + 1] = "";
    UINT type = GetDriveTypeA(root.c_str());
    if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
        GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && *label)
      text += std::string(" [") + label + "]";
    drives_.push_back(text);
  }
  listIndex_ = drives_.empty() ? -1 : 0;
  char letter = DriveLetterOf(chosen);
  for (size_t i = 0; i < drives_.size(); ++i)
    if (DriveLetterOf(drives_[i]) == letter) listIndex_ = static_cast<int>(i);
}

void DriveListBox::PushAll() {
  if (!hwnd_) return;
  Fill();
  pushing_ = true;
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const auto& d : drives_) SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.c_str()));
  SendMessageA(hwnd_, CB_SETCURSEL, listIndex_, 0);
  pushing_ = false;
}

const std::string& DriveListBox::Drive() const {
  static const std::string none;
  Fill();
  return listIndex_ >= 0 ? drives_[static_cast<size_t>(listIndex_)] : none;
}

int DriveListBox::ListCount() const {
  Fill();
  return static_cast<int>(drives_.size());
}

std::string DriveListBox::List(int index) const {
  Fill();
  return index >= 0 && index < ListCount() ? drives_[static_cast<size_t>(index)] : std::string();
}

int DriveListBox::ListIndex() const {
  Fill();
  return listIndex_;
}

bool DriveListBox::SetListIndex(int index) {
  Fill();
  if (index < 0 || index >= ListCount()) return false;
  if (index == listIndex_) return true;
  listIndex_ = index;
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, CB_SETCURSEL, index, 0);
    pushing_ = false;
  }
  Fire(Change);
  return true;
}

bool DriveListBox::SetDrive(const std::string& drive) {
  char letter = DriveLetterOf(drive);
  if (!letter) return false;
  for (int i = 0; i < ListCount(); ++i)
    if (DriveLetterOf(List(i)) == letter) return SetListIndex(i);
  return false;
}

void DriveListBox::Refresh() {
  Fill();
  filled_ = false;
  Fill();
  PushAll();
}

bool DriveListBox::OnCommand(WORD code) {
  if (!hwnd_ || pushing_) return false;
  if (code == CBN_SELCHANGE) {
    int i = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    if (i >= 0) SetListIndex(i);
  }
  return true;
}

// --- FolderListBox --------------------------------------------------------------------------------

FolderListBox::FolderListBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook FolderListBox::Look() const {
  DWORD s = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
  return {"LISTBOX", s, WS_EX_CLIENTEDGE, ""};
}

void FolderListBox::AfterCreate() {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, FontHandle(GetFont()));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, std::max<int>(16, tm.tmHeight) + 2);
  PushAll();
}

void FolderListBox::EnsureListed() const {
  if (listed_) return;
  listed_ = true;
  if (path_.empty()) path_ = CurrentFolder();
  ancestors_ = AncestorsOf(path_);
  if (!ListSubFolders(path_, subs_)) subs_.clear();
}

int FolderListBox::Depth() const {
  EnsureListed();
  return static_cast<int>(ancestors_.size()) - 1;
}

const std::string& FolderListBox::Path() const {
  EnsureListed();
  return path_;
}

bool FolderListBox::SetPath(const std::string& path) {
  EnsureListed();
  std::string full;
  std::vector<std::string> subs;
  if (!ResolveFolder(path, full) || !ListSubFolders(full, subs)) return false;
  bool moved = !rt::EqualsNoCase(full, path_);
  path_ = full;
  ancestors_ = AncestorsOf(full);
  subs_ = std::move(subs);
  listIndex_ = -1;
  PushAll();
  if (moved) Fire(Change);
  return true;
}

void FolderListBox::Refresh() {
  EnsureListed();
  std::vector<std::string> subs;
  if (!ListSubFolders(path_, subs)) return;
  subs_ = std::move(subs);
  listIndex_ = -1;
  PushAll();
}

int FolderListBox::ListCount() const {
  EnsureListed();
  return static_cast<int>(subs_.size());
}

std::string FolderListBox::List(int index) const {
  EnsureListed();
  if (index >= 0) return index < ListCount() ? subs_[static_cast<size_t>(index)] : std::string();
  int row = Depth() + 1 + index;  // -1 is the open folder, the last of the chain
  return row >= 0 ? ancestors_[static_cast<size_t>(row)] : std::string();
}

bool FolderListBox::SetListIndex(int index) {
  EnsureListed();
  int row = Depth() + 1 + index;
  if (row < 0 || index >= ListCount()) return false;
  if (index == listIndex_) return true;
  listIndex_ = index;
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, LB_SETCURSEL, row, 0);
    pushing_ = false;
  }
  Fire(Click);
  return true;
}

void FolderListBox::PushAll() {
  if (!hwnd_) return;
  EnsureListed();
  pushing_ = true;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < ancestors_.size(); ++i) {
    std::string text = i == 0 ? ancestors_[i] : rt::FileNameOf(ancestors_[i]);
    SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  for (const auto& s : subs_)
    SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rt::FileNameOf(s).c_str()));
  SendMessageA(hwnd_, LB_SETCURSEL, Depth() + 1 + listIndex_, 0);
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  pushing_ = false;
}

void FolderListBox::OpenHighlighted() {
  std::string target = List(listIndex_);
  if (!target.empty()) SetPath(target);
}

bool FolderListBox::OnCommand(WORD code) {
  if (!hwnd_ || pushing_) return false;
  if (code == LBN_SELCHANGE) {
    int row = static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
    if (row >= 0) SetListIndex(row - Depth() - 1);
  } else if (code == LBN_DBLCLK) {
    OpenHighlighted();
  }
  return true;
}

LRESULT FolderListBox::SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) {
  if (m == WM_GETDLGCODE) {
    // Enter opens the highlighted folder rather than pressing the window's default button.
    auto* msg = reinterpret_cast<MSG*>(l);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
      handled = true;
      return DefSubclassProc(h, m, w, l) | DLGC_WANTMESSAGE;
    }
  } else if (m == WM_KEYDOWN && w == VK_RETURN) {
    handled = true;
    OpenHighlighted();
  }
  return 0;
}

bool FolderListBox::OnDrawItem(DRAWITEMSTRUCT* d) {
  if (d->CtlType != ODT_LISTBOX) return false;
  HDC dc = d->hDC;
  RECT r = d->rcItem;
  if (d->itemID == static_cast<UINT>(-1)) {
    if (d->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return true;
  }
  int row = static_cast<int>(d->itemID);
  int depth = Depth();
  int level = row <= depth ? row : depth + 1;
  bool selected = (d->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  int x = r.left + 2 + level * 10;
  int cy = r.bottom - r.top;
  if (HICON icon = FolderIcon(row <= depth))
    DrawIconEx(dc, x, r.top + (cy - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
  char text[MAX_PATH] = "";
  SendMessageA(d->hwndItem, LB_GETTEXT, d->itemID, reinterpret_cast<LPARAM>(text));
  HGDIOBJ old = SelectObject(dc, FontHandle(GetFont()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT t{x + 20, r.top, r.right - 2, r.bottom};
  DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  if (d->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
  return true;
}

}  // namespace forms
