// Everything a window reaches beyond itself: the shared state, the desktop services and the
// window registry. Windows receive it in their constructor; tests build one per test.
#pragma once

#include <memory>

#include "core/session.h"
#include "platform/forms.h"
#include "platform/ui.h"

namespace qtx {

class SettingsStore;
class SerialPort;
class Clock;
class Printer;
Printer& no_printer();  // platform/printer.h

class App {
 public:
  App(SettingsStore& settings, SerialPort& comm, Ui& ui, Clock& clock)
      : settings_(settings), comm_(comm), ui_(ui), clock_(clock), forms_(*this) {}
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Session& session() { return session_; }
  SettingsStore& settings() { return settings_; }
  SerialPort& comm() { return comm_; }  // the one serial port of the program
  Ui& ui() { return ui_; }
  Clock& clock() { return clock_; }
  Forms& forms() { return forms_; }
  // The system printer; the program's start and every test give one. Without one, every
  // document fails as on a system without a printer.
  Printer& printer() { return printer_ ? *printer_ : no_printer(); }
  void setPrinter(Printer& printer) { printer_ = &printer; }
  // The program's one open/save dialog: callers set its title and flags, show it through ui().
  CommonDialog& commonDialog() { return common_dialog_; }

 private:
  Session session_;
  SettingsStore& settings_;
  SerialPort& comm_;
  Ui& ui_;
  Clock& clock_;
  Printer* printer_ = nullptr;
  Forms forms_;
  CommonDialog common_dialog_;
};

}  // namespace qtx
