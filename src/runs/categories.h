// The built-in trace categories: their codes, status-list captions and icons, in the order of the
// status list, and the order in which a run takes them.
#pragma once

#include <array>

struct TraceCategory {
  const char* code;     // the value name under "option\win"
  const char* caption;  // the status-list row
  const char* icon;     // small-icon key
};

inline constexpr std::array<TraceCategory, 19> kStatusListOrder{{
    {"0", "Location bar history", "a"},
    {"1", "Cookies", "a"},
    {"2", "Temporary Internet File (cache)", "a"},
    {"3", "Internet History", "a"},
    {"13", "Recent Documents History", "b"},
    {"12", "Start Menu Search History", "b"},
    {"11", "Start Menu Run History", "b"},
    {"10", "Windows Temporary", "b"},
    {"9", "Open / Save Dialog Box History", "b"},
    {"8", "Recycle Bin", "b"},
    {"17", "Clipboard", "b"},
    {"18", "Opera CLean Cookies", "x1"},
    {"19", "Opera Clean Location Bar History", "x1"},
    {"20", "Opera Clean Cache and History", "x1"},
    {"21", "Netscape Clean Cache", "x2"},
    {"22", "Netscape Location Bar History", "x2"},
    {"23", "Netscape Cookies", "x2"},
    {"24", "Netscape History", "x2"},
    {"4", "Index.dat", "a"},
}};

inline constexpr const char* kPluginRowIcon = "c";
inline constexpr const char* kDoneIcon = "o";

// The run order of the categories that have routines of their own, with the progress value set
// after each step (-1: unchanged), for the erase run and the test run.
struct RunStep {
  const char* code;
  int eraseProgress;
  int testProgress;
};
inline constexpr std::array<RunStep, 11> kRunOrder{{
    {"0", 5, 5},
    {"1", 15, 15},
    {"2", 25, 25},
    {"3", 35, -1},
    {"4", -1, 35},
    {"13", 45, 45},
    {"12", 55, 55},
    {"11", 65, 65},
    {"10", 70, 70},
    {"9", 75, 75},
    {"8", -1, -1},
}};
