#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

using namespace qtx;

TEST(SettingsStore, NamesAreNotCaseSensitive) {
  MemorySettingsStore s;
  s.save("Startup", "savedir", "/a");
  EXPECT_EQ(s.get("STARTUP", "SaveDir", "x"), "/a");
  s.save("startup", "SAVEDIR", "/b");
  EXPECT_EQ(s.get("Startup", "savedir", "x"), "/b");
  EXPECT_EQ(s.get("Startup", "missing", "dflt"), "dflt");
  s.remove("STARTUP", "savedir");
  EXPECT_FALSE(s.contains("Startup", "savedir"));
  s.remove("Startup", "never-there");
}

TEST(SettingsStore, FileKeepsValuesAcrossRuns) {
  QTemporaryDir dir;
  std::string path = dir.path().toStdString() + "/cfg/qtx/qtx.ini";
  {
    IniSettingsStore s(path);
    s.save("Startup", "Manufacturer1", "Acme = \\ Co");
    s.save("Startup", "comment", "two\r\nlines");
    s.save("Ports", "com2", "/dev/ttyUSB0");
    s.save("Startup", "gone", "1");
    s.remove("startup", "GONE");
  }
  IniSettingsStore s(path);
  EXPECT_EQ(s.get("startup", "manufacturer1", ""), "Acme = \\ Co");
  EXPECT_EQ(s.get("Startup", "comment", ""), "two\r\nlines");
  EXPECT_EQ(s.get("PORTS", "COM2", ""), "/dev/ttyUSB0");
  EXPECT_FALSE(s.contains("Startup", "gone"));
}

TEST(SettingsStore, ForeignOrDamagedFileReadsWhatItCan) {
  SettingsTable t = SettingsTable::from_ini("garbage\nkey=before-any-section\n[Startup]\r\ncomm=3\r\n\x01\x02=\n[bad\nx");
  ASSERT_NE(t.find("startup", "comm"), nullptr);
  EXPECT_EQ(*t.find("startup", "comm"), "3");
  EXPECT_EQ(t.find("", "key"), nullptr);
}

TEST(SettingsStore, UnwritableFileKeepsValuesInMemory) {
  IniSettingsStore s("/proc/qtx-cannot-write/qtx.ini");
  s.save("Startup", "comm", "4");
  EXPECT_EQ(s.get("Startup", "comm", "2"), "4");
}

namespace {

std::string file_text(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<none>";
}

}  // namespace

TEST(SettingsStore, BatchWritesOnceWhenTheOutermostEnds) {
  QTemporaryDir dir;
  std::string path = dir.path().toStdString() + "/qtx/qtx.ini";
  IniSettingsStore s(path);
  {
    SettingsBatch batch(s);
    s.save("Startup", "comm", "3");
    {
      SettingsBatch inner(s);
      s.save("Startup", "password", "secret");
    }
    s.remove("Startup", "comm");
    s.save("Startup", "series", "C");
    EXPECT_EQ(file_text(path), "<none>");  // nothing written inside the batch
  }
  EXPECT_EQ(file_text(path), "[Startup]\npassword=secret\nseries=C\n\n");
  // It holds the administrator password: its owner's alone.
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Saving what the file holds already writes nothing (the file is not replaced).
  s.save("startup", "PASSWORD", "secret");
  { SettingsBatch batch(s); }
  struct stat again {};
  ASSERT_EQ(::stat(path.c_str(), &again), 0);
  EXPECT_EQ(again.st_ino, st.st_ino);
  s.save("Startup", "password", "other");
  EXPECT_EQ(file_text(path), "[Startup]\npassword=other\nseries=C\n\n");
}

TEST(SettingsStore, ThousandsOfKeysKeepTheirOrderThroughErasing) {
  SettingsTable t;
  for (int i = 0; i < 3000; ++i) t.set("Startup", "Key" + std::to_string(i), std::to_string(i));
  for (int i = 0; i < 3000; i += 3) ASSERT_TRUE(t.erase("startup", "KEY" + std::to_string(i)));
  for (int i = 1; i < 2000; i += 3) ASSERT_TRUE(t.erase("Startup", "Key" + std::to_string(i)));
  t.set("Startup", "key0", "back");  // a key that went comes back last
  std::string ini = t.to_ini();
  EXPECT_EQ(ini.substr(0, 35), "[Startup]\nKey2=2\nKey5=5\nKey8=8\nKey1");
  EXPECT_EQ(ini.substr(ini.size() - 24), "Key2999=2999\nkey0=back\n\n");
  EXPECT_EQ(t.find("Startup", "Key1"), nullptr);
  ASSERT_NE(t.find("STARTUP", "key2999"), nullptr);
  EXPECT_EQ(*t.find("STARTUP", "key2999"), "2999");
  EXPECT_EQ(t.find("Startup", "Key2001"), nullptr);
  EXPECT_EQ(*t.find("Startup", "Key2002"), "2002");
}

