// The download dialog "DOWNLOAD": which channel, which kind of transfer (a data log, a test
// summary, whatever the analyser sends, or a live test run from here), whether the result is
// saved, and for a live run its tests, lengths, poll interval, pressure unit, start and summary.
//
// Shown modeless, so the port windows can be used while it is open. OK checks the choices and
// starts the transfer (evaluate_download_options), then hides the dialog: it stays loaded with
// the choices it started, for the next Download to show as they were left. The run itself takes
// its choices as a value at OK (Session::run_choices) and reads nothing here, so what the dialog
// does afterwards never reaches it; while a run or transfer goes on, OK starts nothing and says
// why. Cancel clears the requests and unloads it, so the next opening starts from the load
// defaults; while something runs, the requests are that run's and stay.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/session.h"
#include "platform/forms.h"
#include "platform/text.h"

namespace qtx {

class frmDownload : public DialogForm {
  Q_OBJECT

 public:
  explicit frmDownload(App& app);

  void Form_Load() override;

  // Enabling and disabling the groups of live-run choices.
  void disable_occl_options();
  void enable_occl_options();
  void disable_single_options();
  void enable_single_options();
  void disable_test_options();
  void enable_test_options();
  void disable_realtime_criteria();
  // Reads the mode, the channel and whether the live-run choices suffice.
  void get_download_options();
  // Turns the checked choices into a started transfer: file questions, device record, log
  // header, the request for the main window and the first command (download_start.cpp).
  void evaluate_download_options();

  void optGetLog_Click();
  void optGetSummary_Click();
  void optReceiveAny_Click();
  void optRealTime_Click();
  void chkSingle_Click();
  void chkOccl_Click();
  void optDuration_Click();
  void optIndefinite_Click();
  void chkReport_Click();
  void chkSaveFile_Click();
  void CmdOK_Click();
  void cmdCancel_Click();

  // A check box as the program reads it: 1 ticked, 0 not.
  static int value(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

  // The choices a run started now would keep (Latin-1 texts as typed).
  RunChoices choices() const;

  // Told at OK while a live run goes on, or a transfer into the report window.
  static constexpr const char* kLiveRunRunning =
      "A live test is running. It keeps the choices it was started with until it ends.\r\r"
      "Stop it in its window, or let it end, before you start another download.";
  static constexpr const char* kTransferRunning =
      "A transfer from the analyser is running in the report window.\r\r"
      "Stop it there, or let it end, before you start another download.";

  // Form fields.
  int16_t test_type = 0;           // test digit of the start command: 1 rate test, 4 occlusion test
  bool mode_chosen = false;        // a mode option is selected
  bool channel_chosen = false;     // a channel option is selected
  bool criteria_complete = false;  // the live-run choices are enough to start

  QGroupBox* Frame1 = nullptr;
  QCheckBox* chkSaveFile = nullptr;

  QGroupBox* fraMode = nullptr;
  QRadioButton* optGetLog = nullptr;
  QRadioButton* optRealTime = nullptr;
  QRadioButton* optGetSummary = nullptr;
  QRadioButton* optReceiveAny = nullptr;

  QGroupBox* fraChannel = nullptr;
  QRadioButton* optChannelA = nullptr;
  QRadioButton* optChannelB = nullptr;
  QRadioButton* optChannelC = nullptr;
  QRadioButton* optChannelD = nullptr;

  QGroupBox* fraRealTime = nullptr;
  QGroupBox* fraSingle = nullptr;
  QCheckBox* chkSingle = nullptr;
  QRadioButton* optDuration = nullptr;
  QComboBox* cmbDuration = nullptr;
  QLabel* lblTestLengthUnits = nullptr;
  QRadioButton* optIndefinite = nullptr;

  QGroupBox* fraOccl = nullptr;
  QCheckBox* chkOccl = nullptr;
  QLabel* lblOccl = nullptr;
  QComboBox* cmbOccl = nullptr;
  QLabel* lblOcclUnits = nullptr;
  QGroupBox* fraOcclGraphUnits = nullptr;
  QRadioButton* optPSI = nullptr;
  QRadioButton* optmmHg = nullptr;
  QRadioButton* optkPa = nullptr;

  QLabel* lblPoll = nullptr;
  QComboBox* cmbPoll = nullptr;
  QLabel* lblUnits = nullptr;
  QCheckBox* chkTestAuto = nullptr;

  QGroupBox* fraReport = nullptr;
  QCheckBox* chkReport = nullptr;
  QRadioButton* optFile = nullptr;
  QRadioButton* optPrinter = nullptr;

  QPushButton* CmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

 private:
  // After a successful start: the dialog hides and the main window, active again, hands over.
  void hand_over();
  // The three kinds of start evaluate_download_options makes, by test_type_code.
  void start_receive_any();
  void start_report_download(bool log);
  void start_real_time();
  // One file question of the start: the save dialog under this title. A name chosen becomes
  // file_name and `target` and sets the flags given; download_ok says whether one was chosen.
  bool ask_file_name(const char* title, std::string& target, std::initializer_list<bool*> set_on_choice = {});
  // What runs now that OK would disturb (its message), or nullptr when nothing does.
  const char* running_now() const;
  // The first command did not go out (the port is not open, or its device has gone): the start
  // ends there and leaves nothing waiting. `report_window_taken`: the start had made the report
  // window ready to receive.
  void end_unsent_start(bool report_window_taken);
};

}  // namespace qtx
