// Any file opened in the log graph: both reading passes give a result, never a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qtx::log_reader::RefusedKinds kinds;
  qtx::log_reader::RecordCount count = qtx::log_reader::get_num_graph_records(text, kinds);
  // The second pass runs on what the first pass let through, and on any count at all.
  qtx::log_reader::get_graph_data(text, count.graph_last_index);
  qtx::log_reader::get_graph_data(text, static_cast<int16_t>(size % 7));
  return 0;
}
