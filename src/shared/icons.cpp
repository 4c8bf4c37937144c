#include "shared/icons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace icons {

namespace {

struct Rgba {
  double r, g, b, a;
};

using Shape = std::function<Rgba(double u, double v)>;  // unit coordinates, y down

// Renders a shape, four samples a pixel, into a 32-bit icon with its alpha channel.
HICON Render(const Shape& shape, int size) {
  BITMAPV5HEADER bi{};
  bi.bV5Size = sizeof bi;
  bi.bV5Width = size;
  bi.bV5Height = -size;
  bi.bV5Planes = 1;
  bi.bV5BitCount = 32;
  bi.bV5Compression = BI_BITFIELDS;
  bi.bV5RedMask = 0x00FF0000;
  bi.bV5GreenMask = 0x0000FF00;
  bi.bV5BlueMask = 0x000000FF;
  bi.bV5AlphaMask = 0xFF000000;
  HDC dc = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!color) return nullptr;
  auto* px = static_cast<DWORD*>(bits);
  const int ss = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          Rgba c = shape((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      a /= ss * ss;
      // Premultiplied, as the system draws 32-bit icons.
      auto ch = [&](double v) { return static_cast<DWORD>(std::lround(std::min(255.0, v / (ss * ss)))); };
      px[y * size + x] = (static_cast<DWORD>(std::lround(a * 255)) << 24) | (ch(r) << 16) | (ch(g) << 8) | ch(b);
    }
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO ii{};
  ii.fIcon = TRUE;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

const Rgba kNone{0, 0, 0, 0};
Rgba Solid(int r, int g, int b) { return {double(r), double(g), double(b), 1}; }
double Dist(double u, double v, double cu, double cv) { return std::hypot(u - cu, v - cv); }

Rgba InternetExplorer(double u, double v) {
  double d = Dist(u, v, 0.5, 0.52);
  if (d > 0.44) return kNone;
  if (d > 0.34) return Solid(30, 110, 210);
  if (std::fabs(v - 0.52) < 0.07 && u > 0.22 && u < 0.8) return Solid(30, 110, 210);
  if (d < 0.16 && v > 0.52 && u > 0.5) return Solid(255, 255, 255);
  return d < 0.34 ? Solid(255, 255, 255) : kNone;
}

Rgba Windows(double u, double v) {
  if (u < 0.08 || u > 0.92 || v < 0.08 || v > 0.92) return kNone;
  if (std::fabs(u - 0.5) < 0.04 || std::fabs(v - 0.5) < 0.04) return kNone;
  if (u < 0.5 && v < 0.5) return Solid(230, 70, 40);
  if (u >= 0.5 && v < 0.5) return Solid(120, 190, 40);
  if (u < 0.5) return Solid(40, 150, 230);
  return Solid(250, 190, 20);
}

Rgba Opera(double u, double v) {
  double du = (u - 0.5) / 0.34, dv = (v - 0.5) / 0.44;
  double d = std::hypot(du, dv);
  if (d > 1) return kNone;
  if (d > 0.55) return Solid(210, 30, 40);
  return kNone;
}

Rgba Netscape(double u, double v) {
  if (u < 0.08 || u > 0.92 || v < 0.08 || v > 0.92) return kNone;
  // A white "N" on a teal square.
  bool n = (u > 0.26 && u < 0.38 && v > 0.22 && v < 0.78) || (u > 0.62 && u < 0.74 && v > 0.22 && v < 0.78) ||
           (std::fabs((u - 0.26) - (v - 0.22) * (0.48 / 0.56)) < 0.09 && v > 0.22 && v < 0.78);
  return n ? Solid(255, 255, 255) : Solid(0, 128, 128);
}

Rgba Plugin(double u, double v) {
  bool body = u > 0.14 && u < 0.78 && v > 0.26 && v < 0.9;
  bool knobTop = Dist(u, v, 0.46, 0.2) < 0.13;
  bool knobRight = Dist(u, v, 0.84, 0.58) < 0.13;
  if (body || knobTop || knobRight) return Solid(60, 160, 70);
  return kNone;
}

Rgba Done(double u, double v) {
  // A check mark: two strokes.
  auto seg = [&](double u0, double v0, double u1, double v1) {
    double du = u1 - u0, dv = v1 - v0;
    double t = std::clamp(((u - u0) * du + (v - v0) * dv) / (du * du + dv * dv), 0.0, 1.0);
    return Dist(u, v, u0 + t * du, v0 + t * dv);
  };
  double d = std::min(seg(0.14, 0.52, 0.4, 0.8), seg(0.4, 0.8, 0.88, 0.2));
  return d < 0.1 ? Solid(30, 150, 50) : kNone;
}

}  // namespace

HICON AppIcon(int size) {
  static std::map<int, HICON> cache;
  HICON& icon = cache[size];
  if (!icon)
    icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
  if (!icon) icon = LoadIcon(nullptr, IDI_APPLICATION);
  return icon;
}

HICON RowIcon(const std::string& key) {
  static std::map<std::string, HICON> cache;
  HICON& icon = cache[key];
  if (icon) return icon;
  Shape shape = key == "a"    ? Shape(InternetExplorer)
                : key == "b"  ? Shape(Windows)
                : key == "x1" ? Shape(Opera)
                : key == "x2" ? Shape(Netscape)
                : key == "c"  ? Shape(Plugin)
                              : Shape(Done);
  icon = Render(shape, 16);
  return icon;
}

HBITMAP Banner(int width, int height) {
  // 24 bits a pixel: a 32-bit bitmap would carry an empty alpha channel, which the static
  // control of the version 6 common controls draws as transparent.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  for (int x = 0; x < width; ++x) {
    double t = static_cast<double>(x) / std::max(1, width - 1);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(20 + int(40 * t), 60 + int(80 * t), 140 + int(90 * t)));
    HGDIOBJ op = SelectObject(dc, pen);
    MoveToEx(dc, x, 0, nullptr);
    LineTo(dc, x, height);
    SelectObject(dc, op);
    DeleteObject(pen);
  }
  DrawIconEx(dc, 10, (height - 48) / 2, AppIcon(48), 48, 48, 0, nullptr, DI_NORMAL);
  SetBkMode(dc, TRANSPARENT);
  HFONT title = CreateFontA(-26, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
  HFONT line = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
  HGDIOBJ of = SelectObject(dc, title);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 70, height / 2 - 24, "Velk Rezeza Pro", 15);
  SelectObject(dc, line);
  SetTextColor(dc, RGB(210, 225, 245));
  const char* tag = "Erases the traces Windows and your browsers leave behind";
  TextOutA(dc, 72, height / 2 + 8, tag, lstrlenA(tag));
  SelectObject(dc, of);
  DeleteObject(title);
  DeleteObject(line);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

}  // namespace icons
