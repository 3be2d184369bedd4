#include "core/report_header.h"

#include "core/session.h"
#include "core/vb.h"

namespace qtx {

namespace {

// The value written at `offset` characters after the label's first character.
void write_after(std::string& text, std::string_view label, long long offset, std::string_view value) {
  const long long p = vb::InStr(text, label);
  if (p == 0 || value.empty()) return;
  vb::MidAssign(text, p + offset, static_cast<long long>(value.size()), value);
}

// A number field: the entry as a number and back to text.
std::string number_text(std::string_view entry) { return vb::Trim(vb::general(vb::Val(entry))); }

constexpr std::string_view kFlowErrorLabel = "              Flow Error:     ";

}  // namespace

std::string flow_error_text(double average, double set_rate) {
  if (set_rate == 0) return "0.00%";
  return vb::Format((average - set_rate) / set_rate, "0.00%");
}

void replace_header(std::string& text, const DeviceRecord& r, bool downloaded_summary) {
  write_after(text, "Manufacturer:", 14, vb::Trim(r.manufacturer));
  write_after(text, "Serial No.:", 12, vb::Trim(r.serial_no));
  write_after(text, "Department:", 12, vb::Trim(r.department));
  if (!r.set_rate_text.empty()) write_after(text, "Set Rate(s):", 13, number_text(r.set_rate_text));
  write_after(text, "Model:", 7, vb::Trim(r.model));
  write_after(text, "Control No.:", 13, vb::Trim(r.control_no));
  write_after(text, "Location: ", 10, vb::Trim(r.location));
  if (!r.vtbi_text.empty()) write_after(text, "VTBI:", 6, number_text(r.vtbi_text));

  if (vb::InStr(text, "Comment:") > 0) {
    write_after(text, "Comment:", 10, r.comment_text);
  } else if (const long long v = vb::InStr(text, "VTBI:"); v > 0) {
    // The comment line goes after the VTBI line. A text without that label (whatever a Receive
    // Any brought) gets no line in the middle of its own text.
    std::string line = "\n        Comment: " + std::string(54, '_');
    vb::MidAssign(line, 19, r.comment_text);
    line += "\r\n\r\n\r";
    text = vb::Left(text, v + 31) + line + vb::Mid(text, v + 32);
  }

  if (!downloaded_summary || r.set_rate_text.empty()) return;
  const long long a = vb::InStr(text, "Average Rate:");
  if (a == 0) return;
  const long long e = vb::InStr(a, text, "\r\n");
  if (e == 0 || !(e - 4 > a + 13)) return;
  const std::string average = vb::Mid(text, a + 13, (e - 5) - (a + 13) + 1);
  if (!vb::IsNumeric(average) || !vb::IsNumeric(r.set_rate_text)) return;
  const std::string error = flow_error_text(vb::Val(average), vb::Val(r.set_rate_text));
  text = vb::Left(text, e) + std::string(kFlowErrorLabel) + error + vb::Mid(text, e + 1);
}

}  // namespace qtx
