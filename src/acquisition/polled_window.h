// A window that polls the analyser on its timers: the report window, the live test windows and
// the port test window. It gives them the tick guard and the road taken when the serial device
// goes away; the serial port itself only reports the loss.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <string_view>

#include "platform/forms.h"

namespace qtx {

class PolledWindow : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit PolledWindow(App& app) : Form<QWidget>(app) {}

  // Every timer whose ticks read the port is wired with connect_tick, which runs its handler
  // through the window's tick guard: a tick that comes while an earlier tick of the same window
  // still runs (Qt keeps timers running while a message box the tick raised is open) is
  // skipped, so a handler is never re-entered and one reply never stacks boxes. Tests call the
  // handlers directly; run_tick is the guarded call (false: skipped).
  void connect_tick(QTimer* timer, std::function<void()> tick);
  bool run_tick(const std::function<void()>& tick);
  bool in_tick() const { return in_tick_; }

  // A tick that finds the device gone (or a command the port did not take) ends in
  // lost_device(): the window's timers stop, the open data logs are flushed, and the user is
  // told once with the port error. In a tick:
  //   std::string rx = app_.comm().input();  // what arrived before the loss is kept
  //   ... take rx ...
  //   if (device_lost()) return;
  // and where a command must reach the analyser:
  //   if (!send(command)) return;
  void lost_device();
  // True, after lost_device(), when the port's device went away since it was last asked.
  bool device_lost();
  // Sends the command; a port that does not take it (not open, or its device gone) ends in
  // lost_device() and false.
  bool send(std::string_view command);

 private:
  bool in_tick_ = false;
};

}  // namespace qtx
