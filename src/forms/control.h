// The base of every control: a plain C++ object that holds its state and raises its events
// synchronously; while it is shown on a loaded form it has a native child window that mirrors the
// model. A control that is never shown never gets a native window.
//
// Geometry is in twips (15 twips to a pixel), relative to the control's container: the form, or a
// frame. Negative and out-of-range positions are allowed (pages parked outside the client area).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;
class Frame;

constexpr int kTwipsPerPixel = 15;
inline int ToPixels(int twips) { return twips / kTwipsPerPixel; }
inline int ToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// Mouse button and shift-key masks of the mouse events.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftMask { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct Font {
  std::string name = "Tahoma";
  double size = 8;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const Font&) const = default;
};
HFONT FontHandle(const Font& f);  // shared, cached for the life of the program

constexpr COLORREF kDefaultColor = CLR_INVALID;

// Marks a form as running one of its handlers (its object is then never freed under it).
void BeginHandler(Form& f);
void EndHandler(Form& f);
struct HandlerScope {
  explicit HandlerScope(Form& f) : form(f) { BeginHandler(form); }
  ~HandlerScope() { EndHandler(form); }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
  Form& form;
};

class Control {
 public:
  Control(Form& owner, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // the index in a control array, -1 otherwise
  void SetIndex(int index) { index_ = index; }
  Form& Owner() const { return owner_; }

  // Geometry, twips, relative to the container.
  void Move(int left, int top, int width = -1, int height = -1);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { Move(v, top_); }
  void SetTop(int v) { Move(left_, v); }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& f);
  COLORREF ForeColor() const { return foreColor_; }
  void SetForeColor(COLORREF c);
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF c);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);  // a label's BackStyle 0
  void SetHandCursor(bool hand) { handCursor_ = hand; }
  int TabIndex() const;  // the place in its form's tab order, from 0

  Frame* Container() const { return container_; }
  void SetContainer(Frame* frame);

  void SetFocus();
  void BringToFront();
  HWND hWnd() const { return hwnd_; }
  bool HasNative() const { return hwnd_ != nullptr; }
  // True when the control and every container above it are visible.
  bool ShownInContainer() const;

  // Mouse events in pixels, as the native window reports them.
  std::function<void(int button, int shift, int x, int y)> MouseMove, MouseDown, MouseUp;

  // --- for the forms layer -------------------------------------------------------------------
  void EnsureNative();       // creates the native window when the control should be shown
  void ForgetNative();       // the native window is gone (its form was destroyed)
  virtual bool OnCommand(WORD code) { return false; }
  virtual bool OnNotify(NMHDR* nm, LRESULT& result) { return false; }
  virtual void OnScroll(WORD code) {}
  virtual void SyncNow() {}  // deferred native updates (see Form::RequestSync)
  virtual void OnParentSized() {}
  virtual bool OnDrawItem(DRAWITEMSTRUCT* d) { return false; }
  // The user pressed an access key (Alt and the key, or the key alone where the focused control
  // takes no characters); true when this control took it. Only shown, enabled controls are asked.
  virtual bool OnAccessKey(char key) { return false; }
  HBRUSH OnColor(HDC dc);    // WM_CTLCOLOR* for this control; null for the default
  virtual bool IsContainer() const { return false; }
  static Control* FromHwnd(HWND h);

 protected:
  struct NativeLook {
    const char* className;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
  };
  virtual NativeLook Look() const = 0;
  virtual void AfterCreate() {}  // push the model into the new native window
  virtual void FontChanged() {}  // after SetFont (a control that draws itself lays out again)
  virtual void EnabledChanged() {}  // after SetEnabled changed the state
  virtual LRESULT SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l, bool& handled);
  // Raises an event of this control, with its form marked busy while the handler runs.
  template <class... A, class... B>
  void Fire(const std::function<void(A...)>& ev, B&&... args) {
    if (!ev) return;
    HandlerScope scope(owner_);
    ev(std::forward<B>(args)...);
  }
  void Invalidate();
  void SetNativeText(const std::string& text);
  HWND ParentNative() const;

  Form& owner_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Subclass(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref);
  void UpdateToolTip();

  std::string name_;
  int index_ = -1;
  int left_ = 0, top_ = 0, width_ = 1215, height_ = 375;
  bool visible_ = true;
  bool enabled_ = true;
  bool transparent_ = false;
  bool handCursor_ = false;
  bool toolRegistered_ = false;
  std::string toolTip_;
  Font font_;
  COLORREF foreColor_ = kDefaultColor;
  COLORREF backColor_ = kDefaultColor;
  HBRUSH backBrush_ = nullptr;
  Frame* container_ = nullptr;
};

}  // namespace forms
