#include <gtest/gtest.h>

#include "support/main_window.h"
#include "support/test_app.h"

#include <functional>

#include "records/frmChgPassword.h"
#include "records/frmPassWord.h"
#include "records/frmSysAd.h"
#include "records_test_support.h"
#include "shell/frmMain.h"

using namespace qtx;
using namespace qtx::test;

namespace {

const char* const kIncorrect = "Incorrect Password Entered,\r\nTry Again.";
const char* const kNotConfirmed = "Password entered is not confirmed,\r\nplease retry.";

void enter_password(frmPassWord& p, const QString& text) {
  p.txtPassword->setText(text);
  press_enter(p.txtPassword);
  processEvents();
}

// "Set Password" in the administrator dialog; `user` acts in the change-password dialog.
void change_password(TestApp& t, const std::function<void(frmChgPassword&)>& user) {
  t.ui.onModal("frmChgPassword", [&](FormBase& f) { user(dynamic_cast<frmChgPassword&>(f)); });
  t.forms().get<frmSysAd>().Show();
  t.forms().get<frmSysAd>().cmdSetPassword->click();
  processEvents();
}

}  // namespace

TEST(Password, MenuReadsTheFlagEachTime) {
  TestApp t;
  frmMain& main = load_main_without_ports(t);
  main.mnuSysAdmin->trigger();
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
  EXPECT_FALSE(t.forms().isLoaded("frmPassWord"));
  EXPECT_FALSE(t.session().password_required);
  t.forms().unload("frmSysAd");

  store(t, "ispasswordrqd", "True");
  main.mnuSysAdmin_Click();
  EXPECT_TRUE(t.session().password_required);
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  frmPassWord* p = t.forms().loaded<frmPassWord>();
  ASSERT_TRUE(p);
  EXPECT_TRUE(p->isVisible());
  EXPECT_FALSE(p->isModal());
  type(p->txtPassword, "ab c");
  EXPECT_EQ(p->txtPassword->displayText(), "****");
  p->cmdCancel->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmPassWord"));
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
}

TEST(Password, PromptComparesExactly) {
  TestApp t;
  // Nothing stored: the prompt takes 8352.
  frmPassWord* p = &t.forms().get<frmPassWord>();
  p->Show();
  t.ui.expectBox(kIncorrect, "Incorrect Password", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  enter_password(*p, "");
  enter_password(*p, "8352");
  EXPECT_FALSE(t.forms().isLoaded("frmPassWord"));
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
  EXPECT_EQ(t.session().admin_password, "8352");
  t.forms().unload("frmSysAd");

  store(t, "password", "Secret");
  p = &t.forms().get<frmPassWord>();
  p->Show();
  t.ui.expectBox(kIncorrect, "Incorrect Password");
  t.ui.expectBox(kIncorrect, "Incorrect Password");
  enter_password(*p, "secret");
  EXPECT_EQ(p->txtPassword->text(), "");
  enter_password(*p, "8352");
  EXPECT_TRUE(t.forms().isLoaded("frmPassWord"));
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  enter_password(*p, "Secret");
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
  t.forms().unload("frmSysAd");

  // A stored empty password opens on an empty entry.
  store(t, "password", "");
  p = &t.forms().get<frmPassWord>();
  p->Show();
  enter_password(*p, "");
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
}

TEST(Password, NewPasswordIsRequiredAtOnceAndStoredByTheNextClose) {
  TestApp t;
  store(t, "password", "");
  change_password(t, [](frmChgPassword& c) {
    type(c.txtSetPassword, "Abc");
    press_enter(c.txtSetPassword);
    EXPECT_EQ(c.focusWidget(), c.txtConfPassw);
    type(c.txtConfPassw, "Abc");
    press_enter(c.txtConfPassw);
    EXPECT_TRUE(c.password_confirmed());
    c.CmdOK->click();
  });
  EXPECT_FALSE(t.forms().isLoaded("frmChgPassword"));
  EXPECT_EQ(t.session().admin_password, "Abc");
  EXPECT_TRUE(t.session().password_required);
  EXPECT_EQ(reread(t, "ispasswordrqd"), "True");
  EXPECT_EQ(reread(t, "password"), "");  // not before the administrator dialog saves
  frmSysAd* s = t.forms().loaded<frmSysAd>();
  ASSERT_TRUE(s);  // re-opened, afresh
  EXPECT_TRUE(s->isVisible());
  EXPECT_EQ(s->cmdSetPassword->text(), "Change Password");
  EXPECT_TRUE(s->cmdRemovePassword->isEnabled());

  // Leaving it with Cancel keeps the old stored password while one is now required.
  s->cmdCancel->click();
  processEvents();
  EXPECT_EQ(reread(t, "password"), "");
  frmMain& main = load_main_without_ports(t);
  main.mnuSysAdmin_Click();
  enter_password(t.forms().get<frmPassWord>(), "");
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
  EXPECT_EQ(t.session().admin_password, "");
}

TEST(Password, ConfirmationRules) {
  TestApp t;
  t.session().admin_password = "keep";
  // A differing confirmation is refused and emptied; OK then stores nothing.
  t.ui.expectBox(kNotConfirmed, "Confirmation Error", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("abc");
    focus_out(c.txtSetPassword);
    c.txtConfPassw->setText("abd");
    focus_out(c.txtConfPassw);
    EXPECT_EQ(c.txtConfPassw->text(), "");
    EXPECT_FALSE(c.password_confirmed());
    c.CmdOK->click();
  });
  EXPECT_EQ(t.session().admin_password, "keep");
  EXPECT_FALSE(has(t, "ispasswordrqd"));
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));

  // Confirmed, then the new password changed: the old confirmation no longer matches.
  t.ui.expectBox(kNotConfirmed, "Confirmation Error");
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("one");
    press_enter(c.txtSetPassword);
    c.txtConfPassw->setText("one");
    press_enter(c.txtConfPassw);
    EXPECT_TRUE(c.password_confirmed());
    c.txtSetPassword->setText("two");
    focus_out(c.txtSetPassword);
    EXPECT_EQ(c.focusWidget(), c.txtConfPassw);
    EXPECT_FALSE(c.password_confirmed());
    focus_out(c.txtConfPassw);
    c.CmdOK->click();
  });
  EXPECT_EQ(t.session().admin_password, "keep");

  // A key typed into the confirmation after a match undoes it; OK without confirmation and
  // Cancel change nothing.
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("x");
    press_enter(c.txtSetPassword);
    c.txtConfPassw->setText("x");
    press_enter(c.txtConfPassw);
    type(c.txtConfPassw, "y");
    EXPECT_FALSE(c.password_confirmed());
    c.CmdOK->click();
  });
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("x");
    press_enter(c.txtSetPassword);
    c.cmdCancel->click();
  });
  EXPECT_EQ(t.session().admin_password, "keep");
  EXPECT_FALSE(has(t, "ispasswordrqd"));
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));

  // The close box does not bring the administrator dialog back.
  change_password(t, [](frmChgPassword& c) { c.close(); });
  EXPECT_FALSE(t.forms().isLoaded("frmChgPassword"));
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
}

