// The main-screen help window: one link per topic of the main window's menus.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <string>

#include "platform/forms.h"

namespace qtx {

class frmQTXHelp : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmQTXHelp(App& app);
  bool isMdiChild() const override { return true; }
  // The window opens at this size.
  QSize sizeHint() const override { return QSize(340, 360); }

  void Form_Load() override;
  // The window whose Help menu opened this one: Exit Help returns there (the main window when
  // none is named).
  void opened_from(FormBase& window) { caller_ = window.formName(); }
  // A topic link: opens the viewer on its page.
  void topic_Click(int item);
  void cmdExitHelp_Click();

  // The link of topic `item` (0 to 7).
  QToolButton* topic_label(int item) const { return item >= 0 && item < 8 ? topics_[item] : nullptr; }

  QLabel* Label2 = nullptr;
  QFrame* Line1 = nullptr;
  QPushButton* cmdExitHelp = nullptr;

 private:
  std::string caller_;
  QToolButton* topics_[8] = {};
};

}  // namespace qtx
