// Poll replies and number texts straight from the line: any bytes must parse without fault, in
// whatever pieces they arrive.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/protocol.h"
#include "core/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first byte chooses where the text is cut into two reads.
  const size_t cut = size == 0 ? 0 : static_cast<size_t>(data[0]) % size;
  qtx::protocol::PollReplies replies;
  std::string reply;
  for (std::string_view piece : {std::string_view(bytes).substr(0, cut), std::string_view(bytes).substr(cut)}) {
    replies.add(piece);
    while (replies.next(reply)) {
      if (qtx::protocol::is_error_reply(reply)) continue;
      if (qtx::protocol::is_rate_sample(reply)) qtx::protocol::parse_rate_sample(reply);
      if (qtx::protocol::is_occl_sample(reply)) qtx::protocol::parse_occl_sample(reply);
    }
    if (replies.kept().size() > qtx::protocol::PollReplies::kMaxReplyLength) __builtin_trap();
  }
  std::string trimmed = qtx::protocol::trim_reply(bytes);
  if (!qtx::protocol::is_error_reply(trimmed)) {
    qtx::protocol::parse_rate_sample(trimmed);
    qtx::protocol::parse_occl_sample(trimmed);
  }
  double v = qtx::vb::Val(bytes);
  qtx::vb::Format(v, "00.00");
  qtx::vb::Format(v, "0.00%");
  qtx::vb::general(v);
  qtx::vb::FormatNumber(v, 3);
  qtx::vb::CInt(v);
  return 0;
}
