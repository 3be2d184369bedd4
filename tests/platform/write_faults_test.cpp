// Files that cannot be written or read as the program expects: a file-size limit reached while
// a log is being written, and a settings file the user may not read.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <functional>

#include "core/data_log.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "support/golden_log.h"
#include "support/test_app.h"

using namespace qtx;

namespace {

// Runs `body` in a child process; its exit status (0 = every check held).
int in_child(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(WriteFaults, FileSizeLimitFailsTheWriteAndKeepsEveryWholeRow) {
  QTemporaryDir dir;
  const std::string log = fromQ(dir.path()) + "/rate.log";
  const std::string saved = fromQ(dir.path()) + "/report.sum";
  ASSERT_TRUE(files::write_all(saved, "SUMMARY\r\n"));
  const std::string row = std::string(98, '7') + "\r\n";
  const int whole_rows = 40;  // 4050 bytes take 40 rows of 100 and half the 41st
  const int status = in_child([&] {
    files::fail_writes_past_size_limit();
    rlimit limit{4050, 4050};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    auto file = files::OpenFile::create(log);
    if (!file) return 11;
    for (int i = 0; i < 100; ++i)
      if (!file->write(row)) return i == whole_rows ? 0 : 12;
    return 13;
  });
  ASSERT_EQ(status, 0) << "the write past the limit did not fail once, cleanly";
  const auto written = files::read_all(log);
  ASSERT_TRUE(written);
  // The row the limit cut is taken back whole.
  std::string rows;
  for (int i = 0; i < whole_rows; ++i) rows += row;
  EXPECT_EQ(*written, rows);

  // A whole-file save past the limit fails and leaves the old file as it was.
  EXPECT_EQ(in_child([&] {
              files::fail_writes_past_size_limit();
              rlimit limit{100, 100};
              setrlimit(RLIMIT_FSIZE, &limit);
              return files::write_all(saved, std::string(1000, 'x')) ? 1 : 0;
            }),
            0);
  EXPECT_EQ(files::read_all(saved), "SUMMARY\r\n");
}

// A data log that runs out of room at a page break: the page break and its row are on disk
// together or not at all, the counters follow the disk, and once there is room again the log
// goes on whole, byte for byte as a log that never ran out.
TEST(WriteFaults, DataLogRowAndItsPageBreakAreWrittenWholeOrNotAtAll) {
  QTemporaryDir dir;
  const std::string log = fromQ(dir.path()) + "/rate.log";
  const int status = in_child([&] {
    files::fail_writes_past_size_limit();
    DataLogFile data;
    data.file = files::OpenFile::create(log);
    if (!data.file) return 10;
    const DeviceRecord record = test::golden_record();
    const data_log::Stamp stamp{2026, 12, 8, 9, 5};
    if (!data_log::write_header(data, data_log::LogKind::Rate, record, "B", stamp, true)) return 11;
    for (int i = 1; i <= 29; ++i)
      if (!data_log::write_rate_row(data, test::golden_rate_row(i))) return 12;
    const std::string page_1 = files::read_all(log).value_or("");
    // Room for the page break's six lines (183 bytes) but not for its row as well.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t room = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(page_1.size()) + 200;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 14;
    if (data_log::write_rate_row(data, test::golden_rate_row(30))) return 15;
    if (files::read_all(log) != page_1) return 16;
    if (data.page_num != 1 || data.line_num != data_log::kRateLinesPerPage) return 17;
    limit.rlim_cur = room;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 18;
    for (int i = 30; i <= 82; ++i)
      if (!data_log::write_rate_row(data, test::golden_rate_row(i))) return 19;
    return data_log::write_closing_lines(data, data_log::LogKind::Rate, record, true) ? 0 : 20;
  });
  ASSERT_EQ(status, 0);
  EXPECT_EQ(files::read_all(log), test::read_test_data("rate_log_82_rows.log"));
}

TEST(WriteFaults, UnreadableSettingsFileIsNeverWrittenOver) {
  QTemporaryDir dir;
  const std::string path = fromQ(dir.path()) + "/qtx.ini";
  const std::string text = "[Startup]\r\ntempNumManu=2\r\nManufacturer1=Acme\r\n";
  ASSERT_TRUE(files::write_all(path, text));
  chmod(fromQ(dir.path()).c_str(), 0777);
  chmod(path.c_str(), 0);
  EXPECT_EQ(in_child([&] {
              // Root reads any file: the check runs as a user who may not.
              if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
              IniSettingsStore store(path);
              if (!store.unreadable()) return 11;
              store.save("Startup", "savedir", "/tmp");
              return store.get("Startup", "savedir", "") == "/tmp" ? 0 : 12;
            }),
            0);
  chmod(path.c_str(), 0644);
  EXPECT_EQ(files::read_all(path), text);
  EXPECT_FALSE(IniSettingsStore(path).unreadable());
}

// A settings folder the user may not write, or one that is full: the change is told once,
// kept for this run, and written once the folder can take it.
TEST(WriteFaults, SettingsThatCannotBeWrittenAreTold) {
  QTemporaryDir dir;
  const std::string folder = fromQ(dir.path()) + "/qtx";
  ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
  chmod(fromQ(dir.path()).c_str(), 0777);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);  // the user the child becomes
  }
  const std::string path = folder + "/qtx.ini";
  EXPECT_EQ(in_child([&] {
              if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
              files::fail_writes_past_size_limit();
              IniSettingsStore store(path, 0);
              std::vector<std::string> told;
              store.set_failure_notice([&](const std::string& m) { told.push_back(m); });
              const std::string head = "The settings file " + path + " cannot be written: ";
              const std::string tail = ".\r\rThe change is not stored.";
              if (chmod(folder.c_str(), 0555) != 0) return 11;
              store.save("Startup", "password", "new");
              store.save("Startup", "ispasswordrqd", "True");
              if (told != std::vector<std::string>{head + "QTX may not write in its folder" + tail}) return 12;
              if (store.get("Startup", "password", "") != "new") return 13;
              if (chmod(folder.c_str(), 0755) != 0 || !store.finish()) return 14;

              // Full: the file cannot take the change.
              rlimit limit{200, 200};
              if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 15;
              store.save("Startup", "Manufacturer1", std::string(300, 'M'));
              store.save("Startup", "Manufacturer2", std::string(300, 'N'));
              if (told.size() != 2 || !told[1].starts_with(head) || !told[1].ends_with(tail) ||
                  told[1].size() <= head.size() + tail.size())
                return 16;
              return store.finish() ? 17 : 0;
            }),
            0);
  EXPECT_EQ(files::read_all(path), "[Startup]\npassword=new\nispasswordrqd=True\n\n");
}

TEST(WriteFaults, SaveFolderMadeReadOnlyKeepsTheOpenLogAndRefusesNewFiles) {
  QTemporaryDir dir;
  const std::string folder = fromQ(dir.path()) + "/save";
  ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
  chmod(fromQ(dir.path()).c_str(), 0777);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);  // the user the child becomes
  }
  const std::string row = "00:01            00.19      010\r\n";
  EXPECT_EQ(in_child([&] {
              // Root writes into any folder: the check runs as a user who may not.
              if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
              auto log = files::OpenFile::create(folder + "/rate.log");
              if (!log || !log->write(row) || !log->flush()) return 11;
              if (chmod(folder.c_str(), 0555) != 0) return 12;
              // The log already open takes its rows; a summary or a new log cannot be made.
              if (!log->write(row) || !log->flush()) return 13;
              if (files::OpenFile::create(folder + "/occl.log")) return 14;
              if (files::write_all(folder + "/rate.sum", "SUMMARY\r\n")) return 15;
              return 0;
            }),
            0);
  chmod(folder.c_str(), 0777);
  EXPECT_EQ(files::read_all(folder + "/rate.log"), row + row);
  EXPECT_FALSE(files::exists(folder + "/rate.sum"));
}
