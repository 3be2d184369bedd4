#include "shell/frmMain.h"

#include <QMenuBar>

#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "acquisition/frmReports.h"
#include "acquisition/running_work.h"
#include "common/frmAbout.h"
#include "common/global_comm.h"
#include "common/global_main.h"
#include "common/global_save_open.h"
#include "common/startup_settings.h"
#include "core/paths.h"
#include "core/vb.h"
#include "graphs/frmGraph.h"
#include "help/frmQTXHelp.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmPassWord.h"
#include "records/frmSysAd.h"
#include "records/records_settings.h"
#include "shell/frmChangePort.h"
#include "shell/frmTestPort.h"

namespace qtx {

const char* const frmMain::kUnloadOrder[19] = {
    "frmAbout",  "frmChangePort",  "frmChgPassword", "frmDownload", "frmQTXGHelp", "frmQTXHelp", "frmQTXOverview",
    "frmGraph",  "frmHeader",      "frmInProgress",  "frmOTGraph",  "frmPassWord", "frmReports", "frmRTGraph",
    "frmSetRate", "frmSummary",    "frmTestPort",    "frmTrumpetGraph", "frmTrumpSet"};

namespace {

// Centres a child window in the main window's area and shows it.
void show_centred(FormBase& child) {
  GlobalMain::center_form(child);
  child.Show();
}

}  // namespace

frmMain::frmMain(App& app) : Form<QMainWindow>(app) {
  setWindowTitle(QStringLiteral("QTX"));
  resize(800, 600);

  mdiArea = make<QMdiArea>(this, "mdiArea");
  setCentralWidget(mdiArea);

  mnuFile = menu(menuBar(), "mnuFile", "&File");
  mnuDownload = menu_item(mnuFile, "mnuDownload", "&Download");
  mnuEdit = menu_item(mnuFile, "mnuEdit", "&Edit Summary or Data Log");
  mnuGraphLog = menu_item(mnuFile, "mnuGraphLog", "&Graph Data Log");
  sep3 = menu_separator(mnuFile, "sep3");
  mnuExit = menu_item(mnuFile, "mnuExit", "E&xit Qtx");

  mnuOptions = menu(menuBar(), "mnuOptions", "&Options");
  mnuCommPort = menu_item(mnuOptions, "mnuCommPort", "&Change Comm Port");
  mnuTestPort = menu_item(mnuOptions, "mnuTestPort", "&Test Serial Port");
  mnuSysAdmin = menu_item(mnuOptions, "mnuSysAdmin", "&System Administrator");

  mnuHelp = menu(menuBar(), "mnuHelp", "&Help");
  mnuQTXHelp = menu_item(mnuHelp, "mnuQTXHelp", "QTX Help");
  sep4 = menu_separator(mnuHelp, "sep4");
  mnuAbout = menu_item(mnuHelp, "mnuAbout", "&About");

  picStatus = make<QStatusBar>(this, "picStatus");
  picStatus->setSizeGripEnabled(false);
  lblStatus = make<QLabel>(picStatus, "lblStatus");
  picStatus->addWidget(lblStatus, 1);
  setStatusBar(picStatus);

  connect(mnuDownload, &QAction::triggered, this, [this] { mnuDownload_Click(); });
  connect(mnuEdit, &QAction::triggered, this, [this] { mnuEdit_Click(); });
  connect(mnuGraphLog, &QAction::triggered, this, [this] { mnuGraphLog_Click(); });
  connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
  connect(mnuCommPort, &QAction::triggered, this, [this] { mnuCommPort_Click(); });
  connect(mnuTestPort, &QAction::triggered, this, [this] { mnuTestPort_Click(); });
  connect(mnuSysAdmin, &QAction::triggered, this, [this] { mnuSysAdmin_Click(); });
  connect(mnuQTXHelp, &QAction::triggered, this, [this] { mnuQTXHelp_Click(); });
  connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });

  app.forms().setMainWindow(this, mdiArea);
}

void frmMain::Form_Load() {
  GlobalMain::center_form(*this);
  read_ini();
  GlobalMain::update_comm_caption(app_);
  GlobalComm::probe_comm_ports(app_);
  GlobalComm::open_comm_port(app_);
}

void frmMain::read_ini() {
  Session& s = app_.session();
  SettingsStore& store = app_.settings();
  Folders& f = s.folders;
  f.start_dir = files::current_folder();
  f.default_help_dir = join_path(f.start_dir, startup::kHelpFolderName);
  f.default_save_dir = join_path(f.start_dir, startup::kSaveFolderName);
  f.default_init_dir = join_path(f.start_dir, startup::kSaveFolderName);
  s.header_switch = true;
  s.header_entered = true;

  using startup::kSection;
  s.comm.comm_port = vb::CInt(vb::Val(store.get(kSection, startup::kCommKey, startup::kCommDefault)));
  s.comm.series_code = store.get(kSection, startup::kSeriesKey, startup::kSeriesDefault);
  f.main_dir = store.get(kSection, startup::kMainDirKey, f.start_dir);
  f.save_dir = store.get(kSection, startup::kSaveDirKey, f.default_save_dir);
  f.init_dir = store.get(kSection, startup::kInitDirKey, f.default_init_dir);
  f.help_dir = store.get(kSection, startup::kHelpDirKey, f.default_help_dir);

  // The folders go back to the store together: one write of the settings file at most.
  SettingsBatch batch(store);
  store.save(kSection, startup::kMainDirKey, f.main_dir);
  store.save(kSection, startup::kHelpDirKey, f.help_dir);
  store.save(kSection, startup::kSaveDirKey, f.save_dir);
  store.save(kSection, startup::kInitDirKey, f.init_dir);
}

