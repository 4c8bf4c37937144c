// The few places where the program meets the user or the outside world in a way a test must be
// able to answer or watch: the clock, message boxes, and starting processes or documents.
// Without a test hook each call goes to the platform.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace rt {

// --- the clock --------------------------------------------------------------------------------
SYSTEMTIME Now();  // local time
// A fixed local time for tests; std::nullopt gives the real clock back.
void SetClockForTests(std::optional<SYSTEMTIME> fixed);

// --- message boxes ----------------------------------------------------------------------------
struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string title;
  UINT style;
};
// Shows the platform's modal message box and returns the button pressed (IDOK, IDYES, ...).
int MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style);
// Tests answer the boxes themselves: the handler gets each call and returns the button.
void SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler);

// --- processes and documents ------------------------------------------------------------------
struct ProcessStart {
  std::string commandLine;  // CreateProcessA
  std::string verb, file, parameters, folder;  // ShellExecuteA
  int show = SW_SHOWNORMAL;
  bool viaShell = false;
};
// Starts a program with its command line, not waiting for it. False when it could not start.
bool StartProcess(const std::string& commandLine, int show);
// ShellExecuteA; returns its result (above 32 is success).
INT_PTR ShellExecuteText(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder, int show);
// Tests see every start instead of it happening; the handler's result is what the call returns
// (for StartProcess: non-zero means started).
void SetProcessStartHandler(std::function<INT_PTR(const ProcessStart&)> handler);

// --- ending the program ------------------------------------------------------------------------
// Ends the process at once (no handler of any window runs afterwards). Tests see the request
// instead: the handler runs and the call returns.
void ExitProgram(int code);
void SetExitHandler(std::function<void(int)> handler);

// --- holding the end of a Windows session ------------------------------------------------------
// Tells Windows why the window holds the end of the session (shown while Windows waits for it),
// until ReleaseSessionEnd. The platform has the calls from Windows Vista on; they are looked up
// when needed, so on an older system nothing is said and the program still starts.
void HoldSessionEnd(HWND window, const std::string& reason);
void ReleaseSessionEnd(HWND window);
// Tests watch each hold (with its reason) and release (reason "") besides the platform calls.
void SetSessionHoldHandler(std::function<void(HWND window, const std::string& reason, bool held)> handler);

}  // namespace rt
