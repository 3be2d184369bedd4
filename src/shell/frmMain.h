// The main window: the frame of every other window, the menus, start-up and exit, and the
// hand-over between the acquisition windows after the download dialog.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>

#include "common/port_menus.h"
#include "platform/forms.h"

namespace qtx {

class frmMain : public Form<QMainWindow>, public PortMenus {
  Q_OBJECT

 public:
  explicit frmMain(App& app);

  // The windows the exit roads unload, in this order.
  static const char* const kUnloadOrder[19];

  // Told by Edit Summary or Data Log while a live run goes on, or a transfer into the report
  // window.
  static constexpr const char* kEditDuringLiveRun =
      "A live test is running. Its windows stay as they are until it ends.\r\r"
      "Stop it in its window, or let it end, before you edit a report.";
  static constexpr const char* kEditDuringTransfer =
      "A transfer from the analyser is running in the report window.\r\r"
      "Stop it there, or let it end, before you edit a report.";

  void read_ini();
  // Asks whether to quit; on Yes deletes the temporary report file. True when the program may end.
  bool exit_qtx();
  void unload_child_windows();

  // What the serial link procedures change of the main window (PortMenus).
  void show_comm_port(int16_t port) override;
  void disable_port_menus() override;
  bool port_menus_enabled() const override { return mnuTestPort->isEnabled(); }

  void Form_Load() override;       // MDIForm_Load
  void Form_Activate() override;   // MDIForm_Activate
  bool Form_QueryUnload(UnloadMode mode) override;
  void Form_Unload() override;     // MDIForm_Unload
  void MDIForm_Activate() { Form_Activate(); }
  void MDIForm_Terminate();

  void mnuDownload_Click();
  void mnuEdit_Click();
  void mnuGraphLog_Click();
  void mnuExit_Click();
  void mnuCommPort_Click();
  void mnuTestPort_Click();
  void mnuSysAdmin_Click();
  void mnuQTXHelp_Click();
  void mnuAbout_Click();

  QMdiArea* mdiArea = nullptr;
  QStatusBar* picStatus = nullptr;
  QLabel* lblStatus = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuDownload = nullptr;
  QAction* mnuEdit = nullptr;
  QAction* mnuGraphLog = nullptr;
  QAction* sep3 = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuOptions = nullptr;
  QAction* mnuCommPort = nullptr;
  QAction* mnuTestPort = nullptr;
  QAction* mnuSysAdmin = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuQTXHelp = nullptr;
  QAction* sep4 = nullptr;
  QAction* mnuAbout = nullptr;
};

}  // namespace qtx
