#include "forms/listview.h"

#include <gtest/gtest.h>

#include "forms/form.h"
#include "native.h"
#include "runtime/pump.h"

namespace {

class ViewForm : public forms::Form {
 public:
  ViewForm() : Form("ViewForm"), View100(*this, "View100"), View1(*this, "View1"), Hidden(*this, "View9") {
    SetClientSize(9000, 6000);
    View100.Move(0, 0, 6000, 3000);
    View100.AddColumn("Task", 3000);
    View100.AddColumn("Status", 2000);
    View100.SetSmallIcons(&Icons);
    View1.Move(0, 3000, 6000, 2000);
    View1.SetCheckboxes(true);
    View1.AddColumn("", 4000);
    Hidden.SetVisible(false);
    Icons.Add("b", LoadIcon(nullptr, IDI_APPLICATION));
    Icons.Add("o", LoadIcon(nullptr, IDI_INFORMATION));
  }
  forms::ImageList Icons;
  forms::ListView View100, View1, Hidden;
};

int NativeImage(HWND lv, int row0) {
  LVITEMA it{};
  it.mask = LVIF_IMAGE;
  it.iItem = row0;
  SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return it.iImage;
}

TEST(ListView, RowsSubItemsAndIconsByKeyShowInTheVirtualList) {
  ViewForm f;
  f.Load();
  EXPECT_EQ(f.View100.Add("Run History"), 1);
  f.View100.SetSmallIcon(1, "b");
  f.View100.Add("Recent Documents", "", "b");
  f.View100.SetSubItem(1, 1, "Erasing");
  f.View100.SetSmallIcon(1, "o");
  f.View100.SetSubItem(1, 1, "Done");
  EXPECT_FALSE(f.View100.SetSubItem(3, 1, "Done"));  // past the last row: nothing changes
  EXPECT_EQ(f.View100.Count(), 2);
  rt::DoEvents();  // the native count follows when the messages are handled
  HWND lv = f.View100.hWnd();
  EXPECT_EQ(nt::ListViewCount(lv), 2);
  EXPECT_EQ(nt::ListViewText(lv, 0, 0), "Run History");
  EXPECT_EQ(nt::ListViewText(lv, 0, 1), "Done");
  EXPECT_EQ(nt::ListViewText(lv, 1, 1), "");
  EXPECT_EQ(NativeImage(lv, 0), f.Icons.IndexOf("o"));
  EXPECT_EQ(NativeImage(lv, 1), f.Icons.IndexOf("b"));
  f.View100.SetSmallIcon(2, "unknown");
  EXPECT_EQ(NativeImage(lv, 1), I_IMAGENONE);
  char head[32] = "";
  HDITEMA hd{};
  hd.mask = HDI_TEXT;
  hd.pszText = head;
  hd.cchTextMax = sizeof head;
  SendMessageA(f.View100.HeaderHwnd(), HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&hd));
  EXPECT_STREQ(head, "Status");
  f.View100.Clear();
  rt::DoEvents();
  EXPECT_EQ(nt::ListViewCount(lv), 0);
  f.Unload();
}

// bench/run measures how fast such a run of rows is shown (its part 5, the detail list).
TEST(ListView, ALongRunOfRowsShowsEveryRowAndScrollsToTheLast) {
  ViewForm f;
  f.Show();
  for (int i = 1; i <= 100000; ++i) {
    int row = f.View100.Add("Windows Temporary Files = C:\\temp\\f" + std::to_string(i) + ".tmp <OK>");
    f.View100.SetSelected(row, true);
    f.View100.EnsureVisible(row);
    if (i % 5000 == 0) rt::DoEvents();
  }
  rt::DoEvents();
  HWND lv = f.View100.hWnd();
  EXPECT_EQ(nt::ListViewCount(lv), 100000);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 99999);
  int top = static_cast<int>(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0));
  int page = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GE(top + page, 99999) << "the last row is in view";
  EXPECT_EQ(f.View100.SelectedIndex(), 100000);
  EXPECT_FALSE(f.View100.Selected(99999));
  f.Unload();
}

