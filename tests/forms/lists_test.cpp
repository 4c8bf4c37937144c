#include "forms/lists.h"

#include <gtest/gtest.h>

#include "forms/form.h"
#include "native.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "support/scratch.h"

namespace {

class ListForm : public forms::Form {
 public:
  ListForm()
      : Form("ListForm"), List1(*this, "List1"), Sorted(*this, "List2"), Work(*this, "List7"),
        Combo1(*this, "Combo1", forms::ComboBox::kDropdownCombo), Combo3(*this, "Combo3", forms::ComboBox::kDropdownList),
        File1(*this, "File1") {
    Sorted.SetSorted(true);
    Sorted.SetMultiSelect(forms::ListBox::kExtended);
    Work.SetVisible(false);
    File1.SetVisible(false);
  }
  forms::ListBox List1, Sorted, Work;
  forms::ComboBox Combo1, Combo3;
  forms::FileListBox File1;
};

TEST(ListBox, ItemsIndexesAndTheNativeList) {
  ListForm f;
  f.Load();
  f.List1.AddItem("b");
  f.List1.AddItem("a", 0);
  f.List1.AddItem("c");
  EXPECT_EQ(f.List1.ListCount(), 3);
  EXPECT_EQ(f.List1.List(0), "a");
  EXPECT_EQ(f.List1.List(3), "");   // past the end reads empty
  EXPECT_FALSE(f.List1.SetList(3, "x"));
  EXPECT_EQ(SendMessageA(f.List1.hWnd(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(nt::ListBoxText(f.List1.hWnd(), 0), "a");
  int clicks = 0;
  f.List1.Click = [&] { ++clicks; };
  EXPECT_TRUE(f.List1.SetListIndex(1));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageA(f.List1.hWnd(), LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(f.List1.RemoveItem(0));  // the selection moves with its item
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_EQ(f.List1.List(0), "b");
  EXPECT_FALSE(f.List1.RemoveItem(5));
  // The user selects in the native list.
  SendMessageA(f.List1.hWnd(), LB_SETCURSEL, 1, 0);
  SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.List1.hWnd()), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(f.List1.hWnd()));
  EXPECT_EQ(f.List1.ListIndex(), 1);
  EXPECT_EQ(clicks, 2);
  f.List1.Clear();
  EXPECT_EQ(f.List1.ListIndex(), -1);
  EXPECT_EQ(SendMessageA(f.List1.hWnd(), LB_GETCOUNT, 0, 0), 0);
  f.Unload();
}

TEST(ListBox, SortedListsIgnoreCaseAndSelectMany) {
  ListForm f;
  for (const char* s : {"zeta.txt", "Alpha.txt", "beta.txt", "alpha.txt"}) f.Sorted.AddItem(s);
  EXPECT_EQ(f.Sorted.Items(), (std::vector<std::string>{"Alpha.txt", "alpha.txt", "beta.txt", "zeta.txt"}));
  EXPECT_EQ(f.Sorted.AddItem("Gamma"), 3);
  for (int i = 0; i < f.Sorted.ListCount(); ++i) f.Sorted.SetSelected(i, true);
  EXPECT_EQ(f.Sorted.SelCount(), 5);
  f.Load();
  EXPECT_EQ(SendMessageA(f.Sorted.hWnd(), LB_GETSELCOUNT, 0, 0), 5);
  f.Unload();
}

TEST(ListBox, HiddenWorkListsStayModelsOnly) {
  ListForm f;
  f.Load();
  for (int i = 0; i < 20000; ++i) f.Work.AddItem("C:\\x\\file" + std::to_string(i));
  EXPECT_FALSE(f.Work.HasNative());
  EXPECT_EQ(f.Work.ListCount(), 20000);
  EXPECT_EQ(f.Work.List(19999), "C:\\x\\file19999");
  f.Unload();
}

TEST(ComboBox, ListsTakeOnlyTheirItemsEditableOnesAnyText) {
  ListForm f;
  for (char c = 'A'; c <= 'Z'; ++c) f.Combo3.AddItem(std::string(1, c));
  for (int i = 1; i <= 10; ++i) f.Combo1.AddItem(std::to_string(i));
  f.Load();
  EXPECT_TRUE(f.Combo3.SetText("u"));
  EXPECT_EQ(f.Combo3.ListIndex(), 20);
  EXPECT_EQ(f.Combo3.Text(), "U");
  EXPECT_FALSE(f.Combo3.SetText("AB"));  // not an item: nothing changes
  EXPECT_EQ(f.Combo3.ListIndex(), 20);
  EXPECT_EQ(SendMessageA(f.Combo3.hWnd(), CB_GETCURSEL, 0, 0), 20);

  EXPECT_EQ(f.Combo1.Text(), "Combo1");  // the design text of an editable box is its name
  int changes = 0;
  f.Combo1.Change = [&] { ++changes; };
  EXPECT_TRUE(f.Combo1.SetListIndex(2));
  EXPECT_EQ(f.Combo1.Text(), "3");
  EXPECT_TRUE(f.Combo1.SetText("7"));
  EXPECT_EQ(f.Combo1.ListIndex(), 6);
  EXPECT_TRUE(f.Combo1.SetText("15"));
  EXPECT_EQ(f.Combo1.ListIndex(), -1);
  EXPECT_EQ(nt::WindowText(f.Combo1.hWnd()), "15");
  EXPECT_EQ(changes, 3);
  f.Unload();
}

TEST(FileListBox, ListsLongNamesByPatternAsASnapshot) {
  ListForm f;
  std::string d = ts::Scratch() + "\\recent";
  for (const char* n : {"b.txt", "A.TXT", "a.txtx", "c.log", "hidden.txt"}) ts::WriteFile(d + "\\" + n, "x");
  SetFileAttributesA((d + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  rt::CreateFolder(d + "\\folder.txt");
  f.File1.SetPattern("*.txt");
  ASSERT_TRUE(f.File1.SetPath(d));
  EXPECT_EQ(f.File1.Items(), (std::vector<std::string>{"A.TXT", "b.txt"}));
  f.File1.SetShowHidden(true);
  f.File1.SetPattern("*.txt;*.log");
  EXPECT_EQ(f.File1.Items(), (std::vector<std::string>{"A.TXT", "b.txt", "c.log", "hidden.txt"}));
  // A folder that is not there is refused and the old list stays.
  EXPECT_FALSE(f.File1.SetPath(d + "\\missing"));
  EXPECT_EQ(f.File1.Path(), d);
  EXPECT_EQ(f.File1.ListCount(), 4);
  ts::WriteFile(d + "\\new.txt", "x");
  EXPECT_EQ(f.File1.ListCount(), 4);  // a snapshot until it is refreshed
  f.File1.Refresh();
  EXPECT_EQ(f.File1.ListCount(), 5);
  EXPECT_EQ(f.File1.List(9), "");
}

// --- what the user does in the native lists --------------------------------------------------

void Notify(forms::Form& f, forms::Control& c, WORD code) {
  SendMessageA(f.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.hWnd()), code), reinterpret_cast<LPARAM>(c.hWnd()));
}

TEST(ComboBox, TheUserTypesInAnEditableBoxAndPicksFromBothStyles) {
  ListForm f;
  for (int i = 1; i <= 10; ++i) f.Combo1.AddItem(std::to_string(i));
  for (char c = 'A'; c <= 'Z'; ++c) f.Combo3.AddItem(std::string(1, c));
  f.Show();
  std::vector<std::string> seen;
  f.Combo1.Change = [&] { seen.push_back("change " + f.Combo1.Text()); };
  f.Combo1.Click = [&] { seen.push_back("click " + std::to_string(f.Combo1.ListIndex())); };
  f.Combo3.Click = [&] { seen.push_back("click3 " + f.Combo3.Text()); };
  // Typing into the edit part of the editable box.
  HWND edit = FindWindowExA(f.Combo1.hWnd(), nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : std::string("12")) SendMessageA(edit, WM_CHAR, c, 0);
  EXPECT_EQ(f.Combo1.Text(), "12");
  EXPECT_EQ(f.Combo1.ListIndex(), -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);  // "1" is an item: the box finds it, without a Click
  EXPECT_EQ(f.Combo1.Text(), "1");
  EXPECT_EQ(f.Combo1.ListIndex(), 0);
  // Picking an item from the list.
  SendMessageA(f.Combo1.hWnd(), CB_SETCURSEL, 4, 0);
  Notify(f, f.Combo1, CBN_SELCHANGE);
  EXPECT_EQ(f.Combo1.Text(), "5");
  EXPECT_EQ(nt::WindowText(f.Combo1.hWnd()), "5");
  SendMessageA(f.Combo3.hWnd(), CB_SETCURSEL, 20, 0);
  Notify(f, f.Combo3, CBN_SELCHANGE);
  EXPECT_EQ(f.Combo3.Text(), "U");
  EXPECT_EQ(seen, (std::vector<std::string>{"change 1", "change 12", "change 1", "click 4", "change 5", "click3 U"}));
  // Both styles open empty: no item chosen, and a list's text is "" until one is.
  f.Combo3.Clear();
  EXPECT_EQ(f.Combo3.Text(), "");
  EXPECT_EQ(f.Combo3.ListIndex(), -1);
  EXPECT_EQ(SendMessageA(f.Combo3.hWnd(), CB_GETCURSEL, 0, 0), CB_ERR);
  f.Unload();
}

TEST(ListBox, TheUserSelectsManyWithCtrlAndShiftInASortedList) {
  ListForm f;
  f.Sorted.Move(0, 0, 3000, 2400);
  for (const char* s : {"www.b.example", "www.a.example", "cookie@c.txt", "Cookie@b.txt", "www.c.example"}) f.Sorted.AddItem(s);
  int clicks = 0, dbl = 0;
  f.Sorted.Click = [&] { ++clicks; };
  f.Sorted.DblClick = [&] { ++dbl; };
  f.Show();
  HWND lb = f.Sorted.hWnd();
  auto click = [&](int row, WPARAM keys) {
    RECT r;
    SendMessageA(lb, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
    SendMessageA(lb, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    SendMessageA(lb, WM_LBUTTONUP, keys, at);
    rt::DoEvents();
  };
  EXPECT_EQ(nt::ListBoxText(lb, 0), "Cookie@b.txt");
  click(1, 0);
  click(3, MK_CONTROL);
  EXPECT_EQ(f.Sorted.SelCount(), 2);
  EXPECT_TRUE(f.Sorted.Selected(1));
  EXPECT_TRUE(f.Sorted.Selected(3));
  EXPECT_EQ(f.Sorted.ListIndex(), 3);
  click(4, MK_SHIFT);  // from the anchor (3) to 4
  EXPECT_EQ(f.Sorted.SelCount(), 2);
  EXPECT_TRUE(f.Sorted.Selected(3) && f.Sorted.Selected(4));
  EXPECT_FALSE(f.Sorted.Selected(1));
  EXPECT_GE(clicks, 3);
  // A new entry goes to its sorted place; the selections stay with their entries.
  EXPECT_EQ(f.Sorted.AddItem("www.ab.example"), 3);
  EXPECT_TRUE(f.Sorted.Selected(4) && f.Sorted.Selected(5));
  EXPECT_EQ(nt::ListBoxText(lb, 3), "www.ab.example");
  EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 4, 0), 1);
  EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 3, 0), 0);
  // Removing the selected entries from the end keeps the others.
  for (int i = f.Sorted.ListCount() - 1; i >= 0; --i)
    if (f.Sorted.Selected(i)) f.Sorted.RemoveItem(i);
  EXPECT_EQ(f.Sorted.Items(), (std::vector<std::string>{"Cookie@b.txt", "cookie@c.txt", "www.a.example", "www.ab.example"}));
  EXPECT_EQ(f.Sorted.SelCount(), 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 0);
  // A double click is told as such.
  RECT r;
  SendMessageA(lb, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  SendMessageA(lb, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 4, r.top + 2));
  SendMessageA(lb, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 4, r.top + 2));
  EXPECT_EQ(dbl, 1);
  f.Unload();
}

