// The settings store: every setting of the program is a text value (REG_SZ) under one key of
// HKEY_LOCAL_MACHINE or its sub-keys. Numbers are decimal text, flags "0"/"1", dates and times
// the system's short date and time texts. Nothing writes defaults: a missing value reads as "".
#pragma once

#include <windows.h>

#include <string>

// Reads one value of a registry key. The key is opened for reading only. A text value is given
// without its terminating NUL, a 32-bit number as decimal text; a value of another type leaves
// `text` as the caller passed it. Missing key or value: `text` = "" and false.
bool ReadRegString(HKEY hKey, const std::string& subKey, const std::string& valueName, std::string& text);

// Writes one text value (REG_SZ, stored with its terminating NUL), creating the missing keys of the
// path. False when the key cannot be created or the value not written.
bool WriteRegString(HKEY hKey, const std::string& subKey, const std::string& valueName, const std::string& text);

// Deletes a key that has no sub-keys (the platform's rule). An empty path deletes nothing and
// gives ERROR_INVALID_PARAMETER; otherwise the platform's status (2 when the key is missing).
long DeleteRegKey(HKEY hKey, const std::string& keyPath);

namespace settings {

// The one key of every setting, for every reader and writer.
inline constexpr const char* kRoot = "software\\Morvane\\velk eraser";

// Sub-keys, below kRoot.
inline constexpr const char* kOptionOption = "option\\option";            // option flags "0".."7"
inline constexpr const char* kOptionWin = "option\\win";                  // trace categories "0".."24"
inline constexpr const char* kOptionBrowser = "option\\browser";          // browser profile folders
inline constexpr const char* kOptionCheckPlugin = "option\\checkplugin";  // plug-in drive fix-up done
inline constexpr const char* kOptionBoss = "option\\boss";                // boss key action
inline constexpr const char* kTimer = "timer";                            // the schedule
inline constexpr const char* kTimerOption = "timer\\option";              // the schedule's boxes

// Values directly under kRoot.
inline constexpr const char* kLanguage = "language";        // language file name; "" is "english.ini"
inline constexpr const char* kHomePage = "homepage";        // protected start page
inline constexpr const char* kTitlePage = "titlepage";      // protected window title
inline constexpr const char* kProtectHome = "protect_home"; // "1": the home-page guard checks
inline constexpr const char* kSecureValue = "secure_value"; // overwrite passes "1".."10"
inline constexpr const char* kSecureClean = "secure_clean"; // "1": the cache erase deletes the files too
inline constexpr const char* kShowHideKey = "key";          // letter of the show/hide key
inline constexpr const char* kBossKey = "booskey";          // letter of the boss key
inline constexpr const char* kCookies = "cookies";          // the Windows cookies folder
inline constexpr const char* kLoadCount = "cn";             // number of program starts

// Option flags, under kOptionOption.
inline constexpr const char* kOptPreventHomeChange = "0";
inline constexpr const char* kOptEraseAtShutdown = "1";
inline constexpr const char* kOptLoadAtStartup = "2";
inline constexpr const char* kOptSecureErase = "3";
inline constexpr const char* kOptEraseAtStartup = "4";
inline constexpr const char* kOptStealth = "5";
inline constexpr const char* kOptNoLog = "6";
inline constexpr const char* kOptCloseBrowsers = "7";

// Under kOptionBrowser.
inline constexpr const char* kOpera = "opera";
inline constexpr const char* kNetscape = "net";  // the folder shown; "net0", "net1", ... the profiles
inline constexpr const char* kNetscapeHandPick = "nethand";  // the number of the profile picked by hand
// Under kOptionCheckPlugin and kOptionBoss.
inline constexpr const char* kCheckPluginDone = "ok";
inline constexpr const char* kBossAction = "w";

// Under kTimer.
inline constexpr const char* kWinStart = "winstart";
inline constexpr const char* kScheduleMode = "option";
inline constexpr const char* kScheduleValue = "value";
inline constexpr const char* kScheduleMinute = "min";
inline constexpr const char* kScheduleHour = "hour";
inline constexpr const char* kStartDate = "startdate";
inline constexpr const char* kStartTime = "starttime";
inline constexpr const char* kNextMinute = "nextmin";
inline constexpr const char* kNextHour = "nexthoure";
inline constexpr const char* kNextDay = "nextday";
inline constexpr const char* kNextWeek = "nextweek";
inline constexpr const char* kNextMonth = "nextmnth";
// The moment of the next minute or hour run, "yyyy-mm-dd hh:mm" in local time, beside its clock
// time in "nexthoure" and "nextmin" or "min": it tells a run that is still to come from one that
// passed while the program was not running.
inline constexpr const char* kNextRunAt = "nextrun";
inline constexpr const char* kRunType = "runtype";
inline constexpr const char* kCancel = "cncl";
inline constexpr const char* kFinish = "finish";
// Under kTimerOption.
inline constexpr const char* kTimerOpt = "opt";  // "t1".."t5": the interval boxes

// Outside the settings store, in HKEY_CURRENT_USER: Internet Explorer's start page and window
// title (which the home-page guard protects), and the Run keys that hold the program's start-up
// entry, the value kStartupEntry.
inline constexpr const char* kExplorerMain = "software\\microsoft\\internet explorer\\main";
inline constexpr const char* kStartPage = "Start Page";
inline constexpr const char* kWindowTitle = "window title";
inline constexpr const char* kRunKeys[] = {"software\\microsoft\\windows nt\\currentversion\\run",
                                           "software\\microsoft\\windows\\currentversion\\run"};
inline constexpr const char* kStartupEntry = "Velk Rezeza Pro";

// The full path of a sub-key ("" for kRoot itself).
std::string KeyPath(const std::string& subKey = "");

// A setting's text ("" when missing), and writing one.
std::string Read(const std::string& subKey, const std::string& valueName);
inline std::string Read(const std::string& valueName) { return Read("", valueName); }
bool Write(const std::string& subKey, const std::string& valueName, const std::string& text);
inline bool Write(const std::string& valueName, const std::string& text) { return Write("", valueName, text); }

// True when a flag setting, taken as a number, is 1.
bool IsOn(const std::string& subKey, const std::string& valueName);

}  // namespace settings
