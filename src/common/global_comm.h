// The serial link procedures every window uses: opening, probing and closing the port,
// clearing its buffers, reading replies, waiting, stopping a test on the analyser and telling
// the analyser's error replies.
#pragma once

#include <string>
#include <string_view>

namespace qtx {
class App;
}

namespace qtx::GlobalComm {

inline constexpr const char* kPortSettings = "9600,N,8,1";
// What the user is told when the selected port cannot be used: it did not open, a command could
// not be sent, or its device went away.
inline constexpr const char* kPortErrorMessage =
    "Current selected Comm port is not functioning properly.\r\rYou may goto configuration to change comm ports "
    "settings.";

// Clears both buffers and sets the receive mode back to "all waiting characters".
void reset_comm_buffers(App& app);
// Blocks the whole program for `seconds`.
void delay(App& app, float seconds);
bool any_comm_port_available(App& app);
// Finds which of COM1-COM4 can be opened; with none, says so and disables the main window's port
// menus (PortMenus).
void probe_comm_ports(App& app);
void close_comm_port(App& app);
// Everything waiting on the port ("" when nothing waits).
std::string read_comm_input(App& app);
// Opens comm_port at 9600,N,8,1 with RTS raised and both buffers cleared.
void open_comm_port(App& app);
void show_port_error(App& app);
// Sends a command to the analyser. A port that is not open (it failed to open, or the device
// went away) sends nothing; the user is told with the port error so nothing waits unexplained.
bool send_command(App& app, std::string_view command);
// "ST" + channel + CR between two one-second waits; the reply is read and dropped. False when
// the port did not take the stop (not open, or its device gone; a loss not told before is told
// now): nothing more can reach the analyser.
bool send_stop_command(App& app);
// The message of the analyser's error reply in rx_text, by its first character.
void show_reply_error(App& app);

// The folder of a path: up to, not including, its last separator; "" when it has none.
std::string get_file_dir(std::string_view path);

}  // namespace qtx::GlobalComm
