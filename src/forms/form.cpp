#include "forms/form.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/menu.h"
#include "forms/timer.h"
#include "runtime/pump.h"
#include "runtime/windowclass.h"

namespace forms {

namespace {
const char kFormClass[] = "VelkForm";
constexpr UINT kSyncMessage = WM_APP + 0x3F0;
constexpr UINT_PTR kSyncTimer = 0x7F3F;  // apart from the timers' ids, which count from 1000

std::set<Form*>& LoadedForms() {
  static std::set<Form*> forms;
  return forms;
}
bool g_quitWhenLastCloses = false;

// Controls that handle their own access keys (drawn controls whose captions the dialog keyboard
// handling does not read) are asked first.
bool TakeAccessKey(Form& form, const MSG& msg) {
  if (msg.wParam > 0xFF) return false;
  if (msg.message == WM_CHAR) {
    // A plain letter is an access key only where the focused control takes no characters.
    HWND focus = GetFocus();
    if (!focus || (SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                   (DLGC_WANTCHARS | DLGC_WANTMESSAGE)))
      return false;
  }
  char key = static_cast<char>(msg.wParam);
  for (Control* c : std::vector<Control*>(form.Controls())) {
    HWND h = c->hWnd();
    if (h && IsWindowVisible(h) && IsWindowEnabled(h) && c->OnAccessKey(key)) return true;
  }
  return false;
}

void RegisterFormClass(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  rt::RegisterWindowClass(kFormClass, proc, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  // Keyboard navigation (Tab, arrows, access keys) inside every form of ours.
  rt::SetMessageFilter([](MSG& msg) {
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* form = top ? Form::FromHwnd(top) : nullptr;
    if (!form) return false;
    if ((msg.message == WM_SYSCHAR || msg.message == WM_CHAR) && TakeAccessKey(*form, msg)) return true;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_CHAR ||
        msg.message == WM_SYSCHAR || msg.message == WM_KEYUP)
      return IsDialogMessageA(top, &msg) != 0;
    return false;
  });
  done = true;
}
}  // namespace

void BeginHandler(Form& f) { ++f.busy_; }
void EndHandler(Form& f) { f.EndBusy(); }

Form::Form(std::string name) : name_(std::move(name)), caption_(name_) { RegisterFormClass(WndProc); }

Form::~Form() {
  if (hwnd_) Destroy();
  if (backBrush_) DeleteObject(backBrush_);
  for (Control* c : controls_) c->ForgetNative();
}

Form* Form::FromHwnd(HWND h) {
  if (!h) return nullptr;
  char cls[32];
  if (!GetClassNameA(h, cls, sizeof cls) || lstrcmpA(cls, kFormClass) != 0) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrA(h, GWLP_USERDATA));
}

void Form::SetQuitWhenLastFormCloses(bool quit) { g_quitWhenLastCloses = quit; }

namespace {
std::vector<DefaultInstanceBase*>& DefaultInstances() {
  static std::vector<DefaultInstanceBase*> instances;
  return instances;
}
}  // namespace

DefaultInstanceBase::DefaultInstanceBase() { DefaultInstances().push_back(this); }
DefaultInstanceBase::~DefaultInstanceBase() { std::erase(DefaultInstances(), this); }

void ResetDefaultInstances() {
  // The last made first: a window made later may lean on one made before it. Over a copy, as
  // throwing a window away may make or end another default instance.
  std::vector<DefaultInstanceBase*> instances = DefaultInstances();
  for (auto it = instances.rbegin(); it != instances.rend(); ++it)
    if (std::find(DefaultInstances().begin(), DefaultInstances().end(), *it) != DefaultInstances().end())
      (*it)->Reset();
}
int Form::LoadedFormCount() { return static_cast<int>(LoadedForms().size()); }

void Form::Register(Control* c) { controls_.push_back(c); }
void Form::SetTabOrder(std::initializer_list<Control*> order) {
  std::vector<Control*> sorted;
  for (Control* c : order)
    if (std::find(controls_.begin(), controls_.end(), c) != controls_.end() &&
        std::find(sorted.begin(), sorted.end(), c) == sorted.end())
      sorted.push_back(c);
  for (Control* c : controls_)
    if (std::find(sorted.begin(), sorted.end(), c) == sorted.end()) sorted.push_back(c);
  controls_ = std::move(sorted);
}
void Form::Unregister(Control* c) {
  std::erase(controls_, c);
  pendingSync_.erase(c);
}
void Form::Register(Timer* t) { timers_.push_back(t); }
void Form::Unregister(Timer* t) { std::erase(timers_, t); }
void Form::Register(MenuItem* m) { menus_.push_back(m); }
void Form::Unregister(MenuItem* m) { std::erase(menus_, m); }

// --- life cycle ------------------------------------------------------------------------------------

