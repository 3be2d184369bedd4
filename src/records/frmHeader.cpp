#include "records/frmHeader.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>

#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/pick_list.h"
#include "records/records_settings.h"
#include "records/settings_text.h"

namespace qtx {

frmHeader::frmHeader(App& app) : DialogForm(app) {
  setWindowTitle(QStringLiteral("Replace Header"));

  lblManufacturer = make<QLabel>(this, "lblManufacturer", "Manufacturer:");
  lblModel = make<QLabel>(this, "lblModel", "Model:");
  lblSerial = make<QLabel>(this, "lblSerial", "Serial No.:");
  lblControlNo = make<QLabel>(this, "lblControlNo", "Control No.:");
  lblDepartment = make<QLabel>(this, "lblDepartment", "Department:");
  lblLocation = make<QLabel>(this, "lblLocation", "Location:");
  lblFlowRate = make<QLabel>(this, "lblFlowRate", "Set Rate(s):");
  lblunits = make<QLabel>(this, "lblunits", "ml/h ");
  lblVTBI = make<QLabel>(this, "lblVTBI", "VTBI:");
  lblml = make<QLabel>(this, "lblml", "ml");
  lblPumpType = make<QLabel>(this, "lblPumpType", "Pump Type:");
  lblTolerance = make<QLabel>(this, "lblTolerance", "Acceptable Error:  (+/- %)");
  lblTechnician = make<QLabel>(this, "lblTechnician", "Technician:");
  Label6 = make<QLabel>(this, "Label6", "Comment:");
  lblMandatoryFields = make<QLabel>(this, "lblMandatoryFields", "Bold fields are mandatory");
  QFont notice(QStringLiteral("MS Sans Serif"), 12);
  notice.setBold(true);
  lblMandatoryFields->setFont(notice);

  labels_ = {lblManufacturer, lblVTBI,     lblTechnician, lblModel,  lblFlowRate, lblLocation,
             lblDepartment,   lblPumpType, lblTolerance,  lblSerial, lblControlNo};
  for (int k = 0; k < kPickListCount; ++k) {
    QLabel* caption = labels_[static_cast<size_t>(k)];
    cmbHdr[static_cast<size_t>(k)] = records::new_pick_list(this, QStringLiteral("cmbHdr(%1)").arg(k), caption->text());
    caption->setBuddy(cmbHdr[static_cast<size_t>(k)]);
    cmbHdr[static_cast<size_t>(k)]->installEventFilter(this);
  }
  txtSerialNo = make_labelled<QLineEdit>(this, "txtSerialNo", lblSerial);
  txtControlNo = make_labelled<QLineEdit>(this, "txtControlNo", lblControlNo);
  txtComment = make_labelled<QLineEdit>(this, "txtComment", Label6);

  cmdContinue = make<QPushButton>(this, "cmdContinue", "Continue");
  // Enter in a field belongs to the field; only a click (or Space) continues.
  cmdContinue->setAutoDefault(false);

  // Two columns of label and field, a unit at the right of the set rate and the VTBI.
  auto* grid = new QGridLayout;
  auto pair = [grid](int row, int col, QLabel* caption, QWidget* w, QLabel* unit = nullptr) {
    grid->addWidget(caption, row, col);
    grid->addWidget(w, row, col + 1);
    if (unit) grid->addWidget(unit, row, col + 2);
  };
  pair(0, 0, lblManufacturer, cmbHdr[kManufacturer]);
  pair(0, 3, lblModel, cmbHdr[kModel]);
  pair(1, 0, lblSerial, txtSerialNo);
  pair(1, 3, lblControlNo, txtControlNo);
  pair(2, 0, lblDepartment, cmbHdr[kDepartment]);
  pair(2, 3, lblLocation, cmbHdr[kLocation]);
  pair(3, 0, lblFlowRate, cmbHdr[kFlowRate], lblunits);
  pair(3, 3, lblVTBI, cmbHdr[kVtbi], lblml);
  pair(4, 0, lblPumpType, cmbHdr[kPumpType]);
  pair(4, 3, lblTolerance, cmbHdr[kPumpTolerance]);
  pair(5, 0, lblTechnician, cmbHdr[kTechnician]);
  grid->addWidget(Label6, 6, 0);
  grid->addWidget(txtComment, 6, 1, 1, 5);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblMandatoryFields);
  bottom->addStretch();
  bottom->addWidget(cmdContinue);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(8);
  outer->addLayout(bottom);

  QWidget* order[] = {
      cmbHdr[kManufacturer], cmbHdr[kModel],    txtSerialNo,   txtControlNo,      cmbHdr[kDepartment],
      cmbHdr[kLocation],     cmbHdr[kFlowRate], cmbHdr[kVtbi], cmbHdr[kPumpType], cmbHdr[kPumpTolerance],
      cmbHdr[kTechnician],   txtComment,        cmdContinue};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
}

void frmHeader::Form_Load() {
  adjustSize();
  center();
}

void frmHeader::Form_Unload() { unloading_ = true; }

void frmHeader::showEvent(QShowEvent* event) {
  // Filled once, when first shown, so a caller may touch the dialog before showing it.
  if (!filled_) {
    filled_ = true;
    fill_from_settings();
    cmbHdr[kManufacturer]->setFocus(Qt::OtherFocusReason);
  }
  DialogForm::showEvent(event);
}

