#include "records/frmSysAd.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmChgPassword.h"
#include "records/pick_list.h"
#include "records/records_settings.h"
#include "records/settings_text.h"

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
    sys_admin_list& l = lists_[static_cast<size_t>(k)];
    QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
    l.entries = records::read_entries(store, k, l.count);
    // Each entry read carries its place in `entries`; one added here carries none.
    for (size_t n = 0; n < l.entries.size(); ++n)
      combo->addItem(records::from_settings_text(l.entries[n]), static_cast<int>(n));
    records::deselect(combo);
  }
  for (int k = 0; k < kFieldCount; ++k) {
    s.mandatory_fields[static_cast<size_t>(k)] = records::read_mandatory(store, k);
    loaded_flags_[static_cast<size_t>(k)] = s.mandatory_fields[static_cast<size_t>(k)];
    chkMandatory[static_cast<size_t>(k)]->setChecked(s.mandatory_fields[static_cast<size_t>(k)]);
  }
  show_password_state();
}

void frmSysAd::save_sys_admin() {
  Session& s = app_.session();
  SettingsStore& store = app_.settings();
  // Only what was changed here, onto the settings as they stand: read, edited and written under
  // the store's lock, so two administrators (two copies of the program) keep each other's work.
  store.update([&] {
    for (int k = 0; k < kPickListCount; ++k) save_list(k);
    for (int k = 0; k < kFieldCount; ++k) {
      const bool checked = chkMandatory[static_cast<size_t>(k)]->isChecked();
      if (checked != loaded_flags_[static_cast<size_t>(k)])
        store.save(records::kSection, records::mandatory_key(k), records::bool_text(checked));
      s.mandatory_fields[static_cast<size_t>(k)] = records::read_mandatory(store, k);
    }
    if (new_password_) store.save(records::kSection, records::kPasswordKey, *new_password_);
  });
}

namespace {

// Takes entry `index` of the list as read, `read`, out of the list as stored now, `now`: the
// same text at the same occurrence, or its last occurrence when another administrator has
// removed some meanwhile; nothing when none is left.
void remove_entry(std::vector<std::string>& now, const std::vector<std::string>& read, size_t index) {
  const std::string& text = read[index];
  const auto occurrence = std::count(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(index), text);
  auto found = now.end();
  std::ptrdiff_t seen = 0;
  for (auto it = now.begin(); it != now.end(); ++it) {
    if (*it != text) continue;
    found = it;
    if (seen++ == occurrence) break;
  }
  if (found != now.end()) now.erase(found);
}

}  // namespace

void frmSysAd::save_list(int k) {
  const sys_admin_list& l = lists_[static_cast<size_t>(k)];
  QComboBox* combo = cmbSysAdData[static_cast<size_t>(k)];
  std::vector<bool> kept(l.entries.size(), false);
  std::vector<std::string> added;
  for (int i = 0; i < combo->count(); ++i) {
    const QVariant read_at = combo->itemData(i);
    if (read_at.isValid())
      kept[static_cast<size_t>(read_at.toInt())] = true;
    else
      added.push_back(records::to_settings_text(combo->itemText(i)));
  }
  if (added.empty() && std::find(kept.begin(), kept.end(), false) == kept.end()) return;

  SettingsStore& store = app_.settings();
  using records::kSection;
  const std::string_view count_key = records::kPickLists[static_cast<size_t>(k)].count_key;
  const int16_t stored_count = std::max<int16_t>(0, records::read_count(store, count_key));
  std::vector<std::string> now = records::read_entries(store, k, stored_count);
  // The last first, so the occurrences before each removal are still as they were read.
  for (size_t i = l.entries.size(); i-- > 0;)
    if (!kept[i]) remove_entry(now, l.entries, i);
  now.insert(now.end(), added.begin(), added.end());

  // Numbered from 1 without gaps, in the list's order; what is left of a longer list goes.
  const int count = static_cast<int>(now.size());
  store.save(kSection, count_key, vb::to_text(count));
  for (int n = 1; n <= count; ++n) store.save(kSection, records::entry_key(k, n), now[static_cast<size_t>(n - 1)]);
  for (int n = count + 1; n <= std::max(stored_count, l.saved_count); ++n)
    store.remove(kSection, records::entry_key(k, n));
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
  const QString text = combo->currentText();
  if ((k == kVtbi || k == kFlowRate) && !vb::IsNumeric(records::to_settings_text(text))) {
    app_.ui().msgbox("Invalid entry, entry must be numeric.", MsgButtons::OK, MsgIcon::Critical, "ERROR");
  } else {
    combo->addItem(text);
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
