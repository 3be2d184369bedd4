// What the serial link procedures change of the main window: the port it shows and the menus
// that need a port. The main window implements it; the procedures reach it as the program's
// main window, so they need nothing of the shell above them.
#pragma once

#include <cstdint>

namespace qtx {

class App;

class PortMenus {
 public:
  // "Comm Port:  n" in the status strip and "QTX  -  Comm n" as the caption.
  virtual void show_comm_port(int16_t port) = 0;
  // With no usable port, the menus that need one are switched off.
  virtual void disable_port_menus() = 0;
  // False once the probe found no port at all.
  virtual bool port_menus_enabled() const = 0;

 protected:
  ~PortMenus() = default;
};

// The main window when one is loaded; nullptr before it is loaded and after it is unloaded.
PortMenus* port_menus(App& app);

}  // namespace qtx
