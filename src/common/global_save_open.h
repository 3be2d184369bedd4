// The file routines every window shares: the open, save and conversion dialogs on the main
// window's common dialog, the check that a chosen save name can be written, loading a report
// file into the report window, saving the report window's text, and turning a data log into a
// spreadsheet file. All of them work on the shared file_name and save_dir; after every
// successful choice the chosen file's folder becomes the save folder, stored as "savedir".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui.h"

class QWidget;

namespace qtx {
class App;
}

namespace qtx::GlobalSaveOpen {

// Filters: the log-first and the summary-first lists, and the conversion list.
inline constexpr const char* kLogFirstFilter =
    "Log Files (*.log)| *.log|Summary files (*.sum) | *.sum|Data files (*.dat) | *.dat|All files (*.*) | *.*";
inline constexpr const char* kSummaryFirstFilter =
    "Summary Files (*.sum)| *.sum|Log files (*.log) | *.log|Data files (*.dat) | *.dat|All files (*.*) | *.*";
inline constexpr const char* kConvertFilter = "Spreadsheet Files (*.log)| *.log|All files (*.*) | *.*";

// The largest file the report window opens. Its reports are summaries and data logs of some
// kilobytes to a few megabytes; a larger file would hold the window up for seconds and is
// refused before it is read.
inline constexpr std::uint64_t kMaxReportBytes = 4u << 20;

// Where a report window's text came from, and so where it is saved: kept by the window itself,
// since file_name and the download mode are whatever the last dialog of any window left.
struct ReportSource {
  // The download it received ("1", "2", "4"), or "5": a file opened for editing; "" for none.
  std::string mode;
  // Mode "5": the file its text was opened from (or last saved to). A download: the name chosen
  // for it when it started ("" when it was not to be saved).
  std::string file;
  // Mode "5": the text as that file holds it.
  std::string text;
};

// What these routines touch of the report window. The report window implements it (or hands
// an adapter) when it calls them.
class ReportWindow {
 public:
  virtual ~ReportWindow() = default;
  // The window whose mouse pointer shows the hourglass while a file is read or converted.
  virtual QWidget* pointerWindow() = 0;
  // The text of its text box txtData.
  virtual std::string reportText() = 0;
  virtual void setReportText(std::string_view text) = 0;
  // Its menu item mnuPrint.
  virtual void setPrintEnabled(bool enabled) = 0;
  // What its text is and where it goes.
  virtual ReportSource& reportSource() = 0;
};

// save_dir = the folder of `path`, stored under "savedir"; a path without a folder changes
// nothing.
void remember_save_dir(App& app, std::string_view path);

// Checks that `name` can be written without changing the file: on success the save folder
// follows it and the name is returned. Otherwise "Bad file name" and the save dialog again
// (settings as they are); a cancel there clears download_ok and gives "".
std::string check_file_name(App& app, std::string name);

// The open dialog (the caller sets its title): log files first when report_text holds "LOG".
// file_name = the choice, "" when cancelled (the caller says so).
void open_file_dialog(App& app);

// The save dialog (the caller sets its title): log files first while dialog_log_first. Returns
// file_name after the choice and the name check; "" when cancelled, which it tells the user.
std::string save_file_dialog(App& app);

// The dialog that picks a data log to convert (the caller sets its title). file_name = the
// choice, "" when cancelled.
void convert_file_dialog(App& app);

// Loads file_name into the report window when it is a log or a summary (holds "LOG" or
// "SUMMARY"), which then holds that file for editing (mode "5"); refuses other files and tells
// why (the window keeps its text and where it came from).
void load_file_into_reports(App& app, ReportWindow& reports);

enum class SaveResult {
  Saved,
  Cancelled,    // no name: told to the user here
  WriteFailed,  // the file could not be written: the caller tells the user
};
// Writes the report window's text to the window's own file (ReportSource: the file it opened,
// or the name chosen for the download it received) and leaves that name in file_name. Every
// line of the file ends with CR LF: one is added when the text does not end with it. An opened
// file whose text the window has not changed is not written, so it keeps its bytes.
SaveResult save_report_text(App& app, ReportWindow& reports);

// This copy's temporary report in the save folder, the file a reception is written to:
// "tempfile.dat", or while another running copy holds that name, "tempfile2.dat",
// "tempfile3.dat", ... Once taken, the name stays this copy's until it ends. "" when the folder
// gives none (it does not exist, or cannot be written).
std::string own_temp_report(App& app);
// At the end of the program: deletes this copy's temporary reports, and a "tempfile.dat" in the
// save folder that no running copy holds (left by a copy that ended without deleting it). Never
// fails.
void delete_temp_reports(App& app);

// Converts the data log file_name (".log" in any case) into file_name less its extension with
// ".CSV", and tells the outcome.
void convert_log_to_csv(App& app, ReportWindow& reports);

}  // namespace qtx::GlobalSaveOpen
