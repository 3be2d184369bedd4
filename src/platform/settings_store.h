// The per-user settings store: string values addressed by section and key under the
// application "qtx". Section and key names are not case-sensitive; a missing key reads as the
// caller's default.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QLockFile;

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

  // Reads and saves that make one change together (a pick list re-read, edited and written
  // back): a store kept in a file runs `edit` holding its lock, so the reads see the file as it
  // stands and no other copy writes between them and the saves, which are written at the end.
  virtual void update(const std::function<void()>& edit);
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
  // Both return whether the table changed.
  bool set(std::string_view section, std::string_view key, std::string_view value);
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

// The store in an INI file that several running copies of the program share (two analysers on
// two ports is a normal bench). It is kept per key: a change is held as a pending set or erase of
// one key, and writing it takes a lock file beside the settings file, reads the file again,
// applies only this copy's pending changes and writes the whole file through a temporary file,
// so keys another copy wrote meanwhile stay. A read sees what another copy stored: the file is
// read again when it changed since it was last read (one stat per read tells), with this copy's
// pending changes laid over it.
//
// Changes are written at once, or once at the end of a batch; a save that changes nothing writes
// nothing. A file that stands but cannot be read is never written over: the changes stay in
// memory, pending until it can be read again. A lock that cannot be had in time, or a folder
// that is read-only or full, leaves the changes pending: the next change, the next batch's end
// and finish() (the end of the run) try again. A change that cannot be written is told once,
// through the failure notice, until a write succeeds again. The file holds the administrator
// password: only its owner may read or write it.
class IniSettingsStore : public MemorySettingsStore {
 public:
  // A write holds the lock for a few milliseconds; longer means another copy is stuck.
  static constexpr int kLockWaitMs = 2000;

  // The file "qtx/qtx.ini" under the user's configuration folder (XDG_CONFIG_HOME), as a
  // file-system name (UTF-8).
  static std::string default_path();
  // lock_wait_ms: how long a change waits for another copy's write to end before it is left
  // pending.
  explicit IniSettingsStore(std::string path, int lock_wait_ms = kLockWaitMs);
  ~IniSettingsStore() override;
  IniSettingsStore(const IniSettingsStore&) = delete;
  IniSettingsStore& operator=(const IniSettingsStore&) = delete;

  std::string get(std::string_view section, std::string_view key, std::string_view default_value) override;
  void save(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;
  bool contains(std::string_view section, std::string_view key) override;
  void begin_batch() override;
  void commit_batch() override;
  // Without the lock in time, the edit runs on the file as last read and its saves stay
  // pending, told as a change that cannot be written.
  void update(const std::function<void()>& edit) override;
  const std::string& path() const { return path_; }

  // Told, with a message naming the file, when a change cannot be written; once, until a write
  // succeeds again.
  void set_failure_notice(std::function<void(const std::string& message)> notice) { notice_ = std::move(notice); }
  // The failure is told already by other means (the start's message about an unreadable file).
  void failure_told() { failure_told_ = true; }
  // The end of the run: the changes still pending get their last try. False when some are left
  // unwritten (told through the notice, unless told already).
  bool finish();
  // The file stands but could not be read when last tried: the store keeps its changes in
  // memory and never writes over the file.
  bool unreadable() const { return unreadable_; }
  // Changes this copy holds that the file does not have yet.
  bool pending() const { return !pending_.empty(); }

 private:
  // One key's change; no value: erased.
  struct Change {
    std::string section;
    std::string key;
    std::optional<std::string> value;
  };
  // What a stat tells of the file: enough to see that another copy replaced or changed it.
  struct FileId {
    enum State { Unknown, Missing, Present } state = Unknown;
    unsigned long long dev = 0, ino = 0;
    long long size = 0, mtime_ns = 0, ctime_ns = 0;
    bool operator==(const FileId&) const = default;
  };
  FileId identify(int fd) const;
  void refresh();
  bool load();
  void hold(int fd, const FileId& id);
  const std::string* lookup(std::string_view section, std::string_view key) const;
  void record(std::string_view section, std::string_view key, std::optional<std::string> value);
  bool lock(QLockFile& lock);
  void flush();
  void write_locked();
  void tell_failure();

  std::string path_;
  int lock_wait_ms_;
  int batch_depth_ = 0;
  bool unreadable_ = false;
  // table_ holds the file as it was at file_id_ (read or written by this copy).
  bool loaded_ = false;
  FileId file_id_;
  // The file last read or written stays open, so no later file can take its inode number and
  // look unchanged to the stat.
  int held_fd_ = -1;
  // This copy's changes the file lacks, in the order made; the index finds a key's latest.
  std::vector<Change> pending_;
  std::unordered_map<std::string, size_t> pending_index_;
  std::function<void(const std::string&)> notice_;
  std::string failure_;  // why the last write failed, until told
  bool failure_told_ = false;
};

}  // namespace qtx
