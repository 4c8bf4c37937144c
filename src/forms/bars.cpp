#include "forms/bars.h"

#include <commctrl.h>

#include "forms/form.h"

namespace forms {

// --- ProgressBar ------------------------------------------------------------------------------

ProgressBar::ProgressBar(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook ProgressBar::Look() const { return {PROGRESS_CLASSA, 0, 0, ""}; }

void ProgressBar::AfterCreate() { SyncNow(); }

void ProgressBar::SyncNow() {
  if (!hwnd_) return;
  SendMessageA(hwnd_, PBM_SETRANGE32, min_, max_);
  SendMessageA(hwnd_, PBM_SETPOS, value_, 0);
}

bool ProgressBar::SetMin(int v) {
  if (v > max_) return false;
  min_ = v;
  if (value_ < min_) value_ = min_;
  SyncNow();
  return true;
}

bool ProgressBar::SetMax(int v) {
  if (v < min_) return false;
  max_ = v;
  if (value_ > max_) value_ = max_;
  SyncNow();
  return true;
}

bool ProgressBar::SetValue(int v) {
  if (v < min_ || v > max_) return false;
  Fire(ValueSet, v);
  if (v == value_) return true;
  value_ = v;
  if (hwnd_) SendMessageA(hwnd_, PBM_SETPOS, value_, 0);
  return true;
}

// --- StatusBar --------------------------------------------------------------------------------

StatusBar::StatusBar(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Control::NativeLook StatusBar::Look() const { return {STATUSCLASSNAMEA, CCS_BOTTOM | SBARS_SIZEGRIP, 0, ""}; }

void StatusBar::AfterCreate() { PushParts(); }

void StatusBar::PushParts() {
  if (!hwnd_) return;
  std::vector<int> edges;
  int x = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    x += ToPixels(panels_[i].width);
    edges.push_back(i + 1 == panels_.size() ? -1 : x);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels_.size(); ++i)
    SendMessageA(hwnd_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panels_[i].text.c_str()));
}

int StatusBar::AddPanel(const std::string& text, int widthTwips) {
  panels_.push_back({text, widthTwips});
  PushParts();
  return PanelCount();
}

std::string StatusBar::PanelText(int panel) const {
  return panel >= 1 && panel <= PanelCount() ? panels_[static_cast<size_t>(panel - 1)].text : std::string();
}

bool StatusBar::SetPanelText(int panel, const std::string& text) {
  if (panel < 1 || panel > PanelCount()) return false;
  panels_[static_cast<size_t>(panel - 1)].text = text;
  if (hwnd_) SendMessageA(hwnd_, SB_SETTEXTA, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
  return true;
}

void StatusBar::OnParentSized() {
  if (hwnd_) SendMessageA(hwnd_, WM_SIZE, 0, 0);
}

}  // namespace forms
