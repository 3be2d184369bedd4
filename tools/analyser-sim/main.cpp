// qtx-analyser-sim: an analyser on a pseudo-terminal, for tests and for running the program
// without the instrument. See README.md for the options, the control commands and the events.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyser.h"
#include "escape.h"

namespace sim {
namespace {

constexpr size_t kMaxCommand = 256;  // a longer run of bytes without CR is dropped
constexpr size_t kPreview = 64;      // bytes of a reply shown in its TX event

const char kUsage[] =
    "usage: qtx-analyser-sim [options]\n"
    "Opens a pseudo-terminal, prints \"PTY <path>\" and answers like the analyser until stdin\n"
    "closes (or, with --no-stdin, until SIGTERM). Options (also \"set <name> <value>\" on stdin):\n"
    "  --channels LETTERS     connected channels (default ABCD; \"-\" for none)\n"
    "  --rate ML_H            set rate (100)            --noise ML_H    flow noise (0.5)\n"
    "  --seed N               random seed (1)           --pulsatile     pulsatile flow, mode C\n"
    "  --mode A|B|C|auto      mode letter (auto)        --back-pressure MMHG (2)\n"
    "  --occl-start MMHG (0)  --occl-slope MMHG_PER_S (10)  --occl-max MMHG (700)\n"
    "  --clock poll|real      test time per poll or from the wall clock (poll)\n"
    "  --step S               seconds per poll (1)\n"
    "  --log-rows N (20)      --log-size BYTES          data log of a channel without a test\n"
    "  --summary-minutes N (10) --summary-size BYTES    summary of a channel without a test\n"
    "  --enq none|start|pages|both (none)  --enq-pause MS (300)\n"
    "  --end tech|bel         report ending (tech)      --comment   header with \"Comment:\"\n"
    "  --date TEXT (\"Dec 8 2026\")  --time TEXT (\"09:30\")\n"
    "  --cps N                characters per second, 0 = as fast as possible (0)\n"
    "  --mute                 take commands, answer nothing\n"
    "  --error C              the first answer is C CR instead\n"
    "  --port-test-text ESC   answer to DLA3 (escaped)\n"
    "  --send-any MS          send a report unprompted MS ms after the start\n"
    "  --any-report log|summary (log)  --any-channel A-D (A)\n"
    "  --log FILE             events to FILE instead of stdout\n"
    "  --link PATH            symbolic link PATH to the pseudo-terminal\n"
    "  --no-stdin             no control channel; serve until SIGTERM\n";

double mono() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

int sig_pipe[2] = {-1, -1};

void on_signal(int sig) {
  int saved = errno;
  char c = sig == SIGUSR1 ? 'U' : 'T';
  ssize_t r = ::write(sig_pipe[1], &c, 1);
  (void)r;
  errno = saved;
}

// The event log: one line per event, never blocking the analyser when it goes to a pipe.
class Events {
 public:
  void open_stdout() {
    fd_ = 1;
    struct stat st {};
    if (fstat(1, &st) == 0 && S_ISFIFO(st.st_mode)) {
      fcntl(1, F_SETFL, fcntl(1, F_GETFL) | O_NONBLOCK);
      nonblocking_ = true;
    }
  }
  bool open_file(const char* path) {
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    return fd_ >= 0;
  }
  void line(std::string_view text) {
    buf_.append(text);
    buf_.push_back('\n');
    flush();
  }
  void flush() {
    while (!buf_.empty() && fd_ >= 0) {
      ssize_t n = ::write(fd_, buf_.data(), buf_.size());
      if (n > 0) {
        buf_.erase(0, static_cast<size_t>(n));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && errno == EAGAIN) {
        return;
      } else {
        buf_.clear();  // the reader is gone
        return;
      }
    }
  }
  bool waiting() const { return nonblocking_ && !buf_.empty(); }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
  bool nonblocking_ = false;
  std::string buf_;
};

std::optional<double> number(const std::string& v) {
  if (v.empty()) return std::nullopt;
  char* end = nullptr;
  double d = std::strtod(v.c_str(), &end);
  if (*end != '\0' || !std::isfinite(d)) return std::nullopt;
  return d;
}

// "2000", "500k", "3M".
std::optional<size_t> size_value(std::string v) {
  double mult = 1;
  if (!v.empty() && (v.back() == 'k' || v.back() == 'K')) mult = 1024, v.pop_back();
  if (!v.empty() && (v.back() == 'm' || v.back() == 'M')) mult = 1024 * 1024, v.pop_back();
  auto d = number(v);
  if (!d || *d < 0 || *d * mult > 1e10) return std::nullopt;
  return static_cast<size_t>(*d * mult);
}

std::optional<bool> on_off(const std::string& v) {
  if (v == "on" || v == "1" || v == "true" || v == "yes") return true;
  if (v == "off" || v == "0" || v == "false" || v == "no") return false;
  return std::nullopt;
}

class Simulator {
 public:
  int run(int argc, char** argv);

