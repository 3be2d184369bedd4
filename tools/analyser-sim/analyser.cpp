#include "analyser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "reports.h"

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMmhgPerPsi = 51.7149;
constexpr double kPulsePeriod = 20.0;  // seconds per stroke of a pulsatile pump
constexpr double kPulseSwing = 0.8;    // the flow swings by this share of the rate

}  // namespace

char Profile::mode_letter() const {
  if (mode) return mode;
  if (pulsatile) return 'C';
  return rate <= 100.0 ? 'A' : 'B';
}

uint64_t Random::next() {
  // splitmix64: the same numbers everywhere for a seed.
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Random::gauss() {
  double u1 = uniform();
  double u2 = uniform();
  if (u1 < 1e-300) u1 = 1e-300;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
}

RateRow RateGenerator::at(double t) {
  RateRow r;
  r.t = t;
  double base = p_.rate;
  if (p_.pulsatile) base = p_.rate * (1.0 + kPulseSwing * std::sin(2.0 * kPi * t / kPulsePeriod));
  double flow = base + p_.noise * rng_.gauss();
  double bp = p_.back_pressure + (p_.noise > 0 ? rng_.gauss() : 0.0);
  // Rounded as the analyser shows them, so the reports agree with the samples.
  r.flow = std::round(flow * 10.0) / 10.0;
  double dt = t - t_prev_;
  if (dt > 0) volume_ += std::max(r.flow, 0.0) * dt / 3600.0;
  t_prev_ = t;
  r.volume = volume_;
  r.average = t > 0 ? std::round(volume_ * 3600.0 / t * 10.0) / 10.0 : r.flow;
  r.back_pressure = static_cast<int>(std::lround(std::max(bp, 0.0)));
  return r;
}

OcclRow OcclGenerator::at(double t) {
  OcclRow r;
  r.t = t;
  double mmhg = p_.occl_start + p_.occl_slope * t;
  if (mmhg >= p_.occl_max) {
    mmhg = p_.occl_max;
    r.alarm = true;
  }
  mmhg += p_.noise * rng_.gauss();
  r.mmhg = std::round(std::max(mmhg, 0.0));
  r.psi = std::round(r.mmhg / kMmhgPerPsi * 100.0) / 100.0;
  return r;
}

std::string rate_sample_text(char mode, const RateRow& r) {
  long s = std::lround(r.t);
  char buf[160];
  std::snprintf(buf, sizeof buf, "%c, %ld, %ld, %ld, %.1f, %.1f, %.3f, %d\r\n", mode, s / 3600, s / 60 % 60, s % 60,
                r.flow, r.average, r.volume, r.back_pressure);
  return buf;
}

std::string occl_sample_text(const OcclRow& r) {
  long s = std::lround(r.t);
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s, %ld, %ld, %.2f, %.0f\r\n", r.alarm ? "ALARM" : "RUN", s / 60, s % 60, r.psi,
                r.mmhg);
  return buf;
}

Analyser::Analyser() = default;

void Analyser::force_error(char c, int count) {
  forced_error_ = c;
  forced_count_ = count;
}

std::vector<Segment> Analyser::answer(std::string text) {
  if (muted) return {};
  if (forced_count_ > 0) {
    --forced_count_;
    return {Segment{std::string(1, forced_error_) + "\r"}};
  }
  return {Segment{std::move(text)}};
}

bool Analyser::start_test(char c, int digit, double now) {
  if (!valid_channel(c) || (digit != 1 && digit != 4)) return false;
  Channel& k = ch(c);
  k.running = digit == 1 ? TestKind::Rate : TestKind::Occl;
  k.last = k.running;
  k.polls = 0;
  k.started_at = now;
  k.profile = profile;
  k.rate_rows.clear();
  k.occl_rows.clear();
  k.rate_gen = RateGenerator(profile);
  k.occl_gen = OcclGenerator(profile);
  return true;
}

void Analyser::stop_test(char c) {
  if (valid_channel(c)) ch(c).running = TestKind::None;
}

bool Analyser::set_connected(char c, bool on) {
  if (!valid_channel(c)) return false;
  ch(c).connected = on;
  return true;
}

std::vector<Segment> Analyser::poll(char c, double now) {
  Channel& k = ch(c);
  if (!k.connected) return answer("n\r");
  if (k.running == TestKind::None) return answer("e\r");
  ++k.polls;
  double t = k.profile.real_clock ? std::floor(now - k.started_at) : k.polls * k.profile.step;
  if (k.running == TestKind::Rate) {
    RateRow r = k.rate_gen.at(t);
    k.rate_rows.push_back(r);
    return answer(rate_sample_text(k.profile.mode_letter(), r));
  }
  OcclRow r = k.occl_gen.at(t);
  k.occl_rows.push_back(r);
  return answer(occl_sample_text(r));
}

std::vector<Segment> Analyser::summary(char c) const {
  return report_segments(summary_pages(c, channel(c), profile, reports), reports, c);
}

std::vector<Segment> Analyser::data_log(char c) const {
  return report_segments(log_pages(c, channel(c), profile, reports), reports, c);
}

std::vector<Segment> Analyser::handle(std::string_view cmd, double now, char* stopped) {
  // Two letters, the channel, at most one digit.
  if (cmd.size() < 3 || cmd.size() > 4) return answer("?\r");
  std::string_view op = cmd.substr(0, 2);
  char c = cmd[2];
  int digit = cmd.size() == 4 ? cmd[3] - '0' : -1;
  if (cmd.size() == 4 && (digit < 0 || digit > 9)) return answer("?\r");
  if (cmd == "DLA3") {
    if (muted) return {};
    if (forced_count_ > 0) return answer("");
    return {Segment{port_test_text}};
  }
  if (!valid_channel(c)) return answer("?\r");
  Channel& k = ch(c);

  if (op == "GR" && digit < 0) return poll(c, now);
  if ((op == "RT" || op == "GR") && (digit == 1 || digit == 4)) {
    if (!k.connected) return answer("n\r");
    // "GR" with a digit follows a test the user started on the analyser: a test of that kind
    // already running goes on; otherwise it starts one, as "RT" always does.
    TestKind kind = digit == 1 ? TestKind::Rate : TestKind::Occl;
    if (op == "GR" && k.running == kind) return {};
    start_test(c, digit, now);
    return {};
  }
  if (op == "DL" && (digit == 1 || digit == 2)) {
    if (!k.connected) return answer("n\r");
    if (muted) return {};
    if (forced_count_ > 0) return answer("");
    return digit == 1 ? summary(c) : data_log(c);
  }
  if (op == "ST" && digit < 0) {
    stop_test(c);
    if (stopped) *stopped = c;
    return {};
  }
  if (op == "PR" && digit == 1) return {};
  return answer("?\r");
}

}  // namespace sim
