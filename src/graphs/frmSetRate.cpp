#include "graphs/frmSetRate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>

#include "core/base_rate.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx {

frmSetRate::frmSetRate(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("SET RATE"));
  Label1 = make<QLabel>(this, "Label1", "Enter Rate:");
  txtSetRate = make_labelled<QLineEdit>(this, "txtSetRate", Label1);
  cmdUpdate = make<QPushButton>(this, "cmdUpdate", "&Update");
  cmdCancel = make<QPushButton>(this, "cmdCancel", "&Cancel");
  // Enter in the text box is handled by the box itself, never by a default button.
  cmdUpdate->setAutoDefault(false);
  cmdCancel->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(txtSetRate, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdUpdate);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 1, 0, 1, 2);
  setTabOrder(txtSetRate, cmdUpdate);
  setTabOrder(cmdUpdate, cmdCancel);

  txtSetRate->installEventFilter(this);
  connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmSetRate::Form_Load() {
  adjustSize();
  center();
}

void frmSetRate::Form_Activate() {
  txtSetRate->clear();
  txtSetRate->setFocus(Qt::OtherFocusReason);
  app_.session().rate_updated = false;
}

bool frmSetRate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtSetRate && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      txtSetRate_KeyPress(13);
      return true;
    }
  }
  return DialogForm::eventFilter(watched, event);
}

void frmSetRate::txtSetRate_KeyPress(int key_ascii) {
  if (key_ascii != 13) return;
  cmdUpdate->setFocus(Qt::OtherFocusReason);
  update_rate();
}

void frmSetRate::update_rate() {
  const std::string text = fromQ(txtSetRate->text());
  Session& s = app_.session();
  switch (base_rate::check_entry(text)) {
    case base_rate::Entry::NotANumber:
      app_.ui().msgbox("Non-numeric value", MsgButtons::OK, MsgIcon::Critical, "ERROR");
      return;
    case base_rate::Entry::OutOfRange:
      // The rate's text and the flow-scale steps hold only rates of that range.
      app_.ui().msgbox(base_rate::out_of_range_message(), MsgButtons::OK, MsgIcon::Critical, "ERROR");
      return;
    case base_rate::Entry::Zero:
      app_.ui().msgbox("Zero value not possible.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
      Unload();
      return;
    case base_rate::Entry::Rate:
      s.base_rate = vb::Val(text);
      s.rate_updated = true;
      Unload();
      return;
  }
}

void frmSetRate::cmdUpdate_Click() { update_rate(); }

void frmSetRate::cmdCancel_Click() { Unload(); }

}  // namespace qtx
