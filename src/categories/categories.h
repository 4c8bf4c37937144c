// The built-in trace categories: one table that says, for each, its code, its place in a run, its
// row in the status list and its routines, and the routines themselves. A test routine (t..)
// lists and counts what its category would erase; an erase routine (c..) erases it and lists and
// counts what it erased. Both report only through the run context.
#pragma once

#include <span>
#include <string>

#include "shared/runcontext.h"

namespace categories {

using Routine = void (*)(RunContext&);

struct Category {
  const char* code;     // the value name under "option\win" that enables it
  const char* caption;  // its row in the status list
  const char* icon;     // the row's small-icon key
  int runPlace;         // its step in a run (1, 2, ...: each once), 0 for those the runs take themselves (17..24)
  Routine test;         // nullptr for those
  Routine erase;
  int eraseProgress;    // the progress bar after its step in an erase run, -1: unchanged
  int testProgress;     // the same in a test run
};

// Every category, in the order of the status list (categories/table.cpp: the table is checked as
// it compiles, and the sizes here follow from it).
extern const std::span<const Category> kCategories;

// The categories with routines of their own, in the order a run takes them.
std::span<const Category* const> RunOrder();

inline constexpr const char* kPluginRowIcon = "c";
inline constexpr const char* kDoneIcon = "o";

// The routines (the numbers are their own, not the codes: t6 is code "0").
void t1(RunContext& run);  // "11" Start-menu Run history
void c1(RunContext& run);
void t2(RunContext& run);  // "12" Start-menu search history
void c2(RunContext& run);
void t3(RunContext& run);  // "13" recent documents
void c3(RunContext& run);
void t4(RunContext& run);  // "8" recycle bin
void c4(RunContext& run);
void t5(RunContext& run);  // "9" Open/Save dialog history
void c5(RunContext& run);
void t6(RunContext& run);  // "0" typed addresses
void c6(RunContext& run);
void t7(RunContext& run);  // "1" cookies
void c7(RunContext& run);
void t8(RunContext& run);  // "2" temporary Internet files
void c8(RunContext& run);
void t9(RunContext& run);  // "4" index.dat
void c9(RunContext& run);
void t10(RunContext& run);  // "10" Windows temporary files
void c10(RunContext& run);
void t11(RunContext& run);  // "3" Internet history
void c11(RunContext& run);

// The user's Cookies folder as the shell gives it, without a closing "\" ("" when the shell has
// none or it is not absolute); `remember` hands it to the run (the main window keeps it, and the
// setting "cookies" too).
std::string CookiesFolder(RunContext& run, bool remember);

}  // namespace categories
