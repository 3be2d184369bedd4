#include "common/global_comm.h"

#include "common/port_menus.h"
#include "core/file_names.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/ui.h"

namespace qtx::GlobalComm {

void reset_comm_buffers(App& app) {
  SerialPort& comm = app.comm();
  comm.clearOutBuffer();
  comm.clearInBuffer();
  comm.setRThreshold(1);
  comm.setInputLen(0);
}

void delay(App& app, float seconds) { qtx::delay(app.clock(), seconds); }

bool any_comm_port_available(App& app) {
  const auto& usable = app.session().comm.port_usable;
  for (int port = 1; port <= 4; ++port)
    if (usable[static_cast<size_t>(port)]) return true;
  return false;
}

void probe_comm_ports(App& app) {
  auto& usable = app.session().comm.port_usable;
  SerialPort& comm = app.comm();
  for (int port = 1; port <= 4; ++port) usable[static_cast<size_t>(port)] = true;
  for (int16_t port = 1; port <= 4; ++port)
    if (!comm.canOpen(port)) usable[static_cast<size_t>(port)] = false;
  if (!any_comm_port_available(app)) {
    app.ui().msgbox(
        "Sorry no comm ports available\r\rIf you wish to use a comm port with QTX, please close any other\r"
        "programs that are using comm ports and restart QTX.",
        MsgButtons::OK, MsgIcon::Critical, "ERROR");
    if (PortMenus* main = port_menus(app)) main->disable_port_menus();
  }
}

void close_comm_port(App& app) { app.comm().close(); }

std::string read_comm_input(App& app) {
  SerialPort& comm = app.comm();
  std::string result;
  // Every read is kept: characters that arrive between two reads belong to the same text.
  while (comm.inBufferCount() > 0) result += comm.input();
  return result;
}

void open_comm_port(App& app) {
  SerialPort& comm = app.comm();
  if (comm.isOpen()) comm.close();
  comm.setCommPort(app.session().comm.comm_port);
  comm.setSettings(kPortSettings);
  comm.clearInBuffer();
  comm.clearOutBuffer();
  comm.setRTSEnable(true);
  if (!comm.open()) {
    // After the probe found no port at all, its message has said everything already.
    PortMenus* main = port_menus(app);
    if (main && main->port_menus_enabled()) show_port_error(app);
  }
}

void show_port_error(App& app) { app.ui().msgbox(kPortErrorMessage, MsgButtons::OK, MsgIcon::Critical, "ERROR"); }

bool send_command(App& app, std::string_view command) {
  SerialPort& comm = app.comm();
  if (comm.output(command)) return true;
  // A device that went away is told here, not again by the next window that checks the port.
  (void)comm.takeLostNotice();
  show_port_error(app);
  return false;
}

bool send_stop_command(App& app) {
  delay(app, 1.0f);
  reset_comm_buffers(app);
  SerialPort& comm = app.comm();
  if (!comm.output(protocol::stop_command(app.session().channel_code))) {
    // A device that has just gone away is told here; one already told about, or a port that
    // never opened, is not told again.
    if (comm.takeLostNotice()) show_port_error(app);
    return false;
  }
  (void)comm.input();  // the analyser's answer to a stop says nothing we use
  delay(app, 1.0f);
  return true;
}

void show_reply_error(App& app) {
  if (const char* text = protocol::error_reply_message(app.session().rx_text))
    app.ui().msgbox(text, MsgButtons::OK, MsgIcon::Critical, "ERROR");
}

std::string get_file_dir(std::string_view path) { return qtx::get_file_dir(path); }

}  // namespace qtx::GlobalComm
