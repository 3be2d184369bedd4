// A bare pseudo-terminal for tests of the serial port itself: the test holds the master end
// and reads exactly what the program put on the line.
#pragma once

#include <string>

namespace qtx::test {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // The device the program opens.
  const std::string& device() const { return device_; }
  // What arrived from the program within `timeout_ms`, once `count` bytes are in (or time is up).
  std::string read(size_t count, int timeout_ms = 5000);
  // Sends text to the program.
  void write(const std::string& text);

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open so the master never sees a hang-up
  std::string device_;
};

}  // namespace qtx::test
