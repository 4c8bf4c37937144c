// The plug-in engine's reading of plug-in files and of its work lists. A plug-in names files,
// folders and registry keys chosen by whoever wrote it, so every entry is checked before it can
// reach a pass: an entry that is not well formed, or that names anything but an absolute local or
// network path, is dropped (no row, no count, no action).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "shared/runcontext.h"

namespace forms {
class ListView;
class ListBox;
}  // namespace forms

namespace plugins {

struct FolderEntry {
  std::string folder;  // absolute, ends in "\"
  std::string mask;    // a file-name pattern, no "\", "/" or ":"
  std::string flag;    // "0" this folder, "1" with its sub-folders
};

// A path that a pass may touch: absolute, no control characters, no device names, no "\\.\" or
// "\\?\" prefix, no "." or ".." parts; wildcards only in its last part when allowed.
bool IsSafePath(const std::string& path, bool wildcardName);

// "file=<path>,<flag>": the path (trimmed); false for anything else.
bool ParseFileEntry(const std::string& line, std::string& path);
// "folder=<folder>\<mask>,<flag>".
bool ParseFolderEntry(const std::string& line, FolderEntry& entry);
// No entry takes one of the system's own folders (a drive's root, the Windows folder, a Program
// Files folder, the user's profile folder; see shared/systemfolders.h) as a whole: a folder entry
// there is dropped when it takes its sub-folders too, or when its mask narrows no name ("*.*"),
// and so is a file entry whose name is such a mask. Entries below those folders stay.
bool IsValidFolderEntry(const FolderEntry& e);
// True when a walk from this root with this mask would take a system folder as a whole (everything
// below it, or every file in it), by what the root resolved to when it was made.
bool TakesSystemFolder(const rt::WalkRoot& root, const std::string& mask, bool withSubfolders);

// One line of a registry section: "<root>\<key>,<1|2|3>" or "<root>\<key>,<value name>,4".
struct RegistryEntry {
  std::string root;     // "HKCU", "HKLM", "HKU", "HKCR", "HKCC" or "HKDD"
  std::string keyPath;  // below the root, never empty
  char action = 0;      // '1' key, '2' its sub-keys, '3' its values, '4' one value
  std::string valueName;
  std::string parentPath, keyName;  // action 1: where the key lies and its name
};
bool ParseRegistryEntry(const std::string& line, RegistryEntry& entry);

// The entries of one plug-in file, as the engine takes them.
struct PluginItems {
  std::vector<std::string> files;
  std::vector<FolderEntry> folders;
  std::vector<std::string> registry;  // the lines of the registry section, trimmed, not blank
};
// Adds the entries of a plug-in file (nothing when it cannot be read to its end).
void ReadPluginItems(const std::string& path, PluginItems& items);

// What a fill of the plug-in list found of the user's selection.
enum class PluginListFill {
  NoSelection,  // there is no selection file: nothing is ticked
  Ticked,       // the rows the selection file names are ticked
  Unreadable,   // the selection file or the plugins folder could not be read: the ticks are not
                // known, so the selection and work-list files must stay as they are
};

// The plug-in files of the "plugins" folder, one row each (the name without ".vk"), with the
// file's own name kept in the row's tag; then the rows named by the selection file are ticked
// (a row is ticked by a line with its name, compared trimmed and ignoring case). A file whose row
// name is, by that comparison, the name of a row listed before it is left out, so that no line of
// the selection names two plug-ins. onTick runs for every tick. A missing plugins folder counts as
// an empty one.
PluginListFill FillPluginList(forms::ListView& view, const std::string& iconKey, const std::function<void()>& onTick);

// Rewrites the selection file from the ticked rows, and the three work-list files from their
// plug-in files, using the three scratch lists.
void BuildWorkLists(forms::ListView& view, forms::ListBox& files, forms::ListBox& folders, forms::ListBox& registry);

// Loads the three work-list files into the lists the passes walk (emptied first). The files are
// plain text anyone may edit, so every entry is checked again; a cut-short last group of folder
// lines is dropped, so the three folder lists keep one length. It stops at the first missing file.
void LoadWorkLists(forms::ListBox& files, forms::ListBox& folders, forms::ListBox& masks, forms::ListBox& flags,
                   forms::ListBox& registry);

// The lists a plug-in pass walks, as LoadWorkLists filled them, and the scratch list of its
// registry enumerations.
struct PassLists {
  const forms::ListBox& files;
  const forms::ListBox& folders;
  const forms::ListBox& masks;
  const forms::ListBox& flags;
  const forms::ListBox& registry;
  forms::ListBox& scratch;
};
// The plug-in pass of a run over the loaded entries: the test pass lists and counts them, the
// erase pass erases them (files overwritten first with secure erasing on). Each item gets its row
// and its count through the run; last, every plug-in row of the status list is marked.
void PluginPass(RunContext& run, const PassLists& lists, bool erase);

// One rewrite of the selection and work-list files at a time. The main window's runs and the
// erasing-settings window both rewrite them, and both yield while they do: a rewrite asked for
// while another is in progress waits, and runs once it has ended, in the order asked. A waiting
// request of the same owner and kind is replaced by the newer one.
void RunBuild(const void* owner, int kind, std::function<void()> build);
bool BuildInProgress();
// Forgets the waiting requests of an owner that goes away.
void DropBuilds(const void* owner);
// Runs `then` once no rewrite is in progress: at once, or after the last waiting one.
void AfterBuilds(std::function<void()> then);

// The files of the program folder.
std::string SelectionFile();   // "slectplg.cln"
std::string FileListFile();    // "plgfile.cln"
std::string FolderListFile();  // "plgfoldr.cln"
std::string RegistryListFile();  // "plgreg.cln"
std::string PluginFolder();    // "plugins"

}  // namespace plugins
