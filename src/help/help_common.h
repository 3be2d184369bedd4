// What the two help windows share: their topic links, opening the viewer on a topic, and the
// way back to the window that opened help.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <string>
#include <string_view>

namespace qtx {
class App;
}

namespace qtx::help_windows {

// The heading "QTX HELP" of a help window, and the rule drawn under it.
QLabel* make_heading(QWidget* parent, const char* name);
QFrame* make_rule(QWidget* parent, const char* name);

// A topic of a help window: an underlined link that the mouse, the keyboard (Tab, then Space)
// and assistive technology reach under its caption.
QToolButton* make_topic_link(QWidget* parent, const char* name, const char* caption);

// Opens the viewer on page `item` of the help window's topic ("main" or "graph") and brings it
// to the front; the viewer reads the page when it becomes the active window.
void show_help_page(App& app, std::string_view topic, int item);

// Returns the user to the window that opened a help window (by its name; none: the main
// window). A window closed meanwhile, or hidden (the log graph while the trumpet window is
// open), is not brought back: the main window is.
void return_to_caller(App& app, const std::string& caller);

}  // namespace qtx::help_windows
