// What the two help windows share: their topic links, opening the viewer on a topic, and the
// way back to the window that opened help.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QToolButton>

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

// Opens the viewer on topic `item` of the current help_topic and brings it to the front; the
// viewer reads the page when it becomes the active window.
void show_help_page(App& app, int item);

// Returns the user to the window that opened help: the log graph window for "graph" (the main
// window when the graph window has been closed meanwhile), the main window for "main".
void return_to_caller(App& app);

}  // namespace qtx::help_windows
