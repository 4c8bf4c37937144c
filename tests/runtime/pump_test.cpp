#include "runtime/pump.h"

#include <gtest/gtest.h>

namespace {

TEST(Pump, DoEventsHandlesWaitingMessages) {
  static int handled = 0;
  handled = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_APP) ++handled;
    return DefWindowProcA(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PumpTestWindow";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("PumpTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  PostMessageA(w, WM_APP, 0, 0);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_EQ(handled, 0);
  EXPECT_TRUE(rt::DoEvents());
  EXPECT_EQ(handled, 2);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_TRUE(rt::YieldIfDue(1000000));  // not due: nothing handled yet
  EXPECT_EQ(handled, 2);
  EXPECT_TRUE(rt::YieldIfDue(0));
  EXPECT_EQ(handled, 3);
  DestroyWindow(w);
}

}  // namespace
