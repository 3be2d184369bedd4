// Making the controls of a window, and wiring them to its handlers, the same way in every window.
//
// A control: `make<QPushButton>(parent, "cmdPrint", "&Print")` creates the widget with its
// control name as objectName and its caption (Latin-1) as its text or title; a control that
// shows no caption of its own (a text box, a list) takes the caption as its accessible name.
// A field with a label beside it: `make_labelled<QLineEdit>(parent, "txtSerialNo", lblSerial)`.
// Menus: `menu(bar, "mnuFile", "&File")`, `menu_item(menu, "mnuOpen", "&Open")`,
// `menu_separator(menu, "sep1")`. Timers: `timer(this, "GetDataTimer", 100)`; a window that
// polls the port wires its polling timers through its own tick guard instead of connect.
//
// Handlers: one style everywhere, the signal to a lambda that calls the handler named as the
// event, with the window as context so nothing fires after the window is gone:
//   connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
//   connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
// An option button's Click runs when it becomes selected (by the user or by the program):
//   on_selected(optFile, this, [this] { optFile_Click(); });
// A check box's Click runs whenever its tick changes: connect its `toggled` signal.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <initializer_list>
#include <string_view>
#include <type_traits>

#include "platform/text.h"

namespace qtx {

template <class W>
W* make(QWidget* parent, const QString& name, std::string_view caption = {}) {
  W* w = new W(parent);
  if constexpr (std::is_base_of_v<QAbstractButton, W> || std::is_base_of_v<QLabel, W>) {
    w->setText(toQ(caption));
  } else if constexpr (std::is_base_of_v<QGroupBox, W>) {
    w->setTitle(toQ(caption));
  } else if (!caption.empty()) {
    w->setAccessibleName(toQ(caption));
  }
  w->setObjectName(name);
  return w;
}

template <class W>
W* make(QWidget* parent, const char* name, std::string_view caption = {}) {
  return make<W>(parent, QString::fromLatin1(name), caption);
}

// A field captioned by the label beside it: the label's text is its accessible name, and the
// label's access key moves the focus to it.
template <class W>
W* make_labelled(QWidget* parent, const char* name, QLabel* caption) {
  W* w = make<W>(parent, name);
  w->setAccessibleName(caption->text());
  caption->setBuddy(w);
  return w;
}

inline QMenu* menu(QMenuBar* bar, const char* name, std::string_view caption) {
  QMenu* m = bar->addMenu(toQ(caption));
  m->setObjectName(QString::fromLatin1(name));
  return m;
}

inline QAction* menu_item(QMenu* menu, const char* name, std::string_view caption) {
  QAction* a = menu->addAction(toQ(caption));
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

inline QAction* menu_separator(QMenu* menu, const char* name) {
  QAction* a = menu->addSeparator();
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

inline QTimer* timer(QObject* parent, const char* name, int interval_ms) {
  auto* t = new QTimer(parent);
  t->setObjectName(QString::fromLatin1(name));
  t->setInterval(interval_ms);
  return t;
}

// Enables or disables the controls together.
inline void set_enabled(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* w : controls) w->setEnabled(enabled);
}

// Clears an option button, which Qt refuses while the button excludes the others of its group.
inline void clear_option(QRadioButton* b) {
  b->setAutoExclusive(false);
  b->setChecked(false);
  b->setAutoExclusive(true);
}

// Runs the handler when the option becomes selected, by the user or by the program.
template <class F>
void on_selected(QRadioButton* b, QObject* context, F handler) {
  QObject::connect(b, &QRadioButton::toggled, context, [handler](bool on) {
    if (on) handler();
  });
}

}  // namespace qtx
