#include "support/analyser_sim.h"

#include "escape.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/serial_port.h"

extern char** environ;

namespace qtx::test {

namespace {

using Clock = std::chrono::steady_clock;

bool write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

std::string AnalyserSim::binaryPath() {
  if (const char* env = std::getenv("QTX_ANALYSER_SIM"); env && *env) return env;
#ifdef QTX_ANALYSER_SIM
  return QTX_ANALYSER_SIM;
#else
  return "qtx-analyser-sim";
#endif
}

std::string AnalyserSim::escape(std::string_view bytes) { return sim::escape(bytes); }

std::string AnalyserSim::unescape(std::string_view text) { return sim::unescape(text).value_or(std::string(text)); }

AnalyserSim::AnalyserSim(std::vector<std::string> options) {
  // A simulator that ends early must not take the test down with it on the next write.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "cannot make pipes for the analyser simulator";
    return;
  }
  std::string binary = binaryPath();
  std::vector<std::string> args{binary};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  int rc = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  to_sim_ = in[1];
  from_sim_ = out[0];
  if (rc != 0) {
    pid_ = -1;
    exited_ = true;
    ADD_FAILURE() << "cannot start " << binary << ": " << std::strerror(rc);
    return;
  }
  fcntl(from_sim_, F_SETFL, fcntl(from_sim_, F_GETFL) | O_NONBLOCK);
  if (!waitFor([this] { return !pty_.empty(); }, kTimeout)) {
    ADD_FAILURE() << "the analyser simulator did not name its pseudo-terminal";
  }
}

AnalyserSim::~AnalyserSim() {
  if (to_sim_ >= 0) ::close(to_sim_);
  if (pid_ > 0 && !exited_) {
    ::kill(pid_, SIGTERM);
    auto end = Clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > end) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        break;
      }
      // Drain its output so it never waits on a full pipe while ending.
      pump(10);
    }
  }
  if (from_sim_ >= 0) ::close(from_sim_);
}

bool AnalyserSim::running() {
  pump(0);
  if (pid_ <= 0 || exited_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
  return !exited_;
}

bool AnalyserSim::pump(int ms) {
  if (from_sim_ < 0) return false;
  pollfd p{from_sim_, POLLIN, 0};
  if (::poll(&p, 1, ms) <= 0) return true;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(from_sim_, buf, sizeof buf);
    if (n > 0) {
      buffer_.append(buf, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) {
      ::close(from_sim_);
      from_sim_ = -1;
    }
    break;
  }
  size_t nl;
  while ((nl = buffer_.find('\n')) != std::string::npos) {
    std::string line = buffer_.substr(0, nl);
    buffer_.erase(0, nl + 1);
    handle(line);
  }
  return from_sim_ >= 0;
}

void AnalyserSim::handle(const std::string& line) {
  events_.push_back(line);
  if (line.rfind("PTY ", 0) == 0 && pty_.empty()) {
    pty_ = line.substr(4);
  } else if (line.rfind("RX ", 0) == 0) {
    received_ += unescape(std::string_view(line).substr(3));
    idle_ = false;
  } else if (line.rfind("TX ", 0) == 0) {
    sent_ += std::strtoull(line.c_str() + 3, nullptr, 10);
    idle_ = false;
  } else if (line == "SIGUSR1") {
    ++usr1_seen_;
    idle_ = false;
  } else if (line == "IDLE") {
    idle_ = true;
  } else if (line.rfind("OK ", 0) == 0 || line.rfind("ERR ", 0) == 0) {
    acks_.push_back(line);
    idle_ = false;
  }
}

template <class Done>
bool AnalyserSim::waitFor(Done done, std::chrono::milliseconds timeout) {
  auto end = Clock::now() + timeout;
  for (;;) {
    bool alive = pump(0);
    if (done()) return true;
    if (!alive || Clock::now() >= end) return false;
    pump(20);
  }
}

std::string AnalyserSim::received() {
  pump(0);
  return received_;
}

void AnalyserSim::clearReceived() {
  pump(0);
  received_.clear();
}

bool AnalyserSim::waitForReceived(std::string_view bytes, std::chrono::milliseconds timeout) {
  return waitFor([&] { return received_.find(bytes) != std::string::npos; }, timeout);
}

bool AnalyserSim::waitUntilIdle(std::chrono::milliseconds timeout) {
  return waitFor([&] { return idle_; }, timeout);
}

bool AnalyserSim::waitAnswered(std::string_view bytes, std::chrono::milliseconds timeout) {
  return waitForReceived(bytes, timeout) && waitUntilIdle(timeout);
}

bool AnalyserSim::command(std::string_view line, std::chrono::milliseconds timeout) {
  if (to_sim_ < 0) return false;
  std::string text(line);
  if (!write_all(to_sim_, text + "\n")) return false;
  std::string ok = "OK " + text;
  std::string err = "ERR " + text + ":";
  bool accepted = false;
  bool answered = waitFor(
      [&] {
        for (auto it = acks_.begin(); it != acks_.end(); ++it) {
          if (*it == ok || it->rfind(err, 0) == 0) {
            accepted = *it == ok;
            acks_.erase(acks_.begin(), it + 1);
            return true;
          }
        }
        return false;
      },
      timeout);
  return answered && accepted;
}

size_t AnalyserSim::sentCount() {
  pump(0);
  return sent_;
}

bool AnalyserSim::sendSignal(int signal, std::chrono::milliseconds timeout) {
  if (pid_ <= 0 || exited_) return false;
  pump(0);
  size_t before = usr1_seen_;
  if (::kill(pid_, signal) != 0) return false;
  if (signal != SIGUSR1) return true;
  return waitFor([&] { return usr1_seen_ > before; }, timeout);
}

bool waitForPortInput(SerialPort& port, int count, std::chrono::milliseconds timeout) {
  auto end = Clock::now() + timeout;
  while (port.inBufferCount() < count) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace qtx::test
