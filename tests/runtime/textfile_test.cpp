#include "runtime/textfile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "support/scratch.h"

namespace {

using Lines = std::vector<std::string>;

struct LinesCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

TEST(TextFile, LinesEndAtCrLfOrLoneCr) {
  const LinesCase cases[] = {
      {"empty", "", {}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"lone cr", "a\rb\r", {"a", "b"}},
      {"lone lf stays", "a\nb\r\nc", {"a\nb", "c"}},
      {"no final end", "a\r\nlast", {"a", "last"}},
      {"empty lines", "\r\n\r\nx\r\n", {"", "", "x"}},
      {"cr then crlf", "a\r\r\n", {"a", ""}},
      {"only lf", "a\nb\n", {"a\nb\n"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::SplitLines(c.bytes), c.lines) << c.name;
    std::string path = ts::Scratch() + "\\lines.txt";
    ts::WriteFile(path, c.bytes);
    Lines read;
    ASSERT_TRUE(rt::ReadLines(path, read)) << c.name;
    EXPECT_EQ(read, c.lines) << c.name;
    rt::LineReader r(path);
    Lines streamed;
    for (std::string l; r.Next(l);) streamed.push_back(l);
    EXPECT_EQ(streamed, c.lines) << c.name;
  }
}

TEST(TextFile, ReaderHandlesCrLfSplitAcrossItsBuffer) {
  // A CR as the last byte of one 64 KiB read and its LF as the first of the next.
  std::string first(65535, 'x');
  std::string bytes = first + "\r\nnext\r\n";
  std::string path = ts::Scratch() + "\\big.txt";
  ts::WriteFile(path, bytes);
  rt::LineReader r(path);
  std::string l;
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l, first);
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l, "next");
  EXPECT_FALSE(r.Next(l));
}

// Long lines told apart by their first letters and their length, so a failure stays readable.
Lines Summary(const Lines& lines) {
  Lines s;
  for (const auto& l : lines) s.push_back(l.substr(0, 3) + "/" + std::to_string(l.size()));
  return s;
}

