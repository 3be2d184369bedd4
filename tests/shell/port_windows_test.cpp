// The port test and port configuration windows against the analyser simulator.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <memory>
#include <string>

#include "common/global_comm.h"
#include "core/protocol.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "shell/frmChangePort.h"
#include "shell/frmMain.h"
#include "shell/frmTestPort.h"
#include "support/analyser_sim.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

std::string reference_text() {
  return std::string(protocol::kPortTestLine1) + "\r\n" + std::string(protocol::kPortTestLine2);
}

}  // namespace

TEST(PortTestWindow, ReferenceLinesArriveOneCharacterPerTickUpToTheFirstDot) {
  AnalyserSim sim;
  TestApp t;
  t.setPort(2, sim.ptyPath());
  frmMain& main = load_main(t);
  ASSERT_TRUE(t.comm().isOpen());

  main.mnuTestPort->trigger();
  frmTestPort* w = t.forms().loaded<frmTestPort>();
  ASSERT_NE(w, nullptr);
  // The button's caption in the text reads as on the button, without its access-key mark.
  EXPECT_TRUE(w->Label1->text().startsWith(QStringLiteral("Press \"Test Port\" and")))
      << w->Label1->text().toStdString();
  EXPECT_TRUE(w->GetDataTimer->isActive());  // polling from the moment it is loaded
  EXPECT_EQ(t.comm().inputLen(), 1);

  w->Command1->click();
  ASSERT_TRUE(sim.waitAnswered("DLA3\r"));
  EXPECT_EQ(sim.received(), "DLA3\r");  // in one piece, nothing else

  // The analyser's answer: the two lines, then a line end after the ".".
  std::string expected = reference_text();
  ASSERT_TRUE(waitForPortInput(t.comm(), static_cast<int>(expected.size()) + 2));
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(w->GetDataTimer->isActive()) << "stopped early at " << i;
    w->GetDataTimer_Timer();
    ASSERT_EQ(w->data_text(), expected.substr(0, i + 1));
  }
  EXPECT_FALSE(w->GetDataTimer->isActive());
  EXPECT_EQ(t.session().rx_text, ".");
  EXPECT_EQ(w->txtData->toPlainText().toStdString(),
            std::string(protocol::kPortTestLine1) + "\n" + std::string(protocol::kPortTestLine2));
  EXPECT_EQ(t.comm().inBufferCount(), 2);  // the CR LF after the "." stays in the port

  // Exit: the window goes, the one-character reads stay until the next reset.
  w->Command3->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmTestPort"));
  EXPECT_EQ(t.comm().inputLen(), 1);
  GlobalComm::reset_comm_buffers(t.app());
  EXPECT_EQ(t.comm().inputLen(), 0);
  EXPECT_EQ(t.comm().inBufferCount(), 0);
}

TEST(PortTestWindow, ShowsTextBeforeTheButtonAndRestartsOnTestPort) {
  AnalyserSim sim;
  TestApp t;
  t.setPort(2, sim.ptyPath());
  load_main(t);
  frmTestPort& w = t.forms().get<frmTestPort>();

  // Unasked text is shown too; its "." stops the display.
  ASSERT_TRUE(sim.command("send ok.x"));
  ASSERT_TRUE(sim.waitUntilIdle());
  ASSERT_TRUE(waitForPortInput(t.comm(), 4));
  for (int i = 0; i < 3; ++i) w.GetDataTimer_Timer();
  EXPECT_EQ(w.data_text(), "ok.");
  EXPECT_FALSE(w.GetDataTimer->isActive());
  w.GetDataTimer_Timer();  // a stray tick still takes one character
  EXPECT_EQ(w.data_text(), "ok.x");

  // Test Port empties the box and polls again; an empty tick adds nothing.
  ASSERT_TRUE(sim.command("mute on"));
  w.Command1_Click();
  EXPECT_TRUE(w.GetDataTimer->isActive());
  EXPECT_EQ(w.data_text(), "");
  EXPECT_TRUE(w.txtData->toPlainText().isEmpty());
  ASSERT_TRUE(sim.waitAnswered("DLA3\r"));
  w.GetDataTimer_Timer();
  EXPECT_EQ(w.data_text(), "");
  // No reply: the poll sleeps until the port has input, then shows it as it comes.
  EXPECT_FALSE(w.GetDataTimer->isActive());
  ASSERT_TRUE(sim.command("send z"));
  ASSERT_TRUE(waitForPortInput(t.comm(), 1));
  processEvents();
  EXPECT_TRUE(w.GetDataTimer->isActive());
  w.GetDataTimer_Timer();
  EXPECT_EQ(w.data_text(), "z");
}

