// The harness must never let a test reach the real home folder or the real trash of the user who
// runs the tests: every folder Wine maps for the user lies inside the build tree's Wine root.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/files.h"
#include "support/scratch.h"

namespace {

std::string Env(const char* name) {
  char buf[4096];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string UnixPath(const std::string& windowsPath) { return ts::UnixPath(windowsPath); }

// Wine hands HOME to programs only as WINEHOMEDIR, an NT path such as "\\??\\Z:\\work\\home".
std::string WineHome() {
  std::string h = Env("WINEHOMEDIR");
  const std::string nt = "\\??\\Z:";
  if (h.compare(0, nt.size(), nt) != 0) return "";
  h = h.substr(nt.size());
  for (auto& c : h)
    if (c == '\\') c = '/';
  return h;
}

bool Under(const std::string& path, const std::string& root) {
  return !root.empty() && path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
         path[root.size()] == '/';
}

class Harness : public ::testing::Test {
 protected:
  std::string root = Env("VELK_WINE_ROOT");
  std::string hostHome = Env("VELK_HOST_HOME");
};

TEST_F(Harness, RunsInsideItsOwnRoot) {
  ASSERT_FALSE(root.empty()) << "tests must be started through scripts/wine-env";
  ASSERT_EQ(root[0], '/');
  ASSERT_FALSE(hostHome.empty());
  EXPECT_NE(root, hostHome);
  EXPECT_TRUE(Under(WineHome(), root)) << "HOME = " << WineHome();
  for (const char* v : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TMPDIR",
                        "WINEPREFIX"}) {
    EXPECT_TRUE(Under(Env(v), root)) << v << " = " << Env(v);
    EXPECT_NE(Env(v), hostHome) << v;
  }
}

TEST_F(Harness, UserFoldersAreRealFoldersInsideTheRoot) {
  const int ids[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO,
                     CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_RECENT, CSIDL_COOKIES, CSIDL_INTERNET_CACHE,
                     CSIDL_HISTORY, CSIDL_TEMPLATES, CSIDL_PROFILE};
  for (int id : ids) {
    char path[MAX_PATH] = "";
    ASSERT_EQ(SHGetFolderPathA(nullptr, id | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK) << id;
    std::string unix = UnixPath(path);
    EXPECT_TRUE(Under(unix, root)) << path << " -> " << unix;
    DWORD a = GetFileAttributesA(path);
    ASSERT_NE(a, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_FALSE(a & FILE_ATTRIBUTE_REPARSE_POINT) << path << " is a link (Wine would delete through it)";
  }
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  EXPECT_TRUE(Under(UnixPath(temp), root)) << temp;
}

TEST_F(Harness, TheTrashIsTheHarnessTrash) {
  std::string data = Env("XDG_DATA_HOME");
  EXPECT_TRUE(Under(data, root));
  EXPECT_NE(data + "/Trash", hostHome + "/.local/share/Trash");
  // Wine deletes for good, reporting success, when the trash folder is missing: it must be there.
  std::string trashFiles = data + "/Trash/files";
  EXPECT_NE(GetFileAttributesA(("Z:" + trashFiles).c_str()), INVALID_FILE_ATTRIBUTES) << trashFiles;
}

TEST_F(Harness, ScratchFoldersLieOnDriveC) {
  std::string unix = UnixPath(ts::Scratch());
  EXPECT_TRUE(Under(unix, root + "/prefix-null") || Under(unix, root + "/prefix-x11")) << unix;
  EXPECT_TRUE(rt::FolderExists(ts::ProgramDir()));
  HKEY k;
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\Morvane", 0, KEY_READ, &k), ERROR_SUCCESS)
      << "every test starts without the settings key";
}

}  // namespace
