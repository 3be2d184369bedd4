// The report window "REPORTS": receives the analyser's summaries and data logs into its text
// area and offers printing, saving, editing and conversion of reports.
//
// The receive rules themselves (cleaning, lines, framing, head and pages, tempfile.dat) are the
// core report receiver's; the window reads the port, shows the last line and runs the end of a
// download.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "acquisition/polled_window.h"
#include "common/global_save_open.h"
#include "core/report_receiver.h"

namespace qtx {

class frmReports : public PolledWindow, public GlobalSaveOpen::ReportWindow {
  Q_OBJECT

 public:
  explicit frmReports(App& app);
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  // The close box while a download is received ends the transfer as Cancel does.
  bool Form_QueryUnload(UnloadMode mode) override;

  // The main window's two ways of showing the window: laid out for receiving (one status line,
  // the buttons under it, no menus, the receive timer on), or for editing a report file.
  void show_receiving();
  void show_editing();
  // The caption of a download into this file: "REPORT - " and its name, or "REPORT" for the
  // temporary file ("").
  void show_download_title(const std::string& file);
  // What the window shows while it waits for the analyser to send on its own: 29 blanks before
  // the words.
  static constexpr const char* kWaitingText = "                             Waiting for Serial Input";
  // Made ready for a download the dialog starts: the text shown while waiting ("" for none), the
  // Cancel button's caption when one is given, and the menu items that stay off while receiving.
  void prepare_download(std::string_view waiting_text, const QString& cancel_caption = {});

  // Prepares a reception: state cleared, stale input on the port dropped.
  void initial_setup();
  // Cleans rx_text and holds its last characters back for the next tick.
  void Process_tempbuffer();
  // Prints the file file_name as the report printout; after Open, the window's own file.
  void print_screen();

  // Design size of the window, in twips.
  static constexpr int kDesignWidth = 10740;
  static constexpr int kDesignHeight = 7200;

  void GetDataTimer_Timer();

  // Services the live windows and the summary capture use as well.
  // The analyser's error reply in rx_text: its message, and after "n" the transfer or run stops.
  void process_errors();
  // The same for a window that has no report window open (the live tests): the report window is
  // not loaded for it, since loading it would start its receiving.
  static void process_errors(App& app);
  // Fills the header labels of file_text with the device record.
  void replace_header();
  // Cleans report_text in place (the passes every received chunk goes through).
  void process_buffer();

  void cmdCancel_Click();
  void cmdPrint_Click();
  void cmdSave_Click();
  void mnuOpen_Click();
  void mnuPrint_Click();
  void mnuClose_Click();
  void mnuQuit_Click();
  void mnuClearAll_Click();
  void mnuCut_Click();
  void mnuCopy_Click();
  void mnuPaste_Click();
  void mnuDelete_Click();
  void mnuConvertPrn_Click();

  // The receiver's state (held-back characters, pending line, head, pages).
  const report::ReportReceiver& receiver() const { return receiver_; }

  // The window opens at its design size.
  QSize sizeHint() const override;

  // What the file routines touch of the window.
  QWidget* pointerWindow() override { return this; }
  std::string reportText() override;
  void setReportText(std::string_view text) override;
  void setPrintEnabled(bool enabled) override { mnuPrint->setEnabled(enabled); }
  GlobalSaveOpen::OpenedReport& openedReport() override { return opened_; }

  // The area below the menus that the controls are placed in (twips from its corner). In the
  // editing layout the text area grows with the window and the buttons keep to its bottom
  // right corner.
  QWidget* clientArea = nullptr;
  QPlainTextEdit* txtData = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdCancel = nullptr;
  QTimer* GetDataTimer = nullptr;

  QMenuBar* menuBar = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuOpen = nullptr;
  QAction* mnuPrint = nullptr;
  QAction* mnuClose = nullptr;
  QAction* mnuQuit = nullptr;
  QMenu* mnuEdit = nullptr;
  QAction* mnuClearAll = nullptr;
  QAction* mnuCut = nullptr;
  QAction* mnuCopy = nullptr;
  QAction* mnuPaste = nullptr;
  QAction* mnuDelete = nullptr;
  QMenu* mnuOptions = nullptr;
  QAction* mnuConvertPrn = nullptr;

 private:
  // The stop of a transfer: the analyser is told and the request is cleared.
  void stop_transfer();
  // The same, then the window goes and the main window shows.
  void stop_reception();
  void show_main_window();
  void strip_control_chars();
  // After BEL: the sign-off, the header labels and tempfile.dat; print and save offered.
  void end_of_download();
  // A transfer cut short by a lost device: what arrived becomes the report.
  void keep_what_arrived();
  // The report of this reception is in file_name: it is remembered, the receiver cleared, and
  // print and save are offered.
  void offer_report();
  // tempfile.dat written, or another name asked after a failure; false when the user gave none.
  bool write_report_file(const std::string& bytes);
  // "Save to File", as the running transfer was started.
  bool save_to_file();
  void show_status(const std::string& line);

  // The editing layout: text area and buttons follow the window's size.
  void fit_to_window();
  void resizeEvent(QResizeEvent* event) override;

  report::ReportReceiver receiver_;
  bool stopped_ = false;  // the reception was stopped from within a tick
  std::string report_file_;  // where the report of this reception was written ("" not yet)
  // Laid out by show_receiving: one status line and the buttons at fixed places.
  bool receiving_layout_ = false;
  // The report file the window holds for editing (Open).
  GlobalSaveOpen::OpenedReport opened_;
  // The menu bar takes no room while every menu of it is hidden.
  void update_menu_bar();
};

}  // namespace qtx
