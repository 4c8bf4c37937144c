#include "mainwindow/aboutbox.h"

#include "shared/version.h"
#include "mainwindow/form1.h"
#include "runtime/app.h"
#include "runtime/text.h"
#include "shared/documents.h"
#include "shared/icons.h"
#include "shared/language.h"
#include "shared/settings.h"

const char* const Form5::kMail = "support@morvane.example";
const char* const Form5::kSite = "http://www.morvane.example/";

forms::DefaultInstance<Form5>& AboutBox() {
  static forms::DefaultInstance<Form5> form;
  return form;
}

std::string VersionText() {
  std::string exe = rt::ExecutablePath();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
  if (size) {
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (GetFileVersionInfoA(exe.c_str(), 0, size, data.data()) &&
        VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) && info) {
      return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) +
             "." + std::to_string(HIWORD(info->dwFileVersionLS));
    }
  }
  return VELK_VERSION_TEXT;
}

Form5::Form5()
    : Form("Form5"),
      Image1(*this, "Image1"),
      Label1(*this, "Label1", "Velk Rezeza Pro"),
      Label2(*this, "Label2", "Maker:"),
      Label10(*this, "Label10", "Morvane software"),
      Label3(*this, "Label3", "Version:"),
      Label4(*this, "Label4", "2.0"),
      Label5(*this, "Label5", "E-mail:"),
      Label6(*this, "Label6", "Web-Site:"),
      Label8(*this, "Label8", kMail),
      Label9(*this, "Label9", "www.morvane.example"),
      chameleonButton2(*this, "chameleonButton2", "Cancel") {
  SetCaption("Velk Rezeza Pro");
  SetBorder(forms::Border::FixedDialog);
  SetClientSize(5400, 2820);
  Image1.Move(180, 180, 720, 720);
  Image1.SetIcon(icons::AppIcon(48));
  forms::Font title;
  title.size = 12;
  title.bold = true;
  Label1.SetFont(title);
  Label1.Move(1080, 180, 4140, 360);
  int y = 720;
  for (auto [caption, value] : {std::pair{&Label2, &Label10}, std::pair{&Label3, &Label4},
                                std::pair{&Label5, &Label8}, std::pair{&Label6, &Label9}}) {
    caption->Move(1080, y, 1200, 255);
    value->Move(2280, y, 2940, 255);
    y += 330;
  }
  forms::Font link;
  link.underline = true;
  Label8.SetFont(link);
  for (forms::Label* l : {&Label8, &Label9}) {
    l->SetForeColor(RGB(0, 0, 255));
    l->SetHandCursor(true);
  }
  chameleonButton2.Move(4020, 2250, 1200, 375);
  controls::ButtonSettings classic;  // the classic raised button in the system's colours
  classic.type = controls::ButtonTypeKind::Standard;
  classic.scheme = controls::ColorSchemeKind::SystemColors;
  chameleonButton2.Apply(classic);
  chameleonButton2.Click = [this] { chameleonButton2_Click(); };
  Label8.Click = [this] { Label8_Click(); };
  Label9.Click = [this] { Label9_Click(); };
}

void Form5::Form_Load() {
  Label4.SetCaption(VersionText());
  Label2.SetCaption(Lang("207"));
  Label3.SetCaption(Lang("208"));
  Label5.SetCaption(Lang("192"));
  Label6.SetCaption(Lang("209"));
  chameleonButton2.SetCaption(Lang("110"));
  SetTopmost(true);
  CenterOnScreen();
}

void Form5::chameleonButton2_Click() { Unload(); }

// The e-mail notice has a heading of its own: key "109" is the keep-list window's "Delete".
void Form5::Label8_Click() {
  OpenLink(hWnd(), std::string("mailto:") + kMail, std::string(" ") + kMail, "192", "294",
           MainForm().txtlang.Text());
}

void Form5::Label9_Click() {
  OpenLink(hWnd(), kSite, std::string(" ") + kSite, "113", "101", MainForm().txtlang.Text());
}
