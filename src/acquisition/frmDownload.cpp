#include "acquisition/frmDownload.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "acquisition/frmReports.h"
#include "acquisition/running_work.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/ui.h"

namespace qtx {

namespace {

// The lists are texts the user may also type over; the live windows read their leading number.
QComboBox* combo(QWidget* parent, const char* name, std::initializer_list<const char*> entries, const char* spoken) {
  auto* c = make<QComboBox>(parent, name, spoken);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  for (const char* e : entries) c->addItem(QString::fromLatin1(e));
  return c;
}

}  // namespace

frmDownload::frmDownload(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("DOWNLOAD"));

  Frame1 = make<QGroupBox>(this, "Frame1", "Save");
  chkSaveFile = make<QCheckBox>(Frame1, "chkSaveFile", "Save to File");
  chkSaveFile->setChecked(true);
  (new QVBoxLayout(Frame1))->addWidget(chkSaveFile);

  fraMode = make<QGroupBox>(this, "fraMode", "Mode");
  optGetLog = make<QRadioButton>(fraMode, "optGetLog", "Get Log");
  optRealTime = make<QRadioButton>(fraMode, "optRealTime", "Real-Time");
  optGetSummary = make<QRadioButton>(fraMode, "optGetSummary", "Get Summary");
  optReceiveAny = make<QRadioButton>(fraMode, "optReceiveAny", "Receive Any");
  {
    auto* l = new QVBoxLayout(fraMode);
    for (QWidget* w : {optGetLog, optRealTime, optGetSummary, optReceiveAny}) l->addWidget(w);
  }

  fraChannel = make<QGroupBox>(this, "fraChannel", "Channel");
  optChannelA = make<QRadioButton>(fraChannel, "optChannelA", "A");
  optChannelB = make<QRadioButton>(fraChannel, "optChannelB", "B");
  optChannelC = make<QRadioButton>(fraChannel, "optChannelC", "C");
  optChannelD = make<QRadioButton>(fraChannel, "optChannelD", "D");
  optChannelA->setChecked(true);
  {
    auto* l = new QHBoxLayout(fraChannel);
    for (QRadioButton* b : {optChannelA, optChannelB, optChannelC, optChannelD}) l->addWidget(b);
  }

  fraRealTime = make<QGroupBox>(this, "fraRealTime", "Real Time");

  fraSingle = make<QGroupBox>(fraRealTime, "fraSingle", "");
  chkSingle = make<QCheckBox>(fraSingle, "chkSingle", "Single RateTest");
  optDuration = make<QRadioButton>(fraSingle, "optDuration", "Stop Test After");
  cmbDuration = combo(fraSingle, "cmbDuration", {"0.5", "1.0", "2.0", "3.0", "5.0", "10.0", "20", "30", "50"},
                      "Stop Test After (min)");
  lblTestLengthUnits = make<QLabel>(fraSingle, "lblTestLengthUnits", "(min)");
  optIndefinite = make<QRadioButton>(fraSingle, "optIndefinite", "Run Indefinitely");
  {
    auto* g = new QGridLayout(fraSingle);
    g->addWidget(chkSingle, 0, 0, 1, 3);
    g->addWidget(optDuration, 1, 0);
    g->addWidget(cmbDuration, 1, 1);
    g->addWidget(lblTestLengthUnits, 1, 2);
    g->addWidget(optIndefinite, 2, 0, 1, 3);
  }

