// Menu items of a form: top-level items (no parent) make the menu bar when any of them is visible;
// any item's visible sub-items can be shown as a pop-up menu (Form::PopupMenu). A caption of "-"
// is a separator.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;

class MenuItem {
 public:
  MenuItem(Form& owner, std::string name, MenuItem* parent = nullptr, std::string caption = "");
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Items() const { return children_; }
  bool IsSeparator() const { return caption_ == "-"; }

  std::function<void()> Click;
  void PerformClick();  // as when the user chooses the item (nothing when disabled)

  // --- for the form ---
  int Id() const { return id_; }
  HMENU BuildPopup() const;  // the visible sub-items, recursively
  MenuItem* FindById(int id);

 private:
  Form& owner_;
  std::string name_;
  std::string caption_;
  MenuItem* parent_;
  std::vector<MenuItem*> children_;
  int id_;
  bool enabled_ = true, checked_ = false, visible_ = true;
};

}  // namespace forms
