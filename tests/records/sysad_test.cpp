#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

#include "records/frmHeader.h"
#include "records/frmSysAd.h"
#include "records_test_support.h"

using namespace qtx;
using namespace qtx::test;

namespace {

frmSysAd& open_sysad(TestApp& t) {
  frmSysAd& s = t.forms().get<frmSysAd>();
  s.Show();
  return s;
}

void store_list(TestApp& t, int k, std::initializer_list<const char*> entries) {
  store(t, records::kPickLists[static_cast<size_t>(k)].count_key, std::to_string(entries.size()));
  int n = 0;
  for (const char* e : entries) store(t, records::entry_key(k, ++n), e);
}

QByteArray file_bytes(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Administrator, FirstCloseWithoutChangesWritesNothing) {
  TestApp t;
  frmSysAd& s = open_sysad(t);
  EXPECT_FALSE(s.isModal());
  for (QComboBox* c : s.cmbSysAdData) EXPECT_EQ(c->count(), 0);
  for (QCheckBox* c : s.chkMandatory) EXPECT_FALSE(c->isChecked());
  EXPECT_EQ(s.cmdSetPassword->text(), "Set Password");
  EXPECT_FALSE(s.cmdRemovePassword->isEnabled());
  EXPECT_EQ(s.current_list(), 0);
  std::vector<QWidget*> order;
  for (int k = 0; k < kPickListCount; ++k) order.insert(order.end(), {s.cmbSysAdData[k], s.chkMandatory[k]});
  order.insert(order.end(), {s.chkMandatory[9], s.chkMandatory[10], s.cmdCancel, s.cmdClose, s.cmdSetPassword,
                             s.cmdRemovePassword, s.cmdAdd, s.cmdRemove, s.cmdClear});
  EXPECT_EQ(tab_sequence(order), order);
  s.cmdClose->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  // Close stores what was changed, and nothing was: no password either (the prompt's 8352 stays).
  EXPECT_FALSE(QFile::exists(QString::fromStdString(t.settings().path())));
}

TEST(Administrator, SavingRenumbersAndDeletesTheSurplus) {
  TestApp t;
  store_list(t, kManufacturer, {"M1", "M2", "M3", "M4", "M5"});
  store_list(t, kModel, {"A", "B", "C", "D", "E"});
  store(t, "tempNumVolumes", "7");
  store(t, "FIELD9MANDATORY", "True");
  frmSysAd& s = open_sysad(t);
  EXPECT_TRUE(s.chkMandatory[kSerialNo]->isChecked());
  EXPECT_TRUE(t.session().mandatory_fields[kSerialNo]);
  QComboBox* m = s.cmbSysAdData[kManufacturer];
  EXPECT_EQ(m->currentText(), "");
  m->setCurrentIndex(1);
  s.cmdRemove->click();
  EXPECT_EQ(s.list(kManufacturer).count, 4);

  // Clear and two adds on the models; the same text twice is kept twice.
  focus_in(s.cmbSysAdData[kModel]);
  s.cmdClear->click();
  s.cmbSysAdData[kModel]->setEditText("X");
  s.cmdAdd->click();
  EXPECT_EQ(s.cmbSysAdData[kModel]->currentText(), "");
  s.cmbSysAdData[kModel]->setEditText("X");
  s.cmdAdd->click();
  EXPECT_EQ(s.list(kModel).count, 2);

  s.chkMandatory[kSerialNo]->click();
  s.chkMandatory[kDepartment]->click();
  EXPECT_TRUE(t.session().mandatory_fields[kDepartment]);
  s.cmdClose->click();

  EXPECT_EQ(reread(t, "tempNumManu"), "4");
  EXPECT_EQ(reread(t, "Manufacturer1"), "M1");
  EXPECT_EQ(reread(t, "Manufacturer2"), "M3");
  EXPECT_EQ(reread(t, "Manufacturer3"), "M4");
  EXPECT_EQ(reread(t, "Manufacturer4"), "M5");
  EXPECT_EQ(reread(t, "Manufacturer5"), "<missing>");
  EXPECT_EQ(reread(t, "tempNumModels"), "2");
  EXPECT_EQ(reread(t, "Model1"), "X");
  EXPECT_EQ(reread(t, "Model2"), "X");
  for (const char* gone : {"Model3", "Model4", "Model5"}) EXPECT_EQ(reread(t, gone), "<missing>") << gone;
  EXPECT_EQ(reread(t, "tempNumVolumes"), "7");
  EXPECT_EQ(reread(t, "FIELD9MANDATORY"), "False");
  EXPECT_EQ(reread(t, "FIELD6MANDATORY"), "True");
}

TEST(Administrator, AddRemoveAndClearActOnTheListThatLastHadTheFocus) {
  TestApp t;
  store_list(t, kTechnician, {"Ann", "Bob"});
  frmSysAd& s = open_sysad(t);
  QComboBox* tech = s.cmbSysAdData[kTechnician];
  focus_in(tech);
  EXPECT_EQ(s.current_list(), kTechnician);
  // The focus on a check box or a button leaves the list chosen.
  focus_in(s.chkMandatory[kManufacturer]);
  focus_in(s.cmdAdd);
  tech->setEditText("Cy");
  s.cmdAdd->click();
  EXPECT_EQ(tech->count(), 3);
  EXPECT_EQ(s.cmbSysAdData[kManufacturer]->count(), 0);
  EXPECT_EQ(s.focusWidget(), tech);

  // A typed text equal to an entry is not a picked entry.
  type(tech, "Ann");
  s.cmdRemove->click();
  EXPECT_EQ(tech->count(), 3);
  tech->setCurrentIndex(1);
  type(tech, "x");
  s.cmdRemove->click();
  EXPECT_EQ(tech->count(), 3);
  tech->setCurrentIndex(0);
  s.cmdRemove->click();
  EXPECT_EQ(tech->count(), 2);
  EXPECT_EQ(tech->itemText(0), "Bob");

  // Add with an empty text on a free-text list adds an empty entry.
  focus_in(s.cmbSysAdData[kLocation]);
  s.cmdAdd->click();
  EXPECT_EQ(s.cmbSysAdData[kLocation]->count(), 1);

  // The VTBI and flow-rate lists take numbers only; an empty text is not one.
  t.ui.expectBox("Invalid entry, entry must be numeric.", "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  t.ui.expectBox("Invalid entry, entry must be numeric.", "ERROR");
  t.ui.expectBox("Invalid entry, entry must be numeric.", "ERROR");
  QComboBox* vtbi = s.cmbSysAdData[kVtbi];
  focus_in(vtbi);
  vtbi->setEditText("abc");
  s.cmdAdd->click();
  vtbi->setEditText("");
  s.cmdAdd->click();
  EXPECT_EQ(vtbi->count(), 0);
  EXPECT_EQ(s.focusWidget(), vtbi);
  QComboBox* rate = s.cmbSysAdData[kFlowRate];
  focus_in(rate);
  rate->setEditText("1,5");
  s.cmdAdd->click();
  rate->setEditText(" 25 ");
  s.cmdAdd->click();
  EXPECT_EQ(rate->count(), 1);
  s.cmdClose->click();
  EXPECT_EQ(reread(t, "tempNumTechnicians"), "2");
  EXPECT_EQ(reread(t, "Technician2"), "Cy");
  EXPECT_EQ(reread(t, "Technician3"), "<missing>");
  EXPECT_EQ(reread(t, "Location1"), "");
  EXPECT_EQ(reread(t, "FlowRate1"), " 25 ");
}

// Clicks as the mouse does: the press gives the button the focus, taking it from the list.
void click(QWidget* w) {
  const QPointF at = QRectF(w->rect()).center();
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, {}, {});
  QApplication::sendEvent(w, &release);
}

// The list loses the focus to the button clicked; the typed text stays as typed and is no
// picked entry, while an entry picked with the arrow key is.
TEST(Administrator, TypedTextStaysTypedWhenTheFocusMovesToAButton) {
  TestApp t;
  store_list(t, kTechnician, {"Ann", "Bob"});
  frmSysAd& s = open_sysad(t);
  s.activateWindow();
  processEvents();
  QComboBox* tech = s.cmbSysAdData[kTechnician];
  tech->setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(tech->hasFocus());
  type(tech, "Ann");
  click(s.cmdRemove);
  EXPECT_EQ(tech->count(), 2);
  EXPECT_EQ(s.list(kTechnician).count, 2);
  press_enter(tech);
  click(s.cmdRemove);
  EXPECT_EQ(tech->count(), 2);

  tech->setEditText(QString());
  type(tech, "bob");
  click(s.cmdAdd);
  ASSERT_EQ(tech->count(), 3);
  EXPECT_EQ(tech->itemText(2), "bob");

  ASSERT_TRUE(tech->hasFocus());
  send_key(tech, Qt::Key_Down);
  ASSERT_EQ(tech->currentText(), "Ann");
  click(s.cmdRemove);
  ASSERT_EQ(tech->count(), 2);
  EXPECT_EQ(tech->itemText(0), "Bob");
  EXPECT_EQ(s.list(kTechnician).count, 2);
}

TEST(Administrator, CancelLeavesTheStoreAsItWas) {
  TestApp t;
  store_list(t, kPumpType, {"Syringe", "Volumetric"});
  store(t, "FIELD7MANDATORY", "True");
  QByteArray before = file_bytes(t.settings().path());
  frmSysAd& s = open_sysad(t);
  focus_in(s.cmbSysAdData[kPumpType]);
  s.cmdClear->click();
  s.chkMandatory[kPumpType]->click();
  s.chkMandatory[kManufacturer]->click();
  s.cmdCancel->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  EXPECT_EQ(file_bytes(t.settings().path()), before);

  t.ui.onModal("frmHeader", [](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    ASSERT_EQ(h.cmbHdr[kPumpType]->count(), 2);
    EXPECT_EQ(h.cmbHdr[kPumpType]->itemText(1), "Volumetric");
    EXPECT_TRUE(h.lblPumpType->font().bold());
    EXPECT_FALSE(h.lblManufacturer->font().bold());
    h.close();
  });
  t.forms().get<frmHeader>().ShowModal();
  EXPECT_TRUE(t.session().mandatory_fields[kPumpType]);
  EXPECT_FALSE(t.session().mandatory_fields[kManufacturer]);
}

TEST(Administrator, BadStoredCountsOpenWithoutFault) {
  TestApp t;
  store(t, "tempNumManu", "abc");
  store(t, "Manufacturer1", "stray");
  store(t, "tempNumVTBI", "-3");
  store(t, "tempNumModels", "3");
  store(t, "Model1", "A");
  store(t, "Model3", "C");  // Model2 missing
  store(t, "tempNumVolumes", "-3");
  frmSysAd& s = open_sysad(t);
  EXPECT_EQ(s.cmbSysAdData[kManufacturer]->count(), 0);
  EXPECT_EQ(s.cmbSysAdData[kVtbi]->count(), 0);
  ASSERT_EQ(s.cmbSysAdData[kModel]->count(), 3);
  EXPECT_EQ(s.cmbSysAdData[kModel]->itemText(1), "");
  // An entry added to a list whose stored count was negative is kept.
  focus_in(s.cmbSysAdData[kVtbi]);
  s.cmbSysAdData[kVtbi]->setEditText("50");
  s.cmdAdd->click();
  s.cmdClose->click();
  // Lists left alone stay as stored.
  EXPECT_EQ(reread(t, "tempNumManu"), "abc");
  EXPECT_EQ(reread(t, "tempNumVTBI"), "1");
  EXPECT_EQ(reread(t, "VTBI1"), "50");
  EXPECT_EQ(reread(t, "Model2"), "<missing>");
  EXPECT_EQ(reread(t, "tempNumVolumes"), "-3");

  // The device-record dialog opens on the same data.
  store(t, "tempNumLocations", "x1");
  t.ui.onModal("frmHeader", [](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    EXPECT_EQ(h.cmbHdr[kModel]->count(), 3);
    EXPECT_EQ(h.cmbHdr[kLocation]->count(), 0);
    h.cmdContinue->click();
  });
  t.forms().get<frmHeader>().ShowModal();
}

TEST(Administrator, RemovePasswordIsStoredAtOnce) {
  TestApp t;
  store(t, "ispasswordrqd", "True");
  store(t, "password", "old");
  t.session().password_required = true;
  t.session().admin_password = "old";
  frmSysAd& s = open_sysad(t);
  EXPECT_EQ(s.cmdSetPassword->text(), "Change Password");
  ASSERT_TRUE(s.cmdRemovePassword->isEnabled());
  s.cmdRemovePassword->click();
  EXPECT_EQ(reread(t, "ispasswordrqd"), "False");
  EXPECT_FALSE(t.session().password_required);
  EXPECT_EQ(s.cmdSetPassword->text(), "Set Password");
  EXPECT_FALSE(s.cmdRemovePassword->isEnabled());
  EXPECT_EQ(reread(t, "password"), "old");
  s.cmdCancel->click();
  EXPECT_EQ(reread(t, "ispasswordrqd"), "False");
}

// Two administrators at once, in two copies of the program (or two dialogs over one store):
// each Close stores what its own dialog changed, onto the settings as the other left them, in
// whichever order they close.
TEST(Administrator, TwoDialogsKeepEachOthersChanges) {
  for (bool a_closes_first : {true, false})
    for (bool one_store : {false, true}) {
      SCOPED_TRACE(testing::Message() << a_closes_first << one_store);
      TestApp t;
      store_list(t, kManufacturer, {"A1", "A2", "A3"});
      store_list(t, kModel, {"Mo1", "Mo2"});
      store(t, "FIELD3MANDATORY", "True");
      IniSettingsStore own(t.settings().path());
      App other(one_store ? static_cast<SettingsStore&>(t.settings()) : own, t.comm(), t.ui, t.clock);
      frmSysAd& a = open_sysad(t);
      frmSysAd& b = other.forms().get<frmSysAd>();
      b.Show();

      // A adds to the manufacturers and ticks a box; B removes another manufacturer and a model,
      // and clears a box A left alone.
      a.cmbSysAdData[kManufacturer]->setEditText("A4");
      a.cmdAdd->click();
      a.chkMandatory[kTechnician]->click();
      b.cmbSysAdData[kManufacturer]->setCurrentIndex(1);
      b.cmdRemove->click();
      focus_in(b.cmbSysAdData[kModel]);
      b.cmbSysAdData[kModel]->setCurrentIndex(0);
      b.cmdRemove->click();
      b.chkMandatory[kModel]->click();
      (a_closes_first ? a : b).cmdClose->click();
      (a_closes_first ? b : a).cmdClose->click();
      processEvents();

      EXPECT_EQ(reread(t, "tempNumManu"), "3");
      EXPECT_EQ(reread(t, "Manufacturer1"), "A1");
      EXPECT_EQ(reread(t, "Manufacturer2"), "A3");
      EXPECT_EQ(reread(t, "Manufacturer3"), "A4");
      EXPECT_FALSE(has(t, "Manufacturer4"));
      EXPECT_EQ(reread(t, "tempNumModels"), "1");
      EXPECT_EQ(reread(t, "Model1"), "Mo2");
      EXPECT_FALSE(has(t, "Model2"));
      EXPECT_EQ(reread(t, "FIELD2MANDATORY"), "True");
      EXPECT_EQ(reread(t, "FIELD3MANDATORY"), "False");
      // Lists, flags and the password that neither changed are not written.
      EXPECT_FALSE(has(t, "tempNumVTBI"));
      EXPECT_FALSE(has(t, "FIELD0MANDATORY"));
      EXPECT_FALSE(has(t, "password"));
      // Each copy's flags are the stored ones after its Close.
      EXPECT_TRUE(t.session().mandatory_fields[kTechnician]);
      EXPECT_FALSE(other.session().mandatory_fields[kModel]);
    }
}

// A removal finds its entry by text where another administrator moved it; one removed by both
// goes once; duplicates go in the order they were read.
TEST(Administrator, RemovalsFollowTheStoredList) {
  TestApp t;
  store_list(t, kLocation, {"X", "Ward", "X", "Lab"});
  OtherCopy other(t);
  frmSysAd& a = open_sysad(t);
  frmSysAd& b = other.app.forms().get<frmSysAd>();
  b.Show();
  focus_in(a.cmbSysAdData[kLocation]);
  a.cmbSysAdData[kLocation]->setCurrentIndex(2);  // the second X
  a.cmdRemove->click();
  a.cmbSysAdData[kLocation]->setCurrentIndex(2);  // Lab
  a.cmdRemove->click();
  focus_in(b.cmbSysAdData[kLocation]);
  b.cmbSysAdData[kLocation]->setCurrentIndex(3);  // Lab
  b.cmdRemove->click();
  b.cmbSysAdData[kLocation]->setCurrentIndex(1);  // Ward
  b.cmdRemove->click();
  b.cmdClose->click();
  a.cmdClose->click();
  EXPECT_EQ(reread(t, "tempNumLocations"), "1");
  EXPECT_EQ(reread(t, "Location1"), "X");
  for (const char* gone : {"Location2", "Location3", "Location4"}) EXPECT_FALSE(has(t, gone)) << gone;
}

// Esc abandons the changes: the dialog is unloaded, and the next one opens on the store.
TEST(Administrator, EscAbandonsTheChanges) {
  TestApp t;
  store_list(t, kTechnician, {"Ann"});
  frmSysAd* s = &open_sysad(t);
  focus_in(s->cmbSysAdData[kTechnician]);
  s->cmbSysAdData[kTechnician]->setEditText("Bob");
  s->cmdAdd->click();
  s->chkMandatory[kTechnician]->click();
  send_key(s, Qt::Key_Escape);
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  s = &open_sysad(t);
  EXPECT_EQ(s->cmbSysAdData[kTechnician]->count(), 1);
  EXPECT_FALSE(s->chkMandatory[kTechnician]->isChecked());
  s->cmdClose->click();
  EXPECT_EQ(reread(t, "tempNumTechnicians"), "1");
  EXPECT_FALSE(has(t, "Technician2"));
  EXPECT_FALSE(has(t, "FIELD2MANDATORY"));
}

// Entries keep their characters in the settings and in both dialogs; the device record takes
// them one byte per character, as the files hold it. An entry an older QTX stored that way
// reads as it was typed.
TEST(Administrator, EntriesKeepTheirCharacters) {
  TestApp t;
  store_list(t, kManufacturer, {"M\xfcller"});
  frmSysAd& s = open_sysad(t);
  EXPECT_EQ(s.cmbSysAdData[kManufacturer]->itemText(0), QStringLiteral("Müller"));
  s.cmbSysAdData[kManufacturer]->setEditText(QStringLiteral("Шприц"));
  s.cmdAdd->click();
  s.cmdClose->click();
  EXPECT_EQ(reread(t, "Manufacturer2"), "Шприц");
  EXPECT_EQ(reread(t, "Manufacturer1"), "M\xfcller");  // not changed, not rewritten

  EXPECT_EQ(open_sysad(t).cmbSysAdData[kManufacturer]->itemText(1), QStringLiteral("Шприц"));
  t.forms().unload("frmSysAd");
  t.ui.onModal("frmHeader", [](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    EXPECT_EQ(h.cmbHdr[kManufacturer]->itemText(0), QStringLiteral("Müller"));
    EXPECT_EQ(h.cmbHdr[kManufacturer]->itemText(1), QStringLiteral("Шприц"));
    h.cmbHdr[kManufacturer]->setCurrentIndex(1);
    h.cmbHdr[kModel]->setEditText(QStringLiteral("Ü-2"));
    h.cmdContinue->click();
  });
  t.forms().get<frmHeader>().ShowModal();
  EXPECT_EQ(t.session().device_record.manufacturer, "?????");
  EXPECT_EQ(t.session().device_record.model, "\xdc-2");
}
