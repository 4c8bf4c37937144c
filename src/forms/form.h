// The Form base: one top-level window with its controls and its life cycle.
//
//   Load:   Form_Initialize (first load of the object only), the hidden native window and the
//           native windows of the shown controls, Form_Load; timers start after Form_Load.
//   Show:   loads when needed, then shows the window (modeless) and brings it to the front.
//   Unload: Form_QueryUnload (Cancel, mode), Form_Unload (Cancel), the native window is
//           destroyed, Form_Terminate. The close box, Unload() and the end of a Windows session
//           (WM_QUERYENDSESSION / WM_ENDSESSION) all take this road, with their own mode.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class Timer;
class MenuItem;

// Why a form is unloading (the UnloadMode of Form_QueryUnload).
enum UnloadMode { kFormControlMenu = 0, kFormCode = 1, kAppWindows = 2, kAppTaskManager = 3 };
enum WindowStateValue { kNormal = 0, kMinimized = 1, kMaximized = 2 };
enum class Border { None, FixedSingle, Sizable, FixedDialog, FixedToolWindow };

class Form {
 public:
  explicit Form(std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  // --- life cycle --------------------------------------------------------------------------------
  void Load();
  void Show();
  void Hide();
  bool Unload();  // false when the form stays loaded (a handler cancelled)
  bool IsLoaded() const { return hwnd_ != nullptr; }
  bool IsLoading() const { return loading_; }
  bool Terminated() const { return terminated_; }

  // --- properties --------------------------------------------------------------------------------
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int WindowState() const { return windowState_; }
  void SetWindowState(int state);
  bool Topmost() const { return topmost_; }
  void SetTopmost(bool topmost);

  // Outer size and position in twips (the window with its frame), and the client size.
  void Move(int left, int top, int width = -1, int height = -1);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetClientSize(int widthTwips, int heightTwips);
  int ScaleWidth() const { return clientW_; }
  int ScaleHeight() const { return clientH_; }
  void CenterOnScreen();
  static int ScreenWidth();   // twips
  static int ScreenHeight();  // twips

  void SetBorder(Border b) { border_ = b; }
  void SetMinButton(bool b) { minButton_ = b; }
  void SetMaxButton(bool b) { maxButton_ = b; }
  void SetControlBox(bool b) { controlBox_ = b; }
  void SetShowInTaskbar(bool b) { showInTaskbar_ = b; }
  void SetIcon(HICON big, HICON small);
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF c);

  HWND hWnd() const { return hwnd_; }

  // --- menus -------------------------------------------------------------------------------------
  // Shows the visible sub-items of an item as a pop-up menu at the mouse and runs the Click of the
  // item chosen. Returns the chosen item, or null.
  MenuItem* PopupMenu(MenuItem& menu);
  void MenuChanged();  // rebuilds the menu bar from the top-level items

