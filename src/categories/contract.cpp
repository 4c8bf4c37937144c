// What every category routine shares: detail rows and the run counters.
#include "mainwindow/form1.h"
#include "runtime/text.h"

void Form1::AddDetailRow(const std::string& text) {
  int row = View200.Add(text);
  View200.SetSelected(row, true);
  View200.EnsureVisible(row);
}

void Form1::AddRegCount(int64_t n) { txtregcount.SetText(rt::AddToCounter(txtregcount.Text(), n)); }

void Form1::AddFileCount(int64_t n) { txtfilecount.SetText(rt::AddToCounter(txtfilecount.Text(), n)); }

void Form1::AddFileSize(uint64_t bytes) { txtfilesize.SetText(rt::AddToCounter(txtfilesize.Text(), bytes)); }

std::string Form1::RowEnd(bool ok, const char* blanks) { return std::string(blanks) + (ok ? "<OK>" : "<FAILED>"); }
