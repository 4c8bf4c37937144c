#include "runtime/clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

// Puts text on the clipboard, as another program would.
void PutText(const std::string& bytes) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
  char* p = static_cast<char*>(GlobalLock(block));
  memcpy(p, bytes.c_str(), bytes.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

TEST(Clipboard, ReadsTheTextAndEmptiesTheClipboard) {
  std::string text;
  PutText("HKEY_CURRENT_USER\\Software\\Demo\r\nsecond line");
  EXPECT_TRUE(rt::ClipboardText(text));
  EXPECT_EQ(text, "HKEY_CURRENT_USER\\Software\\Demo\r\nsecond line");
  EXPECT_TRUE(rt::ClearClipboard());
  text = "stale";
  EXPECT_TRUE(rt::ClipboardText(text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST(Clipboard, AClipboardHeldOpenElsewhereIsAFailedRead) {
  PutText("kept");
  std::atomic<int> stage{0};
  std::thread holder([&] {
    // Another window holds the clipboard open (as a program does while it copies).
    HWND w = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    stage = w && OpenClipboard(w) ? 1 : 2;
    while (stage != 3) Sleep(5);
    CloseClipboard();
    DestroyWindow(w);
  });
  while (stage == 0) Sleep(5);
  ASSERT_EQ(stage, 1);
  std::string text = "old";
  EXPECT_FALSE(rt::ClipboardText(text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(rt::ClearClipboard());
  stage = 3;
  holder.join();
  EXPECT_TRUE(rt::ClipboardText(text));
  EXPECT_EQ(text, "kept");
}

TEST(Clipboard, TestsStandInForTheClipboard) {
  std::optional<std::string> next = std::string("HKCU\\Software\\Demo\0junk", 24);
  int clears = 0;
  rt::SetClipboardHandlers([&] { return next; }, [&] {
    ++clears;
    return true;
  });
  std::string text;
  EXPECT_TRUE(rt::ClipboardText(text));
  EXPECT_EQ(text, "HKCU\\Software\\Demo");  // cut at the NUL, as the real clipboard's text is
  next = std::nullopt;
  EXPECT_FALSE(rt::ClipboardText(text));
  EXPECT_EQ(text, "");
  EXPECT_TRUE(rt::ClearClipboard());
  EXPECT_EQ(clears, 1);
  rt::SetClipboardHandlers(nullptr, nullptr);
}

}  // namespace
