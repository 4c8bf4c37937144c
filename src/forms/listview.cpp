#include "forms/listview.h"

#include <algorithm>
#include <cstring>

#include "forms/form.h"

namespace forms {

// --- ImageList --------------------------------------------------------------------------------

ImageList::ImageList(int cx, int cy) : list_(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 8, 8)) {}

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

int ImageList::Add(const std::string& key, HICON icon) {
  if (!list_ || !icon) return -1;
  int i = ImageList_AddIcon(list_, icon);
  if (i >= 0) keys_[key] = i;
  return i;
}

int ImageList::IndexOf(const std::string& key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? -1 : it->second;
}

// --- ListView ---------------------------------------------------------------------------------

ListView::ListView(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook ListView::Look() const {
  DWORD s = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP;
  if (!multi_) s |= LVS_SINGLESEL;
  if (hideHeaders_) s |= LVS_NOCOLUMNHEADER;
  return {WC_LISTVIEWA, s, WS_EX_CLIENTEDGE, ""};
}

void ListView::AfterCreate() {
  DWORD ex = LVS_EX_DOUBLEBUFFER;
  if (fullRow_) ex |= LVS_EX_FULLROWSELECT;
  if (grid_) ex |= LVS_EX_GRIDLINES;
  if (checkboxes_) ex |= LVS_EX_CHECKBOXES;
  SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  if (checkboxes_) SendMessageA(hwnd_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  if (images_) SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_->Handle()));
  for (size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = columns_[i].format;
    c.cx = ToPixels(columns_[i].width);
    c.pszText = const_cast<char*>(columns_[i].text.c_str());
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
  }
  SyncNow();
}

void ListView::SetSmallIcons(ImageList* images) {
  images_ = images;
  if (hwnd_)
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

int ListView::AddColumn(const std::string& text, int widthTwips, int format) {
  columns_.push_back({text, widthTwips, format});
  if (hwnd_) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = format;
    c.cx = ToPixels(widthTwips);
    c.pszText = const_cast<char*>(text.c_str());
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, columns_.size() - 1, reinterpret_cast<LPARAM>(&c));
  }
  return ColumnCount();
}

std::string ListView::ColumnText(int column) const {
  return column >= 1 && column <= ColumnCount() ? columns_[static_cast<size_t>(column - 1)].text : std::string();
}

bool ListView::SetColumnText(int column, const std::string& text) {
  if (column < 1 || column > ColumnCount()) return false;
  columns_[static_cast<size_t>(column - 1)].text = text;
  if (hwnd_) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT;
    c.pszText = const_cast<char*>(text.c_str());
    SendMessageA(hwnd_, LVM_SETCOLUMNA, column - 1, reinterpret_cast<LPARAM>(&c));
  }
  return true;
}

bool ListView::SetColumnWidth(int column, int widthTwips) {
  if (column < 1 || column > ColumnCount()) return false;
  columns_[static_cast<size_t>(column - 1)].width = widthTwips;
  if (hwnd_) SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column - 1, ToPixels(widthTwips));
  return true;
}

// --- the rows' texts ----------------------------------------------------------------------------

std::string_view ListView::TextStore::Add(std::string_view text) {
  constexpr size_t kBlock = 256 * 1024;
  if (text.empty()) return {};
  if (blocks_.empty() || size_ - used_ < text.size()) {
    size_t size = std::max(kBlock, text.size());
    blocks_.push_back(std::make_unique<char[]>(size));
    size_ = size;
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  memcpy(at, text.data(), text.size());
  used_ += text.size();
  bytes_ += text.size();
  return {at, text.size()};
}

void ListView::TextStore::Clear() {
  blocks_.clear();
  used_ = size_ = bytes_ = 0;
}

void ListView::SetRowText(Row& row, std::string_view text) {
  liveBytes_ -= row.length;
  // A text that is replaced or removed stays in the store; when most of the store is such
  // leftovers, the live texts move to a fresh one.
  if (texts_.Bytes() > (1u << 20) && texts_.Bytes() > 2 * (liveBytes_ + text.size())) {
    TextStore fresh;
    for (Row& r : rows_) {
      std::string_view t = fresh.Add(r.Text());
      r.text = t.data();
    }
    texts_ = std::move(fresh);
  }
  std::string_view stored = texts_.Add(text);
  row.text = stored.data();
  row.length = static_cast<uint32_t>(stored.size());
  liveBytes_ += row.length;
}

ListView::Extra& ListView::ExtraOf(int index) {
  Row& r = At(index);
  if (!r.extra) r.extra = std::make_unique<Extra>();
  return *r.extra;
}

// --- rows ---------------------------------------------------------------------------------------

ListItem ListView::Item(int index) const {
  ListItem it;
  if (!Exists(index)) return it;
  const Row& r = At(index);
  it.text = r.Text();
  it.checked = r.checked;
  it.selected = r.selected;
  if (r.extra) {
    it.subItems = r.extra->subItems;
    it.smallIcon = r.extra->smallIcon;
    it.key = r.extra->key;
    it.tag = r.extra->tag;
  }
  return it;
}

std::string_view ListView::TextView(int index) const { return Exists(index) ? At(index).Text() : std::string_view(); }

int ListView::FindKey(const std::string& key) const {
  if (key.empty()) return 0;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].extra && rows_[i].extra->key == key) return static_cast<int>(i) + 1;
  return 0;
}

