#include "core/summary_capture.h"

#include "core/fixed_field.h"
#include "core/vb.h"

namespace qtx::summary_capture {

namespace {
constexpr char kMarkChars[] = {kBel, kEnq};
constexpr std::string_view kMarks(kMarkChars, 2);
}  // namespace

bool add_read(std::string& text, std::string& overflow, std::string_view read, Kind kind) {
  size_t start = 0;
  for (;;) {
    const size_t mark = read.find_first_of(kMarks, start);
    const std::string_view piece = read.substr(start, mark == std::string_view::npos ? read.npos : mark - start);
    if (!piece.empty()) {
      if (text.size() > kTextLimit) overflow = text;
      text.append(piece);
    }
    if (mark == std::string_view::npos) return false;
    if (text.size() <= kTextLimit && kind == Kind::Rate) text.append(vb::CRLF);
    if (read[mark] == kBel) return true;
    start = mark + 1;
  }
}

void cut_before_technician(std::string& text) {
  const long long p = vb::InStr(text, "Tech");
  if (p >= 10) text = vb::Left(text, p - 10);
}

std::string sign_off_block(const DeviceRecord& record) {
  std::string block;
  if (!record.pump_type.empty()) {
    block += vb::CRLF;
    block += "        PumpType: " + underlined_field(record.pump_type, 23) +
             " Pump Tolerance(+/- %): " + underlined_field(record.pump_tolerance, 6);
    block += vb::CRLF;
  }
  block += vb::CRLF;
  if (!record.technician.empty()) {
    block += "        Technician: " + underlined_field(record.technician, 21) + " Signature:___________________";
  } else {
    block += "        Technician:______________________ Signature:___________________";
    block += vb::CRLF;
  }
  return block;
}

std::string file_bytes(std::string_view text) {
  std::string bytes(text);
  bytes += vb::CRLF;
  return bytes;
}

}  // namespace qtx::summary_capture
