#include "platform/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "core/paths.h"
#include "core/vb.h"
#include "platform/text.h"

namespace qtx {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string escape(std::string_view v) {
  std::string out;
  for (char c : v) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out.push_back(c);
  }
  return out;
}

std::string unescape(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      char n = v[++i];
      out.push_back(n == 'r' ? '\r' : n == 'n' ? '\n' : n);
    } else {
      out.push_back(v[i]);
    }
  }
  return out;
}

}  // namespace

SettingsTable::Section* SettingsTable::find_section(std::string_view name) {
  for (auto& s : sections_)
    if (same_name(s.name, name)) return &s;
  return nullptr;
}

const SettingsTable::Section* SettingsTable::find_section(std::string_view name) const {
  for (const auto& s : sections_)
    if (same_name(s.name, name)) return &s;
  return nullptr;
}

void SettingsTable::Section::compact() {
  std::vector<Entry> kept;
  kept.reserve(entries.size() - erased);
  index.clear();
  for (Entry& e : entries) {
    if (e.erased) continue;
    index.emplace(vb::LCase(e.key), kept.size());
    kept.push_back(std::move(e));
  }
  entries = std::move(kept);
  erased = 0;
}

const std::string* SettingsTable::find(std::string_view section, std::string_view key) const {
  const Section* s = find_section(section);
  if (!s) return nullptr;
  auto it = s->index.find(vb::LCase(key));
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

bool SettingsTable::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find_section(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}, {}, 0});
    s = &sections_.back();
  }
  auto [it, added] = s->index.emplace(vb::LCase(key), s->entries.size());
  if (!added) {
    std::string& old = s->entries[it->second].value;
    if (old == value) return false;
    old = std::string(value);
    return true;
  }
  s->entries.push_back(Entry{std::string(key), std::string(value)});
  return true;
}

bool SettingsTable::erase(std::string_view section, std::string_view key) {
  Section* s = find_section(section);
  if (!s) return false;
  auto it = s->index.find(vb::LCase(key));
  if (it == s->index.end()) return false;
  Entry& e = s->entries[it->second];
  e.erased = true;
  e.value.clear();
  s->index.erase(it);
  if (++s->erased > s->entries.size() / 2) s->compact();
  return true;
}

std::string SettingsTable::to_ini() const {
  std::string out;
  for (const auto& s : sections_) {
    if (s.index.empty()) continue;
    out += "[" + s.name + "]\n";
    for (const auto& e : s.entries)
      if (!e.erased) out += e.key + "=" + escape(e.value) + "\n";
    out += "\n";
  }
  return out;
}

SettingsTable SettingsTable::from_ini(std::string_view text) {
  SettingsTable t;
  std::string section;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t nl = text.find('\n', pos);
    std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      if (close != std::string_view::npos) section = std::string(line.substr(1, close - 1));
      continue;
    }
    auto eq = line.find('=');
    if (eq == std::string_view::npos || section.empty()) continue;  // not a setting: skipped
    t.set(section, line.substr(0, eq), unescape(line.substr(eq + 1)));
  }
  return t;
}

std::string MemorySettingsStore::get(std::string_view section, std::string_view key, std::string_view default_value) {
  const std::string* v = table_.find(section, key);
  return v ? *v : std::string(default_value);
}

void MemorySettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
  table_.set(section, key, value);
}

void MemorySettingsStore::remove(std::string_view section, std::string_view key) { table_.erase(section, key); }

bool MemorySettingsStore::contains(std::string_view section, std::string_view key) {
  return table_.find(section, key) != nullptr;
}

std::string IniSettingsStore::default_path() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return pathFromQ(base + QStringLiteral("/qtx/qtx.ini"));
}

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

long long nanoseconds(const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

// A key as the pending changes are found by: section and key without case.
std::string change_id(std::string_view section, std::string_view key) {
  return vb::LCase(section) + '\n' + vb::LCase(key);
}

bool read_fd(int fd, std::string& out) {
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    out.append(buf, static_cast<size_t>(n));
  }
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string path, int lock_wait_ms)
    : path_(std::move(path)), lock_wait_ms_(lock_wait_ms) {
  if (!load() || held_fd_ < 0) return;
  // A file left readable by others from before is closed to them now, not at the next change.
  struct stat st {};
  if (::fstat(held_fd_, &st) == 0 && (st.st_mode & 077) != 0 && ::fchmod(held_fd_, S_IRUSR | S_IWUSR) == 0)
    file_id_ = identify(held_fd_);  // the change of mode is this copy's own
}

