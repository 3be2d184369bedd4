#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/text.h"
#include "platform/ui.h"

using namespace qtx;

namespace {

struct Folder {
  QTemporaryDir dir;
  std::string path(std::string_view name) const { return pathFromQ(dir.path()) + "/" + std::string(name); }
};

void put(const std::string& path, std::string_view bytes) { ASSERT_TRUE(files::write_all(path, bytes)); }

}  // namespace

TEST(Files, ReadAndWriteWholeFiles) {
  Folder f;
  std::string name = f.path("report.sum");
  EXPECT_FALSE(files::read_all(name));
  put(name, std::string("A\r\nB\0C\r\n", 8));
  EXPECT_EQ(*files::read_all(name), std::string("A\r\nB\0C\r\n", 8));
  put(name, "new");
  EXPECT_EQ(*files::read_all(name), "new");
  EXPECT_EQ(*files::read_lines(name), std::vector<std::string>{"new"});

  // A folder, a missing folder, an empty name.
  EXPECT_FALSE(files::read_all(pathFromQ(f.dir.path())));
  EXPECT_FALSE(files::read_lines(pathFromQ(f.dir.path())));
  EXPECT_FALSE(files::write_all(pathFromQ(f.dir.path()), "x"));
  EXPECT_FALSE(files::write_all(f.path("no-such-folder/x.sum"), "x"));
  EXPECT_FALSE(files::read_all(""));
  EXPECT_FALSE(files::write_all("", "x"));

  // A pipe is not read (it could block the program).
  std::string fifo = f.path("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(files::read_all(fifo));

  // Names keep the file system's encoding (UTF-8), whatever their characters.
  ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("\u0416\u0443\u0440\u043d\u0430\u043b")));
  std::string utf8 = f.path("\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB/caf\xC3\xA9.log");
  put(utf8, "x");
  EXPECT_TRUE(QDir(f.dir.path()).exists(QStringLiteral("\u0416\u0443\u0440\u043d\u0430\u043b/caf\u00e9.log")));
  EXPECT_EQ(*files::read_all(utf8), "x");
  EXPECT_TRUE(files::exists(utf8));
  EXPECT_TRUE(files::can_write(utf8));
  EXPECT_TRUE(files::OpenFile::create(utf8));
  EXPECT_TRUE(files::remove(utf8));
}

