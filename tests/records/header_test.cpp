#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <functional>

#include "records/frmHeader.h"
#include "records_test_support.h"

using namespace qtx;
using namespace qtx::test;

namespace {

const char* const kNumeric = "Invalid entry, entry must be numeric.";
const char* const kMandatory = "One or more mandatory fields are empty.\r\nPlease fill in all mandatory fields.";

// Shows the device-record dialog modally; `user` acts while it is open.
void show_header(TestApp& t, const std::function<void(frmHeader&)>& user) {
  t.ui.onModal("frmHeader", [&](FormBase& f) { user(dynamic_cast<frmHeader&>(f)); });
  t.forms().get<frmHeader>().ShowModal();
  processEvents();
}

bool bold(QLabel* l) { return l->font().bold(); }

}  // namespace

TEST(DeviceRecord, EmptyStoreAcceptsAnEmptyRecord) {
  TestApp t;
  t.session().device_record.manufacturer = "old";
  t.session().device_record.technician = "old";
  t.session().header_entered = false;
  show_header(t, [](frmHeader& h) {
    for (int k = 0; k < kFieldCount; ++k) {
      EXPECT_FALSE(bold(h.fieldLabel(k))) << k;
      EXPECT_EQ(h.fieldText(k), "") << k;
    }
    for (QComboBox* c : h.cmbHdr) EXPECT_EQ(c->count(), 0);
    EXPECT_TRUE(h.lblMandatoryFields->isVisible());
    std::vector<QWidget*> order{h.cmbHdr[0], h.cmbHdr[3],  h.txtSerialNo, h.txtControlNo, h.cmbHdr[6],
                                h.cmbHdr[5], h.cmbHdr[4],  h.cmbHdr[1],   h.cmbHdr[7],    h.cmbHdr[8],
                                h.cmbHdr[2], h.txtComment, h.cmdContinue};
    EXPECT_EQ(tab_sequence(order), order);
    h.cmdContinue->click();
  });
  EXPECT_FALSE(t.forms().isLoaded("frmHeader"));
  EXPECT_TRUE(t.session().header_entered);
  const DeviceRecord& r = t.session().device_record;
  for (const std::string* s :
       {&r.manufacturer, &r.model, &r.serial_no, &r.control_no, &r.department, &r.location, &r.set_rate_text,
        &r.vtbi_text, &r.comment_text, &r.technician, &r.pump_type, &r.pump_tolerance})
    EXPECT_EQ(*s, "");
  // The dialog only reads the store.
  EXPECT_FALSE(has(t, "tempNumManu"));
  EXPECT_FALSE(has(t, "FIELD0MANDATORY"));
}

TEST(DeviceRecord, LiveSingleRateTestRequiresANumericSetRate) {
  TestApp t;
  store(t, "FIELD4MANDATORY", "False");
  t.session().single_rate_checked = true;
  t.session().header_entered = false;
  t.ui.expectBox(kMandatory, "Mandatory Field Error", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  t.ui.expectBox(kMandatory, "Mandatory Field Error");
  show_header(t, [](frmHeader& h) {
    EXPECT_TRUE(bold(h.lblFlowRate));
    EXPECT_FALSE(bold(h.lblVTBI));
    h.cmdContinue->click();  // empty
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kFlowRate]);
    h.cmbHdr[kFlowRate]->setEditText("abc");
    h.cmdContinue->click();
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kFlowRate]);
  });
  ASSERT_TRUE(t.forms().isLoaded("frmHeader"));
  EXPECT_FALSE(t.session().header_entered);
  EXPECT_EQ(t.session().device_record.set_rate_text, "");
  frmHeader& h = *t.forms().loaded<frmHeader>();
  h.cmbHdr[kFlowRate]->setEditText(" 125.5 ");
  h.cmdContinue->click();
  EXPECT_EQ(t.session().device_record.set_rate_text, "125.5");
  EXPECT_TRUE(t.session().header_entered);
}