 private:
  // An option of the command line or of "set": "" when taken, else why not.
  std::string apply(const std::string& name, const std::string& value, bool& used_value);
  bool is_flag(const std::string& name) const;

  bool open_pty();
  void enqueue(std::vector<Segment> segments);
  void write_output(double now);
  void read_port();
  void take_byte(char c, double now);
  void read_control();
  void control(const std::string& line, double now);
  void send_any(const std::string& kind, char channel);
  double next_wake(double now) const;

  Analyser analyser_;
  Events events_;
  int master_ = -1, slave_ = -1;
  std::string slave_name_;
  std::string link_;
  bool use_stdin_ = true;
  bool quit_ = false;
  bool activity_ = false;

  std::deque<Segment> queue_;
  size_t offset_ = 0;        // bytes of the front segment already written
  size_t segment_sent_ = 0;  // the same, kept for its TX event
  bool blocked_ = false;     // the pseudo-terminal took no more; wait until it does
  double pause_until_ = 0;
  long cps_ = 0;
  double next_byte_at_ = 0;

  std::string command_;
  std::string control_buf_;

  std::string any_report_ = "log";
  char any_channel_ = 'A';
  double send_any_at_ = -1;
};

bool Simulator::is_flag(const std::string& name) const {
  return name == "pulsatile" || name == "comment" || name == "mute" || name == "no-stdin" || name == "help";
}

std::string Simulator::apply(const std::string& name, const std::string& value, bool& used_value) {
  used_value = !is_flag(name);
  Profile& p = analyser_.profile;
  ReportOptions& r = analyser_.reports;
  auto num = [&](double& target, double lo, double hi) -> std::string {
    auto d = number(value);
    if (!d || *d < lo || *d > hi) return "bad number";
    target = *d;
    return "";
  };
  auto whole = [&](auto& target, double lo, double hi) -> std::string {
    auto d = number(value);
    if (!d || *d < lo || *d > hi || *d != std::floor(*d)) return "bad whole number";
    target = static_cast<std::remove_reference_t<decltype(target)>>(*d);
    return "";
  };
  if (is_flag(name) && !value.empty()) {
    // "set pulsatile off"
    auto b = on_off(value);
    if (!b) return "expected on or off";
    used_value = true;
    if (name == "pulsatile") p.pulsatile = *b;
    if (name == "comment") r.comment_label = *b;
    if (name == "mute") analyser_.muted = *b;
    return "";
  }
  if (name == "channels") {
    for (char c = 'A'; c <= 'D'; ++c) analyser_.set_connected(c, false);
    if (value == "-") return "";
    for (char c : value) {
      char u = static_cast<char>(c >= 'a' && c <= 'd' ? c - 32 : c);
      if (!analyser_.set_connected(u, true)) return "channels are letters A to D";
    }
    return "";
  }
  if (name == "rate") return num(p.rate, 0, 1e6);
  if (name == "noise") return num(p.noise, 0, 1e6);
  if (name == "seed") return whole(p.seed, 0, 1.8e19);
  if (name == "pulsatile") return p.pulsatile = true, "";
  if (name == "mode") {
    if (value == "auto") return p.mode = 0, "";
    if (value == "A" || value == "B" || value == "C") return p.mode = value[0], "";
    return "mode is A, B, C or auto";
  }
  if (name == "back-pressure") return num(p.back_pressure, 0, 1e6);
  if (name == "occl-start") return num(p.occl_start, 0, 1e6);
  if (name == "occl-slope") return num(p.occl_slope, -1e6, 1e6);
  if (name == "occl-max") return num(p.occl_max, 0, 1e6);
  if (name == "clock") {
    if (value == "poll" || value == "real") return p.real_clock = value == "real", "";
    return "clock is poll or real";
  }
  if (name == "step") return num(p.step, 0, 1e6);
  if (name == "log-rows") return whole(r.log_rows, 0, 1e7);
  if (name == "summary-minutes") return whole(r.summary_minutes, 1, 1e6);
  if (name == "log-size" || name == "summary-size") {
    auto s = size_value(value);
    if (!s) return "bad size";
    (name == "log-size" ? r.log_size : r.summary_size) = *s;
    return "";
  }
  if (name == "enq") {
    if (value == "none") return r.enq = Enq::None, "";
    if (value == "start") return r.enq = Enq::Start, "";
    if (value == "pages") return r.enq = Enq::Pages, "";
    if (value == "both") return r.enq = Enq::Both, "";
    return "enq is none, start, pages or both";
  }
  if (name == "enq-pause") return whole(r.enq_pause_ms, 0, 600000);
  if (name == "end") {
    if (value == "tech" || value == "bel") return r.end_style = value == "tech" ? EndStyle::Tech : EndStyle::Bel, "";
    return "end is tech or bel";
  }
  if (name == "comment") return r.comment_label = true, "";
  if (name == "date") return r.date = value, "";
  if (name == "time") return r.time = value, "";
  if (name == "cps") return whole(cps_, 0, 1e9);
  if (name == "mute") return analyser_.muted = true, "";
  if (name == "error") {
    if (value.size() != 1) return "error is one character";
    analyser_.force_error(value[0], 1);
    return "";
  }
  if (name == "port-test-text") {
    auto t = unescape(value);
    if (!t) return "bad escape";
    analyser_.port_test_text = *t;
    return "";
  }
  if (name == "send-any") {
    double ms = 0;
    if (auto e = num(ms, 0, 1e9); !e.empty()) return e;
    send_any_at_ = mono() + ms / 1000.0;
    return "";
  }
  if (name == "any-report") {
    if (value == "log" || value == "summary") return any_report_ = value, "";
    return "any-report is log or summary";
  }
  if (name == "any-channel") {
    if (value.size() == 1 && Analyser::valid_channel(value[0])) return any_channel_ = value[0], "";
    return "any-channel is A to D";
  }
  if (name == "log") return events_.open_file(value.c_str()) ? "" : "cannot write " + value;
  if (name == "link") return link_ = value, "";
  if (name == "no-stdin") return use_stdin_ = false, "";
  return "unknown option";
}

bool Simulator::open_pty() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
  const char* name = ptsname(master_);
  if (!name) return false;
  slave_name_ = name;
  // Our own hold on the terminal: the program may close and reopen its end without the line
  // hanging up.
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) return false;
  termios t{};
  if (tcgetattr(slave_, &t) == 0) {
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(slave_, TCSANOW, &t);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  return true;
}

void Simulator::enqueue(std::vector<Segment> segments) {
  for (Segment& s : segments) queue_.push_back(std::move(s));
}

void Simulator::write_output(double now) {
  while (!queue_.empty() && !blocked_) {
    if (now < pause_until_) return;
    if (cps_ > 0 && now < next_byte_at_) return;
    Segment& s = queue_.front();
    size_t left = s.bytes.size() - offset_;
    size_t chunk = std::min<size_t>(left, 65536);
    if (cps_ > 0) chunk = std::min<size_t>(chunk, static_cast<size_t>(std::max<long>(1, cps_ / 50)));
    ssize_t n = chunk ? ::write(master_, s.bytes.data() + offset_, chunk) : 0;
    if (n < 0) {
      if (errno == EINTR) continue;
      blocked_ = true;  // EAGAIN: wait for room
      return;
    }
    offset_ += static_cast<size_t>(n);
    if (cps_ > 0) next_byte_at_ = std::max(next_byte_at_, now) + static_cast<double>(n) / static_cast<double>(cps_);
    if (offset_ >= s.bytes.size()) {
      std::string preview = escape(std::string_view(s.bytes).substr(0, kPreview));
      if (s.bytes.size() > kPreview) preview += "...";
      events_.line("TX " + std::to_string(s.bytes.size()) + " " + preview);
      if (s.pause_ms > 0) pause_until_ = now + s.pause_ms / 1000.0;
      queue_.pop_front();
      offset_ = 0;
      now = mono();
    }
  }
}

void Simulator::read_port() {
  char buf[4096];
  for (;;) {
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) {
      std::string_view got(buf, static_cast<size_t>(n));
      events_.line("RX " + escape(got));
      activity_ = true;
      double now = mono();
      for (char c : got) take_byte(c, now);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;  // EAGAIN, or nothing (we hold the terminal, so no hang-up)
  }
}

void Simulator::take_byte(char c, double now) {
  if (c == '\n' || c == '\0') return;  // never part of a command
  if (c != '\r') {
    command_.push_back(c);
    if (command_.size() > kMaxCommand) {
      events_.line("CMD " + escape(command_.substr(0, kPreview)) + "... (too long, dropped)");
      command_.clear();
      enqueue(analyser_.handle("?", now));
    }
    return;
  }
  std::string cmd;
  cmd.swap(command_);
  if (cmd.empty()) return;
  events_.line("CMD " + escape(cmd));
  char stopped = 0;
  std::vector<Segment> reply = analyser_.handle(cmd, now, &stopped);
  if (stopped) {
    // A stop ends the report still going out for that channel.
    for (auto it = queue_.begin(); it != queue_.end();) {
      if (it->channel == stopped) {
        if (it == queue_.begin()) {
          if (offset_ > 0) {
            // What went out of it still counts as sent.
            events_.line("TX " + std::to_string(offset_) + " " +
                         escape(std::string_view(it->bytes).substr(0, std::min(offset_, kPreview))) + "... (stopped)");
          }
          offset_ = 0;
          pause_until_ = 0;
        }
        it = queue_.erase(it);
      } else {
        ++it;
      }
    }
  }
  enqueue(std::move(reply));
}

void Simulator::send_any(const std::string& kind, char channel) {
  enqueue(kind == "summary" ? analyser_.summary(channel) : analyser_.data_log(channel));
  activity_ = true;
}

void Simulator::read_control() {
  char buf[4096];
  ssize_t n = ::read(0, buf, sizeof buf);
  if (n < 0 && errno == EINTR) return;
  if (n <= 0) {
    quit_ = true;  // the controlling side went away
    return;
  }
  control_buf_.append(buf, static_cast<size_t>(n));
  size_t nl;
  while ((nl = control_buf_.find('\n')) != std::string::npos) {
    std::string line = control_buf_.substr(0, nl);
    control_buf_.erase(0, nl + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) control(line, mono());
  }
}

void Simulator::control(const std::string& line, double now) {
  std::vector<std::string> w;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t j = line.find(' ', i);
    if (j == std::string::npos) j = line.size();
    if (j > i) w.push_back(line.substr(i, j - i));
    i = j;
  }
  activity_ = true;
  auto fail = [&](const std::string& why) { events_.line("ERR " + line + ": " + why); };
  auto channel = [](const std::string& s) { return s.size() == 1 && Analyser::valid_channel(s[0]) ? s[0] : 0; };
  if (w.empty()) return;
  const std::string& cmd = w[0];
  if (cmd == "send-any") {
    std::string kind = w.size() > 1 ? w[1] : any_report_;
    char ch = w.size() > 2 ? channel(w[2]) : any_channel_;
    if ((kind != "log" && kind != "summary") || !ch || w.size() > 3) return fail("send-any [log|summary] [A-D]");
    send_any(kind, ch);
  } else if (cmd == "send") {
    // Everything after "send " as escaped bytes, blanks included.
    auto bytes = unescape(line.size() > 5 ? std::string_view(line).substr(5) : std::string_view());
    if (!bytes) return fail("bad escape");
    enqueue({Segment{*bytes}});
  } else if (cmd == "error") {
    if (w.size() == 2 && w[1] == "off") {
      analyser_.force_error(0, 0);
    } else {
      int count = 1;
      if (w.size() == 3) {
        auto d = number(w[2]);
        if (!d || *d < 0 || *d > 1e6) return fail("bad count");
        count = static_cast<int>(*d);
      }
      if (w.size() < 2 || w.size() > 3 || w[1].size() != 1) return fail("error C [COUNT] | error off");
      analyser_.force_error(w[1][0], count);
    }
  } else if (cmd == "connect") {
    auto on = w.size() == 3 ? on_off(w[2]) : std::nullopt;
    if (w.size() != 3 || !channel(w[1]) || !on) return fail("connect A-D on|off");
    analyser_.set_connected(w[1][0], *on);
  } else if (cmd == "start") {
    if (w.size() != 3 || !channel(w[1]) || (w[2] != "1" && w[2] != "4")) return fail("start A-D 1|4");
    analyser_.start_test(w[1][0], w[2][0] - '0', now);
  } else if (cmd == "stop") {
    if (w.size() != 2 || !channel(w[1])) return fail("stop A-D");
    analyser_.stop_test(w[1][0]);
  } else if (cmd == "mute") {
    auto on = w.size() == 2 ? on_off(w[1]) : std::nullopt;
    if (!on) return fail("mute on|off");
    analyser_.muted = *on;
  } else if (cmd == "set") {
    if (w.size() < 2) return fail("set NAME [VALUE]");
    // The value is the rest of the line (dates hold blanks).
    size_t at = line.find(w[1], line.find(w[0]) + w[0].size()) + w[1].size();
    while (at < line.size() && line[at] == ' ') ++at;
    std::string value = line.substr(at);
    if (w[1] == "log" || w[1] == "link" || w[1] == "no-stdin" || w[1] == "help") return fail("not while running");
    bool used = false;
    std::string why = apply(w[1], value, used);
    if (!why.empty()) return fail(why);
    if (!used && !value.empty()) return fail("takes no value");
  } else if (cmd == "sync") {
  } else if (cmd == "quit") {
    quit_ = true;
  } else {
    return fail("unknown command");
  }
  events_.line("OK " + line);
}