TEST(TextFile, ALineLongerThanAnyOfOursStopsTheReaderWithTheLinesBeforeIt) {
  std::string path = ts::Scratch() + "\\long.txt";
  const std::string atCap(rt::kMaxLineLength, 'x');
  struct Case {
    const char* name;
    std::string bytes;
    Lines read;  // what the reader gives before it stops
    bool whole;
  } cases[] = {
      {"a line of the cap", "a\r\n" + atCap + "\r\nb\r\n", {"a", atCap, "b"}, true},
      {"a last line of the cap", "a\r\n" + atCap, {"a", atCap}, true},
      {"one byte more", "a\r\n" + atCap + "x\r\nb\r\n", {"a"}, false},
      {"one byte more, no end", "a\r\n" + atCap + "x", {"a"}, false},
      {"one byte more, then a lone LF", "a\r" + atCap + "\nb\r\n", {"a"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ts::WriteFile(path, c.bytes);
    rt::LineReader r(path);
    Lines streamed;
    for (std::string l; r.Next(l);) streamed.push_back(l);
    EXPECT_EQ(Summary(streamed), Summary(c.read));
    EXPECT_EQ(r.Failed(), !c.whole);
    EXPECT_EQ(r.TooLong(), !c.whole);
    std::string l;
    EXPECT_FALSE(r.Next(l)) << "it stays stopped";
    Lines all{"stale"};
    EXPECT_EQ(rt::ReadLines(path, all), c.whole);
    EXPECT_EQ(Summary(all), Summary(c.whole ? c.read : Lines{}));
  }
  // A file of 200 MB without a line end: the reader takes no more of it than the cap and a block.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 200LL << 20;
  ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
  CloseHandle(h);
  rt::LineReader r(path);
  std::string l;
  EXPECT_FALSE(r.Next(l));
  EXPECT_TRUE(r.TooLong());
  Lines all;
  EXPECT_FALSE(rt::ReadLines(path, all));
}

TEST(TextFile, WritesEveryLineWithCrLfAndReplacesTheOldFile) {
  std::string path = ts::Scratch() + "\\out.cln";
  ts::WriteFile(path, "old content that is longer\r\n");
  ASSERT_TRUE(rt::WriteLinesReplacing(path, {"one", "", "three"}));
  EXPECT_EQ(ts::ReadFile(path), "one\r\n\r\nthree\r\n");
  EXPECT_FALSE(ts::Exists(path + ".~new"));
  ASSERT_TRUE(rt::WriteLinesReplacing(path, {}));
  EXPECT_EQ(ts::ReadFile(path), "");
}

TEST(TextFile, ALongFileIsWrittenInPiecesAndAppearsWholeOrNotAtAll) {
  std::string path = ts::Scratch() + "\\long.txt";
  ts::WriteFile(path, "old");
  std::string expected;
  {
    rt::ReplacingFile file(path);
    ASSERT_TRUE(file.IsOpen());
    for (int i = 0; i < 60000; ++i) {  // about 2 MB, more than one block
      std::string line = "line " + std::to_string(i) + "\r\n";
      file.Write(line);
      expected += line;
    }
    EXPECT_EQ(ts::ReadFile(path), "old") << "nothing shows before the commit";
    EXPECT_TRUE(file.Commit());
  }
  EXPECT_EQ(ts::ReadFile(path), expected);
  EXPECT_FALSE(ts::Exists(path + ".~new"));
  // Dropped, or left without a commit: the old file stays and the new one goes.
  for (bool abandon : {true, false}) {
    rt::ReplacingFile file(path);
    file.Write("new");
    if (abandon) {
      file.Abandon();
      file.Write("more");
      EXPECT_FALSE(file.Commit());
    }
  }
  EXPECT_EQ(ts::ReadFile(path), expected);
  EXPECT_FALSE(ts::Exists(path + ".~new"));
}

TEST(TextFile, AFailedRewriteLeavesTheOldFile) {
  std::string path = ts::Scratch() + "\\keep.vel";
  ts::WriteFile(path, "a\r\n");
  // The temporary file cannot be created when a folder of its name is in the way.
  ASSERT_TRUE(rt::CreateFolder(path + ".~new"));
  EXPECT_FALSE(rt::WriteLinesReplacing(path, {"b"}));
  EXPECT_EQ(ts::ReadFile(path), "a\r\n");
  // Relative and wildcard paths are refused outright.
  EXPECT_FALSE(rt::WriteLinesReplacing("keep.vel", {"b"}));
  EXPECT_FALSE(rt::WriteLinesReplacing(ts::Scratch() + "\\*.vel", {"b"}));
}

TEST(TextFile, TheNewFileBesideTheOldOneIsAlwaysMadeAnew) {
  std::string path = ts::Scratch() + "\\keep.vel";
  ts::WriteFile(path, "old\r\n");
  // A leftover of a crash, even a read-only one, goes.
  ts::WriteFile(path + ".~new", "leftover of an earlier write that is longer");
  SetFileAttributesA((path + ".~new").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(rt::WriteLinesReplacing(path, {"new"}));
  EXPECT_EQ(ts::ReadFile(path), "new\r\n");
  EXPECT_FALSE(ts::Exists(path + ".~new"));
  // A link planted under the name: its target is neither truncated, written nor deleted.
  std::string victim = ts::Scratch() + "\\elsewhere\\precious.txt";
  ts::WriteFile(victim, "precious");
  ts::HostLink(victim, path + ".~new");
  rt::WriteLinesReplacing(path, {"newer"});
  EXPECT_EQ(ts::ReadFile(victim), "precious");
  // The write either removed the link itself first or, where it could not, left the old file.
  EXPECT_TRUE(ts::ReadFile(path) == "new\r\n" || ts::ReadFile(path) == "newer\r\n") << ts::ReadFile(path);
  ts::HostUnlink(path + ".~new");
}

TEST(TextFile, MissingFilesReadAsNothing) {
  Lines lines{"stale"};
  EXPECT_FALSE(rt::ReadLines(ts::Scratch() + "\\missing.txt", lines));
  EXPECT_TRUE(lines.empty());
  rt::LineReader r;
  EXPECT_FALSE(r.Open(ts::Scratch() + "\\missing.txt"));
  EXPECT_FALSE(r.Open(""));
  std::string l;
  EXPECT_FALSE(r.Next(l));
}

TEST(TextFile, AppendsLines) {
  std::string path = ts::Scratch() + "\\log.txt";
  ASSERT_TRUE(rt::AppendLines(path, {"a"}));
  ASSERT_TRUE(rt::AppendLines(path, {"b", "c"}));
  EXPECT_EQ(ts::ReadFile(path), "a\r\nb\r\nc\r\n");
}

}  // namespace
