#include "shell/frmChangePort.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/global_comm.h"
#include "common/global_main.h"
#include "common/startup_settings.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/settings_store.h"

namespace qtx {

frmChangePort::frmChangePort(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("CONFIGURATION"));

  fraCommOptions = make<QGroupBox>(this, "fraCommOptions", "Select Comm Port");
  optComm1 = make<QRadioButton>(fraCommOptions, "optComm1", "Comm 1");
  optComm2 = make<QRadioButton>(fraCommOptions, "optComm2", "Comm 2");
  optComm3 = make<QRadioButton>(fraCommOptions, "optComm3", "Comm 3");
  optComm4 = make<QRadioButton>(fraCommOptions, "optComm4", "Comm 4");
  auto* frame_layout = new QVBoxLayout(fraCommOptions);
  for (int n = 1; n <= 4; ++n) frame_layout->addWidget(options()[static_cast<size_t>(n)]);

  cmdUpdate = make<QPushButton>(this, "cmdUpdate", "&Update");
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdUpdate);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(fraCommOptions, 1);
  layout->addLayout(buttons);
  resize(300, 170);

  connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmChangePort::Form_Load() { GlobalMain::center_form(*this); }

// Showing the window, and coming back to it, rebuilds the options.
void frmChangePort::Form_Activate() { setup_comm_option_buttons(); }

void frmChangePort::setup_comm_option_buttons() {
  const CommState& comm = app_.session().comm;
  auto opts = options();
  // Option buttons that exclude each other cannot all be cleared while they do.
  for (int n = 1; n <= 4; ++n) {
    QRadioButton* b = opts[static_cast<size_t>(n)];
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
  if (comm.comm_port >= 1 && comm.comm_port <= 4) opts[static_cast<size_t>(comm.comm_port)]->setChecked(true);
  for (int n = 1; n <= 4; ++n) opts[static_cast<size_t>(n)]->setEnabled(false);
  for (int n = 1; n <= 4; ++n)
    if (comm.port_usable[static_cast<size_t>(n)]) opts[static_cast<size_t>(n)]->setEnabled(true);
}

void frmChangePort::cmdUpdate_Click() {
  Session& s = app_.session();
  auto opts = options();
  for (int16_t n = 1; n <= 4; ++n)
    if (opts[static_cast<size_t>(n)]->isChecked()) s.comm.comm_port = n;
  GlobalMain::update_comm_caption(app_);
  app_.settings().save(startup::kSection, startup::kCommKey, vb::to_text(s.comm.comm_port));
  GlobalComm::close_comm_port(app_);
  // A port that does not open is told by the open itself; the choice stays stored.
  GlobalComm::open_comm_port(app_);
  Unload();
}

void frmChangePort::cmdCancel_Click() { Unload(); }

}  // namespace qtx
