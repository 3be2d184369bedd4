// The password prompt "Password" in front of the administrator dialog. Enter submits; there
// is no OK button. A modeless window, made afresh on each showing.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/forms.h"

namespace qtx {

class frmPassWord : public Form<QDialog> {
  Q_OBJECT

 public:
  explicit frmPassWord(App& app);

  void Form_Load() override;

  void txtPassword_KeyPress(int key_ascii);
  void cmdCancel_Click();

  QLabel* Label1 = nullptr;
  QLineEdit* txtPassword = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Esc closes the prompt as Cancel does.
  void reject() override { cmdCancel_Click(); }
};

}  // namespace qtx
