// Procedures the windows share: centring a window and showing the port in use.
#pragma once

namespace qtx {
class App;
class FormBase;
}

namespace qtx::GlobalMain {

// Centres the window on the screen (a child window: in the main window's area).
void center_form(FormBase& form);
// "Comm Port:  n" in the status strip and "QTX  -  Comm n" as the main caption (PortMenus).
void update_comm_caption(App& app);

}  // namespace qtx::GlobalMain
