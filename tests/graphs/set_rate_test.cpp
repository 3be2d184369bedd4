#include <gtest/gtest.h>

#include "graphs/frmSetRate.h"
#include "support/keyboard.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

// Shows the dialog modally; `user` types into it and presses its buttons.
void show_set_rate(TestApp& t, const std::function<void(frmSetRate&)>& user) {
  t.ui.onModal("frmSetRate", [&](FormBase& f) { user(dynamic_cast<frmSetRate&>(f)); });
  t.forms().get<frmSetRate>().ShowModal();
  processEvents();
}

}  // namespace

TEST(SetRate, TextThatIsNotARateKeepsTheDialogOpen) {
  TestApp t;
  load_main_without_ports(t);
  t.session().base_rate = 100;
  show_set_rate(t, [&](frmSetRate& d) {
    EXPECT_EQ(d.windowTitle(), "SET RATE");
    // Numbers outside the base-rate range get a message naming the range; text, its own.
    for (const char* text : {"", "abc", "1e999", "1e300", "0.00001", "-40000"}) {
      const bool number = *text && text != std::string_view("abc");
      t.ui.expectBox(number ? "Base rate out of range: enter a rate from 0.0001 to 32767 ml/h (or from -32767 to "
                              "-0.0001 ml/h)."
                            : "Non-numeric value",
                     "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
      d.txtSetRate->setText(QString::fromLatin1(text));
      d.cmdUpdate->click();
      EXPECT_TRUE(t.forms().isLoaded("frmSetRate"));
      EXPECT_EQ(d.txtSetRate->text(), QString::fromLatin1(text));
      EXPECT_EQ(t.session().base_rate, 100);
    }
    d.cmdCancel->click();
  });
  EXPECT_FALSE(t.forms().isLoaded("frmSetRate"));
  EXPECT_EQ(t.session().base_rate, 100);
  EXPECT_FALSE(t.session().rate_updated);

  // After a refusal an ordinary rate is still taken.
  show_set_rate(t, [&](frmSetRate& d) {
    t.ui.expectBox("Non-numeric value", "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    d.txtSetRate->setText(QStringLiteral("1e"));
    d.cmdUpdate->click();
    d.txtSetRate->setText(QStringLiteral("32767"));
    d.cmdUpdate->click();
  });
  EXPECT_FALSE(t.forms().isLoaded("frmSetRate"));
  EXPECT_EQ(t.session().base_rate, 32767);
  EXPECT_TRUE(t.session().rate_updated);
}

TEST(SetRate, ZeroClosesAndKeepsTheOldRate) {
  TestApp t;
  load_main_without_ports(t);
  t.session().base_rate = 100;
  for (const char* text : {"0", "0.0"}) {
    t.session().rate_updated = true;  // cleared when the dialog becomes active
    t.ui.expectBox("Zero value not possible.", "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    show_set_rate(t, [&](frmSetRate& d) {
      d.txtSetRate->setText(QString::fromLatin1(text));
      d.cmdUpdate->click();
    });
    EXPECT_FALSE(t.forms().isLoaded("frmSetRate"));
    EXPECT_EQ(t.session().base_rate, 100);
    EXPECT_FALSE(t.session().rate_updated);
  }
}

TEST(SetRate, StoresTheRateByUpdateOrEnter) {
  TestApp t;
  load_main_without_ports(t);
  show_set_rate(t, [&](frmSetRate& d) {
    d.txtSetRate->setText(QStringLiteral("-5"));
    d.cmdUpdate->click();
  });
  EXPECT_EQ(t.session().base_rate, -5);
  EXPECT_TRUE(t.session().rate_updated);

  show_set_rate(t, [&](frmSetRate& d) {
    // Each showing starts empty.
    EXPECT_EQ(d.txtSetRate->text(), "");
    EXPECT_FALSE(t.session().rate_updated);
    d.txtSetRate->setText(QStringLiteral("12.5"));
    press_enter(d.txtSetRate);
  });
  EXPECT_FALSE(t.forms().isLoaded("frmSetRate"));
  EXPECT_EQ(t.session().base_rate, 12.5);
  EXPECT_TRUE(t.session().rate_updated);
}
