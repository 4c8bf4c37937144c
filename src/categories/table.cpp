#include "categories/categories.h"

namespace categories {

const std::array<Category, 19> kCategories{{
    {"0", "Location bar history", "a", 1, t6, c6, 5, 5},
    {"1", "Cookies", "a", 2, t7, c7, 15, 15},
    {"2", "Temporary Internet File (cache)", "a", 3, t8, c8, 25, 25},
    {"3", "Internet History", "a", 4, t11, c11, 35, -1},
    {"13", "Recent Documents History", "b", 6, t3, c3, 45, 45},
    {"12", "Start Menu Search History", "b", 7, t2, c2, 55, 55},
    {"11", "Start Menu Run History", "b", 8, t1, c1, 65, 65},
    {"10", "Windows Temporary", "b", 9, t10, c10, 70, 70},
    {"9", "Open / Save Dialog Box History", "b", 10, t5, c5, 75, 75},
    {"8", "Recycle Bin", "b", 11, t4, c4, -1, -1},
    {"17", "Clipboard", "b", 0, nullptr, nullptr, -1, -1},
    {"18", "Opera CLean Cookies", "x1", 0, nullptr, nullptr, -1, -1},
    {"19", "Opera Clean Location Bar History", "x1", 0, nullptr, nullptr, -1, -1},
    {"20", "Opera Clean Cache and History", "x1", 0, nullptr, nullptr, -1, -1},
    {"21", "Netscape Clean Cache", "x2", 0, nullptr, nullptr, -1, -1},
    {"22", "Netscape Location Bar History", "x2", 0, nullptr, nullptr, -1, -1},
    {"23", "Netscape Cookies", "x2", 0, nullptr, nullptr, -1, -1},
    {"24", "Netscape History", "x2", 0, nullptr, nullptr, -1, -1},
    {"4", "Index.dat", "a", 5, t9, c9, -1, 35},
}};

const std::array<const Category*, 11>& RunOrder() {
  static const std::array<const Category*, 11> order = [] {
    std::array<const Category*, 11> o{};
    for (const Category& c : kCategories)
      if (c.runPlace > 0) o[c.runPlace - 1] = &c;
    return o;
  }();
  return order;
}

}  // namespace categories
