// The per-user settings store: string values addressed by section and key under the
// application "qtx". Section and key names are not case-sensitive; a missing key reads as the
// caller's default.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string get(std::string_view section, std::string_view key, std::string_view default_value) = 0;
  virtual void save(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void remove(std::string_view section, std::string_view key) = 0;
  // Whether the key stands in the store (tests and the port map use it).
  virtual bool contains(std::string_view section, std::string_view key) = 0;
};

// The values in memory, sections and keys compared without case; kept in first-written order
// and spelling so the file reads naturally.
class SettingsTable {
 public:
  const std::string* find(std::string_view section, std::string_view key) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  bool erase(std::string_view section, std::string_view key);

  // INI text: "[Section]" lines, "key=value" lines; "\" escapes "\", CR and LF in values.
  std::string to_ini() const;
  static SettingsTable from_ini(std::string_view text);

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* find_section(std::string_view name);
  const Section* find_section(std::string_view name) const;
  std::vector<Section> sections_;
};

// The store in memory only (a test double, and the fallback when no file can be written).
class MemorySettingsStore : public SettingsStore {
 public:
  std::string get(std::string_view section, std::string_view key, std::string_view default_value) override;
  void save(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;
  bool contains(std::string_view section, std::string_view key) override;

 protected:
  SettingsTable table_;
};

// The store in an INI file: read once when created, written whole after every change (through
// a temporary file, so a crash never leaves half a file).
class IniSettingsStore : public MemorySettingsStore {
 public:
  // The file "qtx/qtx.ini" under the user's configuration folder (XDG_CONFIG_HOME).
  static std::string default_path();
  explicit IniSettingsStore(std::string path);

  void save(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;
  const std::string& path() const { return path_; }

 private:
  void write();
  std::string path_;
};

}  // namespace qtx