IniSettingsStore::~IniSettingsStore() {
  // Changes still pending (the lock was not had in time) get one more try; nobody is left to
  // tell of a failure now (finish() tells, at the end of the run).
  notice_ = nullptr;
  if (!pending_.empty()) flush();
  if (held_fd_ >= 0) ::close(held_fd_);
}

// What a stat of the open file (or, without one, of the name) tells.
IniSettingsStore::FileId IniSettingsStore::identify(int fd) const {
  struct stat st {};
  FileId id;
  if ((fd >= 0 ? ::fstat(fd, &st) : ::stat(path_.c_str(), &st)) != 0) {
    id.state = errno == ENOENT || errno == ENOTDIR ? FileId::Missing : FileId::Unknown;
    return id;
  }
  id.state = FileId::Present;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = st.st_size;
  id.mtime_ns = nanoseconds(st.st_mtim);
  id.ctime_ns = nanoseconds(st.st_ctim);
  return id;
}

void IniSettingsStore::hold(int fd, const FileId& id) {
  if (held_fd_ >= 0) ::close(held_fd_);
  held_fd_ = fd;
  file_id_ = id;
}

// Reads the file into table_. A file that is not there reads as empty; one that stands but
// cannot be read leaves table_ as it was and returns false.
bool IniSettingsStore::load() {
  int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    table_ = SettingsTable();
    FileId missing;
    missing.state = FileId::Missing;
    hold(-1, missing);
    loaded_ = true;
    unreadable_ = false;
    return true;
  }
  const FileId id = identify(fd);
  std::string text;
  if (fd < 0 || id.state != FileId::Present || !read_fd(fd, text)) {
    if (fd >= 0) ::close(fd);
    // Noted, so reads do not try again until the file changes.
    file_id_ = identify(-1);
    loaded_ = false;
    unreadable_ = true;
    return false;
  }
  table_ = SettingsTable::from_ini(text);
  hold(fd, id);
  loaded_ = true;
  unreadable_ = false;
  return true;
}

// Another copy's write since the last read shows as another file, size or time.
void IniSettingsStore::refresh() {
  if (identify(-1) != file_id_) load();
}

// The value as this copy sees it: its latest pending change of the key, or else the file's.
const std::string* IniSettingsStore::lookup(std::string_view section, std::string_view key) const {
  if (!pending_.empty()) {
    auto it = pending_index_.find(change_id(section, key));
    if (it != pending_index_.end()) {
      const auto& value = pending_[it->second].value;
      return value ? &*value : nullptr;
    }
  }
  return table_.find(section, key);
}

void IniSettingsStore::record(std::string_view section, std::string_view key, std::optional<std::string> value) {
  auto [it, added] = pending_index_.emplace(change_id(section, key), pending_.size());
  if (!added) {
    Change& latest = pending_[it->second];
    // A save after a save, or an erase after a save, replaces it; a save after an erase comes
    // after it, so a key that went and came back stands last, as in the table.
    if (latest.value || !value) {
      latest.value = std::move(value);
      return;
    }
    it->second = pending_.size();
  }
  pending_.push_back(Change{std::string(section), std::string(key), std::move(value)});
}

std::string IniSettingsStore::get(std::string_view section, std::string_view key, std::string_view default_value) {
  refresh();
  const std::string* v = lookup(section, key);
  return v ? *v : std::string(default_value);
}

bool IniSettingsStore::contains(std::string_view section, std::string_view key) {
  refresh();
  return lookup(section, key) != nullptr;
}

void IniSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
  refresh();
  const std::string* old = lookup(section, key);
  if (old && *old == value) return;
  record(section, key, std::string(value));
  if (batch_depth_ == 0) flush();
}

void IniSettingsStore::remove(std::string_view section, std::string_view key) {
  refresh();
  if (!lookup(section, key)) return;
  record(section, key, std::nullopt);
  if (batch_depth_ == 0) flush();
}

void IniSettingsStore::begin_batch() { ++batch_depth_; }

