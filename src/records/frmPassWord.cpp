#include "records/frmPassWord.h"

#include <QGridLayout>
#include <QKeyEvent>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmSysAd.h"
#include "records/records_settings.h"
#include "records/settings_text.h"

namespace qtx {

frmPassWord::frmPassWord(App& app) : Form<QDialog>(app) {
  setWindowTitle(QStringLiteral("Password"));
  Label1 = make<QLabel>(this, "Label1", "Enter Password:");
  txtPassword = make_labelled<QLineEdit>(this, "txtPassword", Label1);
  txtPassword->setEchoMode(QLineEdit::Password);
  // Every character typed shows as "*" (character 42), whatever the desktop style masks with.
  txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");
  cmdCancel->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(txtPassword, 0, 1);
  grid->addWidget(cmdCancel, 1, 1, Qt::AlignRight);
  setTabOrder(txtPassword, cmdCancel);

  txtPassword->installEventFilter(this);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmPassWord::Form_Load() {
  txtPassword->clear();
  adjustSize();
  center();
  txtPassword->setFocus(Qt::OtherFocusReason);
}

bool frmPassWord::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPassword && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      txtPassword_KeyPress(13);
      return true;  // the entry is submitted, nothing else
    }
  }
  return Form<QDialog>::eventFilter(watched, event);
}

void frmPassWord::txtPassword_KeyPress(int key_ascii) {
  if (key_ascii != 13) return;
  Session& s = app_.session();
  s.admin_password = app_.settings().get(records::kSection, records::kPasswordKey, records::kPasswordDefault);
  // Compared exactly as typed, letter case and every character included.
  if (txtPassword->text() == records::from_settings_text(s.admin_password)) {
    App& app = app_;  // taken before the window is unloaded
    Unload();
    app.forms().get<frmSysAd>().Show();
    return;
  }
  txtPassword->clear();
  app_.ui().msgbox("Incorrect Password Entered,\r\nTry Again.", MsgButtons::OK, MsgIcon::Exclamation,
                   "Incorrect Password");
}

void frmPassWord::cmdCancel_Click() { Unload(); }

}  // namespace qtx
