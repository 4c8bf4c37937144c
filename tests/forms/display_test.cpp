// Under a real X display: a form with every kind of control, shown, and its native windows checked
// against the models; a screenshot of it lands in the build tree for a person to look at.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "native.h"
#include "runtime/pump.h"
#include "support/screenshot.h"

namespace {

class Showcase : public forms::Form {
 public:
  Showcase()
      : Form("Showcase"),
        Label1(*this, "Label1", "Scanned Registry Keys :"),
        Text1(*this, "Text1", "some text"),
        Check1(*this, "Check1", "Enable Secure Erasing"),
        Frame1(*this, "Frame1", "Schedule"),
        Option1(*this, "Option1", "Every .... minutes"),
        Option2(*this, "Option2", "Every .... hours"),
        List1(*this, "List1"),
        Combo1(*this, "Combo1", forms::ComboBox::kDropdownList),
        View100(*this, "View100"),
        Button1(*this, "Button1", "Start Erasing"),
        Bar1(*this, "Bar1"),
        Status(*this, "StatusBar1") {
    SetCaption("Forms showcase");
    SetClientSize(9345, 7920);
    Label1.Move(120, 120, 3000, 255);
    Text1.Move(120, 420, 3000, 315);
    Check1.Move(120, 840, 3000, 255);
    Frame1.Move(3300, 60, 3000, 1200);
    Option1.SetContainer(&Frame1);
    Option1.Move(120, 300, 2700, 255);
    Option2.SetContainer(&Frame1);
    Option2.Move(120, 660, 2700, 255);
    List1.Move(120, 1320, 3000, 1200);
    Combo1.Move(3300, 1320, 1500, 315);
    View100.Move(120, 2640, 9100, 3600);
    View100.AddColumn("Task", 5400);
    View100.AddColumn("Status", 2400);
    View100.SetSmallIcons(&Icons);
    Button1.Move(6600, 120, 1500, 500);
    Bar1.Move(120, 6360, 9100, 300);
    Status.AddPanel("Progress", 9000);
    Icons.Add("b", LoadIcon(nullptr, IDI_APPLICATION));
  }
  forms::ImageList Icons;
  forms::Label Label1;
  forms::TextBox Text1;
  forms::CheckBox Check1;
  forms::Frame Frame1;
  forms::OptionButton Option1, Option2;
  forms::ListBox List1;
  forms::ComboBox Combo1;
  forms::ListView View100;
  forms::PushButton Button1;
  forms::ProgressBar Bar1;
  forms::StatusBar Status;
};

TEST(Display, EveryControlShowsWhatItsModelHolds) {
  ASSERT_TRUE(GetEnvironmentVariableA("DISPLAY", nullptr, 0) > 0) << "runs under the X11 prefix";
  Showcase f;
  f.List1.AddItem("cookies.txt");
  f.List1.AddItem("index.dat");
  f.Combo1.AddItem("english.ini");
  f.Combo1.SetListIndex(0);
  f.Check1.SetValue(1);
  f.Option2.SetValue(true);
  for (int i = 1; i <= 12; ++i) {
    f.View100.Add("Row " + std::to_string(i), "", "b");
    f.View100.SetSubItem(i, 1, i % 2 ? "Done" : "Erasing");
  }
  f.Bar1.SetValue(60);
  f.CenterOnScreen();
  f.Show();
  for (int i = 0; i < 20; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  EXPECT_EQ(nt::WindowText(f.hWnd()), "Forms showcase");
  EXPECT_EQ(nt::WindowText(f.Label1.hWnd()), "Scanned Registry Keys :");
  EXPECT_EQ(nt::WindowText(f.Text1.hWnd()), "some text");
  EXPECT_EQ(SendMessageA(f.Check1.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(f.Option2.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(f.Option1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(nt::ListBoxText(f.List1.hWnd(), 1), "index.dat");
  EXPECT_EQ(SendMessageA(f.Combo1.hWnd(), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(nt::ListViewCount(f.View100.hWnd()), 12);
  EXPECT_EQ(nt::ListViewText(f.View100.hWnd(), 11, 1), "Erasing");
  EXPECT_EQ(SendMessageA(f.Bar1.hWnd(), PBM_GETPOS, 0, 0), 60);
  EXPECT_EQ(nt::WindowText(f.Button1.hWnd()), "Start Erasing");
  for (forms::Control* c : f.Controls()) {
    EXPECT_TRUE(c->HasNative()) << c->Name();
    EXPECT_TRUE(IsWindowVisible(c->hWnd())) << c->Name();
  }
  // Every control shows the GUI font, not the bold system font.
  for (forms::Control* c : f.Controls()) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(c->hWnd(), WM_GETFONT, 0, 0));
    EXPECT_EQ(font, forms::FontHandle(forms::Font{})) << c->Name();
  }
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("forms-showcase.bmp")));
  f.Unload();
}

TEST(Display, ProgramsUseTheVersionSixCommonControls) {
  // The manifest in our resources brings in the side-by-side version 6 of comctl32.
  char path[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH);
  std::string p = path;
  for (auto& ch : p) ch = static_cast<char>(tolower(ch));
  EXPECT_NE(p.find("winsxs"), std::string::npos) << p;
}

}  // namespace
