#include "acquisition/running_work.h"

#include "acquisition/frmReports.h"
#include "acquisition/test_sequence.h"
#include "platform/app.h"

namespace qtx {

RunningWork running_now(App& app) {
  const Session& s = app.session();
  if (TestSequence::running(s)) return RunningWork::LiveRun;
  // A transfer is running while the report window receives for it.
  if (s.download_flags.show_reports_request) {
    const frmReports* reports = app.forms().loaded<frmReports>();
    if (reports && reports->GetDataTimer->isActive()) return RunningWork::Transfer;
  }
  return RunningWork::Nothing;
}

}  // namespace qtx
