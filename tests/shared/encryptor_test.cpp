// The binary file encryptor: round trips, the order of the key bytes, progress, and its edge cases.
#include "shared/encryptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

class Encryptor : public ::testing::Test {
 protected:
  std::string In() const { return ts::Scratch() + "\\plain.bin"; }
  std::string Out() const { return ts::Scratch() + "\\coded.bin"; }
  std::string Back() const { return ts::Scratch() + "\\back.bin"; }
  clsBinaryEncryptor e;
};

TEST_F(Encryptor, DecryptingWithTheSamePasswordGivesTheFileBack) {
  std::string data;
  for (int i = 0; i < 3000; ++i) data += static_cast<char>((i * 7 + i / 256) & 0xFF);  // every byte value
  ts::WriteFile(In(), data);
  ASSERT_TRUE(e.EncryptFile(In(), Out(), "s3cret \xE9t\xE9"));
  std::string coded = ts::ReadFile(Out());
  ASSERT_EQ(coded.size(), data.size());
  EXPECT_NE(coded, data);
  ASSERT_TRUE(e.DecryptFile(Out(), Back(), "s3cret \xE9t\xE9"));
  EXPECT_EQ(ts::ReadFile(Back()), data);
  // In place works too: the whole file is read before it is replaced.
  ASSERT_TRUE(e.DecryptFile(Out(), Out(), "s3cret \xE9t\xE9"));
  EXPECT_EQ(ts::ReadFile(Out()), data);
}

TEST_F(Encryptor, TheKeyStartsAtThePasswordsSecondCharacter) {
  ts::WriteFile(In(), Bytes({0, 0, 0, 0, 250}));
  ASSERT_TRUE(e.EncryptFile(In(), Out(), "abc"));
  EXPECT_EQ(ts::ReadFile(Out()), Bytes({'b', 'c', 'a', 'b', (250 + 'c') & 0xFF}));  // wraps modulo 256
  ts::WriteFile(In(), Bytes({1}));
  ASSERT_TRUE(e.DecryptFile(In(), Out(), "abc"));
  EXPECT_EQ(ts::ReadFile(Out()), Bytes({(1 - 'b') & 0xFF}));
  // A character outside ASCII shifts by the low byte of its UTF-16 code: the euro sign (0x80 in
  // the ANSI code page) is U+20AC.
  ts::WriteFile(In(), Bytes({0}));
  ASSERT_TRUE(e.EncryptFile(In(), Out(), "\x80"));
  EXPECT_EQ(ts::ReadFile(Out()), Bytes({0xAC}));
}

TEST_F(Encryptor, ProgressEveryFiveHundredBytes) {
  ts::WriteFile(In(), std::string(1200, 'x'));
  std::vector<std::pair<int, int>> seen;
  e.EncryptProgress = [&](int32_t current, int32_t last) { seen.emplace_back(current, last); };
  ASSERT_TRUE(e.EncryptFile(In(), Out(), "pw"));
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{500, 1200}, {1000, 1200}}));
  seen.clear();
  e.DecryptProgress = e.EncryptProgress;
  ASSERT_TRUE(e.DecryptFile(Out(), Back(), "pw"));
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(ts::ReadFile(Back()), std::string(1200, 'x'));
}

TEST_F(Encryptor, EdgeCases) {
  // An empty password: nothing written.
  ts::WriteFile(In(), "abc");
  EXPECT_FALSE(e.EncryptFile(In(), Out(), ""));
  EXPECT_FALSE(ts::Exists(Out()));
  // A missing source: the destination stays as it was.
  ts::WriteFile(Out(), "keep me");
  EXPECT_FALSE(e.EncryptFile(ts::Scratch() + "\\missing.bin", Out(), "pw"));
  EXPECT_EQ(ts::ReadFile(Out()), "keep me");
  // A longer old destination is replaced whole: no tail of it is left.
  ts::WriteFile(Out(), std::string(100, 'o'));
  ASSERT_TRUE(e.EncryptFile(In(), Out(), "pw"));
  EXPECT_EQ(ts::ReadFile(Out()).size(), 3u);
  // An empty source gives an empty destination.
  ts::WriteFile(In(), "");
  EXPECT_TRUE(e.EncryptFile(In(), Out(), "pw"));
  EXPECT_TRUE(ts::Exists(Out()));
  EXPECT_EQ(ts::ReadFile(Out()), "");
  // A destination that cannot be written.
  ts::WriteFile(In(), "abc");
  CreateDirectoryA((ts::Scratch() + "\\folder").c_str(), nullptr);
  EXPECT_FALSE(e.EncryptFile(In(), ts::Scratch() + "\\folder", "pw"));
  EXPECT_FALSE(e.EncryptFile(In(), ts::Scratch() + "\\no such folder\\x.bin", "pw"));
}

}  // namespace