TEST(ListView, RowsKeepTheirTextsThroughChangesRemovalsAndClears) {
  ViewForm f;
  f.Load();
  forms::ListView& v = f.Hidden;
  v.Add("first", "k1", "b");
  v.Add("");
  v.Add("third");
  v.SetSubItem(3, 2, "sub");
  v.SetTag(3, "tag");
  // Texts replaced many times over (megabytes of them) leave the other rows as they were.
  std::string big(1000, 'x');
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(v.SetText(2, big + std::to_string(i)));
  EXPECT_EQ(v.Text(2), big + "2999");
  EXPECT_EQ(v.Text(1), "first");
  EXPECT_EQ(v.TextView(3), "third");
  forms::ListItem third = v.Item(3);
  EXPECT_EQ(third.text, "third");
  EXPECT_EQ(third.subItems, (std::vector<std::string>{"", "sub"}));
  EXPECT_EQ(third.tag, "tag");
  EXPECT_EQ(v.Item(1).smallIcon, "b");
  EXPECT_EQ(v.FindKey("k1"), 1);
  EXPECT_EQ(v.Item(4).text, "");  // past the end: an empty row
  EXPECT_EQ(v.TextView(0), "");
  // A removed row takes its extras with it; the rows after it move up.
  ASSERT_TRUE(v.Remove(1));
  EXPECT_EQ(v.FindKey("k1"), 0);
  EXPECT_EQ(v.Text(2), "third");
  EXPECT_EQ(v.SubItem(2, 2), "sub");
  v.Clear();
  EXPECT_EQ(v.Count(), 0);
  EXPECT_EQ(v.Add("again"), 1);
  EXPECT_EQ(v.Text(1), "again");
  EXPECT_EQ(v.SubItem(1, 2), "");
  f.Unload();
}

TEST(ListView, DuringAHandlerTheNativeListFollowsAtIntervals) {
  ViewForm f;
  f.Show();
  HWND lv = f.View100.hWnd();
  {
    forms::HandlerScope handler(f);  // a long handler that keeps the window alive with yields
    f.View100.Add("one");
    rt::DoEvents();
    EXPECT_EQ(nt::ListViewCount(lv), 1);  // the first change shows at once
    f.View100.Add("two");
    rt::DoEvents();
    EXPECT_EQ(nt::ListViewCount(lv), 1) << "the next follows a moment later";
    Sleep(forms::Form::kBusySyncGapMs + 50);
    rt::DoEvents();
    EXPECT_EQ(nt::ListViewCount(lv), 2);
    f.View100.Add("three");
    rt::DoEvents();
    EXPECT_EQ(nt::ListViewCount(lv), 2);
  }
  // Once the handler has returned, what waited shows at the next look at the messages.
  rt::DoEvents();
  EXPECT_EQ(nt::ListViewCount(lv), 3);
  EXPECT_EQ(nt::ListViewText(lv, 2, 0), "three");
  f.Unload();
}

