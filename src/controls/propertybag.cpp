#include "controls/propertybag.h"

#include "runtime/text.h"

namespace controls {

void PropertyBag::Write(const std::string& key, PropertyValue value) {
  Remove(key);
  items_.emplace_back(key, std::move(value));
}

const PropertyValue* PropertyBag::Read(const std::string& key) const {
  std::string k = rt::LCase(key);
  for (const auto& [name, value] : items_)
    if (rt::LCase(name) == k) return &value;
  return nullptr;
}

void PropertyBag::Remove(const std::string& key) {
  std::string k = rt::LCase(key);
  std::erase_if(items_, [&k](const auto& item) { return rt::LCase(item.first) == k; });
}

}  // namespace controls
