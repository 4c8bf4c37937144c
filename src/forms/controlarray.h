// A control array: controls of one kind under one name, told apart by an index that their events
// carry (Check1(0) .. Check1(24) share one Click(Index) handler).
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "forms/form.h"

namespace forms {

template <class T>
class ControlArray {
 public:
  ControlArray(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

  // Adds the element with this index (replacing none: an index is added once).
  T& Add(int index) {
    auto [it, added] = items_.try_emplace(index, nullptr);
    if (!added) return *it->second;
    it->second = std::make_unique<T>(owner_, name_);
    T& c = *it->second;
    c.SetIndex(index);
    if constexpr (requires { c.Click; }) c.Click = [this, index] { if (Click) Click(index); };
    if constexpr (requires { c.Change; }) c.Change = [this, index] { if (Change) Change(index); };
    if constexpr (requires { c.DblClick; }) c.DblClick = [this, index] { if (DblClick) DblClick(index); };
    return c;
  }

  T& operator[](int index) {
    auto it = items_.find(index);
    if (it == items_.end()) throw std::out_of_range(name_ + "(" + std::to_string(index) + ")");
    return *it->second;
  }
  bool Exists(int index) const { return items_.count(index) != 0; }
  int Count() const { return static_cast<int>(items_.size()); }
  int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
  int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
  const std::string& Name() const { return name_; }

  template <class F>
  void ForEach(F f) {
    for (auto& [i, c] : items_) f(i, *c);
  }

  std::function<void(int)> Click, Change, DblClick;

 private:
  Form& owner_;
  std::string name_;
  std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace forms