void ListView::Changed(bool) {
  if (hwnd_) owner_.RequestSync(this);
}

void ListView::RedrawRow(int index) {
  if (hwnd_) SendMessageA(hwnd_, LVM_REDRAWITEMS, index - 1, index - 1);
}

int ListView::Add(const std::string& text, const std::string& key, const std::string& smallIcon) {
  rows_.emplace_back();
  SetRowText(rows_.back(), text);
  if (!key.empty() || !smallIcon.empty()) {
    Extra& e = ExtraOf(Count());
    e.key = key;
    e.smallIcon = smallIcon;
  }
  Changed(true);
  return Count();
}

void ListView::Clear() {
  rows_.clear();
  texts_.Clear();
  liveBytes_ = 0;
  selected_ = 0;
  ensure_ = 0;
  if (hwnd_) {
    // The native list is emptied at once: with no rows left it keeps no selection, where
    // clearing the selection later would visit every old row.
    pushingSelection_ = true;
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, 0, LVSICF_NOSCROLL);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    pushingSelection_ = false;
  }
  nativeSelected_ = 0;
  Changed(true);
}

bool ListView::Remove(int index) {
  if (!Exists(index)) return false;
  liveBytes_ -= At(index).length;
  rows_.erase(rows_.begin() + (index - 1));
  nativeSelected_ = -1;
  if (selected_ == index) selected_ = 0;
  else if (selected_ > index) --selected_;
  if (ensure_ > Count()) ensure_ = Count();
  Changed(true);
  return true;
}

bool ListView::SetText(int index, const std::string& text) {
  if (!Exists(index)) return false;
  SetRowText(At(index), text);
  RedrawRow(index);
  return true;
}

std::string ListView::SubItem(int index, int sub) const {
  if (!Exists(index) || sub < 1 || !At(index).extra) return std::string();
  const auto& subs = At(index).extra->subItems;
  return static_cast<size_t>(sub) <= subs.size() ? subs[static_cast<size_t>(sub - 1)] : std::string();
}

bool ListView::SetSubItem(int index, int sub, const std::string& text) {
  if (!Exists(index) || sub < 1) return false;
  auto& subs = ExtraOf(index).subItems;
  if (subs.size() < static_cast<size_t>(sub)) subs.resize(static_cast<size_t>(sub));
  subs[static_cast<size_t>(sub - 1)] = text;
  RedrawRow(index);
  return true;
}

bool ListView::SetSmallIcon(int index, const std::string& key) {
  if (!Exists(index)) return false;
  ExtraOf(index).smallIcon = key;
  RedrawRow(index);
  return true;
}

bool ListView::SetTag(int index, const std::string& tag) {
  if (!Exists(index)) return false;
  ExtraOf(index).tag = tag;
  return true;
}

bool ListView::SetChecked(int index, bool checked) {
  if (!Exists(index)) return false;
  At(index).checked = checked;
  RedrawRow(index);
  return true;
}

bool ListView::SetSelected(int index, bool selected) {
  if (!Exists(index)) return false;
  if (selected) {
    if (!multi_ && selected_ && selected_ != index && Exists(selected_)) At(selected_).selected = false;
    At(index).selected = true;
    selected_ = index;
  } else {
    At(index).selected = false;
    if (selected_ == index) selected_ = 0;
  }
  Changed(false);
  return true;
}

bool ListView::EnsureVisible(int index) {
  if (!Exists(index)) return false;
  ensure_ = index;
  Changed(false);
  return true;
}

HWND ListView::HeaderHwnd() const {
  return hwnd_ ? reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0)) : nullptr;
}

void ListView::PushSelection() {
  if (!hwnd_) return;
  pushingSelection_ = true;
  LVITEMA it{};
  if (multi_) {
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
    it.stateMask = LVIS_SELECTED;
    it.state = LVIS_SELECTED;
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].selected) SendMessageA(hwnd_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it));
  } else if (nativeSelected_ != selected_) {
    // One row is selected at a time: only the row that loses it and the one that gets it change.
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (nativeSelected_ >= 1 && nativeSelected_ <= Count())
      SendMessageA(hwnd_, LVM_SETITEMSTATE, nativeSelected_ - 1, reinterpret_cast<LPARAM>(&it));
    else if (nativeSelected_ != 0)
      SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
    if (selected_) {
      it.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(hwnd_, LVM_SETITEMSTATE, selected_ - 1, reinterpret_cast<LPARAM>(&it));
    }
  }
  if (selected_ && multi_) {
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, selected_ - 1, reinterpret_cast<LPARAM>(&it));
  }
  nativeSelected_ = selected_;
  pushingSelection_ = false;
}

