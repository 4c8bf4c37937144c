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

// The program folder, as installed (the program and its language file), and the program started
// in it as the start-up entry starts it.
struct Started {
  std::string folder;
  PROCESS_INFORMATION pi{};
};
Started StartAtWindowsStartUp() {
  Started p;
  std::string dist = FromHost(VELK_DIST_DIR);
  p.folder = ts::Scratch() + "\\Velk Rezeza Pro";
  EXPECT_TRUE(rt::CreateFolder(p.folder + "\\lang"));
  EXPECT_TRUE(CopyFileA((dist + "\\Velk Rezeza Pro.exe").c_str(), (p.folder + "\\Velk Rezeza Pro.exe").c_str(), FALSE));
  EXPECT_TRUE(CopyFileA((dist + "\\lang\\english.ini").c_str(), (p.folder + "\\lang\\english.ini").c_str(), FALSE));
  std::string line = "\"" + p.folder + "\\Velk Rezeza Pro.exe\" s";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, p.folder.c_str(), &si, &p.pi));
  CloseHandle(p.pi.hThread);
  return p;
}

HWND MainWindowOf(const Started& p) {
  HWND main = nullptr;
  for (int i = 0; i < 300 && !main; ++i) {
    Sleep(50);
    main = ts::FindTopLevelWindow(p.pi.dwProcessId, "VelkForm", "Velk Rezeza Pro");
  }
  return main;
}

TEST(Program, AStartAtWindowsStartUpErasesAndLogs) {
  settings::Write(settings::kTimer, settings::kWinStart, "1");
  settings::Write(settings::kOptionWin, "11", "1");
  settings::Write(settings::kOptionWin, "12", "1");
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kRunMru, "a", "regedit"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kFindMru, "A", "secret plans"));
  Started p = StartAtWindowsStartUp();
  const std::string& folder = p.folder;
  PROCESS_INFORMATION& pi = p.pi;

  // The erase runs inside the start-up; the window then waits, hidden, for the end of Windows.
  HWND main = MainWindowOf(p);
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

// The erase at Windows shutdown: nothing while Windows only asks whether the session may end; when
// it ends, the erase runs with its log, and the program ends.
TEST(Program, TheEndOfTheWindowsSessionErasesFirstThenEnds) {
  settings::Write(settings::kOptionOption, settings::kOptEraseAtShutdown, "1");
  settings::Write(settings::kOptionWin, "11", "1");
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kRunMru, "a", "regedit"));
  Started p = StartAtWindowsStartUp();
  HWND main = MainWindowOf(p);
  ASSERT_NE(main, nullptr) << "the main window came up";

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 15000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "never refused";
  EXPECT_EQ(WaitForSingleObject(p.pi.hProcess, 500), static_cast<DWORD>(WAIT_TIMEOUT)) << "asked only";
  EXPECT_TRUE(KeyExists(kRunMru)) << "asked only";

  SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 15000, &answer);
  EXPECT_EQ(WaitForSingleObject(p.pi.hProcess, 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(p.pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(p.pi.hProcess);
  EXPECT_FALSE(KeyExists(kRunMru));
  EXPECT_NE(ts::ReadFile(p.folder + "\\eraselog.txt").find("Test Mode : Erasing Windows Start Run History  <OK>\r\n"),
            std::string::npos);
}

}  // namespace