TEST(DeviceRecord, MandatoryChecksRunInIndexOrder) {
  TestApp t;
  for (int k : {0, 1, 2, 3, 7, 8, 9}) store(t, records::mandatory_key(k), "True");
  t.ui.expectBox(kMandatory, "Mandatory Field Error");
  t.ui.expectBox(kMandatory, "Mandatory Field Error");
  t.ui.expectBox(kMandatory, "Mandatory Field Error");
  show_header(t, [](frmHeader& h) {
    for (int k : {0, 1, 2, 3, 7, 8, 9}) EXPECT_TRUE(bold(h.fieldLabel(k))) << k;
    for (int k : {4, 5, 6, 10}) EXPECT_FALSE(bold(h.fieldLabel(k))) << k;
    h.cmbHdr[kManufacturer]->setEditText("   ");
    h.cmbHdr[kVtbi]->setEditText("500");
    // Model and Technician both empty: Technician (index 2) is named first.
    h.cmdContinue->click();
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kTechnician]);
    h.cmbHdr[kTechnician]->setEditText("  ");
    h.cmbHdr[kModel]->setEditText(" M-1 ");
    h.cmbHdr[kPumpType]->setEditText(" ");
    h.cmbHdr[kPumpTolerance]->setEditText(" 5 ");
    h.txtSerialNo->setText("  ");
    // A mandatory VTBI that is not a number fails as a mandatory field, not as a numeric one.
    h.cmbHdr[kVtbi]->setEditText("abc");
    h.cmdContinue->click();
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kVtbi]);
    h.cmbHdr[kVtbi]->setEditText("   ");
    h.cmdContinue->click();
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kVtbi]);
    h.cmbHdr[kVtbi]->setEditText(" 1e3 ");
    h.cmbHdr[kDepartment]->setEditText(" ICU ");
    h.txtComment->setText("  checked  ");
    h.cmdContinue->click();
  });
  EXPECT_FALSE(t.forms().isLoaded("frmHeader"));
  const DeviceRecord& r = t.session().device_record;
  // Blank-only fields pass; nine are stored trimmed, three as typed.
  EXPECT_EQ(r.manufacturer, "");
  EXPECT_EQ(r.serial_no, "");
  EXPECT_EQ(r.model, "M-1");
  EXPECT_EQ(r.vtbi_text, "1e3");
  EXPECT_EQ(r.department, "ICU");
  EXPECT_EQ(r.comment_text, "checked");
  EXPECT_EQ(r.technician, "  ");
  EXPECT_EQ(r.pump_type, " ");
  EXPECT_EQ(r.pump_tolerance, " 5 ");
}

