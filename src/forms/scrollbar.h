// A scroll bar, vertical or horizontal. Beside a text box a small vertical one serves as a spinner:
// its up arrow moves the value towards Max, its down arrow towards Min (on a horizontal bar the
// right arrow moves towards Max). Min may be above Max; the value always lies between the two.
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

class ScrollBar : public Control {
 public:
  enum Orientation { kVertical, kHorizontal };
  ScrollBar(Form& owner, std::string name, Orientation orientation = kVertical);

  Orientation GetOrientation() const { return orientation_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  // Setting an end moves a value that would lie outside the new range to the nearest end (with
  // Change). Ends that the native bar cannot show (a span above 32767) are refused.
  bool SetMin(int v);
  bool SetMax(int v);
  // A value outside Min..Max is refused (false, nothing changes). Change runs when the value
  // changes, by code or by the user.
  bool SetValue(int v);
  int SmallChange() const { return small_; }  // the arrows' step, at least 1
  void SetSmallChange(int v) { small_ = v < 1 ? 1 : v; }
  int LargeChange() const { return large_; }  // a click beside the thumb, at least 1
  void SetLargeChange(int v);

  // Change: the value changed (after an arrow, a page step, a thumb drag that ended, or code).
  // Scroll: the user drags the thumb; Value follows the thumb and Change comes when it is let go.
  std::function<void()> Change, Scroll;

  void OnScroll(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  bool SetEnds(int min, int max);
  int Clamp(int v) const;
  int Stepped(int steps) const;  // the value `steps` towards Max (negative: towards Min), clamped
  int NativePos(int v) const;
  int FromNative(int pos) const;
  void PushNative();
  void Tell();  // Change when the value differs from the one last told

  Orientation orientation_;
  int min_ = 0, max_ = 32767, value_ = 0;
  int small_ = 1, large_ = 1;
  int told_ = 0;
};

}  // namespace forms
