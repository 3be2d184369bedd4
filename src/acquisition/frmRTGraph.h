// The rate-test window "RATE TEST": runs the single-rate flow test on one channel, polling the
// analyser, showing, plotting and logging each reading.
//
// So far only the window and its poll timer; the test itself comes with the window's own work.
#pragma once

#include <QTimer>

#include "platform/forms.h"

namespace qtx {

class frmRTGraph : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmRTGraph(App& app);
  bool isMdiChild() const override { return true; }

  void GetDataTimer_Timer();

  // The window opens at its design size.
  QSize sizeHint() const override { return QSize(9600 / kTwipsPerPixel, 7200 / kTwipsPerPixel); }

  QTimer* GetDataTimer = nullptr;  // the poll
};

}  // namespace qtx
