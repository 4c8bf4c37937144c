// The plug-in passes of the runs: the items of the selected plug-ins are listed and counted (test
// pass) or erased (erase pass) after the built-in categories. The engine erases exactly what a
// selected plug-in names: files (one by one, or every match of a pattern in one folder), the files
// of a folder (and of its sub-folders), registry keys, sub-keys and values. Folders themselves,
// and keys that still have sub-keys, stay.
#include <cmath>
#include <functional>

#include "forms/forms.h"
#include "pluginengine/engine.h"
#include "runtime/files.h"
#include "runtime/outcome.h"
#include "runtime/overwrite.h"
#include "runtime/pump.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/fileprop.h"
#include "shared/registry.h"
#include "shared/settings.h"
#include "shared/storage.h"
#include "shared/wipe.h"

namespace {

const char kOverwritePattern[] = "010101010111111111111111111000000000000000000000000011111111111111111111011010101";
const char kFileRow[] = "Plug In Application Files = ";
const char kRegistryRow[] = "Plug In Registry Links = ";

// Deletes one listed file through one handle, overwritten first with the pattern as often as the
// settings ask when secure erasing is on: a file that cannot be deleted is never overwritten, one
// whose overwrite did not complete stays, and so does one that the root of its listing does not
// hold. True when the file is gone (also when it went before this call came to it).
bool EraseFile(const rt::FoundFile& file, const rt::WalkRoot& root) {
  Overwrite overwrite;
  if (const int n = SecureErasePasses(); n > 0) {
    overwrite = [n](HANDLE h) {
      for (int k = 0; k < n; ++k) {
        rt::YieldIfDue();
        rt::Randomize();
        uint64_t start = static_cast<uint64_t>(std::floor(rt::Rnd() * 6));
        if (!rt::OverwriteWithPattern(h, kOverwritePattern, start, start + sizeof kOverwritePattern - 1)) return false;
      }
      return true;
    };
  }
  // Read-only, hidden or system as it may be, it goes; one that stays keeps its own attributes.
  return rt::Gone(EraseOneFileWith(file, true, overwrite, &root));
}

// What a registry line names is there (read-only checks). A key that cannot be opened for another
// reason than its absence counts as there: its deletion then says whether it went.
bool KeyExists(const std::string& root, const std::string& path) {
  ResolvedRoot rr = fResolveRoot(root);
  if (rr.kind != RootKind::Registry) return false;
  reg::Key key;
  return key.Open(rr.key, path, KEY_QUERY_VALUE) != ERROR_FILE_NOT_FOUND;
}

bool ValueExists(const std::string& root, const std::string& path, const std::string& name) {
  ResolvedRoot rr = fResolveRoot(root);
  if (rr.kind != RootKind::Registry) return false;
  reg::Key key;
  LONG opened = key.Open(rr.key, path, KEY_QUERY_VALUE);
  if (opened != ERROR_SUCCESS) return opened != ERROR_FILE_NOT_FOUND;
  return RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND;
}

std::string RegistryRow(const std::string& root, const std::string& path, const std::string& last, bool ok) {
  std::string key = path.empty() ? root : root + "\\" + path;
  return kRegistryRow + key + "\\" + last + RunContext::RowEnd(ok, " ");
}

}  // namespace

