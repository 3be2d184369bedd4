#include "acquisition/frmSummary.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "acquisition/test_sequence.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace qtx {

frmSummary::frmSummary(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("Writing Summary"));
  lblMessage = make<QLabel>(this, "lblMessage", "Writing summary file for test. Please Wait.");
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(lblMessage);
  outer->addLayout(buttons);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmSummary::Form_Load() {
  adjustSize();
  center();
}

void frmSummary::show_capture(const char* caption) {
  setWindowTitle(QString::fromLatin1(caption));
  Show();
}

void frmSummary::cmdCancel_Click() {
  Session& s = app_.session();
  // The summary file is written whole when the capture completes, so no file is open here. Only
  // a summary file this run wrote is deleted, never one that was there before.
  if (s.test_phase_flags.rt_summary_phase) {
    if (s.rt_sum_written && files::exists(s.rt_sum_file)) files::remove(s.rt_sum_file);
    s.rt_sum_written = false;
  } else if (s.test_phase_flags.ot_summary_phase) {
    if (s.ot_sum_written && files::exists(s.ot_sum_file)) files::remove(s.ot_sum_file);
    s.ot_sum_written = false;
  }
  TestSequence::beginnextproc(app_);
  Unload();
}

bool frmSummary::Form_QueryUnload(UnloadMode mode) {
  const TestPhaseFlags& p = app_.session().test_phase_flags;
  if (mode != UnloadMode::FormControlMenu || !(p.rt_summary_phase || p.ot_summary_phase)) return false;
  app_.ui().msgbox(kCloseDuringSummary, MsgButtons::OK, MsgIcon::Exclamation, "TEST RUNNING");
  return true;
}

}  // namespace qtx