// Two running copies of the program share one settings file: each change reaches the file
// without losing the keys the other wrote, and each read sees the other's changes.
TEST(SettingsStore, TwoCopiesKeepEachOthersKeys) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/qtx/qtx.ini";
  IniSettingsStore admin(path), bench(path);
  {
    SettingsBatch batch(admin);
    admin.save("Startup", "tempNumManu", "2");
    admin.save("Startup", "Manufacturer1", "Acme");
    admin.save("Startup", "Manufacturer2", "Bolt");
  }
  EXPECT_EQ(bench.get("startup", "MANUFACTURER2", ""), "Bolt");
  bench.save("Startup", "savedir", "/bench/save");
  EXPECT_EQ(admin.get("Startup", "savedir", ""), "/bench/save");
  EXPECT_EQ(file_text(path),
            "[Startup]\ntempNumManu=2\nManufacturer1=Acme\nManufacturer2=Bolt\nsavedir=/bench/save\n\n");

  // An erase takes that key alone; a batch open in one copy while the other writes loses neither.
  admin.remove("Startup", "Manufacturer2");
  {
    SettingsBatch batch(bench);
    bench.save("STARTUP", "TEMPNUMMANU", "1");
    admin.save("Startup", "FIELD0MANDATORY", "True");
    bench.save("Ports", "com2", "/dev/ttyUSB0");
    EXPECT_EQ(bench.get("Startup", "tempNumManu", ""), "1");  // its own change, not yet written
    EXPECT_EQ(bench.get("Startup", "FIELD0MANDATORY", ""), "True");
    EXPECT_FALSE(bench.contains("Startup", "Manufacturer2"));
  }
  EXPECT_EQ(file_text(path),
            "[Startup]\ntempNumManu=1\nManufacturer1=Acme\nsavedir=/bench/save\nFIELD0MANDATORY=True\n\n"
            "[Ports]\ncom2=/dev/ttyUSB0\n\n");
  EXPECT_EQ(admin.get("ports", "COM2", ""), "/dev/ttyUSB0");
  EXPECT_EQ(admin.get("Startup", "tempNumManu", ""), "1");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Saving the value this copy read before the other changed it is still a change.
  admin.save("Startup", "savedir", "/admin/save");
  bench.save("Startup", "savedir", "/bench/save");
  EXPECT_EQ(admin.get("Startup", "savedir", ""), "/bench/save");
}

// While another copy holds the lock a change stays pending: this copy reads it, and it is
// written with the next change, or at the latest when the store ends with the run.
TEST(SettingsStore, ChangesWaitForTheLock) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/qtx.ini";
  IniSettingsStore other(path);
  other.save("Startup", "tempNumModels", "1");
  {
    IniSettingsStore s(path, 0);
    QLockFile held(QString::fromStdString(path + ".lock"));
    ASSERT_TRUE(held.lock());
    s.save("Startup", "comm", "3");
    EXPECT_TRUE(s.pending());
    EXPECT_EQ(s.get("Startup", "comm", "2"), "3");
    EXPECT_EQ(file_text(path), "[Startup]\ntempNumModels=1\n\n");
    held.unlock();
    other.save("Startup", "Model1", "X1");
    s.remove("Startup", "Model1");  // no such key when this copy last read: it reads again
    EXPECT_FALSE(s.pending());
    EXPECT_EQ(file_text(path), "[Startup]\ntempNumModels=1\ncomm=3\n\n");
    ASSERT_TRUE(held.lock());
    s.save("Startup", "series", "C");
    held.unlock();
  }
  EXPECT_EQ(file_text(path), "[Startup]\ntempNumModels=1\ncomm=3\nseries=C\n\n");
}

// An update's reads and saves are one change of the file: another copy's write waits for it.
TEST(SettingsStore, UpdateKeepsOtherCopiesOutUntilItsSavesAreWritten) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/qtx.ini";
  IniSettingsStore admin(path), bench(path, 0);
  admin.save("Startup", "tempNumManu", "1");
  admin.update([&] {
    EXPECT_EQ(admin.get("Startup", "tempNumManu", ""), "1");
    bench.save("Startup", "savedir", "/bench");
    EXPECT_TRUE(bench.pending());
    admin.save("Startup", "tempNumManu", "2");
    EXPECT_EQ(file_text(path), "[Startup]\ntempNumManu=1\n\n");
  });
  EXPECT_EQ(file_text(path), "[Startup]\ntempNumManu=2\n\n");
  EXPECT_TRUE(bench.finish());
  EXPECT_EQ(file_text(path), "[Startup]\ntempNumManu=2\nsavedir=/bench\n\n");
}

// A change that cannot be written is told once, naming the file, until a write succeeds again;
// the end of the run writes what is pending, or says (once) that it is not stored.
TEST(SettingsStore, AChangeThatCannotBeWrittenIsToldOnce) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/qtx.ini";
  IniSettingsStore s(path, 0);
  std::vector<std::string> told;
  s.set_failure_notice([&](const std::string& message) { told.push_back(message); });
  QLockFile held(QString::fromStdString(path + ".lock"));
  ASSERT_TRUE(held.lock());
  s.save("Startup", "comm", "3");
  s.update([&] { s.save("Startup", "series", "C"); });
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "The settings file " + path + " cannot be written: its lock file " + path +
                         ".lock is held by another program.\r\rThe change is not stored.");
  held.unlock();
  EXPECT_TRUE(s.finish());
  EXPECT_EQ(file_text(path), "[Startup]\ncomm=3\nseries=C\n\n");

  ASSERT_TRUE(held.lock());
  s.save("Startup", "comm", "4");
  EXPECT_EQ(told.size(), 2u);
  EXPECT_FALSE(s.finish());
  EXPECT_EQ(told.size(), 2u);
  held.unlock();
}