void ListView::SyncNow() {
  if (!hwnd_) return;
  SendMessageA(hwnd_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
  PushSelection();
  if (ensure_) SendMessageA(hwnd_, LVM_ENSUREVISIBLE, ensure_ - 1, FALSE);
  ensure_ = 0;
}

void ListView::ToggleCheck(int index) {
  if (!Exists(index)) return;
  At(index).checked = !At(index).checked;
  RedrawRow(index);
  Fire(ItemCheck, index);
}

bool ListView::OnNotify(NMHDR* nm, LRESULT& result) {
  result = 0;
  switch (nm->code) {
    case LVN_GETDISPINFOA: {
      LVITEMA& it = reinterpret_cast<NMLVDISPINFOA*>(nm)->item;
      int row = it.iItem + 1;
      const Row* r = Exists(row) ? &At(row) : nullptr;
      const Extra* extra = r ? r->extra.get() : nullptr;
      if ((it.mask & LVIF_TEXT) && it.pszText && it.cchTextMax > 0) {
        std::string_view s;
        if (it.iSubItem == 0 && r) s = r->Text();
        else if (extra && static_cast<size_t>(it.iSubItem) <= extra->subItems.size()) s = extra->subItems[static_cast<size_t>(it.iSubItem - 1)];
        size_t n = std::min(s.size(), static_cast<size_t>(it.cchTextMax - 1));
        if (n) memcpy(it.pszText, s.data(), n);
        it.pszText[n] = '\0';
      }
      if ((it.mask & LVIF_IMAGE) && it.iSubItem == 0) {
        int i = images_ && extra ? images_->IndexOf(extra->smallIcon) : -1;
        it.iImage = i >= 0 ? i : I_IMAGENONE;
      }
      if ((it.mask & LVIF_STATE) && checkboxes_) {
        it.state = INDEXTOSTATEIMAGEMASK(r && r->checked ? 2 : 1);
        it.stateMask = LVIS_STATEIMAGEMASK;
      }
      return true;
    }
    case LVN_ITEMCHANGED: {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
      if (pushingSelection_ || !(lv->uChanged & LVIF_STATE)) return true;
      if (((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED) || lv->iItem < 0) {
        int sel = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (!multi_) {
          if (selected_ && Exists(selected_)) At(selected_).selected = false;
          selected_ = sel >= 0 && sel < Count() ? sel + 1 : 0;
          if (selected_) At(selected_).selected = true;
          nativeSelected_ = selected_;
        } else {
          for (auto& i : rows_) i.selected = false;
          selected_ = 0;
          for (int i = sel; i >= 0 && i < Count();
               i = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, i, LVNI_SELECTED))) {
            rows_[static_cast<size_t>(i)].selected = true;
            selected_ = i + 1;
          }
        }
      }
      return true;
    }
    case LVN_ODSTATECHANGED:
      return true;
    case NM_CLICK: {
      auto* ia = reinterpret_cast<NMITEMACTIVATE*>(nm);
      LVHITTESTINFO ht{};
      ht.pt = ia->ptAction;
      SendMessageA(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&ht));
      int row = ht.iItem >= 0 ? ht.iItem + 1 : 0;
      if (checkboxes_ && row && (ht.flags & LVHT_ONITEMSTATEICON)) ToggleCheck(row);
      if (row) Fire(ItemClick, row);
      Fire(Click);
      return true;
    }
    case NM_DBLCLK: {
      // The second click of a double click on a check box ticks it again, as in every list view.
      auto* ia = reinterpret_cast<NMITEMACTIVATE*>(nm);
      LVHITTESTINFO ht{};
      ht.pt = ia->ptAction;
      SendMessageA(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&ht));
      if (checkboxes_ && ht.iItem >= 0 && (ht.flags & LVHT_ONITEMSTATEICON)) ToggleCheck(ht.iItem + 1);
      Fire(DblClick);
      return true;
    }
    case LVN_KEYDOWN: {
      auto* kd = reinterpret_cast<NMLVKEYDOWN*>(nm);
      if (kd->wVKey == VK_SPACE && checkboxes_) {
        // Space ticks the row with the focus (the selected one, unless the user moved the focus
        // alone with Ctrl and the arrows).
        int focused = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        int row = focused >= 0 && focused < Count() ? focused + 1 : selected_;
        if (row) ToggleCheck(row);
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      Fire(ColumnClick, reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem + 1);
      return true;
    default:
      return false;
  }
}

}  // namespace forms
