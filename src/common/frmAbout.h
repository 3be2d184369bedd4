// The About box.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "platform/forms.h"

namespace qtx {

class frmAbout : public DialogForm {
  Q_OBJECT

 public:
  explicit frmAbout(App& app);
  void Form_Load() override;
  void CmdOK_Click();

  QLabel* ImgAboutLogo = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QPushButton* CmdOK = nullptr;
};

}  // namespace qtx
