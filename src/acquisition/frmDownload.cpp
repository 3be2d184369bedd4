#include "acquisition/frmDownload.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "acquisition/frmReports.h"
#include "platform/app.h"
#include "platform/ui.h"

namespace qtx {

namespace {

QGroupBox* group_frame(QWidget* parent, const char* name, const char* caption) {
  auto* f = new QGroupBox(QString::fromLatin1(caption), parent);
  f->setObjectName(QString::fromLatin1(name));
  return f;
}

QRadioButton* option(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QRadioButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QCheckBox* check(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QCheckBox(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QLabel* label(QWidget* parent, const char* name, const char* caption) {
  auto* l = new QLabel(QString::fromLatin1(caption), parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

// The lists are texts the user may also type over; the live windows read their leading number.
QComboBox* combo(QWidget* parent, const char* name, std::initializer_list<const char*> entries, const char* spoken) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  for (const char* e : entries) c->addItem(QString::fromLatin1(e));
  c->setAccessibleName(QString::fromLatin1(spoken));
  return c;
}

// An option button that cannot be cleared while it excludes the others of its group.
void clear_option(QRadioButton* b) {
  b->setAutoExclusive(false);
  b->setChecked(false);
  b->setAutoExclusive(true);
}

// A handler that runs when the option becomes selected, by the user or by the program.
template <class F>
void on_selected(QRadioButton* b, QObject* context, F handler) {
  QObject::connect(b, &QRadioButton::toggled, context, [handler](bool on) {
    if (on) handler();
  });
}

}  // namespace

frmDownload::frmDownload(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("DOWNLOAD"));

  Frame1 = group_frame(this, "Frame1", "Save");
  chkSaveFile = check(Frame1, "chkSaveFile", "Save to File");
  chkSaveFile->setChecked(true);
  (new QVBoxLayout(Frame1))->addWidget(chkSaveFile);

  fraMode = group_frame(this, "fraMode", "Mode");
  optGetLog = option(fraMode, "optGetLog", "Get Log");
  optRealTime = option(fraMode, "optRealTime", "Real-Time");
  optGetSummary = option(fraMode, "optGetSummary", "Get Summary");
  optReceiveAny = option(fraMode, "optReceiveAny", "Receive Any");
  {
    auto* l = new QVBoxLayout(fraMode);
    for (QWidget* w : {optGetLog, optRealTime, optGetSummary, optReceiveAny}) l->addWidget(w);
  }

  fraChannel = group_frame(this, "fraChannel", "Channel");
  optChannelA = option(fraChannel, "optChannelA", "A");
  optChannelB = option(fraChannel, "optChannelB", "B");
  optChannelC = option(fraChannel, "optChannelC", "C");
  optChannelD = option(fraChannel, "optChannelD", "D");
  optChannelA->setChecked(true);
  {
    auto* l = new QHBoxLayout(fraChannel);
    for (QRadioButton* b : {optChannelA, optChannelB, optChannelC, optChannelD}) l->addWidget(b);
  }

  fraRealTime = group_frame(this, "fraRealTime", "Real Time");

  fraSingle = group_frame(fraRealTime, "fraSingle", "");
  chkSingle = check(fraSingle, "chkSingle", "Single RateTest");
  optDuration = option(fraSingle, "optDuration", "Stop Test After");
  cmbDuration = combo(fraSingle, "cmbDuration", {"0.5", "1.0", "2.0", "3.0", "5.0", "10.0", "20", "30", "50"},
                      "Stop Test After (min)");
  lblTestLengthUnits = label(fraSingle, "lblTestLengthUnits", "(min)");
  optIndefinite = option(fraSingle, "optIndefinite", "Run Indefinitely");
  {
    auto* g = new QGridLayout(fraSingle);
    g->addWidget(chkSingle, 0, 0, 1, 3);
    g->addWidget(optDuration, 1, 0);
    g->addWidget(cmbDuration, 1, 1);
    g->addWidget(lblTestLengthUnits, 1, 2);
    g->addWidget(optIndefinite, 2, 0, 1, 3);
  }

  fraOccl = group_frame(fraRealTime, "fraOccl", "");
  chkOccl = check(fraOccl, "chkOccl", "Occlusion Test");
  lblOccl = label(fraOccl, "lblOccl", "Max. Time:");
  cmbOccl = combo(fraOccl, "cmbOccl", {"0.5", "1.0", "2.0", "3.0", "5.0", "10", "20", "30", "50"}, "Max. Time: (min)");
  lblOccl->setBuddy(cmbOccl);
  lblOcclUnits = label(fraOccl, "lblOcclUnits", "(min)");
  fraOcclGraphUnits = group_frame(fraOccl, "fraOcclGraphUnits", "Occlusion Graph Units");
  optPSI = option(fraOcclGraphUnits, "optPSI", "PSI");
  optmmHg = option(fraOcclGraphUnits, "optmmHg", "mmHg");
  optkPa = option(fraOcclGraphUnits, "optkPa", "kPa");
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

  lblPoll = label(fraRealTime, "lblPoll", "Poll Data Every:");
  cmbPoll = combo(fraRealTime, "cmbPoll", {"1", "10", "30", "60", "300", "600"}, "Poll Data Every: (sec)");
  lblPoll->setBuddy(cmbPoll);
  lblUnits = label(fraRealTime, "lblUnits", "(sec)");
  chkTestAuto = check(fraRealTime, "chkTestAuto", "Start test automatically");

  fraReport = group_frame(fraRealTime, "fraReport", "");
  chkReport = check(fraReport, "chkReport", "Report Output");
  optFile = option(fraReport, "optFile", "Summary to File");
  optPrinter = option(fraReport, "optPrinter", "Summary to Printer");
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

  CmdOK = new QPushButton(QStringLiteral("&OK"), this);
  CmdOK->setObjectName(QStringLiteral("CmdOK"));
  CmdOK->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
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
  app_.session().download_started = false;
  chkSaveFile->setChecked(true);
  chkSingle->setChecked(false);
  chkOccl->setChecked(false);
  cmbPoll->setCurrentIndex(0);
  cmbDuration->setCurrentIndex(0);
  cmbOccl->setCurrentIndex(0);
  disable_realtime_criteria();
}

void frmDownload::disable_occl_options() {
  for (QWidget* w : {static_cast<QWidget*>(lblOccl), static_cast<QWidget*>(cmbOccl),
                     static_cast<QWidget*>(lblOcclUnits), static_cast<QWidget*>(fraOcclGraphUnits),
                     static_cast<QWidget*>(optPSI), static_cast<QWidget*>(optmmHg), static_cast<QWidget*>(optkPa)})
    w->setEnabled(false);
}

void frmDownload::enable_occl_options() {
  for (QWidget* w : {static_cast<QWidget*>(lblOccl), static_cast<QWidget*>(cmbOccl),
                     static_cast<QWidget*>(lblOcclUnits), static_cast<QWidget*>(fraOcclGraphUnits),
                     static_cast<QWidget*>(optPSI), static_cast<QWidget*>(optmmHg), static_cast<QWidget*>(optkPa)})
    w->setEnabled(true);
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
  for (QWidget* w :
       {static_cast<QWidget*>(optPrinter), static_cast<QWidget*>(optFile), static_cast<QWidget*>(lblPoll),
        static_cast<QWidget*>(cmbPoll), static_cast<QWidget*>(lblUnits), static_cast<QWidget*>(chkTestAuto)})
    w->setEnabled(false);
}

void frmDownload::enable_test_options() {
  for (QWidget* w :
       {static_cast<QWidget*>(fraReport), static_cast<QWidget*>(chkReport), static_cast<QWidget*>(lblPoll),
        static_cast<QWidget*>(cmbPoll), static_cast<QWidget*>(lblUnits), static_cast<QWidget*>(chkTestAuto)})
    w->setEnabled(true);
}

void frmDownload::disable_realtime_criteria() {
  disable_single_options();
  disable_occl_options();
  for (QWidget* w : {static_cast<QWidget*>(fraRealTime), static_cast<QWidget*>(fraSingle),
                     static_cast<QWidget*>(chkSingle), static_cast<QWidget*>(fraOccl), static_cast<QWidget*>(chkOccl)})
    w->setEnabled(false);
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
  for (QWidget* w : {static_cast<QWidget*>(fraRealTime), static_cast<QWidget*>(fraSingle),
                     static_cast<QWidget*>(chkSingle), static_cast<QWidget*>(fraOccl), static_cast<QWidget*>(chkOccl)})
    w->setEnabled(true);
  chkSingle->setChecked(false);
  chkOccl->setChecked(false);
}

void frmDownload::chkSingle_Click() {
  if (value(chkSingle) == 1) {
    enable_single_options();
    test_type = 1;
  } else {
    disable_single_options();
    if (value(chkOccl) == 0) disable_test_options();
  }
}

void frmDownload::chkOccl_Click() {
  if (value(chkOccl) == 1) {
    enable_occl_options();
    test_type = 4;
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

void frmDownload::CmdOK_Click() {
  Session& s = app_.session();
  get_download_options();
  if (!mode_chosen || !channel_chosen) {
    if (frmReports* reports = app_.forms().loaded<frmReports>()) reports->mnuPrint->setEnabled(false);
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
    // Hidden, not unloaded: the run reads these choices. The main window, active again, shows
    // the window the request names.
    Hide();
  }
}

void frmDownload::cmdCancel_Click() {
  Session& s = app_.session();
  s.download_started = false;
  s.download_flags.show_rt_request = false;
  s.download_flags.show_ot_request = false;
  s.download_flags.show_reports_request = false;
  Unload();
}

}  // namespace qtx
