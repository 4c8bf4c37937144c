// List box, combo box and file list box. Indexes start at 0; -1 means "no item". Reading an item
// past the end gives "" and writing one changes nothing (the call returns false).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "runtime/files.h"

namespace forms {

class ListBox : public Control {
 public:
  enum MultiSelectMode { kSingle = 0, kSimple = 1, kExtended = 2 };
  ListBox(Form& owner, std::string name);

  // Set before items are added and before the box is shown.
  void SetSorted(bool s) { sorted_ = s; }
  bool Sorted() const { return sorted_; }
  void SetMultiSelect(int mode) { multi_ = mode; }
  int MultiSelect() const { return multi_; }

  int AddItem(const std::string& text, int index = -1);  // the index it got (sorted lists decide)
  int NewIndex() const { return newIndex_; }
  bool RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  std::string List(int index) const;
  bool SetList(int index, const std::string& text);
  const std::vector<std::string>& Items() const { return items_; }
  intptr_t ItemData(int index) const;
  bool SetItemData(int index, intptr_t data);

  int ListIndex() const { return listIndex_; }
  bool SetListIndex(int index);  // runs Click when the index changes
  bool Selected(int index) const;
  bool SetSelected(int index, bool selected);
  int SelCount() const;
  int TopIndex() const;
  void SetTopIndex(int index);

  std::function<void()> Click, DblClick;
  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  void ReplaceItems(std::vector<std::string> items);  // for lists that fill themselves

 private:
  struct Entry {
    intptr_t data = 0;
    bool selected = false;
  };
  void PushAll();
  std::vector<std::string> items_;
  std::vector<Entry> entries_;
  bool sorted_ = false;
  int multi_ = kSingle;
  int listIndex_ = -1;
  int newIndex_ = -1;
};

class ComboBox : public Control {
 public:
  enum Style { kDropdownCombo = 0, kSimpleCombo = 1, kDropdownList = 2 };
  ComboBox(Form& owner, std::string name, int style = kDropdownCombo);

  int ComboStyle() const { return style_; }
  void SetSorted(bool s) { sorted_ = s; }

  const std::string& Text() const { return text_; }
  // A drop-down list takes only the text of one of its items (compared ignoring case) and
  // refuses any other (false, nothing changes); the other styles take any text.
  bool SetText(const std::string& text);

  int AddItem(const std::string& text, int index = -1);
  bool RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  std::string List(int index) const;
  int ListIndex() const { return listIndex_; }
  bool SetListIndex(int index);  // the text follows; Click when the index changes

  std::function<void()> Click, Change;
  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  int FindExact(const std::string& text) const;
  void PushAll();
  std::vector<std::string> items_;
  std::string text_;
  int style_;
  int listIndex_ = -1;
  bool sorted_ = false;
  bool pushing_ = false;
};

// The files of one folder whose long names match the pattern ("*.txt", or several separated by
// ";"), sorted by name ignoring case. The list is a snapshot taken when Path, Pattern or Refresh
// is set; a folder that does not exist is refused and the old list stays. Path takes a folder
// list's Path as it stands (a drive root ends in "\").
class FileListBox : public ListBox {
 public:
  FileListBox(Form& owner, std::string name);

  const std::string& Path() const { return path_; }
  bool SetPath(const std::string& folder);
  const std::string& Pattern() const { return pattern_; }
  // "" lists every file. A pattern with a folder or drive in it (\ / :) or with characters no
  // file name holds (" < > |) is refused: false, and the list keeps its pattern.
  bool SetPattern(const std::string& pattern);
  void Refresh();

  // Which files are listed, by attribute (as the classic file list box: hidden and system files
  // only when asked for).
  void SetShowHidden(bool b) { hidden_ = b; }
  void SetShowSystem(bool b) { system_ = b; }
  void SetShowReadOnly(bool b) { readOnly_ = b; }

  std::string FileName() const { return List(ListIndex()); }
  // The listed files as the last fill found them, in the order of the items: their wide names too,
  // where the code page cannot spell a name (the item then shows "?" for what it lacks).
  const std::vector<rt::FileEntry>& Entries() const { return entries_; }

 private:
  bool Fill(const std::string& folder);
  std::vector<rt::FileEntry> entries_;
  std::string path_;
  std::string pattern_ = "*.*";
  bool hidden_ = false, system_ = false, readOnly_ = true;
};

}  // namespace forms
