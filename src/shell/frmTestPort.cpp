#include "shell/frmTestPort.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPointer>
#include <QTextCursor>
#include <QVBoxLayout>

#include "common/global_comm.h"
#include "common/global_main.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/serial_port.h"

namespace qtx {

namespace {

QFont courier() {
  QFont f(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(10);
  return f;
}

}  // namespace

frmTestPort::frmTestPort(App& app) : PolledWindow(app) {
  setWindowTitle(QStringLiteral("Serial Port Test"));

  // The text names the "&Test Port" button, whose own access key is T. The same key on the
  // label would make the two share it, and then the key only moves the focus between them
  // instead of pressing the button; so the label has no key and reads as the user reads it.
  Label1 = make<QLabel>(this, "Label1",
                        "Press \"Test Port\" and you should see the following two line in the window below:");
  Label1->setTextFormat(Qt::PlainText);
  Label1->setWordWrap(true);
  Label2 = make<QLabel>(this, "Label2", protocol::kPortTestLine1);
  Label2->setFont(courier());
  Label2->setTextFormat(Qt::PlainText);
  Label3 = make<QLabel>(this, "Label3", protocol::kPortTestLine2);
  Label3->setFont(courier());
  Label3->setTextFormat(Qt::PlainText);

  txtData = make<QPlainTextEdit>(this, "txtData");
  txtData->setFont(courier());
  txtData->setReadOnly(true);
  txtData->setAccessibleName(QStringLiteral("Received characters"));
  txtData->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtData->setTabChangesFocus(true);

  Command1 = make<QPushButton>(this, "Command1", "&Test Port");
  Command3 = make<QPushButton>(this, "Command3", "E&xit Port Test");

  GetDataTimer = timer(this, "GetDataTimer", 10);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  buttons->addWidget(Command3);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Label3);
  layout->addWidget(txtData, 1);
  layout->addLayout(buttons);
  resize(560, 260);

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect_tick(GetDataTimer, [this] { GetDataTimer_Timer(); });
}

void frmTestPort::Form_Load() {
  GlobalComm::reset_comm_buffers(app_);
  // One character per read; this stays so after the window closes, until the next
  // reset_comm_buffers of any window.
  app_.comm().setInputLen(1);
  GlobalMain::center_form(*this);
  GetDataTimer->start();
}

void frmTestPort::GetDataTimer_Timer() {
  SerialPort& comm = app_.comm();
  std::string& rx = app_.session().rx_text;
  rx = comm.input();
  append_data(rx);
  if (rx.find('.') != std::string::npos) GetDataTimer->stop();
  // The device went away: said once instead of polling a dead port.
  if (device_lost()) return;
  // Nothing arrived: the poll sleeps until the port has input (or loses its device), and the
  // next tick shows it as the running poll would have.
  if (rx.empty() && GetDataTimer->isActive()) sleep_until_input();
}

void frmTestPort::sleep_until_input() {
  QPointer<frmTestPort> self(this);
  const unsigned generation = ++sleep_generation_;
  if (!app_.comm().wakeOnInput([self, generation] {
        if (self && self->sleep_generation_ == generation) self->GetDataTimer->start();
      }))
    return;
  GetDataTimer->stop();
}

void frmTestPort::Command1_Click() {
  ++sleep_generation_;
  data_text_.clear();
  txtData->clear();
  GetDataTimer->start();
  app_.comm().setRThreshold(1);
  // A closed or vanished port cannot take the request.
  (void)send(protocol::port_test_command());
}

void frmTestPort::Command3_Click() { Unload(); }

void frmTestPort::append_data(const std::string& text) {
  if (text.empty()) return;
  // A line end may arrive split over two ticks: CR shows a new line, an LF right after it
  // adds nothing.
  QString shown;
  for (char c : text) {
    bool after_cr = !data_text_.empty() && data_text_.back() == '\r';
    data_text_.push_back(c);
    if (c == '\r') {
      shown += QLatin1Char('\n');
    } else if (c == '\n') {
      if (!after_cr) shown += QLatin1Char('\n');
    } else if (c != '\0') {
      shown += QChar(static_cast<unsigned char>(c));
    }
  }
  QTextCursor cursor(txtData->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(shown);
}

}  // namespace qtx
