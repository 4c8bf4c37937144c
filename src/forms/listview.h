// A report-style list view. The rows live in the model; the native list view is virtual
// (owner-data): it asks for the text of the rows it paints, so adding 100,000 rows costs no native
// work per row. Rows are addressed from 1, as the windows address them; a row index past the end
// reads as an empty row and writing to it changes nothing (the call returns false).
//
// The model keeps a row compact: its text in a shared text store and, only where a row has them,
// its sub-items, icon, key and tag beside it. A detail list of a million rows of one text each costs
// little more than the texts themselves, and adding a row never copies the rows before it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
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

// One row as a whole, as Item() gives it.
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
  int Count() const { return static_cast<int>(rows_.size()); }
  void Clear();
  bool Remove(int index);
  bool Exists(int index) const { return index >= 1 && index <= Count(); }
  ListItem Item(int index) const;  // a copy of the row; an empty row past the end
  int FindKey(const std::string& key) const;  // 0 when no row has the key

  std::string Text(int index) const { return std::string(TextView(index)); }
  // The row's text without a copy; valid until the rows change.
  std::string_view TextView(int index) const;
  bool SetText(int index, const std::string& text);
  std::string SubItem(int index, int sub) const;
  bool SetSubItem(int index, int sub, const std::string& text);
  bool SetSmallIcon(int index, const std::string& key);
  bool SetTag(int index, const std::string& tag);
  bool Checked(int index) const { return Exists(index) && At(index).checked; }
  bool SetChecked(int index, bool checked);  // no ItemCheck: that is for the user's own ticks
  bool Selected(int index) const { return Exists(index) && At(index).selected; }
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
  // Texts, appended one after another into large blocks; a row keeps where its text lies.
  class TextStore {
   public:
    std::string_view Add(std::string_view text);
    void Clear();
    size_t Bytes() const { return bytes_; }

   private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = 0, size_ = 0;  // of the last block
    size_t bytes_ = 0;            // every text added since the last Clear
  };
  struct Extra {
    std::vector<std::string> subItems;
    std::string smallIcon, key, tag;
  };
  struct Row {
    const char* text = nullptr;
    uint32_t length = 0;
    bool checked = false, selected = false;
    std::unique_ptr<Extra> extra;
    std::string_view Text() const { return {text, length}; }
  };
  void Changed(bool countChanged);
  void RedrawRow(int index);
  void ToggleCheck(int index);
  void PushSelection();
  void SetRowText(Row& row, std::string_view text);
  Extra& ExtraOf(int index);
  Row& At(int index) { return rows_[static_cast<size_t>(index - 1)]; }
  const Row& At(int index) const { return rows_[static_cast<size_t>(index - 1)]; }

  std::vector<Column> columns_;
  TextStore texts_;
  size_t liveBytes_ = 0;  // the bytes of the texts the rows still use
  std::deque<Row> rows_;
  ImageList* images_ = nullptr;
  bool checkboxes_ = false, fullRow_ = true, grid_ = false, hideHeaders_ = false, multi_ = false;
  int selected_ = 0;
  int nativeSelected_ = 0;  // the row the native list shows selected; -1 when not known
  int ensure_ = 0;
  bool pushingSelection_ = false;
};

}  // namespace forms
