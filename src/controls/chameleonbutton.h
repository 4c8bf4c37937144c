// chameleonButton: the owner-drawn push button of every window of both programs.
//
// A model first, as every control of the forms layer: it holds its properties and raises its
// events synchronously; while it is shown it has a native window of its own that carries the
// caption as its window text, answers BM_CLICK, takes the focus with Tab, and is pressed by its
// access key (the letter after "&" in the caption). It draws one of fourteen looks from one of four
// colour schemes into a persistent off-screen image, which WM_PAINT copies to the screen; it paints
// again only when its stage (released or pressed) or its caption changed, or when something forces
// it (hover, focus, a property).
//
// Input rules (each event is raised first, and the button then acts on the arguments as the
// handler left them):
//   - A left press shows the pressed look; a release over the button raises MouseUp and then Click
//     once. Dragging out shows the released look; releasing outside raises no Click.
//   - The right button never shows the pressed look and never clicks.
//   - A double click raises Click once (for its first click); the second press shows the pressed look.
//   - Space down shows the pressed look; Space up clicks, unless another key went down in between
//     or a KeyDown handler set KeyCode to 0.
//   - The arrow keys move the focus to the previous (left, up) or next (right, down) control of the
//     button's own window, in tab order.
//   - MouseOver is raised by the first plain mouse move over the button, MouseOut once the pointer
//     has left it (the system's mouse-leave tracking, no polling). A press and drag over the button
//     ends the hover look without MouseOut; the next plain move raises MouseOver again.
//   - With CheckBoxBehaviour on, every click (mouse, Space, access key, BM_CLICK) inverts Value
//     before Click is raised, and a button whose Value is true always looks pressed.
//
// The palette, picture and caption-layout rules are plain functions in namespace
// controls::chameleon (below), so tests and other drawing code can use them directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "controls/propertybag.h"
#include "forms/controls.h"

