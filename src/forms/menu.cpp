#include "forms/menu.h"

#include <algorithm>

#include "forms/form.h"

namespace forms {

MenuItem::MenuItem(Form& owner, std::string name, MenuItem* parent, std::string caption)
    : owner_(owner), name_(std::move(name)), caption_(std::move(caption)), parent_(parent), id_(owner.NextControlId()) {
  if (parent_) parent_->children_.push_back(this);
  owner_.Register(this);
}

MenuItem::~MenuItem() {
  if (parent_) std::erase(parent_->children_, this);
  for (MenuItem* c : children_) c->parent_ = nullptr;
  owner_.Unregister(this);
}

void MenuItem::SetCaption(const std::string& c) {
  caption_ = c;
  owner_.MenuChanged();
}

void MenuItem::SetEnabled(bool e) {
  enabled_ = e;
  owner_.MenuChanged();
}

void MenuItem::SetChecked(bool c) {
  checked_ = c;
  owner_.MenuChanged();
}

void MenuItem::SetVisible(bool v) {
  visible_ = v;
  owner_.MenuChanged();
}

void MenuItem::PerformClick() {
  if (!enabled_ || !Click) return;
  HandlerScope scope(owner_);
  Click();
}

HMENU MenuItem::BuildPopup() const {
  HMENU m = CreatePopupMenu();
  for (const MenuItem* c : children_) {
    if (!c->visible_) continue;
    if (c->IsSeparator()) {
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (c->enabled_ ? MF_ENABLED : MF_GRAYED) | (c->checked_ ? MF_CHECKED : MF_UNCHECKED);
    if (!c->children_.empty()) {
      AppendMenuA(m, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(c->BuildPopup()), c->caption_.c_str());
    } else {
      AppendMenuA(m, flags, static_cast<UINT_PTR>(c->id_), c->caption_.c_str());
    }
  }
  return m;
}

MenuItem* MenuItem::FindById(int id) {
  if (id_ == id) return this;
  for (MenuItem* c : children_)
    if (MenuItem* f = c->FindById(id)) return f;
  return nullptr;
}

}  // namespace forms
