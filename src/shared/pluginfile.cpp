#include "shared/pluginfile.h"

#include <algorithm>

#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/settings.h"
#include "shared/systemfolders.h"

bool IsSectionLine(const std::string& text) {
  std::string k = rt::LCase(rt::Trim(text));
  return k == "files" || k == "registry";
}

std::string WithoutLineBreaks(const std::string& text) {
  std::string line = text;
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
  return line;
}

std::string PluginImportName(const std::string& chosenPath, unsigned codePage) {
  std::string name = rt::FileNameOf(rt::Trim(chosenPath), codePage);
  return rt::IsPlainFileName(name, codePage) ? name : "";
}

PluginRead ReadPluginFile(const std::string& path, PluginContent& content) {
  if (!rt::FileExists(path)) return PluginRead::Missing;
  rt::LineReader reader;
  if (!reader.Open(path)) return PluginRead::Unreadable;
  content = PluginContent{};
  bool inFiles = false, inRegistry = false;
  int counter = 1;
  for (std::string line; reader.Next(line); ++counter) {
    if (counter <= 3) {
      content.header[counter - 1] = line;
      content.headerLines = counter;
    }
    std::string k = rt::LCase(rt::Trim(line));
    if (k == "files") {
      inFiles = content.hasFiles = true;
    } else if (k == "registry") {
      inRegistry = content.hasRegistry = true;
      inFiles = false;
    } else if (inFiles && !inRegistry) {
      content.files.push_back(line);
    } else if (inRegistry && !inFiles) {
      content.registry.push_back(line);
    } else if (counter > 3 && !k.empty()) {
      ++content.droppedLines;
    }
  }
  return reader.Failed() ? PluginRead::Unreadable : PluginRead::Read;
}

std::string PluginFileText(const std::string& title, const std::string& provider, const std::string& description,
                           const std::vector<std::string>& files, const std::vector<std::string>& registry) {
  std::string text;
  auto line = [&](const std::string& l) { text += l + "\r\n"; };
  line(rt::Trim(title));
  line(rt::Trim(provider));
  line(rt::Trim(description));
  line("files");
  for (const auto& e : files) {
    rt::YieldIfDue();
    if (!rt::Trim(e).empty()) line(rt::Trim(e));
  }
  line("registry");
  for (const auto& e : registry) {
    rt::YieldIfDue();
    if (!rt::Trim(e).empty()) line(rt::Trim(e));
  }
  return text;
}

bool WritePluginFile(const std::string& path, const std::string& title, const std::string& provider,
                     const std::string& description, const std::vector<std::string>& files,
                     const std::vector<std::string>& registry) {
  return rt::WriteFileReplacing(path, PluginFileText(title, provider, description, files, registry));
}

namespace {

// A line that is not blank, with blanks at its start or its end.
bool HasBlanksAround(const std::string& line) {
  std::string t = rt::Trim(line);
  return !t.empty() && t != line;
}

// The drive of the Windows folder ("D:\"), or "" when it does not begin with one.
std::string WindowsDrive() {
  std::string d = WindowsFolder().substr(0, 3);
  bool letter = d.size() == 3 && ((d[0] >= 'A' && d[0] <= 'Z') || (d[0] >= 'a' && d[0] <= 'z'));
  return letter && d[1] == ':' && d[2] == '\\' ? d : std::string();
}

// The first "c:\" (either case) whose "c" starts a character: the second byte of a double-byte
// character may be the byte of "c".
std::string Relocated(const std::string& line, const std::string& drive) {
  for (size_t at = rt::FindCharOf(line, "cC"); at != std::string::npos; at = rt::FindCharOf(line, "cC", at + 1))
    if (line.compare(at + 1, 2, ":\\") == 0) return line.substr(0, at) + drive + line.substr(at + 3);
  return line;
}

bool g_relocating = false;

}  // namespace

int RelocatePlugins() {
  if (g_relocating) return 0;
  std::string drive = WindowsDrive();
  if (drive.empty()) return 0;
  g_relocating = true;
  std::string folder = rt::JoinPath(rt::ProgramFolder(), "plugins");
  std::vector<rt::FileEntry> listing;
  rt::ListFolder(folder, "*.vk", rt::ListWhat::Files, listing);  // taken once
  int rewritten = 0;
  for (const auto& entry : listing) {
    rt::YieldIfDue();
    std::string path = rt::JoinPath(folder, entry.name);
    PluginContent c;
    // Left as it is: a file read only in part, one whose sections were not found (a rewrite would
    // keep no more than its first three lines), and one that the rewrite would not give back as
    // it reads: lines that no section takes, or a header line that reads as a section line (a
    // title "Registry" puts the file entries after it into the registry section).
    if (ReadPluginFile(path, c) != PluginRead::Read || !c.hasFiles || !c.hasRegistry || c.droppedLines > 0) continue;
    bool sectionInHeader = false;
    for (int i = 0; i < c.headerLines; ++i) sectionInHeader = sectionInHeader || IsSectionLine(c.header[i]);
    if (sectionInHeader) continue;
    // The engine takes a file entry as its line stands: " file=c:\x,0" is none, and written back
    // trimmed it would erase what the plug-in never did. (Registry lines it trims itself.)
    if (std::any_of(c.files.begin(), c.files.end(), [](const std::string& l) { return HasBlanksAround(l); })) continue;
    std::vector<std::string> files;
    for (const auto& l : c.files) files.push_back(Relocated(l, drive));
    if (WritePluginFile(path, c.header[0], c.header[1], c.header[2], files, c.registry)) ++rewritten;
  }
  g_relocating = false;
  return rewritten;
}
