// The report window "REPORTS": receives the analyser's summaries and data logs into its text
// area and offers printing, saving, editing and conversion of reports.
//
// So far only the window itself: its controls and menus as designed, and the receive timer.
// Receiving and the commands come with the report window's own work.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/forms.h"

namespace qtx {

class frmReports : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmReports(App& app);
  bool isMdiChild() const override { return true; }

  // Design size of the window, in twips.
  static constexpr int kDesignWidth = 10740;
  static constexpr int kDesignHeight = 7200;

  void GetDataTimer_Timer();

  // Services the live windows and the summary capture use as well.
  // The analyser's error reply in rx_text: its message, and after "n" the transfer or run stops.
  void process_errors();
  // Fills the header labels of file_text with the device record.
  void replace_header();
  // Cleans report_text in place (the passes every received chunk goes through).
  void process_buffer();

  // The window opens at its design size.
  QSize sizeHint() const override;

  // The area below the menus that the controls are placed in (twips from its corner).
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
  // The stop of a reception: the analyser is told, the window goes and the main window shows.
  void stop_reception();
  void show_main_window();
  // The menu bar takes no room while every menu of it is hidden.
  void update_menu_bar();
};

}  // namespace qtx
