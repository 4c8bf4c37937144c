#include "pluginengine/engine.h"

#include <algorithm>
#include <array>
#include <deque>
#include <set>

#include "forms/listview.h"
#include "forms/lists.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/systemfolders.h"

namespace plugins {

namespace {

bool HasControlChars(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; });
}

std::vector<std::string> Parts(const std::string& path) {
  // The parts after the drive ("C:\") or the share ("\\server\share\").
  size_t start = 3;
  if (path.rfind("\\\\", 0) == 0) {
    size_t server = rt::FindCharOf(path, "\\", 2);
    size_t share = server == std::string::npos ? std::string::npos : rt::FindCharOf(path, "\\", server + 1);
    start = share == std::string::npos ? path.size() : share + 1;
  }
  std::vector<std::string> parts;
  if (start < path.size()) parts = rt::SplitAtChar(std::string_view(path).substr(start), '\\');
  return parts;
}

// A mask that narrows no name: nothing but wildcards and dots ("*.*", "*", "*.???").
bool TakesEveryName(const std::string& mask) {
  return mask.find('*') != std::string::npos && mask.find_first_not_of("*?.") == std::string::npos;
}

// An entry that would take a folder of the system's own as a whole: everything below it, or every
// file in it.
bool TakesSystemFolder(const std::string& folder, const std::string& mask, bool withSubfolders) {
  return (withSubfolders || TakesEveryName(mask)) && IsSystemFolder(folder);
}

}  // namespace

bool TakesSystemFolder(const rt::WalkRoot& root, const std::string& mask, bool withSubfolders) {
  return (withSubfolders || TakesEveryName(mask)) && IsSystemFolder(root);
}

namespace {

// A file entry's path: a pattern in its name takes the matching files of its folder.
bool IsValidFilePath(const std::string& p) {
  if (p.empty() || rt::EndsWithCharOf(p, "\\") || !IsSafePath(p, true)) return false;
  return !rt::HasWildcard(rt::FileNameOf(p)) || !TakesSystemFolder(rt::ParentFolder(p), rt::FileNameOf(p), false);
}

}  // namespace

std::string PluginFolder() { return rt::JoinPath(rt::ProgramFolder(), "plugins"); }
std::string SelectionFile() { return rt::JoinPath(rt::ProgramFolder(), "slectplg.cln"); }
std::string FileListFile() { return rt::JoinPath(rt::ProgramFolder(), "plgfile.cln"); }
std::string FolderListFile() { return rt::JoinPath(rt::ProgramFolder(), "plgfoldr.cln"); }
std::string RegistryListFile() { return rt::JoinPath(rt::ProgramFolder(), "plgreg.cln"); }

bool IsSafePath(const std::string& path, bool wildcardName) {
  if (!rt::IsAbsolutePath(path) || HasControlChars(path)) return false;
  if (rt::FindCharOf(path, "/\"<>|") != std::string::npos) return false;
  if (path.find(':', 2) != std::string::npos) return false;  // no alternate streams
  std::vector<std::string> parts = Parts(path);
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& p = parts[i];
    bool last = i + 1 == parts.size();
    if (p.empty()) return false;
    if (p == "." || p == ".." || p.back() == '.' || p.back() == ' ') return false;
    if (rt::IsDeviceName(p)) return false;
    if (rt::HasWildcard(p) && !(last && wildcardName)) return false;
  }
  return true;
}

bool ParseFileEntry(const std::string& line, std::string& path) {
  if (line.rfind("file=", 0) != 0) return false;
  std::string rest = line.substr(5);
  if (rest.size() < 3 || rest[rest.size() - 2] != ',' || (rest.back() != '0' && rest.back() != '1')) return false;
  std::string p = rt::Trim(rest.substr(0, rest.size() - 2));
  if (!IsValidFilePath(p)) return false;
  path = p;
  return true;
}

bool IsValidFolderEntry(const FolderEntry& e) {
  if (e.flag != "0" && e.flag != "1") return false;
  if (e.mask.empty() || rt::FindCharOf(e.mask, "\\/:") != std::string::npos || HasControlChars(e.mask)) return false;
  if (!rt::EndsWithCharOf(e.folder, "\\")) return false;
  std::string f = e.folder.size() > 3 ? e.folder.substr(0, e.folder.size() - 1) : e.folder;
  return IsSafePath(f, false) && !TakesSystemFolder(e.folder, e.mask, e.flag == "1");
}

bool ParseFolderEntry(const std::string& line, FolderEntry& entry) {
  if (line.rfind("folder=", 0) != 0) return false;
  std::string rest = line.substr(7);
  if (rest.size() < 3 || rest[rest.size() - 2] != ',') return false;
  std::string body = rt::Trim(rest.substr(0, rest.size() - 2));
  size_t slash = rt::FindLastCharOf(body, "\\");
  if (slash == std::string::npos) return false;
  FolderEntry e{body.substr(0, slash + 1), rt::Trim(body.substr(slash + 1)), std::string(1, rest.back())};
  if (!IsValidFolderEntry(e)) return false;
  entry = e;
  return true;
}

