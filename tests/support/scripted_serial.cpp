#include "support/scripted_serial.h"

#include <algorithm>

namespace qtx::test {

void ScriptedSerial::setOpenable(int port, bool opens) {
  if (port >= 1 && port <= 4) openable_[static_cast<size_t>(port)] = opens;
}

ScriptedSerial& ScriptedSerial::reply(std::string command, std::string reply) {
  replies_[std::move(command)].push_back(std::move(reply));
  return *this;
}

void ScriptedSerial::arrive(std::string_view text) {
  if (isOpen()) in_.append(text);
}

void ScriptedSerial::vanish() {
  if (isOpen()) lose();
}

void ScriptedSerial::vanishOn(std::string command) { vanish_on_.push_back(std::move(command)); }

bool ScriptedSerial::open() {
  if (state_ == State::Open) {
    error_ = "Port already open";
    return false;
  }
  if (port_ < 1 || port_ > 4 || !openable_[static_cast<size_t>(port_)]) {
    error_ = "No such device";
    state_ = State::Closed;
    return false;
  }
  state_ = State::Open;
  lost_reported_ = false;
  in_.clear();
  return true;
}

void ScriptedSerial::close() {
  state_ = State::Closed;
  in_.clear();
}

bool ScriptedSerial::output(std::string_view text) {
  if (!isOpen()) {
    error_ = "Port is not open";
    return false;
  }
  std::string command(text);
  if (auto v = std::find(vanish_on_.begin(), vanish_on_.end(), command); v != vanish_on_.end()) {
    vanish_on_.erase(v);
    lose();
    return false;
  }
  sent += command;
  commands.push_back(command);
  if (auto r = replies_.find(command); r != replies_.end() && !r->second.empty()) {
    in_ += r->second.front();
    r->second.pop_front();
  }
  return true;
}

std::string ScriptedSerial::input() {
  if (!isOpen()) return {};
  size_t n = input_len_ == 0 ? in_.size() : std::min(in_.size(), static_cast<size_t>(input_len_));
  std::string taken = in_.substr(0, n);
  in_.erase(0, n);
  return taken;
}

bool ScriptedSerial::takeLostNotice() {
  if (state_ != State::Lost || lost_reported_) return false;
  lost_reported_ = true;
  return true;
}

void ScriptedSerial::lose() {
  state_ = State::Lost;
  error_ = "The device went away";
  in_.clear();
}

}  // namespace qtx::test
