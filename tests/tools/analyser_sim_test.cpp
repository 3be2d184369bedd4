// The analyser simulator as other tests rely on it: replies, report texts, control commands
// and its life as a process, seen from the far end of its pseudo-terminal.
#include "support/analyser_sim.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/protocol.h"

using namespace qtx;
using namespace qtx::test;
using namespace std::string_literals;

namespace {

// The program's end of the line, opened raw as the serial port opens it.
class Line {
 public:
  // `already_sent`: what the simulator wrote to an earlier opening of the line.
  explicit Line(const std::string& path, size_t already_sent = 0) : total_(already_sent) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_GE(fd_, 0) << "cannot open " << path;
    termios t{};
    if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(fd_, TCSANOW, &t);
    }
  }
  ~Line() {
    if (fd_ >= 0) ::close(fd_);
  }

  void send(std::string_view text) { ASSERT_EQ(::write(fd_, text.data(), text.size()), ssize_t(text.size())); }

  // Reads until `done(text so far)` or the time is up.
  template <class Done>
  std::string read_until(Done done, int timeout_ms = 20000) {
    std::string got;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done(got)) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char buf[65536];
      ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    total_ += got.size();
    return got;
  }

  // Everything the simulator has written so far and this end has not read yet.
  std::string take(AnalyserSim& sim) {
    size_t expected = sim.sentCount();
    return read_until([&](const std::string& s) { return total_ + s.size() >= expected; });
  }

  // One command and its whole answer.
  std::string ask(AnalyserSim& sim, std::string_view command) {
    sim.clearReceived();
    send(command);
    EXPECT_TRUE(sim.waitAnswered(command)) << command;
    return take(sim);
  }

  // A whole report, however long (the simulator waits while the line is full).
  std::string report(std::string_view command) {
    send(command);
    return read_until([](const std::string& s) { return !s.empty() && s.back() == '\a'; });
  }

 private:
  int fd_ = -1;
  size_t total_ = 0;
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t crlf; (crlf = text.find("\r\n", at)) != std::string::npos; at = crlf + 2)
    out.push_back(text.substr(at, crlf - at));
  out.push_back(text.substr(at));
  return out;
}

size_t count(const std::string& text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Every line ends with CR LF: no CR or LF stands alone.
void expect_crlf_lines(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
    }
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
    }
  }
}

// The blank after a label that the program writes a device-record value into.
void expect_blank(const std::string& text, const std::string& label, size_t offset, size_t width) {
  size_t p = text.find(label);
  ASSERT_NE(p, std::string::npos) << label;
  EXPECT_EQ(text.substr(p + offset, width), std::string(width, '_')) << label;
}

void expect_header(const std::string& text, char channel) {
  // 0-based offsets of the value after each label, as the header filler writes them.
  expect_blank(text, "Manufacturer:", 14, 18);
  expect_blank(text, "Model:", 7, 22);
  expect_blank(text, "Serial No.:", 12, 20);
  expect_blank(text, "Control No.:", 13, 16);
  expect_blank(text, "Department:", 12, 20);
  expect_blank(text, "Location: ", 10, 19);
  expect_blank(text, "Set Rate(s):", 13, 13);
  expect_blank(text, "VTBI:", 6, 22);
  // The comment line goes in 31 characters after "VTBI:", right after its CR.
  size_t v = text.find("VTBI:");
  EXPECT_EQ(text.substr(v + 31, 2), "\r\n");
  EXPECT_NE(text.find("Channel: "s + channel + "\r\n"), std::string::npos);
}

// The analyser's own sign-off: nine characters (an empty line and seven blanks) before "Tech",
// so cutting there leaves the text ending with its last line end.
void expect_tech_line(const std::string& text) {
  size_t p = text.find("Tech");
  ASSERT_NE(p, std::string::npos);
  EXPECT_EQ(text.substr(p - 9, 9), "\r\n" + std::string(7, ' '));
  EXPECT_EQ(text.substr(p - 11, 2), "\r\n");
  EXPECT_EQ(count(text, "Tech"), 1u);
}

}  // namespace

