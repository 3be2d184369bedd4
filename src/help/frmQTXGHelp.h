// The graph-screen help window: one link per topic of the log graph and trumpet windows.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "platform/forms.h"

namespace qtx {

class frmQTXGHelp : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmQTXGHelp(App& app);
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  // A topic link: opens the viewer on its page.
  void topic_Click(int item);
  void cmdExit_Click();

  // The link of topic `item` (1 to 19; topic 0 has none).
  QPushButton* topic_label(int item) const { return item >= 1 && item <= 19 ? topics_[item] : nullptr; }

  QLabel* Label1 = nullptr;
  QFrame* Line1 = nullptr;
  QPushButton* cmdExit = nullptr;

 private:
  QPushButton* topics_[20] = {};
};

}  // namespace qtx
