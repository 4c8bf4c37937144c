// Answers a real modal dialog (a window of the dialog class "#32770") that the test's own thread
// shows: a worker thread waits for the dialog to be shown and then acts on it as a person would,
// by sending it messages (set a text, press a button), while the test's thread runs the dialog.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace ts {

class ModalAnswer {
 public:
  // `answer` runs on the worker thread with the dialog, once it is shown.
  explicit ModalAnswer(std::function<void(HWND dialog)> answer);
  ~ModalAnswer();  // waits for the worker (at most about five seconds after it started)
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

  // Whether the dialog was answered; asked once the dialog has closed, it waits for the worker
  // to finish its answer (the dialog may close before the worker's last step).
  bool Answered();

 private:
  void Finish();
  std::thread worker_;
  std::atomic<bool> done_{false};
  std::atomic<bool> answered_{false};
};

// The text of a window (a dialog's control, from any thread).
std::string TextOf(HWND h);

}  // namespace ts
