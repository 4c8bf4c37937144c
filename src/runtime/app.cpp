#include "runtime/app.h"

#include <windows.h>

#include "runtime/files.h"

namespace rt {

namespace {
std::string& FolderOverride() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string ExecutablePath() {
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

std::string ProgramFolder() {
  if (!FolderOverride().empty()) return FolderOverride();
  return ParentFolder(ExecutablePath());
}

void SetProgramFolder(const std::string& folder) { FolderOverride() = WithoutTrailingSlash(folder); }

std::string CommandLineArgs(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] == '"') {
    size_t close = line.find('"', i + 1);
    i = close == std::string::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}

namespace {
bool g_argsForTests = false;
std::string g_testArgs;
}  // namespace

void SetCommandLineForTests(const std::string& args) {
  g_argsForTests = true;
  g_testArgs = args;
}

void ClearCommandLineForTests() { g_argsForTests = false; }

std::string CommandLineArgs() {
  if (g_argsForTests) return g_testArgs;
  const char* line = GetCommandLineA();
  return CommandLineArgs(line ? std::string(line) : std::string());
}

}  // namespace rt
