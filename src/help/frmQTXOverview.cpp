#include "help/frmQTXOverview.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <optional>

#include "common/global_main.h"
#include "core/help_text.h"
#include "core/paths.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/program_files.h"
#include "platform/text.h"

namespace qtx {

namespace {

struct PageText {
  std::optional<std::string> bytes;
  std::string message;  // when there are no bytes
};

// The page from the help folder, or else from the copy that ships with the program.
PageText read_page(const std::string& help_dir, const std::vector<std::string>& shipped, const std::string& name) {
  std::vector<std::string> folders{help_dir};
  folders.insert(folders.end(), shipped.begin(), shipped.end());
  std::string unreadable;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = join_path(folder, name);
    if (!files::exists(path)) continue;
    if (std::optional<std::string> bytes = files::read_all(path)) return {std::move(bytes), {}};
    if (unreadable.empty()) unreadable = path;
  }
  if (!unreadable.empty()) return {std::nullopt, "The help page " + unreadable + " could not be read."};
  return {std::nullopt, "The help page " + name + " was found neither in the help folder " + help_dir +
                            " nor among the help pages that came with QTX."};
}

}  // namespace

frmQTXOverview::frmQTXOverview(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("QTX Overview"));
  shipped_help_dirs = program_files::shipped_folders("help");

  txtQTXOverview = make<QPlainTextEdit>(this, "txtQTXOverview", "Help text");
  QFont arial(QStringLiteral("Arial"));
  arial.setStyleHint(QFont::SansSerif);
  arial.setPointSize(10);
  txtQTXOverview->setFont(arial);
  txtQTXOverview->setReadOnly(true);
  txtQTXOverview->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  txtQTXOverview->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtQTXOverview->setTabChangesFocus(true);

  cmdExit = make<QPushButton>(this, "cmdExit", "Exit");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdExit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtQTXOverview, 1);
  layout->addLayout(buttons);
  resize(sizeHint());

  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void frmQTXOverview::Form_Load() { GlobalMain::center_form(*this); }

void frmQTXOverview::show_page(std::string_view topic, int item) {
  topic_ = std::string(topic);
  item_ = item;
}

void frmQTXOverview::Form_Activate() {
  const Session& s = app_.session();
  ++reads_;
  text_.clear();
  txtQTXOverview->clear();
  std::optional<help::HelpPage> page = help::help_page(topic_, item_);
  if (!page) {
    text_ = "There is no help page for this topic.";
  } else {
    if (page->caption) setWindowTitle(toQ(*page->caption));
    PageText read = read_page(s.folders.help_dir, shipped_help_dirs, page->file_name);
    text_ = read.bytes ? help::paragraph_text(topic_, *read.bytes) : read.message;
  }
  txtQTXOverview->setPlainText(toDisplayLines(text_));
}

void frmQTXOverview::cmdExit_Click() { Unload(); }

}  // namespace qtx
