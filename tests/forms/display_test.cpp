// Under a real X display: a form with every kind of control, shown, and its native windows checked
// against the models; a screenshot of it lands in the build tree for a person to look at.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "native.h"
#include "runtime/pump.h"
#include "runtime/files.h"
#include "support/modal.h"
#include "support/scratch.h"
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

// The controls the settings windows and the plug-in editor are built of.
class Settings : public forms::Form {
 public:
  Settings()
      : Form("Settings"),
        File(*this, "a", nullptr, "&File"),
        New(*this, "a1", &File, "New"),
        Sep(*this, "a2", &File, "-"),
        Exit(*this, "a7", &File, "Exit"),
        About(*this, "b", nullptr, "&About"),
        Frame2(*this, "Frame2", "Schedule"),
        Option1(*this, "Option1", "Every ....... minutes"),
        Option2(*this, "Option2", "Every ....... hours"),
        Text1(*this, "Text1", "45"),
        VScroll1(*this, "VScroll1"),
        Combo1(*this, "Combo1", forms::ComboBox::kDropdownCombo),
        Combo3(*this, "Combo3", forms::ComboBox::kDropdownList),
        Drive1(*this, "Drive1"),
        Dir1(*this, "Dir1"),
        File1(*this, "File1"),
        List2(*this, "List2"),
        View1(*this, "View1") {
    SetCaption("Settings controls");
    SetClientSize(9600, 6600);
    Frame2.Move(120, 60, 4500, 1200);
    for (auto* o : {&Option1, &Option2}) o->SetContainer(&Frame2);
    Option1.Move(120, 300, 2700, 255);
    Option2.Move(120, 660, 2700, 255);
    Text1.SetContainer(&Frame2);
    Text1.Move(3000, 270, 420, 315);
    Text1.SetMaxLength(2);
    VScroll1.SetContainer(&Frame2);
    VScroll1.Move(3420, 270, 255, 315);
    VScroll1.SetMin(1);
    VScroll1.SetMax(59);
    VScroll1.SetValue(45);
    Combo1.Move(4800, 120, 1200, 315);
    Combo3.Move(6120, 120, 900, 315);
    for (int i = 1; i <= 10; ++i) Combo1.AddItem(std::to_string(i));
    for (char c = 'A'; c <= 'Z'; ++c) Combo3.AddItem(std::string(1, c));
    Combo1.SetListIndex(2);
    Combo3.SetText("U");
    Drive1.Move(120, 1380, 2900, 315);
    Dir1.Move(120, 1800, 2900, 2400);
    File1.Move(3120, 1380, 2700, 2820);
    File1.SetShowHidden(true);
    File1.SetShowSystem(true);
    List2.SetSorted(true);
    List2.SetMultiSelect(forms::ListBox::kExtended);
    List2.Move(6000, 600, 3480, 3600);
    View1.SetCheckboxes(true);
    View1.AddColumn("Application Plugins", 5000);
    View1.Move(120, 4320, 9360, 2160);
  }
  forms::MenuItem File, New, Sep, Exit, About;
  forms::Frame Frame2;
  forms::OptionButton Option1, Option2;
  forms::TextBox Text1;
  forms::ScrollBar VScroll1;
  forms::ComboBox Combo1, Combo3;
  forms::DriveListBox Drive1;
  forms::FolderListBox Dir1;
  forms::FileListBox File1;
  forms::ListBox List2;
  forms::ListView View1;
};

void Settle() {
  for (int i = 0; i < 20; ++i) {
    rt::DoEvents();
    Sleep(10);
  }
}

TEST(Display, TheSettingsControlsShowWhatTheirModelsHold) {
  Settings f;
  std::string d = ts::Scratch() + "\\Mozilla\\Profiles";
  for (const char* n : {"default", "work.slt", "old profile"}) rt::CreateFolder(d + "\\" + n);
  for (const char* n : {"cookies.txt", "prefs.js", "history.dat"}) ts::WriteFile(d + "\\default\\" + n, "x");
  ASSERT_TRUE(f.Dir1.SetPath(d + "\\default"));
  ASSERT_TRUE(f.File1.SetPath(f.Dir1.Path()));
  f.Drive1.SetDrive(d);
  for (const char* s : {"www.b.example", "www.a.example", "cookie@c.txt", "Cookie@b.txt"}) f.List2.AddItem(s);
  f.List2.SetSelected(1, true);
  f.List2.SetSelected(2, true);
  for (const char* p : {"Games", "Office tools", "Media players"}) f.View1.SetChecked(f.View1.Add(p, "", ""), p[0] != 'O');
  f.CenterOnScreen();
  f.Show();
  Settle();
  EXPECT_EQ(nt::WindowText(f.Combo1.hWnd()), "3");
  EXPECT_EQ(SendMessageA(f.Combo3.hWnd(), CB_GETCURSEL, 0, 0), 20);
  EXPECT_EQ(SendMessageA(f.Option1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(f.Option2.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetScrollPos(f.VScroll1.hWnd(), SB_CTL), 59 - 45);
  EXPECT_EQ(SendMessageA(f.List2.hWnd(), LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(nt::ListBoxText(f.File1.hWnd(), 0), "cookies.txt");
  EXPECT_EQ(SendMessageA(f.Drive1.hWnd(), CB_GETCURSEL, 0, 0), f.Drive1.ListIndex());
  EXPECT_EQ(nt::WindowText(f.Frame2.hWnd()), "Schedule");  // painted by the frame, and its name for readers
  for (forms::Control* c : f.Controls()) {
    ASSERT_TRUE(c->HasNative()) << c->Name();
    EXPECT_TRUE(IsWindowVisible(c->hWnd())) << c->Name();
    if (c == &f.VScroll1) continue;  // a scroll bar shows no text and keeps no font
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(c->hWnd(), WM_GETFONT, 0, 0));
    EXPECT_EQ(font, forms::FontHandle(forms::Font{})) << c->Name();
  }
  for (forms::OptionButton* o : {&f.Option1, &f.Option2}) EXPECT_EQ(nt::WindowText(o->hWnd()), o->Caption());
  EXPECT_TRUE(ts::SaveScreenshot(f.hWnd(), ts::ShotPath("forms-settings-controls.bmp")));
  // The input box and the open dialog, over the form.
  forms::SetInputBoxHandler(nullptr);
  {
    ts::ModalAnswer shot([](HWND dlg) {
      Sleep(200);
      EXPECT_TRUE(ts::SaveScreenshot(dlg, ts::ShotPath("forms-input-box.bmp")));
      SendMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    });
    forms::InputBox(f.hWnd(), "Please enter the new location of the file or folder, as a full path.",
                    "Edit File / Folder Location", "file=C:\\Documents\\report.doc,0");
    EXPECT_TRUE(shot.Answered());
  }
  forms::SetFileDialogHandler(nullptr);
  forms::CommonDialog dlg(f, "Dlg1");
  dlg.SetCancelError(true);
  dlg.SetFilter("*.vk|*.vk");
  dlg.SetFileName("*.vk");
  dlg.SetDialogTitle("Select Out Put File Name");
  dlg.SetInitDir(ts::Scratch());
  {
    ts::ModalAnswer shot([](HWND d) {
      Sleep(300);
      EXPECT_TRUE(ts::SaveScreenshot(d, ts::ShotPath("forms-open-dialog.bmp")));
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(dlg.ShowOpen(), forms::DialogResult::Cancelled);
    EXPECT_TRUE(shot.Answered());
  }
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
