// The device-record dialog "Replace Header": the record of the device under test, taken before
// a download or live test whose data are saved. Its pick lists and mandatory fields come from
// the administrator's settings each time it opens.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <string>

#include "core/session.h"
#include "platform/forms.h"

namespace qtx {

class frmHeader : public DialogForm {
  Q_OBJECT

 public:
  explicit frmHeader(App& app);

  void Form_Load() override;
  void Form_Unload() override;

  // Copies the nine trimmed fields into the device record.
  void load_report_rec();
  // True when every mandatory field is filled (and numeric where it must be); otherwise puts the
  // focus into the first failing field by index and returns False.
  bool verifyMandatoryFields();

  void cmdContinue_Click();
  // Shows "Bold fields are mandatory" (a rate test's record).
  void show_mandatory_notice() { lblMandatoryFields->setVisible(true); }
  // Enter in, or leaving, pick-list field `index`: the numeric check of VTBI and Set Rate(s).
  void cmbHdr_KeyPress(int index, int key_ascii);
  void cmbHdr_LostFocus(int index);

  // Field k (0-10): the pick lists 0-8, the serial number 9 and the control number 10.
  QWidget* field(int k) const;
  QLabel* fieldLabel(int k) const;
  std::string fieldText(int k) const;

  std::array<QComboBox*, kPickListCount> cmbHdr{};
  QLineEdit* txtSerialNo = nullptr;
  QLineEdit* txtControlNo = nullptr;
  QLineEdit* txtComment = nullptr;
  QLabel* lblManufacturer = nullptr;
  QLabel* lblModel = nullptr;
  QLabel* lblSerial = nullptr;
  QLabel* lblControlNo = nullptr;
  QLabel* lblDepartment = nullptr;
  QLabel* lblLocation = nullptr;
  QLabel* lblFlowRate = nullptr;
  QLabel* lblunits = nullptr;
  QLabel* lblVTBI = nullptr;
  QLabel* lblml = nullptr;
  QLabel* lblPumpType = nullptr;
  QLabel* lblTolerance = nullptr;
  QLabel* lblTechnician = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* lblMandatoryFields = nullptr;
  QPushButton* cmdContinue = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The lists, flags and bold labels from the administrator's settings.
  void fill_from_settings();
  void check_numeric_field(int k);

  std::array<QLabel*, kFieldCount> labels_{};
  bool filled_ = false;
  bool unloading_ = false;
  bool checking_ = false;
};

}  // namespace qtx
