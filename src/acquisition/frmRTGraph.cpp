#include "acquisition/frmRTGraph.h"

namespace qtx {

frmRTGraph::frmRTGraph(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("RATE TEST"));

  GetDataTimer = new QTimer(this);
  GetDataTimer->setObjectName(QStringLiteral("GetDataTimer"));
  GetDataTimer->setInterval(1000);
  connect(GetDataTimer, &QTimer::timeout, this, [this] { GetDataTimer_Timer(); });

  resize(sizeHint());
}

void frmRTGraph::GetDataTimer_Timer() {}

}  // namespace qtx
