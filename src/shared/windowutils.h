// Acting on other programs' windows (closing the browsers, hiding and restoring Explorer and
// Internet Explorer windows), and the show/hide hot key of stealth mode.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

std::string WindowClassName(HWND window);

// Posts WM_CLOSE to every top-level Internet Explorer ("IEFrame") and Mozilla
// ("MozillaWindowClass", any case) window; does not wait for them.
void CloseBrowserWindows();

// Saves the placement of every Explorer ("CabinetWClass") and Internet Explorer window and hides
// them; RestoreExplorerWindows gives every saved window its placement back (again on a second call).
void HideExplorerWindows();
void RestoreExplorerWindows();

// The show/hide hot key of stealth mode: ShowHideWndProc stands in for the main window's own
// window procedure (saved in PrevWndProc) and runs the action set here when hot key 1 is pressed.
LRESULT CALLBACK ShowHideWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetShowHideAction(std::function<void()> action);
WNDPROC PrevWndProc();
void SetPrevWndProc(WNDPROC proc);
// Registers one more hot key (identifiers 1, 2, ...); nonzero on success.
BOOL RegisterShowHideKey(HWND window, UINT modifiers, UINT keyCode);
// Releases every hot key registered so far.
void UnregisterShowHideKeys(HWND window);
int HotKeyCount();
