#include "shell/global_main.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

#include "core/vb.h"
#include "platform/app.h"
#include "shell/frmMain.h"

namespace qtx::GlobalMain {

void center_form(FormBase& form) {
  QSize area;
  QMdiArea* mdi = form.app().forms().mdiArea();
  // A child window goes into the main window's area first: the area places a window it takes
  // in, so centring before that would be undone.
  if (form.isMdiChild()) form.app().forms().attachChild(form);
  if (form.isMdiChild() && mdi) {
    area = mdi->viewport()->size();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->geometry().size();
  } else {
    area = QSize(1024, 768);
  }
  double screen_w = area.width() * static_cast<double>(kTwipsPerPixel);
  double screen_h = area.height() * static_cast<double>(kTwipsPerPixel);
  double left = (screen_w - form.Width()) / 2.0;
  double top = (screen_h - form.Height()) / 2.0;
  form.Move(static_cast<int>(left), static_cast<int>(top));
}

void update_comm_caption(App& app) {
  frmMain& main = app.forms().get<frmMain>();
  std::string n = vb::to_text(app.session().comm.comm_port);
  // The status strip runs along the lower edge of the main window.
  main.lblStatus->setText(QStringLiteral("Comm Port:  ") + QString::fromLatin1(n.c_str()));
  main.setWindowTitle(QStringLiteral("QTX  -  Comm ") + QString::fromLatin1(n.c_str()));
}

}  // namespace qtx::GlobalMain