TEST(Password, EmptyPasswordAndAnExistingRequirement) {
  TestApp t;
  t.session().admin_password = "old";
  change_password(t, [](frmChgPassword& c) {
    press_enter(c.txtConfPassw);  // both empty
    c.CmdOK->click();
  });
  EXPECT_EQ(t.session().admin_password, "");
  EXPECT_EQ(reread(t, "ispasswordrqd"), "True");

  // Already required: OK does not write the flag again.
  store(t, "ispasswordrqd", "-1");
  t.forms().unload("frmSysAd");
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("n");
    press_enter(c.txtSetPassword);
    c.txtConfPassw->setText("n");
    press_enter(c.txtConfPassw);
    c.CmdOK->click();
  });
  EXPECT_EQ(t.session().admin_password, "n");
  EXPECT_EQ(reread(t, "ispasswordrqd"), "-1");
}

// An administrator dialog open since before another copy's password change leaves that
// password as it is when it closes: the prompt keeps asking for it.
TEST(Password, ADialogOpenSinceBeforeKeepsAnotherCopysPassword) {
  TestApp t;
  OtherCopy other(t);
  frmSysAd& b = other.app.forms().get<frmSysAd>();
  b.Show();
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText("new");
    press_enter(c.txtSetPassword);
    c.txtConfPassw->setText("new");
    press_enter(c.txtConfPassw);
    c.CmdOK->click();
  });
  t.forms().get<frmSysAd>().cmdClose->click();
  b.cmdClose->click();
  processEvents();
  EXPECT_EQ(reread(t, "password"), "new");
  EXPECT_EQ(reread(t, "ispasswordrqd"), "True");

  frmMain& main = load_main_without_ports(t);
  main.mnuSysAdmin_Click();
  t.ui.expectBox(kIncorrect, "Incorrect Password");
  enter_password(t.forms().get<frmPassWord>(), "");
  EXPECT_FALSE(t.forms().isLoaded("frmSysAd"));
  enter_password(t.forms().get<frmPassWord>(), "new");
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
}

// A password is compared as typed, every character kept; Esc closes the prompt, and the next
// one opens empty.
TEST(Password, KeepsEveryCharacterAndEscClosesThePrompt) {
  TestApp t;
  change_password(t, [](frmChgPassword& c) {
    c.txtSetPassword->setText(QStringLiteral("жук"));
    press_enter(c.txtSetPassword);
    c.txtConfPassw->setText(QStringLiteral("жук"));
    press_enter(c.txtConfPassw);
    c.CmdOK->click();
  });
  t.forms().get<frmSysAd>().cmdClose->click();
  processEvents();
  EXPECT_EQ(reread(t, "password"), "жук");

  frmPassWord* p = &t.forms().get<frmPassWord>();
  p->Show();
  t.ui.expectBox(kIncorrect, "Incorrect Password");
  t.ui.expectBox(kIncorrect, "Incorrect Password");
  enter_password(*p, "???");
  enter_password(*p, QStringLiteral("жуК"));
  type(p->txtPassword, "x");
  send_key(p, Qt::Key_Escape);
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmPassWord"));
  p = &t.forms().get<frmPassWord>();
  p->Show();
  EXPECT_EQ(p->txtPassword->text(), "");
  enter_password(*p, QStringLiteral("жук"));
  EXPECT_TRUE(t.forms().isLoaded("frmSysAd"));
}
