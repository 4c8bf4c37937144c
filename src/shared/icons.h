// The program's pictures: its icon (from the resources), the small icons of the status list, and
// the banner of the main window, drawn when first asked for.
#pragma once

#include <windows.h>

#include <string>

namespace icons {

HICON AppIcon(int size);                 // 16, 32 or 48 pixels
HICON RowIcon(const std::string& key);   // "a" Internet Explorer, "b" Windows, "x1" Opera,
                                         // "x2" Netscape, "c" plug-in, "o" done
HBITMAP Banner(int width, int height);   // pixels

// The pictures of the main window's toolbar buttons (drawn once, kept for the life of the
// program), size x size pixels, 24 bits: white (the
// buttons' mask colour) where the picture is empty, and its edges blended into `face`.
// Keys: "erase", "test", "settings", "options", "trelmak", "about", "help", "exit", "viewlog",
// "clearlog"; for the settings windows "selectall", "selectnone", "refresh", "delete", "import",
// "download", "folder"; "translate" for the options window's language page.
HBITMAP ToolbarPicture(const std::string& key, int size, COLORREF face);

}  // namespace icons
