// A report-style list view. The rows live in the model; the native list view is virtual
// (owner-data): it asks for the text of the rows it paints, so adding 100,000 rows costs no native
// work per row. Rows are addressed from 1, as the windows address them; a row index past the end
// reads as an empty row and writing to it changes nothing (the call returns false).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

// Small (16 x 16) pictures by key, for the rows of list views.
class ImageList {
 public:
  ImageList(int cx = 16, int cy = 16);
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  int Add(const std::string& key, HICON icon);  // the picture's index; -1 on failure
  int IndexOf(const std::string& key) const;    // -1 for a key it does not hold
  int Count() const { return static_cast<int>(keys_.size()); }
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_;
  std::map<std::string, int> keys_;
};

struct ListItem {
  std::string text;
  std::vector<std::string> subItems;  // SubItems(1) is subItems[0]
  std::string smallIcon;              // key in the small-icon list
  std::string key;
  std::string tag;
  bool checked = false;
  bool selected = false;
};

class ListView : public Control {
 public:
  ListView(Form& owner, std::string name);

  // Set before the list is shown.
  void SetCheckboxes(bool c) { checkboxes_ = c; }
  bool Checkboxes() const { return checkboxes_; }
  void SetFullRowSelect(bool f) { fullRow_ = f; }
  void SetGridLines(bool g) { grid_ = g; }
  void SetHideColumnHeaders(bool h) { hideHeaders_ = h; }
  void SetMultiSelect(bool m) { multi_ = m; }
  void SetSmallIcons(ImageList* images);

  // Columns, from 1.
  int AddColumn(const std::string& text, int widthTwips = 1440, int format = LVCFMT_LEFT);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  std::string ColumnText(int column) const;
  bool SetColumnText(int column, const std::string& text);
  bool SetColumnWidth(int column, int widthTwips);

  // Rows, from 1.
  int Add(const std::string& text, const std::string& key = "", const std::string& smallIcon = "");
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear();
  bool Remove(int index);
  bool Exists(int index) const { return index >= 1 && index <= Count(); }
  const ListItem& Item(int index) const;  // an empty row past the end
  int FindKey(const std::string& key) const;  // 0 when no row has the key

  std::string Text(int index) const { return Item(index).text; }
  bool SetText(int index, const std::string& text);
  std::string SubItem(int index, int sub) const;
  bool SetSubItem(int index, int sub, const std::string& text);
  bool SetSmallIcon(int index, const std::string& key);
  bool SetTag(int index, const std::string& tag);
  bool Checked(int index) const { return Item(index).checked; }
  bool SetChecked(int index, bool checked);  // no ItemCheck: that is for the user's own ticks
  bool Selected(int index) const { return Item(index).selected; }
  bool SetSelected(int index, bool selected);
  int SelectedIndex() const { return selected_; }  // the selected row (the last one chosen), 0 for none
  bool EnsureVisible(int index);

  // Events: a click anywhere (Click), on a row (ItemClick with the row), on a row's check box
  // (ItemCheck, after the tick has changed), a double click, a click on a column header.
  std::function<void()> Click, DblClick;
  std::function<void(int)> ItemClick, ItemCheck, ColumnClick;

  HWND HeaderHwnd() const;
  bool OnNotify(NMHDR* nm, LRESULT& result) override;
  void SyncNow() override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  struct Column {
    std::string text;
    int width;
    int format;
  };
  void Changed(bool countChanged);
  void RedrawRow(int index);
  void ToggleCheck(int index);
  void PushSelection();
  ListItem& At(int index) { return items_[static_cast<size_t>(index - 1)]; }

  std::vector<Column> columns_;
  std::vector<ListItem> items_;
  ImageList* images_ = nullptr;
  bool checkboxes_ = false, fullRow_ = true, grid_ = false, hideHeaders_ = false, multi_ = false;
  int selected_ = 0;
  int nativeSelected_ = 0;  // the row the native list shows selected; -1 when not known
  int ensure_ = 0;
  bool pushingSelection_ = false;
  std::string textBuf_;
};

}  // namespace forms
