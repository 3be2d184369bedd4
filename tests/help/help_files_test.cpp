// The help pages that ship with the program: all there, CR LF text, and naming only menu items,
// buttons and boxes that the program's windows really have.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <memory>
#include <regex>
#include <set>

#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "acquisition/frmReports.h"
#include "core/help_text.h"
#include "core/paths.h"
#include "graphs/frmGraph.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/frmTrumpetGraph.h"
#include "help/frmQTXGHelp.h"
#include "help/frmQTXHelp.h"
#include "help/frmQTXOverview.h"
#include "platform/files.h"
#include "records/frmChgPassword.h"
#include "records/frmHeader.h"
#include "records/frmPassWord.h"
#include "records/frmSysAd.h"
#include "shell/frmChangePort.h"
#include "shell/frmMain.h"
#include "shell/frmTestPort.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

using Captions = std::set<std::string>;

// A caption as the help pages quote it: without its access-key mark and a closing colon.
std::string plain(const QString& caption) {
  QString c = caption;
  c.remove(QLatin1Char('&'));
  c = c.trimmed();
  if (c.endsWith(QLatin1Char(':'))) c.chop(1);
  return c.trimmed().toStdString();
}

// The captions of a window's menus, menu items, buttons, boxes and labels.
Captions captions_of(QWidget& w) {
  Captions c;
  for (QAction* a : w.findChildren<QAction*>())
    if (!a->isSeparator() && !a->text().isEmpty()) c.insert(plain(a->text()));
  for (QMenu* m : w.findChildren<QMenu*>()) c.insert(plain(m->title()));
  for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
    if (!b->text().isEmpty()) c.insert(plain(b->text()));
  for (QGroupBox* g : w.findChildren<QGroupBox*>()) c.insert(plain(g->title()));
  for (QLabel* l : w.findChildren<QLabel*>()) c.insert(plain(l->text()));
  return c;
}

template <class T>
void add_window(App& app, Captions& all) {
  auto w = std::make_unique<T>(app);
  all.merge(captions_of(*w));
}

// The names a page quotes: 'Name', the quotes standing apart from the words around them.
std::vector<std::string> quoted_names(const std::string& page) {
  static const std::regex quoted("(^|[^A-Za-z0-9])'([^'\r\n]+)'(?![A-Za-z0-9])");
  std::vector<std::string> names;
  for (std::sregex_iterator it(page.begin(), page.end(), quoted), end; it != end; ++it) names.push_back((*it)[2]);
  return names;
}

}  // namespace

TEST(HelpFiles, EveryPageShipsAsCrLfText) {
  QStringList in_source = QDir(QTX_HELP_SOURCE).entryList({QStringLiteral("*.txt")}, QDir::Files);
  EXPECT_EQ(in_source.size(), help::kShippedFiles);
  for (int i = 0; i < help::kShippedFiles; ++i) {
    const std::string name = help::shipped_file_name(i);
    SCOPED_TRACE(name);
    std::optional<std::string> source = files::read_all(join_path(QTX_HELP_SOURCE, name));
    ASSERT_TRUE(source);
    EXPECT_EQ(files::read_all(join_path(QTX_SHIPPED_HELP, name)), source);
    ASSERT_GE(source->size(), 2u);
    EXPECT_EQ(source->substr(source->size() - 2), "\r\n");
    for (size_t p = 0; p < source->size(); ++p) {
      const unsigned char ch = static_cast<unsigned char>((*source)[p]);
      if (ch == '\r') {
        EXPECT_EQ((*source)[p + 1], '\n') << "at " << p;
      } else if (ch == '\n') {
        EXPECT_EQ((*source)[p - 1], '\r') << "at " << p;
      } else {
        EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << "byte " << int(ch) << " at " << p;
      }
    }
  }
}

TEST(HelpFiles, QuotedNamesAreCaptionsOfTheProgram) {
  TestApp t;
  frmMain& main = load_main_without_ports(t);
  App& app = t.app();
  Captions all = captions_of(main);
  add_window<frmDownload>(app, all);
  add_window<frmReports>(app, all);
  add_window<frmRTGraph>(app, all);
  add_window<frmOTGraph>(app, all);
  add_window<frmHeader>(app, all);
  add_window<frmTestPort>(app, all);
  add_window<frmChangePort>(app, all);
  add_window<frmSysAd>(app, all);
  add_window<frmPassWord>(app, all);
  add_window<frmChgPassword>(app, all);
  add_window<frmQTXHelp>(app, all);
  add_window<frmQTXGHelp>(app, all);
  add_window<frmQTXOverview>(app, all);
  add_window<frmGraph>(app, all);
  add_window<frmSetRate>(app, all);
  add_window<frmTrumpetGraph>(app, all);
  add_window<frmTrumpSet>(app, all);

  int quoted = 0;
  for (int i = 0; i < help::kShippedFiles; ++i) {
    const std::string name = help::shipped_file_name(i);
    for (const std::string& item : quoted_names(*files::read_all(join_path(QTX_HELP_SOURCE, name)))) {
      ++quoted;
      EXPECT_TRUE(all.count(item)) << name << " names '" << item << "', which no window has";
    }
  }
  EXPECT_GT(quoted, 100);
}
