// The status list: one row per enabled category, in a fixed order, then one per selected
// plug-in. The builder remembers which row shows which category, so that every status step of a
// run marks the row of its own category.
#include "mainwindow/form1.h"
#include "runs/categories.h"
#include "runtime/app.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/settings.h"

void Form1::Text4_Change() {
  if (rt::Val(Text4.Text()) != 1) return;
  if (runInProgress_ && !runRebuilding_) {
    rebuildPending_ = true;  // rebuilt when the run has ended
    return;
  }
  View100.Clear();
  statusRows_.clear();
  for (const TraceCategory& c : kStatusListOrder) {
    if (!settings::IsOn(settings::kOptionWin, c.code)) continue;
    int row = View100.Add(c.caption);
    View100.SetSmallIcon(row, c.icon);
    statusRows_[c.code] = row;
  }
  firstPluginRow_ = View100.Count() + 1;
  rt::LineReader selection(rt::JoinPath(rt::ProgramFolder(), "slectplg.cln"));
  for (std::string line; selection.Next(line);) {
    if (rt::Trim(line).empty()) continue;
    int row = View100.Add(line);
    View100.SetSmallIcon(row, kPluginRowIcon);
  }
}
