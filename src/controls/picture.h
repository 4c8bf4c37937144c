// Pictures of the custom controls: what a button shows, and small pictures drawn by code.
#pragma once

#include <windows.h>

#include <functional>

namespace controls {

// A picture shown on a control: a bitmap or an icon. The control does not own it: whoever made it
// keeps it alive as long as a control shows it.
struct ButtonPicture {
  HBITMAP bitmap = nullptr;
  HICON icon = nullptr;
  bool Empty() const { return !bitmap && !icon; }
  bool operator==(const ButtonPicture&) const = default;
};

// The header of a 24-bit device-independent bitmap of w x h pixels, rows bottom-up (topDown false)
// or top-down.
BITMAPINFO Rgb24Info(int w, int h, bool topDown = false);

// A 24-bit bitmap of w x h pixels whose every pixel the function gives (x to the right, y down).
HBITMAP DrawPicture(int w, int h, const std::function<COLORREF(int x, int y)>& pixel);

}  // namespace controls
