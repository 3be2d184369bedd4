// Replays a fuzz target's corpus with the normal compiler, so every build runs what the fuzzers
// found: each file of the folders (or files) given on the command line is fed to the target
// once, and a few fixed edge inputs besides.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void feed(const std::string& bytes) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void feed_file(const std::filesystem::path& path, int& count) {
  std::ifstream in(path, std::ios::binary);
  feed(std::string(std::istreambuf_iterator<char>(in), {}));
  ++count;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (const std::string& edge : std::vector<std::string>{
           "", std::string(1, '\0'), "\r\n", "\x07", "\x05", std::string(70000, 'x'),
           std::string(4096, '\xff')}) {
    feed(edge);
    ++count;
  }
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg))
        if (entry.is_regular_file()) feed_file(entry.path(), count);
    } else if (std::filesystem::is_regular_file(arg)) {
      feed_file(arg, count);
    }
  }
  std::printf("%d inputs replayed\n", count);
  return 0;
}
