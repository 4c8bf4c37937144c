#include "runtime/filewalk.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "runtime/files.h"
#include "support/scratch.h"

namespace {

// A tree whose folders hold files and folders side by side, in names whose order ignores case.
std::string MakeTree() {
  std::string root = ts::Scratch() + "\\tree";
  for (const char* f : {"b.tmp", "A.tmp", "c.log", "Sub1\\z.tmp", "Sub1\\y.tmp", "d.tmp", "sub2\\deep\\x.tmp",
                        "sub2\\e.tmp", "sub2\\deep\\er\\w.tmp", "Sub10\\v.tmp"})
    ts::WriteFile(root + "\\" + f, f);
  return root;
}

TEST(FileWalk, GivesWhatFindFilesGivesInParts) {
  std::string root = MakeTree();
  const std::vector<std::string> expected = {
      root + "\\A.tmp",        root + "\\b.tmp",        root + "\\d.tmp",
      root + "\\Sub1\\y.tmp",  root + "\\Sub1\\z.tmp",  root + "\\Sub10\\v.tmp",
      root + "\\sub2\\e.tmp",  root + "\\sub2\\deep\\x.tmp", root + "\\sub2\\deep\\er\\w.tmp"};
  std::vector<std::string> found;
  rt::FindFiles(root, "*.tmp", true, found);
  EXPECT_EQ(found, expected);

  // Any part sizes and a listing held one file ahead give the same files in the same order.
  struct Case {
    size_t atLeast, atMost, lookahead;
  } cases[] = {{1, 1, 1}, {2, 3, 1}, {4, 4, 2}, {1, 100, 100}, {100, 100, 3}};
  for (const Case& c : cases) {
    rt::FileWalk walk(root, "*.tmp", true, c.lookahead);
    std::vector<std::string> taken;
    std::vector<rt::FoundFile> part;
    while (walk.Take(part, c.atLeast, c.atMost)) {
      EXPECT_LE(part.size(), c.atMost);
      for (const auto& f : part) taken.push_back(f.path);
      // Every part but the last holds at least what was asked for.
      if (taken.size() < expected.size()) {
        EXPECT_GE(part.size(), std::min(c.atLeast, c.atMost));
      }
    }
    EXPECT_EQ(taken, expected) << c.atLeast << "/" << c.atMost << "/" << c.lookahead;
    EXPECT_FALSE(walk.Take(part)) << "nothing after the end";
  }

  // The files' attributes and sizes come with them; the start folder's own files can stay out.
  rt::FileWalk walk(root, "*.*", false);
  std::vector<rt::FoundFile> part, all;
  while (walk.Take(part)) all.insert(all.end(), part.begin(), part.end());
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0].path, root + "\\Sub1\\y.tmp");
  EXPECT_EQ(all[0].size, 10u);  // "Sub1\y.tmp"
  EXPECT_FALSE(all[0].attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileWalk, NothingForMissingRelativeOrWildcardFolders) {
  for (const std::string& folder : {ts::Scratch() + "\\missing", std::string("tree"), ts::Scratch() + "\\*"}) {
    rt::FileWalk walk(folder, "*.*", true);
    std::vector<rt::FoundFile> part;
    EXPECT_FALSE(walk.Take(part)) << folder;
    EXPECT_TRUE(part.empty());
  }
}

// The threads of this process.
int ThreadsOfThisProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  int n = 0;
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL more = Thread32First(snap, &t); more; more = Thread32Next(snap, &t))
    if (t.th32OwnerProcessID == GetCurrentProcessId()) ++n;
  CloseHandle(snap);
  return n;
}

TEST(FileWalk, AWalkLeftBeforeItsEndStopsItsListing) {
  std::string root = MakeTree();
  ts::OnWalkListed listedToTheEnd(root, [] {});
  const int threads = ThreadsOfThisProcess();
  ASSERT_GT(threads, 0);
  for (int i = 0; i < 20; ++i) {
    rt::FileWalk walk(root, "*.*", true, 1);  // the lister waits for room after one file
    std::vector<rt::FoundFile> part;
    if (i % 2) {
      ASSERT_TRUE(walk.Take(part, 1, 1));
      ASSERT_EQ(part.size(), 1u);
      EXPECT_EQ(part[0].path, root + "\\A.tmp");
    }
  }  // each walk ends here, its lister stopped and joined
  EXPECT_LE(ThreadsOfThisProcess(), threads) << "a walk left a thread behind";
  EXPECT_FALSE(listedToTheEnd.Ran()) << "a walk left early listed on to the end of its tree";

  // Taken to its end, the same walk lists all of the tree and tells the end of its listing.
  rt::FileWalk walk(root, "*.*", true, 1);
  std::vector<rt::FoundFile> part;
  size_t files = 0;
  while (walk.Take(part)) files += part.size();
  EXPECT_EQ(files, 10u);
  EXPECT_TRUE(listedToTheEnd.Ran());
}

TEST(SortByName, OrdersAsLstrcmpiDoes) {
  // Case, digits, hyphens and apostrophes (which word sort weighs apart), punctuation and
  // letters of the ANSI code page above 127.
  const char alphabet[] = "aAbBzZ019-'_~. !#$%&()+,;=@[]^`{}\xe9\xc9\xc4\xe4\xdf";
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::vector<rt::FileEntry> entries(60);
    for (auto& e : entries) {
      size_t len = 1 + rng() % 8;
      for (size_t k = 0; k < len; ++k) e.name += alphabet[rng() % (sizeof alphabet - 1)];
    }
    rt::SortByName(entries);
    for (size_t i = 1; i < entries.size(); ++i)
      ASSERT_LE(lstrcmpiA(entries[i - 1].name.c_str(), entries[i].name.c_str()), 0)
          << "'" << entries[i - 1].name << "' before '" << entries[i].name << "'";
  }
}

}  // namespace
