// The "Writing Summary" window, shown (not modal) while the analyser's summary of a live test is
// captured; captioned "Single-Rate" or "Occlusion" by the test sequence. Its Cancel abandons the
// capture and moves the sequence on.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "platform/forms.h"

namespace qtx {

class frmSummary : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmSummary(App& app);
  // In the main window's area, beside the live window whose summary is captured.
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  // Shows the window for the capture of a summary, under the test's caption.
  void show_capture(const char* caption);
  void cmdCancel_Click();
  // The close box while the summary is captured is refused: this window's Cancel is then the
  // technician's only way to abandon a summary the analyser does not finish.
  bool Form_QueryUnload(UnloadMode mode) override;
  static constexpr const char* kCloseDuringSummary =
      "The summary of the test is being written.\r\rPress Cancel to abandon it, or let it end.";

  QLabel* lblMessage = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace qtx
