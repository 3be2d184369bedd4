// Driving a window as a user would: keys, typed text, Enter, the focus moved by Tab.
#pragma once

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace qtx::test {

inline void send_key(QWidget* w, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

// Types the text key by key, as the keyboard would.
inline void type(QWidget* w, const QString& text) {
  for (QChar c : text) send_key(w, c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_Space, c);
}

inline void press_enter(QWidget* w) { send_key(w, Qt::Key_Return, QStringLiteral("\r")); }

// The focus arrives in / leaves the widget by the Tab key.
inline void focus_in(QWidget* w) {
  w->setFocus(Qt::TabFocusReason);
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(w, &in);
}
inline void focus_out(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &out);
}

// The widgets of `expected` in the order the Tab key reaches them, starting at the first.
inline std::vector<QWidget*> tab_sequence(const std::vector<QWidget*>& expected) {
  std::vector<QWidget*> seen;
  QWidget* w = expected.front();
  do {
    if (std::find(expected.begin(), expected.end(), w) != expected.end() &&
        std::find(seen.begin(), seen.end(), w) == seen.end())
      seen.push_back(w);
    w = w->nextInFocusChain();
  } while (w != expected.front());
  return seen;
}

}  // namespace qtx::test
