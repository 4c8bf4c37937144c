// Registers a window class of ours once (later calls do nothing).
#pragma once

#include <windows.h>

namespace rt {

void RegisterWindowClass(const char* name, WNDPROC proc, UINT style = 0, HBRUSH background = nullptr);

}  // namespace rt
