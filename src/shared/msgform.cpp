#include "shared/msgform.h"

frmmsg::frmmsg()
    : Form("frmmsg"), Picture1(*this, "Picture1"), Label1(*this, "Label1"), Text1(*this, "Text1"),
      Command2(*this, "Command2", "OK") {
  SetBorder(forms::Border::FixedDialog);
  SetClientSize(6300, 2700);
  Picture1.Move(180, 180, 480, 480);
  Picture1.SetIcon(LoadIcon(nullptr, IDI_INFORMATION));
  Label1.Move(840, 180, 5280, 420);
  forms::Font bold;
  bold.bold = true;
  Label1.SetFont(bold);
  Text1.SetMultiLine(true);
  Text1.SetScrollBars(true, false);
  Text1.SetLocked(true);
  Text1.Move(840, 660, 5280, 1380);
  Command2.Move(4920, 2160, 1200, 375);
  Command2.Apply(controls::ButtonSettings{});
  Command2.SetDefault(true);
  Command2.Click = [this] { Command2_Click(); };
}

void frmmsg::Form_Load() {
  SetTopmost(true);
  CenterOnScreen();
}

void frmmsg::Command2_Click() { Unload(); }

forms::DefaultInstance<frmmsg>& MessageForm() {
  static forms::DefaultInstance<frmmsg> form;
  return form;
}

void ShowMessageForm(const std::string& caption, const std::string& text, const std::string& heading) {
  frmmsg& f = MessageForm().Get();
  f.Load();
  f.SetCaption(caption);
  f.Label1.SetCaption(heading);
  f.Text1.SetText(text);
  f.Show();
}
