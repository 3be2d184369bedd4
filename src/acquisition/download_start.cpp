// The start of a download or live run from the download dialog's choices: the file questions in
// their fixed order, the device record, the report window's receiving state or the data-log
// header, the request that tells the main window which window to show, and the first command.
#include "acquisition/data_log_files.h"
#include "acquisition/frmDownload.h"
#include "acquisition/frmReports.h"
#include "core/paths.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/serial_port.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmHeader.h"
#include "shell/frmMain.h"
#include "shell/global_comm.h"
#include "shell/global_save_open.h"

namespace qtx {

namespace {

// What the report window shows while it waits for the analyser to send on its own: 29 blanks
// before the words.
constexpr const char* kWaitingText = "                             Waiting for Serial Input";

}  // namespace

std::string frmDownload::file_question(const char* title) {
  Session& s = app_.session();
  app_.forms().get<frmMain>().CommonDialog1.DialogTitle = title;
  s.file_name = GlobalSaveOpen::save_file_dialog(app_);
  return s.file_name;
}

void frmDownload::disable_report_menus() {
  frmReports& reports = app_.forms().get<frmReports>();
  for (QAction* a : {reports.mnuClearAll, reports.mnuCut, reports.mnuCopy, reports.mnuPaste, reports.mnuDelete,
                     reports.mnuOpen, reports.mnuPrint, reports.mnuClose, reports.mnuConvertPrn})
    a->setEnabled(false);
}

void frmDownload::evaluate_download_options() {
  Session& s = app_.session();
  DownloadFlags& f = s.download_flags;
  Forms& forms = app_.forms();
  const std::string temp_file = join_path(s.folders.save_dir, "tempfile.dat");

  s.ot_data_file.clear();
  s.rt_data_file.clear();
  f = DownloadFlags{};
  s.single_rate_checked = false;
  s.dialog_log_first = false;
  GlobalComm::reset_comm_buffers(app_);

  if (s.test_type_code == "4") {
    // Receive Any: the analyser sends by itself, so nothing is sent here.
    if (value(chkSaveFile) == 1) {
      std::string name = file_question("RECEIVE ANY DATA");
      if (!name.empty()) {
        s.receive_any_file = name;
        forms.get<frmReports>().setWindowTitle(QStringLiteral("REPORT - ") + pathToQ(s.receive_any_file));
        f.download_ok = true;
      } else {
        f.download_ok = false;
      }
    } else {
      f.download_ok = true;
      s.file_name = temp_file;
      forms.get<frmReports>().setWindowTitle(QStringLiteral("REPORT"));
    }
    if (f.download_ok) {
      frmReports& reports = forms.get<frmReports>();
      reports.txtData->setPlainText(QString::fromLatin1(kWaitingText));
      f.show_reports_request = true;
      reports.cmdCancel->setText(QStringLiteral("Stop"));
      disable_report_menus();
    }
    return;
  }

  if (s.test_type_code == "1" || s.test_type_code == "2") {
    const bool log = s.test_type_code == "2";
    if (log) s.dialog_log_first = true;
    if (value(chkSaveFile) == 1) {
      std::string name = file_question(log ? "GET LOG DATA" : "GET SUMMARY DATA");
      if (!name.empty()) {
        (log ? s.log_file : s.summary_file) = name;
        forms.get<frmReports>().setWindowTitle(QStringLiteral("REPORT - ") + pathToQ(name));
        f.download_ok = true;
      } else {
        f.download_ok = false;
      }
      if (f.download_ok && s.header_switch) {
        if (!log) s.download_started = true;
        forms.get<frmHeader>().ShowModal(this);
      }
    } else {
      f.download_ok = true;
      s.file_name = temp_file;
      forms.get<frmReports>().setWindowTitle(QStringLiteral("REPORT"));
    }
    if (!f.download_ok) return;
    f.show_reports_request = true;
    disable_report_menus();
    forms.get<frmReports>().txtData->setPlainText(QString());
    GlobalComm::send_command(
        app_, protocol::download_command(s.channel_code, log ? protocol::kDownloadLog : protocol::kDownloadSummary));
    return;
  }

  if (s.test_type_code != "3") return;

  // Real-Time. The names are asked in a fixed order: rate log, occlusion log, rate summary,
  // occlusion summary; the first cancel ends the start.
  const bool single = value(chkSingle) == 1;
  const bool occl = value(chkOccl) == 1;
  s.single_rate_checked = single;
  s.dialog_log_first = true;
  s.header_entered = true;

  if (value(chkSaveFile) == 1) {
    if (single) {
      std::string name = file_question("SAVE REAL TIME DATA");
      if (!name.empty()) {
        s.rt_data_file = name;
        f.log_rt_data = true;
        f.single_rate_selected = true;
        f.download_ok = true;
      } else {
        f.download_ok = false;
      }
    } else {
      f.download_ok = true;
    }
    if (f.download_ok && occl) {
      std::string name = file_question("SAVE REAL TIME OCCLUSION DATA");
      if (!name.empty()) {
        s.ot_data_file = name;
        f.log_ot_data = true;
        f.occlusion_selected = true;
        f.download_ok = true;
      } else {
        f.download_ok = false;
      }
    }
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
        f.download_ok = false;
        std::string name = file_question("SAVE REAL TIME DATA SUMMARY");
        if (!name.empty()) {
          s.rt_sum_file = name;
          f.save_rt_summary = true;
          f.download_ok = true;
        }
      }
      if (f.download_ok && f.occlusion_selected) {
        f.download_ok = false;
        std::string name = file_question("SAVE REAL TIME OCCLUSION DATA SUMMARY");
        if (!name.empty()) {
          s.ot_sum_file = name;
          f.save_ot_summary = true;
          f.download_ok = true;
        }
      }
    }
  }
  if (!f.download_ok) return;

  if (s.header_switch && value(chkSaveFile) == 1) {
    frmHeader& header = forms.get<frmHeader>();
    if (f.single_rate_selected) header.lblMandatoryFields->setVisible(true);
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
  GlobalComm::send_command(app_, value(chkTestAuto) == 1 ? protocol::start_test_command(s.channel_code, test_type)
                                             : protocol::begin_test_command(s.channel_code, test_type));
}

}  // namespace qtx
