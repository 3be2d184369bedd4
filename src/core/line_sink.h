// Where a writer sends the lines of a file it builds: a file that stays open, or memory.
#pragma once

#include <string>
#include <string_view>

namespace qtx {

class LineSink {
 public:
  virtual ~LineSink() = default;
  // Appends the bytes; false when they could not all be written.
  virtual bool write(std::string_view bytes) = 0;
  // Pushes what was written to where it is kept (for a file: to the disk); false on failure.
  virtual bool flush() = 0;
};

// The bytes in memory; a test can make it fail from a given write on.
class StringSink : public LineSink {
 public:
  bool write(std::string_view bytes) override {
    if (fail_after_writes >= 0 && writes >= fail_after_writes) return false;
    ++writes;
    data.append(bytes);
    return true;
  }
  bool flush() override {
    ++flushes;
    return true;
  }

  std::string data;
  int writes = 0;
  int flushes = 0;
  int fail_after_writes = -1;  // -1: never fails
};

}  // namespace qtx
