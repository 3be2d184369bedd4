#include "core/protocol.h"

#include "core/vb.h"

namespace qtx::protocol {

namespace {

std::string command(std::string_view letters, std::string_view channel, std::string_view digit = {}) {
  std::string c;
  c.reserve(letters.size() + channel.size() + digit.size() + 1);
  c.append(letters);
  c.append(channel);
  c.append(digit);
  c.push_back(vb::CR);
  return c;
}

}  // namespace

std::string download_command(std::string_view channel, char what) {
  return command("DL", channel, std::string_view(&what, 1));
}

std::string start_test_command(std::string_view channel, int16_t test_digit) {
  return command("RT", channel, vb::to_text(test_digit));
}

std::string begin_test_command(std::string_view channel, int16_t test_digit) {
  return command("GR", channel, vb::to_text(test_digit));
}

std::string poll_command(std::string_view channel) {
  // The poll is one of four fixed texts; a channel outside A-D polls nothing.
  if (channel == "A") return "GRA\r";
  if (channel == "B") return "GRB\r";
  if (channel == "C") return "GRC\r";
  if (channel == "D") return "GRD\r";
  return {};
}

std::string stop_command(std::string_view channel) { return command("ST", channel); }

std::string print_summary_command(std::string_view channel) { return command("PR", channel, "1"); }

std::string port_test_command() { return "DLA3\r"; }

std::string trim_reply(std::string_view reply) { return vb::Trim(reply); }

bool is_error_reply(std::string_view trimmed_reply) { return trimmed_reply.size() <= 2; }

const char* error_reply_message(std::string_view reply) {
  if (reply.empty()) return nullptr;
  switch (reply.front()) {
    case '?':
      return "Unsuccessful transmission, check all hardware connections and try again.";
    case 'e':
      return "Test or Autosequence is not running";
    case 'n':
      return "Current channel selected is not connected.";
    default:
      return nullptr;
  }
}

std::string next_field(std::string& rest) {
  size_t comma = rest.find(',');
  if (comma == std::string::npos) return vb::Trim(rest);
  std::string field = rest.substr(0, comma + 1);
  size_t next = comma + 1;
  while (next < rest.size() && rest[next] == ' ') ++next;
  rest.erase(0, next);
  return field;
}

int16_t integer_field(std::string_view field) { return vb::CInt(vb::Val(field)); }

double number_field(std::string_view field) { return vb::Val(field); }

RateSample take_rate_sample(std::string& reply) {
  RateSample s;
  std::string mode = vb::Trim(next_field(reply));
  s.mode = mode.empty() ? ' ' : mode.front();
  s.hours = integer_field(next_field(reply));
  s.minutes = integer_field(next_field(reply));
  s.seconds = integer_field(next_field(reply));
  s.flow = number_field(next_field(reply));
  s.average_flow = number_field(next_field(reply));
  s.volume = number_field(next_field(reply));
  s.back_pressure = number_field(next_field(reply));
  return s;
}

RateSample parse_rate_sample(std::string_view reply) {
  std::string rest(reply);
  return take_rate_sample(rest);
}

OcclSample take_occl_sample(std::string& reply) {
  OcclSample s;
  s.status = next_field(reply);
  s.minutes = integer_field(next_field(reply));
  s.seconds = integer_field(next_field(reply));
  s.psi = number_field(next_field(reply));
  s.mmhg = number_field(next_field(reply));
  return s;
}

OcclSample parse_occl_sample(std::string_view reply) {
  std::string rest(reply);
  return take_occl_sample(rest);
}

}  // namespace qtx::protocol
