#include "records/frmSysAd.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmChgPassword.h"
#include "records/pick_list.h"
#include "records/records_settings.h"

namespace qtx {

frmSysAd::frmSysAd(App& app) : Form<QDialog>(app) {
  setWindowTitle(QStringLiteral("System Administrator"));

  Frame1 = make<QGroupBox>(this, "Frame1", "Manufacturers");
  Frame14 = make<QGroupBox>(this, "Frame14", "VTBI (ml)");
  Frame7 = make<QGroupBox>(this, "Frame7", "Technicians");
  Frame2 = make<QGroupBox>(this, "Frame2", "Models");
  Frame5 = make<QGroupBox>(this, "Frame5", "FlowRates (ml/hr)");
  Frame4 = make<QGroupBox>(this, "Frame4", "Locations");
  Frame3 = make<QGroupBox>(this, "Frame3", "Departments");
  Frame8 = make<QGroupBox>(this, "Frame8", "Pumps");
  Frame9 = make<QGroupBox>(Frame8, "Frame9", "Types");
  Frame10 = make<QGroupBox>(Frame8, "Frame10", "Tolerances +/- %");
  Frame11 = make<QGroupBox>(this, "Frame11", "Mandatory Fields");

  // The frame of each list, by list index.
  const std::array<QGroupBox*, kPickListCount> frames{Frame1, Frame14, Frame7, Frame2, Frame5,
                                                      Frame4, Frame3,  Frame9, Frame10};
  for (int k = 0; k < kPickListCount; ++k) {
    QGroupBox* f = frames[static_cast<size_t>(k)];
    QComboBox* combo = records::new_pick_list(f, QStringLiteral("cmbSysAdData(%1)").arg(k), f->title());
    auto* chk = make<QCheckBox>(f, QStringLiteral("chkMandatory(%1)").arg(k), "Mandatory");
    chk->setAccessibleDescription(f->title());
    auto* box = new QVBoxLayout(f);
    box->addWidget(combo);
    box->addWidget(chk);
    cmbSysAdData[static_cast<size_t>(k)] = combo;
    chkMandatory[static_cast<size_t>(k)] = chk;
    combo->installEventFilter(this);
    // Left with a typed text, the combo box would pick the first entry that reads the same
    // (letter case aside) and put that entry's text in place of the typed one, so that the
    // button clicked next removed that entry or added the entry's text. The text stays as
    // typed, and only the user picks an entry.
    disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, k] { typed_[static_cast<size_t>(k)] = true; });
    connect(combo, &QComboBox::currentIndexChanged, this, [this, k] { typed_[static_cast<size_t>(k)] = false; });
    // Picking the entry that was already current, after typing, picks it again.
    connect(combo, &QComboBox::activated, this, [this, k] { typed_[static_cast<size_t>(k)] = false; });
  }
  chkMandatory[kSerialNo] = make<QCheckBox>(Frame11, "chkMandatory(9)", "Serial Number");
  chkMandatory[kControlNo] = make<QCheckBox>(Frame11, "chkMandatory(10)", "Control Number");
  auto* mandatory = new QVBoxLayout(Frame11);
  mandatory->addWidget(chkMandatory[kSerialNo]);
  mandatory->addWidget(chkMandatory[kControlNo]);
  mandatory->addStretch();
  for (int k = 0; k < kFieldCount; ++k)
    connect(chkMandatory[static_cast<size_t>(k)], &QCheckBox::toggled, this, [this, k] { chkMandatory_Click(k); });

  auto* pumps = new QHBoxLayout(Frame8);
  pumps->addWidget(Frame9);
  pumps->addWidget(Frame10);

  cmdAdd = make<QPushButton>(this, "cmdAdd", "Add");
  cmdRemove = make<QPushButton>(this, "cmdRemove", "Remove");
  cmdClear = make<QPushButton>(this, "cmdClear", "Clear");
  cmdSetPassword = make<QPushButton>(this, "cmdSetPassword", "Set Password");
  cmdRemovePassword = make<QPushButton>(this, "cmdRemovePassword", "Remove Password");
  cmdCancel = make<QPushButton>(this, "cmdCancel", "Cancel");
  cmdClose = make<QPushButton>(this, "cmdClose", "Close");
  // Enter typed into a list is not a click on any button.
  for (QPushButton* b : {cmdAdd, cmdRemove, cmdClear, cmdSetPassword, cmdRemovePassword, cmdCancel, cmdClose})
    b->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(Frame1, 0, 0);
  grid->addWidget(Frame14, 0, 1);
  grid->addWidget(Frame7, 0, 2);
  grid->addWidget(Frame2, 0, 3);
  grid->addWidget(Frame5, 1, 0);
  grid->addWidget(Frame4, 1, 1);
  grid->addWidget(Frame3, 1, 2);
  auto* list_buttons = new QVBoxLayout;
  list_buttons->addWidget(cmdAdd);
  list_buttons->addWidget(cmdRemove);
  list_buttons->addWidget(cmdClear);
  auto* password_buttons = new QVBoxLayout;
  password_buttons->addWidget(cmdSetPassword);
  password_buttons->addWidget(cmdRemovePassword);
  password_buttons->addStretch();
  auto* upper_buttons = new QHBoxLayout;
  upper_buttons->addLayout(list_buttons);
  upper_buttons->addLayout(password_buttons);
  auto* lower_buttons = new QHBoxLayout;
  lower_buttons->addWidget(cmdCancel);
  lower_buttons->addWidget(cmdClose);
  auto* buttons = new QVBoxLayout;
  buttons->addLayout(upper_buttons);
  buttons->addStretch();
  buttons->addLayout(lower_buttons);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Frame8, 2);
  bottom->addWidget(Frame11, 1);
  bottom->addLayout(buttons, 2);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(bottom);

  QWidget* previous = nullptr;
  auto next = [this, &previous](QWidget* w) {
    if (previous) setTabOrder(previous, w);
    previous = w;
  };
  for (int k = 0; k < kPickListCount; ++k) {
    next(cmbSysAdData[static_cast<size_t>(k)]);
    next(chkMandatory[static_cast<size_t>(k)]);
  }
  for (QWidget* w :
       std::initializer_list<QWidget*>{chkMandatory[kSerialNo], chkMandatory[kControlNo], cmdCancel, cmdClose,
                                       cmdSetPassword, cmdRemovePassword, cmdAdd, cmdRemove, cmdClear})
    next(w);

  connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
  connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
  connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
  connect(cmdSetPassword, &QPushButton::clicked, this, [this] { cmdSetPassword_Click(); });
  connect(cmdRemovePassword, &QPushButton::clicked, this, [this] { cmdRemovePassword_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void frmSysAd::Form_Load() {
  load_sys_admin();
  adjustSize();
  center();
  cmbSysAdData[kManufacturer]->setFocus(Qt::OtherFocusReason);
}

void frmSysAd::load_sys_admin() {
  Session& s = app_.session();
  SettingsStore& store = app_.settings();

  // A count is never stored negative; one that is reads as an empty list rather than one
  // that would swallow the entries added to it.
  auto list_count = [&store](std::string_view key) { return std::max<int16_t>(0, records::read_count(store, key)); };
  lists_[kManufacturer].count = list_count(records::kPickLists[kManufacturer].count_key);
  volumes_.count = records::read_count(store, records::kVolumesCountKey);
  for (int k = 1; k < kPickListCount; ++k)
    lists_[static_cast<size_t>(k)].count = list_count(records::kPickLists[static_cast<size_t>(k)].count_key);
  for (auto& l : lists_) l.saved_count = l.count;
  volumes_.saved_count = volumes_.count;

  s.mandatory_fields.fill(false);
  for (int k = 0; k < kPickListCount; ++k) {
    QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
    for (const std::string& entry : records::read_entries(store, k, lists_[static_cast<size_t>(k)].count))
      combo->addItem(toQ(entry));
    records::deselect(combo);
    s.mandatory_fields[static_cast<size_t>(k)] = records::read_mandatory(store, k);
    chkMandatory[static_cast<size_t>(k)]->setChecked(s.mandatory_fields[static_cast<size_t>(k)]);
  }
  for (int k : {int(kSerialNo), int(kControlNo)}) {
    s.mandatory_fields[static_cast<size_t>(k)] = records::read_mandatory(store, k);
    chkMandatory[static_cast<size_t>(k)]->setChecked(s.mandatory_fields[static_cast<size_t>(k)]);
  }
  show_password_state();
}

void frmSysAd::save_sys_admin() {
  Session& s = app_.session();
  SettingsStore& store = app_.settings();
  using records::kSection;
  // Every list, flag and the password in one write of the settings file.
  SettingsBatch batch(store);

  store.save(kSection, records::kPickLists[kManufacturer].count_key, vb::to_text(lists_[kManufacturer].count));
  store.save(kSection, records::kVolumesCountKey, vb::to_text(volumes_.count));
  for (int k = 1; k < kPickListCount; ++k)
    store.save(kSection, records::kPickLists[static_cast<size_t>(k)].count_key,
               vb::to_text(lists_[static_cast<size_t>(k)].count));

  for (int k = 0; k < kPickListCount; ++k) {
    const sys_admin_list& l = lists_[static_cast<size_t>(k)];
    QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
    // Numbered from 1 without gaps, in the list's order; what is left of a longer list goes.
    for (int n = 1; n <= l.count; ++n) store.save(kSection, records::entry_key(k, n), fromQ(combo->itemText(n - 1)));
    for (int n = l.count + 1; n <= l.saved_count; ++n) store.remove(kSection, records::entry_key(k, n));
    s.mandatory_fields[static_cast<size_t>(k)] = chkMandatory[static_cast<size_t>(k)]->isChecked();
    store.save(kSection, records::mandatory_key(k), records::bool_text(s.mandatory_fields[static_cast<size_t>(k)]));
  }
  for (int k : {int(kSerialNo), int(kControlNo)}) {
    s.mandatory_fields[static_cast<size_t>(k)] = chkMandatory[static_cast<size_t>(k)]->isChecked();
    store.save(kSection, records::mandatory_key(k), records::bool_text(s.mandatory_fields[static_cast<size_t>(k)]));
  }
  store.save(kSection, records::kPasswordKey, s.admin_password);
}

void frmSysAd::show_password_state() {
  bool required = app_.session().password_required;
  cmdSetPassword->setText(required ? QStringLiteral("Change Password") : QStringLiteral("Set Password"));
  cmdRemovePassword->setEnabled(required);
}

bool frmSysAd::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    for (int k = 0; k < kPickListCount; ++k)
      if (watched == cmbSysAdData[static_cast<size_t>(k)]) cmbSysAdData_GotFocus(k);
  }
  return Form<QDialog>::eventFilter(watched, event);
}

