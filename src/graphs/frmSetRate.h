// The base-rate dialog "SET RATE": replaces the base rate against which the log graph scales
// its flow axis and the trumpet analysis computes its errors. Shown modally; the caller reads
// rate_updated afterwards.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/forms.h"

namespace qtx {

class frmSetRate : public DialogForm {
  Q_OBJECT

 public:
  explicit frmSetRate(App& app);

  void Form_Load() override;
  // Each showing starts with an empty text box and no new rate.
  void Form_Activate() override;

  // Checks the text box and stores the rate; the dialog closes unless the text is not a number
  // or a number outside the base-rate range.
  void update_rate();

  void txtSetRate_KeyPress(int key_ascii);
  void cmdUpdate_Click();
  void cmdCancel_Click();

  QLabel* Label1 = nullptr;
  QLineEdit* txtSetRate = nullptr;
  QPushButton* cmdUpdate = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qtx