TEST(AnalyserSim, PortTestErrorRepliesAndExactBytesReceived) {
  AnalyserSim sim({"--channels", "AC"});
  ASSERT_FALSE(sim.ptyPath().empty());
  Line line(sim.ptyPath());

  EXPECT_EQ(line.ask(sim, "DLA3\r"),
            std::string(protocol::kPortTestLine1) + "\r\n" + std::string(protocol::kPortTestLine2) + "\r\n");
  EXPECT_EQ(sim.received(), "DLA3\r");

  EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");  // no test running
  EXPECT_EQ(line.ask(sim, "GRB\r"), "n\r");  // channel B not connected
  EXPECT_EQ(line.ask(sim, "DLB1\r"), "n\r");
  EXPECT_EQ(line.ask(sim, "DLD2\r"), "n\r");
  EXPECT_EQ(line.ask(sim, "RTB1\r"), "n\r");
  EXPECT_EQ(line.ask(sim, "XYZ\r"), "?\r");   // not a command
  EXPECT_EQ(line.ask(sim, "GRE\r"), "?\r");   // no channel E
  EXPECT_EQ(line.ask(sim, "RTA7\r"), "?\r");  // no test 7
  EXPECT_EQ(line.ask(sim, "PRA1\r"), "");     // taken silently
  EXPECT_EQ(line.ask(sim, "STC\r"), "");

  ASSERT_TRUE(sim.command("connect B on"));
  EXPECT_EQ(line.ask(sim, "GRB\r"), "e\r");
  ASSERT_TRUE(sim.command("connect A off"));
  EXPECT_EQ(line.ask(sim, "GRA\r"), "n\r");
  ASSERT_TRUE(sim.command("connect A on"));

  // Error replies on demand replace the next answers, then answers are normal again.
  ASSERT_TRUE(sim.command("error ? 2"));
  EXPECT_EQ(line.ask(sim, "DLA3\r"), "?\r");
  EXPECT_EQ(line.ask(sim, "GRA\r"), "?\r");
  EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");
  ASSERT_TRUE(sim.command("error n"));
  ASSERT_TRUE(sim.command("error off"));
  EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");

  // Raw bytes on demand, any byte included.
  ASSERT_TRUE(sim.command("send 1,2\\x00\\x07 \\\\x"));
  ASSERT_TRUE(sim.waitUntilIdle());
  EXPECT_EQ(line.take(sim), "1,2\0\a \\x"s);

  // Mute: commands are taken, nothing is answered.
  ASSERT_TRUE(sim.command("mute on"));
  size_t before = sim.sentCount();
  EXPECT_EQ(line.ask(sim, "DLA3\r"), "");
  EXPECT_EQ(line.ask(sim, "GRA\r"), "");
  EXPECT_EQ(sim.sentCount(), before);

  // Refused control commands say so.
  EXPECT_FALSE(sim.command("connect E on"));
  EXPECT_FALSE(sim.command("start A 2"));
  EXPECT_FALSE(sim.command("set rate fast"));
  EXPECT_FALSE(sim.command("no such thing"));
  EXPECT_FALSE(sim.command("send \\q"));
}

TEST(AnalyserSim, CommandsAreFramedByCarriageReturnAlone) {
  AnalyserSim sim;
  Line line(sim.ptyPath());

  // Split over writes, with line feeds and NUL characters around it.
  line.send("\n\0G"s);
  ASSERT_TRUE(sim.waitAnswered("G"));
  line.send("R\0A"s);
  ASSERT_TRUE(sim.waitAnswered("A"));
  EXPECT_EQ(line.ask(sim, "\r"), "e\r");
  EXPECT_EQ(sim.received(), "\r");
  EXPECT_EQ(line.ask(sim, "\r\r\r"), "");  // empty commands get nothing

  // A long run without CR is dropped with one "?" and does not disturb what follows.
  EXPECT_EQ(line.ask(sim, std::string(257, 'x')), "?\r");
  EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");
  // Every byte value: the one CR in it ends a command that is not one.
  std::string junk;
  for (int i = 0; i < 256; ++i) junk.push_back(static_cast<char>(i));
  EXPECT_EQ(line.ask(sim, junk), "?\r");
  EXPECT_EQ(sim.received(), junk);  // every byte recorded as it came
  EXPECT_EQ(line.ask(sim, "\rDLA3\r"),
            "?\r" + std::string(protocol::kPortTestLine1) + "\r\n" + std::string(protocol::kPortTestLine2) + "\r\n");
}

