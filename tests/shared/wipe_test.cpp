// Secure erasing at the byte level.
#include "shared/wipe.h"

#include <gtest/gtest.h>

#include "runtime/files.h"
#include "shared/settings.h"
#include "support/scratch.h"

namespace {

bool AllZeroOne(const std::string& s) { return s.find_first_not_of("01") == std::string::npos; }

TEST(Wipe, PassesComeFromTheSetting) {
  struct Case {
    const char* value;
    int passes;
  } cases[] = {{"", 1}, {"0", 1}, {"-3", 1}, {"abc", 1}, {"1", 1}, {"3", 3}, {" 7 ", 7}, {"10", 10}, {"25", 10}};
  for (const auto& c : cases) {
    settings::Write(settings::kSecureValue, c.value);
    EXPECT_EQ(WipePasses(), c.passes) << c.value;
  }
  settings::Write(settings::kSecureValue, "");
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, settings::kRoot, settings::kSecureValue);
  EXPECT_EQ(WipePasses(), 1);
}

TEST(Wipe, EveryByteOfEveryFileIsOverwrittenAndTheLengthKept) {
  const size_t sizes[] = {0, 1, 499, 500, 501, 4096, 3 * 1024 * 1024 + 7};
  for (const char* passes : {"1", "3"}) {
    settings::Write(settings::kSecureValue, passes);
    for (size_t size : sizes) {
      std::string p = ts::Scratch() + "\\f" + std::to_string(size) + ".bin";
      ts::WriteFile(p, std::string(size, 'S'));
      EXPECT_TRUE(WipeFile(p)) << size;
      std::string bytes = ts::ReadFile(p);
      EXPECT_EQ(bytes.size(), size);
      EXPECT_TRUE(AllZeroOne(bytes)) << size << " bytes, " << passes << " passes";
      if (size >= 4096) {
        size_t ones = std::count(bytes.begin(), bytes.end(), '1');
        EXPECT_GT(ones, size * 4 / 10);
        EXPECT_LT(ones, size * 6 / 10);
      }
      // Nothing of the wipe keeps the file open.
      EXPECT_TRUE(DeleteFileA(p.c_str())) << size;
    }
  }
}

TEST(Wipe, TouchesOnlyAnExistingPlainFile) {
  std::string d = ts::Scratch();
  EXPECT_FALSE(WipeFile(""));
  EXPECT_FALSE(WipeFile(d + "\\missing.bin"));
  EXPECT_FALSE(ts::Exists(d + "\\missing.bin"));  // nothing is created
  EXPECT_FALSE(WipeFile(d));                      // a folder
  EXPECT_FALSE(WipeFile(d + "\\nul.txt"));        // the NUL device
  EXPECT_FALSE(WipeFile("relative.bin"));

  std::string ro = d + "\\readonly.bin";
  ts::WriteFile(ro, "keep");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WipeFile(ro));
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ts::ReadFile(ro), "keep");

  std::string locked = d + "\\locked.bin";
  ts::WriteFile(locked, "keep");
  HANDLE other = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(WipeFile(locked));
  CloseHandle(other);
  EXPECT_EQ(ts::ReadFile(locked), "keep");

  std::string a = d + "\\a.bin";
  ts::WriteFile(a, "keep");
  ASSERT_TRUE(CreateHardLinkA((d + "\\b.bin").c_str(), a.c_str(), nullptr));
  EXPECT_FALSE(WipeFile(d + "\\b.bin"));  // the other name would keep the new content
  EXPECT_EQ(ts::ReadFile(a), "keep");
}

TEST(Wipe, NeverThroughALink) {
  std::string target = "C:\\velk-tests\\outside\\wipe-target.bin";
  ts::WriteFile(target, "precious");
  std::string link = ts::Scratch() + "\\link.bin";
  ts::HostLink(target, link);
  EXPECT_FALSE(WipeFile(link));
  EXPECT_EQ(EraseOneFile(link, rt::GetAttr(link), true, SecureErasePasses()), rt::kLinkRefused);
  EXPECT_EQ(ts::ReadFile(target), "precious");
  rt::DeleteTree("C:\\velk-tests\\outside");
}

TEST(EraseOneFile, WipesAndDeletesThroughOneHandle) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  settings::Write(settings::kSecureValue, "2");
  std::string p = ts::Scratch() + "\\trace.txt";
  ts::WriteFile(p, std::string(10000, 'S'));
  // Someone who shares everything keeps the file's content readable until the end.
  ts::Watcher watcher(p);
  EXPECT_EQ(EraseOneFile(p, FILE_ATTRIBUTE_ARCHIVE, false, SecureErasePasses()), 0u);
  std::string seen = watcher.Seen();
  EXPECT_EQ(seen.size(), 10000u);
  EXPECT_TRUE(AllZeroOne(seen)) << "the old bytes were overwritten before the delete";
  EXPECT_FALSE(ts::Exists(p));
}

TEST(EraseOneFile, AFileThatCannotGoIsNotOverwrittenEither) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  std::string inUse = ts::Scratch() + "\\inuse.txt";
  ts::WriteFile(inUse, "keep");
  HANDLE other = CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(EraseOneFile(inUse, FILE_ATTRIBUTE_ARCHIVE, true, SecureErasePasses()), 0u);
  CloseHandle(other);
  EXPECT_EQ(ts::ReadFile(inUse), "keep");

  std::string ro = ts::Scratch() + "\\readonly.txt";
  ts::WriteFile(ro, "keep");
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(EraseOneFile(ro, rt::GetAttr(ro), false, SecureErasePasses()), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ts::ReadFile(ro), "keep");
}

