// The per-user settings store: string values addressed by section and key under the
// application "qtx". Section and key names are not case-sensitive; a missing key reads as the
// caller's default.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
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

  // Saves that belong together: from begin_batch() to commit_batch() a store kept in a file
  // changes its values in memory only; the commit writes them out at once. Batches nest, the
  // outermost commit writes. Use SettingsBatch rather than calling these directly.
  virtual void begin_batch() {}
  virtual void commit_batch() {}
};

// One batch for one scope: begun when made, committed when the scope ends (an early return or
// an exception included, so nothing saved is held back).
class SettingsBatch {
 public:
  explicit SettingsBatch(SettingsStore& store) : store_(store) { store_.begin_batch(); }
  ~SettingsBatch() { store_.commit_batch(); }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;

 private:
  SettingsStore& store_;
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
    bool erased = false;  // left in place until enough have gone, so an erase costs no shift
  };
  // Entries found by their lower-case key, so a save of thousands of keys stays linear.
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;
    size_t erased = 0;
    void compact();
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

// The store in an INI file: read once when created, written whole after a change, or once at
// the end of a batch of changes; a save that changes nothing writes nothing. Every write goes
// through a temporary file, so a crash never leaves half a file. The file holds the
// administrator password: only its owner may read or write it.
class IniSettingsStore : public MemorySettingsStore {
 public:
  // The file "qtx/qtx.ini" under the user's configuration folder (XDG_CONFIG_HOME), as a
  // file-system name (UTF-8).
  static std::string default_path();
  explicit IniSettingsStore(std::string path);

  void save(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;
  void begin_batch() override;
  void commit_batch() override;
  const std::string& path() const { return path_; }
  // The file stands but could not be read: the store keeps its values in memory for this run
  // and never writes over the file.
  bool unreadable() const { return unreadable_; }

 private:
  void changed();
  void write();
  std::string path_;
  int batch_depth_ = 0;
  bool unwritten_ = false;  // changes in memory that the file does not hold yet
  bool unreadable_ = false;
};

}  // namespace qtx
