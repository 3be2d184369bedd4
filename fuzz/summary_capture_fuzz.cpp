// The summary capture over arbitrary reads from the line: no fault, and the text collected is the
// same however the analyser's bytes fall into reads; the cut and the sign-off hold up on it.
//
// Input: a byte choosing the test (even: rate, odd: occlusion), then reads, each a length byte
// followed by that many bytes (the last read takes what is left).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/session.h"
#include "core/summary_capture.h"

using namespace qtx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto kind = data[0] % 2 == 0 ? summary_capture::Kind::Rate : summary_capture::Kind::Occlusion;
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::string text, overflow, sent;
  bool complete = false;
  while (!in.empty() && !complete) {
    const size_t length = static_cast<unsigned char>(in[0]);
    in.remove_prefix(1);
    const std::string_view read = in.substr(0, length);
    in.remove_prefix(read.size());
    sent.append(read);
    complete = summary_capture::add_read(text, overflow, read, kind);
  }

  // All of it in one read gives the same text.
  std::string whole, whole_overflow;
  if (summary_capture::add_read(whole, whole_overflow, sent, kind) != complete || whole != text) __builtin_trap();

  summary_capture::cut_before_technician(text);
  if (text.size() > whole.size()) __builtin_trap();
  DeviceRecord record;
  record.pump_type = std::string(sent.substr(0, 30));
  record.technician = std::string(sent.substr(0, 25));
  text += summary_capture::sign_off_block(record);
  if (summary_capture::file_bytes(text).size() != text.size() + 2) __builtin_trap();
  return 0;
}
