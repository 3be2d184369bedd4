#include "platform/settings_store.h"

#include <gtest/gtest.h>

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
