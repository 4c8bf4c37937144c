// The Opera and Netscape/Mozilla profile folders of the erasing-settings window. The runs erase
// files inside them: "opera" is the Opera folder, net0, net1, ... (up to net99) the Mozilla
// profiles; "net" is only what the Netscape/Mozilla box shows, and "nethand" the number of the
// profile the user picked by hand. None of the system's own folders (a drive's root, the Windows
// folder, ...) is ever stored as a profile folder.
#include <shlobj.h>

#include <vector>

#include "erasesettings/form2.h"
#include "runs/browserfolders.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/settings.h"
#include "shared/storage.h"
#include "shared/systemfolders.h"

namespace {

constexpr int kMostProfiles = 100;  // the runs read net0 to net99

std::string ProfileValue(int i) { return std::string(settings::kNetscape) + rt::NumberText(i); }

std::string OperaLastDirectory() {
  std::string last;
  ReadRegString(HKEY_CURRENT_USER, "Software\\Opera Software", "Last Directory", last);
  return last;
}

// Stores what a folder box or button gives. The Opera folder is one the runs erase files in: one
// of the system's own folders is stored as "" (no folder). "net" only remembers the box.
void StoreFolder(const char* valueName, const std::string& text) {
  bool refused = std::string(valueName) == settings::kOpera && IsSystemFolder(text);
  settings::Write(settings::kOptionBrowser, valueName, refused ? "" : text);
}

// The number "nethand" holds, -1 when it holds none (a stored value is checked before it is
// trusted: two digits at most, nothing else).
int StoredHandPick() {
  std::string text = rt::Trim(settings::Read(settings::kOptionBrowser, settings::kNetscapeHandPick));
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(text);
}

// A folder the user picked by hand joins the Mozilla profiles the runs erase, after the ones there
// are; a later pick takes its place instead of adding one more. A folder already among them is
// not added again, and none of the system's own folders ever is.
void HandPickProfile(const std::string& folder) {
  std::string f = rt::WithoutTrailingSlash(rt::Trim(folder));
  if (!IsBrowserProfileFolder(f) || !rt::FolderExists(f)) return;
  int count = 0, already = -1;  // the numbered values before the first gap; the one naming f
  for (; count < kMostProfiles; ++count) {
    std::string stored;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionBrowser), ProfileValue(count), stored))
      break;
    if (already < 0 && rt::EqualsNoCase(rt::WithoutTrailingSlash(rt::Trim(stored)), f)) already = count;
  }
  // The earlier pick, while its number is still one the runs read (a scan may have taken it since).
  int previous = StoredHandPick();
  if (previous >= 0 && previous < count) {
    if (already == previous) return;
    if (already >= 0 && previous == count - 1) {
      // The folder is a profile already: the earlier pick, the last number, is taken back.
      fDeleteValue("HKLM", settings::KeyPath(settings::kOptionBrowser), ProfileValue(previous));
      settings::Write(settings::kOptionBrowser, settings::kNetscapeHandPick, "");
    } else {
      settings::Write(settings::kOptionBrowser, ProfileValue(previous), f);  // (the runs take a folder once)
    }
    return;
  }
  if (already >= 0 || count == kMostProfiles) return;
  settings::Write(settings::kOptionBrowser, ProfileValue(count), f);
  settings::Write(settings::kOptionBrowser, settings::kNetscapeHandPick, rt::NumberText(count));
}

}  // namespace

void Form2::LoadBrowserFolders() {
  std::string opera = settings::Read(settings::kOptionBrowser, settings::kOpera);
  Text2.SetText(rt::Trim(opera).empty() ? OperaLastDirectory() : opera);
  std::string net = settings::Read(settings::kOptionBrowser, settings::kNetscape);
  if (!rt::Trim(net).empty())
    Text1.SetText(net);
  else
    chameleonButton22_Click();
}

void Form2::Text2_Change() { StoreFolder(settings::kOpera, rt::Trim(Text2.Text())); }

void Form2::Text1_Change() { StoreFolder(settings::kNetscape, rt::Trim(Text1.Text())); }

std::string Form2::ChangeDirectory(forms::TextBox& box, const char* valueName) {
  SetTopmost(false);  // the picker comes up in front of the window
  long flags = 0, root = 10;
  std::string path = BrowseFolder(hWnd(), "Choose a folder:", flags, root);
  if (path.size() == 3 && path[1] == ':' && path[2] == '\\') path = path.substr(0, 2);  // a drive's root: "D:"
  if (rt::Trim(path).empty()) {
    path.clear();
  } else {
    box.SetText(rt::Trim(path));
    StoreFolder(valueName, path);
  }
  SetTopmost(true);
  return path;
}

void Form2::chameleonButton19_Click() { ChangeDirectory(Text2, settings::kOpera); }

// Only a folder the user picked joins the profiles: what the box holds after a cancelled picker
// may be anything typed into it.
void Form2::chameleonButton20_Click() {
  std::string picked = ChangeDirectory(Text1, settings::kNetscape);
  if (!picked.empty()) HandPickProfile(picked);
}

void Form2::chameleonButton21_Click() {
  std::string last = OperaLastDirectory();
  Text2.SetText(last);
  StoreFolder(settings::kOpera, last);
}

bool Form2::Command2_Click() {
  Dir1.SetPath(rt::ProgramFolder());
  std::string appData = ShellFolderPath(hWnd(), CSIDL_APPDATA);
  return !appData.empty() && Dir1.SetPath(rt::JoinPath(appData, "Mozilla\\Profiles"));
}

// Every profile folder of the Mozilla profiles folder becomes one numbered value: the first of its
// own folders whose name ends in ".slt", or the profile folder itself. Without a profiles folder
// nothing is recorded: the folder the list showed before is no profile. A folder that leads to one
// of the system's own is none either. A hand pick whose number the scan takes is gone.
void Form2::chameleonButton22_Click() {
  if (!Command2_Click()) return;
  std::vector<std::string> profiles;
  for (int i = 0; i < Dir1.ListCount(); ++i) profiles.push_back(Dir1.List(i));
  int recorded = 0;
  for (const std::string& profile : profiles) {
    rt::YieldIfDue();
    if (recorded == kMostProfiles || !IsLoaded()) break;
    if (!rt::FolderExists(profile)) continue;  // gone since it was listed
    std::string chosen = profile;
    if (Dir2.SetPath(profile)) {
      std::vector<std::string> inside;
      for (int j = 0; j < Dir2.ListCount(); ++j) inside.push_back(Dir2.List(j));
      for (const std::string& folder : inside) {
        rt::YieldIfDue();
        if (rt::EndsWithNoCase(folder, ".slt")) {
          chosen = folder;
          break;
        }
      }
    }
    if (!IsBrowserProfileFolder(chosen)) continue;
    Text1.SetText(chosen);
    settings::Write(settings::kOptionBrowser, ProfileValue(recorded++), chosen);
  }
  int handPick = StoredHandPick();
  if (handPick >= 0 && handPick < recorded) settings::Write(settings::kOptionBrowser, settings::kNetscapeHandPick, "");
}
