// A plug-in file: a title, a provider and a description line, the section line "files" with
// file and folder entries, and the section line "registry" with registry entries. ANSI text;
// every line written ends in CR LF; reading, a line ends at CR LF or at a lone CR.
#pragma once

#include <string>
#include <vector>

struct PluginContent {
  int headerLines = 0;                // how many of the three header lines the file had
  std::string header[3];              // title, provider, description, as read
  std::vector<std::string> files;     // the lines of the "files" section, as read
  std::vector<std::string> registry;  // the lines of the "registry" section, as read
  bool hasFiles = false, hasRegistry = false;  // the section lines were there
  int droppedLines = 0;  // lines after the header, not blank, that no section took
};

enum class PluginRead { Read, Missing, Unreadable };

// True when the text reads as a section line: "files" or "registry", in any case, with blanks
// around it. No header line or entry may read so: the file would read back otherwise.
bool IsSectionLine(const std::string& text);

// The text as one line of a plug-in file holds it: without its line breaks (CR and LF).
std::string WithoutLineBreaks(const std::string& text);

// The name a chosen plug-in file is imported under: the last part of its path, found by the
// characters of the code page (the system's unless told), when that is a plain file name; ""
// when it is none. A plug-in is a few lines: a file larger than this is no plug-in.
std::string PluginImportName(const std::string& chosenPath, unsigned codePage = 0);
constexpr unsigned long long kMaxPluginFileSize = 1 << 20;

// Reads a plug-in file by the editor's rules: lines 1 to 3 are the header; "files" and
// "registry" (trimmed, any case) open their sections, and every other line of a section is one of
// its lines. A "files" line after "registry" ends the file: nothing after it is taken. A file that
// cannot be read to its end is Unreadable.
PluginRead ReadPluginFile(const std::string& path, PluginContent& content);

// The file's bytes: the header lines trimmed, "files", the file entries trimmed (blank ones left
// out), "registry", the registry entries the same way.
std::string PluginFileText(const std::string& title, const std::string& provider, const std::string& description,
                           const std::vector<std::string>& files, const std::vector<std::string>& registry);

// Writes a plug-in file beside the old one and moves it over it; false when that fails.
bool WritePluginFile(const std::string& path, const std::string& title, const std::string& provider,
                     const std::string& description, const std::vector<std::string>& files,
                     const std::vector<std::string>& registry);

// Rewrites every plug-in file of the "plugins" folder so that the drive of the Windows folder
// stands in place of the first "c:\" of each file entry. Registry lines and entries without
// "c:\" are written back unchanged; a file that cannot be read to its end, that lacks the "files"
// or the "registry" line (a file in another layout or encoding), or that the rewrite would not give
// back as it reads (lines no section takes, a header line that reads as a section line, a file
// entry with blanks around it, which the engine reads otherwise once trimmed) stays untouched; nothing is
// rewritten unless the Windows folder begins with a drive letter, ":" and "\". A call made while
// a run is in progress (from a yield) does nothing. Returns the number of files rewritten.
int RelocatePlugins();