TEST(AnalyserSim, RateTestSamplesFollowTheProfile) {
  AnalyserSim sim({"--rate", "120", "--noise", "0", "--back-pressure", "12"});
  Line line(sim.ptyPath());

  EXPECT_EQ(line.ask(sim, "RTA1\r"), "");  // no answer to a start
  std::vector<protocol::RateSample> samples;
  for (int i = 0; i < 3; ++i) {
    std::string reply = line.ask(sim, "GRA\r");
    EXPECT_EQ(reply.substr(reply.size() - 2), "\r\n");
    EXPECT_FALSE(protocol::is_error_reply(protocol::trim_reply(reply)));
    EXPECT_EQ(count(reply, ","), 7u) << reply;
    EXPECT_EQ(count(reply, ", "), 7u) << reply;
    samples.push_back(protocol::parse_rate_sample(protocol::trim_reply(reply)));
  }
  EXPECT_EQ(samples[0].mode, 'B');  // above 100 ml/h: high range
  EXPECT_EQ(samples[0].seconds, 1);
  EXPECT_EQ(samples[2].hours, 0);
  EXPECT_EQ(samples[2].minutes, 0);
  EXPECT_EQ(samples[2].seconds, 3);
  EXPECT_DOUBLE_EQ(samples[2].flow, 120);
  EXPECT_DOUBLE_EQ(samples[2].average_flow, 120);
  EXPECT_DOUBLE_EQ(samples[2].volume, 0.1);  // 120 ml/h for 3 s
  EXPECT_DOUBLE_EQ(samples[2].back_pressure, 12);

  // "GR" with the digit while that test runs goes on with it; "ST" ends it.
  EXPECT_EQ(line.ask(sim, "GRA1\r"), "");
  EXPECT_EQ(protocol::parse_rate_sample(line.ask(sim, "GRA\r")).seconds, 4);
  EXPECT_EQ(line.ask(sim, "GRB\r"), "e\r");  // channels are separate
  EXPECT_EQ(line.ask(sim, "STA\r"), "");
  EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");
  // "GR" with the digit starts a test when none runs; a front-panel start does too.
  EXPECT_EQ(line.ask(sim, "GRA1\r"), "");
  EXPECT_EQ(protocol::parse_rate_sample(line.ask(sim, "GRA\r")).seconds, 1);
  ASSERT_TRUE(sim.command("start C 1"));
  ASSERT_TRUE(sim.command("set step 30"));
  ASSERT_TRUE(sim.command("start D 1"));
  line.ask(sim, "GRD\r");
  protocol::RateSample d = protocol::parse_rate_sample(line.ask(sim, "GRD\r"));
  EXPECT_EQ(d.minutes, 1);
  EXPECT_EQ(d.seconds, 0);
  ASSERT_TRUE(sim.command("stop D"));
  EXPECT_EQ(line.ask(sim, "GRD\r"), "e\r");
}

TEST(AnalyserSim, NoiseSeedAndPulsatileFlow) {
  auto run = [](std::vector<std::string> options) {
    AnalyserSim sim(std::move(options));
    Line line(sim.ptyPath());
    line.ask(sim, "RTB1\r");
    std::string replies;
    for (int i = 0; i < 40; ++i) replies += line.ask(sim, "GRB\r");
    return replies;
  };
  std::string a = run({"--seed", "7", "--noise", "2"});
  EXPECT_EQ(a, run({"--seed", "7", "--noise", "2"}));  // the same seed, the same readings
  EXPECT_NE(a, run({"--seed", "8", "--noise", "2"}));

  std::string pulses = run({"--pulsatile", "--rate", "50", "--noise", "0"});
  double lo = 1e9, hi = -1e9;
  for (const std::string& l : lines_of(pulses)) {
    if (l.empty()) continue;
    protocol::RateSample s = protocol::parse_rate_sample(l);
    EXPECT_EQ(s.mode, 'C');
    lo = std::min(lo, s.flow);
    hi = std::max(hi, s.flow);
  }
  EXPECT_LT(lo, 20);
  EXPECT_GT(hi, 80);
}