TEST(PortTestWindow, ClosedOrVanishedPortIsToldNotIgnored) {
  auto sim = std::make_unique<AnalyserSim>();
  TestApp t;
  t.setPort(2, sim->ptyPath());
  load_main(t);
  frmTestPort& w = t.forms().get<frmTestPort>();

  // The analyser's end goes away while the window polls: one message, polling ends.
  sim.reset();
  t.expectPortError();
  // (A sleeping poll is woken by the hang-up.)
  for (int i = 0; i < 200 && t.ui.boxes.empty(); ++i) {
    if (w.GetDataTimer->isActive()) w.GetDataTimer_Timer();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_FALSE(w.GetDataTimer->isActive());
  t.ui.verify();

  // With the port gone, Test Port cannot send and says so.
  t.expectPortError();
  w.Command1_Click();
  EXPECT_FALSE(w.GetDataTimer->isActive());
  t.ui.verify();
}

TEST(ChangePortWindow, OffersOnlyThePortsThatOpenedAtStart) {
  TestApp t(Port::Scripted);
  t.serial().setOpenable(2, false);
  t.serial().setOpenable(4, false);
  t.settings().save("Startup", "comm", "1");
  frmMain& main = load_main(t);
  main.show();

  main.mnuCommPort->trigger();
  frmChangePort* w = t.forms().loaded<frmChangePort>();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->optComm1->isEnabled());
  EXPECT_FALSE(w->optComm2->isEnabled());
  EXPECT_TRUE(w->optComm3->isEnabled());
  EXPECT_FALSE(w->optComm4->isEnabled());
  EXPECT_TRUE(w->optComm1->isChecked());
  EXPECT_FALSE(w->optComm3->isChecked());

  // Coming back to the window from another one rebuilds the options from the shared state.
  auto come_back = [&] {
    main.mnuTestPort->trigger();
    main.mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(&w->frame()));
  };
  w->optComm3->setChecked(true);
  t.session().comm.comm_port = 7;
  come_back();
  for (QRadioButton* b : {w->optComm1, w->optComm2, w->optComm3, w->optComm4}) EXPECT_FALSE(b->isChecked());
  t.session().comm.comm_port = 3;
  come_back();
  EXPECT_TRUE(w->optComm3->isChecked());
  EXPECT_FALSE(w->optComm1->isChecked());

  // Cancel changes nothing.
  t.session().comm.comm_port = 1;
  w->cmdCancel->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmChangePort"));
  EXPECT_EQ(t.session().comm.comm_port, 1);
  EXPECT_EQ(t.settings().get("Startup", "comm", ""), "1");
  EXPECT_TRUE(t.comm().isOpen());
  EXPECT_EQ(t.comm().commPort(), 1);
}

TEST(ChangePortWindow, UpdateStoresShowsAndReopensThePort) {
  AnalyserSim sim1;
  AnalyserSim sim3;
  TestApp t;
  t.setPort(1, sim1.ptyPath());
  t.setPort(3, sim3.ptyPath());
  t.settings().save("Startup", "comm", "1");
  frmMain& main = load_main(t);
  ASSERT_EQ(t.comm().commPort(), 1);

  frmChangePort& w = t.forms().get<frmChangePort>();
  w.Show();
  w.optComm3->setChecked(true);
  w.cmdUpdate->click();
  processEvents();

  EXPECT_EQ(t.session().comm.comm_port, 3);
  EXPECT_EQ(t.settings().get("Startup", "comm", ""), "3");
  EXPECT_EQ(main.lblStatus->text(), "Comm Port:  3");
  EXPECT_EQ(main.windowTitle(), "QTX  -  Comm 3");
  EXPECT_FALSE(t.forms().isLoaded("frmChangePort"));

  // The port now open is COM3: what the program sends reaches the analyser there.
  ASSERT_TRUE(t.comm().isOpen());
  EXPECT_EQ(t.comm().commPort(), 3);
  ASSERT_TRUE(t.comm().output(protocol::poll_command("B")));
  EXPECT_TRUE(sim3.waitAnswered("GRB\r"));
  EXPECT_EQ(sim1.received(), "");
  ASSERT_TRUE(waitForPortInput(t.comm(), 2));
  EXPECT_EQ(GlobalComm::read_comm_input(t.app()), "e\r");
}

TEST(ChangePortWindow, APortThatCannotOpenIsToldAndStoredAllTheSame) {
  TestApp t(Port::Scripted);
  t.settings().save("Startup", "comm", "1");
  frmMain& main = load_main(t);

  // COM3 opened at start but is gone by now.
  t.serial().setOpenable(3, false);
  frmChangePort& w = t.forms().get<frmChangePort>();
  w.Show();
  w.optComm3->setChecked(true);
  t.expectPortError();
  w.cmdUpdate_Click();
  t.ui.verify();
  processEvents();

  EXPECT_EQ(t.settings().get("Startup", "comm", ""), "3");
  EXPECT_EQ(main.lblStatus->text(), "Comm Port:  3");
  EXPECT_EQ(main.windowTitle(), "QTX  -  Comm 3");
  EXPECT_FALSE(t.comm().isOpen());
  EXPECT_FALSE(t.forms().isLoaded("frmChangePort"));
}

TEST(PortTestWindow, ThroughTheScriptedPortALostDeviceIsToldOnce) {
  TestApp t(Port::Scripted);
  load_main(t);  // every port opens: no message
  frmTestPort& w = t.forms().get<frmTestPort>();
  t.serial().reply(protocol::port_test_command(), "AB.\r\n");
  w.Command1_Click();
  EXPECT_EQ(t.serial().sent, "DLA3\r");
  for (int i = 0; i < 3; ++i) w.GetDataTimer_Timer();
  EXPECT_EQ(w.data_text(), "AB.");
  EXPECT_FALSE(w.GetDataTimer->isActive());

  // The device goes as the request is sent: one message, and the ticks after it say nothing.
  t.serial().vanishOn(protocol::port_test_command());
  t.expectPortError();
  w.Command1_Click();
  t.ui.verify();
  EXPECT_FALSE(w.GetDataTimer->isActive());
  w.GetDataTimer_Timer();
  EXPECT_EQ(t.ui.boxes.size(), 1u);
}
