// The graph-screen help window: one link per topic of the log graph and trumpet windows.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <string>

#include "platform/forms.h"

namespace qtx {

class frmQTXGHelp : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmQTXGHelp(App& app);
  bool isMdiChild() const override { return true; }
  // The window opens at this size.
  QSize sizeHint() const override { return QSize(440, 400); }

  void Form_Load() override;
  // The window whose Help menu opened this one: Exit Help returns there (the main window when
  // none is named).
  void opened_from(FormBase& window) { caller_ = window.formName(); }
  // A topic link: opens the viewer on its page.
  void topic_Click(int item);
  void cmdExit_Click();

  // The link of topic `item` (1 to 19; topic 0 has none).
  QToolButton* topic_label(int item) const { return item >= 1 && item <= 19 ? topics_[item] : nullptr; }

  QLabel* Label1 = nullptr;
  QFrame* Line1 = nullptr;
  QPushButton* cmdExit = nullptr;

 private:
  std::string caller_;
  QToolButton* topics_[20] = {};
};

}  // namespace qtx
