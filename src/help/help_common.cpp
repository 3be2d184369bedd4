#include "help/help_common.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "help/frmQTXOverview.h"
#include "platform/app.h"
#include "platform/controls.h"

namespace qtx::help_windows {

namespace {

QMdiSubWindow* sub_window(FormBase& form) { return qobject_cast<QMdiSubWindow*>(&form.frame()); }

// The first control of the window that takes the keyboard; nothing when none does.
QWidget* first_focusable(QWidget& window) {
  for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain()) {
    if (!window.isAncestorOf(w)) continue;
    if (w->isEnabled() && w->isVisibleTo(&window) && (w->focusPolicy() & Qt::TabFocus)) return w;
  }
  return nullptr;
}

// Makes the window the active one: its top-level window active, and a child window the active
// one of the main window's area with the keyboard in it. The area passes the keyboard to the
// child's first control only when that control is enabled, so a graph window with nothing
// plotted yet (every button but Exit disabled) would be left without it.
void bring_to_front(FormBase& form) {
  form.Show();
  QWidget& frame = form.frame();
  frame.window()->activateWindow();
  QMdiArea* area = form.app().forms().mdiArea();
  QMdiSubWindow* sub = sub_window(form);
  if (!sub || !area) return;
  area->setActiveSubWindow(sub);
  if (sub->isAncestorOf(QApplication::focusWidget())) return;
  if (QWidget* control = first_focusable(form.widget()))
    control->setFocus(Qt::ActiveWindowFocusReason);
  else
    sub->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace

QLabel* make_heading(QWidget* parent, const char* name) {
  auto* heading = make<QLabel>(parent, name, "QTX HELP");
  QFont font(QStringLiteral("Times New Roman"));
  font.setStyleHint(QFont::Serif);
  font.setPointSize(16);
  font.setBold(true);
  heading->setFont(font);
  heading->setAlignment(Qt::AlignCenter);
  return heading;
}

QFrame* make_rule(QWidget* parent, const char* name) {
  auto* rule = make<QFrame>(parent, name);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  return rule;
}

QToolButton* make_topic_link(QWidget* parent, const char* name, const char* caption) {
  // A tool button keeps to the width of its caption, so the links line up on the left.
  auto* link = make<QToolButton>(parent, name, caption);
  link->setAutoRaise(true);
  link->setFocusPolicy(Qt::StrongFocus);
  link->setCursor(Qt::PointingHandCursor);
  QFont f = link->font();
  f.setUnderline(true);
  link->setFont(f);
  QPalette pal = link->palette();
  pal.setColor(QPalette::ButtonText, pal.color(QPalette::Link));
  link->setPalette(pal);
  link->setAccessibleName(QString::fromLatin1(caption));
  return link;
}

void show_help_page(App& app, std::string_view topic, int item) {
  frmQTXOverview& viewer = app.forms().get<frmQTXOverview>();
  viewer.show_page(topic, item);
  const int reads = viewer.reads();
  bring_to_front(viewer);
  // A viewer that already was the active window is not activated again: the page is read here.
  if (viewer.reads() == reads) viewer.Form_Activate();
}

void return_to_caller(App& app, const std::string& caller) {
  Forms& forms = app.forms();
  FormBase* target = caller.empty() ? nullptr : forms.find(caller);
  if (target && !target->Visible()) target = nullptr;
  if (!target) target = forms.mainWindow();
  if (target) bring_to_front(*target);
}

}  // namespace qtx::help_windows
