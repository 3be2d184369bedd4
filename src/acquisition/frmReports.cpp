#include "acquisition/frmReports.h"

#include <QFont>
#include <QFontMetrics>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "acquisition/test_sequence.h"
#include "common/global_comm.h"
#include "common/global_main.h"
#include "core/paths.h"
#include "core/protocol.h"
#include "core/report_header.h"
#include "core/report_printout.h"
#include "core/text_lines.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx {

namespace {

constexpr const char* kEndOfDownload = "                                 End Of Download";
constexpr const char* kPrinterFailure =
    "The printer is not functioning properly, use Windows online help or manual for further assitance";

int px(int twips) { return twips / kTwipsPerPixel; }

// The text box holds lines ended by LF; the program's texts end them with CR LF.
QString to_box(std::string_view text) {
  QString s = toQ(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}
std::string from_box(QString text) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return fromQ(text);
}

// The report text could not be written to file_name.
void tell_not_saved(App& app) {
  app.ui().msgbox(
      "The report could not be saved: the file " + path_text(app.session().file_name) + " cannot be written.",
      MsgButtons::OK, MsgIcon::Critical, "FILE ACCESS ERROR");
}

// The report to print or save is not there: none came to its end, or its file cannot be read.
std::string no_report(const std::string& what, const std::string& file) {
  return file.empty() ? what + "." : what + ": the file " + path_text(file) + " cannot be read.";
}

// Design places in twips.
QRect twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// The editing layout at the design size; the text area takes what the window gains, and the
// buttons move with its bottom right corner.
const QRect kTextDesign = twips(120, 120, 10380, 5160);
constexpr int kButtonTop = 5460;
constexpr int kSaveLeft = 5880, kPrintLeft = 7440, kCancelLeft = 9000;
constexpr int kButtonWidth = 1335, kButtonHeight = 495;
// However small the window, the text area keeps room for a few short lines.
constexpr int kTextMinWidth = 2400, kTextMinHeight = 900;

}  // namespace

