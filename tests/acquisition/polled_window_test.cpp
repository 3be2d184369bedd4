// What every window that polls the port has: the tick guard and the lost-device path.
#include "acquisition/polled_window.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <memory>

#include "core/line_sink.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/ui.h"
#include "support/test_app.h"

namespace qtx::test {

// A polled child window: a timer, and a tick that can raise a box and looks for a lost device.
class TestPolledForm : public PolledWindow {
  Q_OBJECT
 public:
  explicit TestPolledForm(App& app) : PolledWindow(app) {
    PollTimer = timer(this, "PollTimer", 0);
    connect_tick(PollTimer, [this] { PollTimer_Timer(); });
  }
  bool isMdiChild() const override { return true; }
  void PollTimer_Timer() {
    ++ticks;
    if (box_on_tick) app_.ui().msgbox("tick", MsgButtons::OK, MsgIcon::None, "TICK");
    if (device_lost()) return;
  }
  QTimer* PollTimer = nullptr;
  int ticks = 0;
  bool box_on_tick = false;
};

TEST(PolledWindow, ATickIsNotReenteredWhileTheBoxItRaisedIsOpen) {
  TestApp t;
  auto& w = t.forms().get<TestPolledForm>();
  w.box_on_tick = true;
  w.PollTimer->start();
  // The timer keeps firing while the box is open; a second box would be unexpected.
  t.ui.expectBox("tick", "TICK").whileOpen([&] {
    EXPECT_TRUE(w.in_tick());
    run_events();
    EXPECT_FALSE(w.run_tick([&] { w.PollTimer_Timer(); }));
    w.PollTimer->stop();
  });
  run_events(10);
  t.ui.verify();
  EXPECT_EQ(w.ticks, 1);
  EXPECT_FALSE(w.in_tick());

  // The guard is one per window and lets the next tick through.
  w.box_on_tick = false;
  EXPECT_TRUE(w.run_tick([&] { w.PollTimer_Timer(); }));
  EXPECT_EQ(w.ticks, 2);
}

TEST(PolledWindow, ALostDeviceIsToldOnceStopsTheTimersAndKeepsTheLogs) {
  TestApp t(Port::Scripted);
  auto& w = t.forms().get<TestPolledForm>();
  ASSERT_TRUE(t.comm().open());
  auto log = std::make_shared<StringSink>();
  t.session().rt_log.file = log;
  w.PollTimer->start();

  t.serial().vanish();
  t.expectPortError();
  w.PollTimer_Timer();
  t.ui.verify();
  EXPECT_FALSE(w.PollTimer->isActive());
  EXPECT_EQ(log->flushes, 1);
  w.PollTimer_Timer();  // no second message
  EXPECT_EQ(t.ui.boxes.size(), 1u);
}

}  // namespace qtx::test

#include "polled_window_test.moc"
