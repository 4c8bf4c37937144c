// The erasing-settings and keep-list windows over a fresh main window, with the shipped language
// file, and the settings they store read back by name.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../mainwindow/fixture.h"
#include "erasesettings/form2.h"
#include "erasesettings/form52.h"
#include "runtime/pump.h"
#include "shared/fileprop.h"
#include "shared/msgform.h"

namespace es {

using Lines = std::vector<std::string>;

// The value's text, "<missing>" when it does not exist.
inline std::string Stored(const std::string& subKey, const std::string& name) {
  std::string text;
  return ReadRegString(HKEY_LOCAL_MACHINE, settings::KeyPath(subKey), name, text) ? text : "<missing>";
}

// The names of the values of a settings key, in the registry's order.
inline Lines ValueNames(const std::string& subKey) {
  Lines names;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::KeyPath(subKey).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD n = sizeof name;
    if (RegEnumValueA(k, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  RegCloseKey(k);
  return names;
}

inline std::string WindowText(HWND h) {
  char text[512] = "";
  GetWindowTextA(h, text, sizeof text);
  return text;
}

inline bool IsTopmost(HWND h) { return (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The user clicks a shown list view at a point of a row: its check box, or its text.
inline void ClickRow(forms::ListView& view, int row, bool checkBox) {
  HWND lv = view.hWnd();
  rt::DoEvents();
  RECT bounds{LVIR_BOUNDS, 0, 0, 0}, icon{LVIR_ICON, 0, 0, 0}, label{LVIR_LABEL, 0, 0, 0};
  SendMessageA(lv, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&bounds));
  SendMessageA(lv, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&icon));
  SendMessageA(lv, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&label));
  POINT p{checkBox ? icon.left - 8 : label.left + 5, (bounds.top + bounds.bottom) / 2};
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  rt::DoEvents();
}
inline void ClickRowBox(forms::ListView& view, int row) { ClickRow(view, row, true); }
inline void ClickRowText(forms::ListView& view, int row) { ClickRow(view, row, false); }

// The user presses Space in a shown list view (it ticks the focused row).
inline void PressSpace(forms::ListView& view) {
  SetFocus(view.hWnd());
  SendMessageA(view.hWnd(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(view.hWnd(), WM_KEYUP, VK_SPACE, 0);
  rt::DoEvents();
}

// The Mozilla profiles folder of the prefix's user: "<application data>\Mozilla\Profiles".
inline std::string MozillaProfiles() { return ShellFolderPath(nullptr, CSIDL_APPDATA) + "\\Mozilla\\Profiles"; }

class SettingsWindowTest : public mw::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ForgetWindows();
    ClearMozilla();
    mw::InstallEnglish();
  }
  void TearDown() override {
    ForgetWindows();
    ClearMozilla();
    MainWindowTest::TearDown();
  }
  static void ForgetWindows() {
    KeepListWindow().Reset();
    ErasingSettings().Reset();
    MessageForm().Reset();
  }
  static void ClearMozilla() {
    std::string appData = ShellFolderPath(nullptr, CSIDL_APPDATA);
    ASSERT_FALSE(appData.empty());
    rt::DeleteTree(appData + "\\Mozilla");
  }
  // The main window, loaded and shown, opens the window with its toolbar button.
  Form2& Open() {
    Form1& m = Main();
    m.Show();
    m.chameleonButton7.PerformClick();
    return ErasingSettings().Get();
  }
  void Plugin(const std::string& name, const std::string& bytes) {
    ts::WriteFile(ts::ProgramDir() + "\\plugins\\" + name, bytes);
  }
  std::string Cln(const char* name) { return ts::ReadFile(ts::ProgramDir() + "\\" + name); }
};

}  // namespace es
