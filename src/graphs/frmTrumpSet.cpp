#include "graphs/frmTrumpSet.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "common/global_main.h"
#include "core/vb.h"
#include "graphs/frmTrumpetGraph.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"

namespace qtx {

namespace {

constexpr const char* kAll = "All";

}  // namespace

frmTrumpSet::frmTrumpSet(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("Calculation Window and Start Point"));

  Frame2 = make<QGroupBox>(this, "Frame2", "Data Window");
  Label3 = make<QLabel>(Frame2, "Label3", "Calculation Window (Minutes)");
  DataInt = make_labelled<QComboBox>(Frame2, "DataInt", Label3);
  Label2 = make<QLabel>(Frame2, "Label2", "Start Time (Minutes)");
  StartTime = make_labelled<QComboBox>(Frame2, "StartTime", Label2);
  auto* data_layout = new QGridLayout(Frame2);
  data_layout->addWidget(Label3, 0, 0);
  data_layout->addWidget(DataInt, 0, 1);
  data_layout->addWidget(Label2, 1, 0);
  data_layout->addWidget(StartTime, 1, 1);

  Frame1 = make<QGroupBox>(this, "Frame1", "Interpolation Interval");
  Option1 = make<QRadioButton>(Frame1, "Option1", "30 Sec.");
  Option2 = make<QRadioButton>(Frame1, "Option2", "60 Sec.");
  Option2->setChecked(true);
  auto* interval_layout = new QHBoxLayout(Frame1);
  interval_layout->addWidget(Option1);
  interval_layout->addWidget(Option2);

  Default = make<QPushButton>(this, "Default", "Default");
  CmdCancel = make<QPushButton>(this, "CmdCancel", "Cancel");
  CmdOK = make<QPushButton>(this, "CmdOK", "OK");
  // Enter in a list chooses in the list; only a click (or Space) presses a button.
  for (QPushButton* b : {Default, CmdCancel, CmdOK}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Default);
  buttons->addStretch();
  buttons->addWidget(CmdCancel);
  buttons->addWidget(CmdOK);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Frame2);
  layout->addWidget(Frame1);
  layout->addLayout(buttons);

  connect(DataInt, &QComboBox::activated, this, [this] { DataInt_Click(); });
  connect(StartTime, &QComboBox::activated, this, [this] { StartTime_Click(); });
  connect(Default, &QPushButton::clicked, this, [this] { Default_Click(); });
  on_selected(Option1, this, [this] { Option1_Click(); });
  on_selected(Option2, this, [this] { Option2_Click(); });
  connect(CmdOK, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
  connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

double frmTrumpSet::log_length() const {
  const LogSamples& log = app_.session().log_samples;
  if (log.graph_last_index < 0 || log.graph_time.empty()) return 0;
  return log.graph_time[static_cast<size_t>(log.graph_last_index)];
}

void frmTrumpSet::set_interp_interval(int seconds) {
  // The interval belongs to the trumpet window that shows this dialog.
  if (auto* trumpet = app_.forms().loaded<frmTrumpetGraph>()) trumpet->interp_interval = seconds;
}

void frmTrumpSet::select_window(int index) {
  DataInt->setCurrentIndex(index);
  DataInt_Click();
}

void frmTrumpSet::select_start(int index) {
  StartTime->setCurrentIndex(index);
  StartTime_Click();
}

void frmTrumpSet::Form_Load() {
  Session& s = app_.session();
  TrumpetSettings& t = s.trumpet_settings;
  const double length = log_length();
  adjustSize();
  GlobalMain::center_form(*this);
  set_interp_interval(60);
  loading = true;

  StartTime->clear();
  t.calc_window = 60;
  for (int k = 0; k * 30 + t.calc_window < length; ++k) StartTime->addItem(toQ(vb::to_text(k * 30)));
  if (StartTime->count() == 0) StartTime->addItem(QStringLiteral("0"));
  int start_index = std::min(2, StartTime->count() - 1);
  select_start(start_index);
  s.analysis_start_min = vb::CInt(vb::Val(fromQ(StartTime->itemText(start_index))));

  DataInt->clear();
  for (int j = 1; j * 60 < length; ++j) DataInt->addItem(toQ(vb::to_text(j * 60)));
  DataInt->addItem(QString::fromLatin1(kAll));
  t.calc_window = length > 60 ? 60 : vb::CInt(vb::Fix(length));
  select_window(0);
  s.analysis_end_min = static_cast<int16_t>(s.analysis_start_min + t.calc_window);
}

void frmTrumpSet::DataInt_Click() {
  if (loading) {
    // The one selection the opening makes itself.
    loading = false;
    return;
  }
  Session& s = app_.session();
  TrumpetSettings& t = s.trumpet_settings;
  const double length = log_length();
  t.list_index = static_cast<int16_t>(DataInt->currentIndex());
  std::string entry = fromQ(DataInt->currentText());
  if (entry != kAll) {
    t.calc_window = vb::CInt(vb::Val(entry));
    StartTime->setEnabled(true);
    StartTime->clear();
    StartTime->addItem(QStringLiteral("0"));
    for (int k = 1; k * 30 + t.calc_window < length; ++k) StartTime->addItem(toQ(vb::to_text(k * 30)));
    select_start(std::min(2, StartTime->count() - 1));
  } else {
    double whole = vb::Fix(length);
    t.calc_window = vb::CInt(whole + (length - whole > 0.5 ? 1 : 0));
    StartTime->clear();
    StartTime->addItem(QStringLiteral("0"));
    select_start(0);
    StartTime->setEnabled(false);
    s.analysis_start_min = 0;
    s.analysis_end_min = t.calc_window;
  }
}

void frmTrumpSet::StartTime_Click() {
  if (loading) return;
  Session& s = app_.session();
  s.trumpet_settings.list_index = static_cast<int16_t>(StartTime->currentIndex());
  s.analysis_start_min = vb::CInt(vb::Val(fromQ(StartTime->currentText())));
}

void frmTrumpSet::Default_Click() {
  if (!(log_length() > 120)) return;
  select_window(0);
  select_start(2);
}

void frmTrumpSet::Option1_Click() { set_interp_interval(30); }

void frmTrumpSet::Option2_Click() { set_interp_interval(60); }

void frmTrumpSet::CmdOK_Click() {
  Session& s = app_.session();
  s.analysis_end_min = static_cast<int16_t>(s.analysis_start_min + s.trumpet_settings.calc_window);
  s.trumpet_settings.saved_start = s.analysis_start_min;
  s.trumpet_settings.saved_end = s.analysis_end_min;
  s.trumpet_ok = true;
  Unload();
}

void frmTrumpSet::CmdCancel_Click() {
  Session& s = app_.session();
  s.analysis_start_min = s.trumpet_settings.saved_start;
  s.analysis_end_min = s.trumpet_settings.saved_end;
  Unload();
}

}  // namespace qtx
