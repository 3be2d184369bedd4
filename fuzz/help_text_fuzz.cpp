// The viewer's paragraph rule over any file bytes, in both topics.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/help_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)qtx::help::paragraph_text("main", bytes);
  (void)qtx::help::paragraph_text("graph", bytes);
  return 0;
}