bool ParseRegistryEntry(const std::string& line, RegistryEntry& entry) {
  std::string t = rt::Trim(line);
  if (t.size() < 4 || HasControlChars(t)) return false;
  struct Root {
    const char* prefix;
    const char* name;
  };
  static const Root roots[] = {{"HKEY_CURRENT_USER", "HKCU"},   {"HKEY_LOCAL_MACHINE", "HKLM"},
                               {"HKEY_USERS", "HKU"},           {"HKEY_CLASSES_ROOT", "HKCR"},
                               {"HKEY_CURRENT_CONFIG", "HKCC"}, {"HKEY_DYN_DATA", "HKDD"}};
  RegistryEntry e;
  size_t length = 0;
  for (const Root& r : roots) {
    size_t l = strlen(r.prefix);
    if (t.size() > l && rt::UCase(t.substr(0, l)) == r.prefix && t[l] == '\\') {
      e.root = r.name;
      length = l;
      break;
    }
  }
  if (e.root.empty()) return false;  // no root we know: no row and no action
  e.action = t.back();
  if (t[t.size() - 2] != ',' || e.action < '1' || e.action > '4') return false;
  size_t keyStart = length + 1;
  size_t keyEnd = t.size() - 2;  // the "," before the action
  if (e.action == '4') {
    size_t second = keyEnd > keyStart ? t.rfind(',', keyEnd - 1) : std::string::npos;
    if (second == std::string::npos || second < keyStart) return false;
    e.valueName = t.substr(second + 1, keyEnd - second - 1);
    if (e.valueName.empty()) return false;  // the key's unnamed value is never asked for this way
    keyEnd = second;
  }
  if (keyEnd <= keyStart) return false;  // the root itself
  e.keyPath = t.substr(keyStart, keyEnd - keyStart);
  // Empty parts (a "\" at either end, or two in a row) name no key of their own.
  for (const std::string& part : rt::SplitAtChar(e.keyPath, '\\'))
    if (part.empty()) return false;
  size_t last = rt::FindLastCharOf(e.keyPath, "\\");
  e.parentPath = last == std::string::npos ? "" : e.keyPath.substr(0, last);
  e.keyName = last == std::string::npos ? e.keyPath : e.keyPath.substr(last + 1);
  entry = e;
  return true;
}

void ReadPluginItems(const std::string& path, PluginItems& all) {
  rt::LineReader reader;
  if (!reader.Open(path)) return;
  PluginItems items;
  bool inFiles = false, inRegistry = false;
  for (std::string line; reader.Next(line);) {
    std::string k = rt::LCase(rt::Trim(line));
    if (k == "files") {
      inFiles = true;
      continue;
    }
    if (k == "registry") {
      inRegistry = true;
      inFiles = false;
      continue;
    }
    if (inFiles && !inRegistry) {
      std::string file;
      FolderEntry folder;
      if (ParseFileEntry(line, file)) items.files.push_back(file);
      else if (ParseFolderEntry(line, folder)) items.folders.push_back(folder);
    } else if (inRegistry && !inFiles) {
      RegistryEntry r;
      if (ParseRegistryEntry(line, r)) items.registry.push_back(rt::Trim(line));
    }
  }
  // A file read in part (a read error, a line longer than any plug-in holds) is skipped whole, as
  // the editor and the relocation skip it: its entries are not known.
  if (reader.Failed()) return;
  all.files.insert(all.files.end(), items.files.begin(), items.files.end());
  all.folders.insert(all.folders.end(), items.folders.begin(), items.folders.end());
  all.registry.insert(all.registry.end(), items.registry.begin(), items.registry.end());
}

PluginListFill FillPluginList(forms::ListView& view, const std::string& iconKey, const std::function<void()>& onTick) {
  std::vector<rt::FileEntry> files;
  bool listed = rt::ListFolder(PluginFolder(), "*.vk", rt::ListWhat::Files, files) || !rt::FolderExists(PluginFolder());
  std::set<std::string> names;  // the rows so far, named as a selection line names them
  for (const auto& f : files) {
    rt::YieldIfDue();
    std::string name = rt::Trim(f.name);
    std::string text = name.size() > 3 ? name.substr(0, name.size() - 3) : "";
    if (rt::Trim(text).empty()) continue;  // a file named ".vk" is no plug-in
    // "alpha.vk" and "alpha .vk" would be one name in the selection: the first file listed keeps it.
    if (!names.insert(rt::UCase(rt::Trim(text))).second) continue;
    int row = view.Add(text, "", iconKey);
    view.SetTag(row, f.name);
  }
  if (!rt::FileExists(SelectionFile())) return PluginListFill::NoSelection;
  // The whole selection first: ticks taken from part of it would rewrite it without the rest.
  std::vector<std::string> wanted;
  rt::LineReader selection;
  if (!listed || !selection.Open(SelectionFile())) return PluginListFill::Unreadable;
  for (std::string line; selection.Next(line);)
    if (!rt::Trim(line).empty()) wanted.push_back(rt::Trim(line));
  if (selection.Failed()) return PluginListFill::Unreadable;
  for (const std::string& name : wanted) {
    for (int row = 1; row <= view.Count(); ++row) {
      rt::YieldIfDue();
      if (!rt::EqualsNoCase(name, rt::Trim(view.Text(row)))) continue;
      view.SetChecked(row, true);
      if (onTick) onTick();
    }
  }
  return PluginListFill::Ticked;
}

