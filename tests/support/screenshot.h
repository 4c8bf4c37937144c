// Saves what the screen (or one window) shows as a 24-bit BMP file, so a person can look at it.
#pragma once

#include <windows.h>

#include <string>

namespace ts {

// The rectangle of the window in screen coordinates (the whole screen for a null window).
bool SaveScreenshot(HWND window, const std::string& bmpPath);

// The folder where tests leave pictures for people: the scratch folder's "shots" folder.
std::string ShotPath(const std::string& name);

}  // namespace ts
