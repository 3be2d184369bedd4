// A serial port whose device a test scripts: replies queued per command text, every byte the
// program sends recorded, unasked text arriving on cue, and the device vanishing on cue. It lets
// the tick-driven windows be tested without a pseudo-terminal; end-to-end tests keep using the
// analyser simulator.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_port.h"

namespace qtx::test {

class ScriptedSerial : public SerialPort {
 public:
  // Whether COM n opens (all four do unless told otherwise).
  void setOpenable(int port, bool opens);
  // The next time `command` is sent (the exact text, CR included), `reply` arrives. Replies
  // queued for one command arrive one per sending, in order; a command with none left gets no
  // answer.
  ScriptedSerial& reply(std::string command, std::string reply);
  // Text that arrives now, unasked.
  void arrive(std::string_view text);
  // The device goes away now, or at the moment `command` is sent (that command is not taken).
  void vanish();
  void vanishOn(std::string command);

  // Every byte sent, in order, and each output() call's text.
  std::string sent;
  std::vector<std::string> commands;
  // What has arrived and was not read yet.
  const std::string& waiting() const { return in_; }

  void setCommPort(int16_t port) override { port_ = port; }
  int16_t commPort() const override { return port_; }
  void setSettings(std::string_view settings) override { settings_ = std::string(settings); }
  const std::string& settings() const { return settings_; }
  bool open() override;
  void close() override;
  bool isOpen() const override { return state_ == State::Open; }
  State state() const override { return state_; }
  int inBufferCount() override { return isOpen() ? static_cast<int>(in_.size()) : 0; }
  void clearInBuffer() override { in_.clear(); }
  void clearOutBuffer() override {}
  void setInputLen(int length) override { input_len_ = length < 0 ? 0 : length; }
  int inputLen() const override { return input_len_; }
  void setRThreshold(int threshold) override { rthreshold_ = threshold; }
  int rthreshold() const { return rthreshold_; }
  void setRTSEnable(bool enable) override { rts_ = enable; }
  bool rts() const { return rts_; }
  bool output(std::string_view text) override;
  std::string input() override;
  std::string lastError() const override { return error_; }
  bool takeLostNotice() override;

 private:
  void lose();

  int16_t port_ = 1;
  std::string settings_;
  State state_ = State::Closed;
  std::array<bool, 5> openable_{false, true, true, true, true};
  std::map<std::string, std::deque<std::string>> replies_;
  std::vector<std::string> vanish_on_;
  std::string in_;
  int input_len_ = 0;
  int rthreshold_ = 0;
  bool rts_ = false;
  bool lost_reported_ = false;
  std::string error_;
};

}  // namespace qtx::test
