// chameleonButton: properties, saved properties, and the mouse, keyboard, focus and hover input.
#include "controls/chameleonbutton.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "controls/buttonaccessible.h"
#include "forms/form.h"
#include "runtime/text.h"
#include "runtime/windowclass.h"

namespace controls {

namespace {
const char kButtonClass[] = "VelkChameleonButton";

LRESULT CALLBACK ButtonClassProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

int16_t ShiftState() {
  return static_cast<int16_t>((GetKeyState(VK_SHIFT) < 0 ? forms::kShiftMask : 0) |
                              (GetKeyState(VK_CONTROL) < 0 ? forms::kCtrlMask : 0) |
                              (GetKeyState(VK_MENU) < 0 ? forms::kAltMask : 0));
}

int16_t MouseShift(WPARAM w) {
  return static_cast<int16_t>(((w & MK_SHIFT) ? forms::kShiftMask : 0) | ((w & MK_CONTROL) ? forms::kCtrlMask : 0) |
                              (GetKeyState(VK_MENU) < 0 ? forms::kAltMask : 0));
}

int16_t MouseButtons(WPARAM w) {
  return static_cast<int16_t>(((w & MK_LBUTTON) ? forms::kLeftButton : 0) |
                              ((w & MK_RBUTTON) ? forms::kRightButton : 0) |
                              ((w & MK_MBUTTON) ? forms::kMiddleButton : 0));
}
}  // namespace

ButtonSettings MainWindowButtonSettings() {
  ButtonSettings s;
  s.foreOver = RGB(0, 0, 192);
  s.picturePosition = PicturePositionKind::PictureTop;
  s.softBevel = false;
  return s;
}

// --- life cycle ----------------------------------------------------------------------------------

chameleonButton::chameleonButton(forms::Form& owner, std::string name) : CaptionedControl(owner, name, name) {
  Init();
}

chameleonButton::chameleonButton(forms::Form& owner, std::string name, std::string caption)
    : CaptionedControl(owner, std::move(name), std::move(caption)) {
  Init();
}

void chameleonButton::Init() {
  rt::RegisterWindowClass(kButtonClass, ButtonClassProc, CS_DBLCLKS, nullptr);
  // A button newly placed on a window takes the system's colours.
  BuildPalette();
  backColor_ = backOver_ = palette_.face;
  foreColor_ = foreOver_ = palette_.text;
  maskColor_ = RGB(192, 192, 192);
  accessKey_ = chameleon::DeriveAccessKey(caption_);
}

chameleonButton::~chameleonButton() {
  paintingOn_ = false;
  ReleaseImages();  // the window itself goes with the base, which first unhooks it from this object
}

forms::Control::NativeLook chameleonButton::Look() const {
  // BS_PUSHBUTTON in the low bits: accessibility tools take it for what it is.
  return {kButtonClass, static_cast<DWORD>(WS_TABSTOP | BS_PUSHBUTTON), 0, caption_};
}

void chameleonButton::AfterCreate() {
  painted_ = false;
  hovered_ = tracking_ = mousePressed_ = spacePressed_ = false;
  hasFocus_ = GetFocus() == hwnd_;
  MeasurePicture();
  Resized();
  Shown();
}

// Shown: a transparent button gets its snapshot image (once) and a new snapshot; then it paints.
void chameleonButton::Shown() {
  if (buttonType_ == ButtonTypeKind::Transparent && hwnd_ && clientW_ > 0 && clientH_ > 0) {
    if (snapshot_ && (snapshotW_ != clientW_ || snapshotH_ != clientH_)) {
      DeleteObject(snapshot_);
      snapshot_ = nullptr;
    }
    if (!snapshot_) {
      HDC screen = GetDC(nullptr);
      snapshot_ = CreateCompatibleBitmap(screen, clientW_, clientH_);
      snapshotW_ = clientW_;
      snapshotH_ = clientH_;
      ReleaseDC(nullptr, screen);
    }
    SnapshotBackground();
  }
  paintingOn_ = true;
  BuildPalette();
  PaintButton(ButtonStage::Released, true);
}

bool chameleonButton::ShownStyle() const {
  return !hwnd_ || (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void chameleonButton::Report(const char* key) {
  if (PropertyChanged) PropertyChanged(key);
}

// --- properties --------------------------------------------------------------------------------

void chameleonButton::SetBackColor(ButtonColor c) {
  backColor_ = c;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("BCOL");
}

void chameleonButton::SetBackOver(ButtonColor c) {
  backOver_ = c;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("BCOLO");
}

void chameleonButton::SetForeColor(ButtonColor c) {
  foreColor_ = c;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("FCOL");
}

void chameleonButton::SetForeOver(ButtonColor c) {
  foreOver_ = c;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("FCOLO");
}

void chameleonButton::SetMaskColor(ButtonColor c) {
  maskColor_ = c;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("MCOL");
}

void chameleonButton::SetButtonType(ButtonTypeKind t) {
  buttonType_ = t;
  if (t == ButtonTypeKind::Transparent && paintingOn_) SnapshotBackground();
  BuildPalette();  // the theme colour depends on the type
  Resized();
  Report("BTYPE");
}

void chameleonButton::CaptionChanged() {
  SetNativeText(caption_);
  accessKey_ = chameleon::DeriveAccessKey(caption_);
  LayoutCaption();
  PaintButton(ButtonStage::Released, true);
  Report("TX");
}

void chameleonButton::FontChanged() {
  LayoutCaption();
  PaintButton(ButtonStage::Released, true);
  if (!quietFont_) Report("FONT");
}

void chameleonButton::SetFontAttribute(const std::function<void(forms::Font&)>& change) {
  forms::Font f = GetFont();
  change(f);
  quietFont_ = true;
  SetFont(f);
  quietFont_ = false;
}

void chameleonButton::SetFontBold(bool v) {
  SetFontAttribute([v](forms::Font& f) { f.bold = v; });
}
void chameleonButton::SetFontItalic(bool v) {
  SetFontAttribute([v](forms::Font& f) { f.italic = v; });
}
void chameleonButton::SetFontUnderline(bool v) {
  SetFontAttribute([v](forms::Font& f) { f.underline = v; });
}
void chameleonButton::SetFontSize(double points) {
  SetFontAttribute([points](forms::Font& f) { f.size = points; });
}
void chameleonButton::SetFontName(const std::string& name) {
  SetFontAttribute([&name](forms::Font& f) { f.name = name; });
}
int16_t chameleonButton::FontSize() const { return static_cast<int16_t>(std::nearbyint(GetFont().size)); }

void chameleonButton::SetColorScheme(ColorSchemeKind s) {
  colorScheme_ = s;
  BuildPalette();
  PaintButton(ButtonStage::Released, true);
  Report("COLTYPE");
}

void chameleonButton::SetShowFocusRect(bool v) {
  showFocusRect_ = v;
  PaintButton(lastStage_, true);
  Report("FOCUSR");
}

void chameleonButton::SetMousePointer(int16_t code) {
  mousePointer_ = code;
  SetCursorNow();
  Report("MPTR");
}

void chameleonButton::SetMouseIcon(HCURSOR cursor) {
  mouseIcon_ = cursor;
  SetCursorNow();
  Report("MICON");
}

void chameleonButton::SetHandPointer(bool v) {
  handPointer_ = v;
  if (v) {
    mouseIcon_ = LoadCursor(nullptr, IDC_HAND);
    mousePointer_ = 99;
  } else {
    mouseIcon_ = nullptr;
    mousePointer_ = 1;
  }
  SetCursorNow();
  Report("HAND");
}

void chameleonButton::SetSoftBevel(bool v) {
  softBevel_ = v;
  BuildPalette();
  PaintButton(lastStage_, true);
  Report("SOFT");
}

void chameleonButton::SetPictureNormal(const ButtonPicture& p) {
  pictureNormal_ = p;
  MeasurePicture();
  LayoutCaption();
  PaintButton(lastStage_, true);
  Report("PICN");
}

void chameleonButton::SetPictureOver(const ButtonPicture& p) {
  pictureOver_ = p;
  if (hovered_) PaintButton(lastStage_, true);
  Report("PICO");
}

void chameleonButton::SetPicturePosition(PicturePositionKind p) {
  picturePosition_ = p;
  Report("PICPOS");
  LayoutCaption();
  PaintButton(lastStage_, true);
}

void chameleonButton::SetUseMaskColor(bool v) {
  useMaskColor_ = v;
  if (!pictureNormal_.Empty()) PaintButton(lastStage_, true);
  Report("UMCOL");
}

void chameleonButton::SetUseGreyscale(bool v) {
  useGreyscale_ = v;
  if (!pictureNormal_.Empty()) PaintButton(lastStage_, true);
  Report("NGREY");
}

void chameleonButton::SetSpecialEffect(SpecialEffectKind e) {
  specialEffect_ = e;
  PaintButton(lastStage_, true);
  Report("FX");
}

void chameleonButton::SetCheckBoxBehaviour(bool v) {
  checkBoxBehaviour_ = v;
  PaintButton(lastStage_, true);
  Report("CHECK");
}

void chameleonButton::SetValue(bool v) {
  value_ = v;
  if (checkBoxBehaviour_) PaintButton(ButtonStage::Released, true);
  Report("VALUE");
}

void chameleonButton::SetDefault(bool d) {
  if (default_ == d) return;
  default_ = d;
  PaintButton(lastStage_, true);
}

void chameleonButton::DisableRefresh() { paintingOn_ = false; }

void chameleonButton::Refresh() {
  if (buttonType_ == ButtonTypeKind::Transparent) SnapshotBackground();
  BuildPalette();
  LayoutCaption();
  paintingOn_ = true;
  PaintButton(lastStage_, true);
}

void chameleonButton::Apply(const ButtonSettings& s) {
  paintingOn_ = false;  // one painting at the end, not one per property
  SetButtonType(s.type);
  SetColorScheme(s.scheme);
  SetBackColor(s.back);
  SetBackOver(s.back);
  SetForeColor(s.fore);
  SetForeOver(s.foreOver);
  SetMaskColor(s.mask);
  SetUseMaskColor(true);
  forms::Font f;
  f.name = "Arial";
  f.size = 8.25;
  f.bold = s.bold;
  SetFont(f);
  SetPicturePosition(s.picturePosition);
  SetSoftBevel(s.softBevel);
  SetMousePointer(1);
  paintingOn_ = ShownStyle();
  Resized();
}

// --- saved properties ----------------------------------------------------------------------------

void chameleonButton::WriteProperties(PropertyBag& bag) const {
  auto i32 = [](auto v) { return PropertyValue(static_cast<int32_t>(v)); };
  bag.Write("BTYPE", i32(buttonType_));
  bag.Write("TX", caption_);
  bag.Write("ENAB", Enabled());
  bag.Write("FONT", GetFont());
  bag.Write("COLTYPE", i32(colorScheme_));
  bag.Write("FOCUSR", showFocusRect_);
  bag.Write("BCOL", i32(backColor_));
  bag.Write("BCOLO", i32(backOver_));
  bag.Write("FCOL", i32(foreColor_));
  bag.Write("FCOLO", i32(foreOver_));
  bag.Write("MCOL", i32(maskColor_));
  bag.Write("MPTR", i32(mousePointer_));
  bag.Write("MICON", ButtonPicture{nullptr, mouseIcon_});
  bag.Write("PICN", pictureNormal_);
  bag.Write("PICH", pictureOver_);
  bag.Write("UMCOL", useMaskColor_);
  bag.Write("SOFT", softBevel_);
  bag.Write("PICPOS", i32(picturePosition_));
  bag.Write("NGREY", useGreyscale_);
  bag.Write("FX", i32(specialEffect_));
  bag.Write("HAND", handPointer_);
  bag.Write("CHECK", checkBoxBehaviour_);
  bag.Write("VALUE", value_);
}

void chameleonButton::ReadProperties(const PropertyBag& bag) {
  auto get = [&bag]<class T>(const char* key, T fallback) -> T { return bag.Get<T>(key, fallback); };
  paintingOn_ = false;
  buttonType_ = static_cast<ButtonTypeKind>(get("BTYPE", int32_t{2}));
  caption_ = get("TX", std::string());
  SetNativeText(caption_);
  bool enabled = get("ENAB", true);
  forms::Font font = get("FONT", GetFont());
  quietFont_ = true;
  SetFont(font);
  quietFont_ = false;
  colorScheme_ = static_cast<ColorSchemeKind>(get("COLTYPE", int32_t{1}));
  showFocusRect_ = get("FOCUSR", true);
  backColor_ = static_cast<ButtonColor>(get("BCOL", static_cast<int32_t>(GetSysColor(COLOR_BTNFACE))));
  backOver_ = static_cast<ButtonColor>(get("BCOLO", static_cast<int32_t>(backColor_)));
  foreColor_ = static_cast<ButtonColor>(get("FCOL", static_cast<int32_t>(GetSysColor(COLOR_BTNTEXT))));
  foreOver_ = static_cast<ButtonColor>(get("FCOLO", static_cast<int32_t>(foreColor_)));
  maskColor_ = static_cast<ButtonColor>(get("MCOL", static_cast<int32_t>(RGB(192, 192, 192))));
  mousePointer_ = static_cast<int16_t>(get("MPTR", int32_t{0}));
  mouseIcon_ = get("MICON", ButtonPicture{}).icon;
  pictureNormal_ = get("PICN", ButtonPicture{});
  pictureOver_ = get("PICH", ButtonPicture{});
  useMaskColor_ = get("UMCOL", true);
  softBevel_ = get("SOFT", false);
  picturePosition_ = static_cast<PicturePositionKind>(get("PICPOS", int32_t{0}));
  useGreyscale_ = get("NGREY", false);
  specialEffect_ = static_cast<SpecialEffectKind>(get("FX", int32_t{0}));
  bool hand = get("HAND", false);
  checkBoxBehaviour_ = get("CHECK", false);
  value_ = get("VALUE", false);
  SetHandPointer(hand);  // through the property, so the pointer follows it
  SetEnabled(enabled);
  MeasurePicture();
  BuildPalette();
  LayoutCaption();
  accessKey_ = chameleon::DeriveAccessKey(caption_);
  paintingOn_ = ShownStyle();
  Resized();
}

// --- input ----------------------------------------------------------------------------------------

bool chameleonButton::PointerIsOver() const {
  POINT pt;
  if (!hwnd_ || !GetCursorPos(&pt)) return false;
  return WindowFromPoint(pt) == hwnd_;
}

void chameleonButton::MouseDownStep(int16_t button, int16_t shift, float x, float y) {
  Fire(MouseDown, button, shift, x, y);
  lastMouseButton_ = static_cast<uint8_t>(button);
  if (button != forms::kRightButton) PaintButton(ButtonStage::Pressed, false);
}

// A click of the mouse or the access key: the button shows itself released (or checked) at once,
// then Click runs. Click may run a whole erase run, unload the window or end the program: the
// button touches nothing of its window afterwards unless the window is still the one it had.
void chameleonButton::ClickStep(HWND h) {
  if (lastMouseButton_ != forms::kLeftButton || !Enabled()) return;
  if (checkBoxBehaviour_) value_ = !value_;
  PaintButton(ButtonStage::Released, true);
  if (hwnd_ == h) ShowImage(true);
  Fire(Click);
}

void chameleonButton::PerformClick() {
  lastMouseButton_ = forms::kLeftButton;
  ClickStep(hwnd_);
}

bool chameleonButton::OnAccessKey(char key) {
  if (!accessKey_ || rt::LCase(std::string(1, key))[0] != accessKey_) return false;
  if (hwnd_ && GetFocus() != hwnd_) ::SetFocus(hwnd_);
  PerformClick();
  return true;
}

void chameleonButton::MoveFocus(bool previous) {
  HWND top = GetAncestor(hwnd_, GA_ROOT);
  HWND next = top ? GetNextDlgTabItem(top, hwnd_, previous) : nullptr;
  if (next && next != hwnd_) ::SetFocus(next);
}

void chameleonButton::SetCursorNow() {
  if (!hwnd_) return;
  POINT pt;
  if (GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd_)
    SendMessageA(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

LRESULT chameleonButton::SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) {
  handled = true;
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      if (imageDc_) BitBlt(dc, 0, 0, clientW_, clientH_, imageDc_, 0, 0, SRCCOPY);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (imageDc_) BitBlt(reinterpret_cast<HDC>(w), 0, 0, clientW_, clientH_, imageDc_, 0, 0, SRCCOPY);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      Resized();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(forms::FontHandle(GetFont()));
    case WM_SETFONT:
      return 0;
    case WM_GETDLGCODE:
      // A push button that takes the arrow keys itself; its access key is its own business.
      return DLGC_UNDEFPUSHBUTTON | DLGC_WANTARROWS;
    case WM_GETOBJECT:
      // Accessibility tools see a push button named by its caption, whose default action clicks.
      if (static_cast<LONG>(l) == static_cast<LONG>(OBJID_CLIENT)) {
        if (LRESULT r = ButtonAccessibleResult(h, w, lastStage_ == ButtonStage::Pressed, checkBoxBehaviour_ && value_, accessKey_))
          return r;
      }
      break;
    case BM_CLICK:
      PerformClick();
      return 0;
    case BM_GETCHECK:
      return checkBoxBehaviour_ && value_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_GETSTATE:
      return (lastStage_ == ButtonStage::Pressed ? BST_PUSHED : 0) | (hasFocus_ ? BST_FOCUS : 0) |
             (checkBoxBehaviour_ && value_ ? BST_CHECKED : 0);
    case WM_SETCURSOR:
      if (LOWORD(l) == HTCLIENT && mousePointer_ != 0) {
        static const struct {
          int16_t code;
          LPCSTR id;
        } kCursors[] = {{1, IDC_ARROW},    {2, IDC_CROSS},   {3, IDC_IBEAM},      {4, IDC_ICON},
                        {5, IDC_SIZEALL},  {6, IDC_SIZENESW}, {7, IDC_SIZENS},    {8, IDC_SIZENWSE},
                        {9, IDC_SIZEWE},   {10, IDC_UPARROW}, {11, IDC_WAIT},     {12, IDC_NO},
                        {13, IDC_APPSTARTING}, {14, IDC_HELP}, {15, IDC_SIZEALL}};
        HCURSOR c = nullptr;
        if (mousePointer_ == 99) {
          c = mouseIcon_;
        } else {
          for (const auto& k : kCursors)
            if (k.code == mousePointer_) c = LoadCursor(nullptr, k.id);
        }
        if (c) {
          SetCursor(c);
          return TRUE;
        }
      }
      break;
    case WM_SHOWWINDOW:
      if (w)
        Shown();
      else
        paintingOn_ = false;
      break;
    case WM_ENABLE:
      if (!w) {
        hovered_ = false;
        mousePressed_ = false;
      }
      PaintButton(ButtonStage::Released, true);
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED: {
      // A custom scheme that names system colours follows the new scheme too.
      bool systemRefs = ((backColor_ | backOver_ | foreColor_ | foreOver_ | maskColor_) & 0x80000000u) != 0;
      if (colorScheme_ != ColorSchemeKind::CustomColors || systemRefs) {
        BuildPalette();
        PaintButton(lastStage_, true);
      }
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      hasFocus_ = m == WM_SETFOCUS;
      if (spacePressed_) {
        spacePressed_ = false;
        if (!mousePressed_) lastStage_ = ButtonStage::Released;  // the press is forgotten: no longer drawn pressed
      }
      PaintButton(lastStage_, true);
      return 0;

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      int16_t button = m == WM_LBUTTONDOWN   ? forms::kLeftButton
                       : m == WM_RBUTTONDOWN ? forms::kRightButton
                                             : forms::kMiddleButton;
      if (m == WM_LBUTTONDOWN) {
        if (GetFocus() != h) ::SetFocus(h);
        if (hwnd_ != h) return 0;
        SetCapture(h);
        mousePressed_ = true;
      }
      MouseDownStep(button, MouseShift(w), static_cast<float>(GET_X_LPARAM(l)), static_cast<float>(GET_Y_LPARAM(l)));
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: pressed again, but its release is no click.
      mousePressed_ = false;
      if (lastMouseButton_ == forms::kLeftButton) {
        MouseDownStep(forms::kLeftButton, 0, 0.0f, 0.0f);
        if (hwnd_ == h) SetCapture(h);
      }
      return 0;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      int16_t button = m == WM_LBUTTONUP   ? forms::kLeftButton
                       : m == WM_RBUTTONUP ? forms::kRightButton
                                           : forms::kMiddleButton;
      bool click = false;
      if (m == WM_LBUTTONUP) {
        POINT pt{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        RECT r{0, 0, clientW_, clientH_};
        click = mousePressed_ && PtInRect(&r, pt);
        if (click) {
          HRGN shape = CreateRectRgn(0, 0, 0, 0);
          if (GetWindowRgn(h, shape) != ERROR) click = PtInRegion(shape, pt.x, pt.y);
          DeleteObject(shape);
        }
        mousePressed_ = false;
        if (GetCapture() == h) ReleaseCapture();
      }
      int16_t shift = MouseShift(w);
      float x = static_cast<float>(GET_X_LPARAM(l)), y = static_cast<float>(GET_Y_LPARAM(l));
      Fire(MouseUp, button, shift, x, y);
      if (hwnd_ != h) return 0;
      if (button != forms::kRightButton) PaintButton(ButtonStage::Released, false);
      if (click) ClickStep(h);
      return 0;
    }
    case WM_CAPTURECHANGED:
      // The press was taken away (another window took the mouse): no click, and not left drawn pressed.
      if (reinterpret_cast<HWND>(l) != h && mousePressed_) {
        mousePressed_ = false;
        PaintButton(ButtonStage::Released, false);
      }
      return 0;
    case WM_MOUSEMOVE: {
      int16_t button = MouseButtons(w), shift = MouseShift(w);
      float x = static_cast<float>(GET_X_LPARAM(l)), y = static_cast<float>(GET_Y_LPARAM(l));
      Fire(MouseMove, button, shift, x, y);
      if (hwnd_ != h || (button != 0 && button != forms::kLeftButton)) return 0;
      if (PointerIsOver()) {
        if (button == 0 && !hovered_) {
          tracking_ = true;
          TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
          TrackMouseEvent(&t);
          hovered_ = true;
          PaintButton(ButtonStage::Released, true);
          Fire(MouseOver);
        } else if (button == forms::kLeftButton) {
          // The pressed look uses the hover colours; the next plain move hovers again.
          hovered_ = true;
          PaintButton(ButtonStage::Pressed, false);
          hovered_ = false;
        }
      } else {
        PaintButton(ButtonStage::Released, false);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (!tracking_) return 0;
      if (PointerIsOver()) {
        // Still over the button (the leave came with a change of capture): keep watching.
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
        TrackMouseEvent(&t);
        return 0;
      }
      tracking_ = false;
      hovered_ = false;
      PaintButton(ButtonStage::Released, true);
      Fire(MouseOut);
      return 0;

    case WM_KEYDOWN: {
      int16_t code = static_cast<int16_t>(w), shift = ShiftState();
      Fire(KeyDown, code, shift);
      if (hwnd_ != h) return 0;
      lastKeyCode_ = static_cast<uint8_t>(code);
      switch (code) {
        case VK_SPACE:
          // A repeat (the key was already down) arms only the button its first press armed.
          if (!(l & 0x40000000) || spacePressed_) {
            spacePressed_ = true;
            PaintButton(ButtonStage::Pressed, false);
          }
          break;
        case VK_LEFT:
        case VK_UP: MoveFocus(true); break;
        case VK_RIGHT:
        case VK_DOWN: MoveFocus(false); break;
        default: break;
      }
      return 0;
    }
    case WM_KEYUP: {
      int16_t code = static_cast<int16_t>(w), shift = ShiftState();
      Fire(KeyUp, code, shift);
      if (hwnd_ != h) return 0;
      bool pressed = spacePressed_;
      spacePressed_ = false;  // any key-up ends the press
      if (code != VK_SPACE) {
        if (pressed && !mousePressed_) PaintButton(ButtonStage::Released, false);
        return 0;
      }
      if (lastKeyCode_ != VK_SPACE || !pressed) {
        // Another key came between, or the press began elsewhere: no click, but the button does
        // not stay drawn pressed.
        PaintButton(ButtonStage::Released, false);
        return 0;
      }
      if (checkBoxBehaviour_ && Enabled()) value_ = !value_;
      PaintButton(ButtonStage::Released, false);
      ShowImage(true);
      if (Enabled()) Fire(Click);
      return 0;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      // Alt and its keys: the events, then the system's own handling (Alt+F4 and the like).
      int16_t code = static_cast<int16_t>(w), shift = ShiftState();
      Fire(m == WM_SYSKEYDOWN ? KeyDown : KeyUp, code, shift);
      if (m == WM_SYSKEYDOWN && hwnd_ == h) lastKeyCode_ = static_cast<uint8_t>(code);
      if (m == WM_SYSKEYUP && hwnd_ == h && spacePressed_) {
        spacePressed_ = false;
        if (!mousePressed_) PaintButton(ButtonStage::Released, false);
      }
      handled = false;
      return 0;
    }
    case WM_CHAR: {
      int16_t ascii = static_cast<int16_t>(w & 0xFF);
      Fire(KeyPress, ascii);
      return 0;
    }
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace controls
