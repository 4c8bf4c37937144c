// Xp_ProgressBar: a progress bar drawn from small pictures of its own instead of the system's bar:
// a frame with a 3-pixel border, and inside it either a row of blocks that grows with Value (Style
// 0) or a short three-piece segment that moves five pixels at every change of Value and starts
// again at the left when it reaches the end (any other Style). Eight skins colour the fill.
//
// Values outside the range are refused with a notice (through the message-box seam) and leave the
// property as it was. The block style draws only what a new Value adds; a resize, a falling Value
// or a Value at the lower end draws the bar anew. A range of 0, or one of more than 32,767 steps,
// is taken as 1 or 32,767 steps.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/propertybag.h"
#include "forms/control.h"

namespace controls {

class Xp_ProgressBar : public forms::Control {
 public:
  Xp_ProgressBar(forms::Form& owner, std::string name);
  ~Xp_ProgressBar() override;

  // Properties, in the order of the control's interface.
  int32_t Value() const { return value_; }
  void SetValue(int32_t v);
  int32_t Style() const { return style_; }
  void SetStyle(int32_t s);
  int32_t ProgressLook() const { return look_; }
  void SetProgressLook(int32_t look);  // 0..7: master, blue, bluemet, goldmet, grmet, greymet, orangemet, redmet
  int32_t Min() const { return min_; }
  void SetMin(int32_t m);
  int32_t Max() const { return max_; }
  void SetMax(int32_t m);

  // Saved properties: "Min", "Max", "Value", "Style", "ProgressLook".
  void WriteProperties(PropertyBag& bag) const;
  void ReadProperties(const PropertyBag& bag);

  // An accepted write of a property (its saved key).
  std::function<void(const std::string& key)> PropertyChanged;

  // --- what tests and pictures look at ------------------------------------------------------------
  COLORREF ImagePixel(int x, int y) const;  // CLR_INVALID when there is no image
  int SegmentPosition() const { return segmentPos_; }
  int Repaints() const { return repaints_; }
  // The colour of the middle row of the current skin's block tile.
  COLORREF BlockColor() const;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) override;

 private:
  void Notice(const char* text);
  void Changed(const char* key);
  void Repaint();
  void BlockStep();
  void LastBlock();
  void MovingStep();
  void Paint(HBITMAP source, int x, int y, int w, int h);  // the whole source, stretched
  void PaintFrom(HBITMAP source, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
  void Show();

  int32_t min_ = 0, max_ = 100, value_ = 0, style_ = 0, look_ = 0;
  std::array<HBITMAP, 3> pc_{};  // the current skin's tiles (shared pictures, not owned)

  // Drawing state.
  int width_ = 0, innerHeight_ = 0, tileW_ = 0, tileH_ = 0;
  int blockPos_ = 4;
  int16_t stepCounter_ = 0;
  double threshold_ = 0;
  int32_t lastValue_ = 0;
  int32_t restartValue_ = 0;
  bool restart_ = false, full_ = false;
  int segmentPos_ = 4;
  int repaints_ = 0;
  HDC imageDc_ = nullptr;
  HBITMAP image_ = nullptr, imageOld_ = nullptr;
};

}  // namespace controls