TEST(FileListBox, ListsHiddenAndSystemFilesWhenAskedAndRefusesBadPatterns) {
  ListForm f;
  std::string d = ts::Scratch() + "\\plugins";
  for (const char* n : {"a.vk", "hidden.vk", "system.vk", "b.txt"}) ts::WriteFile(d + "\\" + n, "x");
  SetFileAttributesA((d + "\\hidden.vk").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((d + "\\system.vk").c_str(), FILE_ATTRIBUTE_SYSTEM);
  f.File1.SetShowHidden(true);
  f.File1.SetShowSystem(true);
  ASSERT_TRUE(f.File1.SetPattern("*.vk"));
  ASSERT_TRUE(f.File1.SetPath(d + "\\"));  // a trailing "\" is the same folder
  EXPECT_EQ(f.File1.Path(), d);
  EXPECT_EQ(f.File1.Items(), (std::vector<std::string>{"a.vk", "hidden.vk", "system.vk"}));
  for (const char* bad : {"..\\*.*", "c:*.vk", "*.v|k", "a/b"}) {
    EXPECT_FALSE(f.File1.SetPattern(bad)) << bad;
    EXPECT_EQ(f.File1.Pattern(), "*.vk") << bad;
  }
  EXPECT_TRUE(f.File1.SetPattern("*.txt"));
  EXPECT_EQ(f.File1.Items(), (std::vector<std::string>{"b.txt"}));
  // A drive root as a folder list gives it, with its "\".
  EXPECT_TRUE(f.File1.SetPath("C:\\"));
  EXPECT_EQ(f.File1.Path(), "C:\\");
}

}  // namespace
