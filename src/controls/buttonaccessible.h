// What accessibility tools (screen readers, UI automation) see of a chameleonButton: a push button
// named by its caption, pressed by its default action ("Press", which sends BM_CLICK). Everything
// else comes from the system's standard object of the window.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

// The answer to WM_GETOBJECT for the button's client area, 0 when none can be made.
// `pressed` and `checked` describe the button's look at the moment of the question.
LRESULT ButtonAccessibleResult(HWND button, WPARAM w, bool pressed, bool checked, char accessKey);

// The caption as the user reads it: "&" marks the next character and "&&" stands for "&".
std::string CaptionText(const std::string& caption);

}  // namespace controls
