// The serial link procedures against a real pseudo-terminal.
#include <gtest/gtest.h>

#include "common/global_comm.h"
#include "shell/frmMain.h"
#include "support/analyser_sim.h"
#include "support/main_window.h"
#include "support/pty_pair.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

TEST(SerialLink, StopCommandPutsExactlyFourCharactersOnTheLine) {
  AnalyserSim sim;
  TestApp t;
  t.setPort(2, sim.ptyPath());
  load_main(t);
  t.session().channel_code = "B";
  double before = t.clock.seconds;
  EXPECT_TRUE(GlobalComm::send_stop_command(t.app()));
  ASSERT_TRUE(sim.waitAnswered("STB\r"));
  EXPECT_EQ(sim.received(), "STB\r");  // exactly these four, nothing more
  EXPECT_NEAR(t.clock.seconds - before, 2.0, 0.001);  // one second either side
}

TEST(SerialLink, ReadCommInputTakesWhatWaits) {
  TestApp t;
  PtyPair com2;
  t.setPort(2, com2.device());
  load_main(t);
  EXPECT_EQ(GlobalComm::read_comm_input(t.app()), "");
  com2.write("A, 0, 1, 5, 99.8, 100.2, 1.73, 12\r\n");
  for (int i = 0; i < 200 && t.comm().inBufferCount() < 35; ++i) t.clock.sleep_for(0);  // let it arrive
  // The count includes characters still held by the operating system.
  while (t.comm().inBufferCount() < 35) {
  }
  EXPECT_EQ(GlobalComm::read_comm_input(t.app()), "A, 0, 1, 5, 99.8, 100.2, 1.73, 12\r\n");
  EXPECT_EQ(t.comm().inBufferCount(), 0);
}

TEST(SerialLink, InputLenOneTakesOneCharacter) {
  TestApp t;
  PtyPair com2;
  t.setPort(2, com2.device());
  load_main(t);
  com2.write("AB.");
  while (t.comm().inBufferCount() < 3) {
  }
  t.comm().setInputLen(1);
  EXPECT_EQ(t.comm().input(), "A");
  EXPECT_EQ(t.comm().inBufferCount(), 2);
  GlobalComm::reset_comm_buffers(t.app());
  EXPECT_EQ(t.comm().inputLen(), 0);
  EXPECT_EQ(t.comm().inBufferCount(), 0);
}

TEST(SerialLink, ClosedPortFailsQuietly) {
  TestApp t;
  load_main_without_ports(t);
  ASSERT_FALSE(t.comm().isOpen());
  EXPECT_FALSE(t.comm().output("GRA\r"));
  EXPECT_EQ(t.comm().input(), "");
  EXPECT_EQ(t.comm().inBufferCount(), 0);
  EXPECT_EQ(GlobalComm::read_comm_input(t.app()), "");
  EXPECT_FALSE(GlobalComm::send_stop_command(t.app()));  // no fault, and nothing more to tell
  GlobalComm::close_comm_port(t.app());
  GlobalComm::close_comm_port(t.app());
}

TEST(SerialLink, ReplyErrors) {
  TestApp t;
  struct Case {
    const char* rx;
    const char* text;
  } cases[] = {
      {"?\r", "Unsuccessful transmission, check all hardware connections and try again."},
      {"e\r", "Test or Autosequence is not running"},
      {"n\r", "Current channel selected is not connected."},
      {"N\r", nullptr},
      {"", nullptr},
      {"x", nullptr},
  };
  for (const Case& c : cases) {
    t.session().rx_text = c.rx;
    if (c.text) t.ui.expectBox(c.text, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    GlobalComm::show_reply_error(t.app());
    t.ui.verify();
  }
  EXPECT_EQ(t.ui.boxes.size(), 3u);
}

TEST(SerialLink, DelayAcrossMidnightEnds) {
  TestApp t;
  t.clock.seconds = 86399.5;
  GlobalComm::delay(t.app(), 1.0f);
  EXPECT_GE(t.clock.seconds, 0.5);
  EXPECT_LT(t.clock.seconds, 1.0);
  EXPECT_EQ(t.clock.date.day, 9);
  // A zero or negative wait returns at once.
  size_t sleeps = t.clock.sleeps.size();
  GlobalComm::delay(t.app(), 0.0f);
  GlobalComm::delay(t.app(), -3.0f);
  EXPECT_EQ(t.clock.sleeps.size(), sleeps);
}

TEST(SerialLink, LostDeviceIsReportedOnce) {
  TestApp t;
  auto com2 = std::make_unique<PtyPair>();
  t.setPort(2, com2->device());
  load_main(t);
  ASSERT_TRUE(t.comm().isOpen());
  com2.reset();  // the other end goes away
  for (int i = 0; i < 20 && t.comm().state() == SerialPort::State::Open; ++i) {
    t.comm().inBufferCount();
    t.comm().output("GRA\r");
  }
  EXPECT_EQ(t.comm().state(), SerialPort::State::Lost);
  EXPECT_TRUE(t.comm().takeLostNotice());
  EXPECT_FALSE(t.comm().takeLostNotice());
  EXPECT_EQ(t.comm().input(), "");
  EXPECT_FALSE(t.comm().output("GRA\r"));
}