TEST(AnalyserSim, OcclusionPressureRampsToItsMaximum) {
  AnalyserSim sim({"--occl-start", "100", "--occl-slope", "50", "--occl-max", "300", "--noise", "0"});
  Line line(sim.ptyPath());
  line.ask(sim, "RTB4\r");
  std::vector<protocol::OcclSample> s;
  for (int i = 0; i < 6; ++i) {
    std::string reply = protocol::trim_reply(line.ask(sim, "GRB\r"));
    EXPECT_EQ(count(reply, ","), 4u) << reply;
    s.push_back(protocol::parse_occl_sample(reply));
  }
  EXPECT_EQ(s[0].minutes, 0);
  EXPECT_EQ(s[0].seconds, 1);
  EXPECT_DOUBLE_EQ(s[0].mmhg, 150);
  EXPECT_NEAR(s[0].psi, 150 / 51.7149, 0.006);
  EXPECT_EQ(s[0].status, "RUN,");
  EXPECT_DOUBLE_EQ(s[3].mmhg, 300);
  EXPECT_EQ(s[3].status, "ALARM,");
  EXPECT_DOUBLE_EQ(s[5].mmhg, 300);
}

TEST(AnalyserSim, SummaryCarriesWhatTheProgramLooksFor) {
  AnalyserSim sim({"--rate", "80", "--noise", "0.4", "--seed", "3"});
  Line line(sim.ptyPath());
  line.ask(sim, "RTC1\r");
  protocol::RateSample last;
  for (int i = 0; i < 130; ++i) last = protocol::parse_rate_sample(line.ask(sim, "GRC\r"));
  line.ask(sim, "STC\r");

  sim.clearReceived();
  std::string text = line.report("DLC1\r");
  ASSERT_TRUE(sim.waitUntilIdle());
  EXPECT_EQ(sim.received(), "DLC1\r");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\a');
  EXPECT_EQ(count(text, "\a"), 1u);
  EXPECT_NE(text.find("SUMMARY"), std::string::npos);
  expect_crlf_lines(text.substr(0, text.size() - 1));
  expect_header(text, 'C');
  expect_tech_line(text);
  EXPECT_EQ(text.find("Comment:"), std::string::npos);
  // No marks of a data log or of a printed page.
  EXPECT_EQ(text.find("Elapsed"), std::string::npos);
  EXPECT_EQ(text.find("END"), std::string::npos);
  EXPECT_EQ(text.find("p."), std::string::npos);

  // "Average Rate:" then the number; the four characters before the line end are the unit.
  size_t a = text.find("Average Rate:");
  ASSERT_NE(a, std::string::npos);
  size_t e = text.find("\r\n", a);
  EXPECT_EQ(text.substr(e - 5, 5), " ml/h");
  EXPECT_DOUBLE_EQ(std::atof(text.substr(a + 13, e - 4 - (a + 13)).c_str()), last.average_flow);
  EXPECT_NE(text.find("Test Duration: 00:02:10\r\n"), std::string::npos);
  EXPECT_NE(text.find("Flow Range: Low\r\n"), std::string::npos);

  // The occlusion summary of an occlusion test; "Comment:" on demand.
  ASSERT_TRUE(sim.command("set comment on"));
  line.ask(sim, "RTD4\r");
  for (int i = 0; i < 12; ++i) line.ask(sim, "GRD\r");
  std::string occl = line.report("DLD1\r");
  EXPECT_NE(occl.find("OCCLUSION PRESSURE TEST"), std::string::npos);
  EXPECT_EQ(occl.find("Average Rate:"), std::string::npos);
  expect_header(occl, 'D');
  expect_blank(occl, "Comment:", 10, 50);
  expect_tech_line(occl);
}

