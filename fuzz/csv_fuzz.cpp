// Any file given to the spreadsheet conversion: a result, never a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/csv_export.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qtx::csv_export::convert_log(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
