#include "shell/program.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <algorithm>

#include "platform/files.h"
#include "shell/frmMain.h"

namespace qtx {

namespace {

// The "more menus" chevron a menu bar too narrow for its menus shows, painted when it is
// needed. The style's own is an image file, and reading it makes Qt load every image-format
// plugin while the main window is built.
class ChevronIcon final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const qreal s = std::min(rect.width(), rect.height()) / 16.0;
    const QPointF o = QRectF(rect).center() - QPointF(8 * s, 8 * s);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(mode == QIcon::Disabled ? Qt::gray : Qt::black, 1.5 * s));
    for (qreal x : {4.0, 9.0}) {
      const QPointF points[3] = {o + QPointF(x * s, 4 * s), o + QPointF((x + 3.5) * s, 8 * s),
                                 o + QPointF(x * s, 12 * s)};
      painter->drawPolyline(points, 3);
    }
    painter->restore();
  }
  // QIconEngine's own pixmap() paints on an unfilled pixmap.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paint(&p, QRect(QPoint(0, 0), size), mode, state);
    }
    return pm;
  }
  QIconEngine* clone() const override { return new ChevronIcon; }
};

class ProgramStyle final : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override {
    if (icon == SP_ToolBarHorizontalExtensionButton) return QIcon(new ChevronIcon);
    return QProxyStyle::standardIcon(icon, option, widget);
  }
};

}  // namespace

void prepare_application() {
  QApplication::setApplicationName(QStringLiteral("qtx"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(new ProgramStyle);
  files::fail_writes_past_size_limit();
}

Program::Program()
    : settings_(IniSettingsStore::default_path()),
      comm_(make_qt_serial_port(settings_)),
      app_(settings_, *comm_, ui_, clock_),
      printer_(make_qt_printer()) {
  app_.setPrinter(*printer_);
  settings_.set_failure_notice([this](const std::string& message) {
    app_.ui().msgbox(message, MsgButtons::OK, MsgIcon::Exclamation, "SETTINGS");
  });
  // A change still waiting for the settings file is written before the program ends, or told.
  app_.forms().setEndProgram([this] {
    settings_.finish();
    QCoreApplication::quit();
  });
}

frmMain& Program::start() {
  if (settings_.unreadable())
    app_.ui().msgbox("The settings file " + settings_.path() +
                         " cannot be read.\r\rQTX starts with its default settings and leaves the file as it is.",
                     MsgButtons::OK, MsgIcon::Exclamation, "SETTINGS");
  // That message tells, too, that the changes of this run are not stored.
  if (settings_.unreadable()) settings_.failure_told();
  frmMain& main = app_.forms().get<frmMain>();
  main.show();
  return main;
}

}  // namespace qtx
