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

// The report file a report window holds for editing: the file its text was opened from (or last
// saved to), and that text as the window then held it. An empty name: the window holds none.
struct OpenedReport {
  std::string file;
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
  // The file it holds for editing. Kept by the window itself: file_name is whatever the last
  // dialog of any window chose.
  virtual OpenedReport& openedReport() = 0;
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
// "SUMMARY"), which then holds that file for editing; refuses other files and tells why (the
// window keeps its text and its file).
void load_file_into_reports(App& app, ReportWindow& reports);

enum class SaveResult {
  Saved,
  Cancelled,    // no name: told to the user here
  WriteFailed,  // the file could not be written: the caller tells the user
};
// file_name as the download mode names it: the receive-any, summary or log file (other modes
// leave it as it is).
void file_name_by_mode(App& app);
// Writes the report window's text to the file of the download mode, or for an opened file
// (mode "5") to the file the window holds, and leaves that name in file_name. Every line of the
// file ends with CR LF: one is added when the text does not end with it. An opened file whose
// text the window has not changed is not written, so it keeps its bytes.
SaveResult save_report_text(App& app, ReportWindow& reports);

// Converts the data log file_name (".log" in any case) into file_name less its extension with
// ".CSV", and tells the outcome.
void convert_log_to_csv(App& app, ReportWindow& reports);

}  // namespace qtx::GlobalSaveOpen
