#include "help/frmQTXOverview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cerrno>
#include <optional>

#include "common/global_main.h"
#include "core/help_text.h"
#include "core/paths.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/program_files.h"
#include "platform/text.h"

namespace qtx {

namespace {

struct PageText {
  std::optional<std::string> bytes;
  std::string message;  // when there are no bytes
};

// The shipped pages are a few kB; a file far larger than that is no help page.
constexpr off_t kLargestPage = 1 << 20;

// The page's bytes when it is a plain file of at most kLargestPage bytes. Checked on the file
// opened, so a name that turns into a device or a huge file between a look and the read is
// never read whole.
std::optional<std::string> read_page_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kLargestPage) {
    // One byte more than a page may have: a page that grew past the limit is refused too.
    std::string text(static_cast<size_t>(kLargestPage) + 1, '\0');
    size_t got = 0;
    bool failed = false;
    while (got < text.size()) {
      const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failed = n < 0;
        break;
      }
      got += static_cast<size_t>(n);
    }
    if (!failed && got <= static_cast<size_t>(kLargestPage)) {
      text.resize(got);
      bytes = std::move(text);
    }
  }
  ::close(fd);
  return bytes;
}

// The page from the help folder, or else from the copy that ships with the program.
PageText read_page(const std::string& help_dir, const std::vector<std::string>& shipped, const std::string& name) {
  std::vector<std::string> folders{help_dir};
  folders.insert(folders.end(), shipped.begin(), shipped.end());
  std::string unreadable;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = join_path(folder, name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;  // not there (a link to nothing is there)
    if (std::optional<std::string> bytes = read_page_file(path)) return {std::move(bytes), {}};
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