void frmHeader::fill_from_settings() {
  Session& s = app_.session();
  SettingsStore& store = app_.settings();
  s.mandatory_fields.fill(false);

  std::array<int16_t, kPickListCount> counts{};
  for (int k = 0; k < kPickListCount; ++k)
    counts[static_cast<size_t>(k)] = records::read_count(store, records::kPickLists[static_cast<size_t>(k)].count_key);

  for (int k = 0; k < kPickListCount; ++k) {
    QComboBox* combo = cmbHdr[static_cast<size_t>(k)];
    for (const std::string& entry : records::read_entries(store, k, counts[static_cast<size_t>(k)]))
      combo->addItem(records::from_settings_text(entry));
    records::deselect(combo);
    s.mandatory_fields[static_cast<size_t>(k)] = records::read_mandatory(store, k);
    // A live single-rate test always needs its set rate.
    if (k == kFlowRate && s.single_rate_checked) s.mandatory_fields[kFlowRate] = true;
  }
  s.mandatory_fields[kSerialNo] = records::read_mandatory(store, kSerialNo);
  s.mandatory_fields[kControlNo] = records::read_mandatory(store, kControlNo);

  for (int k = 0; k < kFieldCount; ++k) {
    QLabel* caption = labels_[static_cast<size_t>(k)];
    QFont f = caption->font();
    f.setBold(s.mandatory_fields[static_cast<size_t>(k)]);
    caption->setFont(f);
  }
}

QWidget* frmHeader::field(int k) const {
  if (k >= 0 && k < kPickListCount) return cmbHdr[static_cast<size_t>(k)];
  if (k == kSerialNo) return txtSerialNo;
  if (k == kControlNo) return txtControlNo;
  return nullptr;
}

QLabel* frmHeader::fieldLabel(int k) const {
  return k >= 0 && k < kFieldCount ? labels_[static_cast<size_t>(k)] : nullptr;
}

// The record goes into the data-log, summary and report files, one byte per character: its
// text is taken that way here, once.
std::string frmHeader::fieldText(int k) const {
  if (k >= 0 && k < kPickListCount) return fromQ(cmbHdr[static_cast<size_t>(k)]->currentText());
  if (k == kSerialNo) return fromQ(txtSerialNo->text());
  if (k == kControlNo) return fromQ(txtControlNo->text());
  return {};
}

bool frmHeader::eventFilter(QObject* watched, QEvent* event) {
  for (int k = 0; k < kPickListCount; ++k) {
    if (watched != cmbHdr[static_cast<size_t>(k)]) continue;
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) cmbHdr_KeyPress(k, 13);
    } else if (event->type() == QEvent::FocusOut) {
      // Focus that only moves to a message box, another window or the field's own drop-down
      // list has not left the field.
      Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) cmbHdr_LostFocus(k);
    }
    break;
  }
  return DialogForm::eventFilter(watched, event);  // the field still gets its key
}

void frmHeader::cmbHdr_KeyPress(int index, int key_ascii) {
  if (key_ascii == 13) check_numeric_field(index);
}

void frmHeader::cmbHdr_LostFocus(int index) {
  if (unloading_ || !isVisible()) return;
  check_numeric_field(index);
}

void frmHeader::check_numeric_field(int k) {
  // The set rate is checked whether mandatory or not, the VTBI only when mandatory.
  bool checked = k == kFlowRate || (k == kVtbi && app_.session().mandatory_fields[kVtbi]);
  if (!checked || checking_) return;
  std::string text = fieldText(k);
  if (text.empty() || vb::IsNumeric(text)) return;
  checking_ = true;
  app_.ui().msgbox("Invalid entry, entry must be numeric.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
  cmbHdr[static_cast<size_t>(k)]->setFocus(Qt::OtherFocusReason);
  checking_ = false;
  // When a click on Continue took the focus from the field, its press reaches the button after
  // the message and its release went to the message: the button is not left drawn pressed.
  QTimer::singleShot(0, cmdContinue, [button = cmdContinue] { button->setDown(false); });
}

bool frmHeader::verifyMandatoryFields() {
  const auto& flags = app_.session().mandatory_fields;
  for (int k = 0; k < kFieldCount; ++k) {
    if (!flags[static_cast<size_t>(k)]) continue;
    std::string text = fieldText(k);
    bool fails = text.empty() || ((k == kVtbi || k == kFlowRate) && !vb::IsNumeric(text));
    if (fails) {
      field(k)->setFocus(Qt::OtherFocusReason);
      return false;
    }
  }
  return true;
}

void frmHeader::load_report_rec() {
  DeviceRecord& r = app_.session().device_record;
  r.manufacturer = vb::Trim(fieldText(kManufacturer));
  r.model = vb::Trim(fieldText(kModel));
  r.serial_no = vb::Trim(fieldText(kSerialNo));
  r.control_no = vb::Trim(fieldText(kControlNo));
  r.department = vb::Trim(fieldText(kDepartment));
  r.location = vb::Trim(fieldText(kLocation));
  r.set_rate_text = vb::Trim(fieldText(kFlowRate));
  r.vtbi_text = vb::Trim(fieldText(kVtbi));
  r.comment_text = vb::Trim(fromQ(txtComment->text()));
}

void frmHeader::cmdContinue_Click() {
  if (!verifyMandatoryFields()) {
    app_.ui().msgbox("One or more mandatory fields are empty.\r\nPlease fill in all mandatory fields.", MsgButtons::OK,
                     MsgIcon::Exclamation, "Mandatory Field Error");
    return;
  }
  load_report_rec();
  DeviceRecord& r = app_.session().device_record;
  r.technician = fieldText(kTechnician);
  r.pump_type = fieldText(kPumpType);
  r.pump_tolerance = fieldText(kPumpTolerance);
  app_.session().header_entered = true;
  Unload();
}

}  // namespace qtx
