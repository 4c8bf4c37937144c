// The simple controls: text box, label, check box, option button, push button, frame, picture.
// Events run synchronously inside the setter that causes them, and only on a real change:
// setting a text box to the text it holds, or a check box to its value, runs nothing.
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

class TextBox : public Control {
 public:
  TextBox(Form& owner, std::string name, std::string text = "");

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);  // runs Change when the text differs
  std::function<void()> Change;

  // Set before the box is shown.
  void SetMultiLine(bool m) { multiLine_ = m; }
  bool MultiLine() const { return multiLine_; }
  void SetScrollBars(bool vertical, bool horizontal) { vScroll_ = vertical, hScroll_ = horizontal; }
  void SetPasswordChar(char c) { passwordChar_ = c; }

  bool Locked() const { return locked_; }
  void SetLocked(bool locked);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);  // 0: no limit; limits typing, not what code sets
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);
  std::string SelText() const;

  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  std::string NativeForm(const std::string& t) const;  // line ends as a multi-line EDIT shows them
  void PushSelection();

  std::string text_;
  bool multiLine_ = false, vScroll_ = false, hScroll_ = false, locked_ = false;
  char passwordChar_ = 0;
  int maxLength_ = 0;
  int selStart_ = 0, selLength_ = 0;
  bool pushing_ = false;
};

// A control that shows a caption of its own.
class CaptionedControl : public Control {
 public:
  CaptionedControl(Form& owner, std::string name, std::string caption)
      : Control(owner, std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    CaptionChanged();
  }

 protected:
  virtual void CaptionChanged() { SetNativeText(caption_); }
  std::string caption_;
};

class Label : public CaptionedControl {
 public:
  enum Align { kLeft = 0, kRight = 1, kCenter = 2 };
  Label(Form& owner, std::string name, std::string caption = "");

  void SetAlignment(int a);
  int Alignment() const { return align_; }
  void SetWordWrap(bool w) { wordWrap_ = w; }

  std::function<void()> Click, DblClick;
  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void CaptionChanged() override;

 private:
  int align_ = kLeft;
  bool wordWrap_ = true;
};

class CheckBox : public CaptionedControl {
 public:
  enum { kUnchecked = 0, kChecked = 1, kGrayed = 2 };
  CheckBox(Form& owner, std::string name, std::string caption = "");

  int Value() const { return value_; }
  bool SetValue(int v);  // 0, 1 or 2; anything else is refused (false, nothing changes)
  std::function<void()> Click;

  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  int value_ = kUnchecked;
};

// Option buttons with the same container (the form, or one frame) form one group: at most one of
// them is on, and a group may have none on (until the user or code turns one on). Click runs when
// a button is turned on, by the user or by code. The user turns a button on by clicking it, by
// Space, or by an arrow key that moves to it; the focus arriving by Tab or by code turns nothing
// on (the platform would click a button that gets the focus).
class OptionButton : public CaptionedControl {
 public:
  OptionButton(Form& owner, std::string name, std::string caption = "");

  bool Value() const { return value_; }
  void SetValue(bool v);
  std::function<void()> Click;

  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled) override;

 private:
  bool value_ = false;
  bool focusArriving_ = false;
};

class PushButton : public CaptionedControl {
 public:
  PushButton(Form& owner, std::string name, std::string caption = "");

  void SetDefault(bool d) { default_ = d; }
  std::function<void()> Click;
  void PerformClick();  // as a click of the user: nothing when disabled

  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;

 private:
  bool default_ = false;
};

// A frame holds other controls (SetContainer); moving or hiding it moves or hides them.
class Frame : public CaptionedControl {
 public:
  Frame(Form& owner, std::string name, std::string caption = "");

  void SetBorder(bool border) { border_ = border; }
  bool IsContainer() const override { return true; }

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;
  void CaptionChanged() override {
    SetNativeText(caption_);  // for screen readers: the frame paints its caption itself
    Invalidate();
  }

 private:
  static LRESULT CALLBACK FrameProc(HWND h, UINT m, WPARAM w, LPARAM l);
  void Paint(HDC dc);
  bool border_ = true;
};

// A picture: an icon or a bitmap, centred in its rectangle.
class Picture : public Control {
 public:
  Picture(Form& owner, std::string name);
  void SetIcon(HICON icon);
  void SetBitmap(HBITMAP bitmap);
  HICON Icon() const { return icon_; }
  std::function<void()> Click;
  bool OnCommand(WORD code) override;

 protected:
  NativeLook Look() const override;
  void AfterCreate() override;

 private:
  HICON icon_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

}  // namespace forms
