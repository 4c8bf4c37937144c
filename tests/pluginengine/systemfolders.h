// The system's own folders of the prefix, as the system gives them, for the tests that show that no
// plug-in entry takes them as a whole.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace pe {

inline std::string ShellFolder(int csidl) {
  char buf[MAX_PATH] = "";
  return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK ? std::string(buf) : "";
}

struct SystemFolders {
  SystemFolders() {
    char buf[MAX_PATH] = "";
    GetWindowsDirectoryA(buf, MAX_PATH);
    windows = buf;
    programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    programFilesX86 = ShellFolder(CSIDL_PROGRAM_FILESX86);  // none on 32-bit Windows
    profile = ShellFolder(CSIDL_PROFILE);
    buf[0] = 0;
    GetShortPathNameA(programFiles.c_str(), buf, MAX_PATH);
    programFilesShort = buf;
  }
  std::string windows, programFiles, programFilesX86, programFilesShort, profile;
};

}  // namespace pe
