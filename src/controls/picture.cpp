#include "controls/picture.h"

#include <cstdint>

namespace controls {

BITMAPINFO Rgb24Info(int w, int h, bool topDown) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = topDown ? -h : h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

HBITMAP DrawPicture(int w, int h, const std::function<COLORREF(int x, int y)>& pixel) {
  BITMAPINFO bi = Rgb24Info(w, h, true);
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  const int stride = (w * 3 + 3) & ~3;
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * stride;
    for (int x = 0; x < w; ++x) {
      COLORREF c = pixel(x, y);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  return bmp;
}

}  // namespace controls
