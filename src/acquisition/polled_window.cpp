#include "acquisition/polled_window.h"

#include <QPointer>

#include "common/global_comm.h"
#include "platform/app.h"
#include "platform/serial_port.h"

namespace qtx {

void PolledWindow::connect_tick(QTimer* timer, std::function<void()> tick) {
  QObject::connect(timer, &QTimer::timeout, this, [this, tick = std::move(tick)] { run_tick(tick); });
}

bool PolledWindow::run_tick(const std::function<void()>& tick) {
  if (in_tick_) return false;
  in_tick_ = true;
  // A tick may unload its own window; the window is destroyed only after the tick returns.
  QPointer<QWidget> alive(this);
  tick();
  if (alive) in_tick_ = false;
  return true;
}

void PolledWindow::lost_device() {
  stop_timers();
  SerialPort& comm = app_.comm();
  (void)comm.takeLostNotice();  // told here, not again by the next check
  // Rows already written stay on the disk.
  Session& s = app_.session();
  for (DataLogFile* log : {&s.rt_log, &s.ot_log})
    if (log->file) log->file->flush();
  GlobalComm::show_port_error(app_);
}

bool PolledWindow::send(std::string_view command) {
  if (app_.comm().output(command)) return true;
  lost_device();
  return false;
}

bool PolledWindow::device_lost() {
  if (!app_.comm().takeLostNotice()) return false;
  lost_device();
  return true;
}

}  // namespace qtx