namespace controls {

enum class ButtonTypeKind : int32_t {
  Framed = 1,          // double bevel one pixel in, dark outer frame, corner pixels cut
  Standard = 2,        // classic raised push button; default-button frame
  ThemedGradient = 3,  // vertical gradient, dark blue outline, rounded corners, orange hover edges
  RoundedLight = 4,    // light face, dark outline, rounded corners
  SoftOutline = 5,     // slightly lighter face, thin outline, focus frame around the caption
  LightBevel = 6,      // soft raised bevel
  Flat = 7,            // flat one-pixel frame
  FlatHover = 8,       // flat frame only while hovered
  HighlightHover = 9,  // highlighted face and frame while hovered; faded pictures otherwise
  FaceOnly = 10,       // face and pictures only, no caption
  Transparent = 11,    // the parent's background behind the caption
  BevelHover = 12,     // raised bevel only while hovered
  Oval = 13,           // elliptic button
  Gradient = 14,       // light gradient with highlight bars
};

enum class ColorSchemeKind : int32_t {
  SystemColors = 1,     // the system's button colours
  CustomColors = 2,     // BackColor, BackOver, ForeColor, ForeOver
  FixedGrey = 3,        // a fixed grey palette
  ContainerColors = 4,  // the parent window's colours
};

enum class PicturePositionKind : int32_t {
  PictureLeft = 0,
  PictureRight = 1,
  PictureTop = 2,
  PictureBottom = 3,
  PictureBehind = 4,  // centred behind the caption
};

enum class SpecialEffectKind : int32_t {
  EffectNone = 0,
  EffectRaised = 1,  // darker copy below right, lighter copy above left
  EffectSunken = 2,  // lighter copy below right, darker copy above left
  EffectShadow = 3,  // darker copy below right
};

// A colour value: an RGB value (red + 256 green + 65536 blue), or a reference to a system colour
// (the highest bit set, the system colour's index in the low bits) that follows the user's scheme.
using ButtonColor = uint32_t;
constexpr ButtonColor SystemColor(int index) { return 0x80000000u | static_cast<uint32_t>(index); }
constexpr ButtonColor kButtonFace = SystemColor(COLOR_BTNFACE);

namespace chameleon {

// The RGB value of a colour value (a system colour's reference gives that system colour).
COLORREF ResolveColor(ButtonColor c);
// Moves each channel by amount (lighter above 0, darker below), clamped to 0..255; with blueScaled
// blue moves by (B * amount) \ 192; with softBevel the amount is halved first (toward zero).
COLORREF AdjustColor(COLORREF c, int amount, bool blueScaled = false, bool softBevel = false);
// Blends each channel toward white: amount + ((255 - amount) * x) \ 255.
COLORREF TintTowardWhite(COLORREF c, int amount);

struct Palette {
  COLORREF face, light, highlight, shadow, darkShadow, text, textOver, hoverFrame, hoverFace, themeFace, mask;
};
struct PaletteSource {
  ColorSchemeKind scheme = ColorSchemeKind::SystemColors;
  ButtonColor back = 0, fore = 0, foreOver = 0, mask = RGB(192, 192, 192);
  bool softBevel = false;
  bool themed = false;                         // ButtonType is ThemedGradient
  COLORREF containerBack = 0, containerText = 0;  // the parent window's colours
};
Palette BuildPalette(const PaletteSource& s);

// The access key of a caption (lower case), 0 when it has none: the character after the first
// "&", or after "&&" the character after the next single "&".
char DeriveAccessKey(const std::string& caption);

// The grey a greyscale picture pixel becomes.
int GreyOf(int r, int g, int b);

// One pass of a picture over the button's image, on two 24-bit bottom-up device-independent
// bitmaps of w x h pixels (rows of blue, green, red bytes, padded to a multiple of 4 bytes).
struct PixelRule {
  COLORREF transparent = 0;  // the mask colour
  bool useMask = true;
  int32_t brush = -1;        // a colour that every drawn pixel takes (a silhouette); -1 for none
  bool darkOnly = false;     // with a brush: only pixels whose R + G + B is 384 or less
  bool greyscale = false;
  bool fade = false;         // (2 * picture + background) \ 3
};
void BlendPicture(uint8_t* background, const uint8_t* picture, int w, int h, const PixelRule& rule);
inline int RowBytes(int w) { return (w * 3 + 3) & ~3; }

// Where the caption is measured, and how far the measured rectangle moves to be centred.
RECT CaptionStartRect(PicturePositionKind pos, int W, int H, int picW, int picH, const RECT& textRectDown);
POINT CaptionOffset(PicturePositionKind pos, int W, int H, const RECT& measured, int picW, int picH);
// The top-left corner of the picture beside the caption (or centred); `current` when neither
// picture is set.
POINT PlacePicture(const std::string& caption, PicturePositionKind pos, const RECT& textRect, int W, int H, int picW,
                   int picH, bool hasPicture, POINT current);

}  // namespace chameleon

// The stage a button is drawn in. A button is drawn released or pressed (a checked button with
// CheckBoxBehaviour always pressed); while it is disabled, in its disabled look whatever its stage.
enum class ButtonStage { Released, Pressed, Disabled };

// The settings this system's windows give their buttons, in one place. The defaults are those of
// most buttons of the secondary windows.
struct ButtonSettings {
  ButtonTypeKind type = ButtonTypeKind::FlatHover;
  ColorSchemeKind scheme = ColorSchemeKind::CustomColors;
  ButtonColor back = kButtonFace;  // BackColor and BackOver
  ButtonColor fore = RGB(0, 0, 0);
  ButtonColor foreOver = RGB(192, 0, 0);
  ButtonColor mask = RGB(255, 255, 255);
  bool bold = false;  // Arial 8.25 points, regular or bold
  PicturePositionKind picturePosition = PicturePositionKind::PictureLeft;
  bool softBevel = true;
};
// The settings of the main window's toolbar: dark blue hover text, pictures above the captions,
// no soft bevel.
ButtonSettings MainWindowButtonSettings();

class chameleonButton : public forms::CaptionedControl {
 public:
  // A button newly placed on a window: Standard look, system colours, its caption its own name.
  chameleonButton(forms::Form& owner, std::string name);
  chameleonButton(forms::Form& owner, std::string name, std::string caption);
  ~chameleonButton() override;

