#include "help/help_common.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/help_text.h"
#include "help/frmQTXOverview.h"
#include "platform/app.h"
#include "platform/controls.h"

namespace qtx::help_windows {

namespace {

QMdiSubWindow* sub_window(FormBase& form) { return qobject_cast<QMdiSubWindow*>(&form.frame()); }

void bring_to_front(FormBase& form) {
  form.Show();
  QMdiArea* area = form.app().forms().mdiArea();
  if (QMdiSubWindow* sub = sub_window(form); sub && area) {
    area->setActiveSubWindow(sub);
  } else {
    form.widget().activateWindow();
  }
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

void show_help_page(App& app, int item) {
  app.session().help_item = static_cast<int16_t>(item);
  frmQTXOverview& viewer = app.forms().get<frmQTXOverview>();
  const int reads = viewer.reads();
  bring_to_front(viewer);
  // A viewer that already was the active window is not activated again: the page is read here.
  if (viewer.reads() == reads) viewer.Form_Activate();
}

void return_to_caller(App& app) {
  Forms& forms = app.forms();
  FormBase* target = nullptr;
  if (app.session().help_topic == help::kGraphTopic) target = forms.find("frmGraph");
  if (!target) target = forms.mainWindow();
  if (target) bring_to_front(*target);
}

}  // namespace qtx::help_windows