TEST(AnalyserSim, DataLogHasItsTablePagesAndEnd) {
  AnalyserSim sim({"--noise", "0", "--rate", "250"});
  Line line(sim.ptyPath());

  // A channel that ran no test sends a made-up log of --log-rows rows.
  ASSERT_TRUE(sim.command("set log-rows 100"));
  std::string text = line.report("DLB2\r");
  EXPECT_EQ(text.back(), '\a');
  expect_crlf_lines(text.substr(0, text.size() - 1));
  expect_header(text, 'B');
  expect_tech_line(text);
  EXPECT_EQ(text.find("SUMMARY"), std::string::npos);
  std::vector<std::string> lines = lines_of(text);
  EXPECT_EQ(lines[2], std::string(67, ' ') + "p. 01");
  size_t heading = text.find("Elapsed   Flow  Avg Flow  Volume  B.Pres\r\n");
  ASSERT_NE(heading, std::string::npos);
  EXPECT_LT(text.find("SINGLE RATE TEST"), heading);
  EXPECT_LT(heading, text.find("END OF DATA\r\n"));
  // Pages of 29, 50 and 21 rows; each new page begins with a form-feed line.
  EXPECT_EQ(count(text, "\r\n\f\r\n\r\n" + std::string(67, ' ') + "p. 02\r\n"), 1u);
  EXPECT_EQ(count(text, "\f"), 2u);
  EXPECT_EQ(count(text, "Elapsed"), 3u);
  size_t rows = 0;
  for (const std::string& l : lines)
    if (l.rfind("         00:", 0) == 0) ++rows;
  EXPECT_EQ(rows, 100u);
  EXPECT_NE(text.find("         00:00:01  250.0   250.0    0.069     2\r\n"), std::string::npos);
  EXPECT_NE(text.find("         00:01:40  250.0   250.0    6.944     2\r\n"), std::string::npos);

  // After a test, the log holds its readings; "--end bel" ends on "END OF DATA" BEL.
  ASSERT_TRUE(sim.command("set end bel"));
  line.ask(sim, "RTA1\r");
  for (int i = 0; i < 3; ++i) line.ask(sim, "GRA\r");
  text = line.report("DLA2\r");
  rows = 0;
  for (const std::string& l : lines_of(text))
    if (l.rfind("         00:", 0) == 0) ++rows;
  EXPECT_EQ(rows, 3u);
  EXPECT_EQ(text.substr(text.size() - 25), "\r\n\r\n         END OF DATA\a");
  EXPECT_EQ(text.find("Tech"), std::string::npos);

  // An occlusion log has its own table.
  line.ask(sim, "RTA4\r");
  line.ask(sim, "GRA\r");
  text = line.report("DLA2\r");
  EXPECT_NE(text.find("OCCLUSION PRESSURE TEST\r\n"), std::string::npos);
  EXPECT_NE(text.find("Elapsed Time       Occlusion Pressure\r\n"), std::string::npos);
  EXPECT_NE(
      text.find(std::string(16, ' ') + "00:01" + std::string(12, ' ') + "00.19" + std::string(6, ' ') + "010\r\n"),
      std::string::npos)
      << text;
}

TEST(AnalyserSim, ReportsOfMegabytesAndEnquiries) {
  AnalyserSim sim({"--log-size", "2M", "--summary-size", "1M"});
  Line line(sim.ptyPath());
  std::string log = line.report("DLA2\r");
  EXPECT_GE(log.size(), 2u * 1024 * 1024);
  EXPECT_EQ(count(log, "\a"), 1u);
  EXPECT_EQ(log.back(), '\a');
  EXPECT_GT(count(log, "\f"), 600u);
  std::string summary = line.report("DLA1\r");
  EXPECT_GE(summary.size(), 1024u * 1024);
  EXPECT_EQ(summary.back(), '\a');
  EXPECT_GT(count(summary, "\f\r\n"), 100u);
  EXPECT_EQ(summary.find("Elapsed"), std::string::npos);

  // ENQ alone before the report, and before each new page.
  ASSERT_TRUE(sim.command("set summary-size 0"));
  ASSERT_TRUE(sim.command("set log-size 0"));
  ASSERT_TRUE(sim.command("set log-rows 120"));
  ASSERT_TRUE(sim.command("set enq-pause 0"));
  ASSERT_TRUE(sim.command("set enq start"));
  std::string text = line.report("DLA2\r");
  EXPECT_EQ(text.substr(0, 3), "\x05\r\n");
  EXPECT_EQ(count(text, "\x05"), 1u);
  ASSERT_TRUE(sim.command("set enq pages"));
  text = line.report("DLA2\r");
  EXPECT_EQ(count(text, "\x05"), 2u);
  EXPECT_EQ(count(text, "\x05\f\r\n"), 2u);

  // Paced sending delivers the same text.
  ASSERT_TRUE(sim.command("set enq none"));
  std::string fast = line.report("DLA1\r");
  ASSERT_TRUE(sim.command("set cps 50000"));
  EXPECT_EQ(line.report("DLA1\r"), fast);
}