DWORD Form::Style() const {
  DWORD s = WS_CLIPCHILDREN;
  switch (border_) {
    case Border::None: s |= WS_POPUP; break;
    case Border::Sizable: s |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
    case Border::FixedSingle: s |= WS_OVERLAPPED | WS_CAPTION | WS_BORDER; break;
    case Border::FixedDialog: s |= WS_POPUP | WS_CAPTION | WS_DLGFRAME; break;
    case Border::FixedToolWindow: s |= WS_OVERLAPPED | WS_CAPTION; break;
  }
  if (controlBox_ && border_ != Border::None) {
    s |= WS_SYSMENU;
    if (minButton_ && border_ != Border::FixedDialog) s |= WS_MINIMIZEBOX;
    if (maxButton_ && border_ != Border::FixedDialog) s |= WS_MAXIMIZEBOX;
  }
  if (!enabled_) s |= WS_DISABLED;
  return s;
}

DWORD Form::ExStyle() const {
  DWORD s = WS_EX_CONTROLPARENT;
  if (border_ == Border::FixedDialog) s |= WS_EX_DLGMODALFRAME;
  if (border_ == Border::FixedToolWindow) s |= WS_EX_TOOLWINDOW;
  if (showInTaskbar_ && border_ != Border::FixedToolWindow) s |= WS_EX_APPWINDOW;
  if (topmost_) s |= WS_EX_TOPMOST;
  return s;
}

void Form::OuterFromClient(int& w, int& h) const {
  RECT r{0, 0, ToPixels(clientW_), ToPixels(clientH_)};
  bool hasMenu = std::any_of(menus_.begin(), menus_.end(), [](MenuItem* m) { return !m->Parent() && m->Visible(); });
  AdjustWindowRectEx(&r, Style(), hasMenu, ExStyle());
  w = r.right - r.left;
  h = r.bottom - r.top;
}

void Form::Load() {
  if (hwnd_ || loading_) return;
  terminated_ = false;
  BusyGuard busy(*this);
  if (!initialized_) {
    initialized_ = true;
    Form_Initialize();
    if (hwnd_ || terminated_) return;
  }
  loading_ = true;
  int w, h;
  OuterFromClient(w, h);
  int x = left_ < 0 ? CW_USEDEFAULT : ToPixels(left_);
  int y = top_ < 0 ? CW_USEDEFAULT : ToPixels(top_);
  HWND created = CreateWindowExA(ExStyle(), kFormClass, caption_.c_str(), Style(), x, y, w, h, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), this);
  if (!created) {
    loading_ = false;
    return;
  }
  hwnd_ = created;
  LoadedForms().insert(this);
  if (iconBig_) SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_));
  if (iconSmall_) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_));
  BuildMenuBar();
  for (Control* c : std::vector<Control*>(controls_))
    if (!c->Container()) c->EnsureNative();
  Form_Load();
  loading_ = false;
  if (hwnd_)
    for (Timer* t : timers_) t->Start();
}

void Form::Show() {
  if (!hwnd_) Load();
  if (!hwnd_) return;  // unloaded itself while loading
  visible_ = true;
  ApplyWindowState();
  if (hwnd_ && windowState_ != kMinimized) {
    BringWindowToTop(hwnd_);
    SetForegroundWindow(hwnd_);
  }
}

void Form::ApplyWindowState() {
  int cmd = SW_SHOWNORMAL;
  if (windowState_ == kMinimized) cmd = SW_SHOWMINNOACTIVE;
  if (windowState_ == kMaximized) cmd = SW_SHOWMAXIMIZED;
  ShowWindow(hwnd_, cmd);
}

