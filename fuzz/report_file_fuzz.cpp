// Any file loaded into the report window: read as bytes and as lines, never a fault; the lines
// are the file's text split at its line ends, and a file written is read back unchanged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text_lines.h"
#include "platform/files.h"

using namespace qtx;

namespace {

const std::string& scratch_path() {
  static const std::string path = [] {
    char name[] = "/tmp/qtx_report_fuzz_XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = scratch_path();
  if (!files::write_all(path, bytes)) return 0;
  const auto all = files::read_all(path);
  if (!all || *all != bytes) std::abort();
  const auto lines = files::read_lines(path);
  if (!lines || *lines != split_lines(bytes)) std::abort();
  return 0;
}
