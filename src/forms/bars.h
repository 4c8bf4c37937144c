// Progress bar and status bar.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class ProgressBar : public Control {
 public:
  ProgressBar(Form& owner, std::string name);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  bool SetMin(int v);
  bool SetMax(int v);
  bool SetValue(int v);  // a value outside Min..Max is refused (false, nothing changes)
  std::function<void(int)> ValueSet;  // every value set, also an unchanged one (for observers)
  void SyncNow() override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  int min_ = 0, max_ = 100, value_ = 0;
};

// A status bar along the bottom of its form, with panels (from 1) or one simple text.
class StatusBar : public Control {
 public:
  StatusBar(Form& owner, std::string name);
  int AddPanel(const std::string& text, int widthTwips = 1440);  // the last panel takes the rest
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  std::string PanelText(int panel) const;
  bool SetPanelText(int panel, const std::string& text);
  void OnParentSized() override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  void PushParts();
  struct Panel {
    std::string text;
    int width;
  };
  std::vector<Panel> panels_;
};

}  // namespace forms
