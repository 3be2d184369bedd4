// AnalyserSim: runs the analyser simulator (tools/analyser-sim) for one test.
//
//   qtx::test::AnalyserSim sim({"--noise", "0"});   // options as on its command line
//   qtx::test::TestApp t;                           // declare the simulator first, so the
//   t.setPort(2, sim.ptyPath());                    // program's port closes before it goes
//   ... the program sends "DLA2" CR ...
//   ASSERT_TRUE(sim.waitAnswered("DLA2\r"));        // received it and sent the whole reply
//   ASSERT_TRUE(qtx::test::waitForPortInput(t.comm(), 1));
//   sim.command("error n");                         // control command, acknowledged
//
// - ptyPath(): the pseudo-terminal to point QTX_COM<n> at (TestApp::setPort).
// - received() / clearReceived(): every byte the program sent, since the start or the last
//   clear, exactly as it came.
// - waitForReceived(bytes): until received() holds `bytes`.
// - waitUntilIdle(): until the simulator has dealt with everything it was sent and has written
//   every byte of its answers (they are then in the pseudo-terminal, on their way to the port).
//   Call it after waitForReceived (or use waitAnswered), otherwise it may see the idle state
//   from before the program's command.
// - command(line): one control command (README.md), waits for its acknowledgement; false
//   when the simulator refused it.
// - sentCount(): bytes the simulator has written so far.
// - sendSignal(SIGUSR1): Receive Any, a report sent unprompted; waits until the simulator has
//   taken the signal, so waitUntilIdle() then waits for the whole report.
// Waits poll (no fixed sleeps) and give up after `timeout` (generous by default), failing
// nothing themselves: assert on the result. The destructor stops the process.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {
class SerialPort;
}

namespace qtx::test {

class AnalyserSim {
 public:
  static constexpr std::chrono::milliseconds kTimeout{20000};

  // Starts the simulator with these options. On failure the test fails (ADD_FAILURE) and
  // ptyPath() is empty.
  explicit AnalyserSim(std::vector<std::string> options = {});
  ~AnalyserSim();
  AnalyserSim(const AnalyserSim&) = delete;
  AnalyserSim& operator=(const AnalyserSim&) = delete;

  const std::string& ptyPath() const { return pty_; }
  bool running();

  std::string received();
  void clearReceived();
  bool waitForReceived(std::string_view bytes, std::chrono::milliseconds timeout = kTimeout);
  bool waitUntilIdle(std::chrono::milliseconds timeout = kTimeout);
  // waitForReceived(bytes), then waitUntilIdle().
  bool waitAnswered(std::string_view bytes, std::chrono::milliseconds timeout = kTimeout);
  bool command(std::string_view line, std::chrono::milliseconds timeout = kTimeout);
  size_t sentCount();
  bool sendSignal(int signal, std::chrono::milliseconds timeout = kTimeout);

  // Every event line the simulator wrote so far (for failure messages).
  const std::vector<std::string>& events() const { return events_; }

  // The simulator program: $QTX_ANALYSER_SIM, else the one built with the tests.
  static std::string binaryPath();
  // Bytes in the event log's escaped form and back.
  static std::string escape(std::string_view bytes);
  static std::string unescape(std::string_view text);

 private:
  // Reads what the simulator wrote, waiting up to `ms` for something; false when it is gone.
  bool pump(int ms);
  void handle(const std::string& line);
  template <class Done>
  bool waitFor(Done done, std::chrono::milliseconds timeout);

  pid_t pid_ = -1;
  int to_sim_ = -1;
  int from_sim_ = -1;
  bool exited_ = false;
  std::string pty_;
  std::string buffer_;
  std::string received_;
  std::vector<std::string> events_;
  std::vector<std::string> acks_;  // "OK ..." and "ERR ..." lines not yet taken
  size_t sent_ = 0;
  size_t usr1_seen_ = 0;
  bool idle_ = true;
};

// Waits until the program's port counts at least `count` characters waiting (the pseudo-
// terminal hands written bytes over with a short delay).
bool waitForPortInput(SerialPort& port, int count, std::chrono::milliseconds timeout = AnalyserSim::kTimeout);

}  // namespace qtx::test
