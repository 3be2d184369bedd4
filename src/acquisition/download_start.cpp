// The start of a download or live run from the download dialog's choices: the file questions in
// their fixed order, the device record, the report window's receiving state or the data-log
// header, the request that tells the main window which window to show, and the first command.
#include "acquisition/data_log_files.h"
#include "acquisition/frmDownload.h"
#include "acquisition/frmReports.h"
#include "acquisition/test_sequence.h"
#include "common/global_comm.h"
#include "common/global_save_open.h"
#include "core/paths.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/ui.h"
#include "records/frmHeader.h"

namespace qtx {

bool frmDownload::ask_file_name(const char* title, std::string& target, std::initializer_list<bool*> set_on_choice) {
  Session& s = app_.session();
  app_.commonDialog().DialogTitle = title;
  // "" when cancelled, which the save dialog has told the user.
  s.file_name = GlobalSaveOpen::save_file_dialog(app_);
  DownloadFlags& f = s.download_flags;
  f.download_ok = !s.file_name.empty();
  if (f.download_ok) {
    target = s.file_name;
    for (bool* flag : set_on_choice) *flag = true;
  }
  return f.download_ok;
}

void frmDownload::evaluate_download_options() {
  Session& s = app_.session();
  s.ot_data_file.clear();
  s.rt_data_file.clear();
  s.download_flags = DownloadFlags{};
  s.single_rate_checked = false;
  s.dialog_log_first = false;
  // What the run started here reads while it goes on, whatever the dialog does meanwhile.
  s.run_choices = choices();
  GlobalComm::reset_comm_buffers(app_);

  if (s.test_type_code == test_type::kReceiveAny)
    start_receive_any();
  else if (s.test_type_code == test_type::kSummary || s.test_type_code == test_type::kLog)
    start_report_download(s.test_type_code == test_type::kLog);
  else if (s.test_type_code == test_type::kRealTime)
    start_real_time();
}

void frmDownload::start_receive_any() {
  // The analyser sends by itself, so nothing is sent here.
  Session& s = app_.session();
  DownloadFlags& f = s.download_flags;
  if (value(chkSaveFile) == 1) {
    if (ask_file_name("RECEIVE ANY DATA", s.receive_any_file))
      app_.forms().get<frmReports>().show_download_title(s.receive_any_file);
  } else {
    f.download_ok = true;
    s.file_name = temp_report_file(s.folders);
    app_.forms().get<frmReports>().show_download_title("");
  }
  if (!f.download_ok) return;
  app_.forms().get<frmReports>().prepare_download(frmReports::kWaitingText, QStringLiteral("Stop"));
  f.show_reports_request = true;
}

void frmDownload::start_report_download(bool log) {
  Session& s = app_.session();
  DownloadFlags& f = s.download_flags;
  if (log) s.dialog_log_first = true;
  if (value(chkSaveFile) == 1) {
    std::string& target = log ? s.log_file : s.summary_file;
    if (ask_file_name(log ? "GET LOG DATA" : "GET SUMMARY DATA", target))
      app_.forms().get<frmReports>().show_download_title(target);
    if (f.download_ok && s.header_switch) {
      if (!log) s.download_started = true;
      app_.forms().get<frmHeader>().ShowModal(this);
    }
  } else {
    f.download_ok = true;
    s.file_name = temp_report_file(s.folders);
    app_.forms().get<frmReports>().show_download_title("");
  }
  if (!f.download_ok) return;
  f.show_reports_request = true;
  app_.forms().get<frmReports>().prepare_download("");
  if (!GlobalComm::send_command(
          app_, protocol::download_command(s.channel_code, log ? protocol::kDownloadLog : protocol::kDownloadSummary)))
    end_unsent_start(true);
}

void frmDownload::start_real_time() {
  Session& s = app_.session();
  DownloadFlags& f = s.download_flags;
  // The names are asked in a fixed order: rate log, occlusion log, rate summary, occlusion
  // summary; the first cancel ends the start.
  const bool single = value(chkSingle) == 1;
  const bool occl = value(chkOccl) == 1;
  s.single_rate_checked = single;
  s.dialog_log_first = true;
  s.header_entered = true;

  if (value(chkSaveFile) == 1) {
    f.download_ok = true;
    if (single) ask_file_name("SAVE REAL TIME DATA", s.rt_data_file, {&f.log_rt_data, &f.single_rate_selected});
    if (f.download_ok && occl)
      ask_file_name("SAVE REAL TIME OCCLUSION DATA", s.ot_data_file, {&f.log_ot_data, &f.occlusion_selected});
  } else {
    s.dialog_log_first = false;
    f.single_rate_selected = single;
    f.occlusion_selected = occl;
    f.download_ok = true;
  }

  if (f.download_ok) {
    s.dialog_log_first = false;
    // The summary names are asked whether or not the logs are saved.
    if (value(chkReport) == 1 && optFile->isChecked()) {
      if (f.single_rate_selected) {
        test_type = protocol::kSingleRateTest;
        ask_file_name("SAVE REAL TIME DATA SUMMARY", s.rt_sum_file, {&f.save_rt_summary});
      }
      if (f.download_ok && f.occlusion_selected)
        ask_file_name("SAVE REAL TIME OCCLUSION DATA SUMMARY", s.ot_sum_file, {&f.save_ot_summary});
    }
  }
  if (!f.download_ok) return;

  if (s.header_switch && value(chkSaveFile) == 1) {
    frmHeader& header = app_.forms().get<frmHeader>();
    if (f.single_rate_selected) header.show_mandatory_notice();
    header.ShowModal(this);
  }

  TestPhaseFlags& phase = s.test_phase_flags;
  const TestPhaseFlags phase_before = phase;
  if (f.single_rate_selected)
    phase.rt_phase = true;
  else if (f.occlusion_selected)
    phase.ot_phase = true;

  if (f.single_rate_selected && f.log_rt_data) {
    DataLogFiles::write_RTfile_header(app_);
    test_type = protocol::kSingleRateTest;
  } else if (f.occlusion_selected && f.log_ot_data) {
    DataLogFiles::write_OTfile_header(app_);
    test_type = protocol::kOcclusionTest;
  }
  if (!f.download_ok) {
    // No run starts: the step it would have begun with must not linger for the next run's
    // sequence to act on.
    phase = phase_before;
    return;
  }

  if (value(chkTestAuto) == 0)
    app_.ui().msgbox("Please start Kolvanta and then press 'OK'", MsgButtons::OK, MsgIcon::Exclamation, "START TEST");

  if (f.single_rate_selected) {
    f.show_rt_request = true;
    test_type = protocol::kSingleRateTest;
  } else if (f.occlusion_selected) {
    f.show_ot_request = true;
    test_type = protocol::kOcclusionTest;
  }
  if (!GlobalComm::send_command(app_, value(chkTestAuto) == 1
                                          ? protocol::start_test_command(s.channel_code, test_type)
                                          : protocol::begin_test_command(s.channel_code, test_type)))
    end_unsent_start(false);
}

void frmDownload::end_unsent_start(bool report_window_taken) {
  // The user has been told once, by the send. Nothing may wait for an answer that cannot come:
  // the files of the run go as the stop of all tests leaves them, no request is left for the
  // main window, and the dialog stays open with its choices (a port changed meanwhile is the
  // one the next OK uses).
  Session& s = app_.session();
  TestSequence::discard_run(app_);
  s.download_flags = DownloadFlags{};
  s.download_started = false;
  // Taken over for this transfer (its text emptied, its menus off, its receive timer running).
  if (report_window_taken) app_.forms().unload<frmReports>();
}

}  // namespace qtx
