// Velk Rezeza Pro: the program starts at its start-up form and runs until the main window ends it.
#include <windows.h>
#include <objbase.h>

#include "mainwindow/startup.h"
#include "runtime/pump.h"
#include "runtime/random.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  rt::Randomize();
  forms::Form::SetQuitWhenLastFormCloses(true);
  Form3000 startup;
  startup.Load();
  int code = rt::RunMessageLoop();
  CoUninitialize();
  return code;
}
