// The delivered programs are built for the processor of this build, and each one's manifest names
// that same processor: Windows refuses to start a program whose manifest names another one (Wine
// does not check it, so only a look at the resources can).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDist = VELK_DIST_DIR;

std::string WindowsPath(std::string path) {
  for (auto& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

WORD PeMachine(const std::string& exe) {
  HANDLE f = CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 0;
  IMAGE_DOS_HEADER dos{};
  IMAGE_FILE_HEADER file{};
  DWORD sig = 0, n = 0;
  WORD machine = 0;
  if (ReadFile(f, &dos, sizeof dos, &n, nullptr) && n == sizeof dos && dos.e_magic == IMAGE_DOS_SIGNATURE &&
      SetFilePointer(f, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
      ReadFile(f, &sig, sizeof sig, &n, nullptr) && sig == IMAGE_NT_SIGNATURE &&
      ReadFile(f, &file, sizeof file, &n, nullptr) && n == sizeof file) {
    machine = file.Machine;
  }
  CloseHandle(f);
  return machine;
}

std::string Manifest(const std::string& exe) {
  HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!m) return "";
  std::string text;
  if (HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {  // RT_MANIFEST
    if (HGLOBAL g = LoadResource(m, r)) {
      text.assign(static_cast<const char*>(LockResource(g)), SizeofResource(m, r));
    }
  }
  FreeLibrary(m);
  return text;
}

// The processorArchitecture of the manifest's own assemblyIdentity (the first one).
std::string ManifestArchitecture(const std::string& manifest) {
  size_t id = manifest.find("<assemblyIdentity");
  if (id == std::string::npos) return "";
  size_t end = manifest.find("/>", id);
  std::string identity = manifest.substr(id, end == std::string::npos ? std::string::npos : end - id);
  const std::string key = "processorArchitecture=\"";
  size_t a = identity.find(key);
  if (a == std::string::npos) return "";
  a += key.size();
  return identity.substr(a, identity.find('"', a) - a);
}

TEST(Delivery, EveryProgramIsBuiltForThisProcessorAndItsManifestSaysSo) {
#ifdef _WIN64
  const WORD machine = IMAGE_FILE_MACHINE_AMD64;
  const std::string arch = "amd64";
#else
  const WORD machine = IMAGE_FILE_MACHINE_I386;
  const std::string arch = "x86";
#endif
  for (const char* name : {"Velk Rezeza Pro.exe", "trelmak.exe"}) {
    SCOPED_TRACE(name);
    std::string exe = WindowsPath(kDist + "/" + name);
    EXPECT_EQ(PeMachine(exe), machine);
    std::string manifest = Manifest(exe);
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(ManifestArchitecture(manifest), arch);
    // The visual styles come from version 6 of the common controls, whatever the processor.
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
  }
}

}  // namespace