  // --- properties, in the order of the control's interface -----------------------------------
  // (Caption and SetCaption, Enabled and SetEnabled, GetFont and SetFont, hWnd, Visible,
  // ToolTipText: those of every control.)
  ButtonColor BackColor() const { return backColor_; }
  void SetBackColor(ButtonColor c);
  ButtonColor BackOver() const { return backOver_; }
  void SetBackOver(ButtonColor c);
  ButtonColor ForeColor() const { return foreColor_; }
  void SetForeColor(ButtonColor c);
  ButtonColor ForeOver() const { return foreOver_; }
  void SetForeOver(ButtonColor c);
  ButtonColor MaskColor() const { return maskColor_; }
  void SetMaskColor(ButtonColor c);
  ButtonTypeKind ButtonType() const { return buttonType_; }
  void SetButtonType(ButtonTypeKind t);
  bool FontBold() const { return GetFont().bold; }
  void SetFontBold(bool v);
  bool FontItalic() const { return GetFont().italic; }
  void SetFontItalic(bool v);
  bool FontUnderline() const { return GetFont().underline; }
  void SetFontUnderline(bool v);
  int16_t FontSize() const;  // rounded to a whole number, ties to even
  void SetFontSize(double points);
  const std::string& FontName() const { return GetFont().name; }
  void SetFontName(const std::string& name);
  ColorSchemeKind ColorScheme() const { return colorScheme_; }
  void SetColorScheme(ColorSchemeKind s);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool v);
  // 0 the default pointer, 1 arrow, 2 cross, 3 I-beam, 5/15 size all, 6..9 sizing, 10 up arrow,
  // 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question mark, 99 MouseIcon.
  int16_t MousePointer() const { return mousePointer_; }
  void SetMousePointer(int16_t code);
  HCURSOR MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(HCURSOR cursor);
  bool HandPointer() const { return handPointer_; }
  void SetHandPointer(bool v);  // the system's hand cursor
  bool SoftBevel() const { return softBevel_; }
  void SetSoftBevel(bool v);
  const ButtonPicture& PictureNormal() const { return pictureNormal_; }
  void SetPictureNormal(const ButtonPicture& p);
  const ButtonPicture& PictureOver() const { return pictureOver_; }
  void SetPictureOver(const ButtonPicture& p);
  PicturePositionKind PicturePosition() const { return picturePosition_; }
  void SetPicturePosition(PicturePositionKind p);
  bool UseMaskColor() const { return useMaskColor_; }
  void SetUseMaskColor(bool v);
  bool UseGreyscale() const { return useGreyscale_; }
  void SetUseGreyscale(bool v);
  SpecialEffectKind SpecialEffect() const { return specialEffect_; }
  void SetSpecialEffect(SpecialEffectKind e);
  bool CheckBoxBehaviour() const { return checkBoxBehaviour_; }
  void SetCheckBoxBehaviour(bool v);
  bool Value() const { return value_; }
  void SetValue(bool v);  // repaints; raises no event
  static const char* Version() { return "2.0.6"; }

  // --- methods ---------------------------------------------------------------------------------
  void DisableRefresh();  // keeps the last image until Refresh
  void Refresh();

  // Whether this is the window's default button. The Standard, ThemedGradient and Gradient looks
  // draw the default button so while no other push button has the focus, and a focused button
  // always so.
  bool IsDefault() const { return default_; }
  void SetDefault(bool d);

  // Clicks the button as its access key does: nothing when it is disabled; with CheckBoxBehaviour
  // Value is inverted first. BM_CLICK does the same.
  void PerformClick();

  // Applies the settings of this system's windows (type, colours, font, picture position, bevel).
  void Apply(const ButtonSettings& s);

  // The access key derived from the caption (lower case), 0 when it has none.
  char AccessKey() const { return accessKey_; }

  // The saved properties: all 23 keys, in their order; reading takes the defaults for missing keys.
  void WriteProperties(PropertyBag& bag) const;
  void ReadProperties(const PropertyBag& bag);

  // --- events (arguments by reference: the button acts on them as the handler leaves them) ----
  std::function<void()> Click;
  std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseDown, MouseMove, MouseUp;
  std::function<void(int16_t& KeyAscii)> KeyPress;
  std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyDown, KeyUp;
  std::function<void()> MouseOver, MouseOut;
  // A saved property changed (its key), as a container that saves the design would want to know.
  std::function<void(const std::string& key)> PropertyChanged;

  // --- what tests and screenshots look at ------------------------------------------------------
  int PaintCount() const { return paintCount_; }  // paintings of the off-screen image so far
  ButtonStage LastStage() const { return lastStage_; }  // Released or Pressed
  bool IsHovered() const { return hovered_; }
  bool HasFocus() const { return hasFocus_; }
  RECT TextRect() const { return textRect_; }
  POINT PicturePlace() const { return {picX_, picY_}; }
  COLORREF ImagePixel(int x, int y) const;  // CLR_INVALID when there is no image

