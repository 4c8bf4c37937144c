// Line-oriented text files in the ANSI code page.
// Reading: a line ends at CR LF or at a lone CR; a lone LF does not end a line and stays in it.
// Writing: every line ends in CR LF. Files that are rewritten are written beside the old file and
// then moved over it, so a crash never leaves the old content lost.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Reads a file line by line, without loading it whole.
class LineReader {
 public:
  LineReader() = default;
  explicit LineReader(const std::string& path) { Open(path); }
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool Open(const std::string& path);  // false when the file cannot be opened for reading
  bool IsOpen() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Next(std::string& line);        // false at the end of the file, or when a read fails
  // True once a read has failed: Next stopped before the end of the file.
  bool Failed() const { return failed_; }
  void Close();

 private:
  bool Fill();
  HANDLE h_ = INVALID_HANDLE_VALUE;
  std::string buf_;
  size_t pos_ = 0;
  bool eof_ = false;
  bool failed_ = false;
};

// Splits a text into lines by the rule above (a final line without an end counts when not empty).
std::vector<std::string> SplitLines(std::string_view text);

// All lines of a file; false (and no lines) when it cannot be read.
bool ReadLines(const std::string& path, std::vector<std::string>& lines);

// The whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// A file written anew beside the old one ("<path>.~new") and moved over it once it is whole: the
// bytes go out in large blocks, so that a long file never has to be held in memory. Without
// Commit (or when anything fails) the old file stays as it was and the new one goes.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::string& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool IsOpen() const { return h_ != INVALID_HANDLE_VALUE; }
  void Write(std::string_view bytes);
  // Writes what is left, flushes, and moves the new file over the old one; true when it is there.
  bool Commit();
  // Drops the new file; the old one stays. Later writes and the commit do nothing.
  void Abandon();

 private:
  bool Drain();
  std::string path_, tmp_;
  HANDLE h_ = INVALID_HANDLE_VALUE;
  std::string buf_;
  size_t unflushed_ = 0;  // bytes written since the last flush
  bool ok_ = false;
};

// Replaces the file with these bytes: written to a temporary file in the same folder, flushed,
// then moved over the old file. The old file stays as it was when anything fails.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// The lines, each ended by CR LF, through WriteFileReplacing.
bool WriteLinesReplacing(const std::string& path, const std::vector<std::string>& lines);

// Appends lines (each ended by CR LF) to a file, creating it when it is missing.
bool AppendLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rt
