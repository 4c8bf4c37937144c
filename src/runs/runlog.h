// The totals of a run as the main window shows them.
#pragma once

#include <string>

// Bytes as kilobytes, or as megabytes from 1,000 kilobytes on, with three decimals: "5.000 KB",
// "0.977 MB".
std::string DiskSpaceText(double bytes);
