#include "forms/form.h"

#include <gtest/gtest.h>

#include "forms/controls.h"
#include "forms/menu.h"
#include "forms/timer.h"
#include "native.h"
#include "runtime/pump.h"

namespace {

using forms::Form;

// A form that writes down its life-cycle events.
class LifeForm : public Form {
 public:
  LifeForm() : Form("LifeForm") {}
  std::vector<std::string> log;
  int cancelQuery = 0, cancelUnload = 0;
  std::function<void()> onLoad;

 protected:
  void Form_Initialize() override { log.push_back("Initialize"); }
  void Form_Load() override {
    log.push_back("Load");
    if (onLoad) onLoad();
  }
  void Form_Resize() override { log.push_back("Resize"); }
  void Form_QueryUnload(int& Cancel, int UnloadMode) override {
    log.push_back("QueryUnload " + std::to_string(UnloadMode));
    Cancel = cancelQuery;
  }
  void Form_Unload(int& Cancel) override {
    log.push_back("Unload");
    Cancel = cancelUnload;
  }
  void Form_Terminate() override { log.push_back("Terminate"); }
};

std::vector<std::string> Without(std::vector<std::string> v, const std::string& drop) {
  std::erase(v, drop);
  return v;
}

TEST(FormLifeCycle, LoadShowAndUnloadRunTheirEventsInOrder) {
  LifeForm f;
  f.Load();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(nt::IsShown(f.hWnd()));
  f.Show();
  EXPECT_TRUE(nt::IsShown(f.hWnd()));
  EXPECT_TRUE(f.Unload());
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_EQ(Without(f.log, "Resize"),
            (std::vector<std::string>{"Initialize", "Load", "QueryUnload 1", "Unload", "Terminate"}));
  // A second load starts the object's life again.
  f.log.clear();
  f.Show();
  EXPECT_EQ(Without(f.log, "Resize"), (std::vector<std::string>{"Initialize", "Load"}));
}

TEST(FormLifeCycle, CancelKeepsTheFormLoaded) {
  LifeForm f;
  f.Show();
  f.cancelQuery = 1;
  EXPECT_FALSE(f.Unload());
  EXPECT_TRUE(f.IsLoaded());
  f.cancelQuery = 0;
  f.cancelUnload = 1;
  EXPECT_FALSE(f.Unload());
  EXPECT_TRUE(f.IsLoaded());
  f.cancelUnload = 0;
  EXPECT_TRUE(f.Unload());
}

TEST(FormLifeCycle, TheCloseBoxAndTheEndOfTheSessionAskWithTheirOwnMode) {
  LifeForm f;
  f.Show();
  SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_EQ(Without(f.log, "Resize")[2], "QueryUnload 0");

  f.log.clear();
  f.Show();
  f.cancelQuery = 1;
  EXPECT_EQ(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, 0), FALSE);  // the form refuses to end
  EXPECT_TRUE(f.IsLoaded());
  f.cancelQuery = 0;
  EXPECT_EQ(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_EQ(Without(f.log, "Resize"), (std::vector<std::string>{"Initialize", "Load", "QueryUnload 2",
                                                                "QueryUnload 2", "Unload", "Terminate"}));
}

TEST(FormLifeCycle, AFormMayUnloadItselfWhileLoading) {
  LifeForm f;
  f.onLoad = [&] { f.Unload(); };
  f.Show();
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_EQ(Without(f.log, "Resize"),
            (std::vector<std::string>{"Initialize", "Load", "QueryUnload 1", "Unload", "Terminate"}));
}

TEST(FormProperties, TheNativeWindowMirrorsThem) {
  LifeForm f;
  f.SetCaption("Velk Rezeza Pro");
  f.SetClientSize(9345, 7920);
  f.SetTopmost(true);
  f.Load();
  EXPECT_EQ(nt::WindowText(f.hWnd()), "Velk Rezeza Pro");
  RECT r;
  GetClientRect(f.hWnd(), &r);
  EXPECT_EQ(r.right, 9345 / 15);
  EXPECT_EQ(r.bottom, 7920 / 15);
  EXPECT_TRUE(GetWindowLongPtrA(f.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  f.SetTopmost(false);
  EXPECT_FALSE(GetWindowLongPtrA(f.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  f.CenterOnScreen();
  GetWindowRect(f.hWnd(), &r);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(r.left, (sw - (r.right - r.left)) / 2, 1);
  EXPECT_NEAR(r.top, (sh - (r.bottom - r.top)) / 2, 1);

  f.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(f.hWnd()));
  f.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(f.hWnd()));
  f.SetCaption("other");
  EXPECT_EQ(nt::WindowText(f.hWnd()), "other");
  f.Unload();
}

TEST(FormProperties, WindowStateFollowsTheWindowBothWays) {
  LifeForm f;
  f.SetWindowState(forms::kMinimized);  // before the window exists: taken when it is shown
  f.Show();
  EXPECT_TRUE(IsIconic(f.hWnd()));
  EXPECT_EQ(f.WindowState(), forms::kMinimized);
  f.SetWindowState(forms::kNormal);
  EXPECT_FALSE(IsIconic(f.hWnd()));
  ShowWindow(f.hWnd(), SW_MINIMIZE);  // as the user would
  EXPECT_EQ(f.WindowState(), forms::kMinimized);
  f.log.clear();
  ShowWindow(f.hWnd(), SW_RESTORE);
  EXPECT_EQ(f.WindowState(), forms::kNormal);
  EXPECT_NE(std::find(f.log.begin(), f.log.end(), "Resize"), f.log.end());
  f.Hide();
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(nt::IsShown(f.hWnd()));
  f.Unload();
}

// --- default instances -------------------------------------------------------------------------

class Counted : public Form {
 public:
  Counted() : Form("Counted"), box(*this, "Text1", "design") { ++made; }
  ~Counted() override { ++freed; }
  forms::TextBox box;
  static inline int made = 0, freed = 0;
};

TEST(DefaultInstance, EachLoadAfterTheEndStartsFromTheDesign) {
  Counted::made = Counted::freed = 0;
  forms::DefaultInstance<Counted> form;
  form->Show();
  form->box.SetText("changed");
  EXPECT_EQ(form->box.Text(), "changed");
  form->Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form->box.Text(), "design");  // a fresh object
  EXPECT_EQ(Counted::made, 2);
  EXPECT_EQ(Counted::freed, 1);
}

TEST(DefaultInstance, AnObjectIsNotFreedWhileItsHandlerRuns) {
  Counted::made = Counted::freed = 0;
  static forms::DefaultInstance<Counted>* inst = nullptr;
  forms::DefaultInstance<Counted> form;
  inst = &form;
  form->box.Change = [] {
    Counted& self = **inst;
    self.Unload();
    (*inst)->Load();  // a new object, while the old one's handler is still on the stack
    EXPECT_EQ(Counted::freed, 0);
    EXPECT_EQ(self.box.Text(), "x");  // still safe to touch
  };
  form->Load();
  form->box.SetText("x");
  form->Unload();
  form.Reset();
  EXPECT_EQ(Counted::freed, 2);
}

// --- timers ----------------------------------------------------------------------------------

class TimerForm : public Form {
 public:
  TimerForm() : Form("TimerForm"), Timer1(*this, "Timer1") {
    Timer1.SetInterval(10);
    Timer1.TimerEvent = [this] { Timer1_Timer(); };
  }
  forms::Timer Timer1;
  int ticks = 0, depth = 0, maxDepth = 0, ticksDuringLoad = 0;
  bool loading = false;

 protected:
  void Form_Load() override {
    loading = true;
    for (int i = 0; i < 5; ++i) {  // a long load that yields
      Sleep(15);
      rt::DoEvents();
    }
    loading = false;
  }
  void Timer1_Timer() {
    ++ticks;
    if (loading) ++ticksDuringLoad;
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    Sleep(15);
    rt::DoEvents();  // a tick that yields, with the next tick already due
    --depth;
  }
};

void PumpFor(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (GetTickCount() < end) {
    rt::DoEvents();
    Sleep(2);
  }
}

TEST(Timer, NoTickBeforeLoadEndsAndNoneInsideAnother) {
  TimerForm f;
  f.Load();
  EXPECT_EQ(f.ticksDuringLoad, 0);
  PumpFor(200);
  EXPECT_GT(f.ticks, 2);
  EXPECT_EQ(f.maxDepth, 1);
  // Hidden or disabled, the form's timer goes on.
  f.Hide();
  f.SetEnabled(false);
  int before = f.ticks;
  PumpFor(100);
  EXPECT_GT(f.ticks, before);
  f.Timer1.SetEnabled(false);
  before = f.ticks;
  PumpFor(60);
  EXPECT_EQ(f.ticks, before);
  f.Unload();
}

// --- menus -----------------------------------------------------------------------------------

class MenuForm : public Form {
 public:
  MenuForm()
      : Form("MenuForm"),
        bccc(*this, "bccc", nullptr, "a"),
        a7(*this, "a7", &bccc, "Erase Now"),
        a6(*this, "a6", &bccc, "-"),
        a5(*this, "a5", &bccc, "Options") {
    bccc.SetVisible(false);  // a pop-up only: no menu bar
  }
  forms::MenuItem bccc, a7, a6, a5;
};

TEST(Menu, PopupHoldsTheVisibleItemsAndRunsTheChosenOne) {
  MenuForm f;
  int erase = 0;
  f.a7.Click = [&] { ++erase; };
  f.Load();
  EXPECT_EQ(GetMenu(f.hWnd()), nullptr);
  HMENU m = f.bccc.BuildPopup();
  ASSERT_EQ(GetMenuItemCount(m), 3);
  char text[64];
  GetMenuStringA(m, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Erase Now");
  EXPECT_EQ(GetMenuState(m, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  DestroyMenu(m);
  f.a5.SetVisible(false);
  m = f.bccc.BuildPopup();
  EXPECT_EQ(GetMenuItemCount(m), 2);
  DestroyMenu(m);
  SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(f.a7.Id(), 0), 0);  // the user's choice
  EXPECT_EQ(erase, 1);
  f.a7.SetEnabled(false);
  f.a7.PerformClick();
  EXPECT_EQ(erase, 1);
  f.Unload();
}

TEST(Menu, VisibleTopLevelItemsMakeTheMenuBar) {
  MenuForm f;
  f.bccc.SetVisible(true);
  f.Load();
  HMENU bar = GetMenu(f.hWnd());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  f.bccc.SetCaption("File");
  char text[64];
  GetMenuStringA(GetMenu(f.hWnd()), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "File");
  f.Unload();
}

// A menu bar of two menus, each with items and separators, as an editor window has one.
class EditorForm : public Form {
 public:
  EditorForm()
      : Form("EditorForm"),
        a(*this, "a", nullptr, "&File"),
        a1(*this, "a1", &a, "New"),
        a2(*this, "a2", &a, "-"),
        a3(*this, "a3", &a, "Open"),
        a4(*this, "a4", &a, "Save"),
        a7(*this, "a7", &a, "Exit"),
        b(*this, "b", nullptr, "&About"),
        b1(*this, "b1", &b, "Download Plug-in"),
        b3(*this, "b3", &b, "-"),
        b2(*this, "b2", &b, "About") {
    SetClientSize(6000, 3000);
  }
  forms::MenuItem a, a1, a2, a3, a4, a7, b, b1, b3, b2;
};

std::string MenuText(HMENU m, int pos) {
  char text[64] = "";
  GetMenuStringA(m, pos, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(Menu, AMenuBarOfMenusRunsTheItemTheUserChooses) {
  EditorForm f;
  std::vector<std::string> chosen;
  for (forms::MenuItem* i : {&f.a1, &f.a3, &f.a4, &f.a7, &f.b1, &f.b2})
    i->Click = [&chosen, i] { chosen.push_back(i->Name()); };
  f.Show();
  HMENU bar = GetMenu(f.hWnd());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), "&File");
  EXPECT_EQ(MenuText(bar, 1), "&About");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(MenuText(file, 0), "New");
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(MenuText(file, 4), "Exit");
  // The client area keeps its size under the menu bar.
  RECT client;
  GetClientRect(f.hWnd(), &client);
  EXPECT_EQ(client.right, forms::ToPixels(6000));
  EXPECT_EQ(client.bottom, forms::ToPixels(3000));
  // What the menu sends when the user chooses an item (by mouse or by its keys).
  auto choose = [&](int menu, int pos) {
    SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(GetSubMenu(bar, menu), pos), 0), 0);
  };
  choose(0, 2);
  choose(1, 2);
  choose(0, 4);
  EXPECT_EQ(chosen, (std::vector<std::string>{"a3", "b2", "a7"}));
  // Captions set later (from a language file) show at once; an empty one stays an item.
  f.a1.SetCaption("Nuevo");
  f.b.SetCaption("");
  bar = GetMenu(f.hWnd());
  EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), "Nuevo");
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 1), "");
  f.Unload();
}

}  // namespace
