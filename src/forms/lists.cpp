#include "forms/lists.h"

#include <algorithm>

#include "forms/form.h"
#include "runtime/files.h"
#include "runtime/text.h"

namespace forms {

namespace {
bool LessNoCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_LESS_THAN;
}
int SortedPosition(const std::vector<std::string>& items, const std::string& text) {
  return static_cast<int>(std::upper_bound(items.begin(), items.end(), text, LessNoCase) - items.begin());
}
}  // namespace

// --- ListBox ----------------------------------------------------------------------------------

ListBox::ListBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook ListBox::Look() const {
  DWORD s = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | LBS_HASSTRINGS;
  if (multi_ == kSimple) s |= LBS_MULTIPLESEL;
  if (multi_ == kExtended) s |= LBS_EXTENDEDSEL;
  return {"LISTBOX", s, WS_EX_CLIENTEDGE, ""};
}

void ListBox::AfterCreate() { PushAll(); }

void ListBox::PushAll() {
  if (!hwnd_) return;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
  for (const auto& t : items_) SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
  if (multi_ == kSingle) {
    SendMessageA(hwnd_, LB_SETCURSEL, listIndex_, 0);
  } else {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].selected) SendMessageA(hwnd_, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (listIndex_ >= 0) SendMessageA(hwnd_, LB_SETCARETINDEX, listIndex_, FALSE);
  }
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

int ListBox::AddItem(const std::string& text, int index) {
  int n = ListCount();
  if (sorted_) index = SortedPosition(items_, text);
  else if (index < 0 || index > n) index = n;
  items_.insert(items_.begin() + index, text);
  entries_.insert(entries_.begin() + index, Entry{});
  if (listIndex_ >= index) ++listIndex_;
  newIndex_ = index;
  if (hwnd_) SendMessageA(hwnd_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
  return index;
}

bool ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return false;
  items_.erase(items_.begin() + index);
  entries_.erase(entries_.begin() + index);
  if (listIndex_ == index) listIndex_ = -1;
  else if (listIndex_ > index) --listIndex_;
  if (hwnd_) SendMessageA(hwnd_, LB_DELETESTRING, index, 0);
  return true;
}

void ListBox::Clear() {
  items_.clear();
  entries_.clear();
  listIndex_ = -1;
  newIndex_ = -1;
  if (hwnd_) SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

void ListBox::ReplaceItems(std::vector<std::string> items) {
  items_ = std::move(items);
  entries_.assign(items_.size(), Entry{});
  listIndex_ = -1;
  newIndex_ = -1;
  PushAll();
}

std::string ListBox::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)] : std::string();
}

bool ListBox::SetList(int index, const std::string& text) {
  if (index < 0 || index >= ListCount()) return false;
  items_[static_cast<size_t>(index)] = text;
  if (hwnd_) {
    bool sel = multi_ == kSingle ? listIndex_ == index : entries_[static_cast<size_t>(index)].selected;
    SendMessageA(hwnd_, LB_DELETESTRING, index, 0);
    SendMessageA(hwnd_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    if (sel) {
      if (multi_ == kSingle) SendMessageA(hwnd_, LB_SETCURSEL, index, 0);
      else SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
    }
  }
  return true;
}

intptr_t ListBox::ItemData(int index) const {
  return index >= 0 && index < ListCount() ? entries_[static_cast<size_t>(index)].data : 0;
}

bool ListBox::SetItemData(int index, intptr_t data) {
  if (index < 0 || index >= ListCount()) return false;
  entries_[static_cast<size_t>(index)].data = data;
  return true;
}

bool ListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return false;
  if (index == listIndex_) return true;
  listIndex_ = index;
  if (multi_ == kSingle) {
    for (auto& e : entries_) e.selected = false;
    if (index >= 0) entries_[static_cast<size_t>(index)].selected = true;
    if (hwnd_) SendMessageA(hwnd_, LB_SETCURSEL, index, 0);
  } else if (hwnd_ && index >= 0) {
    SendMessageA(hwnd_, LB_SETCARETINDEX, index, FALSE);
  }
  Fire(Click);
  return true;
}

bool ListBox::Selected(int index) const {
  if (index < 0 || index >= ListCount()) return false;
  return multi_ == kSingle ? listIndex_ == index : entries_[static_cast<size_t>(index)].selected;
}

bool ListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= ListCount()) return false;
  if (multi_ == kSingle) {
    if (selected) return SetListIndex(index);
    if (listIndex_ == index) return SetListIndex(-1);
    return true;
  }
  entries_[static_cast<size_t>(index)].selected = selected;
  if (hwnd_) SendMessageA(hwnd_, LB_SETSEL, selected, index);
  return true;
}

int ListBox::SelCount() const {
  if (multi_ == kSingle) return listIndex_ >= 0 ? 1 : 0;
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

int ListBox::TopIndex() const { return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)) : 0; }

void ListBox::SetTopIndex(int index) {
  if (hwnd_) SendMessageA(hwnd_, LB_SETTOPINDEX, index, 0);
}

