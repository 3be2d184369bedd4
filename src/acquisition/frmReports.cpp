#include "acquisition/frmReports.h"

#include <QFont>
#include <QVBoxLayout>

#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "core/protocol.h"
#include "core/report_header.h"
#include "core/report_receiver.h"
#include "platform/app.h"
#include "platform/ui.h"
#include "shell/global_comm.h"

namespace qtx {

namespace {

QAction* item(QMenu* menu, const char* name, const char* caption) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

QMenu* menu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* m = bar->addMenu(QString::fromLatin1(caption));
  m->setObjectName(QString::fromLatin1(name));
  m->menuAction()->setObjectName(QString::fromLatin1(name));
  return m;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

// Design places in twips.
QRect twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

}  // namespace

frmReports::frmReports(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("REPORTS"));

  menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("menuBar"));
  mnuFile = menu(menuBar, "mnuFile", "&File");
  mnuOpen = item(mnuFile, "mnuOpen", "&Open");
  mnuPrint = item(mnuFile, "mnuPrint", "&Print Report");
  mnuClose = item(mnuFile, "mnuClose", "&Save And Exit");
  mnuQuit = item(mnuFile, "mnuQuit", "&Quit - no save");
  mnuEdit = menu(menuBar, "mnuEdit", "&Edit");
  mnuClearAll = item(mnuEdit, "mnuClearAll", "&Clear All");
  mnuCut = item(mnuEdit, "mnuCut", "Cu&t");
  mnuCopy = item(mnuEdit, "mnuCopy", "&Copy");
  mnuPaste = item(mnuEdit, "mnuPaste", "&Paste");
  mnuDelete = item(mnuEdit, "mnuDelete", "&Delete");
  mnuOptions = menu(menuBar, "mnuOptions", "&Options");
  mnuConvertPrn = item(mnuOptions, "mnuConvertPrn", "&Convert to CSV");
  for (QMenu* m : {mnuFile, mnuEdit, mnuOptions})
    connect(m->menuAction(), &QAction::changed, this, [this] { update_menu_bar(); });

  // Controls stand where they are put, in twips, so the main window can lay the window out for
  // receiving and the design layout comes back when the window is created afresh.
  clientArea = new QWidget(this);
  clientArea->setObjectName(QStringLiteral("clientArea"));

  txtData = new QPlainTextEdit(clientArea);
  txtData->setObjectName(QStringLiteral("txtData"));
  QFont courier(QStringLiteral("Courier"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setPointSize(10);
  txtData->setFont(courier);
  txtData->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtData->setTabChangesFocus(true);
  txtData->setAccessibleName(QStringLiteral("Report"));
  txtData->setGeometry(twips(120, 120, 10380, 5160));

  cmdSave = button(clientArea, "cmdSave", "&Save");
  cmdSave->setGeometry(twips(5880, 5460, 1335, 495));
  cmdPrint = button(clientArea, "cmdPrint", "&Print");
  cmdPrint->setGeometry(twips(7440, 5460, 1335, 495));
  cmdCancel = button(clientArea, "cmdCancel", "&Cancel");
  cmdCancel->setGeometry(twips(9000, 5460, 1335, 495));
  // Print and save are offered once a report is complete.
  cmdPrint->setVisible(false);
  cmdPrint->setEnabled(false);
  cmdSave->setVisible(false);
  cmdSave->setEnabled(false);

  GetDataTimer = new QTimer(this);
  GetDataTimer->setObjectName(QStringLiteral("GetDataTimer"));
  GetDataTimer->setInterval(100);
  connect(GetDataTimer, &QTimer::timeout, this, [this] { GetDataTimer_Timer(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addWidget(clientArea, 1);

  resize(sizeHint());
}

QSize frmReports::sizeHint() const { return QSize(kDesignWidth / kTwipsPerPixel, kDesignHeight / kTwipsPerPixel); }

void frmReports::update_menu_bar() {
  bool any = false;
  for (QMenu* m : {mnuFile, mnuEdit, mnuOptions}) any = any || m->menuAction()->isVisible();
  menuBar->setVisible(any);
}

void frmReports::GetDataTimer_Timer() {}

void frmReports::process_errors() {
  Session& s = app_.session();
  const char* message = protocol::error_reply_message(s.rx_text);
  if (!message) return;
  app_.ui().msgbox(message, MsgButtons::OK, MsgIcon::Critical, "ERROR");
  if (s.rx_text[0] != 'n') return;
  // The channel is not connected: whatever is running on it stops.
  Forms& forms = app_.forms();
  DownloadFlags& flags = s.download_flags;
  if (flags.show_reports_request) {
    stop_reception();
  } else if (flags.single_rate_selected) {
    forms.get<frmDownload>().stopalltests();
    forms.unload<frmRTGraph>();
    show_main_window();
  } else if (flags.occlusion_selected) {
    forms.get<frmDownload>().stopalltests();
    forms.unload<frmOTGraph>();
    show_main_window();
  }
}

void frmReports::stop_reception() {
  Session& s = app_.session();
  app_.ui().setMousePointer(this, MousePointer::Hourglass);
  s.download_flags.show_reports_request = false;
  GetDataTimer->stop();
  GlobalComm::send_stop_command(app_);
  app_.ui().setMousePointer(this, MousePointer::Default);
  Unload();
  show_main_window();
}

void frmReports::show_main_window() {
  if (FormBase* main = app_.forms().mainWindow()) main->Show();
}

void frmReports::replace_header() {
  Session& s = app_.session();
  qtx::replace_header(s.file_text, s.device_record, s.test_type_code == "1");
}

void frmReports::process_buffer() { report::process_buffer(app_.session().report_text); }

}  // namespace qtx
