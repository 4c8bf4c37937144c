// A helper process for the window-utility and boss-key tests: it opens top-level windows of the
// classes the program looks for in other programs ("IEFrame", "CabinetWClass",
// "MozillaWindowClass", ...), signals that they are up and keeps them alive until they are all
// closed or its time runs out.
//
//   fixture_windows.exe READY-EVENT WINDOW...
//   WINDOW = class|state|left|top|width|height|title, state: normal, max, min or hidden
//
// A window that receives WM_CLOSE closes. The helper never outlives one minute.
#include <windows.h>

#include <string>
#include <vector>

namespace {

int g_open = 0;

LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY && --g_open == 0) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}

std::vector<std::string> SplitBar(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar; (bar = s.find('|', start)) != std::string::npos; start = bar + 1) parts.push_back(s.substr(start, bar - start));
  parts.push_back(s.substr(start));
  return parts;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = __argc;
  char** argv = __argv;
  if (argc < 2) return 2;
  for (int i = 2; i < argc; ++i) {
    std::vector<std::string> desc = SplitBar(argv[i]);
    if (desc.size() != 7) return 3;
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = desc[0].c_str();
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassA(&wc);  // a second window of one class finds it registered
    HWND h = CreateWindowExA(0, desc[0].c_str(), desc[6].c_str(), WS_OVERLAPPEDWINDOW, atoi(desc[2].c_str()),
                             atoi(desc[3].c_str()), atoi(desc[4].c_str()), atoi(desc[5].c_str()), nullptr, nullptr,
                             instance, nullptr);
    if (!h) return 4;
    ++g_open;
    const std::string& state = desc[1];
    if (state == "normal") ShowWindow(h, SW_SHOWNORMAL);
    if (state == "max") ShowWindow(h, SW_SHOWMAXIMIZED);
    if (state == "min") ShowWindow(h, SW_SHOWMINNOACTIVE);
  }
  if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1])) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG msg;
  while (g_open > 0 && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
    DispatchMessageA(&msg);
  }
  return 0;
}
