// The Opera and Netscape/Mozilla profile folders of the erasing-settings window. The runs erase
// files inside them: "opera" is the Opera folder, net0, net1, ... (up to net99) the Mozilla
// profiles; "net" is only what the Netscape/Mozilla box shows.
#include <shlobj.h>

#include <vector>

#include "erasesettings/form2.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "shared/fileprop.h"
#include "shared/settings.h"

namespace {

constexpr int kMostProfiles = 100;  // the runs read net0 to net99

std::string ProfileValue(int i) { return std::string(settings::kNetscape) + rt::NumberText(i); }

std::string OperaLastDirectory() {
  std::string last;
  ReadRegString(HKEY_CURRENT_USER, "Software\\Opera Software", "Last Directory", last);
  return last;
}

// A folder the user chose by hand joins the Mozilla profiles the runs erase, after the ones there
// are (a drive's root is never taken for a profile).
void AddProfileFolder(const std::string& folder) {
  std::string f = rt::Trim(folder);
  if (f.size() <= 3 || !rt::FolderExists(f)) return;
  for (int i = 0; i < kMostProfiles; ++i) {
    std::string stored;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, settings::KeyPath(settings::kOptionBrowser), ProfileValue(i), stored)) {
      settings::Write(settings::kOptionBrowser, ProfileValue(i), f);
      return;
    }
    if (rt::EqualsNoCase(rt::Trim(stored), f)) return;
  }
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

void Form2::Text2_Change() { settings::Write(settings::kOptionBrowser, settings::kOpera, rt::Trim(Text2.Text())); }

void Form2::Text1_Change() { settings::Write(settings::kOptionBrowser, settings::kNetscape, rt::Trim(Text1.Text())); }

std::string Form2::ChangeDirectory(forms::TextBox& box, const char* valueName) {
  SetTopmost(false);  // the picker comes up in front of the window
  long flags = 0, root = 10;
  std::string path = BrowseFolder(hWnd(), "Choose a folder:", flags, root);
  if (!path.empty() && path.back() == '\\') path = path.substr(0, 2);  // a drive's root: "D:"
  if (rt::Trim(path).empty()) {
    path.clear();
  } else {
    box.SetText(rt::Trim(path));
    settings::Write(settings::kOptionBrowser, valueName, path);
  }
  SetTopmost(true);
  return path;
}

void Form2::chameleonButton19_Click() { ChangeDirectory(Text2, settings::kOpera); }

// Only a folder the user picked joins the profiles: what the box holds after a cancelled picker
// may be anything typed into it.
void Form2::chameleonButton20_Click() {
  std::string picked = ChangeDirectory(Text1, settings::kNetscape);
  if (!picked.empty()) AddProfileFolder(picked);
}

void Form2::chameleonButton21_Click() {
  std::string last = OperaLastDirectory();
  Text2.SetText(last);
  settings::Write(settings::kOptionBrowser, settings::kOpera, last);
}

bool Form2::Command2_Click() {
  Dir1.SetPath(rt::ProgramFolder());
  std::string appData = ShellFolderPath(hWnd(), CSIDL_APPDATA);
  return !appData.empty() && Dir1.SetPath(rt::JoinPath(appData, "Mozilla\\Profiles"));
}

// Every profile folder of the Mozilla profiles folder becomes one numbered value: the first of its
// own folders whose name ends in ".slt", or the profile folder itself. Without a profiles folder
// nothing is recorded: the folder the list showed before is no profile.
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
    Text1.SetText(chosen);
    settings::Write(settings::kOptionBrowser, ProfileValue(recorded++), chosen);
  }
}