TEST(ListView, ChecksFromCodeAndFromTheUser) {
  ViewForm f;
  f.Show();
  for (const char* n : {"game #1", "[ab]", "b"}) f.View1.Add(n);
  std::vector<int> checked;
  int clicks = 0;
  f.View1.ItemCheck = [&](int i) { checked.push_back(i); };
  f.View1.Click = [&] { ++clicks; };
  EXPECT_TRUE(f.View1.SetChecked(2, true));  // from code: no ItemCheck
  EXPECT_FALSE(f.View1.SetChecked(4, true));
  EXPECT_TRUE(checked.empty());
  rt::DoEvents();
  HWND lv = f.View1.hWnd();
  auto nativeChecked = [&](int row0) {
    return (SendMessageA(lv, LVM_GETITEMSTATE, row0, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  };
  EXPECT_TRUE(nativeChecked(1));
  EXPECT_FALSE(nativeChecked(0));
  // The user clicks the check box of the first row.
  RECT r{};
  r.left = LVIR_BOUNDS;
  SendMessageA(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  RECT icon{};
  icon.left = LVIR_ICON;
  SendMessageA(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
  POINT p{icon.left - 8, (r.top + r.bottom) / 2};
  LVHITTESTINFO ht{};
  ht.pt = p;
  SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&ht));
  ASSERT_TRUE(ht.flags & LVHT_ONITEMSTATEICON) << "flags " << ht.flags;
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  rt::DoEvents();
  EXPECT_TRUE(f.View1.Checked(1));
  EXPECT_EQ(checked, (std::vector<int>{1}));
  EXPECT_GE(clicks, 1);
  EXPECT_TRUE(nativeChecked(0));
  // A double click on it ticks it twice: off and on again.
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(lv, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  rt::DoEvents();
  EXPECT_TRUE(f.View1.Checked(1));
  EXPECT_EQ(checked, (std::vector<int>{1, 1, 1}));
  checked = {1};
  // A click on the text of the third row selects it and tells which row it was.
  std::vector<int> itemClicks;
  f.View1.ItemClick = [&](int i) { itemClicks.push_back(i); };
  SendMessageA(lv, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&(r = RECT{LVIR_LABEL, 0, 0, 0})));
  POINT q{r.left + 5, (r.top + r.bottom) / 2};
  SendMessageA(lv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(q.x, q.y));
  SendMessageA(lv, WM_LBUTTONUP, 0, MAKELPARAM(q.x, q.y));
  rt::DoEvents();
  EXPECT_EQ(f.View1.SelectedIndex(), 3);
  EXPECT_TRUE(f.View1.Selected(3));
  EXPECT_EQ(itemClicks, (std::vector<int>{3}));
  EXPECT_FALSE(f.View1.Checked(3));
  // Space ticks the selected row.
  NMLVKEYDOWN kd{};
  kd.hdr.hwndFrom = lv;
  kd.hdr.code = LVN_KEYDOWN;
  kd.wVKey = VK_SPACE;
  SendMessageA(f.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&kd));
  EXPECT_TRUE(f.View1.Checked(3));
  EXPECT_EQ(checked, (std::vector<int>{1, 3}));
  f.Unload();
}

TEST(ListView, KeyboardTicksAreSeenAsTheUsersAndTicksFromCodeAreNot) {
  ViewForm f;
  std::vector<int> checked;
  f.View1.ItemCheck = [&](int i) { checked.push_back(i); };
  f.Show();
  // Filling the list ticks rows from code: nothing is told.
  for (const char* n : {"games", "office", "tools"}) {
    int row = f.View1.Add(n);
    f.View1.SetChecked(row, row != 2);
  }
  rt::DoEvents();
  EXPECT_TRUE(checked.empty());
  HWND lv = f.View1.hWnd();
  SetFocus(lv);
  f.View1.SetSelected(2, true);
  rt::DoEvents();
  auto space = [&] {
    SendMessageA(lv, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(lv, WM_KEYUP, VK_SPACE, 0);
    rt::DoEvents();
  };
  space();
  EXPECT_TRUE(f.View1.Checked(2));
  space();
  EXPECT_FALSE(f.View1.Checked(2));
  EXPECT_EQ(checked, (std::vector<int>{2, 2}));
  // The focus moved alone (as Ctrl and an arrow move it): Space ticks the row with the focus.
  LVITEMA it{};
  it.stateMask = LVIS_FOCUSED;
  it.state = LVIS_FOCUSED;
  SendMessageA(lv, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&it));
  space();
  EXPECT_FALSE(f.View1.Checked(3));
  EXPECT_EQ(checked.back(), 3);
  EXPECT_EQ((SendMessageA(lv, LVM_GETITEMSTATE, 2, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  f.Unload();
}

TEST(ListView, HiddenListsNeedNoNativeWindow) {
  ViewForm f;
  f.Load();
  f.Hidden.Add("plugin");
  f.Hidden.SetChecked(1, true);
  EXPECT_FALSE(f.Hidden.HasNative());
  EXPECT_TRUE(f.Hidden.Checked(1));
  EXPECT_EQ(f.Hidden.Text(1), "plugin");
  EXPECT_EQ(f.Hidden.Text(2), "");
  f.Unload();
}

}  // namespace
