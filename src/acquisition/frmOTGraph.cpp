#include "acquisition/frmOTGraph.h"

namespace qtx {

frmOTGraph::frmOTGraph(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("OCCLUSION TEST"));

  GetDataTimer = new QTimer(this);
  GetDataTimer->setObjectName(QStringLiteral("GetDataTimer"));
  GetDataTimer->setInterval(1000);
  connect(GetDataTimer, &QTimer::timeout, this, [this] { GetDataTimer_Timer(); });

  resize(sizeHint());
}

void frmOTGraph::GetDataTimer_Timer() {}

}  // namespace qtx