  // --- for the forms layer -------------------------------------------------------------------------
  bool OnCommand(WORD) override { return true; }
  bool OnAccessKey(char key) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) override;
  void CaptionChanged() override;
  void FontChanged() override;
  void EnabledChanged() override { Report("ENAB"); }

 private:
  // How the caption is drawn: in which colours, at the released or the pressed (one pixel down
  // and right) place.
  enum class CaptionLook {
    Normal,          // the text colour
    Hovered,         // the hover text colour
    Pressed,         // the hover text colour, pressed place (the RoundedLight look: the light colour)
    Engraved,        // highlight at the pressed place under shadow at the released place
    Greyed,          // the shadow colour alone
    ThemedGreyed,    // a dark shade of the theme colour
    EngravedOnFace,  // highlight at the pressed place under the face colour at the released place
    Embossed,        // a dark shadow at the pressed place under highlight at the released place
  };

  void Init();
  void Report(const char* key);
  bool ShownStyle() const;  // no window yet, or a window of its own that is not hidden
  void SetFontAttribute(const std::function<void(forms::Font&)>& change);
  // Drawing (chameleonpaint.cpp).
  void BuildPalette();
  bool ShownAsDefault() const;
  void Shown();
  void Resized();
  void LayoutCaption();
  void MeasurePicture();
  void BuildWindowShape();
  void PaintButton(ButtonStage stage, bool force);
  void PaintType(ButtonStage look);
  void PaintCaption(CaptionLook look);
  void PaintCaptionEffect(const RECT& r);
  void DrawCaptionAt(const RECT& r, COLORREF c);
  void PaintFocusMark();
  void PaintPictures(ButtonStage look);
  void PaintPictureEffect(int offset, const ButtonPicture& p);
  void BlitPicture(int x, int y, const ButtonPicture& p, COLORREF transparent, int32_t brush, bool darkOnly,
                   bool greyscale, bool fade);
  void SnapshotBackground();
  void ShowImage(bool now);
  void ReleaseImages();
  // Input (chameleonbutton.cpp).
  void MouseDownStep(int16_t button, int16_t shift, float x, float y);
  void ClickStep(HWND h);
  bool PointerIsOver() const;
  void MoveFocus(bool previous);
  void SetCursorNow();

  ButtonColor backColor_ = 0, backOver_ = 0, foreColor_ = 0, foreOver_ = 0, maskColor_ = RGB(192, 192, 192);
  ButtonTypeKind buttonType_ = ButtonTypeKind::Standard;
  ColorSchemeKind colorScheme_ = ColorSchemeKind::SystemColors;
  bool showFocusRect_ = true;
  int16_t mousePointer_ = 0;
  HCURSOR mouseIcon_ = nullptr;
  bool handPointer_ = false;
  bool softBevel_ = false;
  ButtonPicture pictureNormal_, pictureOver_;
  PicturePositionKind picturePosition_ = PicturePositionKind::PictureLeft;
  bool useMaskColor_ = true, useGreyscale_ = false;
  SpecialEffectKind specialEffect_ = SpecialEffectKind::EffectNone;
  bool checkBoxBehaviour_ = false, value_ = false;
  bool default_ = false;
  char accessKey_ = 0;
  bool quietFont_ = false;  // a font attribute changes: no report of "FONT"

  // Input state.
  bool hovered_ = false, hasFocus_ = false, tracking_ = false;
  bool mousePressed_ = false;  // a left press that a release over the button turns into a click
  uint8_t lastMouseButton_ = 0, lastKeyCode_ = 0;
  // A Space press that began on this button while it had the focus: only its release clicks. A
  // change of focus or any key-up forgets it, and a held Space that repeats on a button it moved
  // to never arms that one.
  bool spacePressed_ = false;

  // Drawing state.
  chameleon::Palette palette_{};
  bool paintingOn_ = true, snapshotBusy_ = false;
  int clientW_ = 0, clientH_ = 0;
  RECT textRect_{}, textRectDown_{}, focusRect_{};
  int captionW_ = 0, captionH_ = 0;
  int picX_ = 0, picY_ = 0, picW_ = 0, picH_ = 0;
  ButtonStage lastStage_ = ButtonStage::Released;
  CaptionLook lastCaptionLook_ = CaptionLook::Normal;
  std::string lastCaption_;
  bool painted_ = false;
  int paintCount_ = 0;
  HDC imageDc_ = nullptr;
  HBITMAP image_ = nullptr, imageOld_ = nullptr;
  HBITMAP snapshot_ = nullptr;
  int snapshotW_ = 0, snapshotH_ = 0;
};


}  // namespace controls