  // --- for controls and tests ----------------------------------------------------------------------
  // The controls in tab order: the order they were made in, unless SetTabOrder changed it.
  const std::vector<Control*>& Controls() const { return controls_; }
  // Puts these controls first in the tab order, in the order given; the others follow in their
  // own order. Native windows are made in tab order, so call it before the form loads.
  void SetTabOrder(std::initializer_list<Control*> order);
  void Register(Control* c);
  void Unregister(Control* c);
  void Register(Timer* t);
  void Unregister(Timer* t);
  void Register(MenuItem* m);
  void Unregister(MenuItem* m);
  int NextControlId() { return nextId_++; }
  HWND ToolTipWindow();
  // A control asks for a native update that may wait until the messages are handled (cheap
  // bursts: a list view that receives thousands of rows updates its native count once). While a
  // handler of the form runs (a long run that keeps the window alive with its yields), the native
  // views follow at most every kBusySyncGapMs: under Wine a native refresh of a long list view is
  // a few hundred round trips to its server, tens of milliseconds during which the run's worker
  // threads wait (rt::WindowWorkFirst), and one for every yield would take most of the window's
  // time. What waits is brought up to date as soon as the last handler returns.
  void RequestSync(Control* c);
  void FlushSync();  // runs every pending update now
  static constexpr unsigned kBusySyncGapMs = 500;
  // Routes a message that a container window received (WM_COMMAND, WM_NOTIFY, colours, scrolling)
  // to the control it is about; false when it is not about one of ours.
  bool RouteControlMessage(UINT m, WPARAM w, LPARAM l, LRESULT& result);
  // True while a handler of this form is running on the stack.
  bool Busy() const { return busy_ > 0; }
  class BusyGuard {
   public:
    explicit BusyGuard(Form& f) : f_(f) { ++f_.busy_; }
    ~BusyGuard() { f_.EndBusy(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

   private:
    Form& f_;
  };

  void EndBusy();
  friend void BeginHandler(Form& f);
  friend void EndHandler(Form& f);
  static void SetQuitWhenLastFormCloses(bool quit);
  static int LoadedFormCount();
  static Form* FromHwnd(HWND h);

 protected:
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {}
  virtual void Form_Unload(int& Cancel) {}
  virtual void Form_Terminate() {}
  // Any window message, before the form's own handling; return true when it is handled.
  virtual bool WindowMessage(UINT m, WPARAM w, LPARAM l, LRESULT& result) { return false; }

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT HandleMessage(HWND window, UINT m, WPARAM w, LPARAM l);
  bool RunUnload(int mode, bool askFirst);
  void Destroy();
  DWORD Style() const;
  DWORD ExStyle() const;
  void OuterFromClient(int& w, int& h) const;
  void ApplyWindowState();
  void BuildMenuBar();

  std::string name_;
  std::string caption_;
  HWND hwnd_ = nullptr;
  HWND toolTip_ = nullptr;
  HMENU menuBar_ = nullptr;
  HICON iconBig_ = nullptr, iconSmall_ = nullptr;
  bool initialized_ = false;
  bool loading_ = false;
  bool terminated_ = false;
  bool unloading_ = false;
  bool enabled_ = true;
  bool visible_ = false;
  bool topmost_ = false;
  bool syncPosted_ = false;  // a sync message is on its way
  bool syncTimed_ = false;   // the sync waits for its timer
  DWORD lastSync_ = 0;
  int windowState_ = kNormal;
  int left_ = -1, top_ = -1;  // twips; -1: the platform's default position
  int clientW_ = 4800, clientH_ = 3600;
  Border border_ = Border::Sizable;
  bool minButton_ = true, maxButton_ = true, controlBox_ = true, showInTaskbar_ = true;
  COLORREF backColor_ = kDefaultColor;
  HBRUSH backBrush_ = nullptr;
  int busy_ = 0;
  int nextId_ = 1000;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  std::vector<MenuItem*> menus_;
  std::set<Control*> pendingSync_;
};

// The default instance of a window class, as the windows address one another: the object is made
// on first use; once it has been unloaded and terminated, the next use makes a fresh one that starts
// from the design state again. An old object is freed only when none of its handlers is running.
// Every default instance that exists is known, so that tests can start each case from no windows
// at all: ResetDefaultInstances throws away the object of each.
class DefaultInstanceBase {
 public:
  DefaultInstanceBase(const DefaultInstanceBase&) = delete;
  DefaultInstanceBase& operator=(const DefaultInstanceBase&) = delete;
  virtual void Reset() = 0;

 protected:
  DefaultInstanceBase();
  ~DefaultInstanceBase();
};
void ResetDefaultInstances();

template <class T>
class DefaultInstance : public DefaultInstanceBase {
 public:
  DefaultInstance() = default;
  ~DefaultInstance() = default;
  T& operator*() { return Get(); }
  T* operator->() { return &Get(); }
  T& Get() {
    if (!current_ || current_->Terminated()) {
      if (current_) retired_.push_back(std::move(current_));
      current_ = std::make_unique<T>();
    }
    Collect();
    return *current_;
  }
  bool Exists() const { return current_ && !current_->Terminated(); }
  bool IsLoaded() const { return Exists() && current_->IsLoaded(); }
  // Throws the current object away (its window goes without any handler running).
  void Reset() override {
    if (current_) retired_.push_back(std::move(current_));
    Collect();
  }

 private:
  void Collect() {
    std::erase_if(retired_, [](const std::unique_ptr<T>& f) { return !f->Busy(); });
  }
  std::unique_ptr<T> current_;
  std::vector<std::unique_ptr<T>> retired_;
};

}  // namespace forms
