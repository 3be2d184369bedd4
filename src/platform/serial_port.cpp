#include "platform/serial_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>

#include <QFileInfo>
#include <QSerialPort>
#include <cstdlib>

#include "core/vb.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qtx {

std::string serial_device_for(int port, SettingsStore& settings) {
  if (port < 1 || port > 4) return {};
  std::string n = std::to_string(port);
  if (const char* env = std::getenv(("QTX_COM" + n).c_str()); env && *env) return env;
  return settings.get("Ports", "com" + n, "/dev/ttyS" + std::to_string(port - 1));
}

namespace {

// The device a port's path leads to, symbolic links resolved; empty when there is none.
std::string device_behind(const std::string& path) { return pathFromQ(QFileInfo(pathToQ(path)).canonicalFilePath()); }

// The name of the lock file QSerialPort writes for `path`: LCK.., then the path less a leading
// /dev/, every '/' as '_'.
std::string lock_file_name(const std::string& path) {
  std::string name = path.rfind("/dev/", 0) == 0 ? path.substr(5) : path;
  for (char& c : name)
    if (c == '/') c = '_';
  return "LCK.." + name;
}

// Whether another running program holds a lock of that name, in any of the folders QSerialPort
// may have written it to. A lock left by a program that has ended does not hold the port.
bool locked_by_other_program(const std::string& lock_name) {
  for (const char* dir : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp", "/var/tmp",
                          "/var/lock/lockdev", "/run/lock"}) {
    std::ifstream lock(std::string(dir) + "/" + lock_name);
    long pid = 0;
    if (!(lock >> pid) || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) return true;
  }
  return false;
}

class QtSerialPort final : public SerialPort {
 public:
  explicit QtSerialPort(SettingsStore& settings) : settings_(settings) {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { wake(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError e) {
      if (e != QSerialPort::NoError) wake();
    });
  }

  void setCommPort(int16_t port) override { port_number_ = port; }
  int16_t commPort() const override { return port_number_; }
  void setSettings(std::string_view s) override { settings_text_ = std::string(s); }

  bool open() override {
    if (port_.isOpen()) {
      error_ = "Port already open";
      return false;
    }
    std::string device = serial_device_for(port_number_, settings_);
    if (device.empty()) {
      error_ = "Invalid port number " + std::to_string(port_number_);
      return false;
    }
    // A device that is not there fails here, without the lock file QSerialPort writes and
    // syncs for every open it tries (the start-up probe asks four ports).
    const std::string real = device_behind(device);
    if (real.empty()) {
      error_ = "No such device: " + device;
      state_ = State::Closed;
      return false;
    }
    // Opened by the device's own name, so its lock file is the one every copy of the program
    // looks for, whatever name (a symbolic link) each was given for the port.
    port_.setPortName(pathToQ(real));
    if (!port_.open(QIODevice::ReadWrite)) {
      error_ = fromQ(port_.errorString());
      state_ = State::Closed;
      return false;
    }
    apply_settings();
    // A pseudo-terminal has no RTS line; refusing it is not an open failure.
    if (rts_) port_.setRequestToSend(true);
    port_.clearError();
    state_ = State::Open;
    lost_reported_ = false;
    return true;
  }