void Form::Hide() {
  visible_ = false;
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload() { return RunUnload(kFormCode, true); }

bool Form::RunUnload(int mode, bool askFirst) {
  if (!hwnd_ || unloading_) return !hwnd_;
  BusyGuard busy(*this);
  unloading_ = true;
  int cancel = 0;
  if (askFirst) Form_QueryUnload(cancel, mode);
  if (!cancel && hwnd_) Form_Unload(cancel);
  if (cancel || !hwnd_) {
    unloading_ = false;
    return !hwnd_;
  }
  Destroy();
  unloading_ = false;
  Form_Terminate();
  terminated_ = true;
  initialized_ = false;
  if (g_quitWhenLastCloses && LoadedForms().empty()) PostQuitMessage(0);
  return true;
}

void Form::Destroy() {
  for (Timer* t : timers_) t->Stop();
  HWND h = hwnd_;
  hwnd_ = nullptr;
  LoadedForms().erase(this);
  visible_ = false;
  syncPosted_ = syncTimed_ = false;
  pendingSync_.clear();
  if (h) {
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
  }
  toolTip_ = nullptr;  // owned by the form's window: destroyed with it
  menuBar_ = nullptr;  // attached to the window: destroyed with it
  for (Control* c : controls_) c->ForgetNative();
}

// --- properties --------------------------------------------------------------------------------

void Form::SetCaption(const std::string& c) {
  caption_ = c;
  if (hwnd_) SetWindowTextA(hwnd_, c.c_str());
}

void Form::SetEnabled(bool e) {
  enabled_ = e;
  if (hwnd_) EnableWindow(hwnd_, e);
}

void Form::SetVisible(bool v) {
  if (v)
    Show();
  else
    Hide();
}

void Form::SetWindowState(int state) {
  if (state < kNormal || state > kMaximized) return;
  windowState_ = state;
  if (hwnd_ && visible_) {
    int cmd = state == kMinimized ? SW_MINIMIZE : state == kMaximized ? SW_MAXIMIZE : SW_RESTORE;
    ShowWindow(hwnd_, cmd);
  }
}

void Form::SetTopmost(bool topmost) {
  topmost_ = topmost;
  if (hwnd_)
    SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::SetBackColor(COLORREF c) {
  backColor_ = c;
  if (backBrush_) DeleteObject(backBrush_);
  backBrush_ = c == kDefaultColor ? nullptr : CreateSolidBrush(c);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::SetIcon(HICON big, HICON small) {
  iconBig_ = big;
  iconSmall_ = small;
  if (hwnd_) {
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

void Form::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  if (width >= 0 || height >= 0) {
    int ow, oh;
    OuterFromClient(ow, oh);
    int tw = width >= 0 ? ToPixels(width) : ow;
    int th = height >= 0 ? ToPixels(height) : oh;
    // Keep the client size in step with the outer size asked for.
    clientW_ += ToTwips(tw - ow);
    clientH_ += ToTwips(th - oh);
  }
  if (hwnd_) {
    int w, h;
    OuterFromClient(w, h);
    SetWindowPos(hwnd_, nullptr, ToPixels(left_), ToPixels(top_), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int Form::Left() const {
  if (hwnd_) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return ToTwips(r.left);
  }
  return left_ < 0 ? 0 : left_;
}

int Form::Top() const {
  if (hwnd_) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return ToTwips(r.top);
  }
  return top_ < 0 ? 0 : top_;
}

int Form::Width() const {
  int w, h;
  OuterFromClient(w, h);
  return ToTwips(w);
}

int Form::Height() const {
  int w, h;
  OuterFromClient(w, h);
  return ToTwips(h);
}

void Form::SetClientSize(int widthTwips, int heightTwips) {
  clientW_ = widthTwips;
  clientH_ = heightTwips;
  if (hwnd_) {
    int w, h;
    OuterFromClient(w, h);
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int Form::ScreenWidth() { return ToTwips(GetSystemMetrics(SM_CXSCREEN)); }
int Form::ScreenHeight() { return ToTwips(GetSystemMetrics(SM_CYSCREEN)); }

void Form::CenterOnScreen() { Move((ScreenWidth() - Width()) / 2, (ScreenHeight() - Height()) / 2); }

HWND Form::ToolTipWindow() {
  if (!toolTip_ && hwnd_) {
    toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  }
  return toolTip_;
}

// --- menus -------------------------------------------------------------------------------------

void Form::BuildMenuBar() {
  if (!hwnd_) return;
  std::vector<MenuItem*> top;
  for (MenuItem* m : menus_)
    if (!m->Parent() && m->Visible()) top.push_back(m);
  HMENU old = menuBar_;
  menuBar_ = nullptr;
  if (!top.empty()) {
    menuBar_ = CreateMenu();
    for (MenuItem* m : top) {
      UINT flags = MF_STRING | (m->Enabled() ? MF_ENABLED : MF_GRAYED);
      if (m->Items().empty())
        AppendMenuA(menuBar_, flags, static_cast<UINT_PTR>(m->Id()), m->Caption().c_str());
      else
        AppendMenuA(menuBar_, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(m->BuildPopup()), m->Caption().c_str());
    }
  }
  if (menuBar_ || old) SetMenu(hwnd_, menuBar_);
  if (old) DestroyMenu(old);
}

void Form::MenuChanged() {
  if (hwnd_) BuildMenuBar();
}

MenuItem* Form::PopupMenu(MenuItem& menu) {
  if (!hwnd_) return nullptr;
  HMENU m = menu.BuildPopup();
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(hwnd_);
  int cmd = TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x, pt.y, 0, hwnd_, nullptr);
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(m);
  MenuItem* chosen = cmd ? menu.FindById(cmd) : nullptr;
  if (chosen) chosen->PerformClick();
  return chosen;
}

// --- deferred native updates ---------------------------------------------------------------------

void Form::RequestSync(Control* c) {
  if (!hwnd_) return;
  pendingSync_.insert(c);
  if (syncPosted_ || syncTimed_) return;
  DWORD since = GetTickCount() - lastSync_;
  if (busy_ > 0 && since < kBusySyncGapMs) {
    syncTimed_ = SetTimer(hwnd_, kSyncTimer, kBusySyncGapMs - since, nullptr) != 0;
    if (syncTimed_) return;
  }
  syncPosted_ = PostMessageA(hwnd_, kSyncMessage, 0, 0) != 0;
}

void Form::EndBusy() {
  if (--busy_ > 0 || !syncTimed_ || !hwnd_) return;
  // The last handler has returned: what waited for its timer follows now.
  KillTimer(hwnd_, kSyncTimer);
  syncTimed_ = false;
  if (!syncPosted_) syncPosted_ = PostMessageA(hwnd_, kSyncMessage, 0, 0) != 0;
}

void Form::FlushSync() {
  if (syncTimed_ && hwnd_) KillTimer(hwnd_, kSyncTimer);
  syncPosted_ = syncTimed_ = false;
  std::set<Control*> pending;
  pending.swap(pendingSync_);
  {
    rt::WindowWorkFirst first;
    for (Control* c : pending) c->SyncNow();
  }
  lastSync_ = GetTickCount();
}

// --- messages ------------------------------------------------------------------------------------

bool Form::RouteControlMessage(UINT m, WPARAM w, LPARAM l, LRESULT& result) {
  switch (m) {
    case WM_COMMAND:
      if (Control* c = Control::FromHwnd(reinterpret_cast<HWND>(l))) {
        c->OnCommand(HIWORD(w));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(l);
      if (Control* c = Control::FromHwnd(nm->hwndFrom)) return c->OnNotify(nm, result);
      return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* c = Control::FromHwnd(reinterpret_cast<HWND>(l))) {
        if (HBRUSH b = c->OnColor(reinterpret_cast<HDC>(w))) {
          result = reinterpret_cast<LRESULT>(b);
          return true;
        }
      }
      return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Control* c = Control::FromHwnd(reinterpret_cast<HWND>(l))) {
        c->OnScroll(LOWORD(w));
        result = 0;
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      if (Control* c = Control::FromHwnd(d->hwndItem)) {
        result = c->OnDrawItem(d);
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK Form::WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self || (self->hwnd_ && self->hwnd_ != h)) return DefWindowProcA(h, m, w, l);
  BusyGuard busy(*self);
  return self->HandleMessage(h, m, w, l);
}

LRESULT Form::HandleMessage(HWND window, UINT m, WPARAM w, LPARAM l) {
  HWND h = hwnd_;  // null while the window is being created
  LRESULT result = 0;
  if (h && WindowMessage(m, w, l, result)) return result;
  if (RouteControlMessage(m, w, l, result)) return result;
  switch (m) {
    case WM_COMMAND:
      if (l == 0 && HIWORD(w) == 0) {
        for (MenuItem* item : std::vector<MenuItem*>(menus_))
          if (item->Id() == LOWORD(w)) {
            item->PerformClick();
            return 0;
          }
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (backBrush_) {
        SetBkColor(reinterpret_cast<HDC>(w), backColor_);
        return reinterpret_cast<LRESULT>(backBrush_);
      }
      SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ERASEBKGND:
      if (backBrush_) {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, backBrush_);
        return 1;
      }
      break;
    case WM_SIZE:
      if (!h) break;
      if (w == SIZE_MINIMIZED) {
        windowState_ = kMinimized;
      } else {
        windowState_ = w == SIZE_MAXIMIZED ? kMaximized : kNormal;
        RECT r;
        GetClientRect(h, &r);
        clientW_ = ToTwips(r.right);
        clientH_ = ToTwips(r.bottom);
      }
      for (Control* c : controls_)
        if (c->HasNative()) c->OnParentSized();
      Form_Resize();
      return 0;
    case WM_ACTIVATE:
      if (h && LOWORD(w) != WA_INACTIVE && !loading_) Form_Activate();
      break;
    case WM_TIMER:
      if (w == kSyncTimer) {
        FlushSync();
        return 0;
      }
      for (Timer* t : std::vector<Timer*>(timers_))
        if (t->Id() == static_cast<int>(w)) {
          t->Tick();
          return 0;
        }
      break;
    case WM_CLOSE:
      RunUnload(kFormControlMenu, true);
      return 0;
    case WM_QUERYENDSESSION: {
      int cancel = 0;
      Form_QueryUnload(cancel, kAppWindows);
      return cancel ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
      if (w) RunUnload(kAppWindows, false);
      return 0;
    case kSyncMessage:
      FlushSync();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      // Only top-level windows hear of a new colour scheme: tell the controls.
      for (Control* c : std::vector<Control*>(controls_))
        if (c->HasNative()) SendMessageA(c->hWnd(), m, w, l);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, m, w, l);
}

}  // namespace forms
