#include "runtime/textfile.h"

#include <algorithm>
#include <new>

#include "runtime/files.h"

namespace rt {

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const std::string& path) {
  Close();
  if (path.empty() || HasWildcardInName(path)) return false;
  h_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h_ == INVALID_HANDLE_VALUE) return false;
  if (GetFileType(h_) != FILE_TYPE_DISK) {  // never read from a device
    Close();
    return false;
  }
  buf_.clear();
  pos_ = scanned_ = 0;
  eof_ = false;
  failed_ = tooLong_ = false;
  return true;
}

void LineReader::Close() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  h_ = INVALID_HANDLE_VALUE;
  buf_.clear();
  pos_ = scanned_ = 0;
  eof_ = true;
}

bool LineReader::Fill() {
  if (eof_ || h_ == INVALID_HANDLE_VALUE) return false;
  if (pos_ > 0) {
    buf_.erase(0, pos_);
    scanned_ -= std::min(scanned_, pos_);
    pos_ = 0;
  }
  char chunk[65536];
  DWORD got = 0;
  if (!ReadFile(h_, chunk, sizeof chunk, &got, nullptr)) {
    eof_ = failed_ = true;
    return false;
  }
  if (got == 0) {
    eof_ = true;
    return false;
  }
  buf_.append(chunk, got);
  return true;
}

bool LineReader::StopAtLongLine() {
  tooLong_ = failed_ = eof_ = true;
  buf_.clear();
  pos_ = scanned_ = 0;
  return false;
}

