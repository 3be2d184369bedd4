#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
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
  QFile::remove(QString::fromStdString(path));
  s.save("startup", "PASSWORD", "secret");
  { SettingsBatch batch(s); }
  EXPECT_EQ(file_text(path), "<none>");
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
