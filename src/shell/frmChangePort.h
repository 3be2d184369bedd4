// The port configuration window: choose COM1 to COM4 among the ports that could be opened at
// start; Update stores the choice and reopens the port.
#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "platform/forms.h"

namespace qtx {

class frmChangePort : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmChangePort(App& app);
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  void Form_Activate() override;
  // The four options from comm_port and port_usable.
  void setup_comm_option_buttons();
  void cmdUpdate_Click();
  void cmdCancel_Click();

  QGroupBox* fraCommOptions = nullptr;
  QRadioButton* optComm1 = nullptr;
  QRadioButton* optComm2 = nullptr;
  QRadioButton* optComm3 = nullptr;
  QRadioButton* optComm4 = nullptr;
  QPushButton* cmdUpdate = nullptr;
  QPushButton* cmdCancel = nullptr;

 private:
  std::array<QRadioButton*, 5> options() const { return {nullptr, optComm1, optComm2, optComm3, optComm4}; }
};

}  // namespace qtx
