#include "shared/icons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "controls/picture.h"

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


// --- toolbar pictures ---------------------------------------------------------------------------------
//
// Each picture is a stack of layers, each a signed distance (negative inside) over unit coordinates
// with its colour; later layers lie over earlier ones. Sixteen samples a pixel.

using Sdf = std::function<double(double u, double v)>;
struct Layer {
  Sdf shape;
  COLORREF color;
};

Sdf Circle(double cx, double cy, double r) {
  return [=](double u, double v) { return std::hypot(u - cx, v - cy) - r; };
}
Sdf Ring(double cx, double cy, double r, double half) {
  return [=](double u, double v) { return std::fabs(std::hypot(u - cx, v - cy) - r) - half; };
}
// A rectangle of half sizes hw, hh around (cx, cy), turned by `angle` radians, corners rounded by r.
Sdf Box(double cx, double cy, double hw, double hh, double r = 0, double angle = 0) {
  double c = std::cos(angle), s = std::sin(angle);
  return [=](double u, double v) {
    double x = (u - cx) * c + (v - cy) * s, y = -(u - cx) * s + (v - cy) * c;
    double qx = std::fabs(x) - (hw - r), qy = std::fabs(y) - (hh - r);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
  };
}
// A stroke from (x0, y0) to (x1, y1) with round ends, half as thick as `half`.
Sdf Stroke(double x0, double y0, double x1, double y1, double half) {
  return [=](double u, double v) {
    double du = x1 - x0, dv = y1 - y0;
    double t = std::clamp(((u - x0) * du + (v - y0) * dv) / (du * du + dv * dv), 0.0, 1.0);
    return std::hypot(u - (x0 + t * du), v - (y0 + t * dv)) - half;
  };
}
// A triangle; only its inside and outside (no true distance), for shapes that are not outlined.
Sdf Triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
  return [=](double u, double v) {
    auto side = [&](double ax, double ay, double bx, double by) { return (bx - ax) * (v - ay) - (by - ay) * (u - ax); };
    double s0 = side(x0, y0, x1, y1), s1 = side(x1, y1, x2, y2), s2 = side(x2, y2, x0, y0);
    bool negative = s0 < 0 || s1 < 0 || s2 < 0, positive = s0 > 0 || s1 > 0 || s2 > 0;
    return negative && positive ? 1.0 : -1.0;
  };
}
Sdf Grow(Sdf a, double by) {
  return [=](double u, double v) { return a(u, v) - by; };
}
Sdf Either(Sdf a, Sdf b) {
  return [=](double u, double v) { return std::min(a(u, v), b(u, v)); };
}
Sdf Without(Sdf a, Sdf b) {
  return [=](double u, double v) { return std::max(a(u, v), -b(u, v)); };
}
// The part of a shape on one side of the line through (x, y) in direction (dx, dy): its left.
Sdf LeftOf(Sdf a, double x, double y, double dx, double dy) {
  return [=](double u, double v) { return std::max(a(u, v), (u - x) * dy - (v - y) * dx); };
}

// A shape with a darker outline: the outline layer, then the fill shrunk by the line's width.
void Outlined(std::vector<Layer>& layers, Sdf shape, COLORREF fill, COLORREF line, double width = 0.06) {
  layers.push_back({shape, line});
  layers.push_back({Grow(shape, -width), fill});
}

