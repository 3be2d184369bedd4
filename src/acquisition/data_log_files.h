// The data logs of a live run on disk: the download start writes each log's page-1 header, the
// live windows add one row per reading, and the end of each test writes the closing lines. The
// log stays open for the whole test and every row reaches the disk as it is written. The texts
// themselves are built in core/data_log.h; this layer takes the names, flags and device record
// from the Session and keeps the open files in it (rt_log, ot_log).
#pragma once

#include "core/data_log.h"

namespace qtx {
class App;
}

namespace qtx::DataLogFiles {

using data_log::LogKind;

// The download dialog's write_RTfile_header: when log_rt_data, opens rt_data_file (created, or
// emptied) and writes the rate log's page-1 header. With no name it says the logging is
// cancelled. When the file cannot be written it says so and asks for another name; a cancel
// there clears download_ok and leaves no rate log.
void write_RTfile_header(App& app);
// The same for ot_data_file and the occlusion log (log_ot_data, occlusion_selected).
void write_OTfile_header(App& app);

// The rate window's current_data_to_file: one row with the page break it may need. The caller
// calls it while "Save to File" is ticked and rt_data_file is not empty. A row that cannot be
// written is missing from the log, which is said once per log (the test goes on, and later rows
// are written when the file takes them); the result says whether it was written.
bool current_data_to_file(App& app, const data_log::RateRow& row);
// The occlusion window's write_current_data: the same for one occlusion row.
bool write_current_data(App& app, const data_log::OcclRow& row);

// Each live window's close_data_file: the closing lines, then the log is closed.
void close_data_file(App& app, LogKind kind);

// The stop of all tests: the log is closed as it stands (no closing lines) and its file is
// deleted.
void discard_data_file(App& app, LogKind kind);

}  // namespace qtx::DataLogFiles
