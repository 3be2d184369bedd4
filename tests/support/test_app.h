// One program for one test: a temporary folder as the current folder, a settings file in it,
// the real serial port with all four ports pointing at absent devices (or at a simulator), or
// the scripted serial port (every port opens), the scripted desktop and a fake clock.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "platform/app.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "support/fake_clock.h"
#include "support/recording_printer.h"
#include "support/scripted_serial.h"
#include "support/scripted_ui.h"
#include "support/test_data.h"

namespace qtx::test {

enum class Port { Real, Scripted };

class TestApp {
 public:
  explicit TestApp(Port port = Port::Real);
  ~TestApp();

  // A path in the test's folder.
  std::string path(std::string_view name) const;
  const std::string& folder() const { return folder_; }

  // COM n names this device ("" = a device that does not exist). Set before the main window
  // loads (support/main_window.h).
  void setPort(int n, const std::string& device);

  // The next box is the port error (OK, critical).
  void expectPortError();

  IniSettingsStore& settings() { return *settings_; }
  SerialPort& comm() { return *comm_; }
  // The scripted port (TestApp(Port::Scripted) only).
  ScriptedSerial& serial();
  App& app() { return *app_; }
  Session& session() { return app_->session(); }
  Forms& forms() { return app_->forms(); }
  bool ended() const { return ended_; }

  ScriptedUi ui;
  FakeClock clock;
  RecordingPrinter printer;

 private:
  QTemporaryDir dir_;
  std::string folder_;
  QString old_cwd_;
  std::unique_ptr<IniSettingsStore> settings_;
  std::unique_ptr<SerialPort> comm_;
  ScriptedSerial* scripted_ = nullptr;
  std::unique_ptr<App> app_;
  bool ended_ = false;
};

// The probe's message when no port can be opened.
extern const char* const kNoPortsMessage;
// The message for a port that cannot be used (not open, or its device gone).
extern const char* const kPortErrorBox;

// Runs posted events, deferred deletes included, so unloaded windows are really gone.
void processEvents();
// Lets the event loop run for a while, so running timers fire and activations arrive.
void run_events(int ms = 30);

}  // namespace qtx::test
