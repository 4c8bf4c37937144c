#include <algorithm>
#include <array>
#include <string_view>

#include "categories/categories.h"

namespace categories {

namespace {

constexpr auto kTable = std::to_array<Category>({
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
});

constexpr size_t kRunSteps =
    static_cast<size_t>(std::ranges::count_if(kTable, [](const Category& c) { return c.runPlace > 0; }));

// Each code names one category; each step of a run, 1 to the number of steps, is one category's,
// which has both routines; a category the runs take themselves has neither. So a run never calls
// a routine that is not there.
constexpr bool TableIsWhole() {
  for (size_t i = 0; i < kTable.size(); ++i)
    for (size_t j = i + 1; j < kTable.size(); ++j)
      if (std::string_view(kTable[i].code) == kTable[j].code) return false;
  for (size_t place = 1; place <= kRunSteps; ++place)
    if (std::ranges::count(kTable, static_cast<int>(place), &Category::runPlace) != 1) return false;
  return std::ranges::all_of(kTable, [](const Category& c) {
    return c.runPlace > 0 ? c.test && c.erase : c.runPlace == 0 && !c.test && !c.erase;
  });
}
static_assert(TableIsWhole(), "a category table with a code twice, a step of a run missing or twice, or routines "
                              "that do not match the category's step");

constexpr std::array<const Category*, kRunSteps> kRunOrder = [] {
  std::array<const Category*, kRunSteps> order{};
  for (const Category& c : kTable)
    if (c.runPlace > 0) order[static_cast<size_t>(c.runPlace) - 1] = &c;
  return order;
}();

}  // namespace

constinit const std::span<const Category> kCategories{kTable};

std::span<const Category* const> RunOrder() { return kRunOrder; }

}  // namespace categories
