// The window life cycle that Forms gives every window: activation, unloading, fresh creation.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/ui.h"
#include "support/test_app.h"

namespace qtx::test {

class TestMainForm : public Form<QMainWindow> {
  Q_OBJECT
 public:
  explicit TestMainForm(App& app) : Form<QMainWindow>(app) {
    area = new QMdiArea(this);
    setCentralWidget(area);
    resize(800, 600);
    app.forms().setMainWindow(this, area);
  }
  void Form_Activate() override { ++activations; }
  QMdiArea* area = nullptr;
  int activations = 0;
};

// A child window with a timer: a check box set at design time, a timer that counts its ticks.
class TestChildForm : public Form<QWidget> {
  Q_OBJECT
 public:
  explicit TestChildForm(App& app) : Form<QWidget>(app) {
    chkOption = make<QCheckBox>(this, "chkOption", "Option");
    chkOption->setChecked(true);
    PollTimer = timer(this, "PollTimer", 0);
    connect(PollTimer, &QTimer::timeout, this, [this] { PollTimer_Timer(); });
    resize(200, 100);
  }
  bool isMdiChild() const override { return true; }
  void Form_Load() override { ++loads; }
  void Form_Activate() override { ++activations; }
  void PollTimer_Timer() { ++ticks; }
  QCheckBox* chkOption = nullptr;
  QTimer* PollTimer = nullptr;
  int loads = 0, activations = 0, ticks = 0;
};

class TestOtherChildForm : public TestChildForm {
  Q_OBJECT
 public:
  using TestChildForm::TestChildForm;
};

class TestDialogForm : public DialogForm {
  Q_OBJECT
 public:
  using DialogForm::DialogForm;
  void Form_Activate() override { ++activations; }
  int activations = 0;
};

class TestToolForm : public Form<QWidget> {
  Q_OBJECT
 public:
  using Form<QWidget>::Form;
  void Form_Activate() override { ++activations; }
  int activations = 0;
};

TEST(Forms, ActivationReachesMdiChildrenModalUndersAndTheMainWindowAgain) {
  TestApp t;
  auto& main = t.forms().get<TestMainForm>();
  main.show();
  run_events();
  auto& a = t.forms().get<TestChildForm>();
  auto& b = t.forms().get<TestOtherChildForm>();
  a.Show();
  b.Show();
  EXPECT_EQ(a.activations, 1);
  EXPECT_EQ(b.activations, 1);
  // Activating a child's frame again, as a click on it does.
  main.area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(&a.frame()));
  EXPECT_EQ(a.activations, 2);
  EXPECT_EQ(b.activations, 1);
  main.area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(&a.frame()));
  EXPECT_EQ(a.activations, 2);  // it was the active one already

  // A modal window closing activates the window under it once, however Qt hands focus back.
  const int main_before = main.activations;
  auto& dialog = t.forms().get<TestDialogForm>();
  t.ui.onModal("TestDialogForm", [](FormBase& f) { f.Hide(); });
  dialog.ShowModal();
  run_events();
  EXPECT_EQ(dialog.activations, 1);
  EXPECT_EQ(main.activations, main_before + 1);

  // A window of its own over the main window, then the main window activated again.
  auto& tool = t.forms().get<TestToolForm>();
  tool.Show();
  tool.activateWindow();
  run_events();
  EXPECT_EQ(tool.activations, 1);
  main.activateWindow();
  run_events();
  EXPECT_EQ(main.activations, main_before + 2);
}

TEST(Forms, UnloadStopsTheTimersAndTheNextUseStartsFromTheDesign) {
  TestApp t;
  t.forms().get<TestMainForm>();
  auto* first = &t.forms().get<TestChildForm>();
  first->Show();
  first->PollTimer->start();
  first->chkOption->setChecked(false);
  run_events(10);
  ASSERT_GT(first->ticks, 0);

  QPointer<QTimer> timer = first->PollTimer;
  const int ticks = first->ticks;
  first->Unload();
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(first->ticks, ticks);
  run_events(10);
  EXPECT_TRUE(timer.isNull());  // destroyed, nothing ticked meanwhile

  auto& again = t.forms().get<TestChildForm>();
  EXPECT_EQ(again.loads, 1);
  EXPECT_TRUE(again.chkOption->isChecked());
  EXPECT_FALSE(again.PollTimer->isActive());
  EXPECT_EQ(again.ticks, 0);
}

}  // namespace qtx::test

#include "forms_test.moc"
