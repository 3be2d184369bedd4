// The simulated analyser: four channels, the live tests with their flow and pressure profile,
// and the answers to the program's commands. No input or output here; main.cpp owns the
// pseudo-terminal and the control channel.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// How the live readings are made.
struct Profile {
  double rate = 100.0;         // set rate, ml/h
  double noise = 0.5;          // standard deviation of the flow (ml/h) and of the pressure (mmHg)
  uint64_t seed = 1;           // each test starts its random numbers afresh from this seed
  bool pulsatile = false;      // the flow swings around the rate in 20-second strokes (mode "C")
  char mode = 0;               // mode letter; 0 = by the profile: "C" pulsatile, "A" up to 100 ml/h, else "B"
  double back_pressure = 2.0;  // mmHg
  double occl_start = 0.0;     // occlusion pressure at the start, mmHg
  double occl_slope = 10.0;    // rise of the occlusion pressure, mmHg per second
  double occl_max = 700.0;     // the pressure stops rising here (status "ALARM"), mmHg
  bool real_clock = false;     // elapsed time from the wall clock instead of the poll count
  double step = 1.0;           // seconds of test time per poll when the clock is not real

  char mode_letter() const;
};

// How the reports look.
enum class Enq { None, Start, Pages, Both };
enum class EndStyle { Tech, Bel };

struct ReportOptions {
  int log_rows = 20;                    // rows of a data log when the channel ran no test
  size_t log_size = 0;                  // bytes; a log at least this long (synthetic rows), 0 = off
  int summary_minutes = 10;             // length of the test a summary describes when the channel ran none
  size_t summary_size = 0;              // bytes; a summary at least this long (more interval lines), 0 = off
  Enq enq = Enq::None;                  // where ENQ is sent: before the report, before each new page
  int enq_pause_ms = 300;               // pause after each ENQ
  EndStyle end_style = EndStyle::Tech;  // Tech: sign-off line then BEL; Bel: "END OF DATA" BEL
  bool comment_label = false;           // a "Comment:" blank in the header
  std::string date = "Dec 8 2026";
  std::string time = "09:30";
};

// One piece of output: bytes, then a pause before the next piece.
struct Segment {
  std::string bytes;
  int pause_ms = 0;
  char channel = 0;  // the channel whose report this is (a stop drops it), 0 = none
};

struct RateRow {
  double t = 0;  // elapsed seconds
  double flow = 0, average = 0, volume = 0;
  int back_pressure = 0;
};

struct OcclRow {
  double t = 0;
  double psi = 0, mmhg = 0;
  bool alarm = false;
};

// Random numbers that are the same on every machine for a seed.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  double uniform();  // [0, 1)
  double gauss();    // standard normal
 private:
  uint64_t next();
  uint64_t state_;
};

// The readings of one test, one call per sample.
class RateGenerator {
 public:
  explicit RateGenerator(const Profile& p) : p_(p), rng_(p.seed) {}
  RateRow at(double t);

 private:
  Profile p_;
  Random rng_;
  double t_prev_ = 0, volume_ = 0;
};

class OcclGenerator {
 public:
  explicit OcclGenerator(const Profile& p) : p_(p), rng_(p.seed) {}
  OcclRow at(double t);

 private:
  Profile p_;
  Random rng_;
};

enum class TestKind { None, Rate, Occl };

struct Channel {
  bool connected = true;
  TestKind running = TestKind::None;
  TestKind last = TestKind::None;  // the test the reports describe
  int polls = 0;
  double started_at = 0;  // monotonic seconds, for the real clock
  Profile profile;        // the profile the test started with
  std::vector<RateRow> rate_rows;
  std::vector<OcclRow> occl_rows;
  RateGenerator rate_gen{Profile{}};
  OcclGenerator occl_gen{Profile{}};
};

// The rate_sample and occl_sample texts the analyser answers a poll with (CR LF at the end).
std::string rate_sample_text(char mode, const RateRow& r);
std::string occl_sample_text(const OcclRow& r);

// The port-test answer: the two reference lines; the first "." ends the second.
inline constexpr std::string_view kPortTestText =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789\r\nabcdefghijklmnopqrstuvwxyz  !#()-_=:.\r\n";

class Analyser {
 public:
  Analyser();

  Profile profile;
  ReportOptions reports;
  std::string port_test_text{kPortTestText};
  bool muted = false;  // commands are taken but never answered

  // Error replies on demand: the next `count` commands that would be answered get `c` CR.
  void force_error(char c, int count);

  // One command as received, without its CR. Returns what goes back, in order. A stop command
  // names its channel in `stopped`, so that the report still being sent for it can be dropped.
  std::vector<Segment> handle(std::string_view command, double now, char* stopped = nullptr);

  // Starts or stops a test as from the analyser's own keys.
  bool start_test(char channel, int digit, double now);
  void stop_test(char channel);
  bool set_connected(char channel, bool on);

  // A report sent without being asked (Receive Any), and the two downloads.
  std::vector<Segment> summary(char channel) const;
  std::vector<Segment> data_log(char channel) const;

  const Channel& channel(char c) const { return channels_[static_cast<size_t>(c - 'A')]; }
  static bool valid_channel(char c) { return c >= 'A' && c <= 'D'; }

 private:
  Channel& ch(char c) { return channels_[static_cast<size_t>(c - 'A')]; }
  std::vector<Segment> answer(std::string text);
  std::vector<Segment> poll(char channel, double now);

  std::array<Channel, 4> channels_;
  char forced_error_ = 0;
  int forced_count_ = 0;
};

}  // namespace sim
