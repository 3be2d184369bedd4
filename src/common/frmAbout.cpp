#include "common/frmAbout.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "common/global_main.h"
#include "platform/controls.h"

namespace qtx {

namespace {

QPixmap logo() {
  QPixmap pm(64, 64);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0, 70, 140));
  p.setPen(Qt::NoPen);
  p.drawEllipse(2, 2, 60, 60);
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setBold(true);
  f.setPointSize(14);
  p.setFont(f);
  p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("QTX"));
  return pm;
}

}  // namespace

frmAbout::frmAbout(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("ABOUT QTX"));
  ImgAboutLogo = make<QLabel>(this, "ImgAboutLogo");
  ImgAboutLogo->setPixmap(logo());
  ImgAboutLogo->setAccessibleName(QStringLiteral("QTX logo"));
  lblTitle = make<QLabel>(this, "lblTitle", "QTX");
  QFont f = lblTitle->font();
  f.setPointSize(18);
  f.setBold(true);
  lblTitle->setFont(f);
  lblVersion = make<QLabel>(this, "lblVersion", "Version 5.0.0");
  CmdOK = make<QPushButton>(this, "CmdOK", "OK");
  CmdOK->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(ImgAboutLogo, 0, Qt::AlignTop);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CmdOK);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addLayout(buttons);
  setFixedSize(340, 160);

  connect(CmdOK, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
}

void frmAbout::Form_Load() { GlobalMain::center_form(*this); }

void frmAbout::CmdOK_Click() { Unload(); }

}  // namespace qtx
