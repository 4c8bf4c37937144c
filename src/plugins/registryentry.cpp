#include "plugins/registryentry.h"

#include <commctrl.h>

#include "plugins/plugineditor.h"
#include "runtime/clipboard.h"
#include "runtime/seams.h"
#include "runtime/text.h"
#include "shared/language.h"
#include "shared/pluginfile.h"

forms::DefaultInstance<RegistryEntryDialog>& RegistryEntry() {
  static forms::DefaultInstance<RegistryEntryDialog> instance;
  return instance;
}

bool VisualStyles::Start() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  return InitCommonControlsEx(&icc) != FALSE;
}

std::string KeyFromClipboard(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  size_t b = line.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return line.substr(b, line.find_last_not_of(" \t") - b + 1);
}

RegistryEntryDialog::RegistryEntryDialog()
    : Form("RegistryEntryDialog"),
      Frame1(*this, "Frame1"),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      command1(*this, "command1", "Launch Registry Editor"),
      Frame2(*this, "Frame2", "Select Option"),
      Option1(*this, "Option1", "Erase Key"),
      Option2(*this, "Option2", "Erase Key list"),
      Option3(*this, "Option3", "Erase Values Under This Key"),
      Option4(*this, "Option4", "Erase Value"),
      Text2(*this, "Text2"),
      Timer1(*this, "Timer1"),
      Command2(*this, "Command2", "Add"),
      Command3(*this, "Command3", "Cancel"),
      Lang([] { return PluginEditor()->txtlang.Text(); }) {
  SetCaption("Registry Items");
  SetBorder(forms::Border::FixedDialog);
  SetMinButton(false);
  SetMaxButton(false);
  SetClientSize(6630, 4620);

  // The key with its labels and the launch button, and the options, in a frame without caption.
  Frame1.Move(120, 120, 6390, 3780);
  forms::Label& keyLabel = Label1.Add(1);
  keyLabel.SetCaption("Registry Key");
  forms::Label& example = Label1.Add(0);
  example.SetCaption("Enter Registry Key Like HKEY_CURRENT_USER\\Software\\Dorvanta");
  forms::Label& valueLabel = Label1.Add(3);
  valueLabel.SetCaption("Enter value Name");
  for (forms::Control* c : std::initializer_list<forms::Control*>{&keyLabel, &example, &Text1, &command1, &Frame2})
    c->SetContainer(&Frame1);
  keyLabel.Move(180, 300, 2400, 255);
  command1.Move(3810, 165, 2400, 405);
  Text1.Move(180, 630, 6030, 315);
  example.Move(180, 1020, 6030, 255);
  Frame2.Move(180, 1380, 6030, 2220);

  int y = 330;
  for (forms::OptionButton* o : {&Option1, &Option2, &Option3, &Option4}) {
    o->SetContainer(&Frame2);
    o->Move(180, y, 3600, 285);
    y += 420;
  }
  Option4.Move(180, 1590, 1500, 285);
  valueLabel.SetContainer(&Frame2);
  valueLabel.Move(1740, 1620, 1710, 255);
  Text2.SetContainer(&Frame2);
  Text2.Move(3510, 1575, 2340, 315);
  Option1.SetValue(true);
  Text2.SetEnabled(false);

  Timer1.SetInterval(1000);
  Timer1.SetEnabled(false);

  controls::ButtonSettings launch;  // highlighted while the mouse is over it
  launch.type = controls::ButtonTypeKind::HighlightHover;
  command1.Apply(launch);
  Command2.Move(3690, 4080, 1350, 405);
  Command3.Move(5160, 4080, 1350, 405);
  for (controls::chameleonButton* b : {&Command2, &Command3}) b->Apply(controls::ButtonSettings{});

  command1.Click = [this] { command1_Click(); };
  Timer1.TimerEvent = [this] { Timer1_Timer(); };
  Text1.Change = [this] { Text1_Change(); };
  Option4.Click = [this] { Option4_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
}

void RegistryEntryDialog::Notice(const std::string& key, const std::string& fallback) {
  rt::MsgBox(hWnd(), Lang.Or(key, fallback), PluginEditorWindow::kTitle, MB_OK | MB_ICONSTOP);
}

void RegistryEntryDialog::Form_Load() {
  WindowsXPC1.Start();
  SetCaption(Lang("173"));
  Frame2.SetCaption(Lang("177"));
  Label1[1].SetCaption(Lang("175"));
  Label1[0].SetCaption(Lang("176"));
  Label1[3].SetCaption(Lang("182"));
  command1.SetCaption(Lang("174"));
  Command2.SetCaption(Lang("157"));
  Command3.SetCaption(Lang("170"));
  Option1.SetCaption(Lang("178"));
  Option2.SetCaption(Lang("179"));
  Option3.SetCaption(Lang("180"));
  Option4.SetCaption(Lang("181"));
  CenterOnScreen();
  Timer1.SetEnabled(false);
}

void RegistryEntryDialog::command1_Click() {
  if (!rt::ClearClipboard()) {
    Notice("187");
    return;
  }
  Timer1.SetEnabled(true);
  if (!rt::StartProcess("regedit.exe", SW_SHOWNORMAL)) Notice("187");
}

void RegistryEntryDialog::Timer1_Timer() {
  std::string text;
  if (!rt::ClipboardText(text)) return;  // held open by another program: the next tick tries again
  // One key: a copy of several lines never becomes several registry lines of the plug-in.
  Text1.SetText(KeyFromClipboard(text));
}

void RegistryEntryDialog::Text1_Change() { Timer1.SetEnabled(false); }

void RegistryEntryDialog::Option4_Click() {
  if (!Option4.Value()) return;
  Text2.SetEnabled(true);
  Text2.SetFocus();
}

void RegistryEntryDialog::Command2_Click() {
  const char* action = Option4.Value() ? "4" : Option3.Value() ? "3" : Option2.Value() ? "2" : "1";
  // One entry is one line of the plug-in: a line break typed or pasted into a box goes.
  std::string key = rt::Trim(WithoutLineBreaks(Text1.Text()));
  if (key.empty()) {
    Notice("188");
    return;
  }
  std::string line = key + ",";
  if (Option4.Value()) {
    // The value name is what stands between the last two commas of the line: one with a comma of
    // its own would be read as another value of another key.
    std::string value = rt::Trim(WithoutLineBreaks(Text2.Text()));
    if (value.find(',') != std::string::npos) {
      Notice("273", "A value name cannot hold a comma: the plug-in would erase another value. Nothing was added.");
      return;
    }
    line += value + ",";
  }
  PluginEditor()->List2.AddItem(line + action);
  Unload();
}

void RegistryEntryDialog::Command3_Click() { Unload(); }
