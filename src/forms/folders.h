// The drive list and the folder list, which with the file list (lists.h) let the user walk the
// file system. They do not follow one another by themselves: the window wires them, as
//   Drive1.Change = [&] { Dir1.SetPath(Drive1.Drive()); };
//   Dir1.Change   = [&] { File1.SetPath(Dir1.Path()); };
// Both fill themselves the first time they are asked, not when they are made.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

// The drives of the system, as a drop-down list: "c: [label]" (the label of a fixed drive that
// has one) or "c:". Starts at the process's current drive.
class DriveListBox : public Control {
 public:
  DriveListBox(Form& owner, std::string name);

  const std::string& Drive() const;  // the text of the chosen drive
  // Chooses the drive of this letter ("d", "d:", "d:\temp" or "d: [data]"); false, and nothing
  // changes, when the list has no such drive. Change runs when the drive changes.
  bool SetDrive(const std::string& drive);
  int ListCount() const;
  std::string List(int index) const;  // "" past the end
  int ListIndex() const;
  bool SetListIndex(int index);
  void Refresh();  // reads the drives again; the chosen one stays when it is still there

  std::function<void()> Change;
  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  void Fill() const;
  void PushAll();
  mutable std::vector<std::string> drives_;
  mutable int listIndex_ = -1;
  mutable bool filled_ = false;
  bool pushing_ = false;
};

// One open folder and its sub-folders. Path is the open folder (a drive root ends in "\", other
// folders do not); List(0) .. List(ListCount() - 1) are the full paths of its sub-folders, sorted
// by name ignoring case, hidden and system ones included, links (reparse points) left out;
// List(-1) is the open folder itself, List(-2) its parent, and so on up to the root. The native
// list shows the open folder with the folders above it, then its sub-folders; a double click (or
// Enter) on a row opens it. Starts at the process's current folder.
class FolderListBox : public Control {
 public:
  FolderListBox(Form& owner, std::string name);

  const std::string& Path() const;
  // Opens a folder: an absolute path, or a drive ("d:", or a drive list's "d: [data]"), which
  // opens that drive's current folder. A folder that does not exist or cannot be listed is
  // refused (false) and the list stays as it was. Change runs when the open folder changes; the
  // same folder again is listed anew without Change.
  bool SetPath(const std::string& path);
  void Refresh();

  int ListCount() const;
  std::string List(int index) const;  // "" outside the range
  // The highlighted row, by the numbers of List: -1 (the open folder) after every SetPath.
  // Click runs when it changes. Highlighting a row does not open it.
  int ListIndex() const { return listIndex_; }
  bool SetListIndex(int index);

  std::function<void()> Change, Click;
  bool OnCommand(WORD code) override;
  bool OnDrawItem(DRAWITEMSTRUCT* d) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) override;

 private:
  void EnsureListed() const;
  int Depth() const;  // how many folders lie above the open one
  void PushAll();
  void OpenHighlighted();

  mutable std::string path_;
  mutable std::vector<std::string> ancestors_;  // the root first, the open folder last
  mutable std::vector<std::string> subs_;
  mutable bool listed_ = false;
  int listIndex_ = -1;
  bool pushing_ = false;
};

}  // namespace forms
