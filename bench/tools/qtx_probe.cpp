// QTX started as app/main.cpp starts it (shell/program.h), for the whole-process figures of bench/run:
//   qtx_probe startup              ends as soon as the main window is shown
//   qtx_probe idle <s>             main window only: prints the CPU share over <s> seconds
//   qtx_probe idle-testport <s>    the same with the port test window open
//   qtx_probe live-rate <s>        the same during a logged rate test polled once a second
// A third argument <k> also prints the share of every <k> seconds as it goes (cpu_span=<n> <%>),
// for a long trace.
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "acquisition/data_log_files.h"
#include "acquisition/frmDownload.h"
#include "shell/frmMain.h"
#include "shell/program.h"

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
  const int span = argc > 3 ? std::atoi(argv[3]) : 0;
  QApplication application(argc, argv);
  qtx::prepare_application();
  qtx::Program program;
  qtx::App& app = program.app();
  qtx::frmMain& main = program.start();
  // Each mode ends with exit(), which leaves the windows be: quit() would close them, and the
  // main window asks before it closes.
  if (mode == "startup") {
    QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
  }
  if (mode == "idle-testport") main.mnuTestPort_Click();
  if (mode == "live-rate") {
    // The state the download start leaves for a logged single-rate run, then the hand-over.
    qtx::Session& s = app.session();
    qtx::frmDownload& d = app.forms().get<qtx::frmDownload>();
    d.optRealTime->click();
    d.chkSingle->click();
    d.cmbPoll->setCurrentText(QStringLiteral("1"));
    s.download_flags.single_rate_selected = true;
    s.download_flags.show_rt_request = true;
    s.download_flags.log_rt_data = true;
    s.test_phase_flags.rt_phase = true;
    s.rt_data_file = "rate.log";
    qtx::DataLogFiles::write_RTfile_header(app);
    program.comm().output("RTA1\r");
    main.Form_Activate();
  }
  double start = 0;
  double span_start = 0;
  int spans = 0;
  QTimer span_timer;
  QObject::connect(&span_timer, &QTimer::timeout, [&] {
    const double now = cpu_seconds();
    std::printf("cpu_span=%d %.3f\n", ++spans, 100.0 * (now - span_start) / span);
    std::fflush(stdout);
    span_start = now;
  });
  // One second to settle, then the CPU time of the given span.
  QTimer::singleShot(1000, [&] {
    start = span_start = cpu_seconds();
    if (span > 0) span_timer.start(span * 1000);
    QTimer::singleShot(seconds * 1000, [&] {
      std::printf("cpu_percent=%.3f\n", 100.0 * (cpu_seconds() - start) / seconds);
      QCoreApplication::exit(0);
    });
  });
  return QApplication::exec();
}
