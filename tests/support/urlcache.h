// Real entries of the prefix's URL cache, made and looked at through WinInet itself: content with
// and without a local file, "Visited:" history entries and cookies. The cache is one for the whole
// prefix, so the tests that use it run one at a time and start from an empty cache.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ts {

struct CacheEntry {
  std::string url, localFile;
  DWORD type = 0;
};

// Every entry of the cache (or of the container the pattern names), straight from WinInet.
inline std::vector<CacheEntry> CacheEntries(const char* pattern = nullptr) {
  std::vector<CacheEntry> out;
  std::vector<char> buf(64 * 1024);
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buf.data());
  DWORD size = static_cast<DWORD>(buf.size());
  info->dwStructSize = sizeof *info;
  HANDLE h = FindFirstUrlCacheEntryA(pattern, info, &size);
  while (h) {
    out.push_back({info->lpszSourceUrlName ? info->lpszSourceUrlName : "",
                   info->lpszLocalFileName ? info->lpszLocalFileName : "", info->CacheEntryType});
    size = static_cast<DWORD>(buf.size());
    if (!FindNextUrlCacheEntryA(h, info, &size)) break;
  }
  if (h) FindCloseUrlCache(h);
  return out;
}

inline std::vector<std::string> CacheUrls(const char* pattern = nullptr) {
  std::vector<std::string> urls;
  for (const auto& e : CacheEntries(pattern)) urls.push_back(e.url);
  return urls;
}

inline bool InCache(const std::string& url) {
  for (const auto& e : CacheEntries())
    if (e.url == url) return true;
  return false;
}

// Empties the cache: every entry of every container goes.
inline void ClearUrlCache() {
  for (const auto& e : CacheEntries()) DeleteUrlCacheEntryA(e.url.c_str());
}

// A content entry with a local file holding `content`; its path. headerBytes of header data make
// the entry's record that much larger.
inline std::string AddCacheEntry(const std::string& url, const std::string& content, const char* extension = "html",
                                 size_t headerBytes = 0) {
  char file[MAX_PATH] = "";
  EXPECT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, extension, file, 0)) << url;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE) << file;
  DWORD wrote = 0;
  ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &wrote, nullptr);
  CloseHandle(h);
  std::string header = headerBytes ? "X-Fill: " + std::string(headerBytes, 'h') + "\r\n\r\n" : "";
  FILETIME zero{};
  EXPECT_TRUE(CommitUrlCacheEntryA(url.c_str(), file, zero, zero, NORMAL_CACHE_ENTRY,
                                   header.empty() ? nullptr : reinterpret_cast<BYTE*>(header.data()),
                                   static_cast<DWORD>(header.size()), nullptr, nullptr))
      << url;
  return file;
}

// A content entry without a local file.
inline void AddCacheEntryWithoutFile(const std::string& url) {
  FILETIME zero{};
  EXPECT_TRUE(CommitUrlCacheEntryA(url.c_str(), nullptr, zero, zero, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr))
      << url;
}

// A history entry, as the browser records a visited page.
inline std::string AddVisited(const std::string& page) {
  std::string url = "Visited: user@" + page;
  FILETIME zero{};
  EXPECT_TRUE(CommitUrlCacheEntryA(url.c_str(), nullptr, zero, zero, URLHISTORY_CACHE_ENTRY | NORMAL_CACHE_ENTRY,
                                   nullptr, 0, nullptr, nullptr))
      << url;
  return url;
}

// A persistent cookie of a host: it is written at once as a ".txt" file of the Cookies folder and
// gets a "Cookie:" entry. The file's path.
inline std::string AddCookie(const std::string& host, const std::string& name) {
  std::string site = "http://" + host + "/";
  EXPECT_TRUE(InternetSetCookieA(site.c_str(), name.c_str(), "v; expires=Sat, 01-Jan-2050 00:00:00 GMT")) << site;
  for (const auto& e : CacheEntries("Cookie:"))
    if (e.url.find("@" + host + "/") != std::string::npos) return e.localFile;
  ADD_FAILURE() << "no cookie entry for " << host;
  return "";
}

}  // namespace ts
