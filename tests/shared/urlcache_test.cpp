// The URL-cache walk and deletions over real entries of the prefix's cache.
#include "shared/urlcache.h"

#include <gtest/gtest.h>

#include "shared/historycleaner.h"
#include "support/scratch.h"
#include "support/urlcache.h"

namespace {

class UrlCache : public ::testing::Test {
 protected:
  void SetUp() override { ts::ClearUrlCache(); }
  void TearDown() override {
    CacheFindClose();
    ts::ClearUrlCache();
  }
};

std::vector<ts::CacheEntry> WalkAll(const std::string& pattern = "") {
  std::vector<ts::CacheEntry> seen;
  for (bool more = CacheFindFirst(pattern); more; more = CacheFindNext())
    seen.push_back({CacheSourceUrl(), CacheLocalFileName(), CacheEntryType()});
  CacheFindClose();
  return seen;
}

TEST_F(UrlCache, AnEmptyCacheHasNoFirstEntry) {
  EXPECT_FALSE(CacheFindNext()) << "no walk was started";
  EXPECT_FALSE(CacheFindFirst());
  EXPECT_FALSE(CacheFindNext());
  EXPECT_EQ(CacheSourceUrl(), "");
  CacheFindClose();
}

TEST_F(UrlCache, AWalkSeesEveryEntryOnceWithItsOwnFields) {
  std::string page = ts::AddCacheEntry("http://walk.example/page.html", "hello");
  // Entries of very different sizes: the buffer grows for the big one and serves the rest.
  std::string big = ts::AddCacheEntry("http://walk.example/big.html", "x", "html", 40000);
  ts::AddCacheEntryWithoutFile("http://walk.example/nofile");
  std::string visited = ts::AddVisited("http://walk.example/");

  std::vector<ts::CacheEntry> seen = WalkAll();
  ASSERT_EQ(seen.size(), 4u);
  std::vector<ts::CacheEntry> expected = ts::CacheEntries();  // in WinInet's own order
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].url, expected[i].url);
    EXPECT_EQ(seen[i].localFile, expected[i].localFile) << seen[i].url;  // the new entry's, not the last one's
    EXPECT_EQ(seen[i].type, expected[i].type) << seen[i].url;
  }
  // After the end the fields still describe the last entry.
  ASSERT_TRUE(CacheFindFirst());
  while (CacheFindNext()) {
  }
  EXPECT_EQ(CacheSourceUrl(), expected.back().url);
  CacheFindClose();
  EXPECT_FALSE(CacheFindNext()) << "the walk is over";

  // A pattern walks one container; a second start begins again from the first entry.
  EXPECT_EQ(WalkAll("Visited:").size(), 1u);
  ASSERT_TRUE(CacheFindFirst());
  std::string first = CacheSourceUrl();
  ASSERT_TRUE(CacheFindNext());
  ASSERT_TRUE(CacheFindFirst());
  EXPECT_EQ(CacheSourceUrl(), first);
  CacheFindClose();
}

TEST_F(UrlCache, DeletingEntries) {
  std::string a = ts::AddCacheEntry("http://del.example/a.html", "a");
  ts::AddCacheEntry("http://del.example/b.html", "b");
  ts::AddCacheEntry("http://del.example/c.html", "c");
  ts::AddCacheEntry("http://del.example/d.html", "d");

  DWORD err = 0;
  EXPECT_TRUE(CacheDeleteEntry("http://del.example/a.html", &err));
  EXPECT_FALSE(ts::Exists(a)) << "the cache deletes the entry's file with it";
  EXPECT_FALSE(CacheDeleteEntry("http://del.example/a.html", &err));
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CacheDeleteEntry("", &err));
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // Every element of a list goes, the last one too.
  EXPECT_TRUE(CacheDeleteList({"http://del.example/b.html", "http://del.example/c.html", "http://del.example/d.html"}));
  EXPECT_TRUE(ts::CacheUrls().empty());
  EXPECT_FALSE(CacheDeleteList({}));
  EXPECT_FALSE(CacheDeleteList({"http://del.example/gone.html"}));
}

TEST_F(UrlCache, TheHistoryCleanerErasesTheHistoryAndNothingElse) {
  ts::AddVisited("http://history.example/one");
  ts::AddVisited("http://history.example/two");
  ts::AddCacheEntry("http://history.example/page.html", "content");
  ts::AddCacheEntryWithoutFile("http://history.example/nofile");
  std::string cookie = ts::AddCookie("history.example", "kept");
  EXPECT_TRUE(HistoryCleaner().ClearHistory());
  EXPECT_TRUE(ts::CacheUrls("Visited:").empty());
  std::vector<std::string> left = ts::CacheUrls();
  EXPECT_EQ(left.size(), 3u);
  for (const auto& url : left) EXPECT_EQ(url.find("Visited:"), std::string::npos) << url;
  EXPECT_TRUE(ts::Exists(cookie));
  EXPECT_TRUE(HistoryCleaner().ClearHistory()) << "an empty history is no failure";
  DeleteFileA(cookie.c_str());
}

}  // namespace
