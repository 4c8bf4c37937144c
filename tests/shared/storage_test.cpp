#include "shared/storage.h"

#include <gtest/gtest.h>

#include "forms/forms.h"
#include "regfixture.h"
#include "support/scratch.h"

namespace {

using namespace std::string_literals;

// The window that owns the lists and the text box the operations fill.
class Host : public forms::Form {
 public:
  Host() : Form("Host"), List12(*this, "List12"), Text2(*this, "Text2") {
    List12.SetVisible(false);
    Text2.SetVisible(false);
  }
  forms::ListBox List12;
  forms::TextBox Text2;
};

class Storage : public ts::RegistryTest {
 protected:
  std::string Ini(const std::string& content) {
    std::string p = ts::Scratch() + "\\english.ini";
    ts::WriteFile(p, content);
    return p;
  }
  std::string ReadS(const std::string& root, const std::string& sub, const std::string& name, long* status = nullptr) {
    StoredValue v;
    long s = fReadValue(root, sub, name, "s", "<default>"s, v);
    if (status) *status = s;
    return StoredText(v);
  }
  Host host;
};

TEST_F(Storage, RootNamesAndFiles) {
  std::string ini = Ini("[001]\r\n");
  ts::WriteFile(ts::Scratch() + "\\a.ini", "");
  struct Case {
    std::string root;
    RootKind kind;
    HKEY key;
  } cases[] = {
      {"HKCU", RootKind::Registry, HKEY_CURRENT_USER},  {"hklm", RootKind::Registry, HKEY_LOCAL_MACHINE},
      {"Hku", RootKind::Registry, HKEY_USERS},          {"HKCR", RootKind::Registry, HKEY_CLASSES_ROOT},
      {"HKCC", RootKind::None, nullptr},                {"hkdd", RootKind::None, nullptr},
      {ini, RootKind::Ini, nullptr},                    {ts::Scratch(), RootKind::None, nullptr},
      {ts::Scratch() + "\\missing.ini", RootKind::None, nullptr},
      {ts::Scratch() + "\\*.ini", RootKind::None, nullptr},  // a pattern is never a file
      {"", RootKind::None, nullptr},                    {"HKEY_CURRENT_USER", RootKind::None, nullptr},
  };
  for (const auto& c : cases) {
    ResolvedRoot r = fResolveRoot(c.root);
    EXPECT_EQ(r.kind, c.kind) << c.root;
    EXPECT_EQ(r.key, c.key) << c.root;
  }
  EXPECT_EQ(fResolveRoot(ini).iniPath, ini);
}

TEST_F(Storage, ReadsRegistryTextsWholeAndDropsOnlyATerminatingNul) {
  SetText("k", "plain", "hello");
  Set("k", "nonul", REG_BINARY, "abc");  // data stored without a NUL keeps its last character
  std::string big(5000, 'x');
  SetText("k", "long", big);
  SetText("k", "empty", "");
  long status = -1;
  EXPECT_EQ(ReadS("HKCU", Path("k"), "plain", &status), "hello");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadS("HKCU", Path("k"), "nonul"), "abc");
  EXPECT_EQ(ReadS("HKCU", Path("k"), "long"), big);
  EXPECT_EQ(ReadS("HKCU", Path("k"), "empty", &status), "<default>");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadS("HKCU", Path("k"), "missing", &status), "<default>");
  EXPECT_EQ(status, 2);
  EXPECT_EQ(ReadS("HKCU", Path("nokey"), "plain", &status), "<default>");
  EXPECT_EQ(status, 2);
  EXPECT_EQ(ReadS("HKXX", Path("k"), "plain", &status), "<default>");
  EXPECT_EQ(status, 99);
  EXPECT_EQ(ReadS("hkcc", Path("k"), "plain", &status), "<default>");
  EXPECT_EQ(status, 99);
}

TEST_F(Storage, ReadsNumbersAndBooleans) {
  Set("k", "dw", REG_DWORD, "\x2a\0\0\0"s);
  Set("k", "flag", REG_BINARY, "\x01"s);
  Set("k", "off", REG_BINARY, "\0\0"s);
  StoredValue v;
  EXPECT_EQ(fReadValue("HKCU", Path("k"), "dw", "D", 0L, v), 0);
  EXPECT_EQ(std::get<long>(v), 42);
  EXPECT_EQ(fReadValue("HKCU", Path("k"), "flag", "b", false, v), 0);
  EXPECT_EQ(std::get<bool>(v), true);
  EXPECT_EQ(fReadValue("HKCU", Path("k"), "off", "B", true, v), 0);
  EXPECT_EQ(std::get<bool>(v), false);
  EXPECT_EQ(fReadValue("HKCU", Path("k"), "dw", "B", false, v), ERROR_MORE_DATA);  // 4 bytes are too many
  EXPECT_EQ(std::get<bool>(v), false);
}

