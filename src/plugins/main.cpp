// Trelmak, the plug-in editor: the program is its editor window and ends when that window closes.
#include <windows.h>
#include <objbase.h>

#include "plugins/plugineditor.h"
#include "runtime/pump.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the common file dialogs need it
  forms::Form::SetQuitWhenLastFormCloses(true);
  PluginEditor()->Show();
  int code = rt::RunMessageLoop();
  CoUninitialize();
  return code;
}