  // The start-up probe asks all four ports: a plain open and close of each device tells what
  // QSerialPort's open would, without writing and syncing a lock file for every port. The port
  // is judged by the device its path leads to: it must be a terminal, and no other program may
  // hold its lock, neither under the device's own name nor under the name given here.
  bool canOpen(int16_t port) override {
    const std::string device = serial_device_for(port, settings_);
    if (device.empty()) return false;
    if (port_.isOpen() && port == port_number_) return true;
    const std::string real = device_behind(device);
    if (real.empty()) return false;
    const int fd = ::open(real.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal && !locked_by_other_program(lock_file_name(real)) &&
           (real == device || !locked_by_other_program(lock_file_name(device)));
  }

  void close() override {
    wake_ = nullptr;
    if (port_.isOpen()) port_.close();
    state_ = State::Closed;
  }

  bool isOpen() const override { return port_.isOpen(); }
  State state() const override { return state_; }

  int inBufferCount() override {
    if (!usable()) return 0;
    check_lost();
    if (!usable()) return 0;
    return static_cast<int>(port_.bytesAvailable()) + os_waiting();
  }

  void clearInBuffer() override {
    if (!usable()) return;
    port_.clear(QSerialPort::Input);
    port_.clearError();
  }

  void clearOutBuffer() override {
    if (!usable()) return;
    port_.clear(QSerialPort::Output);
    port_.clearError();
  }

  void setInputLen(int length) override { input_len_ = length < 0 ? 0 : length; }
  int inputLen() const override { return input_len_; }
  // No receive event is handled (every window polls), so there is nothing for a threshold to
  // trigger: the call is taken and asks nothing of the device.
  void setRThreshold(int /*threshold*/) override {}
  void setRTSEnable(bool enable) override {
    rts_ = enable;
    if (usable()) {
      port_.setRequestToSend(enable);
      port_.clearError();
    }
  }

  bool output(std::string_view text) override {
    if (!usable()) {
      error_ = "Port is not open";
      return false;
    }
    qint64 written = port_.write(text.data(), static_cast<qint64>(text.size()));
    if (written != static_cast<qint64>(text.size())) {
      mark_lost_if_gone();
      error_ = fromQ(port_.errorString());
      return false;
    }
    port_.flush();
    // Whatever the line did not take at once goes out before the call returns, so a command is
    // on the line as one piece.
    for (int i = 0; i < 50 && port_.bytesToWrite() > 0; ++i) port_.waitForBytesWritten(100);
    mark_lost_if_gone();
    return usable();
  }

  std::string input() override {
    if (!usable()) return {};
    pull();
    // A reader that never asks for the count (one character per tick) must see a lost device too.
    if (usable()) check_lost();
    if (!usable()) return {};
    QByteArray b = input_len_ == 0 ? port_.readAll() : port_.read(input_len_);
    return std::string(b.constData(), static_cast<size_t>(b.size()));
  }

  std::string lastError() const override { return error_; }

  bool takeLostNotice() override {
    if (state_ == State::Lost && !lost_reported_) {
      lost_reported_ = true;
      return true;
    }
    return false;
  }

  bool wakeOnInput(std::function<void()> wake) override {
    if (!usable() || port_.bytesAvailable() > 0 || os_waiting() > 0) return false;
    wake_ = std::move(wake);
    return true;
  }

 private:
  bool usable() const { return state_ == State::Open && port_.isOpen(); }

  void wake() {
    if (!wake_) return;
    std::function<void()> w = std::move(wake_);
    wake_ = nullptr;
    w();
  }

  int os_waiting() {
    int n = 0;
    if (::ioctl(static_cast<int>(port_.handle()), FIONREAD, &n) != 0) return 0;
    return n;
  }

  // Brings what the operating system holds into the port's own buffer.
  void pull() {
    for (int i = 0; i < 64 && os_waiting() > 0; ++i)
      if (!port_.waitForReadyRead(0)) break;
    mark_lost_if_gone();
    if (usable()) port_.clearError();
  }

  void check_lost() {
    // A hung-up device shows as readable with nothing to read; a read attempt reports it.
    if (os_waiting() == 0 && port_.bytesAvailable() == 0) {
      port_.waitForReadyRead(0);
      mark_lost_if_gone();
      if (usable()) port_.clearError();
    }
  }

  void mark_lost_if_gone() {
    if (port_.error() == QSerialPort::ResourceError || port_.error() == QSerialPort::DeviceNotFoundError ||
        !port_.isOpen()) {
      error_ = fromQ(port_.errorString());
      if (port_.isOpen()) port_.close();
      state_ = State::Lost;
    }
  }

  void apply_settings() {
    // "9600,N,8,1"
    std::string s = settings_text_.empty() ? "9600,N,8,1" : settings_text_;
    std::string parts[4];
    int k = 0;
    for (char c : s) {
      if (c == ',') {
        if (++k == 4) break;
      } else {
        parts[k].push_back(c);
      }
    }
    int baud = vb::CLng(vb::Val(parts[0]));
    if (baud > 0) port_.setBaudRate(baud);
    switch (parts[1].empty() ? 'N' : parts[1][0]) {
      case 'E': case 'e': port_.setParity(QSerialPort::EvenParity); break;
      case 'O': case 'o': port_.setParity(QSerialPort::OddParity); break;
      case 'M': case 'm': port_.setParity(QSerialPort::MarkParity); break;
      case 'S': case 's': port_.setParity(QSerialPort::SpaceParity); break;
      default: port_.setParity(QSerialPort::NoParity); break;
    }
    switch (vb::CInt(vb::Val(parts[2]))) {
      case 5: port_.setDataBits(QSerialPort::Data5); break;
      case 6: port_.setDataBits(QSerialPort::Data6); break;
      case 7: port_.setDataBits(QSerialPort::Data7); break;
      default: port_.setDataBits(QSerialPort::Data8); break;
    }
    port_.setStopBits(parts[3] == "2" ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.clearError();  // a pseudo-terminal may refuse some of these
  }

  SettingsStore& settings_;
  QSerialPort port_;
  int16_t port_number_ = 1;
  std::string settings_text_ = "9600,N,8,1";
  int input_len_ = 0;
  bool rts_ = false;
  State state_ = State::Closed;
  bool lost_reported_ = false;
  std::string error_;
  std::function<void()> wake_;
};

}  // namespace

std::unique_ptr<SerialPort> make_qt_serial_port(SettingsStore& settings) {
  return std::make_unique<QtSerialPort>(settings);
}

}  // namespace qtx
