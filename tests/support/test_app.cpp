#include "support/test_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <cstdlib>
#include <stdexcept>

#include "platform/text.h"

namespace qtx::test {

const char* const kNoPortsMessage =
    "Sorry no comm ports available\r\rIf you wish to use a comm port with QTX, please close any other\r"
    "programs that are using comm ports and restart QTX.";

const char* const kPortErrorBox =
    "Current selected Comm port is not functioning properly.\r\rYou may goto configuration to change comm ports "
    "settings.";

void TestApp::expectPortError() {
  ui.expectBox(kPortErrorBox, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
}

void processEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void run_events(int ms) {
  for (int i = 0; i < ms / 5; ++i) {
    QThread::msleep(5);
    processEvents();
  }
}

TestApp::TestApp(Port port) {
  folder_ = pathFromQ(dir_.path());
  old_cwd_ = QDir::currentPath();
  QDir::setCurrent(dir_.path());
  for (int n = 1; n <= 4; ++n) setPort(n, "");
  settings_ = std::make_unique<IniSettingsStore>(path("config/qtx/qtx.ini"));
  if (port == Port::Scripted) {
    auto scripted = std::make_unique<ScriptedSerial>();
    scripted_ = scripted.get();
    comm_ = std::move(scripted);
  } else {
    comm_ = make_qt_serial_port(*settings_);
  }
  app_ = std::make_unique<App>(*settings_, *comm_, ui, clock);
  app_->setPrinter(printer);
  app_->forms().setEndProgram([this] { ended_ = true; });
}

TestApp::~TestApp() {
  app_.reset();
  processEvents();
  comm_.reset();
  QDir::setCurrent(old_cwd_);
}

ScriptedSerial& TestApp::serial() {
  if (!scripted_) throw std::logic_error("TestApp without the scripted port");
  return *scripted_;
}

std::string TestApp::path(std::string_view name) const {
  std::string p = folder_;
  p.push_back('/');
  p.append(name);
  return p;
}

void TestApp::setPort(int n, const std::string& device) {
  std::string value = device.empty() ? path("no-such-port-" + std::to_string(n)) : device;
  ::setenv(("QTX_COM" + std::to_string(n)).c_str(), value.c_str(), 1);
}

}  // namespace qtx::test
