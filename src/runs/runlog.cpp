// The end of both runs: the totals, the run log "eraselog.txt" (unless the user turned it off) and
// the idle state.
#include <cmath>

#include "forms/forms.h"
#include "runs/run.h"
#include "runtime/app.h"
#include "runtime/datetime.h"
#include "runtime/files.h"
#include "runtime/pump.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "shared/settings.h"

namespace runs {

namespace {

// A number with exactly three decimals (halves rounded away from zero) and the decimal
// separator of the user's locale.
std::string ThreeDecimals(double v) {
  long long thousandths = std::llround(v * 1000.0);
  char sep[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof sep);
  std::string frac = std::to_string(thousandths % 1000);
  return std::to_string(thousandths / 1000) + sep + std::string(3 - frac.size(), '0') + frac;
}

}  // namespace

std::string DiskSpaceText(double bytes) {
  double k = bytes / 1024.0;
  if (k < 1000) return ThreeDecimals(k) + " KB";
  return ThreeDecimals(bytes / 1048576.0) + " MB";
}

void Run::Finish() {
  c_.registryTotal.SetCaption(rt::NumberText(registryItems_));
  c_.fileTotal.SetCaption(rt::NumberText(files_));
  c_.sizeTotal.SetCaption(DiskSpaceText(static_cast<double>(bytes_)));
  if (!settings::IsOn(settings::kOptionOption, settings::kOptNoLog)) WriteLog();
  host_.RunFinished();
  c_.progress.SetValue(0);
}

namespace {
// The log being written. A Windows session that ends while it is written finishes the run from a
// yield of its loop, with a log of its own: that one takes over, since this process ends with it.
rt::ReplacingFile* logInProgress = nullptr;
}  // namespace

void Run::WriteLog() {
  std::string path = rt::JoinPath(rt::ProgramFolder(), "eraselog.txt");
  if (logInProgress) logInProgress->Abandon();
  // A read-only, hidden or system log is replaced all the same.
  if (rt::FileExists(path)) rt::SetAttr(path, FILE_ATTRIBUTE_ARCHIVE);
  // Written line by line as the rows are read, never whole in memory.
  rt::ReplacingFile log(path);
  logInProgress = &log;
  log.Write("Test Mode: Test Start --------------------at " + rt::DateText() + "  " + rt::TimeText() + "\r\n");
  for (int j = 1; j <= c_.detailList.Count(); ++j) {
    rt::YieldIfDue();
    if (Ended()) break;  // the session ended: another log was written in the yield
    log.Write("Test Mode : Erasing ");
    log.Write(rt::TrimView(c_.detailList.TextView(j)));
    log.Write("\r\n");
    c_.progress.SetValue(100);
  }
  log.Write(std::string(155, '-') + "\r\n");
  log.Write("Test Mode: --Test Completed ----Registry Keys Scanned: " + c_.registryTotal.Caption() + ", Files : " +
            c_.fileTotal.Caption() + " , Hard Disk Space: " + c_.sizeTotal.Caption() + " *********  at " + rt::DateText() + "  " +
            rt::TimeText() + "\r\n");
  log.Commit();
  if (logInProgress == &log) logInProgress = nullptr;
}

}  // namespace runs
