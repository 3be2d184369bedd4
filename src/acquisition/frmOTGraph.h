// The occlusion-test window "OCCLUSION TEST": runs the occlusion pressure test on one channel,
// polling the analyser, showing, plotting and logging each reading.
//
// So far only the window and its poll timer; the test itself comes with the window's own work.
#pragma once

#include <QTimer>

#include "platform/forms.h"

namespace qtx {

class frmOTGraph : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmOTGraph(App& app);
  bool isMdiChild() const override { return true; }

  void GetDataTimer_Timer();

  // The window opens at its design size.
  QSize sizeHint() const override { return QSize(9600 / kTwipsPerPixel, 7200 / kTwipsPerPixel); }

  QTimer* GetDataTimer = nullptr;  // the poll
};

}  // namespace qtx
