// The saved properties of a control, as a container that saves a window's design keeps them: keys
// in the order they were written, matched without regard to case when read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "controls/picture.h"
#include "forms/control.h"

namespace controls {

using PropertyValue = std::variant<int32_t, bool, std::string, forms::Font, ButtonPicture>;

class PropertyBag {
 public:
  void Write(const std::string& key, PropertyValue value);
  const PropertyValue* Read(const std::string& key) const;  // null when the key is missing
  const std::vector<std::pair<std::string, PropertyValue>>& Items() const { return items_; }
  void Remove(const std::string& key);
  // The value under a key when it is there and of that type, else the fallback.
  template <class T>
  T Get(const std::string& key, T fallback) const {
    const PropertyValue* v = Read(key);
    const T* t = v ? std::get_if<T>(v) : nullptr;
    return t ? *t : fallback;
  }

 private:
  std::vector<std::pair<std::string, PropertyValue>> items_;
};

}  // namespace controls
