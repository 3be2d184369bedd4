#include "core/protocol.h"

#include <vector>

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

void PollReplies::add(std::string_view bytes) {
  // The replies taken out go once they are at least as long as what is left, so the text is
  // moved at most as often as it is taken out: the cost per byte stays flat however much waits.
  if (start_ > 0 && start_ >= pending_.size() - start_) {
    pending_.erase(0, start_);
    start_ = 0;
  }
  pending_.append(bytes);
}

bool PollReplies::next(std::string& reply) {
  for (;;) {
    if (lf_may_follow_ && start_ < pending_.size()) {
      if (pending_[start_] == vb::LF) ++start_;
      lf_may_follow_ = false;
    }
    const size_t cr = pending_.find(vb::CR, start_);
    if (cr == std::string::npos) {
      if (pending_.size() - start_ > kMaxReplyLength) {
        pending_.clear();
        start_ = 0;
        dropping_ = true;
      }
      return false;
    }
    const bool noise = dropping_;
    if (!noise) reply = trim_reply(std::string_view(pending_).substr(start_, cr - start_));
    start_ = cr + 1;
    lf_may_follow_ = true;
    dropping_ = false;
    if (!noise) return true;
  }
}

bool PollReplies::ready() const {
  const size_t cr = pending_.find(vb::CR, start_);
  if (cr == std::string::npos) return false;
  // The first CR after a dropped line only ends that line.
  return !dropping_ || pending_.find(vb::CR, cr + 1) != std::string::npos;
}

void PollReplies::clear() {
  pending_.clear();
  start_ = 0;
  lf_may_follow_ = false;
  dropping_ = false;
}

namespace {

// The fields of a record, split at every comma, each with its blanks trimmed; false when there
// are not exactly `count` of them.
bool split_fields(std::string_view reply, size_t count, std::vector<std::string>& fields) {
  fields.clear();
  for (;;) {
    const size_t comma = reply.find(',');
    fields.push_back(vb::Trim(reply.substr(0, comma)));
    if (fields.size() > count) return false;
    if (comma == std::string_view::npos) break;
    reply.remove_prefix(comma + 1);
  }
  return fields.size() == count;
}

bool all_numbers(const std::vector<std::string>& fields, size_t from) {
  for (size_t i = from; i < fields.size(); ++i)
    if (!vb::IsNumeric(fields[i])) return false;
  return true;
}

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool is_rate_sample(std::string_view reply) {
  std::vector<std::string> fields;
  if (!split_fields(reply, 8, fields)) return false;
  return fields[0].size() == 1 && is_letter(fields[0][0]) && all_numbers(fields, 1);
}

bool is_occl_sample(std::string_view reply) {
  std::vector<std::string> fields;
  if (!split_fields(reply, 5, fields)) return false;
  return !fields[0].empty() && all_numbers(fields, 1);
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