TEST(DeviceRecord, NumericCheckOnEnterAndOnLeaving) {
  TestApp t;
  t.ui.expectBox(kNumeric, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  t.ui.expectBox(kNumeric, "ERROR");
  show_header(t, [&](frmHeader& h) {
    QComboBox* rate = h.cmbHdr[kFlowRate];
    QComboBox* vtbi = h.cmbHdr[kVtbi];
    // Set Rate(s) not mandatory: checked all the same when not empty.
    focus_in(rate);
    type(rate, "abc");
    press_enter(rate);
    EXPECT_EQ(h.focusWidget(), rate);
    EXPECT_EQ(h.fieldText(kFlowRate), "abc");  // left as typed
    focus_out(rate);
    EXPECT_EQ(h.focusWidget(), rate);
    EXPECT_EQ(t.ui.boxes.size(), 2u);
    rate->setEditText("");
    press_enter(rate);
    focus_out(rate);
    rate->setEditText("-2.5E1");
    press_enter(rate);
    focus_out(rate);
    // VTBI not mandatory and the other fields: nothing is checked.
    vtbi->setEditText("abc");
    press_enter(vtbi);
    focus_out(vtbi);
    h.cmbHdr[kPumpTolerance]->setEditText("abc");
    press_enter(h.cmbHdr[kPumpTolerance]);
    focus_out(h.cmbHdr[kPumpTolerance]);
    EXPECT_EQ(t.ui.boxes.size(), 2u);
    // Enter reaches the field: no button is pressed and nothing enters the list.
    EXPECT_TRUE(t.forms().isLoaded("frmHeader"));
    EXPECT_EQ(vtbi->count(), 0);
    h.cmdContinue->click();
  });
  EXPECT_EQ(t.session().device_record.vtbi_text, "abc");
  EXPECT_EQ(t.session().device_record.set_rate_text, "-2.5E1");

  // A mandatory VTBI is checked on Enter.
  store(t, "FIELD1MANDATORY", "True");
  t.ui.expectBox(kNumeric, "ERROR");
  show_header(t, [](frmHeader& h) {
    h.cmbHdr[kVtbi]->setEditText("12 ml");
    press_enter(h.cmbHdr[kVtbi]);
    EXPECT_EQ(h.focusWidget(), h.cmbHdr[kVtbi]);
    h.cmbHdr[kVtbi]->setEditText("12");
    h.cmdContinue->click();
  });
}

TEST(DeviceRecord, ListsComeFromTheStoreAndTheCloseBoxStoresNothing) {
  TestApp t;
  store(t, "tempNumManu", "3");
  store(t, "Manufacturer1", "Acme");
  store(t, "Manufacturer3", "Zenith");  // entry 2 missing: an empty line
  store(t, "tempNumVTBI", "abc");
  store(t, "VTBI1", "100");
  store(t, "tempNumTechnicians", "-3");
  store(t, "tempNumPumpTolerances", "2.6");  // rounds to 3
  store(t, "PumpTolerance1", "5");
  store(t, "FIELD10MANDATORY", "yes");  // not a Boolean: False
  t.session().device_record.model = "kept";
  t.session().header_entered = false;
  show_header(t, [](frmHeader& h) {
    QComboBox* m = h.cmbHdr[kManufacturer];
    ASSERT_EQ(m->count(), 3);
    EXPECT_EQ(m->itemText(0), "Acme");
    EXPECT_EQ(m->itemText(1), "");
    EXPECT_EQ(m->itemText(2), "Zenith");
    EXPECT_EQ(h.fieldText(kManufacturer), "");  // nothing picked when it opens
    EXPECT_EQ(h.cmbHdr[kVtbi]->count(), 0);
    EXPECT_EQ(h.cmbHdr[kTechnician]->count(), 0);
    EXPECT_EQ(h.cmbHdr[kPumpTolerance]->count(), 3);
    EXPECT_FALSE(bold(h.lblControlNo));
    m->setCurrentIndex(2);
    EXPECT_EQ(h.fieldText(kManufacturer), "Zenith");
    h.cmbHdr[kModel]->setEditText("new");
    h.close();  // the title-bar close box
  });
  EXPECT_FALSE(t.forms().isLoaded("frmHeader"));
  EXPECT_EQ(t.session().device_record.model, "kept");
  EXPECT_EQ(t.session().device_record.manufacturer, "");
  EXPECT_FALSE(t.session().header_entered);
}

// The numeric message shown by leaving the set rate for a click on Continue takes that click:
// Continue is not left drawn pressed, and the record is not taken.
TEST(DeviceRecord, NumericMessageTakesTheClickOnContinue) {
  TestApp t;
  t.session().header_entered = false;
  t.ui.expectBox(kNumeric, "ERROR");
  show_header(t, [&](frmHeader& h) {
    h.activateWindow();
    processEvents();
    QComboBox* rate = h.cmbHdr[kFlowRate];
    rate->setFocus(Qt::TabFocusReason);
    type(rate, "abc");
    // A press of the mouse: the button takes the focus, then the press.
    h.cmdContinue->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    const QPointF at = QRectF(h.cmdContinue->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, h.cmdContinue->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(h.cmdContinue, &press);
    // The release went to the message box.
    processEvents();
    EXPECT_FALSE(h.cmdContinue->isDown());
    EXPECT_EQ(h.focusWidget(), rate);
  });
  EXPECT_TRUE(t.forms().isLoaded("frmHeader"));
  EXPECT_FALSE(t.session().header_entered);
}
