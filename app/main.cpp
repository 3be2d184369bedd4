// QTX: starts the main window, which does the rest.
#include <QApplication>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"
#include "shell/frmMain.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qtx"));
  QApplication::setQuitOnLastWindowClosed(false);

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
  return QApplication::exec();
}
