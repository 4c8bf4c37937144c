// Line-oriented text files in the ANSI code page.
// Reading: a line ends at CR LF or at a lone CR; a lone LF does not end a line and stays in it.
// Writing: every line ends in CR LF. Files that are rewritten are written beside the old file and
// then moved over it, so a crash never leaves the old content lost.
// No file of the program holds a line anywhere near kMaxLineLength bytes: a longer one is no file
// of ours, and the readers stop there (see LineReader::Failed) instead of holding it in memory.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace rt {

constexpr size_t kMaxLineLength = 64 * 1024;

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
  // True once Next has stopped before the end of the file: a read failed, or the next line is
  // longer than kMaxLineLength (then TooLong() too). The lines before it were read as they are.
  bool Failed() const { return failed_; }
  bool TooLong() const { return tooLong_; }
  void Close();

 private:
  bool Fill();
  bool StopAtLongLine();
  HANDLE h_ = INVALID_HANDLE_VALUE;
  std::string buf_;
  size_t pos_ = 0;
  size_t scanned_ = 0;  // buf_ holds no CR from pos_ up to here
  bool eof_ = false;
  bool failed_ = false;
  bool tooLong_ = false;
};

// Splits a text into lines by the rule above (a final line without an end counts when not empty).
std::vector<std::string> SplitLines(std::string_view text);

// All lines of a file; false (and no lines) when it cannot be read to its end (see LineReader).
bool ReadLines(const std::string& path, std::vector<std::string>& lines);

// The whole file as bytes; false when it cannot be read, or when it holds more than maxBytes.
bool ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes = static_cast<size_t>(-1));

// A file written anew beside the old one ("<path>.~new") and moved over it once it is whole: the
// bytes go out in large blocks, so that a long file never has to be held in memory. Without
// Commit (or when anything fails) the old file stays as it was and the new one goes. The new file
// is always one this writer made: whatever has the name already (a leftover of a crash, or a link
// someone planted there) is removed as itself, never through a link, and the file is then created
// only where nothing is; when that cannot be, nothing is written.
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
