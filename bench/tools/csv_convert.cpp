// The CSV conversion as a whole process, for the benchmark against tr:
//   qtx_csv_convert <log> <csv>        converts a data log as the report window does
//   qtx_csv_convert --make-log <rows> <log>   writes a rate log of that many rows
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/csv_export.h"
#include "support/rate_log_maker.h"

using namespace qtx;

namespace {

bool read_file(const char* path, std::string& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  out.resize(size > 0 ? static_cast<size_t>(size) : 0);
  const bool ok = std::fread(out.data(), 1, out.size(), f) == out.size();
  std::fclose(f);
  return ok;
}

bool write_file(const char* path, const std::string& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::string rate_log(int rows) { return bench::make_rate_log({.rows = rows}); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--make-log") return write_file(argv[3], rate_log(std::atoi(argv[2]))) ? 0 : 1;
  if (argc != 3) {
    std::fprintf(stderr, "usage: qtx_csv_convert <log> <csv> | --make-log <rows> <log>\n");
    return 2;
  }
  std::string log;
  if (!read_file(argv[1], log)) return 1;
  const csv_export::Conversion c = csv_export::convert_log(log);
  log = std::string();
  if (!write_file(argv[2], c.output)) return 1;
  return c.outcome == csv_export::Outcome::Success ? 0 : 3;
}