void BuildWorkLists(forms::ListView& view, forms::ListBox& files, forms::ListBox& folders, forms::ListBox& registry) {
  std::vector<std::string> selection;
  std::vector<std::string> ticked;  // the plug-in files of the ticked rows
  for (int row = 1; row <= view.Count(); ++row) {
    if (!view.Checked(row)) continue;
    selection.push_back(view.Text(row));
    ticked.push_back(view.Item(row).tag);
  }
  rt::WriteLinesReplacing(SelectionFile(), selection);
  files.Clear();
  folders.Clear();
  registry.Clear();
  for (const std::string& name : ticked) {
    rt::YieldIfDue();
    if (name.empty()) continue;
    PluginItems items;
    ReadPluginItems(rt::JoinPath(PluginFolder(), name), items);
    for (const auto& f : items.files) files.AddItem(f);
    for (const auto& f : items.folders) {
      folders.AddItem(f.folder);
      folders.AddItem(f.mask);
      folders.AddItem(f.flag);
    }
    for (const auto& r : items.registry) registry.AddItem(r);
  }
  auto write = [](const std::string& path, const forms::ListBox& list) {
    std::vector<std::string> lines;
    for (const auto& item : list.Items()) {
      rt::YieldIfDue();
      if (!rt::Trim(item).empty()) lines.push_back(rt::Trim(item));
    }
    rt::WriteLinesReplacing(path, lines);
  };
  write(FileListFile(), files);
  write(FolderListFile(), folders);
  write(RegistryListFile(), registry);
}

void LoadWorkLists(forms::ListBox& files, forms::ListBox& folders, forms::ListBox& masks, forms::ListBox& flags,
                   forms::ListBox& registry) {
  for (forms::ListBox* l : {&files, &folders, &masks, &flags, &registry}) l->Clear();
  std::vector<std::string> lines;
  if (!rt::ReadLines(FileListFile(), lines)) return;
  for (const auto& l : lines)
    if (IsValidFilePath(rt::Trim(l))) files.AddItem(rt::Trim(l));
  if (!rt::ReadLines(FolderListFile(), lines)) return;
  for (size_t i = 0; i + 2 < lines.size(); i += 3) {
    FolderEntry e{rt::Trim(lines[i]), rt::Trim(lines[i + 1]), rt::Trim(lines[i + 2])};
    if (!IsValidFolderEntry(e)) continue;
    folders.AddItem(e.folder);
    masks.AddItem(e.mask);
    flags.AddItem(e.flag);
  }
  if (!rt::ReadLines(RegistryListFile(), lines)) return;
  for (const auto& l : lines) {
    RegistryEntry r;
    if (ParseRegistryEntry(l, r)) registry.AddItem(l);
  }
}

// --- one rewrite at a time ------------------------------------------------------------------

namespace {

struct WaitingBuild {
  const void* owner;
  int kind;
  std::function<void()> build;
};

// The lock over the rewrites and what waits for it. A build that ends by an exception still
// gives the lock back, so no later rewrite waits for ever behind it.
struct BuildLock {
  bool building = false;
  std::deque<WaitingBuild> waiting;
  std::vector<std::function<void()>> afterBuilds;
};
BuildLock g_lock;

class HoldBuildLock {
 public:
  HoldBuildLock() { g_lock.building = true; }
  ~HoldBuildLock() { g_lock.building = false; }
  HoldBuildLock(const HoldBuildLock&) = delete;
  HoldBuildLock& operator=(const HoldBuildLock&) = delete;
};

}  // namespace

bool BuildInProgress() { return g_lock.building; }

void RunBuild(const void* owner, int kind, std::function<void()> build) {
  if (g_lock.building) {
    for (WaitingBuild& w : g_lock.waiting)
      if (w.owner == owner && w.kind == kind) {
        w.build = std::move(build);
        return;
      }
    g_lock.waiting.push_back({owner, kind, std::move(build)});
    return;
  }
  {
    HoldBuildLock hold;
    build();
    while (!g_lock.waiting.empty()) {
      WaitingBuild next = std::move(g_lock.waiting.front());
      g_lock.waiting.pop_front();
      next.build();
    }
  }
  std::vector<std::function<void()>> after;
  after.swap(g_lock.afterBuilds);
  for (auto& then : after) then();
}

void DropBuilds(const void* owner) {
  std::erase_if(g_lock.waiting, [owner](const WaitingBuild& w) { return w.owner == owner; });
}

void AfterBuilds(std::function<void()> then) {
  if (!g_lock.building) {
    then();
    return;
  }
  g_lock.afterBuilds.push_back(std::move(then));
}

}  // namespace plugins
