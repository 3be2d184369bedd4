#include "acquisition/data_log_files.h"

#include "common/global_save_open.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace qtx::DataLogFiles {

namespace {

struct LogRoles {
  LogKind kind;
  bool DownloadFlags::*log_data;
  bool DownloadFlags::*test_selected;
  std::string Session::*file_name;
  DataLogFile Session::*log;
  const char* cancelled_text;
  const char* failure_text;
  const char* failure_title;
};

const LogRoles kRate{LogKind::Rate,
                     &DownloadFlags::log_rt_data,
                     &DownloadFlags::single_rate_selected,
                     &Session::rt_data_file,
                     &Session::rt_log,
                     "Logging real-time data to file CANCELLED",
                     "Bad file name for real-time data",
                     "INVALID FILE NAME"};

const LogRoles kOcclusion{LogKind::Occlusion,
                          &DownloadFlags::log_ot_data,
                          &DownloadFlags::occlusion_selected,
                          &Session::ot_data_file,
                          &Session::ot_log,
                          "Logging occlusion data to file CANCELLED",
                          "Error writing occlusion data",
                          "FILE ACCESS ERROR"};

const LogRoles& roles(LogKind kind) { return kind == LogKind::Rate ? kRate : kOcclusion; }

data_log::Stamp stamp_of(const DateTime& t) { return data_log::Stamp{t.year, t.month, t.day, t.hour, t.minute}; }

void write_header(App& app, const LogRoles& r) {
  Session& s = app.session();
  if (!(s.download_flags.*r.log_data)) return;
  std::string& name = s.*r.file_name;
  DataLogFile& log = s.*r.log;
  if (name.empty()) {
    app.ui().msgbox(r.cancelled_text, MsgButtons::OK, MsgIcon::Exclamation, "CANCEL");
    name.clear();
    return;
  }
  const bool selected = s.download_flags.*r.test_selected;
  const data_log::Stamp stamp = stamp_of(app.clock().now());
  for (;;) {
    log.file.reset();
    log.write_failure_told = false;
    log.page_num = 1;
    log.line_num = data_log::kHeaderLineCount;
    bool ok = true;
    if (selected) {
      std::unique_ptr<files::OpenFile> file = files::OpenFile::create(name);
      if (file)
        log.file = std::move(file);
      else
        ok = false;
    }
    if (ok) ok = data_log::write_header(log, r.kind, s.device_record, s.channel_code, stamp, selected);
    if (ok) break;

    // A header that stopped part-way makes no log: the file goes, and the header is written
    // whole under the name chosen next.
    if (log.file) {
      log.file.reset();
      files::remove(name);
    }
    app.ui().msgbox(r.failure_text, MsgButtons::OK, MsgIcon::Exclamation, r.failure_title);
    CommonDialog& dialog = app.commonDialog();
    dialog.FileName.clear();
    app.ui().showSave(dialog);
    name = dialog.FileName;
    if (name.empty()) {
      s.download_flags.download_ok = false;
      return;
    }
  }
  // The folder of the most recently chosen file becomes the save folder.
  GlobalSaveOpen::remember_save_dir(app, s.file_name);
}

}  // namespace

void write_RTfile_header(App& app) { write_header(app, kRate); }

void write_OTfile_header(App& app) { write_header(app, kOcclusion); }

namespace {

// A row the log did not take (a full disk, a file-size limit, a vanished folder) is said once
// for the log; the test runs on. Each later row is tried again, so once there is room the log
// goes on: the rows that failed are a gap in it, and the message says so.
bool row_written(App& app, DataLogFile& log, const std::string& name, bool written) {
  if (!written && !log.write_failure_told) {
    log.write_failure_told = true;
    app.ui().msgbox("A row could not be written to the data log " + name +
                        ".\r\rRows that cannot be written are missing from the log; the rows written are kept "
                        "and the test goes on.",
                    MsgButtons::OK, MsgIcon::Critical, "ERROR");
  }
  return written;
}

}  // namespace

bool current_data_to_file(App& app, const data_log::RateRow& row) {
  Session& s = app.session();
  return row_written(app, s.rt_log, s.rt_data_file, data_log::write_rate_row(s.rt_log, row));
}

bool write_current_data(App& app, const data_log::OcclRow& row) {
  Session& s = app.session();
  return row_written(app, s.ot_log, s.ot_data_file, data_log::write_occl_row(s.ot_log, row, !s.ot_data_file.empty()));
}

void close_data_file(App& app, LogKind kind) {
  Session& s = app.session();
  DataLogFile& log = s.*roles(kind).log;
  // Closing lines that cannot be written leave the rows as they are: the file is closed all the same.
  (void)data_log::write_closing_lines(log, kind, s.device_record, s.header_entered);
  log.file.reset();
}

void discard_data_file(App& app, LogKind kind) {
  Session& s = app.session();
  const LogRoles& r = roles(kind);
  (s.*r.log).file.reset();
  const std::string& name = s.*r.file_name;
  if (!name.empty()) files::remove(name);
}

}  // namespace qtx::DataLogFiles