void frmMain::Form_Activate() {
  // The download dialog leaves one request behind; every activation honours it until the
  // download start or the test sequence clears it.
  DownloadFlags& flags = app_.session().download_flags;
  Forms& forms = app_.forms();
  // While the download dialog is open the choices are still being made (a request standing
  // then is an earlier run's): the hand-over waits until the dialog hides.
  if (frmDownload* dialog = forms.loaded<frmDownload>(); dialog && dialog->Visible()) return;
  if (flags.show_rt_request) {
    forms.unload("frmReports");
    forms.unload("frmOTGraph");
    frmRTGraph& rt = forms.get<frmRTGraph>();
    show_centred(rt);
    // The poll belongs to the test: while the test's summary is captured it stays off.
    if (!app_.session().test_phase_flags.rt_summary_phase) rt.GetDataTimer->start();
  } else if (flags.show_ot_request) {
    forms.unload("frmReports");
    forms.unload("frmRTGraph");
    frmOTGraph& ot = forms.get<frmOTGraph>();
    show_centred(ot);
    if (!app_.session().test_phase_flags.ot_summary_phase) ot.GetDataTimer->start();
  } else if (flags.show_reports_request) {
    forms.unload("frmRTGraph");
    forms.unload("frmOTGraph");
    forms.get<frmReports>().show_receiving();
  }
}

bool frmMain::Form_QueryUnload(UnloadMode) { return !exit_qtx(); }

void frmMain::Form_Unload() { unload_child_windows(); }

void frmMain::MDIForm_Terminate() {
  unload_child_windows();
  app_.forms().unload(*this, UnloadMode::FormCode);
}

void frmMain::unload_child_windows() {
  for (const char* name : kUnloadOrder) app_.forms().unload(name);
}

bool frmMain::exit_qtx() {
  MsgAnswer a = app_.ui().msgbox("Are you sure want to quit QTX?", MsgButtons::YesNo, MsgIcon::Question, "EXIT QTX", 2);
  if (a != MsgAnswer::Yes) return false;
  // The temporary reports go with the program (this copy's own, never another running copy's);
  // failing to delete them never stops the exit.
  GlobalSaveOpen::delete_temp_reports(app_);
  return true;
}

void frmMain::show_comm_port(int16_t port) {
  const QString n = toQ(vb::to_text(port));
  // The status strip runs along the lower edge of the main window.
  lblStatus->setText(QStringLiteral("Comm Port:  ") + n);
  setWindowTitle(QStringLiteral("QTX  -  Comm ") + n);
}

void frmMain::disable_port_menus() {
  mnuCommPort->setEnabled(false);
  mnuDownload->setEnabled(false);
  mnuTestPort->setEnabled(false);
}

void frmMain::mnuDownload_Click() {
  // Modeless, so the port windows stay within reach while the choices are made. There is one
  // dialog: open already, it comes to the front. When OK hides it, the main window is active
  // again and its activation hands over to the window the dialog asked for.
  frmDownload& dialog = app_.forms().get<frmDownload>();
  dialog.Show();
  dialog.activateWindow();
}

void frmMain::mnuEdit_Click() {
  // A live run or a transfer keeps its windows until it ends: unloading them would leave its log
  // open without its end and its flags set.
  const RunningWork running = running_now(app_);
  if (running != RunningWork::Nothing) {
    app_.ui().msgbox(running == RunningWork::LiveRun ? kEditDuringLiveRun : kEditDuringTransfer, MsgButtons::OK,
                     MsgIcon::Exclamation, "EDIT");
    return;
  }
  Forms& forms = app_.forms();
  forms.unload("frmRTGraph");
  forms.unload("frmOTGraph");
  // Last shown in the receiving layout: created afresh at its design layout.
  if (frmReports* shown = forms.loaded<frmReports>(); shown && shown->Height() < 3000) forms.unload<frmReports>();
  forms.get<frmReports>().show_editing();
}

void frmMain::mnuGraphLog_Click() { app_.forms().get<frmGraph>().Show(); }

void frmMain::mnuExit_Click() {
  // Asked first, as closing the main window asks: the child windows go (Form_Unload) only on
  // Yes, so No leaves an edited report and a running test as they are.
  app_.forms().unload(*this, UnloadMode::FormCode);
}

void frmMain::mnuCommPort_Click() { app_.forms().get<frmChangePort>().Show(); }

void frmMain::mnuTestPort_Click() { app_.forms().get<frmTestPort>().Show(); }

void frmMain::mnuSysAdmin_Click() {
  Session& s = app_.session();
  s.password_required = records::read_password_required(app_.settings());
  if (s.password_required)
    app_.forms().get<frmPassWord>().Show();
  else
    app_.forms().get<frmSysAd>().Show();
}

void frmMain::mnuQTXHelp_Click() { app_.forms().get<frmQTXHelp>().Show(); }

void frmMain::mnuAbout_Click() { app_.forms().get<frmAbout>().Show(); }

}  // namespace qtx
