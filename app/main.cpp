// QTX: starts the main window, which does the rest.
#include <QApplication>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"
#include "shell/frmMain.h"

int main(int argc, char** argv) {
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
  if (settings.unreadable())
    app.ui().msgbox("The settings file " + settings.path() +
                        " cannot be read.\r\rQTX starts with its default settings and leaves the file as it is.",
                    qtx::MsgButtons::OK, qtx::MsgIcon::Exclamation, "SETTINGS");

  qtx::frmMain& main = app.forms().get<qtx::frmMain>();
  main.show();
  return QApplication::exec();
}
