// The program as it starts: the desktop services, the App over them, and the main window.
// app/main.cpp runs it; the whole-process benchmarks start it the same way.
#pragma once

#include <QApplication>
#include <memory>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"

namespace qtx {

class frmMain;

// The application's name and quit rule, and writes past a file-size limit failing instead of
// ending the program. Call once, right after the QApplication is made.
void prepare_application();

class Program {
 public:
  Program();
  // Loads and shows the main window (telling first when the settings file cannot be read).
  frmMain& start();
  App& app() { return app_; }
  SerialPort& comm() { return *comm_; }

 private:
  IniSettingsStore settings_;
  std::unique_ptr<SerialPort> comm_;
  QtUi ui_;
  SystemClock clock_;
  App app_;
  std::unique_ptr<Printer> printer_;
};

}  // namespace qtx
