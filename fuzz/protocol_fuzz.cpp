// Poll replies and number texts straight from the line: any bytes must parse without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/protocol.h"
#include "core/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string reply(reinterpret_cast<const char*>(data), size);
  std::string trimmed = qtx::protocol::trim_reply(reply);
  if (!qtx::protocol::is_error_reply(trimmed)) {
    qtx::protocol::parse_rate_sample(trimmed);
    qtx::protocol::parse_occl_sample(trimmed);
  }
  double v = qtx::vb::Val(reply);
  qtx::vb::Format(v, "00.00");
  qtx::vb::Format(v, "0.00%");
  qtx::vb::general(v);
  qtx::vb::FormatNumber(v, 3);
  qtx::vb::CInt(v);
  return 0;
}
