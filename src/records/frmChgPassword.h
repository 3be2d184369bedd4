// The change-password dialog "Set Password": a new administrator password and its
// confirmation. Shown modally by the administrator dialog, which it re-opens on OK and Cancel.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "platform/forms.h"

namespace qtx {

class frmChgPassword : public DialogForm {
  Q_OBJECT

 public:
  explicit frmChgPassword(App& app);

  void Form_Load() override;
  void Form_Unload() override;

  // Enter in, or leaving, the new password: it is taken and the confirmation is next.
  void txtSetPassword_KeyPress(int key_ascii);
  void txtSetPassword_LostFocus();
  // Enter in, or leaving, the confirmation: it is compared with the new password.
  void txtConfPassw_KeyPress(int key_ascii);
  void txtConfPassw_LostFocus();
  void CmdOK_Click();
  void cmdCancel_Click();

  const std::string& new_password() const { return new_password_; }
  const std::string& confirm_text() const { return confirm_text_; }
  bool password_confirmed() const { return password_confirmed_; }

  QGroupBox* Frame1 = nullptr;
  QLineEdit* txtSetPassword = nullptr;
  QGroupBox* Frame2 = nullptr;
  QLineEdit* txtConfPassw = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* CmdOK = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void take_new_password();
  void compare_confirmation();
  void reopen_administrator(std::optional<std::string> new_password);

  std::string new_password_;
  std::string confirm_text_;
  bool password_confirmed_ = false;
  bool unloading_ = false;
  bool comparing_ = false;
};

}  // namespace qtx
