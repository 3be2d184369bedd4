// The program-wide state that the windows share, in one object.
//
// Each group says who writes it. Windows receive the Session by reference; nothing here is a
// global, so every test starts from a fresh Session.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/line_sink.h"
#include "core/paths.h"

namespace qtx {

// Start-up values and folders (main window; the file routines move the save folder).
struct Folders {
  std::string start_dir;         // the current folder at start
  std::string default_help_dir;  // start_dir + "/help"
  std::string default_save_dir;  // start_dir + "/save"
  std::string default_init_dir;  // start_dir + "/save"
  std::string main_dir;          // "maindir"
  std::string save_dir;          // "savedir": every file dialog starts here; tempfile.dat lives here
  std::string init_dir;          // "initdir"
  std::string help_dir;          // "helpdir"
};

// The serial link.
struct CommState {
  int16_t comm_port = 2;                // COM1-COM4
  std::array<bool, 5> port_usable{};    // indexed 1-4; [0] unused
  std::string series_code = "C";        // "series", kept, read nowhere else
};

// The ten flags of a started download or live run, cleared together when a download starts.
struct DownloadFlags {
  bool show_rt_request = false;
  bool show_ot_request = false;
  bool show_reports_request = false;
  bool single_rate_selected = false;
  bool occlusion_selected = false;
  bool download_ok = false;
  bool log_rt_data = false;
  bool log_ot_data = false;
  bool save_rt_summary = false;
  bool save_ot_summary = false;
};

// The unit the occlusion graph is drawn in ("Occlusion Graph Units").
enum class PressureUnit { None, Psi, MmHg, Kpa };

// The download dialog's choices a download or live run was started with, taken at its OK. The
// run reads these and never the dialog's controls, so what the dialog shows or does while the
// run goes on (choices changed, Cancel, unloaded and loaded afresh) leaves the run as it was.
// The mode and the channel are test_type_code and channel_code, which only an accepted OK writes.
struct RunChoices {
  bool save_to_file = true;         // "Save to File"
  bool occlusion_test = false;      // "Occlusion Test": the occlusion countdown runs
  bool stop_test_after = false;     // "Stop Test After": the rate test ends by itself
  std::string duration_text;        // its minutes, as typed ("0.5")
  std::string occlusion_time_text;  // "Max. Time:" minutes
  std::string poll_text;            // "Poll Data Every:" seconds
  PressureUnit pressure_unit = PressureUnit::None;
  bool summary_to_printer = false;  // "Summary to Printer"
};

// The four steps of a live run.
struct TestPhaseFlags {
  bool rt_phase = false;
  bool rt_summary_phase = false;
  bool ot_phase = false;
  bool ot_summary_phase = false;
};

// One data log of a live run while it is written: the open file (none when empty) and the page
// and line counters of its pages.
struct DataLogFile {
  std::shared_ptr<LineSink> file;  // rt_file_num / ot_file_num
  int16_t page_num = 0;            // rt_page_num / ot_page_num
  int16_t line_num = 0;            // rt_line_num / ot_line_num
  bool write_failure_told = false;  // a row the file did not take has been reported
};

// The record of the device under test, entered in the device-record dialog. Its texts are as
// the data-log, summary and report files take them, one byte per character: the dialog takes
// what was typed that way, once.
struct DeviceRecord {
  std::string manufacturer;
  std::string model;
  std::string serial_no;
  std::string control_no;
  std::string department;
  std::string location;
  std::string set_rate_text;
  std::string vtbi_text;
  std::string comment_text;
  std::string technician;
  std::string pump_type;
  std::string pump_tolerance;
};

// Field numbers shared by the device-record dialog, the administrator's pick lists and
// mandatory flags, and their settings keys.
enum FieldIndex : int {
  kManufacturer = 0,
  kVtbi = 1,
  kTechnician = 2,
  kModel = 3,
  kFlowRate = 4,
  kLocation = 5,
  kDepartment = 6,
  kPumpType = 7,
  kPumpTolerance = 8,
  kSerialNo = 9,
  kControlNo = 10,
};
inline constexpr int kFieldCount = 11;  // mandatory flags
inline constexpr int kPickListCount = 9;

// The samples of one loaded rate data log, indexed 0 to graph_last_index.
struct LogSamples {
  std::vector<double> graph_volume;
  std::vector<double> graph_time;
  std::vector<double> graph_avg_flow;
  std::vector<int16_t> graph_back_pressure;
  std::vector<double> graph_flow;
  int16_t graph_last_index = -1;
};

// What reading the loaded rate data log found besides its samples.
struct LogGraphResults {
  double graph_y_min = 0;  // ends of the flow axis
  double graph_y_max = 0;
  double graph_max_flow = 0;    // largest and smallest flow sample
  double graph_min_flow = 0;
  double graph_max_volume = 0;  // largest volume sample, whole ml
  double graph_avg_rate = 0;    // average flow of the last sample
  int16_t base_rate_int = 0;    // the base rate as a whole number, the centre of the flow ranges
};

// One observation window of the trumpet analysis.
struct TrumpetResult {
  int16_t window = 0;
  float max_err_pct = 0;
  float min_err_pct = 0;
  float max_err_rate = 0;
  float min_err_rate = 0;
};

// What the trumpet settings dialog keeps across its openings.
struct TrumpetSettings {
  int16_t calc_window = 0;  // the chosen calculation window, minutes
  int16_t list_index = 0;   // list position last chosen in either list
  int16_t saved_start = 0;  // the period at the last OK
  int16_t saved_end = 0;
};

// The download modes, as test_type_code holds them.
namespace test_type {
inline constexpr const char* kSummary = "1";     // Get Summary
inline constexpr const char* kLog = "2";         // Get Log
inline constexpr const char* kRealTime = "3";    // a live test run from the download dialog
inline constexpr const char* kReceiveAny = "4";  // whatever the analyser sends by itself
inline constexpr const char* kFile = "5";        // a report file opened for editing
}  // namespace test_type

// The report received while it is not saved under a name of the user's: in the save folder,
// deleted when the program ends. A copy of the program started while another runs on the same
// folder takes "tempfile2.dat", "tempfile3.dat", ... instead (the file routines choose).
inline constexpr const char* kTempReportFileName = "tempfile.dat";

inline std::string temp_report_file(const Folders& folders) {
  return join_path(folders.save_dir, kTempReportFileName);
}

// A file name this running copy of the program keeps for itself until it ends: another copy
// asking for the same name is refused meanwhile. A copy that has ended, however it ended, holds
// nothing. The platform gives it; letting go of it ends the hold.
class HeldName {
 public:
  virtual ~HeldName() = default;
  virtual const std::string& path() const = 0;
};

struct Session {
  Folders folders;
  CommState comm;

