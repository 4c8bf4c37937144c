#include "support/modal.h"

#include <cstring>

namespace ts {

namespace {
BOOL CALLBACK FindDialog(HWND h, LPARAM l) {
  char cls[16];
  if (GetClassNameA(h, cls, sizeof cls) && strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) {
    *reinterpret_cast<HWND*>(l) = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

ModalAnswer::ModalAnswer(std::function<void(HWND)> answer) {
  DWORD ui = GetCurrentThreadId();
  worker_ = std::thread([this, ui, answer = std::move(answer)] {
    for (int i = 0; i < 500 && !done_; ++i) {
      HWND found = nullptr;
      EnumThreadWindows(ui, FindDialog, reinterpret_cast<LPARAM>(&found));
      if (found) {
        Sleep(50);  // let the dialog finish its start (focus, first paint)
        answer(found);
        answered_ = true;
        return;
      }
      Sleep(10);
    }
  });
}

void ModalAnswer::Finish() {
  done_ = true;
  if (worker_.joinable()) worker_.join();
}

ModalAnswer::~ModalAnswer() { Finish(); }

bool ModalAnswer::Answered() {
  Finish();
  return answered_;
}

std::string TextOf(HWND h) {
  char buf[1024] = "";
  // WM_GETTEXT rather than GetWindowText: it reads the text of another thread's controls too.
  SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

}  // namespace ts