void IniSettingsStore::commit_batch() {
  if (batch_depth_ > 0) --batch_depth_;
  if (batch_depth_ == 0) flush();
}

void SettingsStore::update(const std::function<void()>& edit) {
  SettingsBatch batch(*this);
  edit();
}

void IniSettingsStore::update(const std::function<void()>& edit) {
  // Inside a batch the edit is part of it, written at its end.
  if (batch_depth_ > 0) return edit();
  {
    QLockFile file_lock(pathToQ(path_ + ".lock"));
    const bool locked = lock(file_lock);
    // The batch ends, and is written before the lock goes, also when the edit throws.
    struct Batch {
      IniSettingsStore& store;
      bool locked;
      ~Batch() {
        --store.batch_depth_;
        if (locked) store.write_locked();
      }
    } batch{*this, locked};
    ++batch_depth_;
    edit();
  }
  tell_failure();
}

bool IniSettingsStore::finish() {
  flush();
  return pending_.empty();
}

bool IniSettingsStore::lock(QLockFile& lock) {
  QDir().mkpath(QFileInfo(pathToQ(path_)).absolutePath());
  if (lock.tryLock(lock_wait_ms_)) return true;
  const std::string lock_name = path_text(path_) + ".lock";
  switch (lock.error()) {
    case QLockFile::LockFailedError:
      failure_ = "its lock file " + lock_name + " is held by another program";
      break;
    case QLockFile::PermissionError:
      failure_ = "QTX may not write in its folder";
      break;
    default:
      failure_ = "its lock file " + lock_name + " cannot be made";
  }
  return false;
}

// Told once the lock is let go: a message box open while this copy holds it would stop the
// other copies' writes for as long as it stands.
void IniSettingsStore::tell_failure() {
  if (failure_.empty()) return;
  std::string reason = std::move(failure_);
  failure_.clear();
  // Once until a write succeeds again: one message for a folder that stays read-only, not one
  // per change.
  if (failure_told_ || !notice_) return;
  failure_told_ = true;
  notice_("The settings file " + path_text(path_) + " cannot be written: " + reason + ".\r\rThe change is not stored.");
}

void IniSettingsStore::flush() {
  // A store that cannot be written keeps its changes for this run (and tries again at the next
  // change); settings are never worth stopping the bench work for.
  if (pending_.empty()) return;
  {
    QLockFile file_lock(pathToQ(path_ + ".lock"));
    if (lock(file_lock)) write_locked();
  }
  tell_failure();
}

void IniSettingsStore::write_locked() {
  if (pending_.empty()) return;
  // Under the lock no other copy writes: the changes go onto what the file holds now. One that
  // could not be read is not written over with what little this copy knows.
  if ((!loaded_ || identify(-1) != file_id_) && !load()) {
    failure_ = "it cannot be read";
    return;
  }
  bool changed = false;
  for (const Change& c : pending_)
    changed = (c.value ? table_.set(c.section, c.key, *c.value) : table_.erase(c.section, c.key)) || changed;
  if (changed) {
    QSaveFile f(pathToQ(path_));
    // Unbuffered: a buffered write that a full disk takes only in part is lost in the buffer's
    // flush, and the cut file would be committed in place of the settings.
    bool written = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // The temporary file, which becomes the settings file, is the owner's alone from the start.
    if (written) {
      f.setPermissions(kOwnerOnly);
      std::string text = table_.to_ini();
      errno = 0;
      written = f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
      if (!written) {
        // The system's reason ("No space left on device"), which Qt does not always keep.
        failure_ = errno != 0 ? std::strerror(errno) : fromQ(f.errorString());
        f.cancelWriting();
      } else {
        written = f.commit();
      }
    }
    if (!written) {
      // table_ now holds more than the file: read it again before the next try.
      loaded_ = false;
      if (failure_.empty()) failure_ = fromQ(f.errorString());
      return;
    }
    // What was just written is what table_ holds; noted, so the next read does not parse it.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    const FileId id = fd >= 0 ? identify(fd) : FileId{};
    if (id.state == FileId::Present) {
      hold(fd, id);
    } else {
      if (fd >= 0) ::close(fd);
      loaded_ = false;
    }
  }
  pending_.clear();
  pending_index_.clear();
  failure_told_ = false;
}

}  // namespace qtx