  // This copy's temporary reports, one per folder it has received into: its own, so no other
  // running copy receives into, prints, saves or deletes them. Deleted when the program ends.
  std::vector<std::shared_ptr<HeldName>> temp_reports;

  // Shared texts.
  std::string rx_text;      // the current serial read or line
  std::string report_text;  // the report received so far
  std::string file_text;    // a whole file being loaded or saved
  std::string file_name;    // the current file of every dialog and file routine
  // The report texts the report window's receiver shares with the summary capture of the live
  // windows.
  std::string report_overflow;  // written by the summary capture
  bool new_summary = true;      // the next complete line starts a new report_text

  // Download mode and channel.
  std::string test_type_code;    // one of test_type::k...
  std::string channel_code = "A";

  DownloadFlags download_flags;
  TestPhaseFlags test_phase_flags;
  RunChoices run_choices;  // of the download or live run started last

  // Names chosen when a download or live run starts.
  std::string rt_data_file;
  std::string ot_data_file;
  std::string rt_sum_file;
  std::string ot_sum_file;
  std::string log_file;
  std::string summary_file;
  std::string receive_any_file;
  bool dialog_log_first = false;
  bool single_rate_checked = false;
  bool download_started = false;
  bool exists_proceed = false;
  // The summary files this run has written (a file of that name that was there before the run
  // and was not written by it is never deleted by a cancel).
  bool rt_sum_written = false;
  bool ot_sum_written = false;

  // The rate and occlusion data logs of the run (header by the download start, rows by the live
  // windows, closing lines at the end of each test).
  DataLogFile rt_log;
  DataLogFile ot_log;

  // Device record and its administration.
  DeviceRecord device_record;
  bool header_switch = true;
  bool header_entered = true;
  std::array<bool, kFieldCount> mandatory_fields{};
  std::string admin_password;
  bool password_required = false;

  // Loaded data log and trumpet analysis.
  LogSamples log_samples;
  LogGraphResults log_results;
  double base_rate = 0;
  bool rate_updated = false;  // the base-rate dialog stored a new base_rate
  std::array<TrumpetResult, 6> trumpet_results{};  // indexed 1-5; [0] unused
  double trumpet_avg_rate = 0;
  double trumpet_avg_err_pct = 0;
  int16_t trumpet_scale = 1;  // the error axis spans +/- 15 x trumpet_scale per cent
  bool trumpet_ok = false;    // the settings dialog's OK was pressed
  int16_t analysis_start_min = 0;
  int16_t analysis_end_min = 0;
  TrumpetSettings trumpet_settings;
};

}  // namespace qtx