TEST_F(Storage, ReadsIniTexts) {
  std::string ini = Ini(
      "; comment\r\n[001]\r\n002=\"Start Erasing\"\r\n003=Test Now\r\n004=\r\n010=\"" + std::string(300, 'z') +
      "\"\r\n020=7\r\n[002]\r\n002=other\r\n");
  long status = -1;
  EXPECT_EQ(ReadS(ini, "001", "002", &status), "Start Erasing");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadS(ini, "001", "003"), "Test Now");
  EXPECT_EQ(ReadS(ini, "001", "004"), "");
  EXPECT_EQ(ReadS(ini, "001", "010").size(), 254u);
  EXPECT_EQ(ReadS(ini, "001", "999", &status), "<default>");  // missing: the default, status 0
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadS(ini, "003", "002", &status), "<default>");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadS(ts::Scratch() + "\\none.ini", "001", "002", &status), "<default>");
  EXPECT_EQ(status, 99);
  StoredValue v;
  EXPECT_EQ(fReadValue(ini, "001", "020", "D", 0L, v), 0);
  EXPECT_EQ(std::get<long>(v), 7);
}

TEST_F(Storage, EnumeratesValuesAsNameEqualsDataEntries) {
  // Created in name order, so the registry's order is the same everywhere.
  SetText("v", "", "unnamed");
  SetText("v", "a", "1");
  Set("v", "b", REG_BINARY, "\x05\x01"s);
  Set("v", "c", REG_BINARY, "\x01\x02\x03"s);  // longer binaries give no entry
  Set("v", "d", REG_DWORD, "\x10\0\0\0"s);
  Set("v", "e", REG_MULTI_SZ, "x\0y\0\0"s);      // nor do other types
  SetText("v", "f", "url");
  std::string values;
  host.List12.AddItem("stale");
  EXPECT_EQ(fEnumValuec("HKCU", Path("v"), values, host.List12), 0);
  EXPECT_EQ(values, "=unnamed\0a=1\0b=261\0d=16\0f=url\0\0"s);
  EXPECT_EQ(host.List12.Items(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
}

TEST_F(Storage, ALongValueNameDoesNotEndTheWalk) {
  std::string longName(3000, 'n');
  SetText("v", "a", "1");
  SetText("v", longName, "2");
  SetText("v", "z", "3");
  std::string values;
  EXPECT_EQ(fEnumValueb("HKCU", Path("v"), values, host.List12), 0);
  EXPECT_EQ(host.List12.ListCount(), 3);
  EXPECT_EQ(host.List12.List(2), "z");
  EXPECT_EQ(values, "a=1\0"s + longName + "=2\0z=3\0\0"s);
}

TEST_F(Storage, EmptyAndMissingKeys) {
  MakeKey("empty");
  std::string values;
  EXPECT_EQ(fEnumValueb("HKCU", Path("empty"), values, host.List12), 0);
  EXPECT_EQ(values, "\0\0"s);
  EXPECT_EQ(host.List12.ListCount(), 0);
  values.clear();
  host.List12.AddItem("stale");
  EXPECT_EQ(fEnumValueb("HKCU", Path("missing"), values, host.List12), 2);
  EXPECT_EQ(host.List12.ListCount(), 0);  // cleared, not filled
  EXPECT_EQ(fEnumValueb("nothing", Path("missing"), values, host.List12), 99);
}

TEST_F(Storage, EnumeratesAnIniSectionIntoItsBuffer) {
  std::string ini = Ini("[001]\r\n002=a\r\n003=\"b\"\r\n");
  std::string values;
  host.List12.AddItem("stale");
  EXPECT_EQ(fEnumValueb(ini, "001", values, host.List12), 0);
  ASSERT_EQ(values.size(), 8192u);
  EXPECT_EQ(values.substr(0, 15), "002=a\0"s + "003=\"b\"\0\0"s);
  EXPECT_EQ(values.find_first_not_of(' ', 15), std::string::npos);
  EXPECT_EQ(host.List12.ListCount(), 0);
}

TEST_F(Storage, EnumValueJoinsTheNamesInTheTextBox) {
  SetText("typedurls", "url1", "http://a.invalid/");
  SetText("typedurls", "url2", "http://b.invalid/");
  std::string values;
  EXPECT_EQ(fEnumValue("HKCU", Path("typedurls"), values, host.Text2), 0);
  EXPECT_EQ(host.Text2.Text(), "url1,url2," + std::string(2048, ' '));
  MakeKey("none");
  host.Text2.SetText("");
  EXPECT_EQ(fEnumValue("HKCU", Path("none"), values, host.Text2), 0);
  EXPECT_EQ(host.Text2.Text(), std::string(2048, ' '));
  host.Text2.SetText("kept");
  EXPECT_EQ(fEnumValue("HKCU", Path("missing"), values, host.Text2), 2);
  EXPECT_EQ(host.Text2.Text(), "kept");
}

TEST_F(Storage, EnumeratesSubKeys) {
  MakeKey("keys\\b");
  MakeKey("keys\\a");
  MakeKey("keys\\a\\deeper");
  MakeKey("keys\\" + std::string(200, 'k'));
  std::string values;
  EXPECT_EQ(fEnumKey("HKCU", Path("keys"), values, host.List12), 0);
  EXPECT_EQ(host.List12.ListCount(), 3);
  EXPECT_EQ(host.List12.List(0), "a");
  EXPECT_EQ(values, "a\0b\0"s + std::string(200, 'k') + "\0\0"s);
  std::string ini = Ini("[001]\r\n");
  EXPECT_EQ(fEnumKey(ini, "001", values, host.List12), 6);
  EXPECT_EQ(fEnumKey("HKZZ", Path("keys"), values, host.List12), 99);
  EXPECT_EQ(fEnumKey("HKCU", Path("missing"), values, host.List12), 2);
}

TEST_F(Storage, DeletesKeysButNeverTheOpenedKeyItself) {
  MakeKey("run\\leaf");
  MakeKey("run\\branch\\twig");
  EXPECT_EQ(fDeleteKey("HKCU", Path("run"), "leaf"), 0);
  EXPECT_FALSE(KeyExists("run\\leaf"));
  EXPECT_EQ(fDeleteKey("HKCU", Path("run"), "leaf"), 0);  // already gone
  EXPECT_EQ(fDeleteKey("HKCU", Path("nokey"), "leaf"), 0);
  EXPECT_NE(fDeleteKey("HKCU", Path("run"), ""), 0);    // an empty name deletes nothing
  EXPECT_TRUE(KeyExists("run"));
  EXPECT_NE(fDeleteKey("HKCU", Path("run"), "branch"), 0);  // a key with sub-keys stays
  EXPECT_TRUE(KeyExists("run\\branch\\twig"));
  EXPECT_EQ(fDeleteKey("HKCC", Path("run"), "branch"), 99);
  EXPECT_EQ(fDeleteKey(Ini("[001]\r\n"), "001", "x"), 6);
}

TEST_F(Storage, DeletesValuesAndBlanksIniEntries) {
  SetText("v", "", "unnamed");
  SetText("v", "a", "1");
  EXPECT_EQ(fDeleteValue("HKCU", Path("v"), "a"), 0);
  EXPECT_FALSE(ValueExists("v", "a"));
  EXPECT_EQ(fDeleteValue("HKCU", Path("v"), "a"), 0);
  EXPECT_EQ(fDeleteValue("HKCU", Path("nokey"), "a"), 0);
  EXPECT_NE(fDeleteValue("HKCU", Path("v"), ""), 0);
  EXPECT_TRUE(ValueExists("v", ""));
  EXPECT_EQ(fDeleteValue("HKXX", Path("v"), "a"), 99);

  std::string ini = Ini("[001]\r\n002=\"Start Erasing\"\r\n003=x\r\n");
  EXPECT_EQ(fDeleteValue(ini, "001", "002"), 0);
  EXPECT_EQ(ReadS(ini, "001", "002"), "");  // blank, not the default: the line stays
  EXPECT_NE(ts::ReadFile(ini).find("002="), std::string::npos);
  EXPECT_EQ(ReadS(ini, "001", "003"), "x");
}

}  // namespace