TEST(Files, WritabilityCheckKeepsEverything) {
  Folder f;
  std::string existing = f.path("kept.log");
  put(existing, "precious data\r\n");
  EXPECT_TRUE(files::can_write(existing));
  EXPECT_EQ(*files::read_all(existing), "precious data\r\n");

  // A new name is tried and not left behind.
  std::string fresh = f.path("fresh.log");
  EXPECT_TRUE(files::can_write(fresh));
  EXPECT_FALSE(files::exists(fresh));

  EXPECT_FALSE(files::can_write(f.path("no-such-folder/x.log")));
  EXPECT_FALSE(files::can_write(pathFromQ(f.dir.path())));
  EXPECT_FALSE(files::can_write(""));
  // A pipe nobody reads: refused at once, never waited on.
  std::string fifo = f.path("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(files::can_write(fifo));
}

TEST(Files, OpenFileWritesThroughAtOnce) {
  Folder f;
  std::string name = f.path("run.log");
  put(name, "old contents that the log replaces");
  std::unique_ptr<files::OpenFile> log = files::OpenFile::create(name);
  ASSERT_TRUE(log);
  EXPECT_EQ(*files::read_all(name), "");  // emptied on opening
  EXPECT_TRUE(log->write("row 1\r\n"));
  EXPECT_TRUE(log->flush());
  // Readable while the log is still open: nothing waits in a buffer.
  EXPECT_EQ(*files::read_all(name), "row 1\r\n");
  EXPECT_TRUE(log->write("row 2\r\n"));
  EXPECT_EQ(*files::read_all(name), "row 1\r\nrow 2\r\n");
  log->close();
  EXPECT_FALSE(log->write("late"));
  EXPECT_EQ(*files::read_all(name), "row 1\r\nrow 2\r\n");

  EXPECT_FALSE(files::OpenFile::create(f.path("no-such-folder/run.log")));
  EXPECT_FALSE(files::OpenFile::create(pathFromQ(f.dir.path())));
  std::string fifo = f.path("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(files::OpenFile::create(fifo));
}

TEST(FileDialogFlags, BehavioursOfTheThreeFlagValues) {
  FileDialogBehaviour open = file_dialog_behaviour(6156, false);
  EXPECT_TRUE(open.file_must_exist);
  EXPECT_TRUE(open.path_must_exist);
  EXPECT_TRUE(open.keep_current_dir);
  EXPECT_FALSE(open.confirm_overwrite);

  FileDialogBehaviour save = file_dialog_behaviour(2062, true);
  EXPECT_FALSE(save.file_must_exist);
  EXPECT_TRUE(save.path_must_exist);
  EXPECT_TRUE(save.keep_current_dir);
  EXPECT_TRUE(save.confirm_overwrite);

  FileDialogBehaviour convert = file_dialog_behaviour(6152, false);
  EXPECT_TRUE(convert.file_must_exist);
  EXPECT_TRUE(convert.path_must_exist);
  EXPECT_TRUE(convert.keep_current_dir);
  EXPECT_FALSE(convert.confirm_overwrite);

  EXPECT_FALSE(file_dialog_behaviour(0, true).confirm_overwrite);
  EXPECT_FALSE(file_dialog_behaviour(0, true).keep_current_dir);
}

// Each kind is shown once as its description reads, and the dialog filters by its patterns.
TEST(FileDialogFilters, EachKindShownOnceAndFilteredByItsPatterns) {
  const std::string shown = qt_name_filters(
      "Log Files (*.log)| *.log|Summary files (*.sum) | *.sum|All files (*.*) | *.*"
      "|BMP - Bitmap (*.bmp)|*.bmp|Pictures|*.bmp;*.jpg|Spreadsheet Files (*.csv)| *.log");
  EXPECT_EQ(shown,
            "Log Files (*.log);;Summary files (*.sum);;All files (*.*);;BMP - Bitmap (*.bmp);;"
            "Pictures (*.bmp *.jpg);;Spreadsheet Files (*.csv) (*.log)");
  const std::vector<QStringList> patterns = {{"*.log"}, {"*.sum"}, {"*.*"}, {"*.bmp"}, {"*.bmp", "*.jpg"}, {"*.log"}};
  QFileDialog dlg;
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  QStringList filters = QString::fromStdString(shown).split(QStringLiteral(";;"));
  dlg.setNameFilters(filters);
  auto* model = dlg.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  ASSERT_EQ(filters.size(), static_cast<qsizetype>(patterns.size()));
  for (qsizetype i = 0; i < filters.size(); ++i) {
    dlg.selectNameFilter(filters[i]);
    EXPECT_EQ(model->nameFilters(), patterns[static_cast<size_t>(i)]) << filters[i].toStdString();
  }
}

// The Qt dialog itself: a name in a missing folder is refused with a warning and the dialog
// stays; a name beyond Latin-1 is taken as it is, in the file system's encoding.
TEST(FileDialogFlags, SaveDialogRefusesMissingFoldersTakesAnyName) {
  Folder f;
  QString cwd = QDir::currentPath();
  std::vector<QString> names = {pathToQ(f.path("missing/x.log")), pathToQ(f.path("\xe6\x97\xa5\xe6\x9c\xac.log"))};
  size_t next = 0;
  int warnings = 0;
  int ticks = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (++ticks > 2000) {  // never hang the suite: give up and close whatever is open
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
      return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      ++warnings;
      box->accept();
    } else if (auto* dlg = qobject_cast<QFileDialog*>(modal)) {
      if (next < names.size()) {
        // As the user types a name into the dialog's name field.
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(names[next++]);
        static_cast<QDialog*>(dlg)->accept();  // QFileDialog::accept checks the name
      }
    }
  });
  driver.start(5);
  QtUi ui;
  CommonDialog d;
  d.InitDir = pathFromQ(f.dir.path());
  d.Filter = "Log Files (*.log)| *.log";
  d.DefaultExt = "LOG";
  d.Flags = 2062;
  ui.showSave(d);
  driver.stop();
  EXPECT_EQ(d.FileName, f.path("\xe6\x97\xa5\xe6\x9c\xac.log"));
  EXPECT_EQ(warnings, 1);
  EXPECT_EQ(next, 2u);
  EXPECT_EQ(QDir::currentPath(), cwd);
}