// Another program reads the file and lets it be deleted, but not written. Without secure erasing
// it goes; with it, it cannot be overwritten, and so it stays whole for a later run.
TEST(EraseOneFile, AFileThatCannotBeOverwrittenStaysWhole) {
  settings::Write(settings::kOptionOption, settings::kOptSecureErase, "1");
  for (bool secure : {true, false}) {
    SCOPED_TRACE(secure ? "secure erasing" : "no secure erasing");
    std::string p = ts::Scratch() + "\\reader.txt";
    ts::WriteFile(p, "still readable");
    SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const DWORD attributes = rt::GetAttr(p);
    HANDLE reader = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    DWORD r = EraseOneFile(p, rt::GetAttr(p), true, secure ? SecureErasePasses() : 0);
    CloseHandle(reader);
    EXPECT_EQ(r == 0, !secure) << r;
    EXPECT_EQ(ts::Exists(p), secure);
    if (secure) {
      EXPECT_EQ(ts::ReadFile(p), "still readable");
      EXPECT_EQ(rt::GetAttr(p), attributes);
      SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(p.c_str());
    }
  }

  // An overwrite that does not complete: the file stays, and nothing after the overwrite runs.
  std::string p = ts::Scratch() + "\\half.txt";
  ts::WriteFile(p, "half");
  bool firstRan = false;
  DWORD r = EraseOneFileWith(rt::FoundFile{p, FILE_ATTRIBUTE_ARCHIVE}, true, [](HANDLE) { return false; }, nullptr,
                             [&] { firstRan = true; return DWORD(0); });
  EXPECT_EQ(r, kNotOverwritten);
  EXPECT_FALSE(firstRan);
  EXPECT_EQ(ts::ReadFile(p), "half");
}

// A hard link shares its content and its attributes with its other names: erasing one name
// changes nothing of the others. It is never overwritten (and so, with secure erasing, it stays);
// a read-only one that goes gives its attributes back before it goes.
TEST(EraseOneFile, AHardLinkChangesNothingOfItsOtherNames) {
  const DWORD rh = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  struct Case {
    DWORD attributes;
    int passes;
  } cases[] = {{rh, 0}, {rh, 2}, {FILE_ATTRIBUTE_HIDDEN, 0}, {FILE_ATTRIBUTE_HIDDEN, 2}, {FILE_ATTRIBUTE_ARCHIVE, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.attributes) + " with " + std::to_string(c.passes) + " passes");
    std::string other = ts::Scratch() + "\\elsewhere\\precious.doc", link = ts::Scratch() + "\\temp\\link.doc";
    ts::WriteFile(other, "precious");
    rt::CreateFolder(ts::Scratch() + "\\temp");
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), other.c_str(), nullptr));
    SetFileAttributesA(other.c_str(), c.attributes);
    const DWORD before = rt::GetAttr(other);
    DWORD r = EraseOneFile(link, rt::GetAttr(link), true, c.passes);
    EXPECT_EQ(r, c.passes ? kNotOverwritten : 0u);
    EXPECT_EQ(ts::Exists(link), c.passes > 0);
    EXPECT_EQ(ts::ReadFile(other), "precious");
    EXPECT_EQ(rt::GetAttr(other), before);
    SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_NORMAL);
    rt::DeleteTree(ts::Scratch() + "\\temp");
    rt::DeleteTree(ts::Scratch() + "\\elsewhere");
  }
}

// What the opened handle is counts, not what the listing said: a folder that took the listed
// file's name since is not erased, with or without secure erasing.
TEST(EraseOneFile, AFolderThatTookAListedFilesNameStays) {
  std::string p = ts::Scratch() + "\\was-a-file.tmp";
  ASSERT_TRUE(CreateDirectoryA(p.c_str(), nullptr));
  for (int passes : {0, 1}) {
    EXPECT_EQ(EraseOneFile(p, FILE_ATTRIBUTE_ARCHIVE, true, passes), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << passes;
    EXPECT_TRUE(rt::FolderExists(p)) << passes;
  }
}

// The listing showed a plain file; it is read-only by the time it is erased. What its handle says
// counts: a category that keeps read-only files keeps it, one that clears attributes erases it.
TEST(EraseOneFile, AFileMadeReadOnlySinceItsListingIsTakenAsItIsThen) {
  std::string p = ts::Scratch() + "\\later.txt";
  ts::WriteFile(p, "keep");
  SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = rt::GetAttr(p);
  EXPECT_EQ(EraseOneFile(p, FILE_ATTRIBUTE_ARCHIVE, false, 0), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(rt::GetAttr(p), attributes);
  EXPECT_EQ(EraseOneFile(p, FILE_ATTRIBUTE_ARCHIVE, true, 0), 0u);
  EXPECT_FALSE(ts::Exists(p));
}

TEST(EraseOneFile, ClearedAttributesComeBackWhenTheFileStays) {
  std::string p = ts::Scratch() + "\\hidden.txt";
  ts::WriteFile(p, "keep");
  SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  HANDLE other = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(EraseOneFile(p, rt::GetAttr(p), true, 0), 0u);
  CloseHandle(other);
  EXPECT_EQ(rt::GetAttr(p) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  // Without the other handle it goes, read-only or not.
  EXPECT_EQ(EraseOneFile(p, rt::GetAttr(p), true, 0), 0u);
  EXPECT_FALSE(ts::Exists(p));
}

}  // namespace