std::vector<Layer> PictureLayers(const std::string& key) {
  std::vector<Layer> l;
  const COLORREF ink = RGB(40, 50, 70);
  const double pi = 3.14159265358979;
  auto page = [&](double x0, double y0, double x1, double y1) {
    Outlined(l, Box((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2, 0.04), RGB(250, 250, 246),
             RGB(110, 120, 140), 0.055);
  };
  if (key == "erase") {
    // An eraser sweeping a line away.
    l.push_back({Stroke(0.06, 0.9, 0.46, 0.9, 0.04), RGB(120, 135, 165)});
    Sdf body = Box(0.54, 0.45, 0.42, 0.22, 0.07, -pi / 5);
    Outlined(l, body, RGB(245, 246, 250), RGB(70, 80, 110));
    Sdf sleeve = LeftOf(Grow(body, -0.06), 0.54, 0.45, std::sin(pi / 5), std::cos(pi / 5));
    l.push_back({sleeve, RGB(215, 50, 60)});
  } else if (key == "test") {
    // A magnifying glass.
    l.push_back({Stroke(0.6, 0.6, 0.88, 0.88, 0.09), RGB(90, 60, 40)});
    l.push_back({Stroke(0.62, 0.62, 0.86, 0.86, 0.05), RGB(150, 100, 60)});
    Outlined(l, Circle(0.4, 0.4, 0.3), RGB(190, 225, 250), RGB(60, 80, 120), 0.08);
    l.push_back({Stroke(0.27, 0.32, 0.33, 0.24, 0.035), RGB(250, 252, 254)});
  } else if (key == "settings") {
    // A list with three ticked lines.
    page(0.14, 0.06, 0.86, 0.94);
    for (int i = 0; i < 3; ++i) {
      double y = 0.28 + 0.22 * i;
      l.push_back({Stroke(0.26, y, 0.34, y + 0.07, 0.04), RGB(30, 150, 60)});
      l.push_back({Stroke(0.34, y + 0.07, 0.46, y - 0.08, 0.04), RGB(30, 150, 60)});
      l.push_back({Stroke(0.55, y, 0.74, y, 0.03), RGB(120, 130, 150)});
    }
  } else if (key == "options") {
    // A gear.
    Sdf teeth = Circle(0.5, 0.5, 0.3);
    for (int i = 0; i < 8; ++i) {
      double a = i * pi / 4;
      teeth = Either(teeth, Box(0.5 + 0.33 * std::cos(a), 0.5 + 0.33 * std::sin(a), 0.12, 0.09, 0.02, a));
    }
    Sdf gear = Without(teeth, Circle(0.5, 0.5, 0.13));
    Outlined(l, gear, RGB(140, 160, 190), RGB(50, 65, 95), 0.06);
  } else if (key == "trelmak") {
    // A plug-in piece with a pencil.
    Sdf piece = Either(Either(Box(0.42, 0.55, 0.3, 0.3, 0.04), Circle(0.42, 0.22, 0.11)), Circle(0.75, 0.55, 0.11));
    Outlined(l, piece, RGB(90, 180, 90), RGB(35, 100, 45), 0.06);
    Sdf pencil = Box(0.62, 0.5, 0.34, 0.075, 0.0, -pi / 4);
    Outlined(l, pencil, RGB(250, 200, 60), RGB(140, 90, 20), 0.045);
    l.push_back({Stroke(0.35, 0.77, 0.4, 0.72, 0.045), ink});  // the point
    l.push_back({Box(0.84, 0.28, 0.06, 0.075, 0.0, -pi / 4), RGB(230, 120, 140)});  // the eraser end
  } else if (key == "about") {
    Outlined(l, Circle(0.5, 0.5, 0.44), RGB(50, 120, 210), RGB(25, 65, 140), 0.06);
    l.push_back({Circle(0.5, 0.28, 0.075), RGB(255, 255, 254)});
    l.push_back({Stroke(0.5, 0.45, 0.5, 0.74, 0.07), RGB(255, 255, 254)});
  } else if (key == "help") {
    Outlined(l, Circle(0.5, 0.5, 0.44), RGB(40, 150, 110), RGB(20, 90, 65), 0.06);
    // A question mark: an open arc, a short stem and a dot.
    Sdf arc = Ring(0.5, 0.38, 0.15, 0.06);
    arc = Without(arc, Box(0.33, 0.52, 0.17, 0.1, 0, 0));
    l.push_back({arc, RGB(255, 255, 254)});
    l.push_back({Stroke(0.56, 0.51, 0.5, 0.58, 0.06), RGB(255, 255, 254)});
    l.push_back({Circle(0.5, 0.76, 0.07), RGB(255, 255, 254)});
  } else if (key == "exit") {
    // The power sign.
    Outlined(l, Circle(0.5, 0.5, 0.44), RGB(210, 55, 50), RGB(130, 25, 25), 0.06);
    Sdf ring = Without(Ring(0.5, 0.53, 0.21, 0.055), Box(0.5, 0.25, 0.1, 0.2, 0, 0));
    l.push_back({ring, RGB(255, 255, 254)});
    l.push_back({Stroke(0.5, 0.2, 0.5, 0.48, 0.055), RGB(255, 255, 254)});
  } else if (key == "translate") {
    // A page of lines with a pencil writing on it.
    page(0.1, 0.06, 0.72, 0.94);
    for (int i = 0; i < 4; ++i) {
      double y = 0.26 + 0.16 * i;
      l.push_back({Stroke(0.22, y, i == 3 ? 0.44 : 0.6, y, 0.035), RGB(70, 110, 190)});
    }
    Sdf pencil = Box(0.66, 0.52, 0.36, 0.08, 0.0, -pi / 3);
    Outlined(l, pencil, RGB(250, 200, 60), RGB(140, 90, 20), 0.045);
    l.push_back({Stroke(0.5, 0.82, 0.54, 0.76, 0.045), ink});
  } else if (key == "folder") {
    // An open folder: the back with its tab, the front leaning over it.
    Outlined(l, Either(Box(0.44, 0.56, 0.38, 0.3, 0.04), Box(0.24, 0.26, 0.16, 0.08, 0.03)), RGB(230, 185, 70),
             RGB(140, 100, 25), 0.05);
    Sdf front = [](double u, double v) {
      // A parallelogram from (0.22, 0.42)-(0.96, 0.42) down to (0.06, 0.86)-(0.80, 0.86).
      double shift = (v - 0.42) / 0.44 * 0.16;
      return std::max(std::max(0.42 - v, v - 0.86), std::max(0.22 - shift - u, u - (0.96 - shift)));
    };
    Outlined(l, front, RGB(250, 210, 100), RGB(140, 100, 25), 0.05);
  } else if (key == "viewlog" || key == "clearlog") {
    page(0.16, 0.06, 0.84, 0.94);
    for (int i = 0; i < 4; ++i) {
      double y = 0.28 + 0.16 * i;
      l.push_back({Stroke(0.3, y, i == 3 ? 0.52 : 0.7, y, 0.035), RGB(70, 110, 190)});
    }
    if (key == "clearlog") {
      l.push_back({Stroke(0.5, 0.5, 0.9, 0.9, 0.08), RGB(200, 40, 40)});
      l.push_back({Stroke(0.9, 0.5, 0.5, 0.9, 0.08), RGB(200, 40, 40)});
    }
  }
  return l;
}

// The pictures of the settings windows' buttons.
std::vector<Layer> SettingsPictureLayers(const std::string& key) {
  std::vector<Layer> l;
  const double pi = 3.14159265358979;
  const COLORREF green = RGB(30, 150, 60), red = RGB(205, 45, 45), blue = RGB(45, 100, 190);
  auto box = [&](double cx, double cy, bool ticked) {
    Outlined(l, Box(cx, cy, 0.2, 0.2, 0.04), RGB(252, 252, 250), RGB(90, 100, 125), 0.055);
    if (ticked) {
      l.push_back({Stroke(cx - 0.1, cy, cx - 0.02, cy + 0.09, 0.045), green});
      l.push_back({Stroke(cx - 0.02, cy + 0.09, cx + 0.13, cy - 0.11, 0.045), green});
    }
  };
  if (key == "selectall" || key == "selectnone") {
    // Two boxes, ticked or empty.
    box(0.3, 0.3, key == "selectall");
    box(0.66, 0.7, key == "selectall");
  } else if (key == "refresh") {
    // Two arrows chasing each other round a circle.
    auto arc = [=](double from, double to) -> Sdf {
      Sdf ring = Ring(0.5, 0.5, 0.3, 0.065);
      return [=](double u, double v) {
        double a = std::atan2(v - 0.5, u - 0.5) * 180 / pi;
        if (a < 0) a += 360;
        return a >= from && a <= to ? ring(u, v) : 1.0;
      };
    };
    l.push_back({arc(200, 335), blue});
    l.push_back({arc(20, 155), blue});
    l.push_back({Triangle(0.64, 0.38, 0.92, 0.38, 0.78, 0.58), blue});
    l.push_back({Triangle(0.08, 0.62, 0.36, 0.62, 0.22, 0.42), blue});
  } else if (key == "delete") {
    Outlined(l, Box(0.42, 0.5, 0.3, 0.42, 0.04), RGB(250, 250, 246), RGB(110, 120, 140), 0.055);
    l.push_back({Stroke(0.52, 0.5, 0.88, 0.86, 0.08), red});
    l.push_back({Stroke(0.88, 0.5, 0.52, 0.86, 0.08), red});
  } else if (key == "import" || key == "download") {
    // An arrow coming down onto a tray (import) or a line (download).
    l.push_back({Stroke(0.5, 0.08, 0.5, 0.42, 0.08), green});
    l.push_back({Triangle(0.22, 0.38, 0.78, 0.38, 0.5, 0.68), green});
    if (key == "import") {
      l.push_back({Stroke(0.14, 0.66, 0.14, 0.88, 0.06), RGB(90, 100, 125)});
      l.push_back({Stroke(0.14, 0.88, 0.86, 0.88, 0.06), RGB(90, 100, 125)});
      l.push_back({Stroke(0.86, 0.88, 0.86, 0.66, 0.06), RGB(90, 100, 125)});
    } else {
      l.push_back({Stroke(0.18, 0.86, 0.82, 0.86, 0.06), RGB(90, 100, 125)});
    }
  }
  return l;
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

HBITMAP ToolbarPicture(const std::string& key, int size, COLORREF face) {
  static std::map<std::tuple<std::string, int, COLORREF>, HBITMAP> cache;
  HBITMAP& picture = cache[{key, size, face}];
  if (picture) return picture;
  std::vector<Layer> layers = PictureLayers(key);
  if (layers.empty()) layers = SettingsPictureLayers(key);
  const int ss = 4;
  picture = controls::DrawPicture(size, size, [&](int x, int y) {
    double r = 0, g = 0, b = 0;
    int covered = 0;
    for (int sy = 0; sy < ss; ++sy)
      for (int sx = 0; sx < ss; ++sx) {
        double u = (x + (sx + 0.5) / ss) / size, v = (y + (sy + 0.5) / ss) / size;
        COLORREF c = face;
        bool hit = false;
        for (const Layer& l : layers)
          if (l.shape(u, v) < 0) {
            c = l.color;
            hit = true;
          }
        covered += hit;
        r += GetRValue(c);
        g += GetGValue(c);
        b += GetBValue(c);
      }
    if (!covered) return RGB(255, 255, 255);  // empty: the mask colour
    auto ch = [&](double v) { return static_cast<int>(std::lround(v / (ss * ss))); };
    COLORREF out = RGB(ch(r), ch(g), ch(b));
    return out == RGB(255, 255, 255) ? RGB(254, 254, 254) : out;  // drawn white is not the mask
  });
  return picture;
}

}  // namespace icons
