// What the main window's runs ask of it: the status list rebuilt through its trigger, the plug-in
// steps over its hidden plug-in list and work lists, and the end of a run.
#include "categories/categories.h"
#include "mainwindow/form1.h"
#include "pluginengine/engine.h"
#include "runtime/text.h"

void Form1::Text4_Change() {
  if (rt::Val(Text4.Text()) != 1) return;
  if (runInProgress_ && !runRebuilding_) {
    rebuildPending_ = true;  // rebuilt when the run has ended
    return;
  }
  run_.BuildStatusList();
}

void Form1::RebuildStatusList() {
  runRebuilding_ = true;
  Text4.SetText("");
  Text4.SetText("1");
  runRebuilding_ = false;
}

void Form1::RunFinished() { Text10.SetText("0"); }

void Form1::PluginSteps(bool erase) {
  Command400_Click();
  // Only the run at the end of a Windows session starts while a save of the plug-in list yields:
  // its own rewrite then waits behind that save, which the session end leaves unfinished, so its
  // pass takes the work lists as their files hold them.
  if (plugins::BuildInProgress()) Command3_Click();
  erase ? Command4_Click() : Command2_Click();
}

void Form1::Command400_Click() {
  categories::CookiesFolder(run_, true);
  // The fill, its ticks, the rewrite and the load are one rewrite of the selection: a tick the
  // erasing-settings window saves while they yield waits for them and is saved after them, never
  // undone by them. (A run never starts during another rewrite, so this one runs at once.)
  plugins::RunBuild(this, 0, [this] {
    plugins::PluginListFill fill = plugins::FillPluginList(View1, "", [this] { run_.PluginTicked(); });
    if (fill == plugins::PluginListFill::NoSelection) {
      // No selection: no plug-in is chosen, so the passes find nothing to do.
      for (forms::ListBox* l : {&List7, &List8, &List9, &List10, &List11}) l->Clear();
      return;
    }
    // A selection that could not be read keeps its files as they are: the passes take them.
    if (fill == plugins::PluginListFill::Ticked) Command1_Click();
    Command3_Click();
  });
}

void Form1::Command1_Click() { plugins::BuildWorkLists(View1, List4, List5, List6); }

void Form1::Command3_Click() { plugins::LoadWorkLists(List7, List8, List9, List10, List11); }

void Form1::Command2_Click() { plugins::PluginPass(run_, {List7, List8, List9, List10, List11, List12}, false); }

void Form1::Command4_Click() { plugins::PluginPass(run_, {List7, List8, List9, List10, List11, List12}, true); }