TEST(AnalyserSim, StopDropsTheReportBeingSent) {
  AnalyserSim sim({"--cps", "100", "--log-rows", "50"});
  Line line(sim.ptyPath());
  line.send("DLA2\r");
  ASSERT_TRUE(sim.waitForReceived("DLA2\r"));
  line.send("STA\r");
  ASSERT_TRUE(sim.waitAnswered("STA\r"));
  std::string got = line.take(sim);
  EXPECT_LT(got.size(), 1000u);
  EXPECT_EQ(got.find('\a'), std::string::npos);
  // A stop on another channel leaves a report alone.
  ASSERT_TRUE(sim.command("set cps 0"));
  line.send("DLB1\r");
  line.send("STA\r");
  std::string rest = line.read_until([](const std::string& s) { return s.find('\a') != std::string::npos; });
  EXPECT_NE(rest.find("Channel: B"), std::string::npos);
}

TEST(AnalyserSim, ReceiveAnyByOptionSignalAndCommand) {
  AnalyserSim sim({"--send-any", "0", "--any-report", "summary", "--any-channel", "C"});
  Line line(sim.ptyPath());
  std::string first = line.read_until([](const std::string& s) { return !s.empty() && s.back() == '\a'; });
  EXPECT_NE(first.find("SUMMARY"), std::string::npos);
  EXPECT_NE(first.find("Channel: C"), std::string::npos);
  EXPECT_EQ(sim.received(), "");  // nothing was asked

  ASSERT_TRUE(sim.sendSignal(SIGUSR1));
  ASSERT_TRUE(sim.waitUntilIdle());
  EXPECT_EQ(line.take(sim), first);

  ASSERT_TRUE(sim.command("send-any log B"));
  ASSERT_TRUE(sim.waitUntilIdle());
  std::string log = line.take(sim);
  EXPECT_NE(log.find("END OF DATA"), std::string::npos);
  EXPECT_NE(log.find("Channel: B"), std::string::npos);
}

TEST(AnalyserSim, TheLineSurvivesTheProgramReopeningIt) {
  AnalyserSim sim;
  {
    Line first(sim.ptyPath());
    EXPECT_EQ(first.ask(sim, "GRA\r"), "e\r");
  }
  ASSERT_TRUE(sim.running());
  Line again(sim.ptyPath(), sim.sentCount());
  EXPECT_EQ(again.ask(sim, "GRA\r"), "e\r");
  EXPECT_EQ(sim.received(), "GRA\r");
}

TEST(AnalyserSim, EndsOnQuitStdinCloseAndSigterm) {
  {
    AnalyserSim sim;
    ASSERT_TRUE(sim.command("quit"));
    for (int i = 0; i < 20000 && sim.running(); ++i) usleep(1000);
    EXPECT_FALSE(sim.running());
  }
  std::string dir = std::filesystem::temp_directory_path() / ("qtx-sim-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string link = dir + "/com2";
  std::string bin = AnalyserSim::binaryPath();
  // With its control channel closed it ends at once, and takes its link with it.
  int rc = std::system(("timeout 20 " + bin + " --link " + link + " </dev/null >/dev/null").c_str());
  EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << rc;
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  // A bad option is refused.
  rc = std::system((bin + " --rate fast </dev/null >/dev/null 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 2) << rc;
  {
    // Without a control channel it serves until SIGTERM, its link naming the pseudo-terminal.
    AnalyserSim sim({"--no-stdin", "--link", link});
    ASSERT_FALSE(sim.ptyPath().empty());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.ptyPath());
    Line line(link);
    EXPECT_EQ(line.ask(sim, "GRA\r"), "e\r");
    EXPECT_TRUE(sim.running());
    ASSERT_TRUE(sim.sendSignal(SIGTERM));
    for (int i = 0; i < 20000 && sim.running(); ++i) usleep(1000);
    EXPECT_FALSE(sim.running());
    EXPECT_FALSE(std::filesystem::is_symlink(link));
  }
  std::filesystem::remove_all(dir);
}
