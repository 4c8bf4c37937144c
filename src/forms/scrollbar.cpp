#include "forms/scrollbar.h"

#include <algorithm>
#include <cstdlib>

namespace forms {

namespace {
constexpr int kMaxSpan = 32767;
}

ScrollBar::ScrollBar(Form& owner, std::string name, Orientation orientation)
    : Control(owner, std::move(name)), orientation_(orientation) {
  if (orientation_ == kVertical) Move(0, 0, 255, 1215);
  else Move(0, 0, 1215, 255);
}

Control::NativeLook ScrollBar::Look() const {
  return {"SCROLLBAR", static_cast<DWORD>((orientation_ == kVertical ? SBS_VERT : SBS_HORZ) | WS_TABSTOP), 0, ""};
}

void ScrollBar::AfterCreate() { PushNative(); }

int ScrollBar::Clamp(int v) const { return std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

int ScrollBar::Stepped(int steps) const { return Clamp(value_ + (max_ >= min_ ? steps : -steps)); }

// The native bar runs from 0 at its top (or left) end. A vertical bar has Max at the top, a
// horizontal one Min at the left.
int ScrollBar::NativePos(int v) const { return orientation_ == kVertical ? std::abs(max_ - v) : std::abs(v - min_); }

int ScrollBar::FromNative(int pos) const {
  int toward = max_ >= min_ ? 1 : -1;
  return Clamp(orientation_ == kVertical ? max_ - toward * pos : min_ + toward * pos);
}

void ScrollBar::PushNative() {
  if (!hwnd_) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::abs(max_ - min_) + large_ - 1;  // the thumb (a page of LargeChange) reaches both ends
  si.nPage = static_cast<UINT>(large_);
  si.nPos = NativePos(value_);
  SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

bool ScrollBar::SetMin(int v) { return SetEnds(v, max_); }
bool ScrollBar::SetMax(int v) { return SetEnds(min_, v); }

bool ScrollBar::SetEnds(int min, int max) {
  if (std::abs(static_cast<long long>(max) - min) > kMaxSpan) return false;
  min_ = min;
  max_ = max;
  value_ = Clamp(value_);
  PushNative();
  Tell();
  return true;
}

void ScrollBar::SetLargeChange(int v) {
  large_ = v < 1 ? 1 : v;
  PushNative();
}

bool ScrollBar::SetValue(int v) {
  if (v != Clamp(v)) return false;
  value_ = v;
  PushNative();
  Tell();
  return true;
}

void ScrollBar::Tell() {
  if (value_ == told_) return;
  told_ = value_;
  Fire(Change);
}

void ScrollBar::OnScroll(WORD code) {
  if (!hwnd_ || !Enabled()) return;
  // The arrows and page steps are named after a vertical bar; a horizontal one sends the same
  // codes for left and right.
  int up = orientation_ == kVertical ? 1 : -1;  // steps towards Max of "up" (or "left")
  switch (code) {
    case SB_LINEUP: SetValue(Stepped(up * small_)); break;
    case SB_LINEDOWN: SetValue(Stepped(-up * small_)); break;
    case SB_PAGEUP: SetValue(Stepped(up * large_)); break;
    case SB_PAGEDOWN: SetValue(Stepped(-up * large_)); break;
    case SB_TOP: SetValue(FromNative(0)); break;
    case SB_BOTTOM: SetValue(FromNative(std::abs(max_ - min_))); break;
    case SB_THUMBTRACK: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd_, SB_CTL, &si);
      value_ = FromNative(si.nTrackPos);
      PushNative();
      Fire(Scroll);
      break;
    }
    case SB_THUMBPOSITION:
    case SB_ENDSCROLL:
      Tell();
      break;
    default:
      break;
  }
}

}  // namespace forms
