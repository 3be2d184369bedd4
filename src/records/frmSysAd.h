// The administrator dialog "System Administrator": the nine pick lists of the device-record
// dialog, the eleven mandatory flags and the administrator password. A modeless window; the
// store changes only when it saves (Close, Set Password) and at Remove Password. Saving stores
// what was changed in this dialog onto the settings as they stand then, so another
// administrator's work done meanwhile (another copy of the program) stays.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "platform/forms.h"

namespace qtx {

class frmSysAd : public Form<QDialog> {
  Q_OBJECT

 public:
  // One pick list as the dialog keeps it (the Volumes count has no list and no control).
  struct sys_admin_list {
    std::vector<std::string> entries;  // as read when the dialog opened (the stored texts)
    int16_t count = 0;                 // entries now in the list
    int16_t saved_count = 0;           // the count read when the dialog opened
  };

  explicit frmSysAd(App& app);

  void Form_Load() override;

  void load_sys_admin();
  void save_sys_admin();

  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdClear_Click();
  void cmdSetPassword_Click();
  void cmdRemovePassword_Click();
  void cmdCancel_Click();
  void cmdClose_Click();
  void chkMandatory_Click(int index);

  // The password the change-password dialog has just made: stored by this dialog's saving.
  void store_new_password(std::string password) { new_password_ = std::move(password); }

  // The list whose combo box last had the focus (0 before any had).
  int current_list() const { return current_list_; }
  const sys_admin_list& list(int k) const { return lists_[static_cast<size_t>(k)]; }
  const sys_admin_list& volumes() const { return volumes_; }

  QGroupBox* Frame1 = nullptr;   // Manufacturers
  QGroupBox* Frame14 = nullptr;  // VTBI (ml)
  QGroupBox* Frame7 = nullptr;   // Technicians
  QGroupBox* Frame2 = nullptr;   // Models
  QGroupBox* Frame5 = nullptr;   // FlowRates (ml/hr)
  QGroupBox* Frame4 = nullptr;   // Locations
  QGroupBox* Frame3 = nullptr;   // Departments
  QGroupBox* Frame8 = nullptr;   // Pumps
  QGroupBox* Frame9 = nullptr;   // Types
  QGroupBox* Frame10 = nullptr;  // Tolerances +/- %
  QGroupBox* Frame11 = nullptr;  // Mandatory Fields
  std::array<QComboBox*, kPickListCount> cmbSysAdData{};
  std::array<QCheckBox*, kFieldCount> chkMandatory{};
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdRemove = nullptr;
  QPushButton* cmdClear = nullptr;
  QPushButton* cmdSetPassword = nullptr;
  QPushButton* cmdRemovePassword = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdClose = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Esc abandons the changes as Cancel does.
  void reject() override { cmdCancel_Click(); }

 private:
  void cmbSysAdData_GotFocus(int index);
  void show_password_state();
  // List k's removals and additions, applied onto the list as stored now.
  void save_list(int k);

  std::array<sys_admin_list, kPickListCount> lists_{};
  sys_admin_list volumes_;
  int current_list_ = 0;
  // Whether the user has typed into list k since an entry was last picked: a typed text is
  // not a picked entry, even when it reads the same.
  std::array<bool, kPickListCount> typed_{};
  std::array<bool, kFieldCount> loaded_flags_{};
  std::optional<std::string> new_password_;
};

}  // namespace qtx