  fraOccl = make<QGroupBox>(fraRealTime, "fraOccl", "");
  chkOccl = make<QCheckBox>(fraOccl, "chkOccl", "Occlusion Test");
  lblOccl = make<QLabel>(fraOccl, "lblOccl", "Max. Time:");
  cmbOccl = combo(fraOccl, "cmbOccl", {"0.5", "1.0", "2.0", "3.0", "5.0", "10", "20", "30", "50"}, "Max. Time: (min)");
  lblOccl->setBuddy(cmbOccl);
  lblOcclUnits = make<QLabel>(fraOccl, "lblOcclUnits", "(min)");
  fraOcclGraphUnits = make<QGroupBox>(fraOccl, "fraOcclGraphUnits", "Occlusion Graph Units");
  optPSI = make<QRadioButton>(fraOcclGraphUnits, "optPSI", "PSI");
  optmmHg = make<QRadioButton>(fraOcclGraphUnits, "optmmHg", "mmHg");
  optkPa = make<QRadioButton>(fraOcclGraphUnits, "optkPa", "kPa");
  {
    auto* u = new QHBoxLayout(fraOcclGraphUnits);
    for (QWidget* w : {optPSI, optmmHg, optkPa}) u->addWidget(w);
    auto* g = new QGridLayout(fraOccl);
    g->addWidget(chkOccl, 0, 0, 1, 3);
    g->addWidget(lblOccl, 1, 0);
    g->addWidget(cmbOccl, 1, 1);
    g->addWidget(lblOcclUnits, 1, 2);
    g->addWidget(fraOcclGraphUnits, 2, 0, 1, 3);
  }

  lblPoll = make<QLabel>(fraRealTime, "lblPoll", "Poll Data Every:");
  cmbPoll = combo(fraRealTime, "cmbPoll", {"1", "10", "30", "60", "300", "600"}, "Poll Data Every: (sec)");
  lblPoll->setBuddy(cmbPoll);
  lblUnits = make<QLabel>(fraRealTime, "lblUnits", "(sec)");
  chkTestAuto = make<QCheckBox>(fraRealTime, "chkTestAuto", "Start test automatically");

  fraReport = make<QGroupBox>(fraRealTime, "fraReport", "");
  chkReport = make<QCheckBox>(fraReport, "chkReport", "Report Output");
  optFile = make<QRadioButton>(fraReport, "optFile", "Summary to File");
  optPrinter = make<QRadioButton>(fraReport, "optPrinter", "Summary to Printer");
  {
    auto* l = new QVBoxLayout(fraReport);
    for (QWidget* w :
         {static_cast<QWidget*>(chkReport), static_cast<QWidget*>(optFile), static_cast<QWidget*>(optPrinter)})
      l->addWidget(w);
  }

  {
    auto* poll = new QHBoxLayout;
    poll->addWidget(lblPoll);
    poll->addWidget(cmbPoll);
    poll->addWidget(lblUnits);
    poll->addStretch();
    auto* g = new QGridLayout(fraRealTime);
    g->addWidget(fraSingle, 0, 0);
    g->addWidget(fraOccl, 0, 1);
    g->addLayout(poll, 1, 0);
    g->addWidget(chkTestAuto, 2, 0);
    g->addWidget(fraReport, 1, 1, 2, 1);
  }

  CmdOK = make<QPushButton>(this, "CmdOK", "&OK");
  CmdOK->setDefault(true);
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");
  cmdCancel->setAutoDefault(false);