bool LineReader::Next(std::string& line) {
  if (h_ == INVALID_HANDLE_VALUE || tooLong_) return false;
  for (;;) {
    // Each byte is looked at once: the search goes on where the last one ended.
    size_t cr = buf_.find('\r', std::max(pos_, scanned_));
    if (cr != std::string::npos && cr + 1 == buf_.size() && !eof_) {
      // A CR at the very end of the buffer may be the first half of a CR LF.
      scanned_ = cr;
      if (Fill()) continue;
      cr = buf_.find('\r', std::max(pos_, scanned_));  // the buffer may have moved
    }
    if (cr != std::string::npos) {
      if (cr - pos_ > kMaxLineLength) return StopAtLongLine();
      line.assign(buf_, pos_, cr - pos_);
      pos_ = cr + 1;
      if (pos_ < buf_.size() && buf_[pos_] == '\n') ++pos_;
      scanned_ = pos_;
      return true;
    }
    scanned_ = buf_.size();
    if (buf_.size() - pos_ > kMaxLineLength) return StopAtLongLine();
    if (!Fill()) {
      if (!failed_ && pos_ < buf_.size()) {  // a last line without its end (never a cut one)
        line.assign(buf_, pos_, std::string::npos);
        pos_ = scanned_ = buf_.size();
        return true;
      }
      return false;
    }
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t b = 0;
  while (b < text.size()) {
    size_t cr = text.find('\r', b);
    if (cr == std::string_view::npos) {
      lines.emplace_back(text.substr(b));
      break;
    }
    lines.emplace_back(text.substr(b, cr - b));
    b = cr + 1;
    if (b < text.size() && text[b] == '\n') ++b;
  }
  return lines;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes) {
  bytes.clear();
  if (path.empty() || HasWildcardInName(path)) return false;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileType(h) == FILE_TYPE_DISK;
  char chunk[65536];
  DWORD got = 0;
  while (ok) {
    if (!ReadFile(h, chunk, sizeof chunk, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (got > maxBytes - bytes.size()) {
      ok = false;
      break;
    }
    bytes.append(chunk, got);
  }
  CloseHandle(h);
  if (!ok) bytes.clear();
  return ok;
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  LineReader reader;
  if (!reader.Open(path)) return false;
  bool whole = true;
  try {
    for (std::string line; reader.Next(line);) lines.push_back(std::move(line));
    whole = !reader.Failed();
  } catch (const std::bad_alloc&) {  // more lines than memory holds: no file of ours
    whole = false;
  }
  if (!whole) std::vector<std::string>().swap(lines);
  return whole;
}

namespace {
constexpr size_t kWriteBlock = 1 << 20;
// A long file is flushed as it grows, a few blocks at a time: the flush before the move then
// waits for those last blocks only, never for the whole file at once.
constexpr size_t kFlushEvery = 4 * kWriteBlock;
}

ReplacingFile::ReplacingFile(const std::string& path) : path_(path), tmp_(path + ".~new") {
  if (!IsAbsolutePath(path) || HasWildcardInName(path)) return;
  // Whatever has the name already goes as itself (a link as a link, never its target); the new
  // file is then made only where nothing is, so no other file is ever opened or truncated here.
  DWORD leftover = GetAttr(tmp_);
  if (leftover != kNoAttributes && !(leftover & FILE_ATTRIBUTE_DIRECTORY)) {
    // A name of another file (a planted hard link) keeps that file's attributes: it stays, and
    // the rewrite with it.
    if ((leftover & FILE_ATTRIBUTE_READONLY) && LinkCount(tmp_) == 1) SetAttr(tmp_, FILE_ATTRIBUTE_ARCHIVE);
    DeleteExactFile(tmp_);
  }
  h_ = CreateFileA(tmp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (h_ == INVALID_HANDLE_VALUE) return;
  ok_ = GetFileType(h_) == FILE_TYPE_DISK;
  if (!ok_) Abandon();
}

ReplacingFile::~ReplacingFile() { Abandon(); }

void ReplacingFile::Abandon() {
  if (h_ == INVALID_HANDLE_VALUE) return;
  CloseHandle(h_);
  h_ = INVALID_HANDLE_VALUE;
  DeleteExactFile(tmp_);
  ok_ = false;
}

bool ReplacingFile::Drain() {
  for (size_t done = 0; ok_ && done < buf_.size();) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(buf_.size() - done, kWriteBlock));
    DWORD wrote = 0;
    ok_ = WriteFile(h_, buf_.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
    done += chunk;
    unflushed_ += chunk;
  }
  buf_.clear();
  if (ok_ && unflushed_ >= kFlushEvery) {
    ok_ = FlushFileBuffers(h_) != 0;
    unflushed_ = 0;
  }
  return ok_;
}

void ReplacingFile::Write(std::string_view bytes) {
  if (!ok_) return;
  buf_.append(bytes);
  if (buf_.size() >= kWriteBlock) Drain();
}

bool ReplacingFile::Commit() {
  if (h_ == INVALID_HANDLE_VALUE) return false;
  bool ok = Drain() && FlushFileBuffers(h_);
  CloseHandle(h_);
  h_ = INVALID_HANDLE_VALUE;
  if (ok) {
    ok = MoveFileExA(tmp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // A read-only old file is replaced all the same (its attributes do not carry over), unless
    // the file has other names, which would lose their read-only attribute with it.
    if (!ok && GetLastError() == ERROR_ACCESS_DENIED && LinkCount(path_) == 1 && SetAttr(path_, FILE_ATTRIBUTE_ARCHIVE))
      ok = MoveFileExA(tmp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!ok) DeleteExactFile(tmp_);
  ok_ = false;
  return ok;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacingFile file(path);
  if (!file.IsOpen()) return false;
  for (size_t done = 0; done < bytes.size(); done += kWriteBlock)
    file.Write(bytes.substr(done, kWriteBlock));
  return file.Commit();
}

bool WriteLinesReplacing(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& l : lines) {
    bytes += l;
    bytes += "\r\n";
  }
  return WriteFileReplacing(path, bytes);
}

bool AppendLines(const std::string& path, const std::vector<std::string>& lines) {
  if (!IsAbsolutePath(path) || HasWildcardInName(path)) return false;
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileType(h) == FILE_TYPE_DISK;
  std::string bytes;
  for (const auto& l : lines) {
    bytes += l;
    bytes += "\r\n";
  }
  DWORD wrote = 0;
  if (ok) ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) && wrote == bytes.size();
  CloseHandle(h);
  return ok;
}

}  // namespace rt