void frmSysAd::cmbSysAdData_GotFocus(int index) { current_list_ = index; }

void frmSysAd::chkMandatory_Click(int index) {
  app_.session().mandatory_fields[static_cast<size_t>(index)] = chkMandatory[static_cast<size_t>(index)]->isChecked();
}

void frmSysAd::cmdAdd_Click() {
  int k = current_list_;
  QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
  std::string text = fromQ(combo->currentText());
  if ((k == kVtbi || k == kFlowRate) && !vb::IsNumeric(text)) {
    app_.ui().msgbox("Invalid entry, entry must be numeric.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
  } else {
    combo->addItem(toQ(text));
    records::deselect(combo);
    ++lists_[static_cast<size_t>(k)].count;
  }
  combo->setFocus(Qt::OtherFocusReason);
}

void frmSysAd::cmdRemove_Click() {
  int k = current_list_;
  QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
  int selected = typed_[static_cast<size_t>(k)] ? -1 : combo->currentIndex();
  if (selected >= 0) {
    combo->removeItem(selected);
    records::deselect(combo);
    sys_admin_list& l = lists_[static_cast<size_t>(k)];
    if (l.count > 0) --l.count;
  }
  combo->setFocus(Qt::OtherFocusReason);
}

void frmSysAd::cmdClear_Click() {
  int k = current_list_;
  QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
  lists_[static_cast<size_t>(k)].count = 0;
  combo->clear();
  records::deselect(combo);
  combo->setFocus(Qt::OtherFocusReason);
}

void frmSysAd::cmdSetPassword_Click() {
  save_sys_admin();
  App& app = app_;  // taken before the window is unloaded
  Unload();
  app.forms().get<frmChgPassword>().ShowModal();
}

void frmSysAd::cmdRemovePassword_Click() {
  app_.session().password_required = false;
  app_.settings().save(records::kSection, records::kPasswordRequiredKey, records::kFalseText);
  show_password_state();
}

void frmSysAd::cmdCancel_Click() { Unload(); }

void frmSysAd::cmdClose_Click() {
  save_sys_admin();
  Unload();
}

}  // namespace qtx
