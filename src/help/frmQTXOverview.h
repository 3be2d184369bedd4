// The help text viewer: shows one help page, read afresh each time the window becomes active.
#pragma once

#include <QPlainTextEdit>
#include <QPushButton>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"

namespace qtx {

class frmQTXOverview : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmQTXOverview(App& app);
  bool isMdiChild() const override { return true; }
  // The window opens at this size.
  QSize sizeHint() const override { return QSize(560, 420); }

  void Form_Load() override;
  // The page to show: its topic ("main" or "graph", the help window that asks) and its item.
  void show_page(std::string_view topic, int item);
  // Each activation reads the page into the text box, afresh.
  void Form_Activate() override;
  void cmdExit_Click();

  // The text shown, as bytes (paragraphs separated by CR LF CR LF).
  const std::string& overview_text() const { return text_; }
  // How often a page has been read.
  int reads() const { return reads_; }

  // Where a page is looked for when the help folder lacks it: the copy that ships with the
  // program.
  std::vector<std::string> shipped_help_dirs;

  QPlainTextEdit* txtQTXOverview = nullptr;
  QPushButton* cmdExit = nullptr;

 private:
  std::string topic_;
  int item_ = 0;
  std::string text_;
  int reads_ = 0;
};

}  // namespace qtx
