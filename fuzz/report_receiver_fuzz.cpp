// The report receiver over arbitrary chunk sequences from the line: every byte value (BEL, ENQ,
// CR/LF mixes, NULs, bytes above 127) cut anywhere must be taken without fault, and the end of a
// download, the header filling, tempfile.dat and the printout must hold up on what came of it.
//
// Input: chunks, each a length byte followed by that many bytes (the last chunk takes what is
// left).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/report_header.h"
#include "core/report_printout.h"
#include "core/report_receiver.h"
#include "core/session.h"
#include "core/text_lines.h"

namespace {

struct Events : qtx::report::ReceiveEvents {
  bool error_reply(const std::string& reply) override {
    if (reply.size() != 2) __builtin_trap();
    // An "n" stops the reception, as the window does.
    return reply[0] != 'n';
  }
  void show_line(const std::string& line) override {
    for (char c : line)
      if (static_cast<unsigned char>(c) < 32 && c != '\t') __builtin_trap();
  }
};

void check_cleaning(std::string text) {
  const size_t n = text.size();
  qtx::report::process_buffer(text);
  if (text.size() != n) __builtin_trap();
}

void finish(qtx::Session& s, qtx::report::ReportReceiver& r) {
  const qtx::DeviceRecord& d = s.device_record;
  r.end_of_download(s.report_text, s.new_summary,
                    qtx::report::signoff_lines(d.technician, d.pump_type, d.pump_tolerance));
  s.file_text = s.report_text;
  qtx::replace_header(s.file_text, s.device_record, true);
  s.report_text = s.file_text;
  qtx::report::process_buffer(s.report_text);
  const std::string file = r.tempfile(s.report_text);
  qtx::ReportPrintout printout("/save/tempfile.dat");
  qtx::LineReader lines(file);
  while (!lines.eof()) printout.steps(lines.next());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  qtx::Session s;
  s.device_record.manufacturer = "Acme";
  s.device_record.set_rate_text = "100";
  s.device_record.vtbi_text = "5";
  s.device_record.comment_text = "fuzz";
  qtx::report::ReportReceiver r;
  r.reset();
  Events events;
  check_cleaning(std::string(in));

  while (!in.empty()) {
    const size_t length = static_cast<unsigned char>(in[0]);
    in.remove_prefix(1);
    const std::string_view chunk = in.substr(0, length);
    in.remove_prefix(chunk.size());
    const auto result = r.tick(chunk, s.report_text, s.new_summary, events);
    if (r.carry_over_text.size() > 2 + chunk.size() + 2) __builtin_trap();
    if (r.pending_line.find("\r\n") != std::string::npos) __builtin_trap();
    if (result.stopped) return 0;
    if (result.end_of_download) {
      finish(s, r);
      r.clear_after_download(s.report_text);
    }
  }
  finish(s, r);
  return 0;
}
