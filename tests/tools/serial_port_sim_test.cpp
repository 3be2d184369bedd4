// The program's serial port against the analyser simulator: long reports arrive whole, the
// waiting count includes what the operating system holds, and commands go out as one piece.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/global_comm.h"
#include "core/protocol.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "support/analyser_sim.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

// Reads as the report window does: everything waiting, tick after tick, until BEL.
std::string read_report(SerialPort& port) {
  std::string text;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((text.empty() || text.back() != '\a') && std::chrono::steady_clock::now() < end) {
    if (port.inBufferCount() > 0)
      text += port.input();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return text;
}

}  // namespace

TEST(SerialPortWithAnalyser, MegabyteReportArrivesWhole) {
  AnalyserSim sim({"--log-size", "1M"});
  TestApp t;
  t.setPort(2, sim.ptyPath());
  t.session().comm.comm_port = 2;
  GlobalComm::open_comm_port(t.app());
  ASSERT_TRUE(t.comm().isOpen());

  GlobalComm::reset_comm_buffers(t.app());
  ASSERT_TRUE(t.comm().output(protocol::download_command("A", protocol::kDownloadLog)));
  ASSERT_TRUE(sim.waitForReceived("DLA2\r"));
  EXPECT_EQ(sim.received(), "DLA2\r");
  std::string text = read_report(t.comm());
  ASSERT_TRUE(sim.waitUntilIdle());
  EXPECT_EQ(text.size(), sim.sentCount());
  EXPECT_GE(text.size(), 1024u * 1024);
  EXPECT_EQ(text.find('\a'), text.size() - 1);

  // The count includes what the operating system holds before any read.
  ASSERT_TRUE(t.comm().output(protocol::port_test_command()));
  ASSERT_TRUE(sim.waitAnswered("DLA3\r"));
  ASSERT_TRUE(waitForPortInput(t.comm(), 78));
  EXPECT_EQ(t.comm().inBufferCount(), 78);
  t.comm().setInputLen(1);
  EXPECT_EQ(t.comm().input(), "A");
  EXPECT_EQ(t.comm().inBufferCount(), 77);
  t.comm().setInputLen(0);
  EXPECT_EQ(t.comm().input().size(), 77u);
  EXPECT_EQ(t.comm().inBufferCount(), 0);
}

TEST(SerialPortWithAnalyser, ClosingAndReopeningKeepsTheLine) {
  AnalyserSim sim;
  TestApp t;
  t.setPort(2, sim.ptyPath());
  t.session().comm.comm_port = 2;
  for (int round = 0; round < 3; ++round) {
    GlobalComm::open_comm_port(t.app());
    ASSERT_TRUE(t.comm().isOpen());
    GlobalComm::reset_comm_buffers(t.app());
    sim.clearReceived();
    ASSERT_TRUE(t.comm().output(protocol::poll_command("D")));
    ASSERT_TRUE(sim.waitAnswered("GRD\r"));
    ASSERT_TRUE(waitForPortInput(t.comm(), 2));
    EXPECT_EQ(GlobalComm::read_comm_input(t.app()), "e\r");
    EXPECT_FALSE(t.comm().takeLostNotice());
    GlobalComm::close_comm_port(t.app());
  }
}
