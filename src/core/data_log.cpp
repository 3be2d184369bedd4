#include "core/data_log.h"

#include "core/fixed_field.h"
#include "core/vb.h"

namespace qtx::data_log {

namespace {

std::string S(int n) { return std::string(static_cast<size_t>(n), ' '); }

std::string page_line(int16_t page) { return S(67) + "p. " + vb::Format(page, "00"); }

// The lines as the file holds them, each ended by CR LF.
std::string line_bytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes.append(line);
    bytes.append(vb::CRLF);
  }
  return bytes;
}

// One write: the file takes all of the lines or none of them.
bool put_lines(DataLogFile& log, const std::vector<std::string>& lines) {
  return !log.file || log.file->write(line_bytes(lines));
}

bool flush(DataLogFile& log) { return !log.file || log.file->flush(); }

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string format_date(const Stamp& stamp) {
  int m = stamp.month >= 1 && stamp.month <= 12 ? stamp.month : 1;
  return std::string(kMonths[m - 1]) + " " + vb::to_text(stamp.day) + " " + vb::to_text(stamp.year);
}

std::string format_time(const Stamp& stamp) {
  return vb::Format(stamp.hour, "00") + ":" + vb::Format(stamp.minute, "00");
}

std::string flow_text(double value) {
  if (value < 10) return vb::Format(value, "0.000");
  if (value < 100) return vb::Format(value, "00.00");
  if (value < 1000) return vb::Format(value, "000.0");
  return vb::Format(value, "0000");
}

std::string rate_row_text(const RateRow& row) {
  return S(9) + vb::Format(row.hours, "00") + ":" + vb::Format(row.minutes, "00") + ":" +
         vb::Format(row.seconds, "00") + S(2) + flow_text(row.flow) + S(3) + flow_text(row.avg_flow) + S(4) +
         flow_text(row.volume) + S(5) + vb::general(row.back_pressure);
}

std::string occl_row_text(const OcclRow& row) {
  return S(16) + vb::Format(row.minutes, "00") + ":" + vb::Format(row.seconds, "00") + S(12) +
         vb::Format(row.psi, "00.00") + S(6) + vb::Format(row.mmhg, "000");
}

std::vector<std::string> header_lines(LogKind kind, const DeviceRecord& r, std::string_view channel_code,
                                      const Stamp& stamp, bool test_selected) {
  std::vector<std::string> lines = {
      "",
      "",
      page_line(1),
      "",
      S(33) + "KOLVANTA 7400-K",
      S(31) + "Korvane Systems Inc.",
      "",
      S(36) + "DATA LOG",
      "",
      S(9) + "Start of Test - Date: " + format_date(stamp),
      S(23) + "- Time: " + format_time(stamp),
      "",
      S(9) + "Infusion Device Information:",
      "",
      S(9) + "Manufacturer: " + underlined_field(r.manufacturer, 18) + " Model: " + underlined_field(r.model, 22),
      "",
      S(9) + "Serial No.: " + underlined_field(r.serial_no, 20) + " Control No.: " + underlined_field(r.control_no, 16),
      "",
      S(9) + "Department: " + underlined_field(r.department, 20) + " Location: " + underlined_field(r.location, 19),
      "",
      S(9) + "Set Rate(s): " + underlined_field(r.set_rate_text, 13) + " ml/h  " +
          "VTBI: " + underlined_field(r.vtbi_text, 20) + " ml",
      "",
      S(9) + "Comment(s): " + underlined_field(r.comment_text, 50),
      "",
      "",
      S(9) + "Channel: " + std::string(channel_code),
      "",
  };
  if (!test_selected) {
    lines.push_back("");
  } else if (kind == LogKind::Rate) {
    lines.push_back(S(9) + "SINGLE RATE TEST");
    lines.push_back("");
    lines.push_back(S(9) + "Elapsed   Flow  Avg Flow  Volume  B.Pres");
    lines.push_back(S(9) + "  Time    (ml/h)  (ml/h)    (ml)  (mmHg)");
  } else {
    lines.push_back(S(9) + "OCCLUSION PRESSURE TEST");
    lines.push_back("");
    lines.push_back(S(12) + "Elasped Time       Occlusion Pressure");
    lines.push_back(S(12) + "                     (psi)     (mmHg)");
  }
  return lines;
}

std::vector<std::string> page_break_lines(LogKind kind, int16_t page) {
  std::vector<std::string> lines = {std::string(1, '\f'), "", page_line(page), ""};
  if (kind == LogKind::Rate) {
    lines.push_back(S(9) + "Elasped   Flow  Avg Flow  Volume  B.Pres");
    lines.push_back(S(9) + " Time    (ml/h)  (ml/h)    (ml)   (mmHg)");
  } else {
    // The continuation heading names a kPa column that the rows do not carry.
    lines.push_back(S(12) + "Elasped Time Occl");
    lines.push_back(S(12) + "             (psi) (mmHg) (kPa)");
  }
  return lines;
}

std::vector<std::string> closing_lines(LogKind kind, const DeviceRecord& r, bool header_entered) {
  std::vector<std::string> lines = {"", S(9) + "END OF DATA", ""};
  if (!header_entered) return lines;
  if (!r.pump_type.empty())
    lines.push_back(S(9) + "PumpType: " + underlined_field(r.pump_type, 22) +
                    " Pump Tolerance(+/- %): " + underlined_field(r.pump_tolerance, 6));
  if (kind == LogKind::Rate) lines.push_back("");
  if (!r.technician.empty())
    lines.push_back(S(9) + "Technician: " + underlined_field(r.technician, 20) + " Signature:___________________");
  else
    lines.push_back(S(9) + "Technician:_____________________ Signature:___________________");
  return lines;
}

bool write_header(DataLogFile& log, LogKind kind, const DeviceRecord& record, std::string_view channel_code,
                  const Stamp& stamp, bool test_selected) {
  log.page_num = 1;
  log.line_num = kHeaderLineCount;
  if (!put_lines(log, header_lines(kind, record, channel_code, stamp, test_selected))) return false;
  return flush(log);
}

namespace {

// A row with the page break it needs when it does not fit on the page, in one write; the
// counters move only when the file has taken them. No row (an occlusion log without a name)
// writes the page break alone.
bool write_row(DataLogFile& log, LogKind kind, int16_t lines_per_page, const std::string* row) {
  auto page = log.page_num;
  auto line = static_cast<int16_t>(log.line_num + 1);
  std::vector<std::string> lines;
  if (line > lines_per_page) {
    page = static_cast<int16_t>(page + 1);
    lines = page_break_lines(kind, page);
    line = kLineAfterPageBreak;
  }
  if (row) lines.push_back(*row);
  if (!lines.empty() && !put_lines(log, lines)) return false;
  log.page_num = page;
  log.line_num = line;
  return flush(log);
}

}  // namespace

bool write_rate_row(DataLogFile& log, const RateRow& row) {
  const std::string text = rate_row_text(row);
  return write_row(log, LogKind::Rate, kRateLinesPerPage, &text);
}

bool write_occl_row(DataLogFile& log, const OcclRow& row, bool row_wanted) {
  const std::string text = occl_row_text(row);
  return write_row(log, LogKind::Occlusion, kOcclLinesPerPage, row_wanted ? &text : nullptr);
}

bool write_closing_lines(DataLogFile& log, LogKind kind, const DeviceRecord& record, bool header_entered) {
  if (!put_lines(log, closing_lines(kind, record, header_entered))) return false;
  return flush(log);
}

}  // namespace qtx::data_log
