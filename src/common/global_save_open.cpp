#include "common/global_save_open.h"

#include <algorithm>
#include <exception>

#include "common/startup_settings.h"
#include "core/csv_export.h"
#include "core/file_names.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/held_name.h"
#include "platform/settings_store.h"
#include "platform/ui.h"

namespace qtx::GlobalSaveOpen {

namespace {

CommonDialog& common_dialog(App& app) { return app.commonDialog(); }

QWidget* main_window(App& app) {
  FormBase* main = app.forms().mainWindow();
  return main ? &main->widget() : nullptr;
}

void set_pointer(App& app, QWidget* window, MousePointer pointer) {
  if (window) app.ui().setMousePointer(window, pointer);
}

// Log files first (default extension "LOG"), or summaries first ("SUM").
void choose_list(CommonDialog& dialog, bool log_first) {
  dialog.DefaultExt = log_first ? "LOG" : "SUM";
  dialog.Filter = log_first ? kLogFirstFilter : kSummaryFirstFilter;
}

void cancelled_save(App& app) {
  app.ui().msgbox("Saving file cancelled", MsgButtons::OK, MsgIcon::Exclamation, "CANCEL SAVE");
}

}  // namespace

void remember_save_dir(App& app, std::string_view path) {
  std::string dir = get_file_dir(path);
  if (dir.empty()) return;
  app.session().folders.save_dir = dir;
  app.settings().save(startup::kSection, startup::kSaveDirKey, dir);
}

std::string check_file_name(App& app, std::string name) {
  for (;;) {
    // The file is only tried, never emptied: it is replaced when the program writes it, so a
    // name chosen for a later step that never comes keeps what the file holds.
    if (files::can_write(name)) {
      remember_save_dir(app, name);
      return name;
    }
    app.ui().msgbox("Bad file name", MsgButtons::OK, MsgIcon::Exclamation, "INVALID FILE NAME");
    CommonDialog& dialog = common_dialog(app);
    dialog.FileName.clear();
    app.ui().showSave(dialog);
    name = dialog.FileName;
    if (name.empty()) {
      app.session().download_flags.download_ok = false;
      return {};
    }
  }
}

void open_file_dialog(App& app) {
  Session& s = app.session();
  CommonDialog& dialog = common_dialog(app);
  dialog.InitDir = s.folders.save_dir;
  choose_list(dialog, s.report_text.find("LOG") != std::string::npos);
  dialog.InitDir = s.folders.save_dir;
  dialog.FileName.clear();
  dialog.Flags = CommonDialog::kOpenFlags;
  app.ui().showOpen(dialog);
  s.file_name = dialog.FileName;
  if (!s.file_name.empty()) remember_save_dir(app, s.file_name);
}

std::string save_file_dialog(App& app) {
  Session& s = app.session();
  try {
    CommonDialog& dialog = common_dialog(app);
    dialog.InitDir = s.folders.save_dir;
    choose_list(dialog, s.dialog_log_first);
    dialog.FileName.clear();
    dialog.Flags = CommonDialog::kSaveFlags;
    app.ui().showSave(dialog);
    s.file_name = dialog.FileName;
    if (s.file_name.empty()) {
      cancelled_save(app);
      return {};
    }
    s.file_name = check_file_name(app, s.file_name);
    if (s.file_name.empty())
      cancelled_save(app);
    else
      remember_save_dir(app, s.file_name);
    return s.file_name;
  } catch (const std::exception&) {
    app.ui().msgbox("Bad file name entered", MsgButtons::OK, MsgIcon::Exclamation, "BAD FILE NAME");
    return s.file_name;
  }
}

void convert_file_dialog(App& app) {
  Session& s = app.session();
  CommonDialog& dialog = common_dialog(app);
  dialog.InitDir = s.folders.save_dir;
  dialog.DefaultExt = "csv";
  dialog.Filter = kConvertFilter;
  dialog.FileName.clear();
  dialog.Flags = CommonDialog::kConvertFlags;
  app.ui().showOpen(dialog);
  s.file_name = dialog.FileName;
  if (!s.file_name.empty()) remember_save_dir(app, s.file_name);
}

void load_file_into_reports(App& app, ReportWindow& reports) {
  Session& s = app.session();
  QWidget* report_window = reports.pointerWindow();
  set_pointer(app, report_window, MousePointer::Hourglass);
  set_pointer(app, main_window(app), MousePointer::Hourglass);

  bool read_failed = false;
  s.file_name = vb::Trim(s.file_name);
  if (s.file_name.empty()) {
    app.ui().msgbox("CancelOpen", MsgButtons::OK, MsgIcon::Exclamation, "CANCEL");
  } else {
    s.file_text.clear();
    const bool too_large = files::larger_than(s.file_name, kMaxReportBytes);
    std::optional<std::vector<std::string>> lines = too_large ? std::nullopt : files::read_lines(s.file_name);
    if (!lines) {
      if (too_large)
        app.ui().msgbox("The file is too large for the report window (more than 4 MB).", MsgButtons::OK,
                        MsgIcon::Critical, "ERROR");
      else
        app.ui().msgbox("Bad file name entered", MsgButtons::OK, MsgIcon::Critical, "BAD FILE NAME");
      read_failed = true;
      // Not opened, so not the file a later save of the window's text goes to.
      s.file_name.clear();
    } else {
      for (const std::string& line : *lines) {
        s.file_text += line;
        s.file_text += vb::CRLF;
      }
      if (s.file_text.find("LOG") == std::string::npos && s.file_text.find("SUMMARY") == std::string::npos) {
        reports.setPrintEnabled(false);
        app.ui().msgbox("Invalid file!  The file is not a LOG or a SUMMARY file.", MsgButtons::OK, MsgIcon::Critical,
                        "ERROR");
        // The window keeps its old text, and with it the file that text belongs to.
        s.file_name.clear();
      } else {
        reports.setReportText(s.file_text);
        reports.setPrintEnabled(true);
        // The text as the window holds it, so a save can tell whether it was changed.
        reports.reportSource() = ReportSource{test_type::kFile, s.file_name, reports.reportText()};
      }
    }
  }

  set_pointer(app, report_window, MousePointer::Default);
  set_pointer(app, main_window(app), MousePointer::Default);
  if (read_failed) return;
  s.exists_proceed = true;
  s.download_started = true;
}

SaveResult save_report_text(App& app, ReportWindow& reports) {
  Session& s = app.session();
  ReportSource& source = reports.reportSource();
  const bool opened_file = source.mode == test_type::kFile;
  // The window's own file, never a name another window's dialog (or the conversion dialog) left
  // in file_name, nor one a later download chose.
  s.file_name = vb::Trim(source.file);
  if (s.file_name.empty()) {
    app.ui().msgbox("Saving file cancelled.", MsgButtons::OK, MsgIcon::Exclamation, "CANCEL");
    return SaveResult::Cancelled;
  }
  s.file_text = reports.reportText();
  // Unchanged since it was opened or last saved: the file already holds it, byte for byte.
  if (opened_file && s.file_text == source.text) return SaveResult::Saved;
  std::string bytes = s.file_text;
  // The last line is ended, but a text that ends its last line already gets no empty line.
  if (!bytes.ends_with(vb::CRLF)) bytes += vb::CRLF;
  if (!files::write_all(s.file_name, bytes)) return SaveResult::WriteFailed;
  if (opened_file) source.text = s.file_text;
  return SaveResult::Saved;
}

namespace {

// Names a copy may take for its temporary report: "tempfile.dat", then numbered ones.
constexpr int kTempReportNames = 9;
std::string temp_report_name(int n) {
  return n == 1 ? std::string(kTempReportFileName) : "tempfile" + std::to_string(n) + ".dat";
}

}  // namespace

std::string own_temp_report(App& app) {
  Session& s = app.session();
  // One per folder: the one this copy already holds in the save folder, if any.
  for (int n = 1; n <= kTempReportNames; ++n) {
    const std::string path = join_path(s.folders.save_dir, temp_report_name(n));
    for (const std::shared_ptr<HeldName>& held : s.temp_reports)
      if (held->path() == path) return path;
  }
  for (int n = 1; n <= kTempReportNames; ++n) {
    const std::string path = join_path(s.folders.save_dir, temp_report_name(n));
    if (std::shared_ptr<HeldName> held = files::hold_name(path)) {
      s.temp_reports.push_back(std::move(held));
      return path;
    }
  }
  return {};
}

void delete_temp_reports(App& app) {
  Session& s = app.session();
  const std::string left = temp_report_file(s.folders);
  const bool own = std::any_of(s.temp_reports.begin(), s.temp_reports.end(),
                               [&](const std::shared_ptr<HeldName>& held) { return held->path() == left; });
  if (!own && files::exists(left))
    if (std::shared_ptr<HeldName> held = files::hold_name(left)) s.temp_reports.push_back(std::move(held));
  for (const std::shared_ptr<HeldName>& held : s.temp_reports) files::remove(held->path());
  // The holds end with the files.
  s.temp_reports.clear();
}

void convert_log_to_csv(App& app, ReportWindow& reports) {
  Session& s = app.session();
  QWidget* report_window = reports.pointerWindow();
  set_pointer(app, report_window, MousePointer::Hourglass);

  auto unable_to_open = [&] {
    app.ui().msgbox("Unable to open file", MsgButtons::OK, MsgIcon::Critical, "ERROR");
    set_pointer(app, report_window, MousePointer::Default);
    set_pointer(app, main_window(app), MousePointer::Default);
  };

  s.file_name = vb::Trim(s.file_name);
  if (!csv_export::has_log_extension(s.file_name)) {
    app.ui().msgbox("Invalid Extension - Please select a valid log file with a \".log\" extension", MsgButtons::OK,
                    MsgIcon::Critical, "ERROR");
    set_pointer(app, report_window, MousePointer::Default);
    return;
  }
  std::string output_name = csv_export::csv_name(s.file_name);

  if (files::larger_than(s.file_name, csv_export::kMaxLogBytes)) {
    app.ui().msgbox("The file is too large to convert (more than 64 MB).", MsgButtons::OK, MsgIcon::Critical, "ERROR");
    set_pointer(app, report_window, MousePointer::Default);
    set_pointer(app, main_window(app), MousePointer::Default);
    return;
  }
  std::optional<std::string> log = files::read_all(s.file_name);
  if (!log) {
    unable_to_open();
    return;
  }
  csv_export::Conversion conversion = csv_export::convert_log(*log);
  // What was converted is written even when the log ended early.
  if (!files::write_all(output_name, conversion.output)) {
    unable_to_open();
    return;
  }
  switch (conversion.outcome) {
    case csv_export::Outcome::Success:
      set_pointer(app, main_window(app), MousePointer::Default);
      app.ui().msgbox("Successful conversion", MsgButtons::OK, MsgIcon::Exclamation, "SUCCESS");
      set_pointer(app, report_window, MousePointer::Default);
      break;
    case csv_export::Outcome::NoEndOfData:
      app.ui().msgbox("Unsuccessful conversion, please try again or check the help screens for further assistance",
                      MsgButtons::OK, MsgIcon::Critical, "ERROR");
      set_pointer(app, report_window, MousePointer::Default);
      break;
    case csv_export::Outcome::FileError:
      unable_to_open();
      break;
  }
}

}  // namespace qtx::GlobalSaveOpen
