// The port test window: asks the analyser for its test text and shows what arrives, one
// character per tick, beside the two lines the user compares it with.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "acquisition/polled_window.h"

namespace qtx {

class frmTestPort : public PolledWindow {
  Q_OBJECT

 public:
  explicit frmTestPort(App& app);
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  void Command1_Click();  // "&Test Port"
  void Command3_Click();  // "E&xit Port Test"
  void GetDataTimer_Timer();

  // The text of txtData as received, byte for byte (the box shows each line end as a new line).
  const std::string& data_text() const { return data_text_; }

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QPlainTextEdit* txtData = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command3 = nullptr;
  QTimer* GetDataTimer = nullptr;

 private:
  void append_data(const std::string& text);
  void sleep_until_input();

  std::string data_text_;
  // A wake-up from an earlier sleep is dropped once the poll was restarted.
  unsigned sleep_generation_ = 0;
};

}  // namespace qtx
