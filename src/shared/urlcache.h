// Internet Explorer's URL cache through WinInet: one walk at a time over its entries (content,
// cookies and history alike), and the deletion of entries by URL.
//
// The walk is one state for the whole program, used from the user-interface thread only. Its
// current entry is fetched into one buffer that grows when an entry needs more room and is never
// given back; an empty cache, or the end of a walk, allocates nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Starts a walk at the first entry, ending a walk in progress. A pattern names the container to
// walk ("Cookie:", "Visited:"); "" walks every entry. True when there is a first entry.
bool CacheFindFirst(const std::string& pattern = "");
// Moves to the next entry; false at the end of the walk and when no walk was started.
bool CacheFindNext();
// Ends the walk.
void CacheFindClose();
// Ends the walk and forgets the entry it fetched last, as at the program's start (for tests, which
// share one process).
void ResetCacheWalkForTests();

// The current entry: its local file ("" when it has none), its URL and its entry-type bits. After a
// fetch that gave false they still describe the last entry fetched (or are empty).
std::string CacheLocalFileName();
std::string CacheSourceUrl();
DWORD CacheEntryType();
// The size the cache has on record for the current entry's local file (no look at the file).
uint64_t CacheEntrySize();

// Deletes one entry (and with it the local file the cache keeps for it). False when it is missing,
// in use or cannot be deleted, the Windows error in *error; an empty URL is refused.
bool CacheDeleteEntry(const std::string& url, DWORD* error = nullptr);
// Deletes the entry of every URL of the list. True when every one was deleted (false for an
// empty list: nothing was asked).
bool CacheDeleteList(const std::vector<std::string>& urls);
