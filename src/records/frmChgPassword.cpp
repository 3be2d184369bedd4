#include "records/frmChgPassword.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmSysAd.h"
#include "records/records_settings.h"
#include "records/settings_text.h"

namespace qtx {

namespace {

bool is_enter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Focus that only moves to a message box or another window has not left the box.
bool left_box(QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

frmChgPassword::frmChgPassword(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("Set Password"));
  Frame1 = make<QGroupBox>(this, "Frame1", "Set Password");
  txtSetPassword = make<QLineEdit>(Frame1, "txtSetPassword");
  txtSetPassword->setAccessibleName(Frame1->title());
  (new QVBoxLayout(Frame1))->addWidget(txtSetPassword);
  Frame2 = make<QGroupBox>(this, "Frame2", "Confirm Password");
  txtConfPassw = make<QLineEdit>(Frame2, "txtConfPassw");
  txtConfPassw->setAccessibleName(Frame2->title());
  (new QVBoxLayout(Frame2))->addWidget(txtConfPassw);
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");
  cmdCancel->setAutoDefault(false);
  CmdOK = make<QPushButton>(this, "CmdOK", "&OK");
  CmdOK->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Frame1, 0, 0);
  grid->addWidget(Frame2, 1, 0);
  grid->addWidget(cmdCancel, 0, 1, Qt::AlignTop);
  grid->addWidget(CmdOK, 1, 1, Qt::AlignTop);
  setTabOrder(txtSetPassword, txtConfPassw);
  setTabOrder(txtConfPassw, cmdCancel);
  setTabOrder(cmdCancel, CmdOK);

  txtSetPassword->installEventFilter(this);
  txtConfPassw->installEventFilter(this);
  // Any change typed into the confirmation undoes an earlier match.
  connect(txtConfPassw, &QLineEdit::textEdited, this, [this] { password_confirmed_ = false; });
  connect(CmdOK, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmChgPassword::Form_Load() {
  adjustSize();
  center();
  txtSetPassword->setFocus(Qt::OtherFocusReason);
}

void frmChgPassword::Form_Unload() { unloading_ = true; }

bool frmChgPassword::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtSetPassword) {
    if (is_enter(event)) {
      txtSetPassword_KeyPress(13);
      return true;
    }
    if (left_box(event)) txtSetPassword_LostFocus();
  } else if (watched == txtConfPassw) {
    if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
      password_confirmed_ = false;  // a key typed into the confirmation
    if (is_enter(event)) {
      txtConfPassw_KeyPress(13);
      return true;
    }
    if (left_box(event)) txtConfPassw_LostFocus();
  }
  return DialogForm::eventFilter(watched, event);
}

void frmChgPassword::txtSetPassword_KeyPress(int key_ascii) {
  if (key_ascii == 13) take_new_password();
}

void frmChgPassword::txtSetPassword_LostFocus() {
  if (!unloading_ && isVisible()) take_new_password();
}

void frmChgPassword::txtConfPassw_KeyPress(int key_ascii) {
  if (key_ascii == 13) compare_confirmation();
}

void frmChgPassword::txtConfPassw_LostFocus() {
  if (!unloading_ && isVisible()) compare_confirmation();
}

void frmChgPassword::take_new_password() {
  new_password_ = records::to_settings_text(txtSetPassword->text());
  // A new password that differs from the one confirmed is not confirmed, whatever road the
  // focus takes to OK.
  if (new_password_ != confirm_text_) password_confirmed_ = false;
  txtConfPassw->setFocus(Qt::OtherFocusReason);
}

void frmChgPassword::compare_confirmation() {
  if (comparing_) return;
  confirm_text_ = records::to_settings_text(txtConfPassw->text());
  if (confirm_text_ == new_password_) {
    password_confirmed_ = true;
    return;
  }
  password_confirmed_ = false;
  txtConfPassw->clear();
  comparing_ = true;
  app_.ui().msgbox("Password entered is not confirmed,\r\nplease retry.", MsgButtons::OK, MsgIcon::Exclamation,
                   "Confirmation Error");
  comparing_ = false;
}

void frmChgPassword::CmdOK_Click() {
  Session& s = app_.session();
  if (!password_confirmed_) return reopen_administrator(std::nullopt);
  s.admin_password = new_password_;
  if (!s.password_required) {
    s.password_required = true;
    app_.settings().save(records::kSection, records::kPasswordRequiredKey, records::kTrueText);
  }
  reopen_administrator(new_password_);
}

void frmChgPassword::cmdCancel_Click() { reopen_administrator(std::nullopt); }

void frmChgPassword::reopen_administrator(std::optional<std::string> new_password) {
  App& app = app_;  // taken before the window is unloaded
  Unload();
  frmSysAd& administrator = app.forms().get<frmSysAd>();
  // The re-opened dialog stores it when it saves, and drops it when it is cancelled.
  if (new_password) administrator.store_new_password(std::move(*new_password));
  administrator.Show();
}

}  // namespace qtx