namespace plugins {

void PluginPass(RunContext& run, const PassLists& lists, bool erase) {
  // Every walk goes over a copy of its list: nothing that runs during a yield can change it.
  const std::vector<std::string> fileEntries = lists.files.Items();
  const std::vector<std::string> folders = lists.folders.Items(), masks = lists.masks.Items(),
                                 flags = lists.flags.Items();
  const std::vector<std::string> registryLines = lists.registry.Items();
  int64_t files = 0;
  uint64_t bytes = 0;

  // One listed file: its row and its size; in the erase pass it goes, read-only, hidden or system
  // as it may be (a file that stays gets its own attributes back). The test pass changes nothing
  // of it. A path that names no file (it is not there, or is a folder) has nothing to erase: no
  // row, no count. What a file goes through is checked by its handle against the root of its
  // folder, as that resolved before the folder was listed (or, for a file entry, looked at).
  auto listFile = [&](const rt::FoundFile& file, const rt::WalkRoot& root) {
    rt::YieldIfDue();
    uint64_t size = 0;
    if (!rt::FileSize64(file, size)) return;
    bool ok = !erase || EraseFile(file, root);
    run.AddDetailRow(kFileRow + file.path + RunContext::RowEnd(ok, " "));
    if (ok) {
      ++files;
      bytes += size;
    }
  };

  for (const std::string& entry : fileEntries) {
    const std::string folder = rt::ParentFolder(entry), name = rt::FileNameOf(entry);
    if (!rt::HasWildcard(name)) {
      // Only the erase pass goes through the file: the test pass resolves no root for it.
      listFile(rt::FoundFile{entry}, erase ? rt::WalkRoot(folder) : rt::WalkRoot());
      continue;
    }
    const rt::WalkRoot root(folder);
    // A pattern in the name: every matching file of that folder, in one row. The folder it resolved
    // to is checked as the entry was (no pattern takes the files of a system folder whole). The
    // entry counts as one file when it erased any of them, with the bytes of those it erased; its
    // row fails when one stays.
    rt::YieldIfDue();
    const std::string resolved = rt::ResolvedFolderPath(root);
    std::string checked;
    if (resolved.empty() || !ParseFileEntry("file=" + rt::JoinPath(resolved, name) + ",0", checked) ||
        TakesSystemFolder(root, name, false))
      continue;
    std::vector<rt::FileEntry> matches;
    rt::ListFolder(folder, name, rt::ListWhat::Files, matches);
    if (matches.empty()) continue;  // nothing matches: nothing to list, erase or count
    bool ok = true, any = false;
    uint64_t size = 0;
    for (const auto& m : matches) {
      // The entry names the pattern, not its matches: the test pass leaves their attributes, and
      // the erase pass gives a match that stays its own back.
      bool gone = !erase || EraseFile(rt::FileIn(folder, m), root);
      if (gone) size += m.size;
      ok = ok && gone;
      any = any || gone;
    }
    run.AddDetailRow(kFileRow + entry + RunContext::RowEnd(ok, " "));
    if (any) {
      ++files;
      bytes += size;
    }
  }
  run.AddFileCount(files);
  files = 0;

  for (size_t i = 0; i < folders.size() && i < masks.size() && i < flags.size(); ++i) {
    rt::YieldIfDue();
    FolderEntry e{folders[i], masks[i], flags[i]};
    if (!IsValidFolderEntry(e)) continue;
    // The folder is resolved once, and what it resolved to is checked and walked: a folder swapped
    // for a link after the check leads the walk nowhere outside it.
    const rt::WalkRoot root(e.folder);
    const std::string resolved = rt::ResolvedFolderPath(root);
    if (resolved.empty() || !rt::FolderExists(resolved) ||
        !IsValidFolderEntry(FolderEntry{rt::JoinPath(resolved, ""), e.mask, e.flag}) ||
        TakesSystemFolder(root, e.mask, e.flag == "1"))
      continue;
    std::vector<rt::FileEntry> own;
    rt::ListFolder(e.folder, e.mask, rt::ListWhat::Files, own);
    for (const auto& f : own) {
      rt::FoundFile file = rt::FileIn(e.folder, f);
      if (file.path.size() <= rt::kMaxPath) listFile(file, root);
    }
    if (e.flag == "1") {
      std::vector<rt::FoundFile> below;
      rt::FindFiles(root, e.folder, e.mask, false, below);  // the sub-folders; the folder's own files are listed above
      for (const auto& file : below) listFile(file, root);
    }
  }
  run.AddFileCount(files);
  run.AddFileSize(bytes);

  // One registry item: deleted in the erase pass, then its row, and counted when it went. A key or
  // value that is not there has nothing to list or erase: neither pass gives it a row.
  auto registryItem = [&](const RegistryEntry& r, const std::string& path, const std::string& last,
                          bool isKey, const std::function<long()>& remove) {
    std::string key = path.empty() ? last : path + "\\" + last;
    bool there = isKey ? KeyExists(r.root, key) : ValueExists(r.root, path, last);
    if (!there) return;
    bool ok = !erase || remove() == 0;
    run.AddDetailRow(RegistryRow(r.root, path, last, ok));
    if (ok) run.AddRegCount(1);
  };
  std::string scratch;
  for (const std::string& line : registryLines) {
    rt::YieldIfDue();
    RegistryEntry r;
    if (!ParseRegistryEntry(line, r)) continue;
    if (r.action == '1') {
      registryItem(r, r.parentPath, r.keyName, true, [&] { return fDeleteKey(r.root, r.parentPath, r.keyName); });
    } else if (r.action == '4') {
      registryItem(r, r.keyPath, r.valueName, false, [&] { return fDeleteValue(r.root, r.keyPath, r.valueName); });
    } else {
      // '2' the key's sub-keys, '3' its values: each one found is an item of its own.
      scratch.clear();
      if (r.action == '2') fEnumKey(r.root, r.keyPath, scratch, lists.scratch);
      else fEnumValuec(r.root, r.keyPath, scratch, lists.scratch);
      for (const std::string& name : std::vector<std::string>(lists.scratch.Items())) {
        rt::YieldIfDue();
        registryItem(r, r.keyPath, name, r.action == '2', [&] {
          return r.action == '2' ? fDeleteKey(r.root, r.keyPath, name) : fDeleteValue(r.root, r.keyPath, name);
        });
      }
    }
  }

  // The plug-in rows of the status list, from the first one to the last.
  run.MarkPluginRows();
}

}  // namespace plugins
