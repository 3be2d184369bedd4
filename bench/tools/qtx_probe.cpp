// QTX started as app/main.cpp starts it, for the whole-process figures of bench/run:
//   qtx_probe startup              ends as soon as the main window is shown
//   qtx_probe idle <s>             main window only: prints the CPU share over <s> seconds
//   qtx_probe idle-testport <s>    the same with the port test window open
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"
#include "shell/frmMain.h"

namespace {

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "startup";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qtx"));
  QApplication::setQuitOnLastWindowClosed(false);
  qtx::files::fail_writes_past_size_limit();

  qtx::IniSettingsStore settings(qtx::IniSettingsStore::default_path());
  auto comm = qtx::make_qt_serial_port(settings);
  qtx::QtUi ui;
  qtx::SystemClock clock;
  qtx::App app(settings, *comm, ui, clock);
  auto printer = qtx::make_qt_printer();
  app.setPrinter(*printer);
  app.forms().setEndProgram([] { QCoreApplication::quit(); });

  qtx::frmMain& main = app.forms().get<qtx::frmMain>();
  main.show();
  // Each mode ends with exit(), which leaves the windows be: quit() would close them, and the
  // main window asks before it closes.
  if (mode == "startup") {
    QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
  }
  if (mode == "idle-testport") main.mnuTestPort_Click();
  double start = 0;
  // One second to settle, then the CPU time of the given span.
  QTimer::singleShot(1000, [&] {
    start = cpu_seconds();
    QTimer::singleShot(seconds * 1000, [&] {
      std::printf("cpu_percent=%.3f\n", 100.0 * (cpu_seconds() - start) / seconds);
      QCoreApplication::exit(0);
    });
  });
  return QApplication::exec();
}
