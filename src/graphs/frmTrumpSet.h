// The trumpet settings dialog "Calculation Window and Start Point": the analysis period, as a
// calculation window of 60-minute steps (or the whole log) and a start point of 30-minute
// steps, both offered from the log's length, and the interpolation interval.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "platform/forms.h"

namespace qtx {

class frmTrumpSet : public DialogForm {
  Q_OBJECT

 public:
  explicit frmTrumpSet(App& app);

  void Form_Load() override;
  // The list handlers run when the user or the program chooses an entry.
  void DataInt_Click();
  void StartTime_Click();
  void Default_Click();
  void Option1_Click();
  void Option2_Click();
  void CmdOK_Click();
  void CmdCancel_Click();

  // The log's length: the elapsed minutes of its last sample.
  double log_length() const;

  QGroupBox* Frame2 = nullptr;
  QLabel* Label3 = nullptr;
  QComboBox* DataInt = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* StartTime = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QPushButton* Default = nullptr;
  QPushButton* CmdCancel = nullptr;
  QPushButton* CmdOK = nullptr;

 private:
  // Choosing an entry from the program: the list's handler runs as for the user's choice.
  void select_window(int index);
  void select_start(int index);
  void set_interp_interval(int seconds);

  bool loading = false;
};

}  // namespace qtx
