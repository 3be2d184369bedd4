// The one serial port of the program, with the operations the analyser exchanges rely on.
//
// Port number n (COM1-COM4) names a device through the settings section "Ports", key "com<n>"
// (default /dev/ttyS<n-1>); the environment variable QTX_COM<n> overrides both. A path may be a
// symbolic link: the port is the device it leads to, opened and locked by that device's own
// name. Nothing here raises events: callers poll.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qtx {

class SettingsStore;

class SerialPort {
 public:
  enum class State { Closed, Open, Lost };

  virtual ~SerialPort() = default;

  virtual void setCommPort(int16_t port) = 0;
  virtual int16_t commPort() const = 0;
  // "9600,N,8,1": baud, parity, data bits, stop bits; applied when the port opens.
  virtual void setSettings(std::string_view settings) = 0;
  // PortOpen = True. False when the port cannot be opened (absent, busy, number outside 1-4);
  // lastError() says why.
  virtual bool open() = 0;
  // PortOpen = False. Closing a closed port does nothing.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual State state() const = 0;
  // Characters received and waiting, those the operating system holds included. 0 when closed.
  virtual int inBufferCount() = 0;
  // InBufferCount = 0, OutBufferCount = 0: discard waiting input or unsent output.
  virtual void clearInBuffer() = 0;
  virtual void clearOutBuffer() = 0;
  // Characters one input() takes: 0 = all waiting, n = at most n.
  virtual void setInputLen(int length) = 0;
  virtual int inputLen() const = 0;
  // RThreshold = 1, as every exchange sets it. Nothing here raises a receive event, so the
  // port over QSerialPort keeps no threshold.
  virtual void setRThreshold(int threshold) = 0;
  virtual void setRTSEnable(bool enable) = 0;
  // Sends the text; false when the port is not open or the device went away.
  virtual bool output(std::string_view text) = 0;
  // Takes up to inputLen() waiting characters ("" when none wait or the port is not open).
  virtual std::string input() = 0;
  virtual std::string lastError() const = 0;
  // True once after the open device went away (unplugged, or its other end closed).
  virtual bool takeLostNotice() = 0;
  // Lets a poller sleep while nothing arrives: wake is called once, from the event loop, when
  // input arrives or the device goes away. False when the port cannot tell (closed, input
  // already waiting, or a port that only polls): the caller keeps polling.
  virtual bool wakeOnInput(std::function<void()> /*wake*/) { return false; }
  // Whether COM `port` could be opened now (the start-up probe, before any port is open): a
  // terminal device that no other program holds. This opens and closes it; a port that can tell
  // without opening and locking the device overrides it.
  virtual bool canOpen(int16_t port) {
    const int16_t was = commPort();
    setCommPort(port);
    const bool opens = open();
    close();
    setCommPort(was);
    return opens;
  }
};

// The device path of port n: QTX_COM<n>, else settings "Ports"/"com<n>", else /dev/ttyS<n-1>.
// Empty for a number outside 1-4.
std::string serial_device_for(int port, SettingsStore& settings);

// The port over QSerialPort.
std::unique_ptr<SerialPort> make_qt_serial_port(SettingsStore& settings);

}  // namespace qtx
