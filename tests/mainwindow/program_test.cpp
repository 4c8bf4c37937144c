// The real program, started as the Windows start-up entry starts it ("Velk Rezeza Pro.exe s"),
// with the erase at start-up on: the planted traces are gone and the log is written.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "shared/settings.h"
#include "support/scratch.h"
#include "support/windows.h"

namespace {

const char* kRunMru = "software\\microsoft\\windows\\currentversion\\explorer\\runmru";
const char* kFindMru = "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";

std::string FromHost(std::string unix) {
  for (auto& c : unix) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unix;
}

bool KeyExists(const char* key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

TEST(Program, AStartAtWindowsStartUpErasesAndLogs) {
  // The program folder: the program and its language file, as they are installed.
  std::string dist = FromHost(VELK_DIST_DIR);
  std::string folder = ts::Scratch() + "\\Velk Rezeza Pro";
  ASSERT_TRUE(rt::CreateFolder(folder + "\\lang"));
  ASSERT_TRUE(CopyFileA((dist + "\\Velk Rezeza Pro.exe").c_str(), (folder + "\\Velk Rezeza Pro.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((dist + "\\lang\\english.ini").c_str(), (folder + "\\lang\\english.ini").c_str(), FALSE));

  settings::Write(settings::kTimer, settings::kWinStart, "1");
  settings::Write(settings::kOptionWin, "11", "1");
  settings::Write(settings::kOptionWin, "12", "1");
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kRunMru, "a", "regedit"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kFindMru, "A", "secret plans"));

  std::string line = "\"" + folder + "\\Velk Rezeza Pro.exe\" s";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
  CloseHandle(pi.hThread);

  // The erase runs inside the start-up; the window then waits, hidden, for the end of Windows.
  HWND main = nullptr;
  for (int i = 0; i < 300 && !main; ++i) {
    Sleep(50);
    main = ts::FindTopLevelWindow(pi.dwProcessId, "VelkForm", "Velk Rezeza Pro");
  }
  ASSERT_NE(main, nullptr) << "the main window came up";
  // Its window exists from the start of the load; the erase in the load ends with the log.
  std::string log;
  for (int i = 0; i < 400 && log.find("Test Completed") == std::string::npos; ++i) {
    Sleep(50);
    log = ts::ReadFile(folder + "\\eraselog.txt");
  }
  // The log is written inside the load; the window goes to the notification area as the start-up
  // ends, a moment later.
  for (int i = 0; i < 200 && IsWindowVisible(main); ++i) Sleep(50);
  EXPECT_FALSE(IsWindowVisible(main)) << "started minimised to the notification area";

  EXPECT_FALSE(KeyExists(kRunMru));
  std::string find;
  ReadRegString(HKEY_CURRENT_USER, kFindMru, "A", find);
  EXPECT_EQ(find, "");
  EXPECT_NE(log.find("Test Mode : Erasing Windows Start Find History secret plans <OK>\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Test Mode : Erasing Windows Start Run History  <OK>\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Registry Keys Scanned: 2, Files : 0"), std::string::npos) << log;
  EXPECT_EQ(settings::Read(settings::kLoadCount), "1");

  // Closing it ends the process (no erase at shutdown is chosen).
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hProcess);
}

}  // namespace