frmReports::frmReports(App& app) : PolledWindow(app) {
  setWindowTitle(QStringLiteral("REPORTS"));

  menuBar = make<QMenuBar>(this, "menuBar");
  mnuFile = menu(menuBar, "mnuFile", "&File");
  mnuOpen = menu_item(mnuFile, "mnuOpen", "&Open");
  mnuPrint = menu_item(mnuFile, "mnuPrint", "&Print Report");
  mnuClose = menu_item(mnuFile, "mnuClose", "&Save And Exit");
  mnuQuit = menu_item(mnuFile, "mnuQuit", "&Quit - no save");
  mnuEdit = menu(menuBar, "mnuEdit", "&Edit");
  mnuClearAll = menu_item(mnuEdit, "mnuClearAll", "&Clear All");
  mnuCut = menu_item(mnuEdit, "mnuCut", "Cu&t");
  mnuCopy = menu_item(mnuEdit, "mnuCopy", "&Copy");
  mnuPaste = menu_item(mnuEdit, "mnuPaste", "&Paste");
  mnuDelete = menu_item(mnuEdit, "mnuDelete", "&Delete");
  mnuOptions = menu(menuBar, "mnuOptions", "&Options");
  mnuConvertPrn = menu_item(mnuOptions, "mnuConvertPrn", "&Convert to CSV");
  for (QMenu* m : {mnuFile, mnuEdit, mnuOptions})
    connect(m->menuAction(), &QAction::changed, this, [this] { update_menu_bar(); });

  // Controls stand where they are put, in twips, so the main window can lay the window out for
  // receiving and the design layout comes back when the window is created afresh.
  clientArea = make<QWidget>(this, "clientArea");

  txtData = make<QPlainTextEdit>(clientArea, "txtData", "Report");
  QFont courier(QStringLiteral("Courier"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setPointSize(10);
  txtData->setFont(courier);
  txtData->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtData->setTabChangesFocus(true);
  txtData->setGeometry(kTextDesign);

  cmdSave = make<QPushButton>(clientArea, "cmdSave", "&Save");
  cmdSave->setGeometry(twips(kSaveLeft, kButtonTop, kButtonWidth, kButtonHeight));
  cmdPrint = make<QPushButton>(clientArea, "cmdPrint", "&Print");
  cmdPrint->setGeometry(twips(kPrintLeft, kButtonTop, kButtonWidth, kButtonHeight));
  cmdCancel = make<QPushButton>(clientArea, "cmdCancel", "&Cancel");
  cmdCancel->setGeometry(twips(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight));
  // Print and save are offered once a report is complete.
  cmdPrint->setVisible(false);
  cmdPrint->setEnabled(false);
  cmdSave->setVisible(false);
  cmdSave->setEnabled(false);

  GetDataTimer = timer(this, "GetDataTimer", 100);
  connect_tick(GetDataTimer, [this] { GetDataTimer_Timer(); });

  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
  connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });
  connect(mnuClose, &QAction::triggered, this, [this] { mnuClose_Click(); });
  connect(mnuQuit, &QAction::triggered, this, [this] { mnuQuit_Click(); });
  connect(mnuClearAll, &QAction::triggered, this, [this] { mnuClearAll_Click(); });
  connect(mnuCut, &QAction::triggered, this, [this] { mnuCut_Click(); });
  connect(mnuCopy, &QAction::triggered, this, [this] { mnuCopy_Click(); });
  connect(mnuPaste, &QAction::triggered, this, [this] { mnuPaste_Click(); });
  connect(mnuDelete, &QAction::triggered, this, [this] { mnuDelete_Click(); });
  connect(mnuConvertPrn, &QAction::triggered, this, [this] { mnuConvertPrn_Click(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addWidget(clientArea, 1);

  resize(sizeHint());
}

QSize frmReports::sizeHint() const { return QSize(kDesignWidth / kTwipsPerPixel, kDesignHeight / kTwipsPerPixel); }

void frmReports::resizeEvent(QResizeEvent* event) {
  PolledWindow::resizeEvent(event);
  fit_to_window();
}

void frmReports::fit_to_window() {
  if (receiving_layout_) return;
  // What the window has gained on its design size (the menu bar above keeps its height).
  const QSize gain = size() - sizeHint();
  QRect text = kTextDesign;
  text.setWidth(std::max(kTextDesign.width() + gain.width(), px(kTextMinWidth)));
  text.setHeight(std::max(kTextDesign.height() + gain.height(), px(kTextMinHeight)));
  txtData->setGeometry(text);
  const int dx = text.width() - kTextDesign.width();
  const int dy = text.height() - kTextDesign.height();
  cmdSave->move(px(kSaveLeft) + dx, px(kButtonTop) + dy);
  cmdPrint->move(px(kPrintLeft) + dx, px(kButtonTop) + dy);
  cmdCancel->move(px(kCancelLeft) + dx, px(kButtonTop) + dy);
}

void frmReports::update_menu_bar() {
  bool any = false;
  for (QMenu* m : {mnuFile, mnuEdit, mnuOptions}) any = any || m->menuAction()->isVisible();
  menuBar->setVisible(any);
}

void frmReports::Form_Load() { initial_setup(); }

std::string frmReports::reportText() { return from_box(txtData->toPlainText()); }

void frmReports::setReportText(std::string_view text) { txtData->setPlainText(to_box(text)); }

void frmReports::show_status(const std::string& line) { txtData->setPlainText(toQ(line)); }

// ---- showing ----------------------------------------------------------------------------------

void frmReports::show_receiving() {
  receiving_layout_ = true;
  app_.forms().attachChild(*this);
  // About one text line (1.2 times the height of the letter "A"), with the box's frame and
  // margins around it so the line is not cut.
  const QFontMetrics metrics(txtData->font());
  const int line = std::max(static_cast<int>(1.2 * metrics.height()), metrics.lineSpacing());
  const int chrome = 2 * txtData->frameWidth() + 2 * static_cast<int>(txtData->document()->documentMargin());
  txtData->setGeometry(px(120), px(120), txtData->width(), line + chrome);
  // A status line: no room for scroll bars.
  txtData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  cmdCancel->move(px(9000), px(1030));
  cmdPrint->move(px(7440), px(1030));
  cmdPrint->setVisible(true);
  cmdSave->move(px(5880), px(1030));
  cmdSave->setVisible(true);
  setHeight(2100);
  mnuFile->menuAction()->setVisible(false);
  mnuEdit->menuAction()->setVisible(false);
  mnuOptions->menuAction()->setVisible(false);
  GetDataTimer->start();
  GlobalMain::center_form(*this);
  Show();
}

void frmReports::show_editing() {
  GetDataTimer->stop();
  for (QAction* a : {mnuClose, mnuClearAll, mnuCut, mnuCopy, mnuPaste, mnuDelete, mnuConvertPrn})
    a->setEnabled(false);
  setWindowTitle(QStringLiteral("REPORTS"));
  GlobalMain::center_form(*this);
  Show();
}

void frmReports::show_download_title(const std::string& file) {
  setWindowTitle(file.empty() ? QStringLiteral("REPORT") : QStringLiteral("REPORT - ") + pathToQ(file));
}

void frmReports::prepare_download(std::string_view waiting_text, const QString& cancel_caption) {
  Session& s = app_.session();
  save_to_file_ = s.run_choices.save_to_file;
  std::string name;
  if (save_to_file_) {
    if (s.test_type_code == test_type::kReceiveAny)
      name = s.receive_any_file;
    else if (s.test_type_code == test_type::kSummary)
      name = s.summary_file;
    else if (s.test_type_code == test_type::kLog)
      name = s.log_file;
  }
  source_ = GlobalSaveOpen::ReportSource{s.test_type_code, name, {}};
  // A report file of an earlier download in this window is not this one's.
  report_file_.clear();
  txtData->setPlainText(toQ(waiting_text));
  if (!cancel_caption.isEmpty()) cmdCancel->setText(cancel_caption);
  for (QAction* a : {mnuClearAll, mnuCut, mnuCopy, mnuPaste, mnuDelete, mnuOpen, mnuPrint, mnuClose, mnuConvertPrn})
    a->setEnabled(false);
}

// ---- receiving --------------------------------------------------------------------------------

void frmReports::initial_setup() {
  GetDataTimer->start();
  Session& s = app_.session();
  s.report_overflow.clear();
  s.report_text.clear();
  s.new_summary = true;
  receiver_.reset();
  // Stale input from before this reception is dropped once the line has been quiet a moment.
  SerialPort& comm = app_.comm();
  if (!comm.input().empty()) {
    Clock& clock = app_.clock();
    const auto second = [&clock] {
      return static_cast<int>(std::fmod(std::floor(clock.seconds_since_midnight()), 60.0));
    };
    const int s0 = second();
    for (;;) {
      const int d = second() - s0;
      if (d > 1 || (d > -58 && d < 0)) break;
      clock.sleep_for(0.05);
    }
    (void)comm.input();
  }
}

void frmReports::Process_tempbuffer() { report::process_tempbuffer(app_.session().rx_text, receiver_.carry_over_text); }

void frmReports::strip_control_chars() { report::strip_control_chars(app_.session().rx_text); }

void frmReports::GetDataTimer_Timer() {
  stopped_ = false;
  Session& s = app_.session();
  const std::string input = app_.comm().input();

  if (!receiver_.carry_over_text.empty() || !input.empty()) {
    for (QAction* a : {mnuPrint, mnuClearAll, mnuCut, mnuCopy, mnuPaste, mnuDelete}) a->setEnabled(true);
    if (save_to_file_) mnuClose->setEnabled(true);
  }

  struct Events : report::ReceiveEvents {
    frmReports& w;
    explicit Events(frmReports& window) : w(window) {}
    bool error_reply(const std::string& reply) override {
      w.app_.session().rx_text = reply;
      w.process_errors();
      return !w.stopped_;
    }
    void show_line(const std::string& line) override { w.show_status(line); }
  } events(*this);
  const report::ReportReceiver::TickResult result = receiver_.tick(input, s.report_text, s.new_summary, events);
  s.rx_text = receiver_.rx_text();
  if (result.stopped) return;
  if (result.end_of_download) {
    end_of_download();
    return;
  }
  // The device went away: one message and the transfer ends; what arrived stays in the window
  // and in the temporary report, to be printed or saved.
  if (device_lost()) keep_what_arrived();
}

void frmReports::end_of_download() {
  Session& s = app_.session();
  txtData->setPlainText(QString::fromLatin1(kEndOfDownload));
  const DeviceRecord& record = s.device_record;
  receiver_.end_of_download(s.report_text, s.new_summary,
                            report::signoff_lines(record.technician, record.pump_type, record.pump_tolerance));
  s.download_flags.show_reports_request = false;
  if (save_to_file_) {
    s.file_text = s.report_text;
    replace_header();
    s.report_text = s.file_text;
  }
  s.file_name = GlobalSaveOpen::own_temp_report(app_);
  process_buffer();
  if (!write_report_file(receiver_.tempfile(s.report_text))) {
    s.download_flags.download_ok = false;
    return;
  }
  GetDataTimer->stop();
  offer_report();
}

void frmReports::keep_what_arrived() {
  Session& s = app_.session();
  s.download_flags.show_reports_request = false;
  // Nothing came.
  if (s.new_summary && receiver_.pending_line.empty() && receiver_.carry_over_text.empty()) return;
  if (s.new_summary) s.report_text.clear();
  s.new_summary = true;
  s.report_text += receiver_.pending_line;
  s.report_text += receiver_.carry_over_text;
  receiver_.pending_line.clear();
  s.file_name = GlobalSaveOpen::own_temp_report(app_);
  if (!write_report_file(receiver_.tempfile(s.report_text))) return;
  offer_report();
}

void frmReports::offer_report() {
  Session& s = app_.session();
  report_file_ = s.file_name;
  receiver_.clear_after_download(s.report_text);
  cmdPrint->setEnabled(true);
  if (save_to_file_) cmdSave->setEnabled(true);
  if (source_.mode == test_type::kReceiveAny) cmdCancel->setText(QStringLiteral("&Cancel"));
}

bool frmReports::write_report_file(const std::string& bytes) {
  Session& s = app_.session();
  while (!files::write_all(s.file_name, bytes)) {
    app_.ui().msgbox("Bad report file name", MsgButtons::OK, MsgIcon::Exclamation, "INVALID FILE NAME");
    CommonDialog& dialog = app_.commonDialog();
    dialog.FileName.clear();
    app_.ui().showSave(dialog);
    if (dialog.FileName.empty()) {
      app_.ui().msgbox("Saving report cancelled.", MsgButtons::OK, MsgIcon::Exclamation, "SAVE CANCEL");
      return false;
    }
    s.file_name = dialog.FileName;
    GlobalSaveOpen::remember_save_dir(app_, s.file_name);
  }
  return true;
}

// ---- stopping ---------------------------------------------------------------------------------

void frmReports::process_errors() { process_errors(app_); }

void frmReports::process_errors(App& app) {
  Session& s = app.session();
  const char* message = protocol::error_reply_message(s.rx_text);
  if (!message) return;
  app.ui().msgbox(message, MsgButtons::OK, MsgIcon::Critical, "ERROR");
  if (s.rx_text[0] != 'n') return;
  // The channel is not connected: whatever is running on it stops.
  Forms& forms = app.forms();
  DownloadFlags& flags = s.download_flags;
  if (flags.show_reports_request) {
    if (frmReports* reports = forms.loaded<frmReports>()) {
      reports->stop_reception();
      return;
    }
    flags.show_reports_request = false;
    GlobalComm::send_stop_command(app);
  } else if (!TestSequence::stop_run_not_connected(app)) {
    return;
  }
  if (FormBase* main = forms.mainWindow()) main->Show();
}

void frmReports::stop_transfer() {
  Session& s = app_.session();
  app_.ui().setMousePointer(this, MousePointer::Hourglass);
  s.download_flags.show_reports_request = false;
  GetDataTimer->stop();
  GlobalComm::send_stop_command(app_);
  app_.ui().setMousePointer(this, MousePointer::Default);
}

void frmReports::stop_reception() {
  stopped_ = true;
  stop_transfer();
  Unload();
  show_main_window();
}

void frmReports::show_main_window() {
  if (FormBase* main = app_.forms().mainWindow()) main->Show();
}

bool frmReports::Form_QueryUnload(UnloadMode mode) {
  // Closed by its close box while a download is on its way: the analyser is stopped and the
  // main window does not bring the window back.
  if (mode == UnloadMode::FormControlMenu && app_.session().download_flags.show_reports_request) {
    stopped_ = true;
    stop_transfer();
    show_main_window();
  }
  return false;
}

void frmReports::cmdCancel_Click() {
  if (source_.mode == test_type::kReceiveAny && cmdCancel->text() == QStringLiteral("Stop")) {
    cmdCancel->setText(QStringLiteral("Cancel"));
    if (txtData->toPlainText() != QString::fromLatin1(kWaitingText)) {
      cmdPrint->setEnabled(true);
      if (save_to_file_) cmdSave->setEnabled(true);
    }
    GetDataTimer->stop();
    // The reception is over until the technician starts a new one: no later activation of the
    // main window takes it up again.
    app_.session().download_flags.show_reports_request = false;
    return;
  }
  stop_reception();
}

void frmReports::mnuQuit_Click() { stop_reception(); }

// ---- printing and saving ----------------------------------------------------------------------

void frmReports::cmdPrint_Click() {
  if (app_.ui().msgbox("Are you sure want to print?", MsgButtons::YesNo, MsgIcon::None, "PRINT", 1) == MsgAnswer::Yes)
    print_screen();
}

void frmReports::mnuPrint_Click() {
  if (app_.ui().msgbox("Are you sure want to print?", MsgButtons::YesNo, MsgIcon::Question, "PRINT", 2) ==
      MsgAnswer::Yes)
    print_screen();
}

void frmReports::print_screen() {
  QWidget* main = app_.forms().mainWindow() ? &app_.forms().mainWindow()->widget() : nullptr;
  const auto pointer = [&](MousePointer p) {
    if (main) app_.ui().setMousePointer(main, p);
  };
  pointer(MousePointer::Hourglass);
  // The report the window holds, never whatever another window's dialog left in file_name.
  const std::string& name = source_.mode == test_type::kFile ? source_.file : report_file_;
  const std::optional<std::string> file = name.empty() ? std::nullopt : files::read_all(name);
  if (!file) {
    // Nothing came to its end (a Receive Any stopped before it, for one), or the file is gone.
    pointer(MousePointer::Default);
    app_.ui().msgbox(no_report("There is no report to print", name), MsgButtons::OK, MsgIcon::Exclamation, "PRINT");
    return;
  }
  Printer& printer = app_.printer();
  ReportPrintout printout(name);
  bool ok = printer.setFontName("courier new");
  LineReader lines(*file);
  while (ok && !lines.eof()) {
    for (const PrintStep& step : printout.steps(lines.next())) {
      ok = step.kind == PrintStep::kNewPage ? printer.newPage() : printer.print(step.items);
      if (!ok) break;
    }
  }
  if (ok) ok = printer.endDoc();
  pointer(MousePointer::Default);
  if (!ok) {
    // A printer that fails is told once; the rest of the report is not sent to it.
    printer.killDoc();
    app_.ui().msgbox(kPrinterFailure, MsgButtons::OK, MsgIcon::Critical, "ERROR");
  }
}

void frmReports::cmdSave_Click() {
  Session& s = app_.session();
  app_.ui().setMousePointer(this, MousePointer::Hourglass);
  // The name chosen when this download started; a later download's choice is not this report's.
  s.file_name = vb::Trim(source_.file);
  if (!s.file_name.empty()) {
    // The file this reception was written to: the temporary report, or the name chosen when that
    // could not be written.
    const std::optional<std::string> report = report_file_.empty() ? std::nullopt : files::read_all(report_file_);
    std::string problem;
    if (!report)
      problem = no_report("There is no received report to save", report_file_);
    else if (!files::write_all(s.file_name, *report))
      problem = "The report could not be saved: the file cannot be written.";
    if (!problem.empty()) {
      app_.ui().setMousePointer(this, MousePointer::Default);
      app_.ui().msgbox(problem, MsgButtons::OK, MsgIcon::Exclamation, "SAVE");
      return;
    }
  }
  app_.ui().setMousePointer(this, MousePointer::Default);
  Unload();
}

void frmReports::mnuClose_Click() {
  app_.ui().setMousePointer(this, MousePointer::Hourglass);
  const GlobalSaveOpen::SaveResult result = GlobalSaveOpen::save_report_text(app_, *this);
  app_.ui().setMousePointer(this, MousePointer::Default);
  if (result == GlobalSaveOpen::SaveResult::WriteFailed) {
    tell_not_saved(app_);
    return;
  }
  // Without a name the text stays in the window, so nothing typed is lost.
  if (result == GlobalSaveOpen::SaveResult::Cancelled) return;
  Unload();
}

void frmReports::mnuOpen_Click() {
  Session& s = app_.session();
  s.test_type_code = test_type::kFile;
  s.file_name.clear();
  app_.commonDialog().DialogTitle = "OPEN EDIT";
  GlobalSaveOpen::open_file_dialog(app_);
  GlobalSaveOpen::load_file_into_reports(app_, *this);
  for (QAction* a : {mnuClose, mnuClearAll, mnuCut, mnuCopy, mnuPaste, mnuDelete, mnuConvertPrn}) a->setEnabled(true);
  // The file whose text the window shows: a refused or cancelled Open leaves the earlier one.
  setWindowTitle(QStringLiteral("REPORT - ") + pathToQ(source_.mode == test_type::kFile ? source_.file : ""));
}

void frmReports::mnuConvertPrn_Click() {
  Session& s = app_.session();
  if (source_.mode == test_type::kFile) {
    // An opened report, when edited, is saved to its own file before a log is converted.
    if (GlobalSaveOpen::save_report_text(app_, *this) == GlobalSaveOpen::SaveResult::WriteFailed) tell_not_saved(app_);
  }
  s.file_name.clear();
  app_.commonDialog().DialogTitle = "CONVERT TO CSV";
  GlobalSaveOpen::convert_file_dialog(app_);
  if (!s.file_name.empty())
    GlobalSaveOpen::convert_log_to_csv(app_, *this);
  else
    app_.ui().msgbox("Converting Log file to Spreadsheet format cancelled", MsgButtons::OK, MsgIcon::Exclamation,
                     "CANCEL");
}

// ---- editing ----------------------------------------------------------------------------------

void frmReports::mnuClearAll_Click() { txtData->clear(); }

void frmReports::mnuCopy_Click() { app_.ui().setClipboardText(from_box(txtData->textCursor().selectedText())); }

void frmReports::mnuCut_Click() {
  mnuCopy_Click();
  txtData->textCursor().removeSelectedText();
}

void frmReports::mnuPaste_Click() { txtData->textCursor().insertText(to_box(app_.ui().clipboardText())); }

void frmReports::mnuDelete_Click() { txtData->textCursor().removeSelectedText(); }

void frmReports::replace_header() {
  Session& s = app_.session();
  qtx::replace_header(s.file_text, s.device_record, source_.mode == test_type::kSummary);
}

void frmReports::process_buffer() { report::process_buffer(app_.session().report_text); }

}  // namespace qtx
