// The registry entry dialog: the lines of its four actions, an empty key, the design state of each
// opening, and the pick-up of a key copied in the registry editor.
#include <gtest/gtest.h>

#include "fixture.h"
#include "runtime/clipboard.h"
#include "runtime/pump.h"

namespace {

using Lines = std::vector<std::string>;
using te::EditorTest;

class RegistryEntryTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    rt::SetClipboardHandlers(
        [this]() -> std::optional<std::string> {
          ++reads;
          return clipboard;
        },
        [this] {
          ++clears;
          if (clearFails) return false;
          clipboard = "";
          return true;
        });
    rt::SetProcessStartHandler([this](const rt::ProcessStart& p) -> INT_PTR {
      starts.push_back(p);
      return startResult;
    });
  }
  void TearDown() override {
    EditorTest::TearDown();
    rt::SetClipboardHandlers(nullptr, nullptr);
  }
  Lines Entries() { return PluginEditor()->List2.Items(); }

  std::optional<std::string> clipboard = std::string("");
  bool clearFails = false;
  int reads = 0, clears = 0;
  std::vector<rt::ProcessStart> starts;
  INT_PTR startResult = 1;
};

TEST_F(RegistryEntryTest, CaptionsAndTheStateOfEachOpening) {
  RegistryEntryDialog& d = RegistryDialog();
  struct Case {
    std::string shown, expected;
  } cases[] = {
      {d.Caption(), "Registry Items"},
      {d.Frame2.Caption(), "Select Option"},
      {d.Label1[1].Caption(), "Registry Key"},
      {d.Label1[0].Caption(), "Enter Registry Key Like HKEY_CURRENT_USER\\Software\\Dorvanta"},
      {d.Label1[3].Caption(), "Enter value Name"},
      {d.command1.Caption(), "Launch Registry Editor"},
      {d.Command2.Caption(), "Add"},
      {d.Command3.Caption(), "Cancel"},
      {d.Option1.Caption(), "Erase Key"},
      {d.Option2.Caption(), "Erase Key list"},
      {d.Option3.Caption(), "Erase Values Under This Key"},
      {d.Option4.Caption(), "Erase Value"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
  EXPECT_EQ(d.command1.ButtonType(), controls::ButtonTypeKind::HighlightHover);
  for (int round = 0; round < 2; ++round) {
    RegistryEntryDialog& r = RegistryDialog();
    EXPECT_TRUE(r.Option1.Value());
    EXPECT_FALSE(r.Text2.Enabled());
    EXPECT_FALSE(r.Timer1.Enabled());
    EXPECT_EQ(r.Text1.Text(), "");
    // The value name is enabled by "Erase Value" and stays so.
    r.Option4.SetValue(true);
    EXPECT_TRUE(r.Text2.Enabled());
    r.Option2.SetValue(true);
    EXPECT_TRUE(r.Text2.Enabled());
    r.Text1.SetText("typed");
    r.Command3.PerformClick();  // Cancel
    EXPECT_FALSE(r.IsLoaded());
  }
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(reads + clears, 0) << "the clipboard is left alone until Launch";
}

TEST_F(RegistryEntryTest, TheLinesOfTheFourActions) {
  struct Case {
    forms::OptionButton RegistryEntryDialog::*option;
    const char* valueName;
    const char* line;
  } cases[] = {
      {&RegistryEntryDialog::Option1, "", "HKEY_CURRENT_USER\\Software\\Demo Tool,1"},
      {&RegistryEntryDialog::Option2, "", "HKEY_CURRENT_USER\\Software\\Demo Tool,2"},
      {&RegistryEntryDialog::Option3, "", "HKEY_CURRENT_USER\\Software\\Demo Tool,3"},
      {&RegistryEntryDialog::Option4, "  Last File  ", "HKEY_CURRENT_USER\\Software\\Demo Tool,Last File,4"},
      {&RegistryEntryDialog::Option4, "", "HKEY_CURRENT_USER\\Software\\Demo Tool,,4"},
      {&RegistryEntryDialog::Option4, "Last\r\nFile\r", "HKEY_CURRENT_USER\\Software\\Demo Tool,LastFile,4"},
  };
  Lines expected;
  for (const auto& c : cases) {
    RegistryEntryDialog& d = RegistryDialog();
    d.Text1.SetText("  HKEY_CURRENT_USER\\Software\\Demo Tool ");
    (d.*c.option).SetValue(true);
    d.Text2.SetText(c.valueName);
    d.Command2.PerformClick();
    EXPECT_FALSE(d.IsLoaded());
    expected.push_back(c.line);
  }
  // A value name typed for "Erase Value" is not written for another action.
  RegistryEntryDialog& d = RegistryDialog();
  d.Text1.SetText("HKEY_LOCAL_MACHINE\\Software\\Demo");
  d.Option4.SetValue(true);
  d.Text2.SetText("Name");
  d.Option1.SetValue(true);
  d.Command2.PerformClick();
  expected.push_back("HKEY_LOCAL_MACHINE\\Software\\Demo,1");
  // A line break typed or pasted into the key goes: one entry is one line.
  RegistryEntryDialog& broken = RegistryDialog();
  broken.Text1.SetText("HKEY_CURRENT_USER\\Software\r\\Demo\n");
  broken.Command2.PerformClick();
  expected.push_back("HKEY_CURRENT_USER\\Software\\Demo,1");
  EXPECT_EQ(Entries(), expected);
  EXPECT_TRUE(boxes.empty());
}

// The reader takes the value name from between the last two commas of the line: a name with a
// comma would name another value of another key, so it is refused.
TEST_F(RegistryEntryTest, AValueNameWithACommaIsRefused) {
  RegistryEntryDialog& d = RegistryDialog();
  d.Text1.SetText("HKEY_CURRENT_USER\\Software\\App");
  d.Option4.SetValue(true);
  d.Text2.SetText("a,b");
  d.Command2.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "A value name cannot hold a comma: the plug-in would erase another value. Nothing was added.");
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_TRUE(Entries().empty());
  // A key may hold a comma: the action still reads from the line's end.
  d.Text1.SetText("HKEY_CURRENT_USER\\Software\\App,Two");
  d.Text2.SetText("Last");
  d.Command2.PerformClick();
  EXPECT_EQ(Entries(), (Lines{"HKEY_CURRENT_USER\\Software\\App,Two,Last,4"}));
}

TEST_F(RegistryEntryTest, AnEmptyKeyIsNotAdded) {
  RegistryEntryDialog& d = RegistryDialog();
  for (const char* key : {"", "   "}) {
    d.Text1.SetText(key);
    d.Command2.PerformClick();
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Type a registry key, or copy one in the registry editor.");
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[0].title, "Trelmak");
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_TRUE(Entries().empty());
}

TEST_F(RegistryEntryTest, LaunchEmptiesTheClipboardAndPicksUpTheFirstKeyCopied) {
  RegistryEntryDialog& d = RegistryDialog();
  clipboard = "old text";
  d.command1.PerformClick();
  EXPECT_EQ(clears, 1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, "regedit.exe");
  EXPECT_EQ(starts[0].show, SW_SHOWNORMAL);
  EXPECT_TRUE(d.Timer1.Enabled());
  // Nothing copied yet: the ticks go on.
  d.Timer1_Timer();
  EXPECT_TRUE(d.Timer1.Enabled());
  // A copy of several lines gives its first line, trimmed, and ends the pick-up.
  clipboard = "  HKEY_CURRENT_USER\\Software\\Copied Key\t\r\nHKEY_CURRENT_USER\\Software\\Second,1\r\n";
  d.Timer1_Timer();
  EXPECT_EQ(d.Text1.Text(), "HKEY_CURRENT_USER\\Software\\Copied Key");
  EXPECT_FALSE(d.Timer1.Enabled());
  d.Command2.PerformClick();
  EXPECT_EQ(Entries(), (Lines{"HKEY_CURRENT_USER\\Software\\Copied Key,1"}));

  // With text in the key box, the first tick takes the (empty) clipboard and the pick-up ends.
  RegistryEntryDialog& e = RegistryDialog();
  e.Text1.SetText("typed before");
  e.command1.PerformClick();
  e.Timer1_Timer();
  EXPECT_EQ(e.Text1.Text(), "");
  EXPECT_FALSE(e.Timer1.Enabled());
  // Typing ends a pick-up as well; a clipboard that cannot be read leaves the box for that tick.
  e.command1.PerformClick();
  clipboard = std::nullopt;
  e.Timer1_Timer();
  EXPECT_TRUE(e.Timer1.Enabled());
  e.Text1.SetText("HKEY_CURRENT_USER\\Software\\Typed");
  EXPECT_FALSE(e.Timer1.Enabled());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(RegistryEntryTest, TheTimerPicksTheKeyUpWithinASecond) {
  RegistryEntryDialog& d = RegistryDialog();
  d.Show();
  d.command1.PerformClick();
  clipboard = "HKEY_CURRENT_USER\\Software\\Timed";
  DWORD start = GetTickCount();
  while (d.Text1.Text().empty() && GetTickCount() - start < 3000) {
    rt::DoEvents();
    Sleep(10);
  }
  EXPECT_EQ(d.Text1.Text(), "HKEY_CURRENT_USER\\Software\\Timed");
  EXPECT_EQ(d.Timer1.Interval(), 1000u);  // a tick every second
  EXPECT_FALSE(d.Timer1.Enabled());
}

TEST_F(RegistryEntryTest, ALaunchThatFailsSaysSo) {
  RegistryEntryDialog& d = RegistryDialog();
  startResult = 0;  // no registry editor
  d.command1.PerformClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "The registry editor could not be started.");
  EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_TRUE(d.Timer1.Enabled()) << "the pick-up still runs";
  // A clipboard that cannot be emptied stops the launch before the editor starts.
  d.Text1.SetText("x");
  clearFails = true;
  d.command1.PerformClick();
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(starts.size(), 1u);
  EXPECT_FALSE(d.Timer1.Enabled());
}

TEST(RegistryKeys, ACopiedKeyIsItsFirstLineTrimmed) {
  struct Case {
    const char* text;
    const char* key;
  } cases[] = {
      {"HKEY_CURRENT_USER\\Software\\A", "HKEY_CURRENT_USER\\Software\\A"},
      {"  HKEY_CURRENT_USER\\Software\\A B  ", "HKEY_CURRENT_USER\\Software\\A B"},
      {"HKEY_CURRENT_USER\\Software\\A\r\nHKEY_CURRENT_USER\\Software\\B", "HKEY_CURRENT_USER\\Software\\A"},
      {"HKEY_CURRENT_USER\\Software\\A\nB", "HKEY_CURRENT_USER\\Software\\A"},
      {"HKEY_CURRENT_USER\\Software\\A\rB", "HKEY_CURRENT_USER\\Software\\A"},
      {"\r\nHKEY_CURRENT_USER\\Software\\A", ""},
      {"\t", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyFromClipboard(c.text), c.key) << c.text;
}

}  // namespace