double Simulator::next_wake(double now) const {
  double wake = -1;
  auto at = [&](double t) {
    if (t < 0) return;
    if (wake < 0 || t < wake) wake = t;
  };
  if (!queue_.empty() && !blocked_) {
    at(std::max(pause_until_, cps_ > 0 ? next_byte_at_ : 0.0));
  }
  if (send_any_at_ >= 0) at(send_any_at_);
  return wake < 0 ? -1 : std::max(0.0, wake - now);
}

int Simulator::run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool events_to_file = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (a.rfind("--", 0) != 0) {
      std::fprintf(stderr, "qtx-analyser-sim: unexpected argument %s\n%s", a.c_str(), kUsage);
      return 2;
    }
    a.erase(0, 2);
    std::string value;
    bool inline_value = false;
    if (auto eq = a.find('='); eq != std::string::npos) {
      value = a.substr(eq + 1);
      a.erase(eq);
      inline_value = true;
    }
    if (a == "help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (!is_flag(a) && !inline_value) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "qtx-analyser-sim: --%s needs a value\n", a.c_str());
        return 2;
      }
      value = args[++i];
    }
    bool used = false;
    std::string why = apply(a, value, used);
    if (!why.empty()) {
      std::fprintf(stderr, "qtx-analyser-sim: --%s %s: %s\n", a.c_str(), value.c_str(), why.c_str());
      return 2;
    }
    if (a == "log") events_to_file = true;
  }

  if (pipe(sig_pipe) != 0) return 1;
  for (int fd : sig_pipe) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  sigaction(SIGUSR1, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  if (!open_pty()) {
    std::fprintf(stderr, "qtx-analyser-sim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  if (!link_.empty()) {
    struct stat st {};
    if (lstat(link_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(link_.c_str());
    if (symlink(slave_name_.c_str(), link_.c_str()) != 0) {
      std::fprintf(stderr, "qtx-analyser-sim: cannot link %s: %s\n", link_.c_str(), std::strerror(errno));
      return 1;
    }
  }
  std::printf("PTY %s\n", slave_name_.c_str());
  std::fflush(stdout);
  if (!events_to_file) events_.open_stdout();

  while (!quit_) {
    double now = mono();
    if (send_any_at_ >= 0 && now >= send_any_at_) {
      send_any_at_ = -1;
      send_any(any_report_, any_channel_);
    }
    write_output(now);
    if (activity_ && queue_.empty()) {
      events_.line("IDLE");
      activity_ = false;
    }

    pollfd fds[4];
    int n = 0;
    fds[n++] = pollfd{master_, static_cast<short>(POLLIN | (blocked_ ? POLLOUT : 0)), 0};
    fds[n++] = pollfd{sig_pipe[0], POLLIN, 0};
    int control_at = -1, events_at = -1;
    if (use_stdin_) control_at = n, fds[n++] = pollfd{0, POLLIN, 0};
    if (events_.waiting()) events_at = n, fds[n++] = pollfd{events_.fd(), POLLOUT, 0};
    double wait = next_wake(mono());
    int timeout = wait < 0 ? -1 : static_cast<int>(std::ceil(wait * 1000.0));
    int r = ::poll(fds, static_cast<nfds_t>(n), timeout);
    if (r < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) {
      char s[16];
      ssize_t k;
      while ((k = ::read(sig_pipe[0], s, sizeof s)) > 0) {
        for (ssize_t j = 0; j < k; ++j) {
          if (s[j] == 'T') quit_ = true;
          if (s[j] == 'U') {
            events_.line("SIGUSR1");
            send_any(any_report_, any_channel_);
          }
        }
      }
    }
    if (fds[0].revents & POLLOUT) blocked_ = false;
    if (fds[0].revents & POLLIN) read_port();
    if (fds[0].revents & (POLLHUP | POLLERR) && !(fds[0].revents & POLLIN)) {
      // Cannot happen while we hold the terminal; do not spin if it does.
      usleep(10000);
    }
    if (control_at >= 0 && fds[control_at].revents & (POLLIN | POLLHUP | POLLERR)) read_control();
    if (events_at >= 0 && fds[events_at].revents) events_.flush();
  }

  events_.line("EXIT");
  if (!link_.empty()) ::unlink(link_.c_str());
  ::close(master_);
  ::close(slave_);
  return 0;
}

}  // namespace
}  // namespace sim

int main(int argc, char** argv) {
  sim::Simulator s;
  return s.run(argc, argv);
}