bool ListBox::OnCommand(WORD code) {
  if (!hwnd_) return false;
  if (code == LBN_SELCHANGE) {
    if (multi_ == kSingle) {
      int i = static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
      SetListIndex(i < 0 ? -1 : i);
    } else {
      for (size_t i = 0; i < entries_.size(); ++i)
        entries_[i].selected = SendMessageA(hwnd_, LB_GETSEL, i, 0) > 0;
      int caret = static_cast<int>(SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
      listIndex_ = caret >= 0 && caret < ListCount() ? caret : -1;
      Fire(Click);
    }
  } else if (code == LBN_DBLCLK) {
    Fire(DblClick);
  }
  return true;
}

// --- ComboBox ---------------------------------------------------------------------------------

ComboBox::ComboBox(Form& owner, std::string name, int style) : Control(owner, std::move(name)), style_(style) {
  if (style_ != kDropdownList) text_ = Name();
}

Control::NativeLook ComboBox::Look() const {
  DWORD s = WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
  s |= style_ == kDropdownList ? CBS_DROPDOWNLIST : style_ == kSimpleCombo ? CBS_SIMPLE : CBS_DROPDOWN;
  return {"COMBOBOX", s, 0, ""};
}

void ComboBox::AfterCreate() {
  // The native height of a drop-down combo box includes its open list.
  if (style_ != kSimpleCombo)
    SetWindowPos(hwnd_, nullptr, 0, 0, ToPixels(Width()), ToPixels(Height()) + 200, SWP_NOMOVE | SWP_NOZORDER);
  PushAll();
}

void ComboBox::PushAll() {
  if (!hwnd_) return;
  pushing_ = true;
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const auto& t : items_) SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
  SendMessageA(hwnd_, CB_SETCURSEL, listIndex_, 0);
  if (style_ != kDropdownList) SetWindowTextA(hwnd_, text_.c_str());
  pushing_ = false;
}

int ComboBox::FindExact(const std::string& text) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (rt::EqualsNoCase(items_[i], text)) return static_cast<int>(i);
  return -1;
}

bool ComboBox::SetText(const std::string& text) {
  if (style_ == kDropdownList) {
    int i = FindExact(text);
    if (i < 0) return false;
    return SetListIndex(i);
  }
  if (text == text_) return true;
  text_ = text;
  int i = -1;
  for (size_t k = 0; k < items_.size(); ++k)
    if (items_[k] == text) i = static_cast<int>(k);
  listIndex_ = i;
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, CB_SETCURSEL, i, 0);
    SetWindowTextA(hwnd_, text_.c_str());
    pushing_ = false;
  }
  Fire(Change);
  return true;
}

int ComboBox::AddItem(const std::string& text, int index) {
  int n = ListCount();
  if (sorted_) index = SortedPosition(items_, text);
  else if (index < 0 || index > n) index = n;
  items_.insert(items_.begin() + index, text);
  if (listIndex_ >= index) ++listIndex_;
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    pushing_ = false;
  }
  return index;
}

bool ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return false;
  items_.erase(items_.begin() + index);
  if (listIndex_ == index) listIndex_ = -1;
  else if (listIndex_ > index) --listIndex_;
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, CB_DELETESTRING, index, 0);
    pushing_ = false;
  }
  return true;
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  if (style_ == kDropdownList) text_.clear();
  PushAll();
}

std::string ComboBox::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)] : std::string();
}

bool ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return false;
  if (index == listIndex_) return true;
  listIndex_ = index;
  std::string old = text_;
  text_ = index >= 0 ? items_[static_cast<size_t>(index)] : (style_ == kDropdownList ? "" : text_);
  if (hwnd_) {
    pushing_ = true;
    SendMessageA(hwnd_, CB_SETCURSEL, index, 0);
    if (style_ != kDropdownList) SetWindowTextA(hwnd_, text_.c_str());
    pushing_ = false;
  }
  Fire(Click);
  if (style_ != kDropdownList && text_ != old) Fire(Change);
  return true;
}

bool ComboBox::OnCommand(WORD code) {
  if (!hwnd_ || pushing_) return false;
  if (code == CBN_SELCHANGE) {
    int i = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    SetListIndex(i < 0 ? -1 : i);
  } else if (code == CBN_EDITCHANGE) {
    int n = GetWindowTextLengthA(hwnd_);
    std::string t(static_cast<size_t>(n) + 1, '\0');
    t.resize(GetWindowTextA(hwnd_, t.data(), n + 1));
    if (t != text_) {
      text_ = t;
      listIndex_ = -1;
      for (size_t k = 0; k < items_.size(); ++k)
        if (items_[k] == t) listIndex_ = static_cast<int>(k);
      Fire(Change);
    }
  }
  return true;
}

// --- FileListBox ------------------------------------------------------------------------------

FileListBox::FileListBox(Form& owner, std::string name) : ListBox(owner, std::move(name)) {}

bool FileListBox::Fill(const std::string& folder) {
  std::vector<rt::FileEntry> entries;
  if (!rt::ListFolder(folder, "*", rt::ListWhat::Files, entries)) return false;
  std::vector<std::string> patterns = rt::SplitAtChar(pattern_, ';');
  std::vector<std::string> names;
  entries_.clear();
  for (const auto& e : entries) {
    if ((e.attributes & FILE_ATTRIBUTE_HIDDEN) && !hidden_) continue;
    if ((e.attributes & FILE_ATTRIBUTE_SYSTEM) && !system_) continue;
    if ((e.attributes & FILE_ATTRIBUTE_READONLY) && !readOnly_) continue;
    bool match = false;
    for (const auto& p : patterns) match = match || rt::NameMatches(e, rt::Trim(p));
    if (!match) continue;
    names.push_back(e.name);
    entries_.push_back(e);
  }
  ReplaceItems(std::move(names));
  return true;
}

bool FileListBox::SetPath(const std::string& folder) {
  std::string f = rt::WithoutTrailingSlash(folder);
  if (f.empty() || !rt::FolderExists(f)) return false;
  if (!Fill(f)) return false;
  path_ = f;
  return true;
}

bool FileListBox::SetPattern(const std::string& pattern) {
  if (rt::FindCharOf(pattern, "\\/:\"<>|") != std::string::npos) return false;
  pattern_ = pattern.empty() ? "*.*" : pattern;
  if (!path_.empty()) Fill(path_);
  return true;
}

void FileListBox::Refresh() {
  if (!path_.empty()) Fill(path_);
}

}  // namespace forms