  auto* left = new QVBoxLayout;
  left->addWidget(Frame1);
  left->addWidget(fraMode);
  left->addWidget(fraChannel);
  left->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CmdOK);
  buttons->addWidget(cmdCancel);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(fraRealTime, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addLayout(buttons);

  on_selected(optGetLog, this, [this] { optGetLog_Click(); });
  on_selected(optGetSummary, this, [this] { optGetSummary_Click(); });
  on_selected(optReceiveAny, this, [this] { optReceiveAny_Click(); });
  on_selected(optRealTime, this, [this] { optRealTime_Click(); });
  on_selected(optDuration, this, [this] { optDuration_Click(); });
  on_selected(optIndefinite, this, [this] { optIndefinite_Click(); });
  // A check box's click runs whenever its tick changes, by the user or by the program.
  connect(chkSingle, &QCheckBox::toggled, this, [this] { chkSingle_Click(); });
  connect(chkOccl, &QCheckBox::toggled, this, [this] { chkOccl_Click(); });
  connect(chkReport, &QCheckBox::toggled, this, [this] { chkReport_Click(); });
  connect(chkSaveFile, &QCheckBox::toggled, this, [this] { chkSaveFile_Click(); });
  connect(CmdOK, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmDownload::Form_Load() {
  adjustSize();
  center();
  // Loaded afresh while a transfer runs (after a Cancel), the dialog leaves that transfer's
  // state alone.
  if (!running_now()) app_.session().download_started = false;
  chkSaveFile->setChecked(true);
  chkSingle->setChecked(false);
  chkOccl->setChecked(false);
  cmbPoll->setCurrentIndex(0);
  cmbDuration->setCurrentIndex(0);
  cmbOccl->setCurrentIndex(0);
  disable_realtime_criteria();
}

void frmDownload::disable_occl_options() {
  set_enabled({lblOccl, cmbOccl, lblOcclUnits, fraOcclGraphUnits, optPSI, optmmHg, optkPa}, false);
}

void frmDownload::enable_occl_options() {
  set_enabled({lblOccl, cmbOccl, lblOcclUnits, fraOcclGraphUnits, optPSI, optmmHg, optkPa}, true);
  optPSI->setChecked(true);
  enable_test_options();
}

void frmDownload::disable_single_options() {
  optIndefinite->setEnabled(false);
  optDuration->setEnabled(false);
  cmbDuration->setEnabled(false);
  lblTestLengthUnits->setEnabled(false);
}

void frmDownload::enable_single_options() {
  optIndefinite->setEnabled(true);
  optDuration->setEnabled(true);
  clear_option(optDuration);
  optIndefinite->setChecked(true);
  // Selecting it does what its click does, also when it was selected already.
  optIndefinite_Click();
  enable_test_options();
}

void frmDownload::disable_test_options() {
  fraReport->setEnabled(false);
  chkReport->setEnabled(false);
  chkReport->setChecked(false);
  set_enabled({optPrinter, optFile, lblPoll, cmbPoll, lblUnits, chkTestAuto}, false);
}

void frmDownload::enable_test_options() {
  set_enabled({fraReport, chkReport, lblPoll, cmbPoll, lblUnits, chkTestAuto}, true);
}

void frmDownload::disable_realtime_criteria() {
  disable_single_options();
  disable_occl_options();
  set_enabled({fraRealTime, fraSingle, chkSingle, fraOccl, chkOccl}, false);
  disable_occl_options();
  // The ticks of the two tests stay as they are.
  disable_test_options();
}

void frmDownload::get_download_options() {
  Session& s = app_.session();
  mode_chosen = false;
  channel_chosen = false;
  criteria_complete = false;

  if (optReceiveAny->isChecked()) {
    s.test_type_code = test_type::kReceiveAny;
    mode_chosen = true;
  }
  if (optGetSummary->isChecked()) {
    s.test_type_code = test_type::kSummary;
    mode_chosen = true;
  }
  if (optGetLog->isChecked()) {
    s.test_type_code = test_type::kLog;
    mode_chosen = true;
  }
  if (optRealTime->isChecked()) {
    s.test_type_code = test_type::kRealTime;
    mode_chosen = true;
    if (value(chkSingle) == 1 && !cmbPoll->currentText().isEmpty())
      criteria_complete = true;
    else if (value(chkOccl) == 1)
      criteria_complete = true;
  }

  const std::pair<QRadioButton*, const char*> channels[] = {
      {optChannelA, "A"}, {optChannelB, "B"}, {optChannelC, "C"}, {optChannelD, "D"}};
  for (const auto& [b, letter] : channels) {
    if (b->isChecked()) {
      s.channel_code = letter;
      channel_chosen = true;
    }
  }
}

void frmDownload::optGetLog_Click() { disable_realtime_criteria(); }

void frmDownload::optGetSummary_Click() { disable_realtime_criteria(); }

void frmDownload::optReceiveAny_Click() { disable_realtime_criteria(); }

void frmDownload::optRealTime_Click() {
  set_enabled({fraRealTime, fraSingle, chkSingle, fraOccl, chkOccl}, true);
  chkSingle->setChecked(false);
  chkOccl->setChecked(false);
}

void frmDownload::chkSingle_Click() {
  if (value(chkSingle) == 1) {
    enable_single_options();
    test_type = protocol::kSingleRateTest;
  } else {
    disable_single_options();
    if (value(chkOccl) == 0) disable_test_options();
  }
}

void frmDownload::chkOccl_Click() {
  if (value(chkOccl) == 1) {
    enable_occl_options();
    test_type = protocol::kOcclusionTest;
  } else {
    disable_occl_options();
    if (value(chkSingle) == 0) disable_test_options();
  }
}

void frmDownload::optDuration_Click() {
  cmbDuration->setEnabled(true);
  lblTestLengthUnits->setEnabled(true);
}

void frmDownload::optIndefinite_Click() {
  cmbDuration->setEnabled(false);
  lblTestLengthUnits->setEnabled(false);
}

void frmDownload::chkReport_Click() {
  if (value(chkReport) == 1) {
    optPrinter->setEnabled(true);
    optFile->setEnabled(true);
    optFile->setChecked(true);
  } else {
    optPrinter->setEnabled(false);
    optFile->setEnabled(false);
  }
}

void frmDownload::chkSaveFile_Click() {}

RunChoices frmDownload::choices() const {
  RunChoices c;
  c.save_to_file = value(chkSaveFile) == 1;
  c.occlusion_test = value(chkOccl) == 1;
  c.stop_test_after = optDuration->isChecked();
  c.duration_text = fromQ(cmbDuration->currentText());
  c.occlusion_time_text = fromQ(cmbOccl->currentText());
  c.poll_text = fromQ(cmbPoll->currentText());
  if (optPSI->isChecked())
    c.pressure_unit = PressureUnit::Psi;
  else if (optmmHg->isChecked())
    c.pressure_unit = PressureUnit::MmHg;
  else if (optkPa->isChecked())
    c.pressure_unit = PressureUnit::Kpa;
  c.summary_to_printer = optPrinter->isChecked();
  return c;
}

const char* frmDownload::running_now() const {
  switch (qtx::running_now(app_)) {
    case RunningWork::LiveRun:
      return kLiveRunRunning;
    case RunningWork::Transfer:
      return kTransferRunning;
    case RunningWork::Nothing:
      break;
  }
  return nullptr;
}

void frmDownload::CmdOK_Click() {
  Session& s = app_.session();
  // A run or transfer keeps the choices it started with: this OK neither changes them nor
  // starts another over it (not even the mode and channel are read).
  if (const char* running = running_now()) {
    app_.ui().msgbox(running, MsgButtons::OK, MsgIcon::Exclamation, "DOWNLOAD");
    return;
  }
  get_download_options();
  if (!mode_chosen || !channel_chosen) {
    if (frmReports* reports = app_.forms().loaded<frmReports>()) reports->setPrintEnabled(false);
    app_.ui().msgbox("You must select a Channel or a Mode type.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
    return;
  }
  if (s.test_type_code == test_type::kRealTime && !criteria_complete) {
    app_.ui().msgbox("You must complete the Real Time criteria.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
    return;
  }
  evaluate_download_options();
  if (s.download_flags.download_ok) {
    s.download_started = true;
    hand_over();
  }
}

void frmDownload::hand_over() {
  Forms& forms = app_.forms();
  // OK was pressed here, so this is the active window. Hidden, not unloaded (the next Download
  // shows the choices as they were left), it gives way to the main window, whose activation
  // shows the window the request names: once, whether the window system's activation or this
  // one comes first.
  forms.activated(*this);
  Hide();
  if (FormBase* main = forms.mainWindow()) forms.activated(*main);
}

void frmDownload::cmdCancel_Click() {
  Session& s = app_.session();
  // The requests of a running test or transfer are its own: they bring its window back.
  if (!running_now()) {
    s.download_started = false;
    s.download_flags.show_rt_request = false;
    s.download_flags.show_ot_request = false;
    s.download_flags.show_reports_request = false;
  }
  Unload();
}

}  // namespace qtx
