#include "shell/program.h"

#include "platform/files.h"
#include "shell/frmMain.h"

namespace qtx {

void prepare_application() {
  QApplication::setApplicationName(QStringLiteral("qtx"));
  QApplication::setQuitOnLastWindowClosed(false);
  files::fail_writes_past_size_limit();
}

Program::Program()
    : settings_(IniSettingsStore::default_path()),
      comm_(make_qt_serial_port(settings_)),
      app_(settings_, *comm_, ui_, clock_),
      printer_(make_qt_printer()) {
  app_.setPrinter(*printer_);
  app_.forms().setEndProgram([] { QCoreApplication::quit(); });
}

frmMain& Program::start() {
  if (settings_.unreadable())
    app_.ui().msgbox("The settings file " + settings_.path() +
                         " cannot be read.\r\rQTX starts with its default settings and leaves the file as it is.",
                     MsgButtons::OK, MsgIcon::Exclamation, "SETTINGS");
  frmMain& main = app_.forms().get<frmMain>();
  main.show();
  return main;
}

}  // namespace qtx
